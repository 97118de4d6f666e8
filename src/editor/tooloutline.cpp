#include "tooloutline.h"

#include <QGraphicsScene>
#include <QPen>

ToolOutline::ToolOutline(const QPainterPath &path, ToolOutline **slot)
    : QGraphicsPathItem(path)
    , m_slot(slot)
{
    // Width 0 keeps the bounding rectangle equal to the path's, so the
    // screen-edge clamp of a moving outline matches the shapes' own.
    QPen pen(Qt::black, 0, Qt::DashLine);
    pen.setCosmetic(true);
    setPen(pen);
    setBrush(Qt::NoBrush);
    discard(m_slot);
    *m_slot = this;
}

ToolOutline::~ToolOutline()
{
    if (*m_slot == this)
        *m_slot = nullptr;
}

void ToolOutline::discard(ToolOutline **slot)
{
    ToolOutline *outline = *slot;
    if (!outline)
        return;
    if (QGraphicsScene *scene = outline->scene())
        scene->removeItem(outline);
    delete outline;
    *slot = nullptr;
}

ToolOutline *ToolOutline::copyOf(const QGraphicsItem *item, ToolOutline **slot)
{
    auto *outline = new ToolOutline(item->shape(), slot);
    outline->setPos(item->pos());
    outline->setTransformOriginPoint(item->transformOriginPoint());
    outline->setTransform(item->transform());
    outline->setRotation(item->rotation());
    outline->setScale(item->scale());
    outline->setZValue(item->zValue());
    return outline;
}
