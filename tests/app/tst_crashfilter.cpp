#include "app/crashfilter.h"
#include "app/modalseam.h"
#include "project/config.h"
#include "support/isolatedsettings.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// The filter runs in a child copy of this program that crashes on purpose;
// the test reads what it left behind.
class TestCrashFilter : public QObject
{
    Q_OBJECT

private slots:
    void reportCodes();
    void crashLeavesReportAndProject_data();
    void crashLeavesReportAndProject();
};

void TestCrashFilter::reportCodes()
{
    QCOMPARE(CrashFilter::exceptionCode(SIGSEGV), 0xC0000005u);
    QCOMPARE(CrashFilter::exceptionCode(SIGFPE), 0xC0000094u);
    // Our own code lies in a module: the test executable.
    QVERIFY(!CrashFilter::moduleOf(quintptr(&CrashFilter::install)).isEmpty());
    QVERIFY(CrashFilter::moduleOf(0).isEmpty());
}

void TestCrashFilter::crashLeavesReportAndProject_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("do not save") << false;
}

void TestCrashFilter::crashLeavesReportAndProject()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer owns the fault signals in this build");
#endif
    QFETCH(bool, save);
    QTemporaryDir dir;
    const QString project = dir.filePath("p/a/a.mvprg");
    QDir(dir.path()).mkpath("p/a");
    {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin");
        store.setValue("exception", "/earlier/e.mvprg");
    }

    QProcess child;
    child.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CRASH_CONFIG", qEnvironmentVariable("XDG_CONFIG_HOME"));
    env.insert("CRASH_PROJECT", project);
    env.insert("CRASH_ANSWER", save ? "yes" : "no");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--crash-child"});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    const QStringList reports = QDir(dir.path()).entryList({"crash_*.log"}, QDir::Files);
    QCOMPARE(reports.size(), 1);
    QFile file(dir.filePath(reports.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString report = QString::fromUtf8(file.readAll());
    QVERIFY(report.startsWith("Version:  1.0.1.200116\n"));
    QVERIFY(report.contains("\nException Code:  C0000005\n"));
    QVERIFY(report.contains("\nRead Address:  00000000\n"));
    QVERIFY(report.contains("\nCall Stack:"));
    QVERIFY(report.contains("Process:  " + QCoreApplication::applicationFilePath()));

    const QString question = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(question.contains("错误代码：C0000005"), qPrintable(question));

    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin");
    store.sync();
    QCOMPARE(store.value("exception").toString(), save ? project : QString("/earlier/e.mvprg"));
    QCOMPARE(QFile::exists(project), save);
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--crash-child") == 0) {
        QApplication app(argc, argv);
        // Share the parent's private settings folder.
        qputenv("XDG_CONFIG_HOME", qgetenv("CRASH_CONFIG"));
        Config::instance()->setProjectFile(qEnvironmentVariable("CRASH_PROJECT"));
        const bool yes = qEnvironmentVariable("CRASH_ANSWER") == QLatin1String("yes");
        ModalSeam::setHandler([yes](const ModalRequest &request) {
            // The parent reads the question from our output.
            fputs(request.text.toUtf8().constData(), stdout);
            fflush(stdout);
            ModalAnswer answer;
            answer.button = yes ? QMessageBox::Yes : QMessageBox::No;
            return answer;
        });
        CrashFilter::install();
        volatile int *nowhere = nullptr;
        return *nowhere;
    }
    QApplication app(argc, argv);
    TestCrashFilter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashfilter.moc"
