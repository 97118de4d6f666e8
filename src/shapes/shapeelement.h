#pragma once

#include <QString>
#include <QStringRef>

// The shapes' element names in the project file: one table shared by the
// shapes' writers and the screen reader. They are file vocabulary and never
// pass through translation (a translated name would make every file saved
// in that language unreadable); typeName() is the text for people.
enum class ShapeElement {
    Rectangle,
    Roundrect,
    Ellipse,
    Polygon,
    Bezier,
    Polyline,
    Line,
    Text,
    Image,
    Group,
    Widget
};

QString shapeElementName(ShapeElement element);
// The element called name (case-sensitive); false when no shape is.
bool shapeElementFromName(const QStringRef &name, ShapeElement *element);
