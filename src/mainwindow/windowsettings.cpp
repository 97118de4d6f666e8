#include "windowsettings.h"

#include "model/config.h"
#include "services/apppaths.h"
#include "services/editorsettings.h"
#include "services/safefile.h"

#include <QDebug>
#include <QSettings>

void WindowSettings::read()
{
    QSettings settings(AppPaths::settingsFile(), QSettings::IniFormat);
    Config *config = Config::instance();
    config->uiLanguage = quint8(settings.value(QStringLiteral("language"), 0).toInt());
    config->showNew = settings.value(QStringLiteral("showNew"), false).toBool();
    EditorSettings::instance()->load();
}

void WindowSettings::write()
{
    const Config *config = Config::instance();
    const QString file = AppPaths::settingsFile();
    QString error;
    if (!SafeFile::updateSettings(file,
                                  {{QStringLiteral("language"), int(config->uiLanguage)},
                                   {QStringLiteral("showNew"), config->showNew}},
                                  &error)) {
        qWarning().noquote() << SafeFile::failureMessage(file, error);
    }
}
