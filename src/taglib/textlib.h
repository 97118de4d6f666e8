#pragma once

#include <QString>
#include <QXmlStreamAttributes>

#include <vector>

class QXmlStreamReader;
class QXmlStreamWriter;

// The project's text tag library, as far as the project file needs it: the
// `TextLib` element is kept exactly as read (attributes, children, text) and
// written back unchanged, so text tags survive a load/save round trip until
// the library can be edited.
class TextLib
{
public:
    void clear();

    // True when the library holds no tag (no child element was read).
    bool isEmpty() const;

    // Called with the reader on the start of the `TextLib` element; returns
    // with the reader on its end element (or at the first XML error, keeping
    // what was read until then). Elements nested deeper than
    // ProjectFile::MaxNestingDepth stop the reader with an error. Replaces
    // the current contents. Always true.
    bool readXml(QXmlStreamReader *reader);

    // Writes the `TextLib` element as read; an empty library writes
    // `<TextLib count="0"/>`. Always true.
    bool writeXml(QXmlStreamWriter *writer) const;

private:
    // An element, or a piece of text when `name` is empty.
    struct Node
    {
        QString name;
        QXmlStreamAttributes attributes;
        QString text;
        std::vector<Node> children;
    };

    // depth counts node: 0 for the `TextLib` element itself.
    static void readElement(QXmlStreamReader *reader, Node *node, int depth);
    static void writeNode(QXmlStreamWriter *writer, const Node &node);

    Node m_root;
    bool m_loaded = false;
};
