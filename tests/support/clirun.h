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

// One run of program; a run that outlasts two minutes is taken for a hang
// and killed.
inline CliRun runProgram(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment
                         = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
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
                            = QProcessEnvironment::systemEnvironment())
{
    return runProgram(QStringLiteral(MAROVIN_CLI), arguments, environment);
}
#endif
