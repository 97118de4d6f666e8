#pragma once

#include "boundshape.h"

#include <QBrush>
#include <QHash>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <vector>

class DrawScene;
class QGraphicsItem;
class QGraphicsRectItem;
class RegisterMemory;

// One screen of the project as a running simulation shows it: copies of
// its shapes under one item that paints the screen's fill, made the first
// time the screen is shown (a project holds many screens an operator may
// never open). The editor's screen and shapes are only read.
//
// The copy owns its item and everything below it. The item is in the stage
// while the screen is shown and out of every scene otherwise.
class ScreenCopy
{
public:
    // Takes the screen's name, type, size and fill now; the shapes when
    // first asked for.
    explicit ScreenCopy(DrawScene *source);
    ~ScreenCopy();
    ScreenCopy(const ScreenCopy &) = delete;
    ScreenCopy &operator=(const ScreenCopy &) = delete;

    QString name() const { return m_name; }
    int type() const { return m_type; }
    QSizeF size() const { return m_size; }

    // The item holding the copies, made with them on first use; sources
    // are looked up in memory then. A screen deleted from the editor
    // before then comes out empty.
    QGraphicsRectItem *root(const RegisterMemory &memory);
    bool isCopied() const { return m_root != nullptr; }

    // The copied shapes that have bindings, bottom first (empty until
    // copied); the entry of a shape or group of this copy, or null.
    std::vector<BoundShape> &boundShapes() { return m_bound; }
    BoundShape *boundShape(QGraphicsItem *item);
    // The first shape or group named name, members of groups included;
    // null when none is (or the screen is not copied yet).
    QGraphicsItem *findShape(const QString &name) const;
    // Whether item is one of this copy's shapes or groups (at any depth).
    bool holds(const QGraphicsItem *item) const;

private:
    void copyShapes(const RegisterMemory &memory);

    QPointer<DrawScene> m_source;
    QString m_name;
    int m_type;
    QSizeF m_size;
    QBrush m_brush;
    QGraphicsRectItem *m_root = nullptr;
    std::vector<BoundShape> m_bound;
    QHash<QGraphicsItem *, int> m_boundIndex;
    QHash<QString, QGraphicsItem *> m_names;
};
