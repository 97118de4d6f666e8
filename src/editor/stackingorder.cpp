#include "stackingorder.h"

#include <QGraphicsItem>
#include <QGraphicsScene>

#include <algorithm>

namespace {

bool isShape(const QGraphicsItem *item)
{
    return item && item->type() > QGraphicsItem::UserType;
}

} // namespace

StackingOrder::StackingOrder(QGraphicsScene *scene)
    : m_scene(scene)
{
}

double StackingOrder::maxZ(const QList<QGraphicsItem *> &items)
{
    double z = 0;
    for (const QGraphicsItem *item : items) {
        if (isShape(item))
            z = std::max(z, item->zValue());
    }
    return z;
}

double StackingOrder::minZ(const QList<QGraphicsItem *> &items)
{
    double z = 65536;
    for (const QGraphicsItem *item : items) {
        if (isShape(item))
            z = std::min(z, item->zValue());
    }
    return z;
}

void StackingOrder::raiseToTop(QGraphicsItem *item)
{
    if (item)
        item->setZValue(maxZ(m_scene->items()) + 1);
}

QList<QGraphicsItem *> StackingOrder::collidingShapes(QGraphicsItem *item) const
{
    QList<QGraphicsItem *> result;
    if (!item)
        return result;
    const QList<QGraphicsItem *> colliding
        = m_scene->collidingItems(item, Qt::IntersectsItemShape);
    for (QGraphicsItem *other : colliding) {
        if (isShape(other) && !other->parentItem())
            result.append(other);
    }
    return result;
}

QGraphicsItem *StackingOrder::layerNeighbour(QGraphicsItem *item, bool down) const
{
    const QList<QGraphicsItem *> colliding = collidingShapes(item);
    if (colliding.isEmpty())
        return nullptr;
    // Walking the drawing order from the item finds the nearest overlapping
    // shape even where z values tie, which only insertion order separates.
    const QList<QGraphicsItem *> drawn = m_scene->items(Qt::DescendingOrder);
    const int at = drawn.indexOf(item);
    if (at < 0)
        return nullptr;
    if (down) {
        for (int i = at + 1; i < drawn.size(); ++i) {
            if (colliding.contains(drawn.at(i)))
                return drawn.at(i);
        }
    } else {
        for (int i = at - 1; i >= 0; --i) {
            if (colliding.contains(drawn.at(i)))
                return drawn.at(i);
        }
    }
    return nullptr;
}

void StackingOrder::bringToFront(QGraphicsItem *item)
{
    // On top of everything it overlaps already, or overlapping nothing:
    // there is no order to change, and a new z could only sink it.
    if (item && layerNeighbour(item, false))
        item->setZValue(freeZ(item, maxZ(collidingShapes(item)) + 0.1, 0.1));
}

void StackingOrder::sendToBack(QGraphicsItem *item)
{
    // With nothing below there is no order to change; the lowest z of an
    // empty list would lift the shape above everything it meets later.
    if (item && layerNeighbour(item, true))
        item->setZValue(freeZ(item, minZ(collidingShapes(item)) - 0.1, -0.1));
}

double StackingOrder::freeZ(const QGraphicsItem *item, double z, double step) const
{
    // Two shapes sharing a z have no order of their own: a later exchange of
    // z values between them would change nothing. Stepping further away from
    // the shapes item overlaps keeps its place against them.
    QList<double> taken;
    const QList<QGraphicsItem *> all = m_scene->items();
    for (const QGraphicsItem *other : all) {
        if (other != item && isShape(other) && !other->parentItem())
            taken.append(other->zValue());
    }
    // Each step passes at most one taken value; the bound also ends the walk
    // where z is too large for step to change it.
    for (int i = 0; i <= taken.size() && taken.contains(z); ++i)
        z += step;
    return z;
}

void StackingOrder::passNeighbour(QGraphicsItem *item, bool down)
{
    QGraphicsItem *neighbour = item ? layerNeighbour(item, down) : nullptr;
    if (!neighbour)
        return;
    // Exchanging z values would also sink the neighbour below shapes lying
    // between the two that overlap it; instead the item alone moves to just
    // past the neighbour, halfway to the next z any other shape holds.
    const double z = neighbour->zValue();
    double next = down ? -qInf() : qInf();
    const QList<QGraphicsItem *> all = m_scene->items();
    for (const QGraphicsItem *other : all) {
        if (other == item || !isShape(other) || other->parentItem())
            continue;
        const double w = other->zValue();
        if (down ? (w < z && w > next) : (w > z && w < next))
            next = w;
    }
    double target = qIsInf(next) ? z + (down ? -0.1 : 0.1) : (z + next) / 2;
    if (target == z || target == next) {
        // No number left between the two: the old exchange still orders
        // them.
        target = z;
        neighbour->setZValue(item->zValue());
    }
    item->setZValue(target);
    m_scene->update();
}

void StackingOrder::moveForward(QGraphicsItem *item)
{
    passNeighbour(item, false);
}

void StackingOrder::moveBackward(QGraphicsItem *item)
{
    passNeighbour(item, true);
}
