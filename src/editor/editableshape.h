#pragma once

#include "shapes/abstractshapetype.h"

#include <QGraphicsItemGroup>

// What the tools need from the item they edit, whether it is a single shape
// or a group (two different instantiations of AbstractShapeType). Does not
// own the item. For any other item (or null) there are no handles, the
// editing calls do nothing, and fixe() follows the item's movable flag.
class EditableShape
{
public:
    explicit EditableShape(QGraphicsItem *item)
        : m_item(item)
        , m_single(dynamic_cast<AbstractShapeType<QGraphicsItem> *>(item))
        , m_group(dynamic_cast<AbstractShapeType<QGraphicsItemGroup> *>(item))
    { }

    QGraphicsItem *item() const { return m_item; }

    // The shape's own AbstractShapeType::handleAt: a hidden handle is
    // never hit.
    SizeHandleRect *handleAt(const QPointF &scenePoint) const
    {
        if (m_single)
            return m_single->handleAt(scenePoint);
        return m_group ? m_group->handleAt(scenePoint) : nullptr;
    }
    // Direction of the handle under the scene point; 0 when none is hit.
    int handleDirAt(const QPointF &scenePoint) const
    {
        const SizeHandleRect *handle = handleAt(scenePoint);
        return handle ? handle->dir() : 0;
    }

    // Position (shape coordinates) of the handle with direction dir;
    // (0, 0) when there is none.
    QPointF handlePosition(int dir) const
    {
        if (m_single)
            return m_single->handlePosition(dir);
        return m_group ? m_group->handlePosition(dir) : QPointF();
    }
    QPointF oppositeHandlePosition(int dir) const
    {
        if (m_single)
            return m_single->oppositeHandlePosition(dir);
        return m_group ? m_group->oppositeHandlePosition(dir) : QPointF();
    }
    void scaleFromHandle(int handle, double sx, double sy, const QPointF &origin)
    {
        if (m_single)
            m_single->scaleFromHandle(handle, sx, sy, origin);
        else if (m_group)
            m_group->scaleFromHandle(handle, sx, sy, origin);
    }
    void moveControlPoint(int handle, const QPointF &point)
    {
        if (m_single)
            m_single->moveControlPoint(handle, point);
        else if (m_group)
            m_group->moveControlPoint(handle, point);
    }
    void normalizeGeometry()
    {
        if (m_single)
            m_single->normalizeGeometry();
        else if (m_group)
            m_group->normalizeGeometry();
    }
    bool fixe() const
    {
        if (m_single)
            return m_single->fixe();
        if (m_group)
            return m_group->fixe();
        return !m_item || !(m_item->flags() & QGraphicsItem::ItemIsMovable);
    }

private:
    QGraphicsItem *m_item;
    AbstractShapeType<QGraphicsItem> *m_single;
    AbstractShapeType<QGraphicsItemGroup> *m_group;
};
