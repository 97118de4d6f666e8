#include "graphicsbezier.h"

#include "shapeelement.h"

GraphicsBezier::GraphicsBezier(QGraphicsItem *parent)
    : GraphicsPolyline(parent)
{
    m_curve = true;
}

QString GraphicsBezier::typeName() const
{
    return tr("bezier");
}

QString GraphicsBezier::elementName() const
{
    return shapeElementName(ShapeElement::Bezier);
}

QGraphicsItem *GraphicsBezier::clone()
{
    auto *copy = new GraphicsBezier(nullptr);
    finishClone(copy);
    return copy;
}
