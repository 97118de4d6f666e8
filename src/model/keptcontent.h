#pragma once

#include "unknownelement.h"

#include <QMetaType>
#include <QStringList>
#include <QStringRef>
#include <QVector>
#include <QXmlStreamAttributes>

class QXmlStreamReader;
class QXmlStreamWriter;

// What an element this version does read held beyond what it reads: the
// attributes it does not know and the child elements it does not know,
// each child with the slot it stood in among the known children. Saving
// writes them back where they stood, so a file from a newer version passes
// through this one whole.
class KeptContent
{
public:
    // Written after every known child.
    static constexpr int AfterAll = 1 << 30;

    bool isEmpty() const { return m_attributes.isEmpty() && m_elements.isEmpty(); }

    // Keeps the attributes (and namespace declarations) of the reader's
    // current start element whose names are not in known.
    void keepAttributes(const QXmlStreamReader &reader, const QStringList &known);

    // Keeps the element the reader is on, up to and including its end, to
    // be written just before the known child that comes next in the file;
    // placePending() tells which slot that is. levels bounds the nesting
    // kept below the element's parent (see UnknownElement::read).
    void keepPending(QXmlStreamReader *reader, int levels);
    // The elements kept since the last call stand before slot.
    void placePending(int slot);

    // Keeps the element the reader is on, up to its end, in slot.
    void keepElement(QXmlStreamReader *reader, int slot, int levels);
    // Keeps every child of the element the reader is on, up to the end of
    // that element: for elements whose children this version reads none of.
    void keepChildren(QXmlStreamReader *reader, int levels);

    // Adds the elements other keeps, in order, to slot (not its attributes).
    void addElements(const KeptContent &other, int slot);

    // The levels the project file allows below any element it reads.
    static int defaultLevels();

    // Writes the kept attributes onto the writer's current start element.
    void writeAttributes(QXmlStreamWriter *writer) const;
    // Writes the elements kept in slot.
    void writeElements(QXmlStreamWriter *writer, int slot) const;
    // Writes the elements kept in slot and every later slot.
    void writeElementsFrom(QXmlStreamWriter *writer, int slot) const;

    // The kept elements in order, to read or rewrite references they hold.
    int elementCount() const { return m_elements.size(); }
    const UnknownElement &element(int index) const { return m_elements.at(index).element; }
    UnknownElement &element(int index) { return m_elements[index].element; }

    // Names of the kept elements and of the kept attributes, for a report.
    QStringList elementNames() const;
    QStringList attributeNames() const;

private:
    struct Element
    {
        int slot;
        UnknownElement element;
    };

    QXmlStreamAttributes m_attributes;
    QVector<Element> m_elements;
    int m_pending = 0; // elements at the end of m_elements still without a slot
};

Q_DECLARE_METATYPE(KeptContent)

// Adds each of names to list that it does not hold yet, keeping list's order.
void appendNew(QStringList *list, const QStringList &names);

// Whether name is stem followed by a decimal number ("lan0", "label12"):
// the names the writer gives the records of a list. Anything else in a
// list is not a record and is kept instead of being read as one.
bool isRecordName(const QStringRef &name, QLatin1String stem);
