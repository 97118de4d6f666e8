#include "editorsettings.h"

#include "apppaths.h"
#include "safefile.h"

#include <QSettings>

#include <algorithm>

namespace {

const char GridShownKey[] = "gridShown";
const char GridXKey[] = "gridX";
const char GridYKey[] = "gridY";
const char GridColorKey[] = "gridColor";
const char LockAllKey[] = "lockAll";
const char SnapKey[] = "snapToGrid";
const char AutoSaveKey[] = "autoSave";
const char AutoSaveMinutesKey[] = "autoSaveMinutes";
const char BindingMarkersKey[] = "bindingMarkers";

// A spacing the spin box could have shown: 4..60. Its arrows step by 2,
// but a typed odd spacing is the user's and is kept.
int spacing(int value)
{
    return std::clamp(value, 4, 60);
}

int readInt(const QSettings &settings, const char *key, int fallback)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key)).toInt(&ok);
    return ok ? value : fallback;
}

bool readBool(const QSettings &settings, const char *key, bool fallback)
{
    const QVariant value = settings.value(QLatin1String(key));
    return value.isValid() ? value.toBool() : fallback;
}

} // namespace

bool EditorSettings::Values::operator==(const Values &other) const
{
    return gridShown == other.gridShown && gridX == other.gridX && gridY == other.gridY
        && gridColor == other.gridColor && lockAll == other.lockAll
        && snapToGrid == other.snapToGrid && autoSave == other.autoSave
        && autoSaveMinutes == other.autoSaveMinutes && bindingMarkers == other.bindingMarkers;
}

EditorSettings *EditorSettings::instance()
{
    static EditorSettings *settings = new EditorSettings;
    return settings;
}

EditorSettings::Values EditorSettings::clamped(Values values)
{
    values.gridX = spacing(values.gridX);
    values.gridY = spacing(values.gridY);
    values.autoSaveMinutes = std::clamp(values.autoSaveMinutes, 1, 120);
    if (!values.gridColor.isValid())
        values.gridColor = Values().gridColor;
    return values;
}

void EditorSettings::setValues(const Values &values)
{
    const Values next = clamped(values);
    if (next == m_values)
        return;
    m_values = next;
    emit changed();
}

void EditorSettings::load()
{
    const QSettings settings(AppPaths::settingsFile(), QSettings::IniFormat);
    const Values defaults;
    Values values;
    values.gridShown = readBool(settings, GridShownKey, defaults.gridShown);
    values.gridX = readInt(settings, GridXKey, defaults.gridX);
    values.gridY = readInt(settings, GridYKey, defaults.gridY);
    values.gridColor = QColor(settings.value(QLatin1String(GridColorKey)).toString());
    values.lockAll = readBool(settings, LockAllKey, defaults.lockAll);
    values.snapToGrid = readBool(settings, SnapKey, defaults.snapToGrid);
    values.autoSave = readBool(settings, AutoSaveKey, defaults.autoSave);
    values.autoSaveMinutes = readInt(settings, AutoSaveMinutesKey, defaults.autoSaveMinutes);
    values.bindingMarkers = readBool(settings, BindingMarkersKey, defaults.bindingMarkers);
    setValues(values);
}

bool EditorSettings::store(QString *error) const
{
    const QVariantMap values {
        {QLatin1String(GridShownKey), m_values.gridShown},
        {QLatin1String(GridXKey), m_values.gridX},
        {QLatin1String(GridYKey), m_values.gridY},
        {QLatin1String(GridColorKey), m_values.gridColor.name()},
        {QLatin1String(LockAllKey), m_values.lockAll},
        {QLatin1String(SnapKey), m_values.snapToGrid},
        {QLatin1String(AutoSaveKey), m_values.autoSave},
        {QLatin1String(AutoSaveMinutesKey), m_values.autoSaveMinutes},
        {QLatin1String(BindingMarkersKey), m_values.bindingMarkers},
    };
    return SafeFile::updateSettings(AppPaths::settingsFile(), values, error);
}
