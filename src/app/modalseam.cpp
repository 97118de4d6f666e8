#include "modalseam.h"

namespace {

ModalSeam::Handler &handlerSlot()
{
    static ModalSeam::Handler handler;
    return handler;
}

QVector<ModalRequest> &historySlot()
{
    static QVector<ModalRequest> history;
    return history;
}

} // namespace

void ModalSeam::setHandler(Handler handler)
{
    handlerSlot() = std::move(handler);
    historySlot().clear();
}

bool ModalSeam::hasHandler()
{
    return bool(handlerSlot());
}

ModalAnswer ModalSeam::answer(const ModalRequest &request)
{
    historySlot().append(request);
    return handlerSlot()(request);
}

const QVector<ModalRequest> &ModalSeam::history()
{
    return historySlot();
}
