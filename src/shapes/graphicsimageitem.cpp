#include "graphicsimageitem.h"

#include "shapeattributes.h"
#include "shapeelement.h"
#include "shapepainting.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

GraphicsImageItem::GraphicsImageItem(const QRect &rect, QGraphicsItem *parent)
    : GraphicsRectItem(rect, parent)
{ }

QString GraphicsImageItem::typeName() const
{
    return tr("imageitem");
}

QString GraphicsImageItem::elementName() const
{
    return shapeElementName(ShapeElement::Image);
}

void GraphicsImageItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget)
    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

QGraphicsItem *GraphicsImageItem::clone()
{
    auto *copy = new GraphicsImageItem(m_localRect.toRect(), nullptr);
    finishClone(copy);
    return copy;
}

QStringList GraphicsImageItem::storedProperties()
{
    // The same as a rectangle's basic group; "pos" last, after the size it
    // depends on.
    return {QStringLiteral("objectName"), QStringLiteral("opacity"),  QStringLiteral("zValue"),
            QStringLiteral("fixe"),       QStringLiteral("rotation"), QStringLiteral("width"),
            QStringLiteral("height"),     QStringLiteral("pos")};
}

bool GraphicsImageItem::readXml(QXmlStreamReader *reader)
{
    // Elements from files without these attributes keep the factory's box.
    const QXmlStreamAttributes attributes = reader->attributes();
    QStringList present;
    for (const QString &name : storedProperties()) {
        if (attributes.hasAttribute(name))
            present << name;
    }
    readShapeAttributes(reader, this, present);
    m_keptContent = KeptContent();
    m_keptContent.keepAttributes(*reader, storedProperties());
    readChildElements(reader);
    normalizeGeometry();
    return true;
}

bool GraphicsImageItem::writeXml(QXmlStreamWriter *writer)
{
    writer->writeStartElement(elementName());
    writeShapeAttributes(writer, this, storedProperties());
    m_keptContent.writeAttributes(writer);
    writeBindings(writer);
    m_keptContent.writeElementsFrom(writer, 0);
    writer->writeEndElement();
    return true;
}
