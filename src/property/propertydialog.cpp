#include "propertydialog.h"

#include <QEvent>

PropertyDialog::PropertyDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    retranslate();
}

void PropertyDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void PropertyDialog::retranslate()
{
    setWindowTitle(tr("属性"));
}
