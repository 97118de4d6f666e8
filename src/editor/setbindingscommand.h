#pragma once

#include "model/binding.h"
#include "textcommand.h"

#include <QVector>

class QGraphicsItem;
class QObject;
class UserOptGroup;

// A change of one shape's (or group's) bindings as one step: "修改对象数据".
// redo() sets the new list and undo() the one the shape held when the
// command was built, each exactly as it was. Owns nothing; like the other
// shape commands it holds the shape by a raw pointer (see shapecommands.h).
class SetBindingsCommand : public TextCommand
{
public:
    SetBindingsCommand(QGraphicsItem *item, const QVector<Binding> &bindings,
                       QUndoCommand *parent = nullptr);

    // Whether redo() changes anything: a list equal to the shape's own is
    // no step.
    bool changesBindings() const { return m_oldBindings != m_newBindings; }

    void undo() override;
    void redo() override;

    // Gives item bindings as one step on form's history (the screen's, shown
    // or not); false, with nothing pushed, when item is no shape or already
    // holds them.
    static bool apply(UserOptGroup *history, QObject *form, QGraphicsItem *item,
                      const QVector<Binding> &bindings);

private:
    QGraphicsItem *m_item;
    QVector<Binding> m_oldBindings;
    QVector<Binding> m_newBindings;
};
