#include "interfacefont.h"

#include <QCoreApplication>

QFont InterfaceFont::font()
{
    // The family is a translated text, so each language names a font that
    // has its characters; the catalogue keeps it under the application.
    return QFont(QCoreApplication::translate("Application", "微软雅黑"), 10, QFont::Normal, false);
}
