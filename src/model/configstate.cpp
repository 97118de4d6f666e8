#include "config.h"

#include <QStandardItemModel>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

bool Config::State::operator==(const State &other) const
{
    if (xml != other.xml || !(textLib == other.textLib)
        || hiddenLanguages.size() != other.hiddenLanguages.size())
        return false;
    for (int i = 0; i < hiddenLanguages.size(); ++i) {
        const LanguagePara &a = hiddenLanguages.at(i);
        const LanguagePara &b = other.hiddenLanguages.at(i);
        if (a.name != b.name || a.mark != b.mark || a.font != b.font)
            return false;
    }
    return true;
}

Config::State Config::state() const
{
    State state;
    QXmlStreamWriter writer(&state.xml);
    // Writing changes nothing but the writer.
    const_cast<Config *>(this)->writeXml(&writer);
    state.hiddenLanguages = m_hiddenLanguages;
    state.textLib = m_textLib;
    return state;
}

void Config::restore(const State &state)
{
    const KeptContent keptProject = m_keptProject;
    const QVector<ClampedNumber> clamped = m_clamped;
    const QString projectFile = m_projectFile;
    const QString projectFilePath = m_projectFilePath;
    const QString projectFileName = m_projectFileName;
    // Where the project is saved is not a step of its history: a save under
    // another name between a change and its undo must not send the next
    // save back to the old file.
    const QString savedName = name;
    const QString savedPath = path;
    reset();
    QXmlStreamReader reader(state.xml);
    if (reader.readNextStartElement())
        readXml(&reader);
    m_hiddenLanguages = state.hiddenLanguages;
    m_textLib = state.textLib;
    m_keptProject = keptProject;
    m_clamped = clamped;
    m_projectFile = projectFile;
    m_projectFilePath = projectFilePath;
    m_projectFileName = projectFileName;
    name = savedName;
    path = savedPath;
}
