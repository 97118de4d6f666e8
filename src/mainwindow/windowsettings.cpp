#include "windowsettings.h"

#include "services/apppaths.h"
#include "services/appsettings.h"
#include "services/editorsettings.h"
#include "services/safefile.h"

#include <QDebug>

void WindowSettings::read()
{
    AppSettings::instance()->load();
    EditorSettings::instance()->load();
}

void WindowSettings::write()
{
    const AppSettings *settings = AppSettings::instance();
    const QString file = AppPaths::settingsFile();
    QString error;
    if (!SafeFile::updateSettings(file,
                                  {{QStringLiteral("language"), settings->uiLanguage()},
                                   {QStringLiteral("showNew"), settings->showNew()}},
                                  &error)) {
        qWarning().noquote() << SafeFile::failureMessage(file, error);
    }
}
