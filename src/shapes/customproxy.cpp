#include "customproxy.h"

#include <QComboBox>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>

CustomProxy::CustomProxy(QGraphicsItem *parent, Qt::WindowFlags flags)
    : QGraphicsProxyWidget(parent, flags)
{ }

void CustomProxy::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // Opened once the press has been delivered: the list grabs the mouse,
    // which must not happen while the scene is still choosing the item that
    // takes the press.
    if (auto *combo = qobject_cast<QComboBox *>(widget()))
        QMetaObject::invokeMethod(combo, &QComboBox::showPopup, Qt::QueuedConnection);
}

void CustomProxy::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseMoveEvent(event);
}

void CustomProxy::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseReleaseEvent(event);
}

void CustomProxy::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    // A double click would select text in a line edit; treat it as a
    // second press instead.
    QGraphicsItem::mouseDoubleClickEvent(event);
}

void CustomProxy::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    // The widget's own menu (paste, ...) would let its content be edited;
    // leave the menu to the screen.
    event->ignore();
}
