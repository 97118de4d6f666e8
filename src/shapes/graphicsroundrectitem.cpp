#include "graphicsroundrectitem.h"

#include "shapeelement.h"

namespace {

// A ratio for radius over length; an empty side keeps square corners
// instead of dividing by zero.
double radiusRatio(double radius, double length)
{
    if (length <= 0)
        return 0;
    return qBound(0.0, radius / length, 0.5);
}

} // namespace

GraphicsRoundrectItem::GraphicsRoundrectItem(const QRect &rect, QGraphicsItem *parent)
    : GraphicsRectItem(rect, parent)
{
    m_roundCorners = true;
}

void GraphicsRoundrectItem::createHandles()
{
    GraphicsRectItem::createHandles();
    m_handles.append(new SizeHandleRect(this, 9, SizeHandleRect::ControlHandle));
    m_handles.append(new SizeHandleRect(this, 10, SizeHandleRect::ControlHandle));
}

QString GraphicsRoundrectItem::typeName() const
{
    return tr("roundrect");
}

QString GraphicsRoundrectItem::elementName() const
{
    return shapeElementName(ShapeElement::Roundrect);
}

QGraphicsItem *GraphicsRoundrectItem::clone()
{
    auto *copy = new GraphicsRoundrectItem(m_localRect.toRect(), nullptr);
    finishClone(copy);
    return copy;
}

void GraphicsRoundrectItem::updateHandles()
{
    GraphicsRectItem::updateHandles();
    const double x = m_localRect.x();
    const double y = m_localRect.y();
    const double w = m_localRect.width();
    const double h = m_localRect.height();
    for (SizeHandleRect *handle : qAsConst(m_handles)) {
        if (handle->dir() == 9)
            handle->move(x + w, y + h * m_ratioY);
        else if (handle->dir() == 10)
            handle->move(x + w - w * m_ratioX, y);
    }
}

qreal GraphicsRoundrectItem::radiusX() const
{
    return m_ratioX * m_width;
}

void GraphicsRoundrectItem::setRadiusX(qreal radius)
{
    m_ratioX = radiusRatio(radius, m_width);
    updateHandles();
    update();
}

qreal GraphicsRoundrectItem::radiusY() const
{
    return m_ratioY * m_height;
}

void GraphicsRoundrectItem::setRadiusY(qreal radius)
{
    m_ratioY = radiusRatio(radius, m_height);
    updateHandles();
    update();
}
