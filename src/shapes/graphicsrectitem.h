#pragma once

#include "graphicsitem.h"

// A rectangle, and the geometry every box-shaped shape shares: a local
// rectangle, resizing by scale from a reference rectangle, and re-centring.
class GraphicsRectItem : public GraphicsItem
{
    Q_OBJECT
    Q_PROPERTY(int penSize READ penSize WRITE setPenSize)
    Q_PROPERTY(GraphicsItem::PenStyle penStyle READ penStyle WRITE setPenStyle)
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(GraphicsItem::BrushStyle brushStyle READ brushStyle WRITE setBrushStyle)
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)

public:
    // rect is in parent coordinates.
    explicit GraphicsRectItem(const QRect &rect, QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    void moveControlPoint(int handle, const QPointF &point) override;
    void scaleFromHandle(int handle, double sx, double sy, const QPointF &origin) override;
    void normalizeGeometry() override;
    QVariantList geometryState() const override;
    void restoreGeometry(const QVariantList &state) override;
    void translateBy(const QPointF &delta) override;
    QGraphicsItem *clone() override;
    void updateHandles() override;

    double radiusRatioX() const { return m_ratioX; }
    double radiusRatioY() const { return m_ratioY; }

protected:
    // Sets the local and reference rectangles and the size from rect.
    void setRectGeometry(const QRectF &rect);
    // Copies the box geometry and common attributes onto a fresh clone and
    // re-centres it.
    void finishClone(GraphicsRectItem *copy) const;
    // Corner radii in absolute units for the rounded-corner outline.
    QPointF cornerRadii() const;

    bool m_roundCorners = false;
    double m_ratioX = 0.1;
    double m_ratioY = 1.0 / 3.0;
    QRectF m_referenceRect;
    QPointF m_fixedPoint;
};
