#pragma once

#include "drawtool.h"

class QGraphicsItem;
class QGraphicsPathItem;
class ToolOutline;

// Turns the single selected plain shape about its centre by dragging one
// of its handles. Groups and widget shapes cannot be turned. While the drag
// runs only a dashed outline turns; the shape takes the angle on release
// and the scene emits itemRotate with the angle it had before. A press away
// from the handles hands the gesture to the select tool.
class RotationTool : public DrawTool
{
public:
    RotationTool();
    ~RotationTool() override;

    void mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;

    // The outline of the running turn; null when none runs. Owned by the
    // tool.
    QGraphicsPathItem *dashRect() const;

private:
    // Only single plain shapes turn.
    static bool canRotate(const QGraphicsItem *item);
    // Direction, in degrees, from the centre of item's box to a scene point.
    static double angleAt(const QGraphicsItem *item, const QPointF &scenePoint);
    // The item's rotation once the mouse is at scenePoint: whole degrees
    // turned since the press, kept within -360..360.
    double rotationAt(const QGraphicsItem *item, const QPointF &scenePoint) const;

    double m_startAngle = 0;
    // The press was on a handle while the shapes are locked: the drag turns
    // nothing, and the user is told once.
    bool m_refused = false;
    bool m_refusalShown = false;
    ToolOutline *m_dashRect = nullptr;
};
