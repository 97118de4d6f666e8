#include "clilanguage.h"

#include "project/config.h"

#include <QCoreApplication>
#include <QTranslator>

bool cliWantsChinese(const QProcessEnvironment &environment)
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QString::fromLatin1(name));
        if (!value.isEmpty())
            return value.startsWith(QLatin1String("zh"));
    }
    return false;
}

void installCliLanguage()
{
    if (cliWantsChinese(QProcessEnvironment::systemEnvironment()))
        return;
    // Lives as long as the application; the catalogue is the one built into
    // the editor, so both say the same thing in the same words.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/en_US_app")))
        QCoreApplication::installTranslator(translator);
    Config *config = Config::instance();
    config->uiLanguage = 1;
    config->retranslate();
}
