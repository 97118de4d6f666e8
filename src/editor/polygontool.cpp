#include "polygontool.h"

#include "drawscene.h"
#include "gridsnap.h"
#include "shapes/graphicsbezier.h"
#include "shapes/graphicslineitem.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicspolyline.h"
#include "stackingorder.h"

#include <QGraphicsSceneMouseEvent>

PolygonTool::PolygonTool(int kind)
    : DrawTool(kind)
{ }

GraphicsPolygonItem *PolygonTool::createShape(int code)
{
    switch (code) {
    case LineKind:
        return new GraphicsLineItem;
    case PolygonKind:
        return new GraphicsPolygonItem;
    case PolylineKind:
        return new GraphicsPolyline;
    case BezierKind:
        return new GraphicsBezier;
    default:
        return nullptr;
    }
}

void PolygonTool::mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    DrawTool::mousePressEvent(event, scene);
    if (event->button() != Qt::LeftButton)
        return;
    downPos = GridSnap::point(downPos, event->modifiers());
    lastPos = downPos;
    if (!m_item) {
        GraphicsPolygonItem *shape = createShape(currentShape);
        if (!shape)
            return;
        m_pointCount = 0;
        shape->setPos(downPos);
        scene->addItem(shape);
        StackingOrder(scene).raiseToTop(shape);
        m_initialPosition = downPos;
        shape->appendPoint(downPos);
        shape->setSelected(true);
        ++m_pointCount;
        m_item = shape;
    }
    // The newest point starts one unit to the right of the press, so that
    // a finish without dragging it can recognise and drop it.
    m_item->appendPoint(downPos + QPointF(1, 0));
    ++m_pointCount;
    selectMode = Size;
    dragHandle = m_item->handleCount();
}

void PolygonTool::mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    DrawTool::mouseMoveEvent(event, scene);
    lastPos = GridSnap::point(lastPos, event->modifiers());
    setViewCursor(scene, Size, 0);
    if (m_item && selectMode == Size && dragHandle != 0)
        m_item->moveControlPoint(dragHandle, lastPos);
}

void PolygonTool::mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    DrawTool::mousePressEvent(event, scene);
    if (m_kind != LineKind || !m_item)
        return;
    // A click without a drag draws no line, as a click of the other tools
    // draws no shape; nor does a drag that snapped back to its start.
    const QPointF end = GridSnap::point(event->scenePos(), event->modifiers());
    if (samePoint(end, m_initialPosition))
        discard();
    else
        finish(end, scene);
}

void PolygonTool::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    if (m_item)
        finish(GridSnap::point(event->scenePos(), event->modifiers()), scene);
}

void PolygonTool::cancel(DrawScene *scene)
{
    if (m_item && m_item->scene() == scene)
        discard();
}

bool PolygonTool::placedTwoPoints(const GraphicsPolygonItem *shape)
{
    // The point the tool adds one unit right of a click and that was never
    // dragged, or a repeat of the one before, was not placed by the user.
    QPolygonF points = shape->points();
    if (points.size() >= 2) {
        const QPointF last = points.last();
        const QPointF previous = points.at(points.size() - 2);
        if (samePoint(last, previous) || samePoint(last, previous + QPointF(1, 0)))
            points.removeLast();
    }
    return points.size() >= 2;
}

void PolygonTool::discard()
{
    GraphicsPolygonItem *shape = m_item;
    m_item = nullptr;
    if (shape) {
        shape->setSelected(false);
        if (shape->scene())
            shape->scene()->removeItem(shape);
        delete shape;
    }
    selectMode = None;
    dragHandle = 0;
    if (!continuousInsert)
        currentShape = SelectKind;
    m_pointCount = 0;
}

void PolygonTool::finish(const QPointF &position, DrawScene *scene)
{
    m_item->finishPoints(position);
    if (!placedTwoPoints(m_item)) {
        discard();
        return;
    }
    GraphicsPolygonItem *shape = m_item;
    m_item = nullptr;
    shape->normalizeGeometry();
    emit scene->itemAdded(shape);
    selectMode = None;
    dragHandle = 0;
    if (!continuousInsert)
        currentShape = SelectKind;
    m_pointCount = 0;
}
