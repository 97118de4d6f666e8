#include "mainwindow/mainwindow.h"

#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "mainwindow/dockmanager.h"
#include "mainwindow/optionsetdialog.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "support/isolatedsettings.h"
#include "support/modalscript.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QGraphicsRectItem>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

QSettings nativeStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin");
}

const QStringList startEnabled = {"new",    "open",    "clear",   "openDir",    "exit", "setup",
                                  "config", "textLib", "addressLib", "help",    "about"};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void toolBarsFollowCentralPage();
    void docksFollowCentralPage();
    void dockTabClickTogglesTabifiedDocks();
    void windowTitle();
    void modifiedFlagDrivesSave();
    void zoomSteps_data();
    void zoomSteps();
    void typedZoomNeverReachesViewWhenInvalid_data();
    void typedZoomNeverReachesViewWhenInvalid();
    void enablingFollowsSelection_data();
    void enablingFollowsSelection();
    void buildWritesToLog();
    void sceneContextMenuContents();
    void positionLabel();
    void recentFiles();
    void saveQuestion();
    void closeEventAsksWhenModified();
    void settingsReadAndWritten();
    void englishRetranslatesEverything();
    void languageFolderTakesPrecedence();
    void chineseLoadsToolkitCatalogue();
    void settingsDialogSwitchesLanguage();

private:
    void setCurrentScene(int selected);

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DrawView> m_view;
    std::unique_ptr<DrawScene> m_scene;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The settings file lives in ../config relative to the working folder.
    QDir(m_dir.path()).mkpath("bin");
    QDir::setCurrent(QDir(m_dir.path()).filePath("bin"));
}

void TestMainWindow::init()
{
    nativeStore().clear();
    QFile::remove(MainWindow::settingsFile());
    Config::instance()->uiLanguage = 0;
    m_window = std::make_unique<MainWindow>();
}

void TestMainWindow::cleanup()
{
    DrawManager::instance()->setCurrentView(nullptr);
    // The zoom is shared by all views; start every test at 100 %.
    DrawView(nullptr).setZoom(1.0);
    m_window.reset();
    m_view.reset();
    m_scene.reset();
}

void TestMainWindow::setCurrentScene(int selected)
{
    m_scene = std::make_unique<DrawScene>();
    m_scene->setSceneRect(0, 0, 800, 480);
    for (int i = 0; i < 3; ++i) {
        auto *item = new QGraphicsRectItem(i * 50, 0, 40, 40);
        item->setFlag(QGraphicsItem::ItemIsSelectable);
        m_scene->addItem(item);
        item->setSelected(i < selected);
    }
    m_view = std::make_unique<DrawView>(m_scene.get());
    DrawManager::instance()->setCurrentView(m_view.get());
    m_window->updateActions();
}

void TestMainWindow::startState()
{
    for (const QString &key : m_window->actionKeys()) {
        QAction *action = m_window->action(key);
        QVERIFY2(action, qPrintable(key));
        QCOMPARE(action->isEnabled(), startEnabled.contains(key));
    }
    QCOMPARE(m_window->action("textLib")->shortcut(), QKeySequence("Ctrl+1"));
    QCOMPARE(m_window->action("addressLib")->shortcut(), QKeySequence("Ctrl+2"));
    QCOMPARE(m_window->action("build")->shortcut(), QKeySequence("F7"));
    QVERIFY(!m_window->action("new")->icon().isNull());
    QVERIFY(!m_window->action("align_all")->icon().isNull());
    QCOMPARE(m_window->recentFileActions().size(), 10);
    QCOMPARE(m_window->menus().size(), 6);
    QCOMPARE(m_window->zoomBox()->count(), 7);
    QCOMPARE(m_window->zoomBox()->currentText(), QString("100%"));
    QVERIFY(!m_window->zoomBox()->isEnabled());
    QCOMPARE(m_window->centralPages()->currentIndex(), 0);
    QVERIFY(!m_window->isModified());
}

void TestMainWindow::toolBarsFollowCentralPage()
{
    const QList<QToolBar *> bars = m_window->toolBars();
    QCOMPARE(bars.size(), 6);
    auto shown = [&] {
        QList<bool> result;
        for (QToolBar *bar : bars)
            result << !bar->isHidden();
        return result;
    };
    QCOMPARE(shown(), (QList<bool>{true, true, false, false, false, false}));
    QVERIFY(!m_window->menus().at(2)->isEnabled());
    QVERIFY(!m_window->menus().at(3)->isEnabled());

    m_window->setCentralPage(false);
    QCOMPARE(shown(), (QList<bool>{true, true, true, true, true, true}));
    QVERIFY(m_window->menus().at(2)->isEnabled());
    QCOMPARE(m_window->centralPages()->currentIndex(), 1);

    m_window->setCentralPage(true);
    QCOMPARE(shown(), (QList<bool>{true, true, false, false, false, false}));
}

void TestMainWindow::docksFollowCentralPage()
{
    DockManager *docks = m_window->dockManager();
    QCOMPARE(docks->docks().size(), 7);
    for (QDockWidget *dock : docks->docks())
        QVERIFY(dock->isHidden());
    QVERIFY(docks->edgeBar(Qt::LeftDockWidgetArea)->isHidden());

    m_window->setCentralPage(false);
    for (int i = 0; i < 4; ++i)
        QVERIFY2(!docks->dock(i)->isHidden(), qPrintable(docks->dock(i)->windowTitle()));
    for (int i = 4; i < 7; ++i)
        QVERIFY(docks->dock(i)->isHidden());
    QVERIFY(!docks->edgeBar(Qt::LeftDockWidgetArea)->isHidden());
    QVERIFY(!docks->edgeBar(Qt::BottomDockWidgetArea)->isHidden());
    QCOMPARE(docks->tabBar(Qt::LeftDockWidgetArea)->count(), 2);
    QCOMPARE(docks->tabBar(Qt::RightDockWidgetArea)->count(), 2);
    QCOMPARE(docks->tabBar(Qt::BottomDockWidgetArea)->count(), 3);

    // A bottom dock shown by the user keeps its state across the start page.
    docks->dock(6)->show();
    m_window->setCentralPage(true);
    QVERIFY(docks->dock(6)->isHidden());
    m_window->setCentralPage(false);
    QVERIFY(docks->dock(6)->isHidden());
}

void TestMainWindow::dockTabClickTogglesTabifiedDocks()
{
    m_window->setCentralPage(false);
    DockManager *docks = m_window->dockManager();
    QTabBar *bottom = docks->tabBar(Qt::BottomDockWidgetArea);
    QDockWidget *compile = docks->dock(4);
    QDockWidget *find = docks->dock(5);
    QDockWidget *output = docks->dock(6);

    // Clicking a tab of a hidden output dock shows it and hides its siblings.
    find->show();
    QMetaObject::invokeMethod(bottom, "tabBarClicked", Q_ARG(int, 0));
    QVERIFY(!compile->isHidden());
    QVERIFY(find->isHidden());
    QVERIFY(output->isHidden());

    // Clicking it again hides it and brings the others back.
    QMetaObject::invokeMethod(bottom, "tabBarClicked", Q_ARG(int, 0));
    QVERIFY(compile->isHidden());
    QVERIFY(!find->isHidden());
    QVERIFY(!output->isHidden());

    // A dock that is not tabified toggles alone.
    QTabBar *left = docks->tabBar(Qt::LeftDockWidgetArea);
    QDockWidget *project = docks->dock(0);
    QDockWidget *element = docks->dock(1);
    QMetaObject::invokeMethod(left, "tabBarClicked", Q_ARG(int, 0));
    QVERIFY(project->isHidden());
    QVERIFY(!element->isHidden());
}

void TestMainWindow::windowTitle()
{
    QCOMPARE(m_window->windowTitle(), QString("Marovin"));
    m_window->setApplicationTitle("demo");
    QCOMPARE(m_window->windowTitle(), QString("Marovin : demo"));
    m_window->setApplicationTitle(QString());
    QCOMPARE(m_window->windowTitle(), QString("Marovin"));
}

void TestMainWindow::modifiedFlagDrivesSave()
{
    m_window->setModified(true);
    QVERIFY(m_window->isModified());
    QVERIFY(m_window->action("save")->isEnabled());
    m_window->setModified(false);
    QVERIFY(!m_window->action("save")->isEnabled());
}

void TestMainWindow::zoomSteps_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("in");
    QTest::addColumn<QString>("expected");
    QTest::newRow("in from 100") << "100%" << true << "110%";
    QTest::newRow("in at 500") << "500%" << true << "500%";
    QTest::newRow("in from 495") << "495%" << true << "495%";
    QTest::newRow("out from 100") << "100%" << false << "90%";
    QTest::newRow("out at 10") << "10%" << false << "10%";
}

void TestMainWindow::zoomSteps()
{
    QFETCH(QString, start);
    QFETCH(bool, in);
    QFETCH(QString, expected);
    setCurrentScene(0);
    m_window->zoomBox()->setCurrentText(start);
    if (in)
        m_window->zoomIn();
    else
        m_window->zoomOut();
    QCOMPARE(m_window->zoomBox()->currentText(), expected);
    QCOMPARE(m_view->zoomFactor(), expected.chopped(1).toDouble() / 100.0);
}

void TestMainWindow::typedZoomNeverReachesViewWhenInvalid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("factor");
    QTest::newRow("number") << "250%" << 2.5;
    QTest::newRow("no percent sign") << "50" << 0.5;
    QTest::newRow("letters") << "abc" << 1.0;
    QTest::newRow("zero") << "0%" << 1.0;
    QTest::newRow("negative") << "-20%" << 1.0;
    QTest::newRow("too large") << "900%" << 1.0;
}

void TestMainWindow::typedZoomNeverReachesViewWhenInvalid()
{
    QFETCH(QString, text);
    QFETCH(double, factor);
    setCurrentScene(0);
    m_window->zoomBox()->setCurrentText(text);
    QCOMPARE(m_view->zoomFactor(), factor);
}

void TestMainWindow::enablingFollowsSelection_data()
{
    QTest::addColumn<int>("selected");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("three") << 3;
}

void TestMainWindow::enablingFollowsSelection()
{
    QFETCH(int, selected);
    setCurrentScene(selected);
    auto enabled = [&](const char *key) { return m_window->action(key)->isEnabled(); };
    for (const char *key : {"saveAs", "close", "find", "zoomIn", "property", "build", "upload"})
        QVERIFY2(enabled(key), key);
    QVERIFY(m_window->zoomBox()->isEnabled());
    for (const char *key : {"copy", "cut", "delete", "toFront", "toBack", "group"})
        QCOMPARE(enabled(key), selected >= 1);
    QVERIFY(!enabled("unGroup")); // no group among plain items
    for (const char *key : {"align_left", "align_top", "align_all", "align_width"})
        QCOMPARE(enabled(key), selected >= 2);
    for (const char *key : {"align_horzeven", "align_verteven"})
        QCOMPARE(enabled(key), selected >= 3);
    QVERIFY(!enabled("paste"));
}

void TestMainWindow::buildWritesToLog()
{
    QStringList seen;
    static QStringList *sink = nullptr;
    sink = &seen;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { *sink << message; });
    setCurrentScene(0);
    QVERIFY(m_window->action("build")->isEnabled());
    m_window->action("build")->trigger();
    qInstallMessageHandler(previous);
    QCOMPARE(seen, QStringList{"build"});
}

void TestMainWindow::sceneContextMenuContents()
{
    QMenu *menu = MainWindow::sceneContextMenu();
    QVERIFY(menu);
    QStringList keys;
    int subMenus = 0;
    for (QAction *action : menu->actions()) {
        if (action->menu())
            ++subMenus;
        else
            keys << action->objectName();
    }
    QCOMPARE(subMenus, 5);
    QCOMPARE(keys, (QStringList{"undo", "redo", "copy", "cut", "paste", "delete", "find",
                                "property"}));
}

void TestMainWindow::positionLabel()
{
    QCOMPARE(m_window->positionLabel()->text(), QString("X:   0, Y:   0"));
}

void TestMainWindow::recentFiles()
{
    auto visibleTexts = [&] {
        QStringList texts;
        for (QAction *a : m_window->recentFileActions())
            if (a->isVisible())
                texts << a->text();
        return texts;
    };
    m_window->updateRecentFiles("/p/a.mvprg");
    m_window->updateRecentFiles("/p/b.mvprg");
    m_window->updateRecentFiles("/p/a.mvprg");
    m_window->updateRecentFiles("/p/A.mvprg");
    QCOMPARE(visibleTexts(), (QStringList{"&1 /p/A.mvprg", "&2 /p/a.mvprg", "&3 /p/b.mvprg"}));
    QCOMPARE(m_window->recentFileActions().first()->data().toString(), QString("/p/A.mvprg"));

    for (int i = 0; i < 12; ++i)
        m_window->updateRecentFiles(QString("/q/%1.mvprg").arg(i));
    QCOMPARE(visibleTexts().size(), 10);
    QCOMPARE(visibleTexts().first(), QString("&1 /q/11.mvprg"));
    QCOMPARE(nativeStore().value("recentFiles").toStringList().size(), 10);

    m_window->clearRecentfile();
    QVERIFY(visibleTexts().isEmpty());
    QVERIFY(nativeStore().value("recentFiles").toStringList().isEmpty());
}

void TestMainWindow::saveQuestion()
{
    Config::instance()->name = "demo";
    m_window->setModified(true);
    {
        ModalScript script;
        script.pressButton(QMessageBox::Cancel);
        QVERIFY(!m_window->maybeSave());
        QVERIFY(m_window->isModified());
        QCOMPARE(script.requests().size(), 1);
        const ModalRequest &question = script.requests().first();
        QCOMPARE(question.title, QString("工程"));
        QCOMPARE(question.text, QString("是否将改动保存到 demo 工程?"));
        QCOMPARE(question.buttons, (QStringList{"是(&Y)", "否(&N)", "取消(&C)"}));
    }
    {
        ModalScript script;
        script.pressButton(QMessageBox::No);
        QVERIFY(m_window->maybeSave());
        QVERIFY(!m_window->isModified());
        QCOMPARE(Config::instance()->name, QString("untiled"));
    }
    {
        // Not modified: no question, the project is closed all the same.
        ModalScript script;
        QVERIFY(m_window->maybeSave());
        QVERIFY(script.requests().isEmpty());
    }
}

void TestMainWindow::closeEventAsksWhenModified()
{
    m_window->setModified(true);
    {
        ModalScript script;
        script.pressButton(QMessageBox::Cancel);
        QCloseEvent event;
        QApplication::sendEvent(m_window.get(), &event);
        QVERIFY(!event.isAccepted());
        QVERIFY(!QFile::exists(MainWindow::settingsFile()));
    }
    {
        ModalScript script;
        script.pressButton(QMessageBox::No);
        QCloseEvent event;
        QApplication::sendEvent(m_window.get(), &event);
        QVERIFY(event.isAccepted());
        QVERIFY(QFile::exists(MainWindow::settingsFile()));
    }
}

void TestMainWindow::settingsReadAndWritten()
{
    {
        QSettings ini(MainWindow::settingsFile(), QSettings::IniFormat);
        ini.setValue("language", 1);
        ini.setValue("showNew", false);
    }
    m_window->readSettings();
    QCOMPARE(int(Config::instance()->uiLanguage), 1);
    QVERIFY(!Config::instance()->showNew);

    Config::instance()->uiLanguage = 0;
    Config::instance()->showNew = true;
    m_window->writeSettings();
    QSettings ini(MainWindow::settingsFile(), QSettings::IniFormat);
    QCOMPARE(ini.value("language").toInt(), 0);
    QCOMPARE(ini.value("showNew").toBool(), true);
    Config::instance()->showNew = false;
}

void TestMainWindow::englishRetranslatesEverything()
{
    QCOMPARE(m_window->menus().first()->title(), QString("工程(&P)"));
    m_window->changeLanguage(1);
    QCOMPARE(m_window->menus().first()->title(), QString("&Project"));
    QCOMPARE(m_window->menus().at(3)->title(), QString("&Compiler"));
    QCOMPARE(m_window->action("new")->text(), QString("&New project"));
    QCOMPARE(m_window->action("saveAs")->text(), QString("Save &As..."));
    QCOMPARE(m_window->toolBars().at(2)->windowTitle(), QString("View"));
    QStringList docks;
    for (QDockWidget *dock : m_window->dockManager()->docks())
        docks << dock->windowTitle();
    QCOMPARE(docks, (QStringList{"Project", "Element", "Toolbox", "PropertyBrowser",
                                 "Complier Output", "Find Output", "Application Output"}));
    QCOMPARE(m_window->dockManager()->tabBar(Qt::RightDockWidgetArea)->tabText(0),
             QString("Toolbox"));

    m_window->changeLanguage(0);
    QCOMPARE(m_window->menus().first()->title(), QString("工程(&P)"));
    QCOMPARE(m_window->dockManager()->dock(0)->windowTitle(), QString("工程"));
}

void TestMainWindow::languageFolderTakesPrecedence()
{
    QDir(m_dir.path()).mkpath("language");
    const QString local = QDir(m_dir.path()).filePath("language/en_US_app.ts");

    // A compiled catalogue under the expected name wins over the built-in one.
    QVERIFY(QFile::copy(OVERRIDE_CATALOGUE, local));
    m_window->changeLanguage(1);
    QCOMPARE(m_window->menus().first()->title(), QString("&Local catalogue"));

    // An uncompiled or broken file must not cost the user the English
    // interface: the built-in catalogue is used instead.
    QFile::remove(local);
    QFile broken(local);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("<?xml version=\"1.0\"?><TS></TS>");
    broken.close();
    m_window->changeLanguage(1);
    QCOMPARE(m_window->menus().first()->title(), QString("&Project"));

    QFile::remove(local);
    m_window->changeLanguage(0);
}

void TestMainWindow::chineseLoadsToolkitCatalogue()
{
    m_window->changeLanguage(0);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("取消"));
    m_window->changeLanguage(1);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
    m_window->changeLanguage(0);
}

void TestMainWindow::settingsDialogSwitchesLanguage()
{
    QSignalSpy changes(Config::instance(), &Config::languageChanged);
    {
        OptionSetDialog dialog(m_window.get());
        // Confirming without a change stores the value but switches nothing.
        dialog.languageBox()->setCurrentIndex(0);
        dialog.on_ok_clicked();
        QCOMPARE(changes.count(), 0);
        QCOMPARE(QSettings(MainWindow::settingsFile(), QSettings::IniFormat).value("language").toInt(), 0);

        dialog.languageBox()->setCurrentIndex(1);
        dialog.on_ok_clicked();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_window->menus().first()->title(), QString("&Project"));
        QCOMPARE(m_window->dockManager()->dock(1)->windowTitle(), QString("Element"));
        QCOMPARE(QSettings(MainWindow::settingsFile(), QSettings::IniFormat).value("language").toInt(), 1);
        // An open dialog follows the switch on its own (the toolkit posts
        // the language-change event to every window).
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(dialog.windowTitle(), QString("System"));
    }
    {
        OptionSetDialog dialog(m_window.get());
        dialog.languageBox()->setCurrentIndex(0);
        dialog.on_cancel_clicked();
        QCOMPARE(int(Config::instance()->uiLanguage), 1);
    }
    Config::instance()->setLanguage(0);
    QCOMPARE(m_window->menus().first()->title(), QString("工程(&P)"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
