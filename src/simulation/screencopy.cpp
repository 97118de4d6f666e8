#include "screencopy.h"

#include "editor/drawscene.h"
#include "registermemory.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapeclone.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPen>

namespace {

bool isShape(const QGraphicsItem *item)
{
    return item && item->type() > QGraphicsItem::UserType;
}

// The shapes below item, bottom first, each before its members.
void collectShapes(QGraphicsItem *item, QList<QGraphicsItem *> *shapes)
{
    const QList<QGraphicsItem *> children = item->childItems();
    for (QGraphicsItem *child : children) {
        if (!isShape(child))
            continue;
        shapes->append(child);
        collectShapes(child, shapes);
    }
}

} // namespace

ScreenCopy::ScreenCopy(DrawScene *source)
    : m_source(source)
    , m_name(source->objectName())
    , m_type(source->type())
    , m_size(source->sceneRect().size())
    , m_brush(source->brush())
{
}

ScreenCopy::~ScreenCopy()
{
    if (!m_root)
        return;
    if (QGraphicsScene *stage = m_root->scene())
        stage->removeItem(m_root);
    delete m_root;
}

QGraphicsRectItem *ScreenCopy::root(const RegisterMemory &memory)
{
    if (!m_root)
        copyShapes(memory);
    return m_root;
}

void ScreenCopy::copyShapes(const RegisterMemory &memory)
{
    m_root = new QGraphicsRectItem(QRectF(QPointF(0, 0), m_size));
    m_root->setBrush(m_brush);
    m_root->setPen(Qt::NoPen);
    // Nothing a screen holds shows beyond its edge, on a window least of all.
    m_root->setFlag(QGraphicsItem::ItemClipsChildrenToShape);
    if (!m_source)
        return;

    const QList<QGraphicsItem *> items = m_source->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        if (!isShape(item) || item->parentItem())
            continue;
        if (QGraphicsItem *copy = cloneWithNames(item))
            copy->setParentItem(m_root);
    }

    QList<QGraphicsItem *> shapes;
    collectShapes(m_root, &shapes);
    for (QGraphicsItem *shape : qAsConst(shapes)) {
        // The operator presses shapes; nothing is picked up or dragged.
        shape->setFlag(QGraphicsItem::ItemIsMovable, false);
        shape->setFlag(QGraphicsItem::ItemIsSelectable, false);
        shape->setAcceptHoverEvents(false);
        if (shape->type() == WidgetItemType)
            static_cast<GraphicsWidgetItem *>(shape)->proxy();
        if (QObject *object = shapeObject(shape)) {
            if (!m_names.contains(object->objectName()))
                m_names.insert(object->objectName(), shape);
        }
        if (!shapeBindings(shape).isEmpty()) {
            m_boundIndex.insert(shape, int(m_bound.size()));
            m_bound.emplace_back(shape, memory);
        }
    }
}

BoundShape *ScreenCopy::boundShape(QGraphicsItem *item)
{
    const auto found = m_boundIndex.constFind(item);
    return found == m_boundIndex.constEnd() ? nullptr : &m_bound[size_t(*found)];
}

QGraphicsItem *ScreenCopy::findShape(const QString &name) const
{
    return m_names.value(name);
}

bool ScreenCopy::holds(const QGraphicsItem *item) const
{
    if (!m_root || !item)
        return false;
    for (const QGraphicsItem *up = item->parentItem(); up; up = up->parentItem()) {
        if (up == m_root)
            return true;
    }
    return false;
}
