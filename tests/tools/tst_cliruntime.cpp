// The private runtime folder of marovin-cli goes with the tool however it
// ends, and the toolkit's runtime warning stays away wherever TMPDIR points.

#include "support/clirun.h"
#include "support/filebytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QString Golden = QStringLiteral(MAROVIN_TEST_DATA_DIR "/golden.mvprg");

// The environment of a run without a usable runtime folder, whose own
// folder, if any, is made in tmp.
QProcessEnvironment withoutRuntimeFolder(const QString &tmp)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    environment.insert("TMPDIR", tmp);
    environment.insert("LC_ALL", "C");
    return environment;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class TestCliRuntime : public QObject
{
    Q_OBJECT

private slots:
    // A reader that stops early closes the pipe: a write failure like any
    // other, said on stderr with exit code 1, and the folder goes.
    void brokenPipe()
    {
        QTemporaryDir tmp;
        QTemporaryDir status;
        QVERIFY(tmp.isValid() && status.isValid());
        // The reader is gone long before the tool has loaded the project.
        const QString script = QStringLiteral(
            "exec 4>\"$2\"; { \"$0\" info \"$1\"; echo $? >&4; } | true");
        const CliRun run = runProgram(
            "sh", {"-c", script, MAROVIN_CLI, Golden, status.filePath("code")},
            withoutRuntimeFolder(tmp.path()));
        QCOMPARE(run.code, 0);
        QCOMPARE(fileBytes(status.filePath("code")).trimmed(), QByteArray("1"));
        QVERIFY2(run.err.contains("standard output"), run.err.constData());
        QCOMPARE(entries(tmp.path()), QStringList());
    }

    // Stopped from outside while it waits, the tool still takes its folder
    // away and dies of the signal, as the shell expects.
    void stoppedBySignal_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void stoppedBySignal()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QProcess tool;
        tool.setProcessEnvironment(withoutRuntimeFolder(tmp.path()));
        // Waits for a password line that never comes.
        tool.start(MAROVIN_CLI, {"info", Golden, "--password-stdin"});
        QVERIFY(tool.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (entries(tmp.path()).isEmpty() && waited.elapsed() < 30000)
            QTest::qWait(20);
        QCOMPARE(entries(tmp.path()).size(), 1);
        // The folder is made before the toolkit starts: let it settle.
        QTest::qWait(300);
        QVERIFY(::kill(pid_t(tool.processId()), signalNumber) == 0);
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitStatus(), QProcess::CrashExit);
        QCOMPARE(entries(tmp.path()), QStringList());
    }

    // A TMPDIR no folder can be made in: another safe place serves, and
    // stderr carries nothing.
    void unusableTemporaryFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a file") << "file";
        QTest::newRow("missing") << "missing";
    }

    void unusableTemporaryFolder()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString tmp = dir.filePath("missing");
        if (kind == "file") {
            tmp = dir.filePath("file");
            QVERIFY(writeFileBytes(tmp, "not a folder"));
        }
        const CliRun run = runCliProcess({"info", Golden}, withoutRuntimeFolder(tmp));
        QCOMPARE(run.code, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestCliRuntime)
#include "tst_cliruntime.moc"
