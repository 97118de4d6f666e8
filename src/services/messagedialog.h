#pragma once

#include <QMessageBox>
#include <QStringList>

class QWidget;

// The program's only way to show a message box.
class MessageDialog
{
public:
    // Shows a modal, fixed-size message box and returns the standard button
    // pressed: QMessageBox::Yes, No or Cancel. One button text gives a single
    // Yes button; two give Yes (default) and No (Escape); three give Yes
    // (default), No and Cancel (Escape). parent may be null.
    static int showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                           const QString &text, const QStringList &buttonTexts);
};
