#pragma once

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// The commands of the tool as its help and its messages name them, and the
// options each command takes: the commands' parsers read their options from
// here, so what the help lists is what a command accepts.
class CliHelp
{
    Q_DECLARE_TR_FUNCTIONS(CliHelp)

public:
    // The command names, in the order the help lists them.
    static QStringList commandNames();
    // "info, render, convert, check, tags or help", for messages.
    static QString commandList();

    // The options of command (without -h), or none for a name that is not a
    // command.
    static QList<QCommandLineOption> options(const QString &command);
    // The options of several commands, each name once.
    static QList<QCommandLineOption> options(const QStringList &commands);

    // What --help prints: every command and the tool's own options.
    static QString overview();
    // One command's usage and options; empty for a name that is not a command.
    static QString commandHelp(const QString &command);

    // `marovin-cli help [COMMAND]`: returns the exit code.
    static int run(const QStringList &arguments);
};
