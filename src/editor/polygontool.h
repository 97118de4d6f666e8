#pragma once

#include "drawtool.h"
#include "shapes/graphicspolygonitem.h"

#include <QPointer>

// Creates point-list shapes (line, polygon, polyline, Bezier curve) click
// by click: each press adds a point, and the newest point follows the mouse
// until the next press. A line ends on the release of its first press, the
// others on a double click; the finished shape is announced with the
// scene's itemAdded, and the select tool is chosen again unless
// continuousInsert is set. A shape with fewer than two points placed (a
// click without a drag) is dropped instead, as is the shape in progress on
// Escape.
class PolygonTool : public DrawTool
{
public:
    explicit PolygonTool(int kind);

    void mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    // Removes and deletes the shape being drawn in scene; no itemAdded.
    void cancel(DrawScene *scene) override;

    // The shape in progress; null between shapes (and when its scene was
    // deleted while it was drawn). Owned by its scene.
    GraphicsPolygonItem *item() const { return m_item; }
    int pointCount() const { return m_pointCount; }

private:
    // A new shape for the tool-box code, or null for a code this tool does
    // not draw. The caller takes ownership.
    static GraphicsPolygonItem *createShape(int code);
    // Ends the shape in progress: announced with itemAdded when the user
    // placed at least two points, dropped otherwise.
    void finish(const QPointF &position, DrawScene *scene);
    // Drops the shape in progress and ends the tool's turn.
    void discard();
    static bool placedTwoPoints(const GraphicsPolygonItem *shape);

    QPointer<GraphicsPolygonItem> m_item;
    int m_pointCount = 0;
    QPointF m_initialPosition;
};
