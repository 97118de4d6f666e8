#pragma once

#include <QBrush>
#include <QColor>
#include <QRectF>

class QGraphicsItem;
class QPainter;
class QStyleOptionGraphicsItem;

// The fill of a shape or screen: styles 0..14 are Qt's brush patterns,
// 15..30 linear, 31..32 radial and 33..34 conical gradients running between
// the line colour and the fill colour over rect. The returned brush's colour
// is not set; callers set the fill colour afterwards.
QBrush ShapeBrushFactory(const QRectF &rect, int brushStyle, const QColor &lineColour,
                         const QColor &fillColour);

// Draws the dashed selection frame around item's bounding rectangle.
void drawSelectionOutline(QGraphicsItem *item, QPainter *painter,
                          const QStyleOptionGraphicsItem *option);
