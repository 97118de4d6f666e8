#pragma once

#include "document/projectfile.h"

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QString>

// What every command of the tool shares: its messages to the user and the
// loading of the project a command works on.
class CliProject
{
    // The tool's own messages, whichever command says them.
    Q_DECLARE_TR_FUNCTIONS(CliTool)

public:
    // "marovin-cli: message" on stderr.
    static void tellUser(const QString &message);
    // tellUser, then the exit code of a failed command.
    static int failWith(const QString &message);
    // UTF-8 on stdout, for what a script reads.
    static void writeOut(const QString &text);
    // Flushes stdout; false when anything written to it was lost.
    static bool outputDelivered();
    // What parser.parse() found wrong with the command line, in our words
    // and the reader's language: the toolkit's own text stays English.
    static QString parseError(const QCommandLineParser &parser);

    // The project password a command was given. --password-stdin reads one
    // line of standard input; MAROVIN_PASSWORD counts when neither option is
    // given; --password, visible to every user in the process list, last.
    // False after a message when both options are given or standard input
    // holds no line: a script must not run on with a password it did not
    // mean.
    static bool password(const QCommandLineParser &parser, QString *password);
    // Whether the last password() took its password from standard input,
    // so that a refusal can say an empty line was read rather than ask for
    // a password the user believes they gave.
    static bool passwordFromStdin();

    // Loads file into the program's project. Never a dialog: the password
    // comes from the command line or not at all. A file that cannot be read
    // whole is refused with a message (a tool must not report on or write
    // back half a project as if it were whole); *result, when given, says
    // what was loaded.
    static bool load(const QString &file, const QString &password,
                     ProjectFile::LoadResult *result = nullptr);
};
