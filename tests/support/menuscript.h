#pragma once

#include "services/menuseam.h"

#include <QAction>
#include <QMenu>
#include <QQueue>

// Answers context menus for the lifetime of the object: each menu shown
// picks the next queued entry by its text, searched in submenus too, and a
// menu with nothing queued is dismissed. The menus shown are kept.
class MenuScript
{
public:
    MenuScript()
    {
        MenuSeam::setHandler([this](QMenu *menu, const QPoint &) -> QAction * {
            m_shown.append(menu);
            return m_choices.isEmpty() ? nullptr : find(menu, m_choices.dequeue());
        });
    }
    ~MenuScript() { MenuSeam::setHandler({}); }

    void choose(const QString &text) { m_choices.enqueue(text); }

    const QList<QMenu *> &shown() const { return m_shown; }
    int pending() const { return m_choices.size(); }

    static QAction *find(QMenu *menu, const QString &text)
    {
        for (QAction *action : menu->actions()) {
            if (action->text() == text)
                return action;
            if (QMenu *sub = action->menu()) {
                if (QAction *found = find(sub, text))
                    return found;
            }
        }
        return nullptr;
    }

private:
    QQueue<QString> m_choices;
    QList<QMenu *> m_shown;
};
