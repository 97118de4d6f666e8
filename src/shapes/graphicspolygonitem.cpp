#include "graphicspolygonitem.h"

#include "shapeattributes.h"
#include "shapeelement.h"
#include "shapepainting.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

// The hit area of a path drawn with pen: the stroke plus the path itself,
// so a zero-width pen still leaves a (hair-thin) line to hit.
QPainterPath strokedPath(const QPainterPath &path, const QPen &pen)
{
    if (path.isEmpty() || pen.style() == Qt::NoPen)
        return path;
    QPainterPathStroker stroker;
    stroker.setCapStyle(pen.capStyle());
    stroker.setJoinStyle(pen.joinStyle());
    stroker.setMiterLimit(pen.miterLimit());
    stroker.setWidth(pen.widthF() <= 0.0 ? 1e-8 : pen.widthF());
    QPainterPath result = stroker.createStroke(path);
    result.addPath(path);
    return result;
}

} // namespace

GraphicsPolygonItem::GraphicsPolygonItem(QGraphicsItem *parent)
    : GraphicsItem(parent)
{
    m_pen = QPen(QBrush(Qt::black), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QString GraphicsPolygonItem::typeName() const
{
    return tr("polygon");
}

QString GraphicsPolygonItem::elementName() const
{
    return shapeElementName(ShapeElement::Polygon);
}

QPainterPath GraphicsPolygonItem::geometryPath() const
{
    QPainterPath path;
    path.addPolygon(m_points);
    path.closeSubpath();
    return path;
}

QPainterPath GraphicsPolygonItem::shape() const
{
    if (!m_shapeValid || m_shapePoints != m_points || m_shapePen != m_pen) {
        m_shapeCache = strokedPath(geometryPath(), m_pen);
        m_shapePoints = m_points;
        m_shapePen = m_pen;
        m_shapeValid = true;
    }
    return m_shapeCache;
}

QRectF GraphicsPolygonItem::boundingRect() const
{
    return shape().controlPointRect();
}

void GraphicsPolygonItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                QWidget *widget)
{
    Q_UNUSED(widget)
    painter->setPen(m_pen);
    painter->setBrush(m_brush);
    painter->drawPolygon(m_points, Qt::OddEvenFill);
    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

int GraphicsPolygonItem::pointHandleKind(int index) const
{
    Q_UNUSED(index)
    return SizeHandleRect::ControlHandle;
}

void GraphicsPolygonItem::createHandles()
{
    GraphicsItem::createHandles();
    createPointHandles();
}

void GraphicsPolygonItem::createPointHandles()
{
    // Only a shape being drawn has handles of other kinds, and it made its
    // handles with its first point.
    for (int i = 0; i < m_points.size(); ++i)
        m_handles.append(new SizeHandleRect(this, i + 9, SizeHandleRect::ControlHandle));
}

SizeHandleRect *GraphicsPolygonItem::addPoint(const QPointF &itemPoint, int kind)
{
    m_points.append(itemPoint);
    if (!handlesMade())
        return nullptr;
    auto *handle = new SizeHandleRect(this, m_points.size() + 8, kind);
    m_handles.append(handle);
    return handle;
}

void GraphicsPolygonItem::updateLocalRect()
{
    m_localRect = m_points.boundingRect();
    m_width = m_localRect.width();
    m_height = m_localRect.height();
    // A gradient spans the points' box, which is empty until the points
    // are known: the brush style is read from the file before them.
    if (m_brushStyle >= LinearGradient01Pattern)
        applyBrushStyle();
}

void GraphicsPolygonItem::appendPoint(const QPointF &scenePoint)
{
    prepareGeometryChange();
    // The point's handle is shown at once, so the handles must exist first.
    ensureHandles();
    SizeHandleRect *handle = addPoint(mapFromScene(scenePoint), pointHandleKind(m_points.size()));
    handle->setState(SizeHandleRect::Shown);
    updateLocalRect();
    updateHandles();
}

void GraphicsPolygonItem::finishPoints(const QPointF &point)
{
    Q_UNUSED(point)
    const int n = m_points.size();
    if (n > 2) {
        const QPointF last = m_points.at(n - 1);
        const QPointF previous = m_points.at(n - 2);
        const bool repeated = std::abs(last.x() - previous.x()) <= 1e-12
            && std::abs(last.y() - previous.y()) <= 1e-12;
        const bool untouched = last.x() == previous.x() + 1 && last.y() == previous.y();
        if (repeated || untouched) {
            prepareGeometryChange();
            m_points.removeLast();
            // The last point's handle is always the last handle.
            if (handlesMade())
                delete m_handles.takeLast();
            updateLocalRect();
            updateHandles();
        }
    }
    m_referencePoints = m_points;
}

void GraphicsPolygonItem::moveControlPoint(int handle, const QPointF &point)
{
    const int index = handle - 9;
    if (handle < 9 || index >= m_points.size())
        return;
    prepareGeometryChange();
    m_points[index] = mapFromScene(point);
    updateLocalRect();
    updateHandles();
}

void GraphicsPolygonItem::scaleFromHandle(int handle, double sx, double sy, const QPointF &origin)
{
    if (handle == SizeHandleRect::Top || handle == SizeHandleRect::Bottom)
        sx = 1;
    if (handle == SizeHandleRect::Right || handle == SizeHandleRect::Left)
        sy = 1;
    QTransform transform;
    transform.translate(origin.x(), origin.y());
    transform.scale(sx, sy);
    transform.translate(-origin.x(), -origin.y());
    prepareGeometryChange();
    m_points = transform.map(m_referencePoints);
    updateLocalRect();
    updateHandles();
}

void GraphicsPolygonItem::normalizeGeometry()
{
    if (!parentItem()) {
        // Same mapping argument as for box shapes (pos + T(o + R(p - o))):
        // with the transform origin moved to the new item origin, the centre
        // of the points must land on pos = map(centre) - T(0), and every
        // point shifted by -centre then keeps its place on screen.
        // Points read back from a file were centred before they were
        // rounded to the file's 0.01 steps, so their centre may lie up to
        // half a step off the origin. Moving them again would change the
        // numbers they were read with, and every save and load would shift
        // the shape a little: a centre that close counts as centred.
        QPointF centre = m_points.boundingRect().center();
        constexpr double halfStep = 0.005 + 1e-9;
        if (std::abs(centre.x()) <= halfStep && std::abs(centre.y()) <= halfStep)
            centre = QPointF();
        const QPointF target = mapToParent(centre) - transform().map(QPointF(0, 0));
        prepareGeometryChange();
        m_points.translate(-centre);
        setTransformOriginPoint(0, 0);
        setPos(target);
        updateLocalRect();
        updateHandles();
    }
    m_referencePoints = m_points;
}

QVariantList GraphicsPolygonItem::geometryState() const
{
    return {m_points, m_referencePoints};
}

void GraphicsPolygonItem::restoreGeometry(const QVariantList &state)
{
    if (state.size() != 2)
        return;
    prepareGeometryChange();
    m_points = state.at(0).value<QPolygonF>();
    m_referencePoints = state.at(1).value<QPolygonF>();
    updateLocalRect();
    updateHandles();
}

void GraphicsPolygonItem::translateBy(const QPointF &delta)
{
    setPos(pos() + delta);
}

QGraphicsItem *GraphicsPolygonItem::clone()
{
    auto *copy = new GraphicsPolygonItem(nullptr);
    finishClone(copy);
    return copy;
}

void GraphicsPolygonItem::finishClone(GraphicsPolygonItem *copy) const
{
    for (const QPointF &p : m_points)
        copy->addPoint(p, SizeHandleRect::ControlHandle);
    copy->m_referencePoints = copy->m_points;
    copy->m_localRect = m_localRect;
    copy->m_keptPoints = m_keptPoints;
    copyCommonAttributes(copy);
}

void GraphicsPolygonItem::updateHandles()
{
    GraphicsItem::updateHandles();
    for (SizeHandleRect *handle : qAsConst(m_handles)) {
        const int index = handle->dir() - 9;
        if (index >= 0 && index < m_points.size())
            handle->move(m_points.at(index).x(), m_points.at(index).y());
    }
}

bool GraphicsPolygonItem::writeXml(QXmlStreamWriter *writer)
{
    writer->writeStartElement(elementName());
    writeShapeAttributes(writer, this);
    writer->writeAttribute(QStringLiteral("x"), coordinateText(pos().x()));
    writer->writeAttribute(QStringLiteral("y"), coordinateText(pos().y()));
    m_keptContent.writeAttributes(writer);
    writeBindings(writer);
    for (int i = 0; i < m_points.size(); ++i) {
        m_keptContent.writeElements(writer, i);
        const QPointF &p = m_points.at(i);
        writer->writeStartElement(QStringLiteral("point"));
        writer->writeAttribute(QStringLiteral("x"), coordinateText(p.x()));
        writer->writeAttribute(QStringLiteral("y"), coordinateText(p.y()));
        if (i < m_keptPoints.size()) {
            m_keptPoints.at(i).writeAttributes(writer);
            m_keptPoints.at(i).writeElementsFrom(writer, 0);
        }
        writer->writeEndElement();
    }
    m_keptContent.writeElementsFrom(writer, m_points.size());
    writer->writeEndElement();
    return true;
}

QVector<QPair<QString, KeptContent>> GraphicsPolygonItem::keptParts() const
{
    QVector<QPair<QString, KeptContent>> parts = GraphicsItem::keptParts();
    for (const KeptContent &point : m_keptPoints) {
        if (!point.isEmpty())
            parts.append({QStringLiteral("point"), point});
    }
    return parts;
}

QStringList GraphicsPolygonItem::knownAttributeNames()
{
    // Built once per class and registry list, not once per shape: the
    // registry hands back the same shared list while it is unchanged.
    static QHash<const QMetaObject *, QPair<QStringList, QStringList>> cache;
    const QStringList names = fileAttributeNames();
    QPair<QStringList, QStringList> &entry = cache[metaObject()];
    if (entry.first != names) {
        entry.first = names;
        entry.second = names;
        entry.second << QStringLiteral("x") << QStringLiteral("y");
    }
    return entry.second;
}

bool GraphicsPolygonItem::readXml(QXmlStreamReader *reader)
{
    readShapeAttributes(reader, this);
    m_keptContent = KeptContent();
    m_keptContent.keepAttributes(*reader, knownAttributeNames());
    setPos(readNumberAttribute(reader, QStringLiteral("x")),
           readNumberAttribute(reader, QStringLiteral("y")));

    prepareGeometryChange();
    for (int i = m_handles.size() - 1; i >= 0; --i) {
        if (m_handles.at(i)->dir() >= SizeHandleRect::FirstControl)
            delete m_handles.takeAt(i);
    }
    m_points.clear();
    m_keptPoints.clear();
    m_bindings.clear();

    while (reader->readNextStartElement()) {
        if (reader->name() != QLatin1String("point")) {
            if (!Binding::readInto(reader, &m_bindings, KeptContent::defaultLevels()))
                m_keptContent.keepElement(reader, m_points.size(), KeptContent::defaultLevels());
            continue;
        }
        addPoint(QPointF(readNumberAttribute(reader, QStringLiteral("x")),
                         readNumberAttribute(reader, QStringLiteral("y"))),
                 SizeHandleRect::ControlHandle);
        static const QStringList pointNames {QStringLiteral("x"), QStringLiteral("y")};
        KeptContent kept;
        kept.keepAttributes(*reader, pointNames);
        kept.keepChildren(reader, KeptContent::defaultLevels());
        if (!kept.isEmpty()) {
            m_keptPoints.resize(m_points.size());
            m_keptPoints.last() = kept;
        }
    }
    updateLocalRect();
    updateHandles();
    normalizeGeometry();
    return true;
}
