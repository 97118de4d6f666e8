#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Writes the open project, while it has unsaved changes, to its recovery
// copy at the interval of the system settings, so that a power cut or a
// killed editor costs at most one interval of work. The project file itself
// is never written here: only the user's save may replace it.
//
// The copy is "~" + file name + ".autosave" beside the project file (the
// name the crash filter uses too), in the project's own form, plain or
// encoded, written through a temporary file like a save. Failures are
// logged and reported through statusMessage(), never with a box: a timer
// must not interrupt the user's work.
class AutoSaver : public QObject
{
    Q_OBJECT
public:
    // modified answers whether the open project has unsaved changes.
    explicit AutoSaver(std::function<bool()> modified, QObject *parent = nullptr);

    // Runs while autosave is switched on; its timeout calls saveNow().
    QTimer *timer() { return &m_timer; }

    // Writes the recovery copy when a project is open and modified; true
    // when a copy was written.
    bool saveNow();

    // The recovery copy of projectFile; empty for an empty name.
    static QString copyPath(const QString &projectFile);
    // True when projectFile has a recovery copy written after the file.
    static bool hasNewerCopy(const QString &projectFile);
    // Deletes the recovery copy of projectFile, if any, and the crash record
    // that names it.
    static void removeCopy(const QString &projectFile);

signals:
    void statusMessage(const QString &text);

private:
    void applySettings();

    std::function<bool()> m_modified;
    QTimer m_timer;
};
