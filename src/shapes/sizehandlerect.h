#pragma once

#include <QGraphicsRectItem>

// A small handle item of a shape: eight box handles around it and control
// handles on radii, angles or points. Drawn 8 x 8 screen pixels at any zoom
// and rotation.
//
// A handle becomes a child item of its shape the first time it is shown.
// Until then it is a loose item outside the scene: a loaded project holds
// tens of thousands of shapes whose handles are never shown, and keeping
// them out of the scene spares the scene's index and the shape's child
// list. The shape deletes its loose handles (see AbstractShapeType); Qt
// deletes the attached ones with it.
class SizeHandleRect : public QGraphicsRectItem
{
public:
    enum Kind { BoxHandle = 0, ControlHandle = 1 };
    // Where a handle sits: the eight box handles clockwise from the
    // top-left corner, then a shape's control handles numbered from
    // FirstControl up (radii, angles, points).
    enum HandleDirection {
        NoHandle = 0,
        TopLeft = 1,
        Top = 2,
        TopRight = 3,
        Right = 4,
        BottomRight = 5,
        Bottom = 6,
        BottomLeft = 7,
        Left = 8,
        FirstControl = 9
    };
    enum State { Hidden = 0, Shown = 2 };

    SizeHandleRect(QGraphicsItem *owner, int dir, int kind);

    // A HandleDirection value.
    int dir() const { return m_dir; }
    static bool isBoxDirection(int dir) { return dir >= TopLeft && dir <= Left; }
    int kind() const { return m_kind; }
    int state() const { return m_state; }

    QGraphicsItem *owner() const { return m_owner; }
    // False until the handle is first shown.
    bool isAttached() const { return parentItem() != nullptr; }

    // 0 hides the handle, 1 or 2 shows it; repeating a state does nothing.
    void setState(int state);
    // Places the handle's centre at (x, y) in the shape's coordinates.
    void move(double x, double y);
    // True when the scene point lies on the handle's 8 x 8 square as the
    // scene's (first) view draws it; without a view, at 1 pixel per unit.
    bool hitTest(const QPointF &scenePoint) const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    QGraphicsItem *m_owner;
    int m_dir;
    int m_kind;
    int m_state = Hidden;
    QColor m_colour;
};
