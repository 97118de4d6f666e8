#pragma once

#include "keptcontent.h"

#include <QColor>
#include <QCoreApplication>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QVector>

class QXmlStreamReader;
class QXmlStreamWriter;

// What ties a shape to the machine: a source (an address tag by name, or an
// address entered directly) and what the shape does with its value. A plain
// value type; the shape holds a list of them and the project file stores
// each as a "binding" child of the shape's element.
//
// Only the fields of the binding's kind mean anything; the others are
// neither stored nor compared.
class Binding
{
    Q_DECLARE_TR_FUNCTIONS(Binding)

public:
    enum Kind { Value, TextState, Visible, Colours, Action, Picture };
    enum Condition { BitSet, BitClear, Equal, Unequal, InRange };
    enum ActionKind {
        SetBit,
        ResetBit,
        ToggleBit,
        Momentary,
        WriteValue,
        AddStep,
        SubtractStep,
        SwitchScreen,
        OpenWindow,
        CloseWindow
    };

    // One row of a colours table: values in [from, to] draw the shape in
    // these colours. An invalid colour leaves the shape's own.
    struct Range
    {
        double from = 0;
        double to = 0;
        QColor fill;
        QColor line;
        QColor text;
        bool blink = false;
        KeptContent kept;

        bool operator==(const Range &other) const;
        bool operator!=(const Range &other) const { return !(*this == other); }
    };

    // One state's picture, a path relative to the project folder.
    struct PictureFile
    {
        QString file;
        KeptContent kept;

        bool operator==(const PictureFile &other) const;
        bool operator!=(const PictureFile &other) const { return !(*this == other); }
    };

    // Bounds of what one shape's element is read into; what lies beyond
    // is kept unread and written back, never dropped.
    static constexpr int MaxPerShape = 256;
    static constexpr int MaxEntries = 256; // ranges or pictures of one binding

    Kind kind = Value;
    // Source: the address tag's name, or, when it is empty, the address as
    // the address library stores a row (device cell, address text, format).
    QString tag;
    QString device;
    QString address;
    QString format;

    // Value: display and entry.
    int digits = 0;
    int decimals = 0;
    double scale = 1;
    double offset = 0;
    QString unit;
    // Value entry limits; also the limits of an add or subtract action.
    double minimum = 0;
    double maximum = 0;

    // Text state: the text tag, and the state shown for values it has none for.
    QString textTag;
    int fallback = 0;

    // Visible: the condition and its operands (value2 ends a range).
    // value is also an action's constant or step.
    Condition condition = BitSet;
    double value = 0;
    double value2 = 0;

    QVector<Range> ranges; // colours

    ActionKind action = SetBit;
    QString screen; // the screen an action switches to, opens or closes

    QVector<PictureFile> pictures; // picture: state i shows pictures[i]

    // What the element held that this version does not read.
    KeptContent kept;

    bool operator==(const Binding &other) const;
    bool operator!=(const Binding &other) const { return !(*this == other); }

    // What a "binding" element kept unread (of a kind this version does
    // not know, or beyond MaxPerShape) names, read from the attributes the
    // bindings this version reads use for it: renames and "where used"
    // must reach those bindings too. Empty for any other element.
    enum Reference { TagReference, TextTagReference, ScreenReference, DeviceReference, KindReference };
    static bool isKeptBinding(const UnknownElement &element);
    static QString keptReference(const UnknownElement &element, Reference reference);
    // Gives the attribute a new value; false when the element is no
    // binding or holds no such attribute.
    static bool setKeptReference(UnknownElement *element, Reference reference, const QString &value);

    // The kinds' and actions' words in the file.
    static QString kindKey(Kind kind);
    static QString actionKey(ActionKind action);
    static QString conditionKey(Condition condition);

    // The kind for people ("数值").
    static QString kindName(Kind kind);
    // The source for people: the tag's name, or the device and address.
    QString sourceText() const;
    // One line for a read-only list: "数值: Motor".
    QString summary() const;

    // The same binding with every text made fit for the file: characters
    // XML cannot hold become blanks, as with every text entered.
    Binding xmlSafe() const;

    // Reads the "binding" element the reader is on, up to its end. levels
    // bounds the nesting below it (the element itself counts 1), as
    // KeptContent::keepElement does. A kind, condition or action this
    // version does not know leaves the reader where it was and returns
    // false: such an element is the caller's to keep whole.
    bool readXml(QXmlStreamReader *reader, int levels);
    void writeXml(QXmlStreamWriter *writer) const;

    // Reads the element the reader is on into list when it is a binding
    // this version reads and list holds fewer than MaxPerShape; false
    // otherwise, with the reader where it was.
    static bool readInto(QXmlStreamReader *reader, QVector<Binding> *list, int levels);
    static void writeList(QXmlStreamWriter *writer, const QVector<Binding> &list);

    // What the binding and its rows kept, each with its element's name, for
    // a report; parts that keep nothing are left out.
    QVector<QPair<QString, KeptContent>> keptParts() const;
};

Q_DECLARE_METATYPE(Binding)
