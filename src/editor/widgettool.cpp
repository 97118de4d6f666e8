#include "widgettool.h"

#include "shapes/graphicswidgetitem.h"

WidgetTool::WidgetTool()
    : RectTool(WidgetKind)
{ }

GraphicsItem *WidgetTool::createShape(int code, const QRect &rect) const
{
    if (code < WidgetKind)
        return nullptr;
    return new GraphicsWidgetItem(code, rect);
}
