#include "setbindingscommand.h"

#include "shapes/graphicsitem.h"
#include "useroptgroup.h"

#include <QCoreApplication>

SetBindingsCommand::SetBindingsCommand(QGraphicsItem *item, const QVector<Binding> &bindings,
                                       QUndoCommand *parent)
    : TextCommand(parent)
    , m_item(item)
    , m_oldBindings(shapeBindings(item))
{
    // Compared and restored as the shape will hold them.
    for (const Binding &binding : bindings)
        m_newBindings.append(binding.xmlSafe());
    // The same context as the other shape commands' texts.
    setTextSource([] { return QCoreApplication::translate("QObject", "修改对象数据"); });
}

void SetBindingsCommand::undo()
{
    setShapeBindings(m_item, m_oldBindings);
    // The views mark bound shapes; the mark comes and goes with the list.
    m_item->update();
}

void SetBindingsCommand::redo()
{
    setShapeBindings(m_item, m_newBindings);
    m_item->update();
}

bool SetBindingsCommand::apply(UserOptGroup *history, QObject *form, QGraphicsItem *item,
                               const QVector<Binding> &bindings)
{
    if (!history || !form || !shapeObject(item))
        return false;
    auto *command = new SetBindingsCommand(item, bindings);
    if (!command->changesBindings()) {
        delete command;
        return false;
    }
    history->pushFor(form, command);
    return true;
}
