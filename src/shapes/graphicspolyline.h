#pragma once

#include "graphicspolygonitem.h"

// An open line through the points, without fill. With the curve flag set
// (Bezier curves) the points are joined by curves instead: see
// geometryPath().
class GraphicsPolyline : public GraphicsPolygonItem
{
    Q_OBJECT

public:
    explicit GraphicsPolyline(QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QGraphicsItem *clone() override;

    // Straight segments, or with the curve flag: one quadratic curve for
    // three points; otherwise cubic curves on points k, k + 1, k + 2 for
    // k = 1, 4, 7, ... while point k + 2 exists, then straight segments to
    // the rest. Fewer than three points are always joined straight.
    QPainterPath geometryPath() const override;

protected:
    bool m_curve = false;
};
