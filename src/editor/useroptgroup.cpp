#include "useroptgroup.h"

#include "shapecommands.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QUndoStack>

UserOptGroup *UserOptGroup::instance(QObject *parent)
{
    // Held weakly: the group dies with the window that owns it, and the next
    // window to ask gets a fresh one instead of a dangling pointer.
    static QPointer<UserOptGroup> group;
    if (!group)
        group = new UserOptGroup(parent);
    return group;
}

UserOptGroup::UserOptGroup(QObject *parent)
    : QUndoGroup(parent)
{
    // A new catalogue is announced to the application object alone; the
    // windows hear of it later, through posted events.
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
}

bool UserOptGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && watched == QCoreApplication::instance()
        && !m_retranslatePending) {
        // Later, not now: the names of properties in the texts follow the
        // language only once the caller has refreshed the configuration.
        m_retranslatePending = true;
        QMetaObject::invokeMethod(this, &UserOptGroup::retranslate, Qt::QueuedConnection);
    }
    return QUndoGroup::eventFilter(watched, event);
}

void UserOptGroup::retranslate()
{
    m_retranslatePending = false;
    for (QUndoStack *stack : stacks()) {
        for (int i = 0; i < stack->count(); ++i) {
            // Pushed commands are the stack's; only their texts change.
            auto *command = dynamic_cast<const TextCommand *>(stack->command(i));
            if (command)
                const_cast<TextCommand *>(command)->retranslate();
        }
    }
    // Neither the menus nor the history view hear of a changed text; a
    // change of the active stack makes both read the texts again.
    QUndoStack *active = activeStack();
    if (active) {
        setActiveStack(nullptr);
        setActiveStack(active);
    }
}

QUndoStack *UserOptGroup::stackFor(QObject *form)
{
    if (!form)
        return nullptr;
    QUndoStack *stack = m_stacks.value(form);
    if (stack)
        return stack;

    stack = new QUndoStack(this);
    stack->setUndoLimit(UndoLimit);
    addStack(stack);
    watch(stack);
    m_stacks.insert(form, stack);
    // Only the address is used once the form is gone, as the map key.
    connect(form, &QObject::destroyed, this, [this, form] { removeForm(form); });
    return stack;
}

void UserOptGroup::setActiveForm(QObject *form)
{
    m_shownForm = form;
    setActiveStack(form ? stackFor(form) : m_projectStack.data());
}

QList<QUndoStack *> UserOptGroup::reachableStacks() const
{
    QList<QUndoStack *> reachable;
    for (QUndoStack *stack : {m_shownForm ? m_stacks.value(m_shownForm) : nullptr,
                              m_projectStack.data(), activeStack()}) {
        if (stack && !reachable.contains(stack))
            reachable.append(stack);
    }
    return reachable;
}

QUndoStack *UserOptGroup::latestStack(bool undo) const
{
    QUndoStack *latest = nullptr;
    quint64 latestAt = 0;
    for (QUndoStack *stack : reachableStacks()) {
        if (undo ? !stack->canUndo() : !stack->canRedo())
            continue;
        const quint64 at = undo ? m_doneAt.value(stack->command(stack->index() - 1))
                                : m_undoneAt.value(stack->command(stack->index()));
        if (!latest || at > latestAt) {
            latest = stack;
            latestAt = at;
        }
    }
    return latest ? latest : activeStack();
}

QUndoStack *UserOptGroup::undoTarget() const
{
    return latestStack(true);
}

QUndoStack *UserOptGroup::redoTarget() const
{
    return latestStack(false);
}

void UserOptGroup::undoLatest()
{
    stepLatest(true);
}

void UserOptGroup::redoLatest()
{
    stepLatest(false);
}

void UserOptGroup::stepLatest(bool undo)
{
    QUndoStack *target = latestStack(undo);
    if (!target || !(undo ? target->canUndo() : target->canRedo()))
        return;
    if (target != activeStack())
        setActiveStack(target);
    if (undo)
        target->undo();
    else
        target->redo();
}

void UserOptGroup::watch(QUndoStack *stack)
{
    m_indexes.insert(stack, stack->index());
    connect(stack, &QUndoStack::indexChanged, this, [this, stack](int index) {
        const int before = m_indexes.value(stack, 0);
        m_indexes.insert(stack, index);
        if (index < before) {
            // Undone, the lowest last: it is the first to come back.
            for (int i = before - 1; i >= index; --i)
                m_undoneAt.insert(stack->command(i), ++m_clock);
        } else if (index > before) {
            for (int i = before; i < index; ++i)
                m_doneAt.insert(stack->command(i), ++m_clock);
        } else if (index > 0) {
            // Merged into the step on top: that step was just done again.
            m_doneAt.insert(stack->command(index - 1), ++m_clock);
        }
        emit historyChanged();
    });
    connect(stack, &QObject::destroyed, this, [this, stack] { m_indexes.remove(stack); });
}

void UserOptGroup::setProjectStack(QUndoStack *stack)
{
    if (stack == m_projectStack)
        return;
    const bool wasActive = m_projectStack && activeStack() == m_projectStack;
    if (m_projectStack)
        removeStack(m_projectStack);
    m_projectStack = stack;
    if (!stack)
        return;
    addStack(stack);
    if (!m_indexes.contains(stack))
        watch(stack);
    if (wasActive || !activeStack())
        setActiveStack(stack);
}

void UserOptGroup::removeForm(QObject *form)
{
    QUndoStack *stack = m_stacks.take(form);
    if (!stack)
        return;
    // A form removed by hand may live on and come back; it must not carry
    // a second destroyed connection then.
    disconnect(form, &QObject::destroyed, this, nullptr);
    removeStack(stack);
    delete stack;
}

void UserOptGroup::push(QUndoCommand *command, bool apply)
{
    // An edit of the shown form belongs to its history even while the
    // project's is active (right after a dialog's change), and is then what
    // Ctrl+Z takes back first.
    QUndoStack *stack = m_shownForm ? stackFor(m_shownForm) : activeStack();
    if (stack && apply && command && stack != activeStack())
        setActiveStack(stack);
    pushOnto(stack, command, apply);
}

void UserOptGroup::pushFor(QObject *form, QUndoCommand *command)
{
    pushOnto(stackFor(form), command, true);
}

void UserOptGroup::pushOnto(QUndoStack *stack, QUndoCommand *command, bool apply)
{
    if (!command)
        return;
    if (!apply || !stack) {
        delete command;
        return;
    }
    // Looked up before the push: a command that merges is deleted by it.
    auto *modify = dynamic_cast<ModifyCommand *>(command);
    stack->push(command);
    if (modify) {
        modify->recordNewValues();
        modify->redo();
    }
}
