#pragma once

#include "graphicspolyline.h"

// A curve through control points: a polyline with the curve flag set.
class GraphicsBezier : public GraphicsPolyline
{
    Q_OBJECT

public:
    explicit GraphicsBezier(QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    QGraphicsItem *clone() override;
};
