#include "graphicslineitem.h"

#include "shapeelement.h"

#include <QPainter>

GraphicsLineItem::GraphicsLineItem(QGraphicsItem *parent)
    : GraphicsPolygonItem(parent)
{ }

void GraphicsLineItem::createHandles()
{
    createPointHandles();
}

QString GraphicsLineItem::typeName() const
{
    return tr("line");
}

QString GraphicsLineItem::elementName() const
{
    return shapeElementName(ShapeElement::Line);
}

QPainterPath GraphicsLineItem::geometryPath() const
{
    QPainterPath path;
    if (m_points.size() >= 2) {
        path.moveTo(m_points.at(0));
        path.lineTo(m_points.at(1));
    }
    return path;
}

void GraphicsLineItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    // No selection frame: the two end handles already show the selection.
    painter->setPen(m_pen);
    painter->setBrush(Qt::NoBrush);
    if (m_points.size() >= 2)
        painter->drawLine(m_points.at(0), m_points.at(1));
}

QPointF GraphicsLineItem::oppositeHandlePosition(int dir) const
{
    int end = -1;
    switch (dir) {
    case SizeHandleRect::TopLeft:
    case SizeHandleRect::Top:
    case SizeHandleRect::TopRight:
    case SizeHandleRect::Right:
    case SizeHandleRect::Left:
        end = 1;
        break;
    case SizeHandleRect::BottomRight:
    case SizeHandleRect::Bottom:
    case SizeHandleRect::BottomLeft:
        end = 0;
        break;
    default:
        break;
    }
    ensureHandles();
    if (end < 0 || end >= m_handles.size())
        return QPointF();
    return m_handles.at(end)->pos();
}

int GraphicsLineItem::pointHandleKind(int index) const
{
    // The first end is where the drawing drag starts; it looks like a box
    // handle while drawing.
    return index == 0 ? SizeHandleRect::BoxHandle : SizeHandleRect::ControlHandle;
}

QGraphicsItem *GraphicsLineItem::clone()
{
    auto *copy = new GraphicsLineItem(nullptr);
    finishClone(copy);
    return copy;
}
