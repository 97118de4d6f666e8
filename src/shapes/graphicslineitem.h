#pragma once

#include "graphicspolygonitem.h"

// A straight segment between its first two points. It has no box handles:
// its handles are those of its points, directions 9 and 10 at vector
// indices 0 and 1, and it is changed only by dragging them.
class GraphicsLineItem : public GraphicsPolygonItem
{
    Q_OBJECT

public:
    explicit GraphicsLineItem(QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QGraphicsItem *clone() override;

    // The highest direction in use (10 for a complete line), since the
    // tool picks the handle of the newest point by it.
    int handleCount() const override { return handles().size() + 8; }
    // The second end for directions 1, 2, 3, 4 and 8, the first end for 5,
    // 6 and 7, (0, 0) otherwise or when that end does not exist.
    QPointF oppositeHandlePosition(int dir) const override;
    // The segment from point 0 to point 1; empty with fewer than two points.
    QPainterPath geometryPath() const override;

protected:
    void createHandles() override;
    int pointHandleKind(int index) const override;
};
