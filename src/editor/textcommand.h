#pragma once

#include <QUndoCommand>

#include <functional>
#include <utility>

// An undo entry whose text can be made again. Texts fixed when the command
// was made kept the language of that moment in the Edit menu and the
// history after a switch; UserOptGroup remakes every text of every stack
// when the language changes.
class TextCommand : public QUndoCommand
{
public:
    using QUndoCommand::QUndoCommand;

    // make: the text in the language in force when it is called; a null
    // string keeps the text as it is (its subject is gone).
    void setTextSource(std::function<QString()> make)
    {
        m_make = std::move(make);
        retranslate();
    }

    void retranslate()
    {
        if (!m_make)
            return;
        const QString made = m_make();
        if (!made.isNull())
            setText(made);
    }

private:
    std::function<QString()> m_make;
};
