#pragma once

#include "model/projectplace.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

class QGraphicsItem;

// Finds a text everywhere in the open project a user names or writes
// something: screen and shape names, the texts of text and widget shapes,
// what shapes' bindings name, the address tags' names, addresses and
// remarks, the text tags' names and texts. Reads only; needs no window.
class ProjectSearch
{
    Q_DECLARE_TR_FUNCTIONS(ProjectSearch)

public:
    struct Options
    {
        QString text;
        bool matchCase = false;
        // The match may not touch a letter, digit or "_" on either side.
        // A Chinese character is a word of its own, so Chinese text is
        // found inside a sentence either way.
        bool wholeWord = false;
    };

    enum Field {
        ScreenName,
        ShapeName,
        ShapeText,
        AddressName,
        AddressAddress,
        AddressRemark,
        TextTagName,
        TextTagText,
        // What a shape's bindings name: an address tag, a direct address
        // ("device address"), a text tag or a screen.
        ShapeData
    };

    // One field that holds the text.
    struct Hit
    {
        ProjectPlace place;
        Field field = ScreenName;
        QString text; // the whole field
    };

    // Every field holding options.text, in project order (screens and their
    // shapes bottom first, address tags by row, text tags in order). An
    // empty text finds nothing.
    static QVector<Hit> find(const Options &options);

    // Whether text holds options.text under the options.
    static bool matches(const QString &text, const Options &options);

    // The field's name, translated ("图形文字").
    static QString fieldText(Field field);

    // The text a shape shows: a text shape's text; for a widget shape its
    // text property, or else the caption its widget shows (the caption its
    // kind starts with while the widget has not been made). Empty for other
    // shapes.
    static QString shapeText(QGraphicsItem *item);
    // What the bindings of a shape or group name, each text once, in
    // binding order: the source (tag name, or device and address), the
    // text tag, the screen.
    static QStringList shapeData(QGraphicsItem *item);
    // The name of a shape or group; empty for anything else.
    static QString shapeName(const QGraphicsItem *item);
};
