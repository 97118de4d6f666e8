#include "graphicsitemgroup.h"

#include "graphicsitem.h"
#include "model/builtintables.h"
#include "model/propertyregistry.h"
#include "shapeattributes.h"
#include "shapeelement.h"
#include "shapepainting.h"

#include <QGraphicsScene>
#include <QScopedValueRollback>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// The shape interface of a member, whichever Qt item class it is built on.
void normalizeMember(QGraphicsItem *member)
{
    if (auto *shape = singleShape(member))
        shape->normalizeGeometry();
    else if (auto *group = dynamic_cast<GraphicsItemGroup *>(member))
        group->normalizeGeometry();
}

// Moves the group's turn (what removeFromGroup left in the shape's
// transformation) into the shape's rotation and position, keeping the
// picture. Qt maps a point p to pos + T(o + R(p - o)); with T = L + d and
// L a turn, that is the shape turned by L and R about o and placed at
// pos + T(o) - o.
void foldTransform(QGraphicsItem *shape)
{
    const QTransform t = shape->transform();
    if (t.isIdentity())
        return;
    const QPointF origin = shape->transformOriginPoint();
    const double turn = qRadiansToDegrees(std::atan2(t.m12(), t.m11()));
    shape->setTransform(QTransform());
    shape->setRotation(shape->rotation() + turn);
    shape->setPos(shape->pos() + t.map(origin) - origin);
}

// One item's state as writing a group may change it. Taking a member out
// of the group and putting it back maps its placement through the screen
// and back, which is not exact in floating point: restoring what was
// there before, rather than what addToGroup computes, keeps repeated saves
// from moving a turned member by the last digit each time.
struct KeptState
{
    QGraphicsItem *item = nullptr;
    QPointF pos;
    QTransform transform;
    QPointF origin;
    double rotation = 0;
    double scale = 1;
    QVariantList geometry;
};

// A group member needs only its placement kept: normalizing a group keeps
// its box, and its own members are put back by its own writeXml().
KeptState keepState(QGraphicsItem *item)
{
    KeptState state {item,
                     item->pos(),
                     item->transform(),
                     item->transformOriginPoint(),
                     item->rotation(),
                     item->scale(),
                     {}};
    if (auto *shape = singleShape(item))
        state.geometry = shape->geometryState();
    return state;
}

// QGraphicsItem::setPos passes over a position that compares equal to the
// current one, and QPointF compares with a tolerance: a position off in its
// last bits is put back by way of one that is clearly different.
void setExactPos(QGraphicsItem *item, const QPointF &pos)
{
    const QPointF now = item->pos();
    if (now.x() == pos.x() && now.y() == pos.y())
        return;
    if (now == pos)
        item->setPos(pos + QPointF(1, 1));
    item->setPos(pos);
}

void restoreState(const KeptState &state)
{
    QGraphicsItem *item = state.item;
    if (auto *shape = singleShape(item))
        shape->restoreGeometry(state.geometry);
    item->setTransform(state.transform);
    item->setTransformOriginPoint(state.origin);
    item->setRotation(state.rotation);
    item->setScale(state.scale);
    setExactPos(item, state.pos);
}

// The screen box of the group that the loader forms from the item's
// written form: a group formed on loading is never turned, so its box is
// the union of its single shapes' boxes.
bool holdsWidget(const QGraphicsItem *item)
{
    if (item->type() == WidgetItemType)
        return true;
    const auto *group = dynamic_cast<const GraphicsItemGroup *>(item);
    if (!group)
        return false;
    const QList<QGraphicsItem *> list = group->members();
    return std::any_of(list.cbegin(), list.cend(), holdsWidget);
}

QRectF formedBox(const QGraphicsItem *item)
{
    const auto *group = dynamic_cast<const GraphicsItemGroup *>(item);
    if (!group)
        return item->sceneBoundingRect();
    QRectF box;
    const QList<QGraphicsItem *> list = group->members();
    for (const QGraphicsItem *member : list)
        box |= formedBox(member);
    return box;
}

} // namespace

GraphicsItemGroup::GraphicsItemGroup(QGraphicsItem *parent)
    : AbstractShapeType<QGraphicsItemGroup>(parent)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    setFlag(QGraphicsItem::ItemIsSelectable, true);
    setFlag(QGraphicsItem::ItemSendsGeometryChanges, true);
    setAcceptHoverEvents(true);
}

void GraphicsItemGroup::setGroupRotation(double angle)
{
    if (std::fmod(angle, 360.0) != 0 && holdsWidget(this))
        return;
    setRotation(angle);
}

QString GraphicsItemGroup::typeName() const
{
    return tr("group");
}

QString GraphicsItemGroup::elementName() const
{
    return shapeElementName(ShapeElement::Group);
}

QPointF GraphicsItemGroup::boxPos() const
{
    return pos() - QPointF(m_width / 2, m_height / 2);
}

void GraphicsItemGroup::setBoxPos(const QPointF &topLeft)
{
    setPos(topLeft + QPointF(m_width / 2, m_height / 2));
}

QList<QGraphicsItem *> GraphicsItemGroup::members() const
{
    QList<QGraphicsItem *> result;
    const QList<QGraphicsItem *> children = childItems();
    for (QGraphicsItem *child : children) {
        if (!dynamic_cast<SizeHandleRect *>(child))
            result.append(child);
    }
    return result;
}

QRectF GraphicsItemGroup::membersRect() const
{
    // Qt's own union also counts the members' handles; the box must hug
    // the shapes.
    QRectF result;
    const QList<QGraphicsItem *> list = members();
    for (QGraphicsItem *member : list)
        result |= member->mapRectToParent(member->boundingRect());
    return result;
}

QRectF GraphicsItemGroup::boundingRect() const
{
    return m_groupRect;
}

void GraphicsItemGroup::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    Q_UNUSED(widget)
    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

void GraphicsItemGroup::scaleFromHandle(int handle, double sx, double sy, const QPointF &origin)
{
    if (handle == SizeHandleRect::Top || handle == SizeHandleRect::Bottom)
        sx = 1;
    if (handle == SizeHandleRect::Right || handle == SizeHandleRect::Left)
        sy = 1;

    const QList<QGraphicsItem *> list = members();
    for (QGraphicsItem *member : list) {
        const QPointF memberOrigin = mapToItem(member, origin);
        if (auto *shape = singleShape(member))
            shape->scaleFromHandle(handle, sx, sy, memberOrigin);
        else if (auto *group = dynamic_cast<GraphicsItemGroup *>(member))
            group->scaleFromHandle(handle, sx, sy, memberOrigin);
    }

    QTransform transform;
    transform.translate(origin.x(), origin.y());
    transform.scale(sx, sy);
    transform.translate(-origin.x(), -origin.y());
    prepareGeometryChange();
    m_groupRect = transform.mapRect(m_referenceRect).normalized();
    m_width = m_groupRect.width();
    m_height = m_groupRect.height();
    updateHandles();
}

void GraphicsItemGroup::normalizeGeometry()
{
    if (m_groupRect.width() == 0 && m_groupRect.height() == 0) {
        prepareGeometryChange();
        m_groupRect = membersRect();
    }
    m_referenceRect = m_groupRect;
    m_width = m_groupRect.width();
    m_height = m_groupRect.height();

    // Qt maps an item point p to pos + T(o + R(p - o)), with T the item
    // transform, o the transform origin and R rotation and scale. With the
    // origin on the box centre c, keeping every point in place needs the
    // centre's current parent position as the new pos and T's linear part
    // applied after a shift by -c.
    const QPointF centre = m_groupRect.center();
    const QPointF centreInParent = mapToParent(centre);
    const QTransform t = transform();
    const QTransform linear(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
    setTransformOriginPoint(centre);
    setTransform(QTransform::fromTranslate(-centre.x(), -centre.y()) * linear);
    setPos(centreInParent);

    const QList<QGraphicsItem *> list = members();
    for (QGraphicsItem *member : list)
        normalizeMember(member);
    updateHandles();
}

QGraphicsItem *GraphicsItemGroup::clone()
{
    auto *copy = new GraphicsItemGroup(nullptr);
    // Members join while the copy still has the identity mapping, so they
    // keep the coordinates they had in this group.
    const QList<QGraphicsItem *> list = members();
    for (QGraphicsItem *member : list) {
        QGraphicsItem *memberCopy = nullptr;
        if (auto *shape = singleShape(member))
            memberCopy = shape->clone();
        else if (auto *group = dynamic_cast<GraphicsItemGroup *>(member))
            memberCopy = group->clone();
        if (memberCopy)
            copy->addToGroup(memberCopy);
    }
    copy->setPos(pos());
    copy->setTransform(transform());
    copy->setTransformOriginPoint(transformOriginPoint());
    copy->setRotation(rotation());
    copy->setScale(scale());
    copy->setZValue(zValue() + 0.1);
    copy->setFixe(fixe());
    copy->m_width = m_width;
    copy->m_height = m_height;
    copy->m_bindings = m_bindings;
    copy->m_keptContent = m_keptContent;
    copy->normalizeGeometry();
    return copy;
}

void GraphicsItemGroup::updateHandles()
{
    placeBoxHandles(m_groupRect);
}

QVariant GraphicsItemGroup::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged) {
        const bool selected = value.toBool();
        if (dynamic_cast<QGraphicsItemGroup *>(parentItem())) {
            if (selected)
                setSelected(false);
        } else {
            setHandlesState(selected ? SizeHandleRect::Shown : SizeHandleRect::Hidden);
            if (selected)
                normalizeGeometry();
        }
    } else if (change == ItemPositionChange && scene() && GraphicsItem::screenClampEnabled()) {
        // Unlike single shapes, a group is held back only when its centre
        // would leave the screen; its box may then overlap the edge.
        const QPointF p = value.toPointF();
        const QRectF screen = scene()->sceneRect();
        if (!screen.contains(p)) {
            const double halfWidth = m_groupRect.width() / 2;
            const double halfHeight = m_groupRect.height() / 2;
            const double x
                = std::min(std::max(p.x(), screen.left() + halfWidth), screen.right() - halfWidth);
            const double y = std::min(std::max(p.y(), screen.top() + halfHeight),
                                      screen.bottom() - halfHeight);
            return QPointF(x, y);
        }
    }
    return QGraphicsItemGroup::itemChange(change, value);
}

bool GraphicsItemGroup::readXml(QXmlStreamReader *reader)
{
    readShapeAttributes(reader, this);
    return true;
}

bool GraphicsItemGroup::writeXml(QXmlStreamWriter *writer)
{
    // Members overlapping the screen edge must not be pulled onto it while
    // they are out of the group.
    QScopedValueRollback<bool> noClamp(GraphicsItem::screenClampEnabled(), false);
    writer->writeStartElement(elementName());
    // The loader forms the group again from its members, unturned: that is
    // the group written here, so that saving the loaded project gives the
    // same file. Its turn travels in the members.
    QStringList names = propertyNamesOf(this);
    names.removeAll(QStringLiteral("pos"));
    names.removeAll(QStringLiteral("rotation"));
    writeShapeAttributes(writer, this, names);
    // The loader does not read the position back; rounded to hundredths, it
    // keeps its text although the members it is taken from are stored with
    // their coordinates rounded in the last digit.
    const QPointF topLeft = formedBox(this).topLeft();
    writeAttributeValue(
        writer, QStringLiteral("pos"),
        QPointF(std::round(topLeft.x() * 100) / 100, std::round(topLeft.y() * 100) / 100));
    writeAttributeValue(writer, QStringLiteral("rotation"), 0.0);
    m_keptContent.writeAttributes(writer);
    Binding::writeList(writer, m_bindings);
    // Taking a member out and putting it back moves it to the end of the
    // children with the same z, so after the whole pass the order is as
    // before.
    const QList<QGraphicsItem *> list = members();
    for (int i = 0; i < list.size(); ++i) {
        QGraphicsItem *member = list.at(i);
        m_keptContent.writeElements(writer, i);
        const KeptState kept = keepState(member);
        removeFromGroup(member);
        normalizeMember(member);
        if (auto *shape = singleShape(member)) {
            foldTransform(member);
            shape->writeXml(writer);
        } else if (auto *group = dynamic_cast<GraphicsItemGroup *>(member)) {
            group->writeXml(writer);
        }
        addToGroup(member);
        restoreState(kept);
    }
    m_keptContent.writeElementsFrom(writer, list.size());
    writer->writeEndElement();
    return true;
}

GraphicsItemGroup::StoredAttributes
GraphicsItemGroup::readStoredAttributes(const QXmlStreamReader *reader)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    StoredAttributes stored;
    stored.objectName = attributes.value(QLatin1String("objectName")).toString();
    stored.zValue = readNumberAttribute(reader, QStringLiteral("zValue"));
    stored.fixe = attributes.value(QLatin1String("fixe")) == QLatin1String("true");
    const QStringList known = BuiltinTables::instance()->propertyRegistry().propertyNames(
                                  QString::fromLatin1(staticMetaObject.className()))
        << QStringLiteral("pos") << QStringLiteral("rotation");
    stored.kept.keepAttributes(*reader, known);
    return stored;
}

void GraphicsItemGroup::applyStoredAttributes(const StoredAttributes &stored)
{
    setObjectName(stored.objectName);
    setZValue(stored.zValue);
    setFixe(stored.fixe);
    m_bindings = stored.bindings;
    m_keptContent = stored.kept;
}
