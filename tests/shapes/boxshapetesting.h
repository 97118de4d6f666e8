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

// Helpers shared by the box-shape tests: building a shape from its XML
// element name, writing and reading one element, and rendering a shape.
namespace boxtest {

// A shape of the class named by its element name, as the screen loader
// would build it; null for names this helper does not know.
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

// Reads the document's first element into a new shape created the way the
// screen loader does: a 1 x 1 box at the origin, widget kind from "type".
inline std::unique_ptr<GraphicsItem> readBack(const QByteArray &xml)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QXmlStreamReader reader(&buffer);
    if (!reader.readNextStartElement())
        return nullptr;
    const int kind = reader.attributes().value(QStringLiteral("type")).toInt();
    std::unique_ptr<GraphicsItem> shape(
        makeShape(reader.name().toString(), QRect(0, 0, 1, 1), kind));
    if (shape && !shape->readXml(&reader))
        return nullptr;
    return shape;
}

inline QXmlStreamAttributes attributesOf(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    return reader.attributes();
}

// Paints item alone on white, item coordinate (0, 0) at image (dx, dy).
inline QImage render(GraphicsItem *item, const QSize &size, double dx = 0, double dy = 0)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(dx, dy);
    QStyleOptionGraphicsItem option;
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
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isDark(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace boxtest
