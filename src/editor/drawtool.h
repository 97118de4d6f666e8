#pragma once

#include <QList>
#include <QPointF>

class DrawScene;
class QGraphicsSceneMouseEvent;

// A mouse tool of the screen editor. Every DrawScene hands its mouse events
// to the tool registered for DrawTool::currentShape.
//
// A tool registers itself when constructed. Tools are meant to live until
// the process ends; one destroyed earlier takes itself out of the registry,
// so findTool() never returns a dangling pointer.
//
// The gesture state below is process-wide: one editor is active at a time
// and one gesture runs at a time, whichever scene it happens in.
class DrawTool
{
public:
    // What the current gesture does.
    enum SelectMode { None = 0, NetSelect, Move, Size, Rotate, Editor };

    virtual ~DrawTool();

    // The chosen tool, a ShapeKind value (0 = select). The choice persists
    // across screens.
    static int currentShape;
    // When set, a creation tool stays chosen after it has made a shape.
    static bool continuousInsert;
    static SelectMode selectMode;
    // Direction of the handle being dragged (1..8 box handles, 9 and above
    // control handles); 0 when none is.
    static int dragHandle;
    // Scene positions of the last press and of the last mouse position.
    static QPointF downPos;
    static QPointF lastPos;

    // The first registered tool of that kind; every kind above WidgetKind
    // is served by the widget tool (kind WidgetKind). Null when none is
    // registered.
    static DrawTool *findTool(int shape);
    // Creates one tool per tool-box code, once: select, rotate, the box
    // tools 3, 4, 5, 9, 10, the widget tool, the point tools 2, 6, 8, 7.
    // Later calls do nothing. The tools are never destroyed.
    static void createTools();
    // Every registered tool, in registration order.
    static QList<DrawTool *> tools();

    // Sets the cursor of the scene's viewport: the resize cursor of a box
    // handle (1..8), else the cursor of the mode (Arrow, Cross, closed
    // hand, rotate or hand picture). NetSelect leaves the cursor alone, as
    // does a scene without a view.
    static void setViewCursor(DrawScene *scene, SelectMode mode, int handle);

    int kind() const { return m_kind; }

    // The scene's mouse events; scene is the scene that received them. The
    // base handlers keep downPos and lastPos; a release without movement
    // returns to the select tool.
    virtual void mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);
    virtual void mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);
    virtual void mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);
    virtual void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);
    // Escape in scene: drops whatever the tool has half made there. The
    // base tool holds nothing.
    virtual void cancel(DrawScene *scene);

protected:
    explicit DrawTool(int kind);

    // Equal within 1e-12 in both coordinates.
    static bool samePoint(const QPointF &a, const QPointF &b);

    int m_kind;
    // The mouse rests on a handle of the single selected shape, so the next
    // press drags the handle instead of letting Qt pick an item.
    bool m_hoverSizer = false;

private:
    DrawTool(const DrawTool &) = delete;
    DrawTool &operator=(const DrawTool &) = delete;

    static QList<DrawTool *> &registry();
};
