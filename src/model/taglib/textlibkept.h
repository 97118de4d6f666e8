#pragma once

#include "model/keptcontent.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// What the text tag library's element held beyond tag names, states and
// texts: attributes this version does not know on the library, a tag, a
// state or a text, elements below a text, and elements among the tags, the
// states of a tag or the texts of a state that are none of them, each in the
// slot of the one it stood before. Held apart from the library
// and looked up by tag name (and which tag of that name), so that a library
// rebuilt by its dialog still finds what belongs to its tags.
class TextLibKept
{
public:
    struct Tag
    {
        KeptContent tag;
        QVector<KeptContent> states; // by state
        QVector<QVector<KeptContent>> texts; // by state, then by text
        bool isEmpty() const;
    };

    void clear();

    // The attributes of the `TextLib` element itself, and the elements
    // among its tags.
    KeptContent &library() { return m_library; }
    const KeptContent &library() const { return m_library; }

    // Sets what the occurrence-th tag (from 0) named name held.
    void setTag(const QString &name, int occurrence, const Tag &tag);
    // Null when that tag held nothing kept.
    const Tag *tag(const QString &name, int occurrence) const;

    // For a report: the names of the kept elements, and of the kept
    // attributes as "element@attribute" with the element named by its
    // role ("TextLib", "label", "status", "lan").
    QStringList elementNames() const;
    QStringList attributeNames() const;

private:
    KeptContent m_library;
    QHash<QString, QVector<Tag>> m_tags; // by name, then by occurrence
};
