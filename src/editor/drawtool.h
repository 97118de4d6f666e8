#pragma once

#include <QList>

class DrawScene;
class QGraphicsSceneMouseEvent;

// A mouse tool of the screen editor. Every DrawScene hands its mouse events
// to the tool registered for DrawTool::currentShape.
//
// A tool registers itself when constructed. Tools are meant to live until
// the process ends; one destroyed earlier takes itself out of the registry,
// so findTool() never returns a dangling pointer.
class DrawTool
{
public:
    virtual ~DrawTool();

    // The chosen tool, a ShapeKind value (0 = select). Process-wide: one
    // editor is active at a time and the choice persists across screens.
    static int currentShape;
    // When set, a creation tool stays chosen after it has made a shape.
    static bool continuousInsert;

    // The first registered tool of that kind; every kind above WidgetKind
    // is served by the widget tool (kind WidgetKind). Null when none is
    // registered.
    static DrawTool *findTool(int shape);

    int kind() const { return m_kind; }

    // The scene's mouse events; scene is the scene that received them.
    virtual void mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);
    virtual void mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);
    virtual void mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);
    virtual void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene);

protected:
    explicit DrawTool(int kind);

    int m_kind;

private:
    DrawTool(const DrawTool &) = delete;
    DrawTool &operator=(const DrawTool &) = delete;

    static QList<DrawTool *> &registry();
};
