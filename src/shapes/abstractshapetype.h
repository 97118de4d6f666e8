#pragma once

#include "model/binding.h"
#include "sizehandlerect.h"

#include <QGraphicsItem>
#include <QRectF>
#include <QString>
#include <QVariantList>
#include <QVector>

class QXmlStreamReader;
class QXmlStreamWriter;

// What every shape offers the scene, the tools and the undo commands,
// whatever Qt item class it is built on (QGraphicsItem for single shapes,
// QGraphicsItemGroup for groups).
template<typename BaseType>
class AbstractShapeType : public BaseType
{
public:
    explicit AbstractShapeType(QGraphicsItem *parent = nullptr)
        : BaseType(parent)
    { }
    ~AbstractShapeType() override
    {
        // Attached handles are child items, deleted by ~QGraphicsItem.
        for (SizeHandleRect *h : qAsConst(m_handles)) {
            if (!h->isAttached())
                delete h;
        }
    }

    // The type name for display ("rectangle", "group", ..., translated).
    virtual QString typeName() const { return QStringLiteral("AbstractType"); }
    // The element name in the project file, from the untranslated table of
    // shapeelement.h.
    virtual QString elementName() const = 0;
    // A control handle (direction 9 or above) was dragged to point (scene).
    virtual void moveControlPoint(int handle, const QPointF &point)
    {
        Q_UNUSED(handle)
        Q_UNUSED(point)
    }
    // Resizes by factors about a fixed point given in the shape's own
    // coordinates (as oppositeHandlePosition gives it), always starting from
    // the geometry at the end of the last edit.
    virtual void scaleFromHandle(int handle, double sx, double sy, const QPointF &origin)
    {
        Q_UNUSED(handle)
        Q_UNUSED(sx)
        Q_UNUSED(sy)
        Q_UNUSED(origin)
    }
    virtual QRectF localRect() const { return m_localRect; }
    // Re-expresses the geometry around the item origin without moving the
    // shape on screen; ends every interactive change.
    virtual void normalizeGeometry() { }
    // What normalizeGeometry() may change besides the item's placement, to
    // be put back exactly by restoreGeometry(): a pass that re-expresses
    // shapes only to write them must leave them as they were, to the bit.
    virtual QVariantList geometryState() const { return {}; }
    virtual void restoreGeometry(const QVariantList &state) { Q_UNUSED(state) }
    virtual void translateBy(const QPointF &delta) { Q_UNUSED(delta) }
    // A new shape of the same kind, not in any scene; the caller takes
    // ownership. Null when the shape cannot be copied.
    virtual QGraphicsItem *clone() { return nullptr; }
    virtual int handleCount() const { return handles().size(); }
    virtual bool readXml(QXmlStreamReader *reader) = 0;
    virtual bool writeXml(QXmlStreamWriter *writer) = 0;

    // Position (shape coordinates) of the last handle with direction dir;
    // (0, 0) when there is none.
    virtual QPointF handlePosition(int dir) const
    {
        ensureHandles();
        for (int i = m_handles.size() - 1; i >= 0; --i) {
            if (m_handles.at(i)->dir() == dir)
                return m_handles.at(i)->pos();
        }
        return QPointF();
    }
    // For box directions 1..8, the opposite box handle's position.
    virtual QPointF oppositeHandlePosition(int dir) const
    {
        if (!SizeHandleRect::isBoxDirection(dir))
            return QPointF();
        ensureHandles();
        const int index = (dir + 3) % 8;
        return index < m_handles.size() ? m_handles.at(index)->pos() : QPointF();
    }
    virtual void updateHandles() { }
    virtual bool fixe() const { return !(this->flags() & QGraphicsItem::ItemIsMovable); }
    virtual void setFixe(bool fixed) { this->setFlag(QGraphicsItem::ItemIsMovable, !fixed); }

    // What ties the shape to the machine, in the order the user gave.
    const QVector<Binding> &bindings() const { return m_bindings; }
    // Texts are made fit for the file on the way in, as every text entered
    // is: a character XML cannot hold would make the saved project unreadable.
    void setBindings(const QVector<Binding> &bindings)
    {
        m_bindings.clear();
        m_bindings.reserve(bindings.size());
        for (const Binding &binding : bindings)
            m_bindings.append(binding.xmlSafe());
    }

    const QVector<SizeHandleRect *> &handles() const
    {
        ensureHandles();
        return m_handles;
    }
    // The shown handle under a scene point, searched from the last one so
    // that later handles win where they overlap; null when none is hit.
    SizeHandleRect *handleAt(const QPointF &scenePoint) const
    {
        ensureHandles();
        for (int i = m_handles.size() - 1; i >= 0; --i) {
            SizeHandleRect *h = m_handles.at(i);
            if (h->isVisible() && h->hitTest(scenePoint))
                return h;
        }
        return nullptr;
    }
    void setHandlesState(int state)
    {
        // Handles never made need not be made to stay hidden.
        if (state == SizeHandleRect::Hidden && !m_handlesMade)
            return;
        ensureHandles();
        for (SizeHandleRect *h : qAsConst(m_handles))
            h->setState(state);
    }

protected:
    // Makes the shape's handles, in direction order, when they are first
    // needed: a loaded project holds tens of thousands of shapes, and most
    // are never selected. Overrides append to m_handles.
    virtual void createHandles()
    {
        for (int dir = SizeHandleRect::TopLeft; dir <= SizeHandleRect::Left; ++dir)
            m_handles.append(new SizeHandleRect(this, dir, SizeHandleRect::BoxHandle));
    }
    bool handlesMade() const { return m_handlesMade; }
    // Puts the box handles (directions 1..8, clockwise from the top-left
    // corner) on the corners and edge middles of r; other handles stay.
    void placeBoxHandles(const QRectF &r)
    {
        const double midX = r.x() + r.width() / 2;
        const double midY = r.y() + r.height() / 2;
        const QPointF points[]
            = {r.topLeft(),     QPointF(midX, r.y()),      r.topRight(),   QPointF(r.right(), midY),
               r.bottomRight(), QPointF(midX, r.bottom()), r.bottomLeft(), QPointF(r.x(), midY)};
        for (SizeHandleRect *handle : qAsConst(m_handles)) {
            const int dir = handle->dir();
            if (SizeHandleRect::isBoxDirection(dir))
                handle->move(points[dir - 1].x(), points[dir - 1].y());
        }
    }
    // Creates the handles if they do not exist yet and places them. Never
    // from a constructor: createHandles() would not reach the subclass.
    void ensureHandles() const
    {
        if (m_handlesMade)
            return;
        auto *self = const_cast<AbstractShapeType *>(this);
        self->m_handlesMade = true;
        self->createHandles();
        self->updateHandles();
    }

    // Made on first need, loose until first shown, then child items (see
    // SizeHandleRect). Empty until made; every update of handle positions
    // only walks what exists.
    QVector<SizeHandleRect *> m_handles;
    QRectF m_localRect;
    QVector<Binding> m_bindings;
    double m_width = 0;
    double m_height = 0;

private:
    bool m_handlesMade = false;
};
