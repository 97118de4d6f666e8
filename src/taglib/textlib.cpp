#include "textlib.h"

#include "project/projectfile.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

void TextLib::clear()
{
    m_root = Node();
    m_loaded = false;
}

bool TextLib::isEmpty() const
{
    for (const Node &child : m_root.children) {
        if (!child.name.isEmpty())
            return false;
    }
    return true;
}

bool TextLib::readXml(QXmlStreamReader *reader)
{
    clear();
    readElement(reader, &m_root, 0);
    m_loaded = true;
    return true;
}

void TextLib::readElement(QXmlStreamReader *reader, Node *node, int depth)
{
    node->name = reader->name().toString();
    node->attributes = reader->attributes();
    while (!reader->atEnd()) {
        switch (reader->readNext()) {
        case QXmlStreamReader::StartElement: {
            if (depth + 1 > ProjectFile::MaxNestingDepth) {
                ProjectFile::refuseNesting(reader);
                return;
            }
            Node child;
            readElement(reader, &child, depth + 1);
            node->children.push_back(std::move(child));
            break;
        }
        case QXmlStreamReader::Characters:
            // Indentation between elements is the writer's formatting, not data.
            if (!reader->isWhitespace()) {
                Node text;
                text.text = reader->text().toString();
                node->children.push_back(text);
            }
            break;
        case QXmlStreamReader::EndElement:
            return;
        default:
            break;
        }
    }
}

bool TextLib::writeXml(QXmlStreamWriter *writer) const
{
    if (!m_loaded) {
        writer->writeStartElement(QStringLiteral("TextLib"));
        writer->writeAttribute(QStringLiteral("count"), QStringLiteral("0"));
        writer->writeEndElement();
        return true;
    }
    writeNode(writer, m_root);
    return true;
}

void TextLib::writeNode(QXmlStreamWriter *writer, const Node &node)
{
    if (node.name.isEmpty()) {
        writer->writeCharacters(node.text);
        return;
    }
    writer->writeStartElement(node.name);
    writer->writeAttributes(node.attributes);
    for (const Node &child : node.children)
        writeNode(writer, child);
    writer->writeEndElement();
}
