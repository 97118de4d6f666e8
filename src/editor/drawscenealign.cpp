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

void DrawScene::alignItems(int code)
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

    switch (code) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        alignEdges(code, reference, shapes);
        break;
    case 7:
    case 8:
        distribute(code == 7, shapes);
        break;
    case 9:
    case 10:
    case 11:
        equaliseSize(code, reference, shapes);
        break;
    default:
        break;
    }
}

void DrawScene::alignEdges(int code, QGraphicsItem *reference, const QList<QGraphicsItem *> &shapes)
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
        switch (code) {
        case 0:
            target.setY(cyCut + (r.height() - refHeight) / 2);
            break;
        case 1:
            target.setY(cy);
            break;
        case 2:
            target.setX(cx);
            break;
        case 3:
            target.setY(cyCut - (r.height() - refHeight) / 2);
            break;
        case 4:
            target.setX(cxCut - (refWidth - r.width()) / 2);
            break;
        case 5:
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
        moveBy(record.item, delta);
        emit itemMoved(record.item, delta);
    }
}

void DrawScene::equaliseSize(int code, QGraphicsItem *reference,
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
        int handle = 0;
        QPointF scale;
        if (code == 9 && sx != 1) {
            handle = 4;
            scale = QPointF(sx, 1);
        } else if (code == 10 && sy != 1) {
            handle = 6;
            scale = QPointF(1, sy);
        } else if (code == 11 && (sx != 1 || sy != 1)) {
            handle = 5;
            scale = QPointF(sx, sy);
        }
        if (handle == 0)
            continue;
        // The handle opposite the dragged one stays put, so shapes grow to
        // the right and downward.
        const QPointF origin = shape->oppositeHandlePosition(handle);
        shape->scaleFromHandle(handle, scale.x(), scale.y(), origin);
        shape->normalizeGeometry();
        emit itemResize(shape, handle, scale);
    }
}
