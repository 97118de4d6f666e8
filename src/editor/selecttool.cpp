#include "selecttool.h"

#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/editableshape.h"
#include "editor/tooloutline.h"
#include "shapes/shapekind.h"

#include <QGraphicsSceneMouseEvent>

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
    scene->addItem(m_dashRect);
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
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.isEmpty()) {
        selectMode = NetSelect;
        if (DrawView *view = scene->view())
            view->setDragMode(QGraphicsView::RubberBandDrag);
    } else {
        const EditableShape target(selected.first());
        const SizeHandleRect *handle = target.handleAt(event->scenePos());
        const int dir = handle ? handle->dir() : int(SizeHandleRect::NoHandle);
        if (SizeHandleRect::isBoxDirection(dir)) {
            dragHandle = dir;
            selectMode = Size;
            m_opposite = oppositeOf(target, dir);
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

    if (movable && selected.size() == 1) {
        if (dragHandle == 0) {
            const int dir = target.handleDirAt(lastPos);
            m_hoverSizer = dir != 0;
            if (!continuousInsert)
                setViewCursor(scene, selectMode, dir);
        } else if (selectMode == Size) {
            if (m_opposite.isNull())
                m_opposite = oppositeOf(target, dragHandle);
            const QPointF f = scaleFactors(target.item());
            target.scaleFromHandle(dragHandle, f.x(), f.y(), m_opposite);
        } else if (selectMode == Editor) {
            target.moveControlPoint(dragHandle, lastPos);
        }
    }

    if (selectMode == Move) {
        if (movableOf(selected).isEmpty())
            return;
        setViewCursor(scene, selectMode, dragHandle);
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
    const bool moved = !samePoint(lastPos, downPos);
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
    m_hoverSizer = false;
    scene->mouseEvent(event);
}

void SelectTool::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    emit scene->itemDoubleClicked();
}
