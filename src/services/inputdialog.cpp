#include "inputdialog.h"

#include "modalseam.h"

#include <QInputDialog>

QString InputDialog::getText(QWidget *parent, const QString &title, const QString &label,
                             const QString &text, bool *ok)
{
    bool accepted = false;
    QString result;
    if (ModalSeam::hasHandler()) {
        ModalRequest request;
        request.kind = ModalRequest::TextInput;
        request.title = title;
        request.text = label;
        request.value = text;
        const ModalAnswer answer = ModalSeam::answer(request);
        accepted = answer.accepted;
        result = answer.text;
    } else {
        result = QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &accepted);
    }
    if (ok)
        *ok = accepted;
    return accepted ? result : QString();
}
