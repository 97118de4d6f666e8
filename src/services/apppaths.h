#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Where the program keeps its own files. A copy run from a folder it may
// write (where it was built, or unpacked by hand) keeps everything beside
// its executable, as it always has; an installed copy keeps its settings,
// log and crash reports in the user's folders and proposes new projects
// among the user's documents. A copy under a system prefix counts as
// installed even when the folder is writable, as it is to root: files left
// there belong to no package and outlive its removal. So does a copy that
// `make install` laid out under any other prefix ($HOME/.local, say): its
// launcher beside it says so, and `make uninstall` would leave behind what
// the editor wrote into the prefix.
//
// Until setup() is called the paths are the historic relative ones, taken
// against whatever the working directory is at the time.
class AppPaths
{
public:
    enum Layout { BesideExecutable, UserFolders };

    // Answers whether a file can be created in folder.
    using WritableProbe = std::function<bool(const QString &folder)>;

    // The layout for an executable in executableFolder (absolute), given
    // whether a file can be created there.
    static Layout layoutFor(const QString &executableFolder, bool writable);
    // True for a folder at or below /usr, /usr/local or /opt.
    static bool isSystemFolder(const QString &folder);
    // True when the installed layout stands around executableFolder: our
    // launcher or our documentation in ../share, where an install puts them.
    static bool isInstalledCopy(const QString &executableFolder);

    // Settles the layout for the executable's folder. An empty probe uses
    // canCreateFileIn(); tests pass their own, because a process running as
    // root writes through any permission bits. The probe is not asked about
    // a system folder or an installed copy. Creates the user folders the
    // layout needs.
    static void setup(const QString &executableFolder, const WritableProbe &probe = {});
    // Back to the state before setup().
    static void clear();

    static Layout layout();
    // Absolute; the working directory when setup() was never called.
    static QString executableFolder();

    static QString settingsFile();
    static QString logFile();
    // The folder that receives "crash_*.log" reports.
    static QString crashReportFolder();
    // Where translation files are looked for, first choice first.
    static QStringList languageFolders();

    // The folder proposed for a new project.
    static QString newProjectLocation();
    // Records the folder the user created a project in, proposed next time
    // by an installed copy.
    static void rememberProjectLocation(const QString &folder);

    // True when a file can actually be created (and removed) in folder.
    static bool canCreateFileIn(const QString &folder);
};
