#include "app/crashfilter.h"
#include "app/modalseam.h"
#include "project/config.h"
#include "project/projectfile.h"
#include "support/filebytes.h"
#include "support/isolatedsettings.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

// The filter runs in a child copy of this program that crashes on purpose;
// the test reads what it left behind.
class TestCrashFilter : public QObject
{
    Q_OBJECT

private slots:
    void recoveryCopyName();
    void crashSavesOnlyARecoveryCopy_data();
    void crashSavesOnlyARecoveryCopy();
};

void TestCrashFilter::recoveryCopyName()
{
    QCOMPARE(CrashFilter::recoveredProjectFile("/工程/~v1.2.mvprg.autosave"),
             QString("/工程/v1.2.mvprg"));
    // Neither the project nor names that only look similar are copies.
    for (const char *name : {"/p/a.mvprg", "/p/~.autosave", "/p/a.mvprg.autosave"})
        QVERIFY2(CrashFilter::recoveredProjectFile(QString::fromUtf8(name)).isEmpty(), name);
}

void TestCrashFilter::crashSavesOnlyARecoveryCopy_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("encoded");
    QTest::addColumn<bool>("blocked"); // a folder already holds the copy's name
    QTest::newRow("encoded, save") << true << true << false;
    QTest::newRow("do not save") << false << false << false;
    QTest::newRow("copy cannot be written") << true << false << true;
}

void TestCrashFilter::crashSavesOnlyARecoveryCopy()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer owns the fault signals in this build");
#endif
    QFETCH(bool, save);
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

    QProcess child;
    child.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CRASH_CONFIG", qEnvironmentVariable("XDG_CONFIG_HOME"));
    env.insert("CRASH_PROJECT", project);
    env.insert("CRASH_ANSWER", save ? "yes" : "no");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--crash-child"});
    QVERIFY(child.waitForFinished(60000));
    const QString said = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(said.contains("changed"), qPrintable(said + child.readAllStandardError()));

    const QStringList reports = QDir(dir.path()).entryList({"crash_*.log"}, QDir::Files);
    QCOMPARE(reports.size(), 1);
    const QString report = QString::fromUtf8(fileBytes(dir.filePath(reports.first())));
    QVERIFY(report.contains("\nException Code:  C0000005\n"));

    // The stack starts at the faulting instruction, not in the handler, and
    // goes on through the callers, each named by its module's full path.
    const QString address
        = QRegularExpression("Exception Addr:  (\\w+)  ").match(report).captured(1);
    const QStringList stack
        = report.mid(report.indexOf("\nCall Stack:") + 12).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(stack.first(), address + "  " + QCoreApplication::applicationFilePath());
    const QRegularExpression frame("^[0-9A-F]{8,}  (/.*)?$");
    for (const QString &line : stack)
        QVERIFY2(frame.match(line).hasMatch(), qPrintable(line));
    // faultHere, throughOne, throughTwo and main.
    QVERIFY2(stack.filter(QCoreApplication::applicationFilePath()).size() >= 4, qPrintable(report));

    QCOMPARE(said.contains("恢复副本保存失败"), blocked);

    // Whatever happened, the project file is as it was before the crash.
    QCOMPARE(fileBytes(project), original);
    QVERIFY(!QFile::exists(copy + ".tmp"));
    QSettings store = nativeStore();
    store.sync();
    const bool saved = save && !blocked;
    QCOMPARE(store.value("exception").toString(), saved ? copy : QString("/earlier/e.mvprg"));
    QCOMPARE(QFileInfo(copy).isFile(), saved);
    if (!saved)
        return;
    // The copy is a project in the same form, holding the unsaved change.
    const QByteArray copyBytes = fileBytes(copy);
    QCOMPARE(copyBytes == ProjectFile::decodeProjectText(copyBytes), !encoded);
    config->reset();
    QCOMPARE(ProjectFile::load(copy).status, ProjectFile::Loaded);
    QCOMPARE(config->version, QString("9.9.9"));
    QCOMPARE(int(config->encryption), encoded ? 1 : 0);
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
        const bool yes = qEnvironmentVariable("CRASH_ANSWER") == QLatin1String("yes");
        ModalSeam::setHandler([yes](const ModalRequest &request) {
            // The parent reads the questions from our output.
            fputs(request.text.toUtf8().constData(), stdout);
            fflush(stdout);
            ModalAnswer answer;
            answer.button = yes ? QMessageBox::Yes : QMessageBox::No;
            return answer;
        });
        CrashFilter::install();
        fputs("changed\n", stdout);
        fflush(stdout);
        // Read at run time, so the compiler cannot see the fault coming and
        // turn the chain of calls into something else.
        auto *nowhere = reinterpret_cast<volatile int *>(
            quintptr(qEnvironmentVariableIntValue("CRASH_ADDRESS")));
        // Not a tail call: main's own frame stays on the stack.
        const int unreachable = throughTwo(nowhere);
        return unreachable + 1;
    }
    QApplication app(argc, argv);
    TestCrashFilter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashfilter.moc"
