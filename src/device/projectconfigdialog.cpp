#include "projectconfigdialog.h"

#include <QEvent>

ProjectConfigDialog::ProjectConfigDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    retranslate();
}

void ProjectConfigDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void ProjectConfigDialog::retranslate()
{
    setWindowTitle(tr("工程配置"));
}
