#include "apppaths.h"

#include "safefile.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const QString LocationKey = QStringLiteral("projectLocation");

struct State
{
    bool set = false;
    AppPaths::Layout layout = AppPaths::BesideExecutable;
    QString executable;
    QString config;   // folder of the settings file
    QString data;     // folder of the log and crash reports
};

State &state()
{
    static State s;
    return s;
}

} // namespace

void AppPaths::setup(const QString &executableFolder, const WritableProbe &probe)
{
    State &s = state();
    s.set = true;
    s.executable = QDir::cleanPath(QDir(executableFolder).absolutePath());
    // Not even a probe file in a system folder or an installed copy: as root
    // it would be created.
    const bool writable = !isSystemFolder(s.executable) && !isInstalledCopy(s.executable)
        && (probe ? probe(s.executable) : canCreateFileIn(s.executable));
    if (layoutFor(s.executable, writable) == BesideExecutable) {
        s.layout = BesideExecutable;
        s.config = QDir::cleanPath(s.executable + QStringLiteral("/../config"));
        s.data = s.executable;
        return;
    }
    s.layout = UserFolders;
    s.config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    s.data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // The log is opened in append mode for every message and would fail
    // silently for ever if its folder did not exist.
    QDir().mkpath(s.config);
    QDir().mkpath(s.data);
}

AppPaths::Layout AppPaths::layoutFor(const QString &executableFolder, bool writable)
{
    return writable && !isSystemFolder(executableFolder) && !isInstalledCopy(executableFolder)
        ? BesideExecutable
        : UserFolders;
}

bool AppPaths::isInstalledCopy(const QString &executableFolder)
{
    // Either will do: a user may well delete the launcher of a copy they
    // start from a terminal. A build folder has neither beside it.
    const QDir share(QDir::cleanPath(executableFolder + QStringLiteral("/../share")));
    return QFileInfo::exists(share.filePath(QStringLiteral("applications/marovin.desktop")))
        || QFileInfo::exists(share.filePath(QStringLiteral("doc/marovin/copyright")));
}

bool AppPaths::isSystemFolder(const QString &folder)
{
    // /usr/local lies below /usr.
    static const QStringList prefixes {QStringLiteral("/usr"), QStringLiteral("/opt")};
    const QString clean = QDir::cleanPath(folder);
    for (const QString &prefix : prefixes) {
        if (clean == prefix || clean.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

void AppPaths::clear()
{
    state() = State();
}

AppPaths::Layout AppPaths::layout()
{
    return state().layout;
}

QString AppPaths::executableFolder()
{
    const State &s = state();
    return s.set ? s.executable : QDir::currentPath();
}

QString AppPaths::settingsFile()
{
    const State &s = state();
    return s.set ? s.config + QStringLiteral("/config.ini") : QStringLiteral("../config/config.ini");
}

QString AppPaths::logFile()
{
    const State &s = state();
    return s.set ? s.data + QStringLiteral("/log.txt") : QStringLiteral("log.txt");
}

QString AppPaths::crashReportFolder()
{
    const State &s = state();
    return s.set ? s.data : QDir::currentPath();
}

QStringList AppPaths::languageFolders()
{
    const State &s = state();
    if (!s.set)
        return {QStringLiteral("../language")};
    QStringList folders {QDir::cleanPath(s.executable + QStringLiteral("/../language"))};
    // An installed copy cannot get new catalogues beside its executable
    // without the administrator; the user may drop one into their own data.
    if (s.layout == UserFolders)
        folders << s.data + QStringLiteral("/language");
    return folders;
}

QString AppPaths::newProjectLocation()
{
    const State &s = state();
    if (!s.set || s.layout == BesideExecutable)
        return executableFolder();
    const QString remembered
        = QSettings(settingsFile(), QSettings::IniFormat).value(LocationKey).toString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString documents
        = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void AppPaths::rememberProjectLocation(const QString &folder)
{
    if (layout() != UserFolders || folder.isEmpty())
        return;
    QString error;
    if (!SafeFile::updateSettings(settingsFile(), {{LocationKey, QDir(folder).absolutePath()}},
                                  &error))
        qWarning().noquote() << SafeFile::failureMessage(settingsFile(), error);
}

bool AppPaths::canCreateFileIn(const QString &folder)
{
    // Permission bits do not tell: a read-only mount, an ACL or a folder
    // owned by root all refuse writes the bits would allow, so try it.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".marovin-probe-XXXXXX")));
    return probe.open();
}
