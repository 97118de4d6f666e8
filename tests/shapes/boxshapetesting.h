#pragma once

#include "document/drawmanager.h"
#include "shapes/graphicsbezier.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicslineitem.h"
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

// The shape the screen loader makes for the first element of xml, read from that
// element when read is set; null when the element names no shape.
inline std::unique_ptr<GraphicsItem> readBack(const QByteArray &xml, bool read = true)
{
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    std::unique_ptr<GraphicsItem> shape(
        dynamic_cast<GraphicsItem *>(DrawManager::instance()->createItemByName(&reader)));
    if (shape && read && !shape->readXml(&reader))
        return nullptr;
    return shape;
}

template<typename Shape>
inline QByteArray xmlOf(Shape *shape)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    shape->writeXml(&writer);
    return buffer.data();
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

} // namespace boxtest
