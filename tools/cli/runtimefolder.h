#pragma once

#include <QByteArray>
#include <QList>

// The toolkit warns on stderr whenever it looks for the user's runtime
// folder and XDG_RUNTIME_DIR names none it may use (cron, sudo, containers).
// While an instance lives, such a process has a private folder of its own:
// made by mkdtemp (mode 0700 from the start, so no other user can place
// anything in it first) and removed with its contents when the instance
// goes. A TMPDIR that names no folder we may write gives way to the usual
// temporary folders. A process ended by SIGTERM, SIGINT or SIGHUP removes
// the folder on its way out too, as far as the folder is empty, which it
// is unless the toolkit left something in it. Construct it before the
// application object and destroy it after.
class RuntimeFolder
{
public:
    RuntimeFolder();
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder &) = delete;
    RuntimeFolder &operator=(const RuntimeFolder &) = delete;

    // The folder made, or empty when the environment's own was kept or none
    // could be made.
    QByteArray path() const { return m_path; }

    // Whether the folder may serve as the runtime folder: a directory owned
    // by this user that nobody else may enter, as the toolkit demands.
    static bool isUsable(const QByteArray &folder);

private:
    // Where the folder may be made, first choice first: TMPDIR when set,
    // then /tmp, /var/tmp and /dev/shm.
    static QList<QByteArray> parentCandidates();

    QByteArray m_path;
};
