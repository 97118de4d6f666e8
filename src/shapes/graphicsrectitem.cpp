#include "graphicsrectitem.h"

#include "shapeelement.h"
#include "shapepainting.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <cmath>

GraphicsRectItem::GraphicsRectItem(const QRect &rect, QGraphicsItem *parent)
    : GraphicsItem(parent)
{
    m_pen.setStyle(Qt::NoPen);
    setRectGeometry(QRectF(rect.x(), rect.y(), rect.width(), rect.height()));
    updateHandles();
}

void GraphicsRectItem::setRectGeometry(const QRectF &rect)
{
    m_width = rect.width();
    m_height = rect.height();
    m_localRect = rect;
    m_referenceRect = rect;
}

QString GraphicsRectItem::typeName() const
{
    return tr("rectangle");
}

QString GraphicsRectItem::elementName() const
{
    return shapeElementName(ShapeElement::Rectangle);
}

QRectF GraphicsRectItem::boundingRect() const
{
    return m_localRect;
}

QPointF GraphicsRectItem::cornerRadii() const
{
    const double rx = m_ratioX <= 0 ? 0 : m_ratioX * m_width + 0.5;
    const double ry = m_ratioY <= 0 ? 0 : m_ratioY * m_height + 0.5;
    return QPointF(rx, ry);
}

QPainterPath GraphicsRectItem::shape() const
{
    QPainterPath path;
    if (m_roundCorners) {
        const QPointF r = cornerRadii();
        path.addRoundedRect(m_localRect, r.x(), r.y());
    } else {
        path.addRect(m_localRect);
    }
    return path;
}

void GraphicsRectItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(widget)
    painter->setPen(m_pen);
    painter->setBrush(m_brush);
    if (m_roundCorners) {
        const QPointF r = cornerRadii();
        painter->drawRoundedRect(m_localRect, r.x(), r.y());
    } else {
        painter->drawRect(m_localRect.toRect());
    }
    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

void GraphicsRectItem::moveControlPoint(int handle, const QPointF &point)
{
    const QPointF p = mapFromScene(point);
    const double x = m_localRect.x();
    const double y = m_localRect.y();
    const double w = m_localRect.width();
    const double h = m_localRect.height();

    if (m_roundCorners && handle == SizeHandleRect::FirstControl + 1) {
        const double low = std::round(x + w / 2);
        const double high = std::round(x + w);
        const double px = qBound(low, double(std::round(p.x())), high);
        double wide = std::round(w);
        if (wide == 0)
            wide = 1;
        m_ratioX = std::abs((x + w) - px) / wide;
    } else if (m_roundCorners && handle == SizeHandleRect::FirstControl) {
        const double low = std::round(y);
        const double high = std::round(y + h / 2);
        const double py = qBound(low, double(std::round(p.y())), high);
        double tall = std::round(h);
        if (tall == 0)
            tall = 1;
        m_ratioY = std::abs(y - py) / tall;
    }
    prepareGeometryChange();
    updateHandles();
}

void GraphicsRectItem::scaleFromHandle(int handle, double sx, double sy, const QPointF &origin)
{
    if (handle == SizeHandleRect::Top || handle == SizeHandleRect::Bottom)
        sx = 1;
    if (handle == SizeHandleRect::Right || handle == SizeHandleRect::Left)
        sy = 1;
    m_fixedPoint = origin;
    QTransform transform;
    transform.translate(origin.x(), origin.y());
    transform.scale(sx, sy);
    transform.translate(-origin.x(), -origin.y());
    prepareGeometryChange();
    m_localRect = transform.mapRect(m_referenceRect).normalized();
    m_width = m_localRect.width();
    m_height = m_localRect.height();
    updateHandles();
}

void GraphicsRectItem::normalizeGeometry()
{
    if (!parentItem()) {
        // Keep every point where it is on screen while the box is moved to
        // be centred on the item origin, which also becomes the transform
        // origin, so later rotations turn about the centre. With Qt's item
        // mapping pos + T(o + R(p - o)), that needs pos = map(centre) - T(0).
        const QPointF centre = m_localRect.center();
        const QPointF target = mapToParent(centre) - transform().map(QPointF(0, 0));
        prepareGeometryChange();
        m_localRect = QRectF(-m_width / 2, -m_height / 2, m_width, m_height);
        setTransformOriginPoint(0, 0);
        setPos(target);
        m_fixedPoint = QPointF();
        updateHandles();
    }
    m_referenceRect = m_localRect;
}

QVariantList GraphicsRectItem::geometryState() const
{
    return {m_localRect, m_referenceRect, m_fixedPoint, m_width, m_height};
}

void GraphicsRectItem::restoreGeometry(const QVariantList &state)
{
    if (state.size() != 5)
        return;
    prepareGeometryChange();
    m_localRect = state.at(0).toRectF();
    m_referenceRect = state.at(1).toRectF();
    m_fixedPoint = state.at(2).toPointF();
    m_width = state.at(3).toDouble();
    m_height = state.at(4).toDouble();
    updateHandles();
}

void GraphicsRectItem::translateBy(const QPointF &delta)
{
    setPos(pos() + delta);
}

QGraphicsItem *GraphicsRectItem::clone()
{
    auto *copy = new GraphicsRectItem(m_localRect.toRect(), nullptr);
    finishClone(copy);
    return copy;
}

void GraphicsRectItem::finishClone(GraphicsRectItem *copy) const
{
    // The constructors take whole pixels; a box of odd size is centred on
    // half pixels, and a rounded box would move the copy on re-centring.
    copy->setRectGeometry(m_localRect);
    copy->m_ratioX = m_ratioX;
    copy->m_ratioY = m_ratioY;
    copyCommonAttributes(copy);
    copy->normalizeGeometry();
}

void GraphicsRectItem::updateHandles()
{
    GraphicsItem::updateHandles();
}
