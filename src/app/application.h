#pragma once

#include <QApplication>

class MainWindow;

// The editor's process: names, working directory, codec, style sheet, font
// and log are set up in the constructor.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    // The folder made the working directory: the executable's, unless the
    // environment variable MAROVIN_APP_DIR names another (tests use this to
    // keep the log and settings in a temporary folder).
    static QString applicationFolder();

    // The working directory the process was started in, before the
    // application moved to its own folder.
    static QString startupFolder();

    // The project named by the command line: argv[1] with "\" turned into
    // "/", made absolute against startup, whatever its suffix (a file that
    // is no project is refused by opening it, with the usual message);
    // empty without one.
    static QString projectArgument(const QStringList &arguments, const QString &startup);

    // After the window is shown: opens the command-line project or, without
    // arguments, offers to reopen the project recorded by a crash; then
    // arms the new-project dialog the settings may ask for.
    static void openStartupProject(MainWindow *window, const QStringList &arguments);

private:
    static void openCommandLineOrRecovery(MainWindow *window, const QStringList &arguments);
};
