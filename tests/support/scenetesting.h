#pragma once

#include "editor/drawscene.h"
#include "shapes/graphicsrectitem.h"

// Helpers for tests that put rectangles on a screen.
namespace scenetest {

// Gives a rectangle the box box on screen through its properties, as the
// screen loader does.
inline void placeRect(GraphicsRectItem *rect, const QRectF &box)
{
    rect->setProperty("width", box.width());
    rect->setProperty("height", box.height());
    rect->setProperty("pos", box.topLeft());
}

// A rectangle with that box, added to scene.
inline GraphicsRectItem *addRect(QGraphicsScene *scene, const QRectF &box, double z = 0)
{
    auto *rect = new GraphicsRectItem(QRect(0, 0, 1, 1));
    scene->addItem(rect);
    placeRect(rect, box);
    rect->setZValue(z);
    return rect;
}

// The item's box in scene coordinates.
inline QRectF sceneBox(const QGraphicsItem *item)
{
    return item->mapRectToScene(item->boundingRect());
}

} // namespace scenetest
