#pragma once

#include "shapes/graphicsrectitem.h"

// A placeholder box for a picture. It holds no picture and no registered
// properties: on screen it is an invisible box that can be selected, moved
// and resized, and its XML element carries no attributes.
class GraphicsImageItem : public GraphicsRectItem
{
    Q_OBJECT

public:
    // rect is in parent coordinates.
    explicit GraphicsImageItem(const QRect &rect, QGraphicsItem *parent = nullptr);

    QString typeName() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QGraphicsItem *clone() override;
};
