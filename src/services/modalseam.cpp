#include "modalseam.h"

#include <QDialog>

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

int ModalSeam::runDialog(QDialog *dialog, const std::function<void()> &ok,
                         const std::function<void()> &cancel)
{
    if (!hasHandler())
        return dialog->exec();
    dialog->setResult(QDialog::Rejected);
    ModalRequest request;
    request.kind = ModalRequest::Dialog;
    request.title = dialog->windowTitle();
    if (answer(request).accepted)
        ok();
    else
        cancel();
    return dialog->result();
}
