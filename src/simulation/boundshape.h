#pragma once

#include "model/addresspara.h"
#include "model/binding.h"

#include <QColor>
#include <QString>
#include <QVector>

class QGraphicsItem;
class RegisterMemory;
class TextLib;

// One copied shape (or group) that has bindings, on a screen of a running
// simulation: its bindings with their sources looked up once, the look it
// was drawn with, and the look last shown. Holds no ownership: the item
// belongs to the screen copy.
//
// A refresh asks for the look the bindings want now and shows only what
// differs from the last one shown, so that a change of one register
// repaints the shapes bound to it and no others.
class BoundShape
{
public:
    // What bindings can change on a shape, each as it is to be shown (the
    // shape's own where no binding says otherwise). For widget colours,
    // invalid means the widget's own palette.
    struct Look
    {
        QString text;
        bool visible = true;
        QColor fill;
        // The pen: the outline of a shape, the text of a text shape.
        QColor pen;
        // The text of a widget shape.
        QColor widgetText;
        QString picture;
        // A check box's or radio button's mark: -1 as drawn.
        int checked = -1;

        bool operator==(const Look &other) const;
        bool operator!=(const Look &other) const { return !(*this == other); }
    };

    struct Source
    {
        Binding binding;
        AddressPara para;
        bool resolved = false;
    };

    // Looks every binding's source up in memory; a source that names
    // nothing leaves its binding without effect.
    BoundShape(QGraphicsItem *item, const RegisterMemory &memory);

    QGraphicsItem *item() const { return m_item; }
    const QVector<Source> &sources() const { return m_sources; }
    // The widget kind of a widget shape, else -1.
    int widgetKind() const { return m_widgetKind; }
    bool hasActions() const;
    // The value binding an entry writes through: the first one with a
    // source, or null.
    const Source *entrySource() const;

    // The look the bindings ask for with the memory as it is now, texts
    // in language, blinking colour rows shown only while blinkOn.
    Look wanted(const RegisterMemory &memory, TextLib *texts, int language, bool blinkOn) const;
    // Shows what of look differs from the look shown last; false when
    // nothing did.
    bool show(const Look &look);
    const Look &shown() const { return m_shown; }

    // Whether a visibility condition holds for number.
    static bool conditionHolds(const Binding &binding, double number);
    // The text of state of a text tag in language; empty when the tag has
    // no such state. A language the state has no text for shows the first.
    static QString stateText(TextLib *texts, const QString &tag, int state, int fallback,
                             int language, bool *found);

private:
    void showText(const QString &text);
    void showChecked(int checked);
    void showWidgetColours(const QColor &fill, const QColor &text);

    QGraphicsItem *m_item;
    int m_widgetKind = -1;
    bool m_textShape = false;
    QVector<Source> m_sources;
    Look m_own;
    Look m_shown;
};
