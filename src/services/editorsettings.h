#pragma once

#include <QColor>
#include <QObject>

// The working aids of the system settings dialog: the screen grid, snapping
// and locking, and the project's autosave. Stored in the settings file
// beside `language`; one current set per process, which every open screen
// and the autosave follow as soon as it changes.
class EditorSettings : public QObject
{
    Q_OBJECT
public:
    struct Values
    {
        bool gridShown = true;
        int gridX = 20; // 4..60
        int gridY = 20;
        QColor gridColor = QColor(Qt::darkCyan);
        bool lockAll = false;
        bool snapToGrid = false;
        bool autoSave = true;
        int autoSaveMinutes = 10; // 1..120
        // The screens mark shapes that carry bindings (View menu).
        bool bindingMarkers = true;

        bool operator==(const Values &other) const;
        bool operator!=(const Values &other) const { return !(*this == other); }
    };

    static EditorSettings *instance();

    const Values &values() const { return m_values; }
    // Takes values (brought into their ranges) and emits changed() when they
    // differ from the current ones. Stores nothing.
    void setValues(const Values &values);

    // Reads the settings file (AppPaths::settingsFile()); a missing or
    // unreadable entry keeps its default, a value out of range is brought
    // into it. Becomes current through setValues().
    void load();
    // Writes the current values to the settings file; false with the reason
    // in *error (when given) when the file could not be written, which then
    // stays as it was.
    bool store(QString *error = nullptr) const;

    static Values clamped(Values values);

signals:
    void changed();

private:
    EditorSettings() = default;

    Values m_values;
};
