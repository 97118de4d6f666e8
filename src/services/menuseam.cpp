#include "menuseam.h"

#include <QAction>
#include <QMenu>

namespace {

MenuSeam::Handler &handlerSlot()
{
    static MenuSeam::Handler handler;
    return handler;
}

} // namespace

void MenuSeam::setHandler(Handler handler)
{
    handlerSlot() = std::move(handler);
}

bool MenuSeam::hasHandler()
{
    return bool(handlerSlot());
}

QAction *MenuSeam::exec(QMenu *menu, const QPoint &globalPos)
{
    const Handler &handler = handlerSlot();
    if (!handler)
        return menu->exec(globalPos);
    QAction *chosen = handler(menu, globalPos);
    // A disabled entry cannot be clicked.
    if (!chosen || !chosen->isEnabled())
        return nullptr;
    chosen->trigger();
    return chosen;
}
