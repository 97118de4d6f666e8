#pragma once

#include "graphicsrectitem.h"

// An ellipse, or the part of it between two angles drawn as a pie, an arc
// or a chord. The angles are in degrees, counter-clockwise on screen from
// the positive x axis; the drawn part runs from the smaller to the larger
// one, so the second angle is a boundary, not a length. Handles 9 and 10
// sit on the outline at the two angles.
class GraphicsEllipseItem : public GraphicsRectItem
{
    Q_OBJECT
    Q_PROPERTY(int startAngle READ startAngle WRITE setStartAngle)
    Q_PROPERTY(int spanAngle READ spanAngle WRITE setSpanAngle)
    Q_PROPERTY(GraphicsItem::EllispseType eshape READ eshape WRITE setEshape)

public:
    // rect is in parent coordinates.
    explicit GraphicsEllipseItem(const QRect &rect, QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    void moveControlPoint(int handle, const QPointF &point) override;
    QGraphicsItem *clone() override;
    void updateHandles() override;

    int startAngle() const override { return m_startAngle; }
    void setStartAngle(int angle) override;
    int spanAngle() const override { return m_spanAngle; }
    void setSpanAngle(int angle) override;
    EllispseType eshape() const override { return m_kind; }
    void setEshape(EllispseType kind) override;

protected:
    // The box handles and the two angle handles (9 start, 10 end).
    void createHandles() override;

private:
    int m_startAngle = 0;
    int m_spanAngle = 360;
    EllispseType m_kind = Pie;
};
