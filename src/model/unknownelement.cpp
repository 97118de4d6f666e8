#include "unknownelement.h"

#include "nestinglimit.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

UnknownElement UnknownElement::read(QXmlStreamReader *reader, int levels)
{
    UnknownElement element;
    int depth = 0;
    do {
        Token token;
        switch (reader->tokenType()) {
        case QXmlStreamReader::StartElement: {
            if (depth >= levels) {
                NestingLimit::refuse(reader);
                return element;
            }
            token.kind = Token::Start;
            token.text = reader->qualifiedName().toString();
            // Namespace declarations are not attributes to the reader, but
            // the element needs them to mean the same when read again.
            const QXmlStreamNamespaceDeclarations declarations = reader->namespaceDeclarations();
            for (const QXmlStreamNamespaceDeclaration &declaration : declarations) {
                const QString prefix = declaration.prefix().toString();
                token.attributes.append(prefix.isEmpty() ? QStringLiteral("xmlns")
                                                         : QStringLiteral("xmlns:") + prefix,
                                        declaration.namespaceUri().toString());
            }
            const QXmlStreamAttributes attributes = reader->attributes();
            for (const QXmlStreamAttribute &attribute : attributes) {
                // Defaults come from a document type, not from the element.
                if (!attribute.isDefault())
                    token.attributes.append(attribute.qualifiedName().toString(),
                                            attribute.value().toString());
            }
            ++depth;
            break;
        }
        case QXmlStreamReader::EndElement:
            token.kind = Token::End;
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (reader->isWhitespace())
                continue;
            token.kind = Token::Text;
            token.text = reader->text().toString();
            break;
        case QXmlStreamReader::Comment:
            token.kind = Token::Comment;
            token.text = reader->text().toString();
            break;
        default:
            continue;
        }
        element.m_tokens.append(token);
    } while (depth > 0 && reader->readNext() != QXmlStreamReader::Invalid);
    return element;
}

void UnknownElement::write(QXmlStreamWriter *writer) const
{
    int open = 0;
    for (const Token &token : m_tokens) {
        switch (token.kind) {
        case Token::Start:
            // The name as read, prefix and all: the writer is given no
            // namespace of its own to resolve it against.
            writer->writeStartElement(token.text);
            for (const QXmlStreamAttribute &attribute : token.attributes)
                writer->writeAttribute(attribute.qualifiedName().toString(),
                                       attribute.value().toString());
            ++open;
            break;
        case Token::End:
            writer->writeEndElement();
            --open;
            break;
        case Token::Text:
            writer->writeCharacters(token.text);
            break;
        case Token::Comment:
            writer->writeComment(token.text);
            break;
        }
    }
    // An element cut short by a damaged file still closes in the output.
    for (; open > 0; --open)
        writer->writeEndElement();
}

QString UnknownElement::name() const
{
    return m_tokens.isEmpty() ? QString() : m_tokens.first().text;
}

QString UnknownElement::attribute(const QString &name) const
{
    if (m_tokens.isEmpty())
        return QString();
    return m_tokens.first().attributes.value(name).toString();
}

bool UnknownElement::setAttribute(const QString &name, const QString &value)
{
    if (m_tokens.isEmpty())
        return false;
    QXmlStreamAttributes &attributes = m_tokens.first().attributes;
    for (QXmlStreamAttribute &attribute : attributes) {
        if (attribute.qualifiedName() == name) {
            // Assigning a new attribute, not appending one, keeps the order
            // the file had, so a rename changes no other byte.
            attribute = QXmlStreamAttribute(name, value);
            return true;
        }
    }
    return false;
}
