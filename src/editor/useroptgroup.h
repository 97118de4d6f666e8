#pragma once

#include <QHash>
#include <QPointer>
#include <QUndoGroup>
#include <QUndoStack>

class QUndoCommand;

// The undo history of the project: one stack per form (a screen's scene or
// a script), the active one following the current tab, beside the project's
// own history.
// One instance per process.
//
// The group owns the stacks (they are its children) and each stack owns its
// commands. A form's stack dies when the form is removed or destroyed; no
// command may be undone or redone once the form's scene is gone (see
// shapecommands.h).
class UserOptGroup : public QUndoGroup
{
    Q_OBJECT
public:
    // Each form's history is limited to this many entries; the oldest ones
    // are dropped.
    static constexpr int UndoLimit = 20;

    // Creates the group on the first call (or after its owner destroyed it),
    // parented to parent (may be null).
    static UserOptGroup *instance(QObject *parent = nullptr);

    // The form's stack, created (with the undo limit, in this group, not
    // active) the first time a form asks. Null for a null form.
    QUndoStack *stackFor(QObject *form);
    // Makes the form's stack (created if needed) the active one and the
    // form the shown one; a null form makes the project's history active.
    void setActiveForm(QObject *form);
    // The edits of the shown form and the project's own changes are one
    // history in time: Ctrl+Z takes back the step done last in either, and
    // Ctrl+Y brings back the step undone last. The history of that step
    // (the active one when neither has any).
    QUndoStack *undoTarget() const;
    QUndoStack *redoTarget() const;
    // Undoes (redoes) the step of undoTarget() (redoTarget()), whose
    // history becomes the active one.
    void undoLatest();
    void redoLatest();
    // The history of the project's own data (not owned): active whenever no
    // form is. Replaces the previous one, which leaves the group.
    void setProjectStack(QUndoStack *stack);
    QUndoStack *projectStack() const { return m_projectStack; }
    // Deletes the form's stack and with it its commands. Nothing happens for
    // a form without a stack. A destroyed form is removed the same way.
    void removeForm(QObject *form);

    // Pushes command onto the shown form's stack (the active one when no
    // form is shown), which becomes the active one, takes ownership and runs
    // its redo(). The command is deleted unpushed when apply is false or no
    // stack is active. A ModifyCommand then records the values its object
    // holds now as the values redo() writes back.
    void push(QUndoCommand *command, bool apply = true);
    // As push(), onto form's own stack, which need not be the active one (a
    // screen edited from the project tree). Deleted unpushed for a null form.
    void pushFor(QObject *form, QUndoCommand *command);

    // Remakes the text of every command on every stack in the language in
    // force now, and tells the menus and the history. Done by itself, once
    // the events then waiting are handled, when the application's language
    // changes.
    void retranslate();

signals:
    // A history moved: undoTarget() and redoTarget() may give another step.
    void historyChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pushOnto(QUndoStack *stack, QUndoCommand *command, bool apply);

    QPointer<QUndoStack> m_projectStack;
    QPointer<QObject> m_shownForm;
    // The shown form's history, the project's and the active one, once each.
    QList<QUndoStack *> reachableStacks() const;
    // Of those, the one whose next step to undo was done last (undo), or
    // whose next step to redo was undone last.
    QUndoStack *latestStack(bool undo) const;
    // Undoes (redoes) the step of latestStack(undo), activating its history.
    void stepLatest(bool undo);
    // Stamps the steps of stack with the time they are done and undone.
    void watch(QUndoStack *stack);
    quint64 m_clock = 0;
    // By step (its address only: a step may be gone by now).
    QHash<const QUndoCommand *, quint64> m_doneAt;
    QHash<const QUndoCommand *, quint64> m_undoneAt;
    QHash<const QUndoStack *, int> m_indexes;

    explicit UserOptGroup(QObject *parent);

    QHash<QObject *, QUndoStack *> m_stacks;
    bool m_retranslatePending = false;
};
