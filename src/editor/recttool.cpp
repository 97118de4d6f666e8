#include "recttool.h"

#include "editor/drawscene.h"
#include "editor/selecttool.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicstextitem.h"

#include <QGraphicsSceneMouseEvent>

namespace {

// How far downPos is shifted from the press. With the new shape's 1 x 1 box
// at (1, 1) and its fixed corner there, the resize factor is then
// (mouse - 1) / (2 - 1): the right-bottom corner lands on the mouse.
const QPointF DownShift(2, 2);

} // namespace

RectTool::RectTool(int kind)
    : DrawTool(kind)
{ }

SelectTool *RectTool::selectTool()
{
    return dynamic_cast<SelectTool *>(findTool(SelectKind));
}

GraphicsItem *RectTool::createShape(int code, const QRect &rect) const
{
    switch (code) {
    case RectangleKind:
        return new GraphicsRectItem(rect);
    case RoundrectKind:
        return new GraphicsRoundrectItem(rect);
    case EllipseKind:
        return new GraphicsEllipseItem(rect);
    case TextKind:
        return new GraphicsTextItem(rect);
    case ImageKind:
        return new GraphicsImageItem(rect);
    default:
        return nullptr;
    }
}

void RectTool::mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    if (event->button() != Qt::LeftButton)
        return;
    GraphicsItem *shape = createShape(currentShape, QRect(1, 1, 1, 1));
    if (!shape)
        return;
    scene->clearSelection();
    DrawTool::mousePressEvent(event, scene);
    downPos += DownShift;
    shape->setPos(event->scenePos());
    scene->addItem(shape);
    scene->raiseToTop(shape);
    shape->setSelected(true);
    m_item = shape;
    if (SelectTool *select = selectTool())
        select->clearOpposite();
    selectMode = Size;
    dragHandle = 5;
}

void RectTool::mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    setViewCursor(scene, Size, 0);
    if (SelectTool *select = selectTool())
        select->mouseMoveEvent(event, scene);
    else
        DrawTool::mouseMoveEvent(event, scene);
}

void RectTool::mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    if (event->button() != Qt::LeftButton || !m_item)
        return;
    if (SelectTool *select = selectTool()) {
        select->setSuppressSignals(true);
        select->mouseReleaseEvent(event, scene);
        select->setSuppressSignals(false);
    }
    GraphicsItem *shape = m_item;
    m_item = nullptr;
    if (samePoint(event->scenePos(), downPos - DownShift)) {
        shape->setSelected(false);
        if (shape->scene())
            shape->scene()->removeItem(shape);
        delete shape;
    } else {
        emit scene->itemAdded(shape);
    }
    if (!continuousInsert)
        currentShape = SelectKind;
}
