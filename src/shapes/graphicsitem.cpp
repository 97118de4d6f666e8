#include "graphicsitem.h"

#include "graphicsitemgroup.h"
#include "model/propertyregistry.h"
#include "shapeattributes.h"
#include "shapepainting.h"

#include <QGraphicsItemGroup>
#include <QGraphicsScene>
#include <QRandomGenerator>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

QRandomGenerator &shapeRandom()
{
    static QRandomGenerator generator(QRandomGenerator::global()->generate());
    return generator;
}

} // namespace

GraphicsItem::GraphicsItem(QGraphicsItem *parent)
    : AbstractShapeType<QGraphicsItem>(parent)
{
    m_pen = QPen(QBrush(Qt::black), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    QRandomGenerator &random = shapeRandom();
    const int r = int(random.generate() % 32) * 8;
    const int g = int(random.generate() % 32) * 8;
    const int b = int(random.generate() % 32) * 8;
    m_brush = QBrush(QColor(r, g, b, 255), Qt::SolidPattern);
    m_brushStyle = SolidPattern;

    // One call: each flag change is a round through itemChange(), and a
    // load makes tens of thousands of shapes.
    setFlags(flags() | QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable
             | QGraphicsItem::ItemSendsGeometryChanges);
    setAcceptHoverEvents(true);
}

void GraphicsItem::seedRandom(quint32 seed)
{
    shapeRandom().seed(seed);
}

bool &GraphicsItem::screenClampEnabled()
{
    static bool enabled = true;
    return enabled;
}

QPointF GraphicsItem::boxPos() const
{
    return pos() - QPointF(m_width / 2, m_height / 2);
}

void GraphicsItem::setBoxPos(const QPointF &topLeft)
{
    setPos(topLeft + QPointF(m_width / 2, m_height / 2));
}

void GraphicsItem::setWidth(double width)
{
    m_width = width;
    normalizeGeometry();
}

void GraphicsItem::setHeight(double height)
{
    m_height = height;
    normalizeGeometry();
}

void GraphicsItem::setShapeOpacity(double opacity)
{
    setOpacity(opacity <= 0 ? 0.01 : opacity);
}

void GraphicsItem::setPenSize(int size)
{
    m_pen.setWidth(qBound(0, size, MaxPenSize));
    update();
}

void GraphicsItem::setPenStyle(PenStyle style)
{
    m_pen.setStyle(Qt::PenStyle(style));
    update();
}

void GraphicsItem::setPenColor(const QColor &colour)
{
    m_pen.setColor(colour);
    applyBrushStyle();
}

void GraphicsItem::setBrushStyle(BrushStyle style)
{
    m_brushStyle = style;
    applyBrushStyle();
}

void GraphicsItem::setBrushColor(const QColor &colour)
{
    m_brush.setColor(colour);
    applyBrushStyle();
}

void GraphicsItem::applyBrushStyle()
{
    const QColor fill = m_brush.color();
    m_brush = ShapeBrushFactory(m_localRect, m_brushStyle, m_pen.color(), fill);
    m_brush.setColor(fill);
    update();
}

void GraphicsItem::updateHandles()
{
    // Handles not made yet are placed when they are.
    if (m_handles.isEmpty())
        return;
    placeBoxHandles(boundingRect());
}

QVariant GraphicsItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged) {
        if (dynamic_cast<QGraphicsItemGroup *>(parentItem())) {
            // Members of a group are selected only through their group.
            if (value.toBool())
                setSelected(false);
        } else {
            setHandlesState(value.toBool() ? SizeHandleRect::Shown : SizeHandleRect::Hidden);
        }
    } else if (change == ItemPositionChange && scene() && screenClampEnabled()) {
        const QPointF p = value.toPointF();
        const QRectF r = boundingRect();
        const QRectF box(p.x() - r.width() / 2, p.y() - r.height() / 2, r.width(), r.height());
        return p + screenClampShift(box, scene()->sceneRect());
    }
    return QGraphicsItem::itemChange(change, value);
}

void GraphicsItem::copyCommonAttributes(GraphicsItem *copy) const
{
    copy->m_width = m_width;
    copy->m_height = m_height;
    copy->setPos(pos());
    copy->m_pen = m_pen;
    copy->m_brush = m_brush;
    copy->m_brushStyle = m_brushStyle;
    copy->setTransform(transform());
    copy->setTransformOriginPoint(transformOriginPoint());
    copy->setRotation(rotation());
    copy->setScale(scale());
    copy->setZValue(zValue() + 0.1);
    copy->setOpacity(opacity());
    copy->setFixe(fixe());
    copy->m_bindings = m_bindings;
    copy->m_keptContent = m_keptContent;
    copy->updateHandles();
}

bool GraphicsItem::readXml(QXmlStreamReader *reader)
{
    readShapeAttributes(reader, this);
    m_keptContent = KeptContent();
    m_keptContent.keepAttributes(*reader, fileAttributeNames());
    readChildElements(reader);
    normalizeGeometry();
    return true;
}

bool GraphicsItem::writeXml(QXmlStreamWriter *writer)
{
    writer->writeStartElement(elementName());
    writeShapeAttributes(writer, this);
    m_keptContent.writeAttributes(writer);
    writeBindings(writer);
    m_keptContent.writeElementsFrom(writer, 0);
    writer->writeEndElement();
    return true;
}

void GraphicsItem::readChildElements(QXmlStreamReader *reader)
{
    m_bindings.clear();
    while (reader->readNextStartElement()) {
        if (!Binding::readInto(reader, &m_bindings, KeptContent::defaultLevels()))
            m_keptContent.keepElement(reader, 0, KeptContent::defaultLevels());
    }
}

void GraphicsItem::writeBindings(QXmlStreamWriter *writer) const
{
    Binding::writeList(writer, m_bindings);
}

QVector<QPair<QString, KeptContent>> GraphicsItem::keptParts() const
{
    // Asked of every shape after each load; nearly all keep nothing.
    if (m_keptContent.isEmpty() && m_bindings.isEmpty())
        return {};
    QVector<QPair<QString, KeptContent>> parts;
    if (!m_keptContent.isEmpty())
        parts.append({elementName(), m_keptContent});
    for (const Binding &binding : m_bindings)
        parts += binding.keptParts();
    return parts;
}

QStringList GraphicsItem::fileAttributeNames()
{
    return propertyNamesOf(this);
}

QPointF screenClampShift(const QRectF &box, const QRectF &screen)
{
    if (screen.contains(box))
        return QPointF();
    double dx = 0;
    double dy = 0;
    if (box.left() < screen.left())
        dx = screen.left() - box.left();
    if (box.right() > screen.right())
        dx = screen.right() - box.right();
    if (box.top() < screen.top())
        dy = screen.top() - box.top();
    if (box.bottom() > screen.bottom())
        dy = screen.bottom() - box.bottom();
    return QPointF(dx, dy);
}

QObject *shapeObject(QGraphicsItem *item)
{
    if (!item || item->type() <= QGraphicsItem::UserType)
        return nullptr;
    return dynamic_cast<QObject *>(item);
}

AbstractShapeType<QGraphicsItem> *singleShape(QGraphicsItem *item)
{
    return dynamic_cast<AbstractShapeType<QGraphicsItem> *>(item);
}

QVector<Binding> shapeBindings(QGraphicsItem *item)
{
    if (auto *shape = singleShape(item))
        return shape->bindings();
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
        return group->bindings();
    return {};
}

bool setShapeBindings(QGraphicsItem *item, const QVector<Binding> &bindings)
{
    if (auto *shape = singleShape(item)) {
        shape->setBindings(bindings);
        return true;
    }
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
        group->setBindings(bindings);
        return true;
    }
    return false;
}

const KeptContent *shapeKeptContent(QGraphicsItem *item)
{
    if (auto *shape = dynamic_cast<GraphicsItem *>(item))
        return &shape->keptContent();
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
        return &group->keptContent();
    return nullptr;
}

bool setShapeKeptContent(QGraphicsItem *item, const KeptContent &kept)
{
    if (auto *shape = dynamic_cast<GraphicsItem *>(item)) {
        shape->setKeptContent(kept);
        return true;
    }
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
        group->setKeptContent(kept);
        return true;
    }
    return false;
}
