#pragma once

#include "drawtool.h"
#include "shapes/graphicsitem.h"

#include <QPointer>

class QRect;
class SelectTool;

// Creates box shapes (rectangle, rounded rectangle, ellipse, text, image)
// by dragging from one corner to the other; the drag itself is the select
// tool's resize from the right-bottom handle. A click without movement
// leaves no shape. A finished shape is announced with the scene's
// itemAdded; then the select tool is chosen again unless continuousInsert
// is set.
class RectTool : public DrawTool
{
public:
    explicit RectTool(int kind);

    void mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;

    // The shape being created; null between gestures (and when its scene
    // was deleted in the middle of one). Owned by its scene.
    GraphicsItem *item() const { return m_item; }

protected:
    // A new shape for the tool-box code with the given initial box, or null
    // when this tool does not create that code. The caller takes ownership.
    virtual GraphicsItem *createShape(int code, const QRect &rect) const;

private:
    static SelectTool *selectTool();

    QPointer<GraphicsItem> m_item;
    // Where the mouse went down, before any snapping.
    QPointF m_pressPos;
    // The box's first corner, and whether it was snapped there.
    QPointF m_boxStart;
    bool m_snappedStart = false;
};
