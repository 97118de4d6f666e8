#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/config.h"
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

namespace {

const QString FileName = QStringLiteral("project.mvprg");

// A fraction of the benchmark's project, so that a hundred saves fit in a
// few seconds even in a sanitizer build.
void buildProject()
{
    ProjectGenerator::Options options = ProjectGenerator::benchmarkOptions();
    options.screens = 2;
    options.shapesPerScreen = 300;
    options.addressTags = 1000;
    options.textTags = 100;
    ProjectGenerator(1).build(options);
}

void say(const QByteArray &line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The child: builds the project, saves it once and answers "ready" with how
// long making the text and the whole save took (µs); then serves "save" (fork
// a saver writing over and over, answer its pid), "reap" (wait for it, answer
// the signal that ended it) and "quit" on stdin.
int runChild(const QString &path)
{
    buildProject();
    QElapsedTimer timer;
    timer.start();
    ProjectFile::projectBytes();
    const qint64 textUs = timer.nsecsElapsed() / 1000;
    timer.restart();
    if (!ProjectFile::write(path))
        return 2;
    say("ready " + QByteArray::number(textUs) + ' '
        + QByteArray::number(timer.nsecsElapsed() / 1000));

    char line[64];
    pid_t saver = -1;
    while (std::fgets(line, sizeof line, stdin)) {
        if (qstrncmp(line, "save", 4) == 0) {
            saver = fork();
            if (saver == 0) {
                for (;;)
                    ProjectFile::write(path);
            }
            say(QByteArray::number(qint64(saver)));
        } else if (qstrncmp(line, "reap", 4) == 0) {
            int status = 0;
            waitpid(saver, &status, 0);
            say(QByteArray::number(WIFSIGNALED(status) ? WTERMSIG(status) : -1));
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

// A save killed at any moment leaves the previous file whole: a child copy
// of this program saves to the same path over and over, and the test kills
// the saver with SIGKILL at a random moment and looks at what is on disk.
class TestSaveKill : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesPreviousFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(FileName);
        // What a complete save writes, made here independently of the child.
        buildProject();
        const QByteArray complete = ProjectFile::projectBytes();
        DrawManager::instance()->clear();

        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--save-child"), path});
        const QList<QByteArray> ready = readLine(&child).split(' ');
        QVERIFY(ready.size() == 3 && ready.first() == "ready");
        // Half the kill moments spread over two whole saves, the other half
        // over the part that touches the disk (writing, syncing, renaming),
        // which is short beside making the text.
        const quint32 textUs = quint32(ready.at(1).toLongLong());
        const quint32 saveUs = std::max(textUs + 1, quint32(ready.at(2).toLongLong()));
        QCOMPARE(fileBytes(path), complete);

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        for (int kill = 0; kill < 100; ++kill) {
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
            // opens projects by their suffix may take it for one.
            for (const QString &entry : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
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
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--save-child") == 0)
        return runChild(QString::fromLocal8Bit(argv[2]));
    TestSaveKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savekill.moc"
