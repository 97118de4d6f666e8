#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// One run of the command-line tool the suite was built with (MAROVIN_CLI).
struct CliRun
{
    int code = -1; // the exit code; -1 when the tool crashed or hung
    QByteArray out;
    QByteArray err;
};

// One run of program with input on its standard input, which is closed
// after it, so a program that reads it never waits for more; a run that
// outlasts two minutes is taken for a hang and killed.
inline CliRun runProgram(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment
                         = QProcessEnvironment::systemEnvironment(),
                         const QByteArray &input = QByteArray())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (process.waitForStarted() && !input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    CliRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

#ifdef MAROVIN_CLI
inline CliRun runCliProcess(const QStringList &arguments,
                            const QProcessEnvironment &environment
                            = QProcessEnvironment::systemEnvironment(),
                            const QByteArray &input = QByteArray())
{
    return runProgram(QStringLiteral(MAROVIN_CLI), arguments, environment, input);
}
#endif
