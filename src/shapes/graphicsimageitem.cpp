#include "graphicsimageitem.h"

#include "model/config.h"
#include "shapeattributes.h"
#include "shapeelement.h"
#include "shapepainting.h"

#include <QCache>
#include <QFileInfo>
#include <QPaintDevice>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

const QString PictureAttribute = QStringLiteral("picture");

} // namespace

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

void GraphicsImageItem::setPicture(const QString &picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    m_cache = Cache();
    update();
}

QString GraphicsImageItem::pictureFile() const
{
    return PictureLoader::resolve(Config::instance()->pictureFolder(), m_picture);
}

const PictureLoader::Result &GraphicsImageItem::pictureFor(const QSize &target)
{
    const QString file = pictureFile();
    const QFileInfo info(file);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.exists() ? info.size() : -1;
    bool fresh = file == m_cache.file && modified == m_cache.modified && size == m_cache.size
                 && m_cache.target.isValid();
    // A picture is read again for more detail than it has, or for much
    // less, which it would hold in memory for nothing; a fault stays one
    // at any size.
    if (fresh && m_cache.result.status == PictureLoader::Ok) {
        const QSize held = m_cache.target;
        fresh = target.width() <= held.width() && target.height() <= held.height()
                && 2 * target.width() >= held.width() && 2 * target.height() >= held.height();
    }
    if (!fresh) {
        m_cache.file = file;
        m_cache.modified = modified;
        m_cache.size = size;
        m_cache.target = target;
        m_cache.result = sharedLoad(file, modified, size, target);
    }
    return m_cache.result;
}

PictureLoader::Result GraphicsImageItem::sharedLoad(const QString &file, const QDateTime &modified,
                                                    qint64 size, const QSize &target)
{
    // Shapes showing one picture in boxes of one size (a row of lamps, a
    // zoom step over many) decode it once: a large picture takes a second
    // to decode, and a hundred shapes took minutes. Images share their
    // pixels, so the cache costs what it holds once. In kilobytes.
    static QCache<QString, PictureLoader::Result> recent(256 * 1024);
    const QString key = QStringLiteral("%1\n%2\n%3\n%4x%5")
                            .arg(file)
                            .arg(modified.toMSecsSinceEpoch())
                            .arg(size)
                            .arg(target.width())
                            .arg(target.height());
    if (const PictureLoader::Result *held = recent.object(key))
        return *held;
    auto *loaded = new PictureLoader::Result(PictureLoader::load(file, target));
    const PictureLoader::Result result = *loaded;
    recent.insert(key, loaded, int(qMax<qint64>(1, loaded->image.sizeInBytes() / 1024)));
    return result;
}

void GraphicsImageItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget)
    if (!m_picture.isEmpty()) {
        const QRectF box = m_localRect;
        // As many pixels as the box covers on the device, zoom included.
        const QRectF onDevice = painter->worldTransform().mapRect(box);
        const double ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        // Bounded before the conversion: a box from a file may be huge.
        const auto pixels = [ratio](double length) {
            return int(qBound(1.0, std::ceil(length * ratio), double(PictureLoader::MaxTargetSide)));
        };
        const QSize target(pixels(onDevice.width()), pixels(onDevice.height()));
        const PictureLoader::Result &shown = pictureFor(target);
        if (shown.status == PictureLoader::Ok) {
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(box, shown.image);
            painter->restore();
        } else {
            drawPlaceholder(painter, box);
        }
    }
    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

void GraphicsImageItem::drawPlaceholder(QPainter *painter, const QRectF &box) const
{
    const QColor fault(210, 0, 0);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(fault, 2);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->setBrush(QColor(255, 228, 228));
    painter->drawRect(box);
    painter->drawLine(box.topLeft(), box.bottomRight());
    painter->drawLine(box.topRight(), box.bottomLeft());
    // The name tells the user which file to look for.
    const QString name = QFileInfo(m_picture).fileName();
    const QFontMetricsF metrics(painter->font());
    const QString shown = metrics.elidedText(name, Qt::ElideMiddle, box.width() - 4);
    if (!shown.isEmpty()) {
        QRectF label = metrics.boundingRect(shown).adjusted(-2, -1, 2, 1);
        label.moveCenter(box.center());
        painter->setClipRect(box);
        painter->fillRect(label, Qt::white);
        painter->setPen(fault);
        painter->drawText(label, Qt::AlignCenter, shown);
    }
    painter->restore();
}

QGraphicsItem *GraphicsImageItem::clone()
{
    auto *copy = new GraphicsImageItem(m_localRect.toRect(), nullptr);
    copy->m_picture = m_picture;
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
    setPicture(attributes.value(PictureAttribute).toString());
    m_keptContent = KeptContent();
    m_keptContent.keepAttributes(*reader, storedProperties() << PictureAttribute);
    readChildElements(reader);
    normalizeGeometry();
    return true;
}

bool GraphicsImageItem::writeXml(QXmlStreamWriter *writer)
{
    writer->writeStartElement(elementName());
    writeShapeAttributes(writer, this, storedProperties());
    // Without a picture the element is what it always was.
    if (!m_picture.isEmpty())
        writer->writeAttribute(PictureAttribute, m_picture);
    m_keptContent.writeAttributes(writer);
    writeBindings(writer);
    m_keptContent.writeElementsFrom(writer, 0);
    writer->writeEndElement();
    return true;
}
