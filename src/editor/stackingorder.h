#pragma once

#include <QList>

class QGraphicsItem;
class QGraphicsScene;

// The stacking order of a screen's shapes (items whose type lies above
// QGraphicsItem::UserType), moved one item at a time against the shapes it
// overlaps. Nothing here records an undo entry. Only the item's z changes
// (but for the last resort of passing a neighbour), so no other two shapes
// change places, and it never takes a z another top-level shape holds. A
// shape already in front (behind) of everything it overlaps, or overlapping
// nothing, keeps its z. Null items are ignored.
class StackingOrder
{
public:
    // scene is not owned and must outlive this object.
    explicit StackingOrder(QGraphicsScene *scene);

    // Largest z among the shapes of the list, never below 0.
    static double maxZ(const QList<QGraphicsItem *> &items);
    // Smallest z among the shapes of the list; 65536 when there is none.
    static double minZ(const QList<QGraphicsItem *> &items);

    // Puts item above everything in the scene.
    void raiseToTop(QGraphicsItem *item);
    // The top-level shapes whose outline intersects item's, topmost first.
    QList<QGraphicsItem *> collidingShapes(QGraphicsItem *item) const;
    // The overlapping shape drawn nearest below (down) or above item; null
    // when there is none.
    QGraphicsItem *layerNeighbour(QGraphicsItem *item, bool down) const;

    void bringToFront(QGraphicsItem *item);
    void sendToBack(QGraphicsItem *item);
    // The item passes the nearest overlapping shape above (below) it, and
    // no other shape it overlaps.
    void moveForward(QGraphicsItem *item);
    void moveBackward(QGraphicsItem *item);

private:
    // z, or the first of z + step, z + 2 step, ... that no other top-level
    // shape holds.
    double freeZ(const QGraphicsItem *item, double z, double step) const;
    void passNeighbour(QGraphicsItem *item, bool down);

    QGraphicsScene *m_scene;
};
