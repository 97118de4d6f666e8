#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The editor's command line: --help and --version are answered on stdout
// before any window or display exists; otherwise the arguments name the
// project to open and the screenshot to take.
class EditorCommandLine
{
    Q_DECLARE_TR_FUNCTIONS(EditorCommandLine)

public:
    enum Request { Start, Help, Version, Invalid };

    // What the raw arguments (argv, the toolkit's own options still in them)
    // ask for. Invalid: an option neither ours nor the toolkit's, or one
    // without its value; refused here, since the application object that
    // would refuse it later aborts where there is no display.
    static Request request(const QStringList &arguments);

    // For the raw arguments of an Invalid request: what is wrong and where
    // the help is, for stderr; empty when nothing is.
    static QString invalidText(const QStringList &arguments);

    // Prints the help or the version on stdout, or for Invalid what is
    // wrong on stderr, in the language the environment asks for, and
    // returns the exit code. Makes the core application object, so
    // call it only when none exists, and then leave main() with its result.
    static int answer(Request request, int &argc, char **argv);

    // arguments: as the application object left them, with the toolkit's
    // options taken out. Returns false and sets error when an option is not
    // one of ours or lacks its value.
    bool parse(const QStringList &arguments);

    QString error() const { return m_error; }
    // The file of --screenshot; empty when not asked for.
    QString screenshot() const { return m_screenshot; }
    // The project named first, as given; empty without one.
    QString project() const { return m_project; }

    static QString helpText();
    static QString versionText();

private:
    QString m_error;
    QString m_screenshot;
    QString m_project;
};
