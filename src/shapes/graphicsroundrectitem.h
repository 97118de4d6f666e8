#pragma once

#include "graphicsrectitem.h"

// A rectangle with rounded corners. The corner radii are kept as fractions
// of the box (0..0.5 of width and height), so they scale with every resize.
// Handle 9 sits on the right edge and sets the vertical radius, handle 10
// on the top edge and sets the horizontal one.
class GraphicsRoundrectItem : public GraphicsRectItem
{
    Q_OBJECT
    Q_PROPERTY(double radiusX READ radiusX WRITE setRadiusX)
    Q_PROPERTY(double radiusY READ radiusY WRITE setRadiusY)

public:
    // rect is in parent coordinates.
    explicit GraphicsRoundrectItem(const QRect &rect, QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    QGraphicsItem *clone() override;
    void updateHandles() override;

    // Radii in absolute units; writing clamps the ratio to [0, 0.5].
    qreal radiusX() const override;
    void setRadiusX(qreal radius) override;
    qreal radiusY() const override;
    void setRadiusY(qreal radius) override;

protected:
    // The box handles and the two radius handles.
    void createHandles() override;
};
