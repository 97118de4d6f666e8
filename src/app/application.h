#pragma once

#include <QApplication>
#include <QFont>

class MainWindow;

// The process: names, working directory, codec, style sheet, font and log
// are set up in the constructor.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    // Appends message to the log file (AppPaths::logFile()), one line per
    // message; safe to call from any thread.
    static void messageHandler(QtMsgType type, const QMessageLogContext &context,
                               const QString &message);

    // The font of the whole interface, and of everything painted without a
    // font of its own (widget shapes, text shapes); the command-line tool
    // paints with it too, so its pictures match the editor.
    static QFont applicationFont();

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
