#include "lineedit.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

LineEdit::LineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // Without Unicode properties \w only knows ASCII letters, which would
    // refuse the dialogs' own proposals such as "变量_1".
    const QRegularExpression rule(QStringLiteral("^\\w.+"),
                                  QRegularExpression::UseUnicodePropertiesOption);
    setValidator(new QRegularExpressionValidator(rule, this));
}
