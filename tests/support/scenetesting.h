#pragma once

#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/shapecommands.h"
#include "shapes/graphicsrectitem.h"

#include <QApplication>
#include <QMouseEvent>
#include <QUndoStack>

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

// A mouse event at a scene point, delivered to the view's viewport as a
// real mouse delivers it: moves name no button, whatever is held.
inline void sendMouse(DrawView *view, QEvent::Type type, const QPointF &scenePoint,
                      Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF local = view->mapFromScene(scenePoint);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, view->viewport()->mapToGlobal(local.toPoint()), button, held,
                      modifiers);
    QApplication::sendEvent(view->viewport(), &event);
}

// Every finished gesture on scene becomes an entry on stack, as the main
// window records them; opposite, when given, learns the handle a resize
// names for its undo.
inline void recordGestures(DrawScene *scene, QUndoStack *stack, int *opposite = nullptr)
{
    QObject::connect(scene, &DrawScene::itemAdded, scene, [=](QGraphicsItem *item) {
        stack->push(new AddShapeCommand(item, scene));
    });
    QObject::connect(scene, &DrawScene::itemMoved, scene, [=](QGraphicsItem *item, QPointF by) {
        stack->push(item ? new MoveShapeCommand(item, by) : new MoveShapeCommand(scene, by));
    });
    QObject::connect(scene, &DrawScene::itemResize, scene,
                     [=](QGraphicsItem *item, int handle, const QPointF &scale, int oppositeHandle,
                         const QPointF &fixedPoint) {
                         auto *command = new ResizeShapeCommand(item, handle, scale);
                         command->setOppositeHandle(oppositeHandle);
                         command->setFixedPoint(fixedPoint);
                         if (opposite)
                             *opposite = oppositeHandle;
                         stack->push(command);
                     });
    QObject::connect(scene, &DrawScene::itemControl, scene,
                     [=](QGraphicsItem *item, int handle, const QPointF &to, const QPointF &from) {
                         stack->push(new ControlShapeCommand(item, handle, to, from));
                     });
    QObject::connect(scene, &DrawScene::itemRotate, scene, [=](QGraphicsItem *item, qreal old) {
        stack->push(new RotateShapeCommand(item, old));
    });
}

} // namespace scenetest
