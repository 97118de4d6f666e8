#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"

#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "mainwindow/autosaver.h"
#include "model/config.h"
#include "services/editorsettings.h"
#include "shapes/graphicsrectitem.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/newprojectscript.h"
#include "support/processfixture.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

int shapeCount()
{
    int count = 0;
    for (DrawScene *scene : DrawManager::instance()->scenes())
        count += scene->userItems().size();
    return count;
}

// Pushes a file's time back, so that a copy written now counts as newer
// whatever the file system's time resolution.
void makeOlder(const QString &path, int seconds)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                             QFileDevice::FileModificationTime));
}

} // namespace

// The recovery copy written while the user works, and offered back at open.
class TestAutoSave : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    int m_made = 0;

    // A new, saved project with one rectangle drawn after the save, so it
    // has unsaved work.
    QString projectWithWork(bool encoded = false)
    {
        const QString name = QStringLiteral("p%1").arg(++m_made);
        {
            ModalScript quiet;
            runNewProject(m_window.get(), name, m_dir.path());
            Config::instance()->encryption = encoded ? 1 : 0;
            m_window->projectController()->save();
        }
        const QString file = Config::instance()->projectFile();
        makeOlder(file, 60);
        auto *shape = new GraphicsRectItem(QRect(0, 0, 50, 40));
        DrawManager::instance()->currentScene()->addItem(shape);
        DrawManager::instance()->currentScene()->assignItemName(shape);
        m_window->setModified(true);
        return file;
    }

    void tick() { QMetaObject::invokeMethod(m_window->autoSaver()->timer(), "timeout"); }

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void init()
    {
        ProcessFixture::forgetSettings();
        ProcessFixture::start();
        m_window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        ModalScript quiet;
        ProcessFixture::close(m_window);
        ProcessFixture::finish();
    }

    void writesCopyNotFile_data()
    {
        QTest::addColumn<bool>("encoded");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("closeAnswer");
        QTest::newRow("plain, close cancelled") << false << true << int(QMessageBox::Cancel);
        QTest::newRow("encoded, changes dropped") << true << true << int(QMessageBox::No);
        QTest::newRow("nothing to save") << false << false << 0;
    }
    void writesCopyNotFile()
    {
        QFETCH(bool, encoded);
        QFETCH(bool, modified);
        QFETCH(int, closeAnswer);
        const QString file = projectWithWork(encoded);
        m_window->setModified(modified);
        const QByteArray saved = fileBytes(file);
        ModalScript script;
        tick();
        QCOMPARE(fileBytes(file), saved);
        const QString copy = AutoSaver::copyPath(file);
        QCOMPARE(QFile::exists(copy), modified);
        QVERIFY(script.requests().isEmpty());
        if (!modified)
            return;
        // Exactly what a save would write now, in the project's own form,
        // and no temporary file left beside it.
        QCOMPARE(fileBytes(copy), ProjectFile::projectBytes());
        QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files).size(), 2);
        // The copy lives exactly as long as the changes it holds.
        script.pressButton(closeAnswer);
        m_window->projectController()->maybeSave();
        QCOMPARE(QFile::exists(copy), closeAnswer == QMessageBox::Cancel);
    }

    void recoveryOnOpen_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("copyNewer");
        QTest::newRow("yes") << int(QMessageBox::Yes) << true;
        QTest::newRow("no") << int(QMessageBox::No) << true;
        QTest::newRow("copy older than the file") << 0 << false;
    }
    void recoveryOnOpen()
    {
        QFETCH(int, answer);
        QFETCH(bool, copyNewer);
        const QString file = projectWithWork();
        tick();
        const QString copy = AutoSaver::copyPath(file);
        // Gone without a word, as a killed editor goes.
        m_window->setModified(false);
        QVERIFY(m_window->projectController()->maybeSave());
        if (!copyNewer)
            makeOlder(copy, 120);

        ModalScript script;
        if (answer)
            script.pressButton(answer);
        QVERIFY(m_window->projectController()->openProject(file));
        QCOMPARE(script.requests().size(), copyNewer ? 1 : 0);
        if (copyNewer)
            QCOMPARE(script.texts().first(), QString("发现自动保存的恢复文件（%1）。是否恢复？\n选择“否”将删除该恢复文件。").arg(copy));
        const bool recovered = answer == QMessageBox::Yes;
        QCOMPARE(shapeCount(), recovered ? 1 : 0);
        if (recovered)
            QVERIFY(m_window->isModified());
        QCOMPARE(Config::instance()->projectFile(), file);
        QCOMPARE(QFile::exists(copy), recovered || !copyNewer);
        if (!recovered)
            return;
        // Saving puts the recovered work into the file and retires the copy.
        m_window->projectController()->save();
        QVERIFY(!QFile::exists(copy));
        m_window->projectController()->closeProject();
        QVERIFY(m_window->projectController()->openProject(file));
        QCOMPARE(shapeCount(), 1);
    }

    // The timer follows the settings: off stops it, on again starts it even
    // with the interval it had, and a change elsewhere does not put the
    // next copy off.
    void timerFollowsSettings()
    {
        QTimer *timer = m_window->autoSaver()->timer();
        EditorSettings *settings = EditorSettings::instance();
        EditorSettings::Values values = settings->values();
        values.autoSave = true;
        values.autoSaveMinutes = 3;
        settings->setValues(values);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 3 * 60 * 1000);
        values.autoSave = false;
        settings->setValues(values);
        QVERIFY(!timer->isActive());
        values.autoSave = true;
        settings->setValues(values);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 3 * 60 * 1000);

        QTest::qWait(30);
        const int remaining = timer->remainingTime();
        values.gridX += 2;
        settings->setValues(values);
        QVERIFY(timer->remainingTime() <= remaining);
    }

    // Nowhere to write (the copy's name is taken by a folder): the log and
    // the status bar say so, no box interrupts.
    void failureIsQuiet()
    {
        const QString file = projectWithWork();
        const QString copy = AutoSaver::copyPath(file);
        QVERIFY(QDir().mkpath(copy));
        ModalScript script;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^autosave failed: "));
        tick();
        QVERIFY(script.requests().isEmpty());
        QVERIFY(m_window->statusBar()->currentMessage().startsWith("自动保存失败："));
    }
};

QTEST_MAIN(TestAutoSave)
#include "tst_autosave.moc"
