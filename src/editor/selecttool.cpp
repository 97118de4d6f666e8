#include "selecttool.h"

#include "drawscene.h"
#include "drawview.h"
#include "editableshape.h"
#include "gridsnap.h"
#include "shapes/shapekind.h"
#include "tooloutline.h"

#include <QGraphicsSceneMouseEvent>

#include <cmath>

namespace {

// The items of a batch that may move: fixed shapes (and groups not yet made
// movable) stay where they are.
QList<QGraphicsItem *> movableOf(const QList<QGraphicsItem *> &items)
{
    QList<QGraphicsItem *> result;
    for (QGraphicsItem *item : items) {
        if (item->flags() & QGraphicsItem::ItemIsMovable)
            result.append(item);
    }
    return result;
}

// A drag past the fixed point carries the dragged handle to the other side
// of it: the fixed point then lies opposite the handle mirrored across each
// axis that turned over. 0 when nothing turned over.
int handleAfterFlip(int handle, const QPointF &factors)
{
    if (!SizeHandleRect::isBoxDirection(handle))
        return SizeHandleRect::NoHandle;
    static const int acrossX[] = {0, 3, 2, 1, 8, 7, 6, 5, 4};
    static const int acrossY[] = {0, 7, 6, 5, 4, 3, 2, 1, 8};
    // Side handles scale one axis only; the other factor means nothing.
    const bool scalesX = handle != SizeHandleRect::Top && handle != SizeHandleRect::Bottom;
    const bool scalesY = handle != SizeHandleRect::Right && handle != SizeHandleRect::Left;
    int result = handle;
    if (scalesX && factors.x() < 0)
        result = acrossX[result];
    if (scalesY && factors.y() < 0)
        result = acrossY[result];
    return result == handle ? 0 : result;
}

} // namespace

SelectTool::SelectTool()
    : DrawTool(SelectKind)
{ }

SelectTool::~SelectTool()
{
    ToolOutline::discard(&m_dashRect);
}

QGraphicsPathItem *SelectTool::dashRect() const
{
    return m_dashRect;
}

void SelectTool::clearOpposite()
{
    m_opposite = QPointF();
    m_haveHandleStart = false;
    // A refusal left from a drag whose release never came must not stop
    // the new shape from being drawn.
    m_refused = false;
}

QPointF SelectTool::oppositeOf(const EditableShape &shape, int dir)
{
    QPointF o = shape.oppositeHandlePosition(dir);
    if (o.x() == 0)
        o.setX(1);
    if (o.y() == 0)
        o.setY(1);
    return o;
}

QPointF SelectTool::scaleFactors(const QGraphicsItem *target) const
{
    const QPointF d = target->mapFromScene(downPos);
    const QPointF c = target->mapFromScene(lastPos);
    const QPointF &o = m_opposite;
    return QPointF((c.x() - o.x()) / (d.x() - o.x()), (c.y() - o.y()) / (d.y() - o.y()));
}

void SelectTool::startMoveOutline(DrawScene *scene, const QList<QGraphicsItem *> &selected)
{
    ToolOutline::discard(&m_dashRect);
    if (selected.isEmpty())
        return;
    if (selected.size() == 1) {
        ToolOutline::copyOf(selected.first(), &m_dashRect);
        m_initialPosition = selected.first()->pos();
    } else {
        QRectF united;
        for (const QGraphicsItem *item : selected)
            united |= item->mapRectToScene(item->boundingRect());
        QPainterPath path;
        path.addRect(
            QRectF(-united.width() / 2, -united.height() / 2, united.width(), united.height()));
        new ToolOutline(path, &m_dashRect);
        m_dashRect->setPos(united.center());
        m_initialPosition = united.center();
    }
    QRectF box;
    for (const QGraphicsItem *item : selected)
        box |= item->mapRectToScene(item->boundingRect());
    m_moveCorner = box.topLeft();
    scene->addItem(m_dashRect);
}

void SelectTool::snapResize(const EditableShape &target)
{
    const QGraphicsItem *item = target.item();
    if (!m_haveHandleStart) {
        m_handleStart = target.handlePosition(dragHandle);
        m_haveHandleStart = true;
    }
    // The handle would follow the mouse from where it was grabbed; the grid
    // point nearest to that is where it should go. The resize scales the
    // handle's offset from the fixed point by the factors scaleFactors()
    // takes from the mouse, so the mouse position giving those factors is
    // worked out backwards. An axis the handle does not scale is left alone.
    const QPointF carried = item->mapToScene(m_handleStart) + (lastPos - downPos);
    const QPointF aim = item->mapFromScene(GridSnap::point(carried));
    const QPointF d = item->mapFromScene(downPos);
    QPointF c = item->mapFromScene(lastPos);
    const QPointF &o = m_opposite;
    const QPointF h = m_handleStart;
    const bool scalesX = dragHandle != SizeHandleRect::Top && dragHandle != SizeHandleRect::Bottom;
    const bool scalesY = dragHandle != SizeHandleRect::Left && dragHandle != SizeHandleRect::Right;
    if (scalesX && std::abs(h.x() - o.x()) > 1e-9)
        c.setX(o.x() + (aim.x() - o.x()) / (h.x() - o.x()) * (d.x() - o.x()));
    if (scalesY && std::abs(h.y() - o.y()) > 1e-9)
        c.setY(o.y() + (aim.y() - o.y()) / (h.y() - o.y()) * (d.y() - o.y()));
    lastPos = item->mapToScene(c);
}

void SelectTool::snapMove()
{
    const QPointF corner = m_moveCorner + (lastPos - downPos);
    lastPos += GridSnap::point(corner) - corner;
}

void SelectTool::mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    if (event->button() != Qt::LeftButton)
        return;
    DrawTool::mousePressEvent(event, scene);
    if (!m_hoverSizer)
        scene->mouseEvent(event);

    dragHandle = 0;
    selectMode = None;
    m_refused = false;
    m_refusalShown = false;
    m_haveHandleStart = false;
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.isEmpty()) {
        selectMode = NetSelect;
        if (DrawView *view = scene->view())
            view->setDragMode(QGraphicsView::RubberBandDrag);
    } else {
        const EditableShape target(selected.first());
        const SizeHandleRect *handle = target.handleAt(event->scenePos());
        const int dir = handle ? handle->dir() : int(SizeHandleRect::NoHandle);
        if (DrawScene::shapesLocked()) {
            // Selecting is still allowed; whatever the drag would do is not.
            m_refused = !movableOf(selected).isEmpty();
        } else if (SizeHandleRect::isBoxDirection(dir)) {
            dragHandle = dir;
            selectMode = Size;
            m_opposite = oppositeOf(target, dir);
            m_handleStart = handle->pos();
            m_haveHandleStart = true;
        } else if (dir >= SizeHandleRect::FirstControl) {
            dragHandle = dir;
            selectMode = Editor;
            // Where the point was, not where the press landed on its handle:
            // undo puts it back there.
            m_controlStart = target.item()->mapToScene(handle->pos());
        } else {
            selectMode = Move;
            // The outline stands for what will move, so it leaves the fixed
            // shapes out; with nothing movable it shows the selection where
            // it stays.
            const QList<QGraphicsItem *> movable = movableOf(selected);
            startMoveOutline(scene, movable.isEmpty() ? selected : movable);
        }
    }
    setViewCursor(scene, selectMode, dragHandle);
}

void SelectTool::mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    DrawTool::mouseMoveEvent(event, scene);
    if (m_refused) {
        // Not even the toolkit's own dragging may take the shapes along.
        if (!m_refusalShown && !samePoint(lastPos, downPos)) {
            m_refusalShown = true;
            scene->reportLocked();
        }
        return;
    }
    // Dragging a handle needs the button held. Without it the mode is left
    // over from another tool's unfinished gesture (a tool chosen while a
    // polygon was half drawn), and taking it up would reshape the selection.
    if (!(event->buttons() & Qt::LeftButton) && (selectMode == Size || selectMode == Editor)) {
        selectMode = None;
        dragHandle = 0;
    }
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    EditableShape target(selected.value(0));
    const bool movable = target.item() && !target.fixe();

    const bool snap = GridSnap::active(event->modifiers());
    if (movable && selected.size() == 1) {
        if (dragHandle == 0) {
            const int dir = target.handleDirAt(lastPos);
            m_hoverSizer = dir != 0;
            // Locked shapes do not offer their handles for a drag.
            if (!continuousInsert)
                setViewCursor(scene, selectMode, DrawScene::shapesLocked() ? 0 : dir);
        } else if (selectMode == Size) {
            if (m_opposite.isNull())
                m_opposite = oppositeOf(target, dragHandle);
            if (snap)
                snapResize(target);
            const QPointF f = scaleFactors(target.item());
            target.scaleFromHandle(dragHandle, f.x(), f.y(), m_opposite);
        } else if (selectMode == Editor) {
            if (snap)
                lastPos = GridSnap::point(lastPos);
            target.moveControlPoint(dragHandle, lastPos);
        }
    }

    if (selectMode == Move) {
        if (movableOf(selected).isEmpty())
            return;
        setViewCursor(scene, selectMode, dragHandle);
        if (snap)
            snapMove();
        if (m_dashRect) {
            // The outline stops at the screen edges as the shapes will (the
            // right and bottom rules win over the left and top ones), and
            // lastPos is held back with it, so the drop distance is the
            // clamped one.
            const QPointF p = m_initialPosition + (lastPos - downPos);
            const QRectF r = m_dashRect->boundingRect();
            const QRectF box(p.x() - r.width() / 2, p.y() - r.height() / 2, r.width(), r.height());
            lastPos += screenClampShift(box, scene->sceneRect());
            m_dashRect->setPos(m_initialPosition + (lastPos - downPos));
        }
    } else if (selectMode == None || selectMode == NetSelect) {
        scene->mouseEvent(event);
    }
}

void SelectTool::mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    if (event->button() != Qt::LeftButton)
        return;
    DrawTool::mouseReleaseEvent(event, scene);

    const QList<QGraphicsItem *> selected = scene->selectedItems();
    const bool moved = !m_refused && !samePoint(lastPos, downPos);
    const QPointF delta = lastPos - downPos;
    if (selected.size() == 1 && moved) {
        QGraphicsItem *item = selected.first();
        EditableShape target(item);
        if (!target.fixe()) {
            if (selectMode == Move) {
                item->setPos(item->pos() + delta);
                emit scene->itemMoved(item, delta);
            } else {
                // Taken before re-centring, which changes the item's
                // coordinates.
                QPointF factors;
                QPointF fixedPoint;
                if (selectMode == Size) {
                    if (m_opposite.isNull())
                        m_opposite = oppositeOf(target, dragHandle);
                    factors = scaleFactors(item);
                    fixedPoint = item->mapToScene(m_opposite);
                }
                target.normalizeGeometry();
                if (!m_suppressSignals) {
                    if (selectMode == Size)
                        emit scene->itemResize(item, dragHandle, factors,
                                               handleAfterFlip(dragHandle, factors), fixedPoint);
                    else if (selectMode == Editor)
                        emit scene->itemControl(item, dragHandle, lastPos, m_controlStart);
                }
            }
        }
    } else if (selected.size() > 1 && selectMode == Move && moved) {
        const QList<QGraphicsItem *> movable = movableOf(selected);
        for (QGraphicsItem *item : movable)
            item->setPos(item->pos() + delta);
        if (!movable.isEmpty())
            emit scene->itemMoved(nullptr, delta);
    }

    if (selectMode == NetSelect) {
        if (DrawView *view = scene->view())
            view->setDragMode(QGraphicsView::NoDrag);
    }
    ToolOutline::discard(&m_dashRect);

    selectMode = None;
    dragHandle = 0;
    m_opposite = QPointF();
    m_haveHandleStart = false;
    m_hoverSizer = false;
    m_refused = false;
    scene->mouseEvent(event);
}

void SelectTool::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    emit scene->itemDoubleClicked();
}
