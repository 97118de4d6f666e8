#pragma once

#include "graphicsitem.h"

#include <QPainterPath>
#include <QPolygonF>

// A closed, filled shape drawn point by point, and the base of every
// point-list shape (polyline, Bezier curve, line). Each point owns a control
// handle whose direction is 9 + its index; the handles of box directions
// 1..8 resize all points together.
//
// Points are in item coordinates. The reference points are the points at
// the end of the last edit: resizing always scales them, so a drag can be
// recomputed from its start on every mouse move.
class GraphicsPolygonItem : public GraphicsItem
{
    Q_OBJECT
    Q_PROPERTY(int penSize READ penSize WRITE setPenSize)
    Q_PROPERTY(GraphicsItem::PenStyle penStyle READ penStyle WRITE setPenStyle)
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(GraphicsItem::BrushStyle brushStyle READ brushStyle WRITE setBrushStyle)
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)

public:
    explicit GraphicsPolygonItem(QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    QRectF boundingRect() const override;
    // The geometry stroked with the pen, so thin lines can still be hit.
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    // Adds a point (scene coordinates) with a visible handle; called by the
    // drawing tool for every click.
    virtual void appendPoint(const QPointF &scenePoint);
    // Ends the drawing. A last point that only repeats the one before it
    // (the second click of a double click, or the point the tool adds one
    // unit to the right and that was never dragged) is dropped with its
    // handle, unless that would leave fewer than two points. point is not
    // used.
    virtual void finishPoints(const QPointF &point);

    // Handle 9 + i moves point i to point (scene coordinates); handles below
    // 9 and handles without a point are ignored.
    void moveControlPoint(int handle, const QPointF &point) override;
    // origin is in item coordinates, as given by oppositeHandlePosition().
    void scaleFromHandle(int handle, double sx, double sy, const QPointF &origin) override;
    void normalizeGeometry() override;
    QVariantList geometryState() const override;
    void restoreGeometry(const QVariantList &state) override;
    void translateBy(const QPointF &delta) override;
    // A parentless copy of the same class with the same points and all
    // point handles of control kind; the caller owns it.
    QGraphicsItem *clone() override;
    void updateHandles() override;

    // Writes the registered attributes, the item position as "x"/"y" and one
    // "point" child per point. Reading replaces any points the shape had.
    bool readXml(QXmlStreamReader *reader) override;
    bool writeXml(QXmlStreamWriter *writer) override;

    QPolygonF points() const { return m_points; }
    QVector<QPair<QString, KeptContent>> keptParts() const override;
    QPolygonF referencePoints() const { return m_referencePoints; }
    // The unstroked geometry: what is drawn, in item coordinates.
    virtual QPainterPath geometryPath() const;

protected:
    // The box handles, then one control handle per point.
    void createHandles() override;
    void createPointHandles();
    // Kind of the handle created by appendPoint() for point index.
    virtual int pointHandleKind(int index) const;
    // Appends the point (item coordinates) and, once the shape has its
    // handles, the point's handle, hidden; null when there is none yet.
    SizeHandleRect *addPoint(const QPointF &itemPoint, int kind);
    // Local rectangle and size from the points' bounding rectangle, and a
    // gradient fill spread over it again.
    void updateLocalRect();
    // Copies points, handles and common attributes onto a fresh clone.
    void finishClone(GraphicsPolygonItem *copy) const;

    QPolygonF m_points;
    QPolygonF m_referencePoints;

private:
    // The attribute names a polygon's own element may hold.
    QStringList knownAttributeNames();

    // What each "point" element held besides x and y, by point; shorter
    // than m_points when the last points kept nothing. Points are only
    // ever added and taken off at the end, so an index stays its point.
    QVector<KeptContent> m_keptPoints;

    // The stroked outline is costly and asked for on every geometry change,
    // paint and hit test; it is kept until the points or the pen change.
    mutable QPolygonF m_shapePoints;
    mutable QPen m_shapePen;
    mutable QPainterPath m_shapeCache;
    mutable bool m_shapeValid = false;
};
