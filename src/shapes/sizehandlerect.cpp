#include "sizehandlerect.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainter>

SizeHandleRect::SizeHandleRect(QGraphicsItem *owner, int dir, int kind)
    : QGraphicsRectItem(-4, -4, 8, 8)
    , m_owner(owner)
    , m_dir(dir)
    , m_kind(kind)
    , m_colour(0x87, 0xce, 0xfa)
{
    // Flags and hover only matter once the handle is in the scene; see
    // setState().
    hide();
}

void SizeHandleRect::setState(int state)
{
    if (state == m_state)
        return;
    if (state != Hidden && !parentItem() && m_owner) {
        setFlag(QGraphicsItem::ItemIgnoresTransformations);
        setAcceptHoverEvents(true);
        setParentItem(m_owner);
    }
    setVisible(state != Hidden);
    m_state = state;
}

void SizeHandleRect::move(double x, double y)
{
    setPos(x, y);
}

bool SizeHandleRect::hitTest(const QPointF &scenePoint) const
{
    // The square is drawn in screen pixels around the handle's place,
    // whatever the zoom and the shape's rotation, so the point is compared
    // there too: its offset from the centre as the view shows it. A loose
    // handle is placed through its owner as an attached one is.
    const QPointF centre = m_owner ? m_owner->mapToScene(pos()) : scenePos();
    const QGraphicsScene *shown = m_owner ? m_owner->scene() : scene();
    if (!shown || shown->views().isEmpty())
        return contains(scenePoint - centre);
    const QTransform view = shown->views().first()->viewportTransform();
    return contains(view.map(scenePoint) - view.map(centre));
}

void SizeHandleRect::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                           QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine));
    if (m_kind == BoxHandle) {
        painter->setBrush(m_colour);
        painter->drawRect(rect());
    } else {
        painter->setBrush(Qt::green);
        painter->drawEllipse(rect().center(), 4, 4);
    }
    painter->restore();
}

void SizeHandleRect::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    update();
    QGraphicsRectItem::hoverEnterEvent(event);
}

void SizeHandleRect::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    update();
    QGraphicsRectItem::hoverLeaveEvent(event);
}
