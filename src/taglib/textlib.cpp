#include "textlib.h"

#include "project/projectfile.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

void TextLib::clear()
{
    m_names.clear();
    m_states.clear();
    m_firstIndex.clear();
}

void TextLib::add(const QString &name, const States &states)
{
    if (!m_firstIndex.contains(name))
        m_firstIndex.insert(name, m_names.size());
    m_names.append(name);
    m_states.append(states);
}

bool TextLib::isEmpty() const
{
    return m_names.isEmpty();
}

TextLib::States TextLib::states(const QString &name) const
{
    const int index = m_firstIndex.value(name, -1);
    return index < 0 ? States() : m_states.at(index);
}

QVector<TextTagRecord> TextLib::records() const
{
    QVector<TextTagRecord> tags;
    tags.reserve(m_names.size());
    for (int i = 0; i < m_names.size(); ++i)
        tags.append({m_names.at(i), m_states.at(i)});
    return tags;
}

TextLib TextLib::fromRecords(const QVector<TextTagRecord> &tags, int textCount)
{
    TextLib library;
    for (const TextTagRecord &tag : tags) {
        States states;
        const int stateCount = std::max(1, int(tag.states.size()));
        for (int i = 0; i < stateCount; ++i) {
            State texts = tag.states.value(i).mid(0, textCount);
            while (texts.size() < textCount)
                texts.append(QString());
            states.append(texts);
        }
        library.add(tag.name, states);
    }
    return library;
}

bool TextLib::operator==(const TextLib &other) const
{
    return m_names == other.m_names && m_states == other.m_states;
}

bool TextLib::readXml(QXmlStreamReader *reader)
{
    clear();
    // Levels below the `TextLib` element: 1 tag, 2 state, 3 text; deeper
    // elements carry nothing but are still counted against the bound.
    int depth = 0;
    bool inTag = false;
    QString name;
    States states;
    while (!reader->atEnd()) {
        const QXmlStreamReader::TokenType token = reader->readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (depth + 1 > ProjectFile::MaxNestingDepth) {
                ProjectFile::refuseNesting(reader);
                break;
            }
            ++depth;
            if (depth == 1) {
                name = reader->attributes().value(QLatin1String("name")).toString();
                states.clear();
                inTag = true;
            } else if (depth == 2) {
                states.append(State());
            } else if (depth == 3) {
                states.last().append(reader->attributes().value(QLatin1String("value")).toString());
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 0)
                break;
            if (depth == 1) {
                add(name, states);
                inTag = false;
            }
            --depth;
        }
    }
    if (inTag)
        add(name, states);
    return true;
}

bool TextLib::writeXml(QXmlStreamWriter *writer, int textLimit) const
{
    const QString label = QStringLiteral("label");
    const QString status = QStringLiteral("status");
    const QString lan = QStringLiteral("lan");
    const QString nameKey = QStringLiteral("name");
    const QString valueKey = QStringLiteral("value");

    writer->writeStartElement(QStringLiteral("TextLib"));
    writer->writeAttribute(QStringLiteral("count"), QString::number(m_names.size()));
    for (int i = 0; i < m_names.size(); ++i) {
        writer->writeStartElement(label + QString::number(i));
        writer->writeAttribute(nameKey, m_names.at(i));
        const States &states = m_states.at(i);
        for (int j = 0; j < states.size(); ++j) {
            writer->writeStartElement(status + QString::number(j));
            const State &texts = states.at(j);
            const int written
                = textLimit < 0 ? texts.size() : std::min(textLimit, int(texts.size()));
            for (int k = 0; k < written; ++k) {
                writer->writeEmptyElement(lan + QString::number(k));
                writer->writeAttribute(valueKey, texts.at(k));
            }
            writer->writeEndElement();
        }
        writer->writeEndElement();
    }
    writer->writeEndElement();
    return true;
}
