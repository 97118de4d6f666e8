#include "graphicspolyline.h"

#include "shapeelement.h"
#include "shapepainting.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

GraphicsPolyline::GraphicsPolyline(QGraphicsItem *parent)
    : GraphicsPolygonItem(parent)
{ }

QString GraphicsPolyline::typeName() const
{
    return tr("polyline");
}

QString GraphicsPolyline::elementName() const
{
    return shapeElementName(ShapeElement::Polyline);
}

QPainterPath GraphicsPolyline::geometryPath() const
{
    QPainterPath path;
    const int n = m_points.size();
    if (n == 0)
        return path;
    path.moveTo(m_points.at(0));
    int next = 1;
    if (m_curve && n == 3) {
        path.quadTo(m_points.at(1), m_points.at(2));
        next = 3;
    } else if (m_curve && n > 3) {
        for (; next + 2 < n; next += 3)
            path.cubicTo(m_points.at(next), m_points.at(next + 1), m_points.at(next + 2));
    }
    for (; next < n; ++next)
        path.lineTo(m_points.at(next));
    return path;
}

void GraphicsPolyline::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(widget)
    painter->setPen(m_pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(geometryPath());
    if (option->state & QStyle::State_Selected) {
        // The control polygon, so the points behind a curve can be found.
        painter->setPen(QPen(Qt::lightGray, 0, Qt::SolidLine));
        painter->drawPolyline(m_points);
        drawSelectionOutline(this, painter, option);
    }
}

QGraphicsItem *GraphicsPolyline::clone()
{
    auto *copy = new GraphicsPolyline(nullptr);
    finishClone(copy);
    return copy;
}
