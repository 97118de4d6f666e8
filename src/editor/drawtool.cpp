#include "drawtool.h"

#include "shapes/shapekind.h"

int DrawTool::currentShape = SelectKind;
bool DrawTool::continuousInsert = false;

DrawTool::DrawTool(int kind)
    : m_kind(kind)
{
    registry().append(this);
}

DrawTool::~DrawTool()
{
    registry().removeAll(this);
}

QList<DrawTool *> &DrawTool::registry()
{
    static QList<DrawTool *> tools;
    return tools;
}

DrawTool *DrawTool::findTool(int shape)
{
    const int wanted = shape > WidgetKind ? int(WidgetKind) : shape;
    for (DrawTool *tool : qAsConst(registry())) {
        if (tool->m_kind == wanted)
            return tool;
    }
    return nullptr;
}

void DrawTool::mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    Q_UNUSED(scene)
}

void DrawTool::mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    Q_UNUSED(scene)
}

void DrawTool::mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    Q_UNUSED(scene)
}

void DrawTool::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    Q_UNUSED(scene)
}
