#include "textlibkept.h"

namespace {

void addAttributes(QStringList *names, const QString &element, const KeptContent &kept)
{
    const QStringList attributes = kept.attributeNames();
    for (const QString &attribute : attributes)
        appendNew(names, {element + QLatin1Char('@') + attribute});
}

} // namespace

bool TextLibKept::Tag::isEmpty() const
{
    if (!tag.isEmpty())
        return false;
    for (const KeptContent &state : states) {
        if (!state.isEmpty())
            return false;
    }
    for (const QVector<KeptContent> &state : texts) {
        for (const KeptContent &text : state) {
            if (!text.isEmpty())
                return false;
        }
    }
    return true;
}

void TextLibKept::clear()
{
    m_library = KeptContent();
    m_tags.clear();
}

void TextLibKept::setTag(const QString &name, int occurrence, const Tag &tag)
{
    QVector<Tag> &tags = m_tags[name];
    if (tags.size() <= occurrence)
        tags.resize(occurrence + 1);
    tags[occurrence] = tag;
}

const TextLibKept::Tag *TextLibKept::tag(const QString &name, int occurrence) const
{
    const auto it = m_tags.constFind(name);
    if (it == m_tags.constEnd() || occurrence >= it->size() || it->at(occurrence).isEmpty())
        return nullptr;
    return &it->at(occurrence);
}

QStringList TextLibKept::elementNames() const
{
    QStringList names = m_library.elementNames();
    for (const QVector<Tag> &tags : m_tags) {
        for (const Tag &tag : tags) {
            appendNew(&names, tag.tag.elementNames());
            for (const KeptContent &state : tag.states)
                appendNew(&names, state.elementNames());
            for (const QVector<KeptContent> &state : tag.texts) {
                for (const KeptContent &text : state)
                    appendNew(&names, text.elementNames());
            }
        }
    }
    return names;
}

QStringList TextLibKept::attributeNames() const
{
    QStringList names;
    addAttributes(&names, QStringLiteral("TextLib"), m_library);
    for (const QVector<Tag> &tags : m_tags) {
        for (const Tag &tag : tags) {
            addAttributes(&names, QStringLiteral("label"), tag.tag);
            for (const KeptContent &state : tag.states)
                addAttributes(&names, QStringLiteral("status"), state);
            for (const QVector<KeptContent> &state : tag.texts) {
                for (const KeptContent &text : state)
                    addAttributes(&names, QStringLiteral("lan"), text);
            }
        }
    }
    return names;
}
