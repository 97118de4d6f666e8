#include "recttool.h"

#include "drawscene.h"
#include "gridsnap.h"
#include "selecttool.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicstextitem.h"
#include "stackingorder.h"

#include <QGraphicsSceneMouseEvent>

#include <cmath>

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
    // Snapped, the box's first corner (one unit inside the shape's origin)
    // is the grid point; the drag then snaps the opposite corner.
    m_snappedStart = GridSnap::active(event->modifiers());
    const QPointF origin = m_snappedStart ? GridSnap::point(downPos) - QPointF(1, 1) : downPos;
    m_boxStart = origin + QPointF(1, 1);
    m_pressPos = downPos;
    downPos = origin + DownShift;
    shape->setPos(origin);
    scene->addItem(shape);
    StackingOrder(scene).raiseToTop(shape);
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
    // Nor does a drag whose far corner snapped onto the first corner's row
    // or column: the box would have no area.
    const bool flat = m_snappedStart
        && (std::abs(lastPos.x() - m_boxStart.x()) < 1e-9
            || std::abs(lastPos.y() - m_boxStart.y()) < 1e-9);
    if (flat || samePoint(event->scenePos(), m_pressPos)) {
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
