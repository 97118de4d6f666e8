#pragma once

#include <functional>

class QAction;
class QMenu;
class QPoint;

// Every context menu of the program pops up through here, as every modal
// dialog passes through ModalSeam. In normal use the menu runs modally with
// QMenu::exec, as a right click expects; tests install a handler that picks
// an entry (or none) at once, so no test ever blocks on a menu.
class MenuSeam
{
public:
    // Returns the action to choose, or null to dismiss the menu.
    using Handler = std::function<QAction *(QMenu *menu, const QPoint &globalPos)>;

    // Installs the handler that answers every menu from now on; an empty
    // handler restores QMenu::exec.
    static void setHandler(Handler handler);
    static bool hasHandler();

    // Pops up menu at a global position. Returns the action chosen, which
    // has been triggered as a click would trigger it, or null when the menu
    // was dismissed. A handler's choice that is disabled counts as a
    // dismissal.
    static QAction *exec(QMenu *menu, const QPoint &globalPos);
};
