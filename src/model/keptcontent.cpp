#include "keptcontent.h"

#include "nestinglimit.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

void KeptContent::keepAttributes(const QXmlStreamReader &reader, const QStringList &known)
{
    const QXmlStreamNamespaceDeclarations declarations = reader.namespaceDeclarations();
    for (const QXmlStreamNamespaceDeclaration &declaration : declarations) {
        const QString prefix = declaration.prefix().toString();
        m_attributes.append(prefix.isEmpty() ? QStringLiteral("xmlns")
                                             : QStringLiteral("xmlns:") + prefix,
                            declaration.namespaceUri().toString());
    }
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.isDefault())
            continue;
        // Compared in place: every shape of a project passes here, and
        // nearly every attribute is known.
        const QStringRef name = attribute.qualifiedName();
        const bool isKnown
            = std::any_of(known.cbegin(), known.cend(), [&](const QString &k) { return name == k; });
        if (!isKnown)
            m_attributes.append(name.toString(), attribute.value().toString());
    }
}

void KeptContent::keepPending(QXmlStreamReader *reader, int levels)
{
    m_elements.append({AfterAll, UnknownElement::read(reader, levels)});
    ++m_pending;
}

void KeptContent::placePending(int slot)
{
    for (int i = m_elements.size() - m_pending; i < m_elements.size(); ++i)
        m_elements[i].slot = slot;
    m_pending = 0;
}

void KeptContent::keepElement(QXmlStreamReader *reader, int slot, int levels)
{
    m_elements.append({slot, UnknownElement::read(reader, levels)});
}

void KeptContent::keepChildren(QXmlStreamReader *reader, int levels)
{
    while (reader->readNextStartElement())
        keepElement(reader, 0, levels);
}

void KeptContent::addElements(const KeptContent &other, int slot)
{
    for (const Element &element : other.m_elements)
        m_elements.append({slot, element.element});
}

int KeptContent::defaultLevels()
{
    return NestingLimit::MaxDepth;
}

void KeptContent::writeAttributes(QXmlStreamWriter *writer) const
{
    for (const QXmlStreamAttribute &attribute : m_attributes)
        writer->writeAttribute(attribute.qualifiedName().toString(), attribute.value().toString());
}

void KeptContent::writeElements(QXmlStreamWriter *writer, int slot) const
{
    for (const Element &element : m_elements) {
        if (element.slot == slot)
            element.element.write(writer);
    }
}

void KeptContent::writeElementsFrom(QXmlStreamWriter *writer, int slot) const
{
    for (const Element &element : m_elements) {
        if (element.slot >= slot)
            element.element.write(writer);
    }
}

QStringList KeptContent::elementNames() const
{
    QStringList names;
    for (const Element &element : m_elements)
        appendNew(&names, {element.element.name()});
    return names;
}

QStringList KeptContent::attributeNames() const
{
    QStringList names;
    for (const QXmlStreamAttribute &attribute : m_attributes)
        appendNew(&names, {attribute.qualifiedName().toString()});
    return names;
}

void appendNew(QStringList *list, const QStringList &names)
{
    for (const QString &name : names) {
        if (!list->contains(name))
            list->append(name);
    }
}

bool isRecordName(const QStringRef &name, QLatin1String stem)
{
    if (name.size() <= stem.size() || !name.startsWith(stem))
        return false;
    for (int i = stem.size(); i < name.size(); ++i) {
        const ushort c = name.at(i).unicode();
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}
