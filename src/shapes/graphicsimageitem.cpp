#include "graphicsimageitem.h"

#include "shapes/shapepainting.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

GraphicsImageItem::GraphicsImageItem(const QRect &rect, QGraphicsItem *parent)
    : GraphicsRectItem(rect, parent)
{ }

QString GraphicsImageItem::typeName() const
{
    return tr("imageitem");
}

void GraphicsImageItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget)
    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

QGraphicsItem *GraphicsImageItem::clone()
{
    auto *copy = new GraphicsImageItem(m_localRect.toRect(), nullptr);
    finishClone(copy);
    return copy;
}
