#pragma once

#include "recttool.h"

// Creates widget shapes, dragged out like the box shapes. Serves the
// generic widget code and every widget kind above it; the code becomes the
// shape's widget kind.
class WidgetTool : public RectTool
{
public:
    WidgetTool();

protected:
    GraphicsItem *createShape(int code, const QRect &rect) const override;
};
