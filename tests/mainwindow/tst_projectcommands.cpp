#include "mainwindow/mainwindow.h"

#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/useroptgroup.h"
#include "mainwindow/firstpage.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/recentlabel.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "project/projectfile.h"
#include "project/projecttree.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsrectitem.h"
#include "support/isolatedsettings.h"
#include "support/modalscript.h"

#include <QAction>
#include <QLineEdit>
#include <QSettings>
#include <QStandardItemModel>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// New, open, save, save as and close as the user runs them from the menus.
class TestProjectCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newProjectCreatesFoldersAndFile();
    void drawnProjectReopensIdentically();
    void saveQuestionAnswers_data();
    void saveQuestionAnswers();
    void failedSaveKeepsWork();
    void closeAsksBeforeDiscarding();
    void saveAsWithoutExtension();
    void openFailures_data();
    void openFailures();
    void damagedFileIsReported();
    void missingRecentEntryNamesItsPath();
    void startPageFollowsRecentList();

private:
    // Runs the new-project dialog with name and location filled in.
    void newProject(const QString &name);
    DrawScene *currentScene() const { return DrawManager::instance()->currentScene(); }

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestProjectCommands::initTestCase()
{
    QDir(m_dir.path()).mkpath("bin");
    QDir::setCurrent(QDir(m_dir.path()).filePath("bin"));
}

void TestProjectCommands::init()
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin").clear();
    m_window = std::make_unique<MainWindow>();
}

void TestProjectCommands::cleanup()
{
    m_window->closeProject();
    m_window.reset();
}

void TestProjectCommands::newProject(const QString &name)
{
    auto *dialog = m_window->findChild<NewProjectDialog *>();
    QVERIFY(dialog);
    QTimer::singleShot(0, dialog, [dialog, name, this] {
        dialog->findChild<QLineEdit *>("name")->setText(name);
        dialog->findChild<QLineEdit *>("location")->setText(m_dir.path());
        dialog->on_ok_clicked();
    });
    // Never block the run: a dialog still open here is a failure.
    QTimer::singleShot(3000, dialog, [dialog] {
        if (dialog->isVisible())
            dialog->reject();
    });
    m_window->newFile();
}

void TestProjectCommands::newProjectCreatesFoldersAndFile()
{
    ModalScript script;
    newProject("demo");
    const QString file = m_dir.filePath("demo/demo.mvprg");
    QVERIFY(QFile::exists(file));
    QVERIFY(QDir(m_dir.filePath("demo/images")).exists());
    QVERIFY(QDir(m_dir.filePath("demo/fonts")).exists());
    QCOMPARE(m_window->windowTitle(), QString("Marovin : demo"));
    QCOMPARE(m_window->centralPages()->currentIndex(), 1);
    QVERIFY(currentScene());
    QCOMPARE(currentScene()->objectName(), QString("基本画面_1"));
    QCOMPARE(m_window->recentFileActions().first()->data().toString(), file);
    QVERIFY(Config::instance()->systemRegisterModel()->rowCount() > 0);
    QVERIFY(script.requests().isEmpty());
}

void TestProjectCommands::drawnProjectReopensIdentically()
{
    ModalScript script;
    newProject("drawn");
    DrawScene *scene = currentScene();
    auto *rect = new GraphicsRectItem(QRect(0, 0, 120, 60));
    scene->addItem(rect);
    rect->normalizeGeometry();
    rect->setProperty("pos", QPointF(40, 50));
    rect->setProperty("brushColor", QColor("#336699"));
    scene->assignItemName(rect);
    auto *ellipse = new GraphicsEllipseItem(QRect(0, 0, 80, 80));
    scene->addItem(ellipse);
    ellipse->normalizeGeometry();
    ellipse->setProperty("pos", QPointF(300, 200));
    ellipse->setProperty("brushColor", QColor("#993366"));
    scene->assignItemName(ellipse);
    m_window->projectTree()->addForm(WindowScreen);
    m_window->setModified(true);

    const QString file = Config::instance()->projectFile();
    m_window->save();
    QVERIFY(!m_window->isModified());
    const QByteArray first = fileBytes(file);

    m_window->closeFile();
    QCOMPARE(m_window->centralPages()->currentIndex(), 0);
    QVERIFY(DrawManager::instance()->scenes().isEmpty());

    QVERIFY(m_window->openProject(file));
    QCOMPARE(DrawManager::instance()->scenes().size(), 2);
    QCOMPARE(DrawManager::instance()->scenes().first()->userItems().size(), 2);
    m_window->save();
    QCOMPARE(fileBytes(file), first);
    QVERIFY(script.requests().isEmpty());
}

void TestProjectCommands::saveQuestionAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true << true;
    QTest::newRow("no") << int(QMessageBox::No) << true << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false;
}

void TestProjectCommands::saveQuestionAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    const QString name = QString("asked_%1").arg(QTest::currentDataTag());
    {
        ModalScript quiet;
        newProject(name);
    }
    const QString file = Config::instance()->projectFile();
    const QByteArray before = fileBytes(file);
    m_window->projectTree()->addForm(TemplateScreen);
    QVERIFY(m_window->isModified());

    ModalScript script;
    script.pressButton(answer);
    QCOMPARE(m_window->maybeSave(), closed);
    QCOMPARE(script.requests().first().text, QString("是否将改动保存到 %1 工程?").arg(name));
    QCOMPARE(DrawManager::instance()->scenes().isEmpty(), closed);
    QCOMPARE(fileBytes(file) != before, saved);
}

void TestProjectCommands::failedSaveKeepsWork()
{
    {
        ModalScript quiet;
        newProject("keep");
    }
    const QString file = Config::instance()->projectFile();
    const QByteArray before = fileBytes(file);
    m_window->projectTree()->addForm(WindowScreen);
    // The project's folder is replaced by a plain file: nothing can be
    // written there any more.
    const QString folder = Config::instance()->projectPath();
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    ModalScript script;
    script.pressButton(QMessageBox::Yes); // save the changes?
    QVERIFY(!m_window->maybeSave());
    QVERIFY(m_window->isModified());
    QCOMPARE(DrawManager::instance()->scenes().size(), 2);
    const QStringList texts = script.texts();
    QVERIFY(texts.at(1).startsWith("写入文件失败 " + file));
    QCOMPARE(texts.at(2), QString("工程文件保存失败！"));
    Q_UNUSED(before)
}

void TestProjectCommands::closeAsksBeforeDiscarding()
{
    {
        ModalScript quiet;
        newProject("closing");
    }
    m_window->projectTree()->addForm(WindowScreen);
    ModalScript script;
    script.pressButton(QMessageBox::Cancel);
    m_window->closeFile();
    QCOMPARE(script.requests().size(), 1);
    QCOMPARE(script.requests().first().title, QString("工程"));
    QCOMPARE(DrawManager::instance()->scenes().size(), 2);
    QCOMPARE(m_window->centralPages()->currentIndex(), 1);
}

void TestProjectCommands::saveAsWithoutExtension()
{
    {
        ModalScript quiet;
        newProject("first");
    }
    ModalScript script;
    const QString target = m_dir.filePath("copy");
    script.chooseText(target);
    m_window->saveAs();
    QVERIFY(QFile::exists(target));
    QCOMPARE(script.requests().first().title, QString("工程另存为"));
    QCOMPARE(m_window->windowTitle(), QString("Marovin : copy"));
    m_window->setModified(true);
    m_window->save();
    QVERIFY(QFile::exists(target + ".mvprg"));
}

void TestProjectCommands::openFailures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("plain text") << QByteArray("just some notes\n") << true;
    QTest::newRow("other xml") << QByteArray("<?xml version=\"1.0\"?>\n<Notes/>\n") << true;
}

void TestProjectCommands::openFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    const QString path = m_dir.filePath(QString("bad_%1.mvprg").arg(QTest::currentDataTag()));
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ModalScript script;
    QVERIFY(!m_window->openProject(path));
    const QStringList texts = script.texts();
    QCOMPARE(texts.size(), 2);
    QVERIFY2(texts.first().startsWith("读取文件失败 " + path + "。\n"), qPrintable(texts.first()));
    QCOMPARE(texts.last(), QString("工程文件打开失败！"));
    QVERIFY(DrawManager::instance()->scenes().isEmpty());
    QCOMPARE(m_window->centralPages()->currentIndex(), 0);
}

void TestProjectCommands::damagedFileIsReported()
{
    {
        ModalScript quiet;
        newProject("damaged");
    }
    const QString file = Config::instance()->projectFile();
    m_window->closeProject();
    QByteArray bytes = fileBytes(file);
    bytes.chop(bytes.size() - bytes.indexOf("<Form") - 12);
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    ModalScript script;
    QVERIFY(m_window->openProject(file));
    QCOMPARE(script.requests().size(), 1);
    QCOMPARE(script.requests().first().icon, int(QMessageBox::Warning));
    QVERIFY(script.texts().first().contains(file));
    QVERIFY(script.texts().first().contains("行"));
}

void TestProjectCommands::missingRecentEntryNamesItsPath()
{
    const QString gone = m_dir.filePath("gone/gone.mvprg");
    m_window->updateRecentFiles(gone);
    ModalScript script;
    m_window->recentFileActions().first()->trigger();
    QVERIFY(script.texts().first().startsWith("读取文件失败 " + gone));
    // The entry stays: the file may come back (a network drive).
    QCOMPARE(m_window->recentFileActions().first()->data().toString(), gone);
}

void TestProjectCommands::startPageFollowsRecentList()
{
    for (const char *name : {"/p/a/a.mvprg", "/p/b/b.mvprg", "/p/c/c.mvprg"})
        m_window->updateRecentFiles(name);
    FirstPage *page = m_window->firstPage();
    for (int i = 0; i < FirstPage::RecentCount; ++i)
        QCOMPARE(!page->recentLabel(i)->isHidden(), i < 3);
    m_window->clearRecentfile();
    for (int i = 0; i < FirstPage::RecentCount; ++i)
        QVERIFY(page->recentLabel(i)->isHidden());
}

QTEST_MAIN(TestProjectCommands)
#include "tst_projectcommands.moc"
