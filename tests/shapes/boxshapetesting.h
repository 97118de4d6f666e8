#pragma once

#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicstextitem.h"
#include "shapes/graphicswidgetitem.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <memory>

namespace boxtest {

// A shape built from its element name as the screen loader would; null if unknown.
inline GraphicsItem *makeShape(const QString &name, const QRect &rect, int widgetKind = 0)
{
    if (name == QLatin1String("roundrect"))
        return new GraphicsRoundrectItem(rect);
    if (name == QLatin1String("ellipse"))
        return new GraphicsEllipseItem(rect);
    if (name == QLatin1String("textitem"))
        return new GraphicsTextItem(rect);
    if (name == QLatin1String("imageitem"))
        return new GraphicsImageItem(rect);
    if (name == QLatin1String("widget"))
        return new GraphicsWidgetItem(widgetKind, rect);
    return nullptr;
}

inline QByteArray xmlOf(GraphicsItem *shape)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.writeStartDocument();
    shape->writeXml(&writer);
    writer.writeEndDocument();
    return buffer.data();
}

// Reads the first element into a 1 x 1 shape at the origin, as the loader does.
inline std::unique_ptr<GraphicsItem> readBack(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement())
        return nullptr;
    const int kind = reader.attributes().value(QStringLiteral("type")).toInt();
    std::unique_ptr<GraphicsItem> shape(
        makeShape(reader.name().toString(), QRect(0, 0, 1, 1), kind));
    if (shape && !shape->readXml(&reader))
        return nullptr;
    return shape;
}

// Paints item alone on white, item coordinate (0, 0) at image (dx, dy).
inline QImage render(GraphicsItem *item, const QSize &size, double dx = 0, double dy = 0,
                     bool selected = false)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(dx, dy);
    QStyleOptionGraphicsItem option;
    if (selected)
        option.state |= QStyle::State_Selected;
    item->paint(&painter, &option, nullptr);
    return image;
}

inline bool isDark(QRgb pixel)
{
    return qRed(pixel) < 96 && qGreen(pixel) < 96 && qBlue(pixel) < 96;
}

// The smallest rectangle holding every dark pixel; empty when there is none.
inline QRect darkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isDark(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace boxtest
