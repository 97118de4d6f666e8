#include "messagedialog.h"

#include "modalseam.h"

#include <QPushButton>

int MessageDialog::showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                               const QString &text, const QStringList &buttonTexts)
{
    if (ModalSeam::hasHandler()) {
        ModalRequest request;
        request.kind = ModalRequest::Message;
        request.icon = icon;
        request.title = title;
        request.text = text;
        request.buttons = buttonTexts;
        return ModalSeam::answer(request).button;
    }

    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    const QMessageBox::StandardButton codes[] = {QMessageBox::Yes, QMessageBox::No,
                                                 QMessageBox::Cancel};
    const int count = qBound(1, int(buttonTexts.size()), 3);
    for (int i = 0; i < count; ++i) {
        QAbstractButton *button = box.addButton(codes[i]);
        if (i < buttonTexts.size())
            button->setText(buttonTexts.at(i));
    }
    box.setDefaultButton(QMessageBox::Yes);
    if (count == 2)
        box.setEscapeButton(QMessageBox::No);
    else if (count == 3)
        box.setEscapeButton(QMessageBox::Cancel);
    return box.exec();
}
