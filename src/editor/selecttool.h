#pragma once

#include "drawtool.h"

class EditableShape;
class QGraphicsItem;
class QGraphicsPathItem;
class ToolOutline;

// Selects shapes, moves them, and drags their box handles (resize) and
// control handles (radii, angles, points). While a move runs only a dashed
// outline follows the mouse; the shapes move once, on release. Each gesture
// ends with at most one of the scene's itemMoved, itemResize or itemControl.
class SelectTool : public DrawTool
{
public:
    SelectTool();
    ~SelectTool() override;

    void mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene) override;

    // Set by the creation tools while they borrow the move and release
    // handling: the new shape's geometry is still normalised on release, but
    // no itemResize is emitted for the creation drag.
    void setSuppressSignals(bool suppress) { m_suppressSignals = suppress; }
    // Forgets what an earlier gesture left (the fixed point and grabbed
    // handle of a resize, a refusal), so that the next resize move takes
    // them from the shape (a creation drag starts so).
    void clearOpposite();

    // The outline of the running move; null when no move runs. Owned by
    // the tool.
    QGraphicsPathItem *dashRect() const;

private:
    // The opposite handle's position in the shape's coordinates, each
    // coordinate that is exactly 0 replaced by 1 so that no factor divides
    // by zero.
    static QPointF oppositeOf(const EditableShape &shape, int dir);
    // Scale factors of the whole gesture so far: where the mouse is now
    // against where it was pressed, both relative to the fixed point.
    QPointF scaleFactors(const QGraphicsItem *target) const;
    void startMoveOutline(DrawScene *scene, const QList<QGraphicsItem *> &selected);
    // Holds lastPos back so that the dragged box handle lands on the grid
    // point nearest to where the mouse would carry it.
    void snapResize(const EditableShape &target);
    // Holds lastPos back so that the moving box's top-left corner lands on
    // the grid.
    void snapMove();

    QPointF m_initialPosition;
    QPointF m_opposite;
    // Scene position of the dragged control handle at the press.
    QPointF m_controlStart;
    // Where the dragged box handle was at the press, in the shape's
    // coordinates (which hold still until the gesture ends); taken on the
    // first resize move when the press did not set it.
    QPointF m_handleStart;
    bool m_haveHandleStart = false;
    // The top-left corner of what a move carries, as it was at the press.
    QPointF m_moveCorner;
    // The press started a gesture the lock refuses: the rest of it changes
    // nothing, and the user is told once.
    bool m_refused = false;
    bool m_refusalShown = false;
    ToolOutline *m_dashRect = nullptr;
    bool m_suppressSignals = false;
};
