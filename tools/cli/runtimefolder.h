#pragma once

#include <QByteArray>

// The toolkit warns on stderr whenever it looks for the user's runtime
// folder and XDG_RUNTIME_DIR names none it may use (cron, sudo, containers).
// While an instance lives, such a process has a private folder of its own:
// made by mkdtemp (mode 0700 from the start, so no other user can place
// anything in it first) and removed with its contents when the instance
// goes. Construct it before the application object and destroy it after.
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
    QByteArray m_path;
};
