#pragma once

#include "model/binding.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>

class DrawManager;
class QGraphicsItem;

// What a rename of a tag, a screen or a device did to the bindings of a
// project's shapes: each changed shape's list before and after, to put back
// on undo and again on redo. Shapes are held weakly: one deleted since (its
// screen closed or removed) is passed over.
class BindingRewrite
{
public:
    // Old name -> new name. Applied once per field, so that names swapped
    // in one edit (A -> B, B -> A) swap.
    using Renames = QHash<QString, QString>;

    // Runs edit over every binding of every shape on the screens (group
    // members included) and gives each shape whose bindings it changed the
    // new list at once. edit returns whether it changed the binding.
    // keptEdit, when given, runs over each "binding" element the shapes
    // keep unread (kinds this version does not know): those name tags and
    // screens too, and a rename that passed them by would leave them
    // naming what no longer exists.
    static BindingRewrite apply(DrawManager *screens, const std::function<bool(Binding &)> &edit,
                                const std::function<bool(UnknownElement &)> &keptEdit = {});

    // The sources naming an address tag of renames.
    static BindingRewrite renameAddressTags(DrawManager *screens, const Renames &renames);
    // The text tags of text state bindings.
    static BindingRewrite renameTextTags(DrawManager *screens, const Renames &renames);
    // The screens of actions that switch to, open or close one.
    static BindingRewrite renameScreen(DrawManager *screens, const QString &from, const QString &to);
    // The device of sources entered directly, as the tag cells store it.
    static BindingRewrite renameDevice(DrawManager *screens, const QString &from, const QString &to);
    static BindingRewrite renameDevices(DrawManager *screens, const Renames &renames);

    bool isEmpty() const { return m_shapes.isEmpty(); }
    // How many shapes changed.
    int size() const { return m_shapes.size(); }

    void undo() const { put(false); }
    void redo() const { put(true); }

private:
    struct Shape
    {
        QPointer<QObject> object; // the item's QObject side, to know it still lives
        QGraphicsItem *item = nullptr;
        QVector<Binding> before;
        QVector<Binding> after;
        // Only when a kept binding changed: most shapes keep nothing, and a
        // rename of ten thousand bindings should not copy ten thousand
        // empty records twice.
        bool keptChanged = false;
        KeptContent keptBefore;
        KeptContent keptAfter;
    };

    void put(bool after) const;

    QVector<Shape> m_shapes;
};
