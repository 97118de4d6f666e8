#include "appsettings.h"

#include "apppaths.h"

#include <QSettings>

AppSettings *AppSettings::instance()
{
    static AppSettings *settings = new AppSettings;
    return settings;
}

void AppSettings::setLanguage(int index)
{
    if (m_uiLanguage == index)
        return;
    m_uiLanguage = index;
    emit languageChanged(index);
}

void AppSettings::load()
{
    const QSettings settings(AppPaths::settingsFile(), QSettings::IniFormat);
    // Kept to a byte as before, so that a stored value out of range means
    // the same interface it always did.
    m_uiLanguage = quint8(settings.value(QStringLiteral("language"), 0).toInt());
    m_showNew = settings.value(QStringLiteral("showNew"), false).toBool();
}
