#pragma once

#include "textcommand.h"

#include <QList>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QGraphicsItem;
class QGraphicsItemGroup;
class QGraphicsScene;
class QObject;

// The undo entries of a screen. Callers make the change first and then push
// the command (through UserOptGroup::push); where a command's first redo()
// would repeat a change already made, it skips it.
//
// Ownership: commands hold raw pointers to shapes and scenes. A command owns
// a shape exactly while the command is in the state in which it took the
// shape out of the scene and the shape is in no scene and has no parent
// item; it deletes such shapes when it dies. In any other state the scene
// owns them and the destructor does not touch them at all, so a scene may
// be deleted before the stack that holds commands about its shapes, as long
// as no command is undone or redone after that. The main window therefore
// removes a form's stack before (or right after) deleting its scene.

// Shapes created by a drawing tool or by a paste.
// Owns its shapes while undone or never done (a discarded paste frees its
// copies).
class AddShapeCommand : public TextCommand
{
public:
    // A shape the tool has already added to scene: "创建对象".
    AddShapeCommand(QGraphicsItem *item, QGraphicsScene *scene, QUndoCommand *parent = nullptr);
    // Pasted copies, not yet in scene; the first redo() adds them. "复制对象"
    // for one, "批量复制对象" for more.
    AddShapeCommand(const QList<QGraphicsItem *> &items, QGraphicsScene *scene,
                    QUndoCommand *parent = nullptr);
    ~AddShapeCommand() override;

    void undo() override;
    // Adds the shapes that are in no scene and puts every shape back at the
    // position it had when the command was built.
    void redo() override;

    QList<QGraphicsItem *> items() const { return m_items; }

private:
    QGraphicsScene *m_scene;
    QList<QGraphicsItem *> m_items;
    QList<QPointF> m_positions;
    bool m_done = false;
};

// Deletes the scene's selection. The first redo() performs the removal.
// Owns the removed shapes while done.
class RemoveShapeCommand : public TextCommand
{
public:
    RemoveShapeCommand(QGraphicsScene *scene, QUndoCommand *parent = nullptr);
    ~RemoveShapeCommand() override;

    void undo() override;
    void redo() override;

    QList<QGraphicsItem *> items() const { return m_items; }

private:
    QList<QGraphicsItem *> m_items;
    QGraphicsScene *m_scene;
    bool m_done = false;
};

// A move already made, of one shape or of the whole selection.
// Owns nothing.
class MoveShapeCommand : public TextCommand
{
public:
    // One shape moved by delta: "移动对象".
    MoveShapeCommand(QGraphicsItem *item, const QPointF &delta, QUndoCommand *parent = nullptr);
    // The movable shapes of the scene's current selection moved by delta
    // (fixed ones never move in a batch): "批量移动对象".
    MoveShapeCommand(QGraphicsScene *scene, const QPointF &delta, QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;

private:
    void moveAll(const QPointF &delta);

    QGraphicsScene *m_scene;
    QGraphicsItem *m_item;
    QList<QGraphicsItem *> m_items;
    QPointF m_delta;
    bool m_skipFirstRedo = true;
};

// A resize already made through a box handle (dragged, or by an equal-size
// command), with scale holding the factors of the whole change. Undo scales
// back about the handle opposite that one. Owns nothing.
class ResizeShapeCommand : public TextCommand
{
public:
    enum { Id = 1 };

    ResizeShapeCommand(QGraphicsItem *item, int handle, const QPointF &scale,
                       QUndoCommand *parent = nullptr);

    // A gesture that turned the shape inside out leaves the fixed point
    // opposite another handle than the dragged one; undo then scales about
    // the point opposite this handle. 0 means the dragged handle.
    void setOppositeHandle(int handle) { m_oppositeHandle = handle; }
    // The scene point the gesture kept in place. Undo and redo then scale
    // about it instead of about a handle: the box handles of a point-list
    // shape lie on its stroke, which does not scale with the points, so no
    // handle of the resized shape marks the fixed point. A point that is not
    // finite is ignored.
    void setFixedPoint(const QPointF &scenePoint);

    int id() const override { return Id; }
    // Every gesture stays its own entry.
    bool mergeWith(const QUndoCommand *) override { return false; }
    void undo() override;
    void redo() override;

private:
    QGraphicsItem *m_item;
    int m_handle;
    int m_oppositeHandle = 0;
    QPointF m_fixedPoint;
    bool m_hasFixedPoint = false;
    QPointF m_scale;
    bool m_skipFirstRedo = true;
};

// A rotation already made; the item's rotation at construction is the new
// angle. Owns nothing.
class RotateShapeCommand : public TextCommand
{
public:
    RotateShapeCommand(QGraphicsItem *item, qreal oldAngle, QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;

private:
    QGraphicsItem *m_item;
    qreal m_oldAngle;
    qreal m_newAngle;
};

// A control handle (direction 9 or above) already dragged from lastPos to
// newPos, both in scene coordinates. Owns nothing.
class ControlShapeCommand : public TextCommand
{
public:
    enum { Id = 2 };

    ControlShapeCommand(QGraphicsItem *item, int handle, const QPointF &newPos,
                        const QPointF &lastPos, QUndoCommand *parent = nullptr);

    int id() const override { return Id; }
    bool mergeWith(const QUndoCommand *) override { return false; }
    void undo() override;
    void redo() override;

private:
    QGraphicsItem *m_item;
    int m_handle;
    QPointF m_oldPos;
    QPointF m_newPos;
    bool m_skipFirstRedo = true;
};

// A change of the stacking order of a scene's shapes, one Format command.
// Built before the change; recordNewOrder() takes the z values after it.
// Undo and redo put back the exact values of the shapes that changed.
// Owns nothing.
class StackOrderCommand : public TextCommand
{
public:
    StackOrderCommand(QGraphicsScene *scene, const QString &text, QUndoCommand *parent = nullptr);

    // Keeps the shapes whose z changed since construction with their old
    // and new values; false when none did (nothing worth an entry).
    bool recordNewOrder();

    void undo() override;
    void redo() override;

private:
    struct Change
    {
        QGraphicsItem *item;
        double oldZ;
        double newZ;
    };

    QList<Change> m_changes;
};

// A group already formed in scene from its current members. Undo dissolves
// it but keeps the group object, so redo brings back the same group.
// Owns the (then empty) group while undone.
class GroupShapeCommand : public TextCommand
{
public:
    GroupShapeCommand(QGraphicsItemGroup *group, QGraphicsScene *scene,
                      QUndoCommand *parent = nullptr);
    ~GroupShapeCommand() override;

    void undo() override;
    void redo() override;

private:
    QList<QGraphicsItem *> m_items;
    QGraphicsItemGroup *m_group;
    QGraphicsScene *m_scene;
    bool m_undone = false;
};

// Dissolves a group; the first redo() does it. The group object is kept out
// of the scene for undo. Owns the (then empty) group while done.
class UnGroupShapeCommand : public TextCommand
{
public:
    UnGroupShapeCommand(QGraphicsItemGroup *group, QGraphicsScene *scene,
                        QUndoCommand *parent = nullptr);
    ~UnGroupShapeCommand() override;

    void undo() override;
    void redo() override;

private:
    QList<QGraphicsItem *> m_items;
    QGraphicsItemGroup *m_group;
    QGraphicsScene *m_scene;
    bool m_done = false;
};

// A property edit, built before the value is written: "修改对象%1属性". An
// empty property name stands for every registered property of the object's
// class. undo() and redo() do nothing until recordNewValues() has run,
// which UserOptGroup::push does right after pushing. An object deleted in
// the meantime is skipped. Owns nothing.
class ModifyCommand : public TextCommand
{
public:
    ModifyCommand(QObject *object, const QString &propertyName, QUndoCommand *parent = nullptr);
    // Several properties of one object as one step, written in the order
    // given (a size before the position that depends on it).
    ModifyCommand(QObject *object, const QStringList &propertyNames,
                  QUndoCommand *parent = nullptr);

    // Takes the values the properties have now as the ones redo() writes,
    // and arms the command.
    void recordNewValues();
    // Whether undo and redo rename the object (the object list then needs
    // a refresh).
    bool changesObjectName() const;

    void undo() override;
    void redo() override;

private:
    // Values in the order of the object's names: a map would sort them, and
    // a position must be written after the size it depends on.
    using PropertyValues = QVariantList;

    static PropertyValues currentValues(const QObject *object, const QStringList &names);
    void apply(const QList<PropertyValues> &values);

    // One entry per object in each list.
    QList<QPointer<QObject>> m_objects;
    QString m_propertyName;
    QList<QStringList> m_names;
    QList<PropertyValues> m_oldValues;
    QList<PropertyValues> m_newValues;
    bool m_armed = false;
};
