#include "textlib.h"

#include "model/nestinglimit.h"
#include "textlibkept.h"

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

bool TextLib::readXml(QXmlStreamReader *reader, TextLibKept *kept)
{
    clear();
    TextLibKept ignored;
    if (!kept)
        kept = &ignored;
    kept->clear();
    kept->library().keepAttributes(*reader, {QStringLiteral("count")});
    const QStringList nameKey {QStringLiteral("name")};
    const QStringList valueKey {QStringLiteral("value")};
    // Which tag of its name each one is, for the kept content.
    QHash<QString, int> occurrences;
    TextLibKept::Tag keptTag;
    auto finishTag = [&](const QString &name, const States &states) {
        add(name, states);
        const int occurrence = occurrences[name]++;
        if (!keptTag.isEmpty())
            kept->setTag(name, occurrence, keptTag);
    };

    // Levels below the `TextLib` element: 1 tag, 2 state, 3 text; deeper
    // elements are kept below their text and count against the bound.
    const int textLevel = 3;
    int depth = 0;
    const QLatin1String recordNames[] = {QLatin1String("label"), QLatin1String("status"),
                                         QLatin1String("lan")};
    // What holds an element that is not a record at the current depth.
    auto keptHere = [&]() -> KeptContent & {
        if (depth == 0)
            return kept->library();
        return depth == 1 ? keptTag.tag : keptTag.states.last();
    };
    bool inTag = false;
    QString name;
    States states;
    while (!reader->atEnd()) {
        const QXmlStreamReader::TokenType token = reader->readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (depth == textLevel) {
                // Read to its end: depth stays at the text.
                keptTag.texts.last().last().keepElement(
                    reader, 0, NestingLimit::MaxDepth - textLevel);
                continue;
            }
            // Anything but a record at its level is kept where it stood,
            // not read as a tag, a state or a text.
            if (!isRecordName(reader->name(), recordNames[depth])) {
                keptHere().keepPending(reader, NestingLimit::MaxDepth - depth);
                continue;
            }
            if (depth == 0)
                kept->library().placePending(m_names.size());
            else if (depth == 1)
                keptTag.tag.placePending(states.size());
            else
                keptTag.states.last().placePending(states.last().size());
            ++depth;
            if (depth == 1) {
                name = reader->attributes().value(QLatin1String("name")).toString();
                states.clear();
                keptTag = TextLibKept::Tag();
                keptTag.tag.keepAttributes(*reader, nameKey);
                inTag = true;
            } else if (depth == 2) {
                states.append(State());
                keptTag.states.append(KeptContent());
                keptTag.states.last().keepAttributes(*reader, {});
                keptTag.texts.append(QVector<KeptContent>());
            } else {
                states.last().append(reader->attributes().value(QLatin1String("value")).toString());
                keptTag.texts.last().append(KeptContent());
                keptTag.texts.last().last().keepAttributes(*reader, valueKey);
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth < textLevel)
                keptHere().placePending(KeptContent::AfterAll);
            if (depth == 0)
                break;
            if (depth == 1) {
                finishTag(name, states);
                inTag = false;
            }
            --depth;
        }
    }
    if (inTag)
        finishTag(name, states);
    return true;
}

bool TextLib::writeXml(QXmlStreamWriter *writer, const TextLibKept *kept, int textLimit) const
{
    const QString label = QStringLiteral("label");
    const QString status = QStringLiteral("status");
    const QString lan = QStringLiteral("lan");
    const QString nameKey = QStringLiteral("name");
    const QString valueKey = QStringLiteral("value");

    writer->writeStartElement(QStringLiteral("TextLib"));
    writer->writeAttribute(QStringLiteral("count"), QString::number(m_names.size()));
    if (kept)
        kept->library().writeAttributes(writer);
    QHash<QString, int> occurrences;
    for (int i = 0; i < m_names.size(); ++i) {
        const QString &name = m_names.at(i);
        const int occurrence = occurrences[name]++;
        const TextLibKept::Tag *keptTag = kept ? kept->tag(name, occurrence) : nullptr;
        if (kept)
            kept->library().writeElements(writer, i);
        writer->writeStartElement(label + QString::number(i));
        writer->writeAttribute(nameKey, name);
        if (keptTag)
            keptTag->tag.writeAttributes(writer);
        const States &states = m_states.at(i);
        for (int j = 0; j < states.size(); ++j) {
            if (keptTag)
                keptTag->tag.writeElements(writer, j);
            writer->writeStartElement(status + QString::number(j));
            const KeptContent *keptState
                = keptTag && j < keptTag->states.size() ? &keptTag->states.at(j) : nullptr;
            if (keptState)
                keptState->writeAttributes(writer);
            const State &texts = states.at(j);
            const int written
                = textLimit < 0 ? texts.size() : std::min(textLimit, int(texts.size()));
            for (int k = 0; k < written; ++k) {
                const KeptContent *keptText = keptTag && j < keptTag->texts.size()
                        && k < keptTag->texts.at(j).size()
                    ? &keptTag->texts.at(j).at(k)
                    : nullptr;
                if (keptState)
                    keptState->writeElements(writer, k);
                // An element without content closes as "<lan0 .../>" all the same.
                writer->writeStartElement(lan + QString::number(k));
                writer->writeAttribute(valueKey, texts.at(k));
                if (keptText) {
                    keptText->writeAttributes(writer);
                    keptText->writeElementsFrom(writer, 0);
                }
                writer->writeEndElement();
            }
            if (keptState)
                keptState->writeElementsFrom(writer, written);
            writer->writeEndElement();
        }
        if (keptTag)
            keptTag->tag.writeElementsFrom(writer, states.size());
        writer->writeEndElement();
    }
    if (kept)
        kept->library().writeElementsFrom(writer, m_names.size());
    writer->writeEndElement();
    return true;
}
