#include "shapecommands.h"

#include "model/builtintables.h"
#include "model/propertyregistry.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"

#include <QCoreApplication>
#include <QGraphicsItemGroup>
#include <QGraphicsScene>
#include <QtNumeric>

namespace {

QString commandText(const char *text)
{
    // One shared context: the texts belong to no single class.
    return QCoreApplication::translate("QObject", text);
}

// The undo menu shows this text: the property as the property browser names
// it, never the name the code knows it by. Several properties at once, or
// one the browser does not list, get the general text. Made from the class
// name, not the object, so that it can be made again in another language
// once the object is gone.
std::function<QString()> modifyTextSource(const QObject *object, const QString &property)
{
    const QString className = object && !property.isEmpty()
        ? QString::fromLatin1(object->metaObject()->className())
        : QString();
    return [className, property] {
        const QString shown = className.isEmpty()
            ? QString()
            : BuiltinTables::instance()->propertyRegistry().displayName(className, property);
        return shown.isEmpty() ? commandText("修改对象属性")
                               : commandText("修改对象%1属性").arg(shown);
    };
}

AbstractShapeType<QGraphicsItemGroup> *groupShape(QGraphicsItem *item)
{
    return dynamic_cast<AbstractShapeType<QGraphicsItemGroup> *>(item);
}

bool isInsideGroup(const QGraphicsItem *item)
{
    return dynamic_cast<QGraphicsItemGroup *>(item->parentItem()) != nullptr;
}

// Scales about the scene point fixedPoint when given, else about the point
// opposite originHandle, as the resize tool does, and ends the edit. Single
// shapes and groups alike.
template<typename Shape>
void scaleShape(Shape *shape, int handle, int originHandle, const QPointF *fixedPoint, double sx,
                double sy)
{
    const QPointF origin = fixedPoint ? shape->mapFromScene(*fixedPoint)
                                      : shape->oppositeHandlePosition(originHandle);
    shape->scaleFromHandle(handle, sx, sy, origin);
    shape->normalizeGeometry();
}

void scaleItem(QGraphicsItem *item, int handle, int originHandle, const QPointF *fixedPoint,
               double sx, double sy)
{
    if (auto *shape = singleShape(item))
        scaleShape(shape, handle, originHandle, fixedPoint, sx, sy);
    else if (auto *group = groupShape(item))
        scaleShape(group, handle, originHandle, fixedPoint, sx, sy);
}

void normalizeItem(QGraphicsItem *item)
{
    if (item->type() <= QGraphicsItem::UserType)
        return;
    if (auto *shape = singleShape(item))
        shape->normalizeGeometry();
    else if (auto *group = groupShape(item))
        group->normalizeGeometry();
}

// Deletes the items that nothing else owns: no scene, no parent item. The
// list is settled before anything is deleted, as deleting an item deletes
// its children.
void deleteUnowned(const QList<QGraphicsItem *> &items)
{
    QList<QGraphicsItem *> unowned;
    for (QGraphicsItem *item : items) {
        if (item && !item->scene() && !item->parentItem() && !unowned.contains(item))
            unowned.append(item);
    }
    qDeleteAll(unowned);
}

void addToScene(QGraphicsScene *scene, QGraphicsItem *item)
{
    if (scene && !item->scene())
        scene->addItem(item);
}

void removeFromScene(QGraphicsItem *item)
{
    if (QGraphicsScene *scene = item->scene())
        scene->removeItem(item);
}

QList<QGraphicsItem *> groupMembers(QGraphicsItemGroup *group)
{
    if (!group)
        return {};
    if (auto *shapeGroup = dynamic_cast<GraphicsItemGroup *>(group))
        return shapeGroup->members();
    return group->childItems();
}

// Puts the members back into group (which is put back into scene first, so
// the members never leave the scene on the way) and selects it.
void reformGroup(QGraphicsItemGroup *group, QGraphicsScene *scene,
                 const QList<QGraphicsItem *> &members)
{
    addToScene(scene, group);
    for (QGraphicsItem *item : members) {
        item->setSelected(false);
        if (!isInsideGroup(item))
            group->addToGroup(item);
    }
    group->setSelected(true);
}

// Takes the members out of group (they keep their place on screen and end
// up selected) and removes the group from its scene.
void dissolveGroup(QGraphicsItemGroup *group, const QList<QGraphicsItem *> &members, bool normalize)
{
    group->setSelected(false);
    for (QGraphicsItem *item : members) {
        // A member cannot be selected, so it leaves first.
        if (item->parentItem() == group)
            group->removeFromGroup(item);
        item->setSelected(true);
        if (normalize)
            normalizeItem(item);
    }
    removeFromScene(group);
}

} // namespace

// AddShapeCommand

AddShapeCommand::AddShapeCommand(QGraphicsItem *item, QGraphicsScene *scene, QUndoCommand *parent)
    : TextCommand(parent)
    , m_scene(scene)
{
    if (item) {
        m_items.append(item);
        m_positions.append(item->pos());
    }
    setTextSource([] { return commandText("创建对象"); });
}

AddShapeCommand::AddShapeCommand(const QList<QGraphicsItem *> &items, QGraphicsScene *scene,
                                 QUndoCommand *parent)
    : TextCommand(parent)
    , m_scene(scene)
{
    for (QGraphicsItem *item : items) {
        if (!item)
            continue;
        m_items.append(item);
        m_positions.append(item->pos());
    }
    const bool one = m_items.size() < 2;
    setTextSource([one] { return one ? commandText("复制对象") : commandText("批量复制对象"); });
}

AddShapeCommand::~AddShapeCommand()
{
    if (!m_done)
        deleteUnowned(m_items);
}

void AddShapeCommand::undo()
{
    for (QGraphicsItem *item : qAsConst(m_items))
        removeFromScene(item);
    m_done = false;
}

void AddShapeCommand::redo()
{
    for (int i = 0; i < m_items.size(); ++i) {
        QGraphicsItem *item = m_items.at(i);
        addToScene(m_scene, item);
        item->setPos(m_positions.at(i));
    }
    m_done = true;
}

// RemoveShapeCommand

RemoveShapeCommand::RemoveShapeCommand(QGraphicsScene *scene, QUndoCommand *parent)
    : TextCommand(parent)
    , m_scene(scene)
{
    if (scene)
        m_items = scene->selectedItems();
    setTextSource([] { return commandText("删除对象"); });
}

RemoveShapeCommand::~RemoveShapeCommand()
{
    if (m_done)
        deleteUnowned(m_items);
}

void RemoveShapeCommand::undo()
{
    for (QGraphicsItem *item : qAsConst(m_items)) {
        if (!isInsideGroup(item))
            addToScene(m_scene, item);
    }
    m_done = false;
}

void RemoveShapeCommand::redo()
{
    for (QGraphicsItem *item : qAsConst(m_items)) {
        if (!isInsideGroup(item))
            removeFromScene(item);
    }
    m_done = true;
}

// MoveShapeCommand

MoveShapeCommand::MoveShapeCommand(QGraphicsItem *item, const QPointF &delta, QUndoCommand *parent)
    : TextCommand(parent)
    , m_scene(item ? item->scene() : nullptr)
    , m_item(item)
    , m_delta(delta)
{
    setTextSource([] { return commandText("移动对象"); });
}

MoveShapeCommand::MoveShapeCommand(QGraphicsScene *scene, const QPointF &delta,
                                   QUndoCommand *parent)
    : TextCommand(parent)
    , m_scene(scene)
    , m_item(nullptr)
    , m_delta(delta)
{
    // Fixed shapes stayed where they were; undo must not move them either.
    if (scene) {
        const QList<QGraphicsItem *> selected = scene->selectedItems();
        for (QGraphicsItem *item : selected) {
            if (item->flags() & QGraphicsItem::ItemIsMovable)
                m_items.append(item);
        }
    }
    setTextSource([] { return commandText("批量移动对象"); });
}

void MoveShapeCommand::moveAll(const QPointF &delta)
{
    if (m_item) {
        m_item->setPos(m_item->pos() + delta);
        return;
    }
    for (QGraphicsItem *item : qAsConst(m_items))
        item->setPos(item->pos() + delta);
}

void MoveShapeCommand::undo()
{
    moveAll(-m_delta);
}

void MoveShapeCommand::redo()
{
    // The tool or the arrow keys moved the shapes before the push.
    if (m_skipFirstRedo) {
        m_skipFirstRedo = false;
        return;
    }
    moveAll(m_delta);
}

// ResizeShapeCommand

void ResizeShapeCommand::setFixedPoint(const QPointF &scenePoint)
{
    m_fixedPoint = scenePoint;
    m_hasFixedPoint = qIsFinite(scenePoint.x()) && qIsFinite(scenePoint.y());
}

ResizeShapeCommand::ResizeShapeCommand(QGraphicsItem *item, int handle, const QPointF &scale,
                                       QUndoCommand *parent)
    : TextCommand(parent)
    , m_item(item)
    , m_handle(handle)
    , m_scale(scale)
{
    setTextSource([] { return commandText("调整对象大小"); });
}

void ResizeShapeCommand::undo()
{
    // A factor of 0 collapsed the shape; there is no size to go back to.
    if (!m_item || m_scale.x() == 0 || m_scale.y() == 0)
        return;
    const int handle = m_oppositeHandle != 0 ? m_oppositeHandle : m_handle;
    scaleItem(m_item, handle, handle, m_hasFixedPoint ? &m_fixedPoint : nullptr, 1 / m_scale.x(),
              1 / m_scale.y());
}

void ResizeShapeCommand::redo()
{
    if (m_skipFirstRedo) {
        m_skipFirstRedo = false;
        return;
    }
    if (m_item)
        scaleItem(m_item, m_handle, m_handle, m_hasFixedPoint ? &m_fixedPoint : nullptr,
                  m_scale.x(), m_scale.y());
}

// StackOrderCommand

StackOrderCommand::StackOrderCommand(QGraphicsScene *scene, const QString &text,
                                     QUndoCommand *parent)
    : TextCommand(text, parent)
{
    if (!scene)
        return;
    const QList<QGraphicsItem *> items = scene->items();
    for (QGraphicsItem *item : items) {
        if (item->type() > QGraphicsItem::UserType)
            m_changes.append({item, item->zValue(), item->zValue()});
    }
}

bool StackOrderCommand::recordNewOrder()
{
    QList<Change> changed;
    for (Change change : qAsConst(m_changes)) {
        change.newZ = change.item->zValue();
        if (change.newZ != change.oldZ)
            changed.append(change);
    }
    m_changes = changed;
    return !m_changes.isEmpty();
}

void StackOrderCommand::undo()
{
    for (const Change &change : qAsConst(m_changes))
        change.item->setZValue(change.oldZ);
}

void StackOrderCommand::redo()
{
    // Harmless the first time: the shapes already hold the new values.
    for (const Change &change : qAsConst(m_changes))
        change.item->setZValue(change.newZ);
}

// RotateShapeCommand

RotateShapeCommand::RotateShapeCommand(QGraphicsItem *item, qreal oldAngle, QUndoCommand *parent)
    : TextCommand(parent)
    , m_item(item)
    , m_oldAngle(oldAngle)
    , m_newAngle(item ? item->rotation() : oldAngle)
{
    setTextSource([] { return commandText("旋转对象"); });
}

void RotateShapeCommand::undo()
{
    if (m_item)
        m_item->setRotation(m_oldAngle);
}

void RotateShapeCommand::redo()
{
    // Harmless the first time: the item already has the new angle.
    if (m_item)
        m_item->setRotation(m_newAngle);
}

// ControlShapeCommand

ControlShapeCommand::ControlShapeCommand(QGraphicsItem *item, int handle, const QPointF &newPos,
                                         const QPointF &lastPos, QUndoCommand *parent)
    : TextCommand(parent)
    , m_item(item)
    , m_handle(handle)
    , m_oldPos(lastPos)
    , m_newPos(newPos)
{
    setTextSource([] { return commandText("调整对象形状"); });
}

void ControlShapeCommand::undo()
{
    if (auto *shape = singleShape(m_item)) {
        shape->moveControlPoint(m_handle, m_oldPos);
        shape->normalizeGeometry();
    }
}

void ControlShapeCommand::redo()
{
    if (m_skipFirstRedo) {
        m_skipFirstRedo = false;
        return;
    }
    if (auto *shape = singleShape(m_item)) {
        shape->moveControlPoint(m_handle, m_newPos);
        shape->normalizeGeometry();
    }
}

// GroupShapeCommand

GroupShapeCommand::GroupShapeCommand(QGraphicsItemGroup *group, QGraphicsScene *scene,
                                     QUndoCommand *parent)
    : TextCommand(parent)
    , m_items(groupMembers(group))
    , m_group(group)
    , m_scene(scene)
{
    setTextSource([] { return commandText("组合"); });
}

GroupShapeCommand::~GroupShapeCommand()
{
    if (m_undone)
        deleteUnowned({m_group});
}

void GroupShapeCommand::undo()
{
    if (!m_group)
        return;
    dissolveGroup(m_group, m_items, false);
    m_undone = true;
}

void GroupShapeCommand::redo()
{
    if (!m_group)
        return;
    // The first time, the scene has formed the group already.
    reformGroup(m_group, m_scene, m_undone ? m_items : QList<QGraphicsItem *>());
    m_undone = false;
}

// UnGroupShapeCommand

UnGroupShapeCommand::UnGroupShapeCommand(QGraphicsItemGroup *group, QGraphicsScene *scene,
                                         QUndoCommand *parent)
    : TextCommand(parent)
    , m_items(groupMembers(group))
    , m_group(group)
    , m_scene(scene)
{
    setTextSource([] { return commandText("取消组合"); });
}

UnGroupShapeCommand::~UnGroupShapeCommand()
{
    if (m_done)
        deleteUnowned({m_group});
}

void UnGroupShapeCommand::undo()
{
    if (!m_group)
        return;
    reformGroup(m_group, m_scene, m_items);
    m_done = false;
}

void UnGroupShapeCommand::redo()
{
    if (!m_group)
        return;
    // Leaving the group folds its transform into each member's; re-centring
    // gives the member back a box about its own origin.
    dissolveGroup(m_group, m_items, true);
    m_done = true;
}

// ModifyCommand

ModifyCommand::ModifyCommand(QObject *object, const QString &propertyName, QUndoCommand *parent)
    : TextCommand(parent)
    , m_propertyName(propertyName)
{
    setTextSource(modifyTextSource(object, propertyName));
    if (!object)
        return;
    m_objects.append(object);
    // Registry order matters when writing back: a position follows the size.
    m_names.append(propertyName.isEmpty() ? propertyNamesOf(object) : QStringList {propertyName});
    m_oldValues.append(currentValues(object, m_names.last()));
}

ModifyCommand::ModifyCommand(QObject *object, const QStringList &propertyNames,
                             QUndoCommand *parent)
    : TextCommand(parent)
    , m_propertyName(propertyNames.size() == 1 ? propertyNames.first() : QString())
{
    setTextSource(modifyTextSource(object, m_propertyName));
    if (!object)
        return;
    m_objects.append(object);
    m_names.append(propertyNames);
    m_oldValues.append(currentValues(object, propertyNames));
}

ModifyCommand::PropertyValues ModifyCommand::currentValues(const QObject *object,
                                                           const QStringList &names)
{
    PropertyValues values;
    for (const QString &name : names)
        values.append(object->property(name.toLatin1().constData()));
    return values;
}

void ModifyCommand::recordNewValues()
{
    m_newValues.clear();
    for (int i = 0; i < m_objects.size(); ++i) {
        const QObject *object = m_objects.at(i);
        m_newValues.append(object ? currentValues(object, m_names.at(i)) : m_oldValues.at(i));
    }
    m_armed = true;
}

bool ModifyCommand::changesObjectName() const
{
    for (const QStringList &names : m_names) {
        if (names.contains(QLatin1String("objectName")))
            return true;
    }
    return false;
}

void ModifyCommand::apply(const QList<PropertyValues> &values)
{
    for (int i = 0; i < m_objects.size() && i < values.size(); ++i) {
        QObject *object = m_objects.at(i);
        if (!object)
            continue;
        const QStringList &names = m_names.at(i);
        const PropertyValues &row = values.at(i);
        for (int j = 0; j < names.size(); ++j)
            object->setProperty(names.at(j).toLatin1().constData(), row.at(j));
    }
}

void ModifyCommand::undo()
{
    if (m_armed)
        apply(m_oldValues);
}

void ModifyCommand::redo()
{
    if (m_armed)
        apply(m_newValues);
}
