#include "shapeclone.h"

#include "graphicsitem.h"
#include "graphicsitemgroup.h"

namespace {

// clone() leaves names out; it keeps the member order, so members pair up
// by position.
void copyNames(QGraphicsItem *source, QGraphicsItem *copy)
{
    QObject *from = shapeObject(source);
    QObject *to = shapeObject(copy);
    if (from && to)
        to->setObjectName(from->objectName());
    auto *sourceGroup = dynamic_cast<GraphicsItemGroup *>(source);
    auto *copyGroup = dynamic_cast<GraphicsItemGroup *>(copy);
    if (!sourceGroup || !copyGroup)
        return;
    const QList<QGraphicsItem *> sourceMembers = sourceGroup->members();
    const QList<QGraphicsItem *> copyMembers = copyGroup->members();
    if (sourceMembers.size() != copyMembers.size())
        return;
    for (int i = 0; i < sourceMembers.size(); ++i)
        copyNames(sourceMembers.at(i), copyMembers.at(i));
}

} // namespace

QGraphicsItem *cloneWithNames(QGraphicsItem *item)
{
    QGraphicsItem *copy = nullptr;
    if (auto *shape = singleShape(item))
        copy = shape->clone();
    else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
        copy = group->clone();
    if (copy)
        copyNames(item, copy);
    return copy;
}
