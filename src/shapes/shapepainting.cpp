#include "shapepainting.h"

#include <QConicalGradient>
#include <QGraphicsItem>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QStyleOptionGraphicsItem>

QBrush ShapeBrushFactory(const QRectF &rect, int brushStyle, const QColor &lineColour,
                         const QColor &fillColour)
{
    const double x = rect.x();
    const double y = rect.y();
    const double w = rect.width();
    const double h = rect.height();
    const QColor &c1 = lineColour;
    const QColor &c2 = fillColour;

    if (brushStyle >= 0 && brushStyle <= 14)
        return QBrush(Qt::BrushStyle(brushStyle));

    if (brushStyle >= 15 && brushStyle <= 30) {
        const int n = brushStyle - 15;
        QPointF start(x, y);
        QPointF stop;
        switch (n) {
        case 0:
        case 2:
        case 4:
        case 6:
            stop = QPointF(x + w, y);
            break;
        case 1:
        case 3:
        case 5:
        case 7:
            stop = QPointF(x, y + h);
            break;
        default:
            if (n % 2 == 0) {
                stop = QPointF(x + w, y + h);
            } else {
                start = QPointF(x, y + h);
                stop = QPointF(x + w, y);
            }
            break;
        }
        // Patterns 1-8 come in pairs (horizontal, vertical); 9-16 alternate
        // between the two diagonals. Which colour leads and whether the
        // middle stop exists follows the same cycle of four pairs.
        const int pair = n < 8 ? n / 2 : (n - 8) / 2;
        const bool lineFirst = n < 8 ? (pair == 0 || pair == 1) : (pair == 0 || pair == 2);
        const bool middle = n < 8 ? (pair == 1 || pair == 3) : (pair == 2 || pair == 3);
        QLinearGradient gradient(start, stop);
        const QColor &a = lineFirst ? c1 : c2;
        const QColor &b = lineFirst ? c2 : c1;
        gradient.setColorAt(0, a);
        if (middle) {
            gradient.setColorAt(0.5, b);
            gradient.setColorAt(1, a);
        } else {
            gradient.setColorAt(1, b);
        }
        return QBrush(gradient);
    }

    const QPointF centre(x + w / 2, y + h / 2);
    if (brushStyle == 31 || brushStyle == 32) {
        QRadialGradient gradient(centre, qMax(w, h));
        gradient.setColorAt(0, brushStyle == 31 ? c1 : c2);
        gradient.setColorAt(1, brushStyle == 31 ? c2 : c1);
        return QBrush(gradient);
    }
    if (brushStyle == 33 || brushStyle == 34) {
        QConicalGradient gradient(centre, 0);
        gradient.setColorAt(0, brushStyle == 33 ? c1 : c2);
        gradient.setColorAt(1, brushStyle == 33 ? c2 : c1);
        return QBrush(gradient);
    }
    return QBrush(Qt::BrushStyle(brushStyle));
}

void drawSelectionOutline(QGraphicsItem *item, QPainter *painter,
                          const QStyleOptionGraphicsItem *option)
{
    const QRectF murect = painter->transform().mapRect(QRectF(0, 0, 1, 1));
    if (qMax(murect.width(), murect.height()) <= 1e-12)
        return;
    const QRectF mbrect = painter->transform().mapRect(item->boundingRect());
    if (qMin(mbrect.width(), mbrect.height()) < 1.0)
        return;

    const double pad = 0.5;
    const QColor fg = option->palette.windowText().color();
    const QColor contrast(fg.red() < 128 ? 255 : 0, fg.green() < 128 ? 255 : 0,
                          fg.blue() < 128 ? 255 : 0);
    const QRectF frame = item->boundingRect().adjusted(-pad, -pad, pad, pad);

    painter->save();
    painter->setPen(QPen(contrast, 0, Qt::SolidLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
    painter->setPen(QPen(QColor(QStringLiteral("lightskyblue")), 0, Qt::DashLine));
    painter->drawRect(frame);
    painter->restore();
}
