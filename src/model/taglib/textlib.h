#pragma once

#include "texttagrecord.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

class QXmlStreamReader;
class QXmlStreamWriter;
class TextLibKept;

// The project's text tags: each tag has a name and one or more states, a
// state holding one text per project language (text i for language i).
// Tags keep their order, which is the order of the dialog and the file.
class TextLib
{
public:
    using State = QStringList;
    using States = QList<QStringList>;

    void clear();

    // Appends a tag. A name already present is not merged into the earlier
    // tag: files written by hand may repeat a name, and both tags' texts
    // must survive until the user renames one (the dialog refuses to
    // accept the table while two tags share a name).
    void add(const QString &name, const States &states);

    bool isEmpty() const;
    int count() const { return m_names.size(); }
    // Tag names in order; a repeated name appears as often as its tags.
    const QStringList &names() const { return m_names; }
    // The states of the tag at index (0 <= index < count()).
    const States &statesAt(int index) const { return m_states.at(index); }
    // The states of the first tag of that name; empty when there is none.
    States states(const QString &name) const;

    // The tags in order, as the exchange files carry them.
    QVector<TextTagRecord> records() const;
    // A library of those tags in which every state holds exactly textCount
    // texts (missing ones empty, surplus ones dropped) and every tag at
    // least one state, as the dialog keeps its library.
    static TextLib fromRecords(const QVector<TextTagRecord> &tags, int textCount);

    bool operator==(const TextLib &other) const;
    bool operator!=(const TextLib &other) const { return !(*this == other); }

    // Called with the reader on the start of the `TextLib` element; returns
    // with the reader on its end element, or at the first XML error keeping
    // the tags read until then. Every `label<i>` child is a tag (its
    // `name`), every `status<j>` in it a state, and the `value` of every
    // `lan<k>` in that one text; `count` and the numbers are not looked at,
    // missing attributes read as empty. Other elements at those levels are
    // not records: they are kept, in the place they stood among them. Elements nested deeper than
    // NestingLimit::MaxDepth stop the reader with an error. Replaces
    // the current contents. When kept is given, it is emptied and receives
    // the attributes not named here and the elements that are not records.
    // Always true.
    bool readXml(QXmlStreamReader *reader, TextLibKept *kept = nullptr);

    // Writes the `TextLib` element: `label<i>` with `name`, `status<j>`,
    // `lan<k>` with `value`, and with what kept holds for the library and
    // for each tag of that name; with textLimit >= 0 a state's texts beyond
    // the first textLimit are left out. Always true.
    bool writeXml(QXmlStreamWriter *writer, const TextLibKept *kept = nullptr,
                  int textLimit = -1) const;

private:
    QStringList m_names;
    QVector<States> m_states; // parallel to m_names
    QHash<QString, int> m_firstIndex; // name -> index of its first tag
};
