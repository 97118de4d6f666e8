#include "textlibdialog.h"

#include <QEvent>

TextLibDialog::TextLibDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    retranslate();
}

void TextLibDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TextLibDialog::retranslate()
{
    setWindowTitle(tr("文本标签库"));
}
