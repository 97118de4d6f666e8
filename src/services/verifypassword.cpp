#include "verifypassword.h"

#include "messagedialog.h"
#include "modalseam.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QString>

namespace {

const int MaxAttempts = 3;

// One prompt, pre-filled with *typed. On OK the answer replaces *typed and
// true is returned; false when the prompt was cancelled.
bool askPassword(const QString &title, const QString &label, QString *typed)
{
    if (ModalSeam::hasHandler()) {
        ModalRequest request;
        request.kind = ModalRequest::PasswordInput;
        request.title = title;
        request.text = label;
        request.value = *typed;
        const ModalAnswer answer = ModalSeam::answer(request);
        if (answer.accepted)
            *typed = answer.text;
        return answer.accepted;
    }
    bool ok = false;
    const QString text
        = QInputDialog::getText(nullptr, title, label, QLineEdit::Password, *typed, &ok);
    if (ok)
        *typed = text;
    return ok;
}

} // namespace

bool verifyPassword(const QString &password, const QString &title)
{
    if (password.isEmpty())
        return true;

    // Each prompt starts from the previous attempt, so a slip of one
    // character need not be typed again in full.
    QString typed;
    for (int left = MaxAttempts; left >= 1; --left) {
        const QString label
            = QCoreApplication::translate("VerifyPassword", "请输入密码(最大错误3次):\n\t剩余%1次")
                  .arg(left);
        if (!askPassword(title, label, &typed))
            break;
        if (typed == password)
            return true;
    }

    MessageDialog::showMessage(nullptr, QMessageBox::Critical,
                               QCoreApplication::translate("VerifyPassword", "错误"),
                               QCoreApplication::translate("VerifyPassword", "密码验证失败！"),
                               {QCoreApplication::translate("VerifyPassword", "确定")});
    return false;
}
