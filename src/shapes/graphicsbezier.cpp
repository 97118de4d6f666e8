#include "graphicsbezier.h"

GraphicsBezier::GraphicsBezier(QGraphicsItem *parent)
    : GraphicsPolyline(parent)
{
    m_curve = true;
}

QString GraphicsBezier::typeName() const
{
    return tr("bezier");
}

QGraphicsItem *GraphicsBezier::clone()
{
    auto *copy = new GraphicsBezier(nullptr);
    finishClone(copy);
    return copy;
}
