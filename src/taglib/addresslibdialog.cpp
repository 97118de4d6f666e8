#include "addresslibdialog.h"

#include <QEvent>

AddressLibDialog::AddressLibDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    retranslate();
}

void AddressLibDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void AddressLibDialog::retranslate()
{
    setWindowTitle(tr("地址标签库"));
}
