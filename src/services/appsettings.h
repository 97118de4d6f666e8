#pragma once

#include <QObject>

// The application's own choices, whatever project is open: the interface
// language and whether the new-project dialog opens at start-up. Stored in
// the settings file as `language` and `showNew`; one set per process.
class AppSettings : public QObject
{
    Q_OBJECT
public:
    static AppSettings *instance();

    // 0 Chinese, 1 English.
    int uiLanguage() const { return m_uiLanguage; }
    // Stores the interface language and emits languageChanged() when it
    // differs from the current one. Stores nothing in the settings file.
    void setLanguage(int index);

    bool showNew() const { return m_showNew; }
    void setShowNew(bool show) { m_showNew = show; }

    // Takes both from the settings file (AppPaths::settingsFile()); a
    // missing entry reads as Chinese and no dialog. Emits nothing: the
    // caller installs the language it finds.
    void load();

signals:
    void languageChanged(int index);

private:
    AppSettings() = default;

    int m_uiLanguage = 0;
    bool m_showNew = false;
};
