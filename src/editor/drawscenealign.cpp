// The alignment, distribution and equal-size operations of DrawScene, run
// by the Format menu's align commands.

#include "drawscene.h"

#include <QGraphicsItem>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

bool isInsideGroup(const QGraphicsItem *item)
{
    return dynamic_cast<QGraphicsItemGroup *>(item->parentItem()) != nullptr;
}

QRectF sceneBox(const QGraphicsItem *item)
{
    return item->mapRectToScene(item->boundingRect());
}

void moveBy(QGraphicsItem *item, const QPointF &delta)
{
    item->setPos(item->pos() + delta);
}

} // namespace

void DrawScene::alignItems(Alignment how)
{
    const QList<QGraphicsItem *> selected = selectedItems();
    if (selected.isEmpty())
        return;
    QGraphicsItem *reference = selected.first();
    QList<QGraphicsItem *> shapes;
    for (QGraphicsItem *item : selected) {
        if (!isInsideGroup(item))
            shapes.append(item);
    }

    switch (how) {
    case AlignTop:
    case AlignHCenter:
    case AlignVCenter:
    case AlignBottom:
    case AlignLeft:
    case AlignRight:
        alignEdges(how, reference, shapes);
        break;
    case DistributeHorizontally:
    case DistributeVertically:
        distribute(how == DistributeHorizontally, shapes);
        break;
    case SameWidth:
    case SameHeight:
    case SameSize:
        equaliseSize(how, reference, shapes);
        break;
    }
}

void DrawScene::alignEdges(Alignment how, QGraphicsItem *reference,
                           const QList<QGraphicsItem *> &shapes)
{
    const QRectF ref = sceneBox(reference);
    const double refWidth = ref.width();
    const double refHeight = ref.height();
    const double cx = ref.x() + refWidth / 2;
    const double cy = ref.y() + refHeight / 2;
    // Edges align to the reference centre cut to whole units.
    const double cxCut = std::trunc(cx);
    const double cyCut = std::trunc(cy);

    for (QGraphicsItem *item : shapes) {
        const QRectF r = sceneBox(item);
        const QPointF centre(r.x() + r.width() / 2, r.y() + r.height() / 2);
        QPointF target = centre;
        switch (how) {
        case AlignTop:
            target.setY(cyCut + (r.height() - refHeight) / 2);
            break;
        case AlignHCenter:
            target.setY(cy);
            break;
        case AlignVCenter:
            target.setX(cx);
            break;
        case AlignBottom:
            target.setY(cyCut - (r.height() - refHeight) / 2);
            break;
        case AlignLeft:
            target.setX(cxCut - (refWidth - r.width()) / 2);
            break;
        case AlignRight:
            target.setX(cxCut + (refWidth - r.width()) / 2);
            break;
        default:
            break;
        }
        const QPointF delta = target - centre;
        if (!delta.isNull()) {
            moveBy(item, delta);
            emit itemMoved(item, delta);
        }
    }
}

void DrawScene::distribute(bool horizontal, const QList<QGraphicsItem *> &shapes)
{
    if (shapes.size() < 2)
        return;
    struct Record
    {
        QGraphicsItem *item;
        double start;
        double size;
        double centre;
    };
    QVector<Record> records;
    for (QGraphicsItem *item : shapes) {
        const QRectF r = sceneBox(item);
        const double start = horizontal ? r.x() : r.y();
        const double size = horizontal ? r.width() : r.height();
        records.append({item, start, size, start + size / 2});
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Record &a, const Record &b) { return a.centre < b.centre; });

    double sizes = 0;
    for (const Record &record : qAsConst(records))
        sizes += record.size;
    const Record &last = records.last();
    const double gap
        = (last.start + last.size - records.first().start - sizes) / (records.size() - 1);

    double start = records.first().start;
    for (int i = 0; i < records.size(); ++i) {
        const Record &record = records.at(i);
        if (i > 0)
            start += records.at(i - 1).size + gap;
        const double shift = start - record.start;
        const QPointF delta = horizontal ? QPointF(shift, 0) : QPointF(0, shift);
        // The outer shapes stay where they are, and would make empty undo steps.
        if (delta.isNull())
            continue;
        moveBy(record.item, delta);
        emit itemMoved(record.item, delta);
    }
}

void DrawScene::equaliseSize(Alignment how, QGraphicsItem *reference,
                             const QList<QGraphicsItem *> &shapes)
{
    // Only single shapes have a size to compare; zero sizes would give
    // infinite factors.
    const auto *ref = dynamic_cast<GraphicsItem *>(reference);
    if (!ref || ref->width() == 0 || ref->height() == 0)
        return;

    for (QGraphicsItem *item : shapes) {
        auto *shape = dynamic_cast<GraphicsItem *>(item);
        if (!shape || shape->width() == 0 || shape->height() == 0)
            continue;
        const double sx = ref->width() / shape->width();
        const double sy = ref->height() / shape->height();
        int handle = SizeHandleRect::NoHandle;
        QPointF scale;
        if (how == SameWidth && sx != 1) {
            handle = SizeHandleRect::Right;
            scale = QPointF(sx, 1);
        } else if (how == SameHeight && sy != 1) {
            handle = SizeHandleRect::Bottom;
            scale = QPointF(1, sy);
        } else if (how == SameSize && (sx != 1 || sy != 1)) {
            handle = SizeHandleRect::BottomRight;
            scale = QPointF(sx, sy);
        }
        if (handle == SizeHandleRect::NoHandle)
            continue;
        // The handle opposite the dragged one stays put, so shapes grow to
        // the right and downward. Undo scales back about the same scene
        // point: the box handles of a point-list shape lie on its stroke,
        // which does not scale, so after the resize no handle marks it.
        const QPointF origin = shape->oppositeHandlePosition(handle);
        const QPointF fixedPoint = shape->mapToScene(origin);
        shape->scaleFromHandle(handle, scale.x(), scale.y(), origin);
        shape->normalizeGeometry();
        emit itemResize(shape, handle, scale, 0, fixedPoint);
    }
}
