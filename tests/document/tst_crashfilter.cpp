#include "document/crashfilter.h"
#include "document/projectfile.h"
#include "model/config.h"
#include "support/filebytes.h"
#include "support/isolatedsettings.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <exception>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

QSettings nativeStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin");
}

// A few frames of our own between main() and the fault, so the report has a
// chain of callers to follow.
Q_NEVER_INLINE int twice(int value)
{
    return value * 2;
}

// Faults between two calls, where its frame record surely exists: a leaf
// function may have none, and code the compiler moves into the prologue or
// epilogue runs without it; the walk then cannot see the immediate caller.
Q_NEVER_INLINE int faultHere(volatile int *where)
{
    const int first = twice(1);
    const int value = *where;
    return first + twice(value);
}

Q_NEVER_INLINE int throughOne(volatile int *where)
{
    return faultHere(where) * 3;
}

Q_NEVER_INLINE int throughTwo(volatile int *where)
{
    return throughOne(where) * 5;
}

// Ends the child in the way kind names; returns only for an unknown kind.
Q_NEVER_INLINE int crash(const QByteArray &kind)
{
    // Read at run time, so the compiler cannot see the fault coming and
    // turn the chain of calls into something else.
    auto *nowhere = reinterpret_cast<volatile int *>(
        quintptr(qEnvironmentVariableIntValue("CRASH_ADDRESS")));
    if (kind == "segv") {
        // Not a tail call: this frame stays on the stack.
        const int unreachable = throughTwo(nowhere);
        return unreachable + 1;
    }
    if (kind == "bus") {
        // A mapped file that has no byte behind the mapping.
        char name[] = "/tmp/crash-bus-XXXXXX";
        const int fd = mkstemp(name);
        unlink(name);
        auto *page = static_cast<volatile const char *>(
            mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0));
        return page[0];
    }
    if (kind == "fpe") {
        // Both unknown to the compiler, which would turn 1 / x into a test.
        volatile int zero = qEnvironmentVariableIntValue("CRASH_ADDRESS");
        volatile int seven = 7;
        return seven / zero;
    }
    if (kind == "ill")
        __builtin_trap();
    if (kind == "abort")
        std::abort();
    if (kind == "terminate")
        std::terminate();
    if (kind == "bad_alloc") {
        std::vector<char> huge(size_t(1) << 62);
        return huge[0];
    }
    return 2;
}

} // namespace

// The filter runs in a child copy of this program that crashes on purpose;
// the test reads what it left behind.
class TestCrashFilter : public QObject
{
    Q_OBJECT

private slots:
    void recoveryCopyName();
    void crashLeavesReportAndCopy_data();
    void crashLeavesReportAndCopy();
};

void TestCrashFilter::recoveryCopyName()
{
    QCOMPARE(CrashFilter::recoveredProjectFile("/工程/~v1.2.mvprg.autosave"),
             QString("/工程/v1.2.mvprg"));
    // Neither the project nor names that only look similar are copies.
    for (const char *name : {"/p/a.mvprg", "/p/~.autosave", "/p/a.mvprg.autosave"})
        QVERIFY2(CrashFilter::recoveredProjectFile(QString::fromUtf8(name)).isEmpty(), name);
}

void TestCrashFilter::crashLeavesReportAndCopy_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("encoded");
    QTest::addColumn<bool>("blocked"); // a folder already holds the copy's name
    QTest::newRow("access violation, encoded") << QByteArray("segv") << "C0000005" << true << false;
    QTest::newRow("copy cannot be written") << QByteArray("segv") << "C0000005" << false << true;
    QTest::newRow("bus error") << QByteArray("bus") << "C0000005" << false << false;
    QTest::newRow("division by zero") << QByteArray("fpe") << "C0000094" << false << false;
    QTest::newRow("illegal instruction") << QByteArray("ill") << "C000001D" << false << false;
    QTest::newRow("abort()") << QByteArray("abort") << "40000015" << false << false;
    QTest::newRow("std::terminate") << QByteArray("terminate") << "40000015" << false << false;
    QTest::newRow("bad_alloc") << QByteArray("bad_alloc") << "40000015" << false << false;
}

void TestCrashFilter::crashLeavesReportAndCopy()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer owns the fault signals in this build");
#endif
    QFETCH(QByteArray, kind);
    QFETCH(QString, code);
    QFETCH(bool, encoded);
    QFETCH(bool, blocked);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("p/a");
    const QString project = dir.filePath("p/a/a.mvprg");
    const QString copy = dir.filePath("p/a/~a.mvprg.autosave");
    Config *config = Config::instance();
    config->reset();
    config->encryption = encoded ? 1 : 0;
    QVERIFY(ProjectFile::write(project));
    const QByteArray original = fileBytes(project);
    if (blocked)
        QDir(dir.path()).mkpath("p/a/~a.mvprg.autosave");
    nativeStore().setValue("exception", "/earlier/e.mvprg");
    nativeStore().sync();

    QProcess child;
    child.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CRASH_CONFIG", qEnvironmentVariable("XDG_CONFIG_HOME"));
    env.insert("CRASH_PROJECT", project);
    env.insert("CRASH_KIND", kind);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--crash-child"});
    QVERIFY(child.waitForFinished(60000));
    const QString said = QString::fromUtf8(child.readAllStandardOutput());
    // Ended by its fault, without running an event loop (which would have
    // run the timer the child armed) and without asking anything.
    QCOMPARE(said, QString("changed\n"));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    const QStringList reports = QDir(dir.path()).entryList({"crash_*.log"}, QDir::Files);
    QCOMPARE(reports.size(), 1);
    const QString report = QString::fromUtf8(fileBytes(dir.filePath(reports.first())));
    QVERIFY2(report.contains("\nException Code:  " + code + "\n"), qPrintable(report));

    if (kind == "segv") {
        // The stack starts at the faulting instruction, not in the handler,
        // and goes on through the callers, each named by its module's full
        // path.
        const QString address
            = QRegularExpression("Exception Addr:  (\\w+)  ").match(report).captured(1);
        const QStringList stack
            = report.mid(report.indexOf("\nCall Stack:") + 12).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(stack.first(), address + "  " + QCoreApplication::applicationFilePath());
        const QRegularExpression frame("^[0-9A-F]{8,}  (/.*)?$");
        for (const QString &line : stack)
            QVERIFY2(frame.match(line).hasMatch(), qPrintable(line));
        // faultHere, throughOne, throughTwo, crash and main.
        QVERIFY2(stack.filter(QCoreApplication::applicationFilePath()).size() >= 4,
                 qPrintable(report));
    }

    // Whatever happened, the project file is as it was before the crash.
    QCOMPARE(fileBytes(project), original);
    QCOMPARE(QDir(dir.filePath("p/a")).entryList(QDir::Files | QDir::Hidden).size(),
             blocked ? 1 : 2);
    QSettings store = nativeStore();
    store.sync();
    QCOMPARE(store.value("exception").toString(), blocked ? QString("/earlier/e.mvprg") : copy);
    QCOMPARE(QFileInfo(copy).isFile(), !blocked);
    if (blocked)
        return;
    // The copy is a project in the same form, holding the unsaved change.
    const QByteArray copyBytes = fileBytes(copy);
    QCOMPARE(copyBytes == ProjectFile::decodeProjectText(copyBytes), !encoded);
    QCOMPARE(ProjectFile::load(copy).status, ProjectFile::Loaded);
    QCOMPARE(Config::instance()->version, QString("9.9.9"));
    QCOMPARE(int(Config::instance()->encryption), encoded ? 1 : 0);
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--crash-child") == 0) {
        QApplication app(argc, argv);
        // Share the parent's private settings folder.
        qputenv("XDG_CONFIG_HOME", qgetenv("CRASH_CONFIG"));
        const QString project = qEnvironmentVariable("CRASH_PROJECT");
        if (ProjectFile::load(project).status != ProjectFile::Loaded)
            return 2;
        Config::instance()->setProjectFile(project);
        // An edit that exists only in memory when the crash comes.
        Config::instance()->version = QStringLiteral("9.9.9");
        CrashFilter::install();
        // Due at once, so that any event loop the crash runs runs it.
        QTimer::singleShot(0, [] {
            fputs("an event loop ran\n", stdout);
            fflush(stdout);
            _exit(3);
        });
        fputs("changed\n", stdout);
        fflush(stdout);
        const int unreachable = crash(qgetenv("CRASH_KIND"));
        return unreachable + 1;
    }
    QApplication app(argc, argv);
    TestCrashFilter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashfilter.moc"
