#include "graphicsellipseitem.h"

#include "shapeelement.h"
#include "shapepainting.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <cmath>

GraphicsEllipseItem::GraphicsEllipseItem(const QRect &rect, QGraphicsItem *parent)
    : GraphicsRectItem(rect, parent)
{
    m_pen = QPen(Qt::black, 1, Qt::SolidLine);
}

void GraphicsEllipseItem::createHandles()
{
    GraphicsRectItem::createHandles();
    m_handles.append(new SizeHandleRect(this, 9, SizeHandleRect::ControlHandle));
    m_handles.append(new SizeHandleRect(this, 10, SizeHandleRect::ControlHandle));
}

QString GraphicsEllipseItem::typeName() const
{
    return tr("ellipse");
}

QString GraphicsEllipseItem::elementName() const
{
    return shapeElementName(ShapeElement::Ellipse);
}

QRectF GraphicsEllipseItem::boundingRect() const
{
    return shape().controlPointRect();
}

QPainterPath GraphicsEllipseItem::shape() const
{
    // The hit area is the pie for every kind: an arc or a chord would be
    // too thin or too small to pick up with the mouse.
    const int lo = qMin(m_startAngle, m_spanAngle);
    int hi = qMax(m_startAngle, m_spanAngle);
    if (lo != hi && hi - lo > 360)
        hi = lo + 360;

    QPainterPath path;
    if (m_localRect.width() == 0 && m_localRect.height() == 0)
        return path;
    const int span = hi - lo;
    if (span % 360 == 0) {
        path.addEllipse(m_localRect);
    } else {
        path.moveTo(m_localRect.center());
        path.arcTo(m_localRect, lo, span);
    }
    path.closeSubpath();
    return path;
}

void GraphicsEllipseItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                QWidget *widget)
{
    Q_UNUSED(widget)
    painter->setPen(m_pen);
    painter->setBrush(m_brush);
    const int lo = qMin(m_startAngle, m_spanAngle);
    const int hi = qMax(m_startAngle, m_spanAngle);
    const int span = hi - lo;
    if (span > 0 && span < 360) {
        switch (m_kind) {
        case Arc:
            painter->drawArc(m_localRect, lo * 16, span * 16);
            break;
        case Chord:
            painter->drawChord(m_localRect, lo * 16, span * 16);
            break;
        case Pie:
        default:
            painter->drawPie(m_localRect, lo * 16, span * 16);
            break;
        }
    } else {
        painter->drawEllipse(m_localRect);
    }
    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

void GraphicsEllipseItem::moveControlPoint(int handle, const QPointF &point)
{
    if (handle != 9 && handle != 10)
        return;
    const QPointF p = mapFromScene(point);
    const QPointF c = m_localRect.center();
    const int angle = int(-std::atan2(p.y() - c.y(), p.x() - c.x()) * 180 / M_PI);

    prepareGeometryChange();
    if (handle == SizeHandleRect::FirstControl)
        m_startAngle = angle;
    else
        m_spanAngle = angle;
    // Keep the first angle below the second so the drawn part stays the
    // one the user is shaping, and never let the pair cover more than one
    // turn.
    if (m_startAngle > m_spanAngle) {
        m_startAngle -= 360;
        if (m_spanAngle < m_startAngle)
            std::swap(m_startAngle, m_spanAngle);
    }
    if (std::abs(m_spanAngle - m_startAngle) > 360) {
        m_startAngle = 0;
        m_spanAngle = 360;
    }
    updateHandles();
}

QGraphicsItem *GraphicsEllipseItem::clone()
{
    auto *copy = new GraphicsEllipseItem(m_localRect.toRect(), nullptr);
    copy->m_startAngle = m_startAngle;
    copy->m_spanAngle = m_spanAngle;
    copy->m_kind = m_kind;
    finishClone(copy);
    return copy;
}

void GraphicsEllipseItem::updateHandles()
{
    // The bounding rectangle of a pie is only the sector; the box handles
    // stay on the whole ellipse's box.
    const double x = m_localRect.x();
    const double y = m_localRect.y();
    const double w = m_localRect.width();
    const double h = m_localRect.height();
    const QPointF box[] = {{x, y},         {x + w / 2, y},     {x + w, y}, {x + w, y + h / 2},
                           {x + w, y + h}, {x + w / 2, y + h}, {x, y + h}, {x, y + h / 2}};
    const QPointF c(x + w / 2, y + h / 2);
    const double rx = m_width / 2;
    const double ry = m_height / 2;
    const double a1 = -m_startAngle * M_PI / 180;
    const double a2 = -m_spanAngle * M_PI / 180;

    for (SizeHandleRect *handle : qAsConst(m_handles)) {
        const int dir = handle->dir();
        if (SizeHandleRect::isBoxDirection(dir))
            handle->move(box[dir - 1].x(), box[dir - 1].y());
        else if (dir == SizeHandleRect::FirstControl)
            handle->move(c.x() + rx * std::cos(a1), c.y() + ry * std::sin(a1));
        else if (dir == SizeHandleRect::FirstControl + 1)
            handle->move(c.x() + rx * std::cos(a2), c.y() + ry * std::sin(a2));
    }
}

void GraphicsEllipseItem::setStartAngle(int angle)
{
    prepareGeometryChange();
    m_startAngle = angle;
    updateHandles();
}

void GraphicsEllipseItem::setSpanAngle(int angle)
{
    prepareGeometryChange();
    m_spanAngle = angle;
    updateHandles();
}

void GraphicsEllipseItem::setEshape(EllispseType kind)
{
    m_kind = kind;
    updateHandles();
    update();
}
