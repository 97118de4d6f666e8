#include "rotationtool.h"

#include "drawscene.h"
#include "editableshape.h"
#include "shapes/shapekind.h"
#include "tooloutline.h"

#include <QGraphicsSceneMouseEvent>

#include <cmath>

namespace {

// Deliberately the rounded value: the whole degrees a drag produces depend
// on it (a quarter turn comes out as 89), and angles users are used to
// getting from a given drag must stay the same.
constexpr double Pi = 3.1416;

} // namespace

RotationTool::RotationTool()
    : DrawTool(RotateKind)
{ }

RotationTool::~RotationTool()
{
    ToolOutline::discard(&m_dashRect);
}

QGraphicsPathItem *RotationTool::dashRect() const
{
    return m_dashRect;
}

bool RotationTool::canRotate(const QGraphicsItem *item)
{
    return item && item->type() != GroupItemType && item->type() != WidgetItemType;
}

double RotationTool::angleAt(const QGraphicsItem *item, const QPointF &scenePoint)
{
    const QPointF c = item->mapToScene(item->boundingRect().center());
    return std::atan2(scenePoint.y() - c.y(), scenePoint.x() - c.x()) * 180 / Pi;
}

double RotationTool::rotationAt(const QGraphicsItem *item, const QPointF &scenePoint) const
{
    double r = item->rotation() + std::trunc(angleAt(item, scenePoint) - m_startAngle);
    if (r > 360)
        r -= 360;
    if (r < -360)
        r += 360;
    return r;
}

void RotationTool::mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    if (event->button() != Qt::LeftButton)
        return;
    DrawTool::mousePressEvent(event, scene);
    if (!m_hoverSizer)
        scene->mouseEvent(event);

    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.size() == 1 && canRotate(selected.first())) {
        QGraphicsItem *item = selected.first();
        const int dir = EditableShape(item).handleDirAt(event->scenePos());
        if (dir != 0 && DrawScene::shapesLocked()) {
            m_refused = true;
            m_refusalShown = false;
            selectMode = None;
            return;
        }
        if (dir != 0) {
            dragHandle = dir;
            m_startAngle = angleAt(item, event->scenePos());
            selectMode = Rotate;
            scene->addItem(ToolOutline::copyOf(item, &m_dashRect));
            setViewCursor(scene, Rotate, 0);
            return;
        }
    }
    // Not on a handle: the press selects or moves as with the select tool.
    currentShape = SelectKind;
    if (DrawTool *select = findTool(SelectKind))
        select->mousePressEvent(event, scene);
}

void RotationTool::mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    DrawTool::mouseMoveEvent(event, scene);
    if (m_refused) {
        if (!m_refusalShown && !samePoint(lastPos, downPos)) {
            m_refusalShown = true;
            scene->reportLocked();
        }
        return;
    }
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.size() == 1) {
        QGraphicsItem *item = selected.first();
        if (!canRotate(item))
            return;
        if (selectMode != Rotate) {
            m_hoverSizer = EditableShape(item).handleDirAt(lastPos) != 0;
            if (m_hoverSizer)
                setViewCursor(scene, Rotate, 0);
        } else {
            if (m_dashRect)
                m_dashRect->setRotation(rotationAt(item, lastPos));
            setViewCursor(scene, selectMode, 0);
        }
    }
    scene->mouseEvent(event);
}

void RotationTool::mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    if (event->button() != Qt::LeftButton)
        return;
    DrawTool::mouseReleaseEvent(event, scene);
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selectMode == Rotate && selected.size() == 1 && canRotate(selected.first())) {
        QGraphicsItem *item = selected.first();
        const double old = item->rotation();
        item->setRotation(rotationAt(item, event->scenePos()));
        emit scene->itemRotate(item, old);
    }
    selectMode = None;
    dragHandle = 0;
    m_hoverSizer = false;
    m_refused = false;
    m_startAngle = 0;
    ToolOutline::discard(&m_dashRect);
    scene->mouseEvent(event);
}
