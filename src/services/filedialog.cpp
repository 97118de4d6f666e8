#include "filedialog.h"

#include "modalseam.h"

#include <QFileDialog>

namespace {

bool answered(ModalRequest::Kind kind, const QString &caption, const QString &dir,
              const QString &filter, QString *result)
{
    if (!ModalSeam::hasHandler())
        return false;
    ModalRequest request;
    request.kind = kind;
    request.title = caption;
    request.value = dir;
    request.filter = filter;
    const ModalAnswer answer = ModalSeam::answer(request);
    *result = answer.accepted ? answer.text : QString();
    return true;
}

} // namespace

QString FileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    QString result;
    if (answered(ModalRequest::OpenFile, caption, dir, filter, &result))
        return result;
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileDialog::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    QString result;
    if (answered(ModalRequest::SaveFile, caption, dir, filter, &result))
        return result;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString FileDialog::getExistingDirectory(QWidget *parent, const QString &caption,
                                         const QString &dir)
{
    QString result;
    if (answered(ModalRequest::Directory, caption, dir, QString(), &result))
        return result;
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}
