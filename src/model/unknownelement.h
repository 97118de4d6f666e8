#pragma once

#include <QString>
#include <QVector>
#include <QXmlStreamAttributes>

class QXmlStreamReader;
class QXmlStreamWriter;

// An element of the project file that this version cannot read, kept so
// that it is written back as it came: a file from a newer version loses
// nothing by passing through this one. Held as a flat list of tokens, so
// that however deep the element nests, neither reading nor writing it
// recurses.
class UnknownElement
{
public:
    // Reads the element the reader is on, up to and including its end tag.
    // Text that is only white space between tags is layout, not content,
    // and is dropped; the writer's indentation stands in for it. An element
    // that nests more than levels deep (the element itself is level 1)
    // stops the reader with NestingLimit::refuse(): written back, a
    // hundred thousand levels of indentation would make a file of
    // gigabytes. What was read until then is kept.
    static UnknownElement read(QXmlStreamReader *reader, int levels);

    // Writes the element back with its attributes, children, text and
    // comments in their original order.
    void write(QXmlStreamWriter *writer) const;

    // The element's qualified name, as it appears in the file.
    QString name() const;

    // An attribute of the element itself (not of its children); empty when
    // it has none of that name.
    QString attribute(const QString &name) const;
    // Gives an attribute the element has a new value, where it stands;
    // false when it has none of that name. Renames reach references held in
    // elements this version keeps unread through this.
    bool setAttribute(const QString &name, const QString &value);

private:
    struct Token
    {
        enum Kind { Start, End, Text, Comment };
        Kind kind = Start;
        QString text; // element name, text or comment
        QXmlStreamAttributes attributes;
    };

    QVector<Token> m_tokens;
};
