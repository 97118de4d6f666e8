#include "editor/drawscene.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "project/projectfile.h"
#include "support/filebytes.h"
#include "support/isolatedsettings.h"
#include "support/projectgenerator.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// A save killed at any moment leaves the previous file whole. A child copy
// of this program builds the project once and then, on each request, forks a
// saver that writes it to the same path over and over; the test kills the
// saver with SIGKILL at a random moment and looks at what is on disk.
class TestSaveKill : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesPreviousFile();
};

namespace {

constexpr int KillCount = 100;
const QString FileName = QStringLiteral("project.mvprg");

// A large project, though a fraction of the benchmark's, so that a hundred
// saves fit in a few seconds even in a sanitizer build.
ProjectGenerator::Options projectOptions()
{
    ProjectGenerator::Options options = ProjectGenerator::benchmarkOptions();
    options.screens = 2;
    options.shapesPerScreen = 300;
    options.addressTags = 1000;
    options.textTags = 100;
    return options;
}

void buildProject()
{
    ProjectGenerator(1).build(projectOptions());
}

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The child: builds the project, saves it once, then serves "save" (fork a
// saver, answer its pid), "reap" (wait for it, answer the signal that ended
// it) and "quit" on stdin.
int runChild(const QString &path)
{
    buildProject();
    // How long a save takes, and how much of it goes into making the
    // text before the file is touched.
    QElapsedTimer timer;
    timer.start();
    ProjectFile::projectBytes();
    const qint64 textUs = timer.nsecsElapsed() / 1000;
    timer.restart();
    if (!ProjectFile::write(path))
        return 2;
    const qint64 saveUs = timer.nsecsElapsed() / 1000;
    say(QByteArray("ready " + QByteArray::number(textUs) + ' ' + QByteArray::number(saveUs))
            .constData());

    char line[64];
    pid_t saver = -1;
    while (std::fgets(line, sizeof line, stdin)) {
        if (qstrncmp(line, "save", 4) == 0) {
            saver = fork();
            if (saver == 0) {
                for (;;)
                    ProjectFile::write(path);
            }
            say(QByteArray::number(qint64(saver)).constData());
        } else if (qstrncmp(line, "reap", 4) == 0) {
            int status = 0;
            waitpid(saver, &status, 0);
            say(QByteArray::number(WIFSIGNALED(status) ? WTERMSIG(status) : -1).constData());
        } else {
            break;
        }
    }
    return 0;
}

QByteArray readLine(QProcess *process)
{
    while (!process->canReadLine()) {
        if (!process->waitForReadyRead(60000))
            return QByteArray();
    }
    return process->readLine().trimmed();
}

} // namespace

void TestSaveKill::killedSaveLeavesPreviousFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(FileName);

    // What a complete save writes, made here independently of the child.
    buildProject();
    const QByteArray complete = ProjectFile::projectBytes();
    DrawManager::instance()->clear();
    Config::instance()->reset();
    DrawScene::resetScreenCounters();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-child"), path});
    QVERIFY(child.waitForStarted());
    const QByteArray ready = readLine(&child);
    QVERIFY2(ready.startsWith("ready "), ready.constData());
    // Half the kill moments spread over two whole saves, the other half
    // over the part of the first save that touches the disk (writing,
    // syncing, renaming), which is short beside making the text.
    const QList<QByteArray> times = ready.split(' ');
    QCOMPARE(times.size(), 3);
    const quint32 textUs = quint32(times.at(1).toLongLong());
    const quint32 saveUs = std::max(textUs + 1, quint32(times.at(2).toLongLong()));
    QCOMPARE(fileBytes(path), complete);

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    for (int kill = 0; kill < KillCount; ++kill) {
        const QString context = QStringLiteral("kill %1 of seed %2").arg(kill).arg(seed);
        child.write("save\n");
        const qint64 saver = readLine(&child).toLongLong();
        QVERIFY2(saver > 0, qPrintable(context));
        QThread::usleep(kill % 2 == 0 ? random.bounded(2 * saveUs)
                                      : textUs + random.bounded(saveUs - textUs));
        QCOMPARE(::kill(pid_t(saver), SIGKILL), 0);
        child.write("reap\n");
        QVERIFY2(readLine(&child) == QByteArray::number(SIGKILL), qPrintable(context));

        QVERIFY2(fileBytes(path) == complete, qPrintable(context));
        // A killed save may leave its temporary file behind; nothing that
        // opens projects (the file dialog, the command line, the crash
        // prompt, which all go by the suffix) may take it for one.
        const QStringList entries = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString &entry : entries) {
            if (entry == FileName)
                continue;
            QVERIFY2(!entry.endsWith(QLatin1String(".mvprg"), Qt::CaseInsensitive),
                     qPrintable(context + QLatin1String(": ") + entry));
            QFile::remove(dir.filePath(entry));
        }
    }
    child.write("quit\n");
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 0);

    // And what was left loads as the project it is.
    const ProjectFile::LoadResult result = ProjectFile::load(path);
    QCOMPARE(int(result.status), int(ProjectFile::Loaded));
    QCOMPARE(DrawManager::instance()->scenes().size(), projectOptions().screens);
    QCOMPARE(ProjectFile::projectBytes(), complete);
    DrawManager::instance()->clear();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--save-child") == 0)
        return runChild(QString::fromLocal8Bit(argv[2]));
    TestSaveKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savekill.moc"
