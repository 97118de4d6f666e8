#include "shapeelement.h"

#include <iterator>

namespace {

struct Entry
{
    ShapeElement element;
    const char *name;
};

const Entry table[] = {
    {ShapeElement::Rectangle, "rectangle"}, {ShapeElement::Roundrect, "roundrect"},
    {ShapeElement::Ellipse, "ellipse"},     {ShapeElement::Polygon, "polygon"},
    {ShapeElement::Bezier, "bezier"},       {ShapeElement::Polyline, "polyline"},
    {ShapeElement::Line, "line"},           {ShapeElement::Text, "textitem"},
    {ShapeElement::Image, "imageitem"},     {ShapeElement::Group, "group"},
    {ShapeElement::Widget, "widget"},
};

} // namespace

QString shapeElementName(ShapeElement element)
{
    for (const Entry &entry : table) {
        if (entry.element == element)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

bool shapeElementFromName(const QStringRef &name, ShapeElement *element)
{
    for (const Entry &entry : table) {
        if (name == QLatin1String(entry.name)) {
            *element = entry.element;
            return true;
        }
    }
    return false;
}
