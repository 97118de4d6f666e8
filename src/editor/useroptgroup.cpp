#include "useroptgroup.h"

#include <QPointer>

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
}
