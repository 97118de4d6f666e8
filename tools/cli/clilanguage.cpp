#include "clilanguage.h"

#include "model/builtintables.h"
#include "services/appsettings.h"
#include "services/commandlinehelp.h"

#include <QCoreApplication>
#include <QTranslator>

void installCliLanguage()
{
    if (CommandLineHelp::wantsChinese(QProcessEnvironment::systemEnvironment()))
        return;
    // Lives as long as the application; the catalogue is the one built into
    // the editor, so both say the same thing in the same words.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/en_US_app")))
        QCoreApplication::installTranslator(translator);
    AppSettings::instance()->setLanguage(1);
    BuiltinTables::instance()->retranslate();
}
