#include "newprojectdialog.h"

#include <QEvent>

NewProjectDialog::NewProjectDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    retranslate();
}

void NewProjectDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void NewProjectDialog::retranslate()
{
    setWindowTitle(tr("创建新工程"));
}
