#include "mainwindow/mainwindow.h"

#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "mainwindow/dockmanager.h"
#include "mainwindow/firstpage.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/optionsetdialog.h"
#include "mainwindow/projecttree.h"
#include "mainwindow/recentlabel.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/processfixture.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

QSettings nativeStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin");
}

QVariant storedSetting(const char *key)
{
    return QSettings(MainWindow::settingsFile(), QSettings::IniFormat).value(key);
}

// One character per widget, 1 for shown.
template<typename T>
QString shownMask(const QList<T *> &widgets)
{
    QString mask;
    for (const T *widget : widgets)
        mask += widget->isHidden() ? '0' : '1';
    return mask;
}

const QStringList startEnabled = {"new",    "open",    "clear",      "openDir", "exit", "setup",
                                  "config", "textLib", "addressLib", "help",    "about"};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DrawView> m_view;
    std::unique_ptr<DrawScene> m_scene;

    void setCurrentScene(int selected)
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

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        ProcessFixture::enterBinFolder(m_dir);
    }

    void init()
    {
        ProcessFixture::forgetSettings();
        ProcessFixture::start();
        m_window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        ProcessFixture::close(m_window);
        m_view.reset();
        m_scene.reset();
        ProcessFixture::finish();
    }

    // Also the title rules and the modified flag.
    void startState()
    {
        for (const QString &key : m_window->actionKeys()) {
            QAction *action = m_window->action(key);
            QVERIFY2(action, qPrintable(key));
            QCOMPARE(action->isEnabled(), startEnabled.contains(key));
        }
        QVERIFY(!m_window->action("new")->icon().isNull());
        QCOMPARE(m_window->zoomBox()->currentText(), QString("100%"));
        QVERIFY(!m_window->zoomBox()->isEnabled());
        QCOMPARE(m_window->centralPages()->currentIndex(), 0);
        QCOMPARE(m_window->positionLabel()->text(), QString("X:   0, Y:   0"));
        QVERIFY(!m_window->isModified());

        QCOMPARE(m_window->windowTitle(), QString("Marovin"));
        m_window->setApplicationTitle("demo");
        QCOMPARE(m_window->windowTitle(), QString("Marovin : demo"));
        m_window->setApplicationTitle(QString());
        QCOMPARE(m_window->windowTitle(), QString("Marovin"));
        m_window->setModified(true);
        QVERIFY(m_window->isModified() && m_window->action("save")->isEnabled());
        m_window->setModified(false);
        QVERIFY(!m_window->action("save")->isEnabled());
    }

    void pagesShowToolBarsAndDocks()
    {
        DockManager *docks = m_window->dockManager();
        auto shown
            = [&] { return shownMask(m_window->toolBars()) + ' ' + shownMask(docks->docks()); };
        QCOMPARE(shown(), QString("110000 0000000"));
        QVERIFY(docks->edgeBar(Qt::LeftDockWidgetArea)->isHidden());
        QVERIFY(!m_window->menus().at(2)->isEnabled() && !m_window->menus().at(3)->isEnabled());

        m_window->setCentralPage(false);
        QCOMPARE(shown(), QString("111111 1111000"));
        QCOMPARE(m_window->centralPages()->currentIndex(), 1);
        QVERIFY(m_window->menus().at(2)->isEnabled() && m_window->menus().at(3)->isEnabled());
        QVERIFY(!docks->edgeBar(Qt::LeftDockWidgetArea)->isHidden());
        QVERIFY(!docks->edgeBar(Qt::BottomDockWidgetArea)->isHidden());
        QCOMPARE(docks->tabBar(Qt::LeftDockWidgetArea)->count(), 2);
        QCOMPARE(docks->tabBar(Qt::RightDockWidgetArea)->count(), 2);
        QCOMPARE(docks->tabBar(Qt::BottomDockWidgetArea)->count(), 3);

        // A hidden output dock comes up alone from its tab; clicked again, its
        // siblings come back. A dock that is not tabified toggles alone.
        auto click = [&](Qt::DockWidgetArea area) {
            QMetaObject::invokeMethod(docks->tabBar(area), "tabBarClicked", Q_ARG(int, 0));
        };
        docks->dock(5)->show();
        click(Qt::BottomDockWidgetArea);
        QCOMPARE(shown(), QString("111111 1111100"));
        click(Qt::BottomDockWidgetArea);
        QCOMPARE(shown(), QString("111111 1111011"));
        click(Qt::LeftDockWidgetArea);
        QCOMPARE(shown(), QString("111111 0111011"));

        // Output docks the user opened stay closed after a visit to the start page.
        m_window->setCentralPage(true);
        QCOMPARE(shown(), QString("110000 0000000"));
        m_window->setCentralPage(false);
        QCOMPARE(shown(), QString("111111 1111000"));
    }

    void zoom_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("step"); // 1 zoom in, -1 zoom out, 0 only typed
        QTest::addColumn<double>("factor");
        QTest::newRow("in from 100") << "100%" << 1 << 1.1;
        QTest::newRow("in at 500") << "500%" << 1 << 5.0;
        QTest::newRow("in from 495") << "495%" << 1 << 4.95;
        QTest::newRow("out at 10") << "10%" << -1 << 0.1;
        // Typed texts that are not a zoom from 10 to 500 leave the view alone.
        QTest::newRow("typed") << "250%" << 0 << 2.5;
        QTest::newRow("no percent sign") << "50" << 0 << 0.5;
        QTest::newRow("too large") << "900%" << 0 << 1.0;
    }

    void zoom()
    {
        QFETCH(QString, text);
        QFETCH(int, step);
        QFETCH(double, factor);
        setCurrentScene(0);
        m_window->zoomBox()->setCurrentText(text);
        if (step > 0)
            m_window->zoomIn();
        else if (step < 0)
            m_window->zoomOut();
        QCOMPARE(m_view->zoomFactor(), factor);
        if (step)
            QCOMPARE(m_window->zoomBox()->currentText(), QString("%1%").arg(qRound(factor * 100)));
    }

    // Typing a zoom and pressing Enter: a refused text gives way to the zoom
    // the view really has, and the list keeps its seven steps.
    void typedZoomIsAppliedOrWithdrawn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("factor");
        QTest::newRow("in range") << "250%" << "250%" << 2.5;
        QTest::newRow("lowest") << "10" << "10" << 0.1;
        QTest::newRow("too large") << "900%" << "200%" << 2.0;
        QTest::newRow("too small") << "5%" << "200%" << 2.0;
        QTest::newRow("letters") << "abc" << "200%" << 2.0;
        QTest::newRow("negative") << "-150%" << "200%" << 2.0;
    }

    void typedZoomIsAppliedOrWithdrawn()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(double, factor);
        setCurrentScene(0);
        QComboBox *box = m_window->zoomBox();
        box->setCurrentText("200%");
        QCOMPARE(m_view->zoomFactor(), 2.0);

        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->currentText(), shown);
        QCOMPARE(m_view->zoomFactor(), factor);
        QCOMPARE(box->count(), 7);
    }

    void enablingFollowsSelection_data()
    {
        QTest::addColumn<int>("selected");
        for (int selected = 0; selected <= 3; ++selected)
            QTest::newRow(qPrintable(QString::number(selected))) << selected;
    }

    void enablingFollowsSelection()
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

    void recentFiles()
    {
        auto visibleTexts = [&] {
            QStringList texts;
            for (QAction *a : m_window->recentFileActions())
                if (a->isVisible())
                    texts << a->text();
            return texts;
        };
        FirstPage *page = m_window->firstPage();
        auto startPageRows = [&] {
            QString rows;
            for (int i = 0; i < FirstPage::RecentCount; ++i)
                rows += page->recentLabel(i)->isHidden() ? '0' : '1';
            return rows;
        };
        for (const char *path : {"/p/a.mvprg", "/p/b.mvprg", "/p/a.mvprg", "/p/A.mvprg"})
            m_window->updateRecentFiles(path);
        QCOMPARE(visibleTexts(), (QStringList {"&1 /p/A.mvprg", "&2 /p/a.mvprg", "&3 /p/b.mvprg"}));
        QCOMPARE(m_window->recentFileActions().first()->data().toString(), QString("/p/A.mvprg"));
        QCOMPARE(startPageRows(), QString("1110000000"));

        for (int i = 0; i < 12; ++i)
            m_window->updateRecentFiles(QString("/q/%1.mvprg").arg(i));
        QCOMPARE(visibleTexts().size(), 10);
        QCOMPARE(visibleTexts().first(), QString("&1 /q/11.mvprg"));
        QCOMPARE(nativeStore().value("recentFiles").toStringList().size(), 10);
        QCOMPARE(startPageRows(), QString("1111111111"));

        m_window->clearRecentfile();
        QVERIFY(visibleTexts().isEmpty());
        QVERIFY(nativeStore().value("recentFiles").toStringList().isEmpty());
        QCOMPARE(startPageRows(), QString("0000000000"));
    }

    void settingsReadAndWrittenOnClose()
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
        m_window->setModified(true);
        for (int answer : {QMessageBox::Cancel, QMessageBox::No}) {
            ModalScript script;
            script.pressButton(answer);
            QCloseEvent event;
            QApplication::sendEvent(m_window.get(), &event);
            const bool closed = answer == QMessageBox::No;
            QCOMPARE(script.requests().size(), 1);
            QCOMPARE(event.isAccepted(), closed);
            // Written only when the window really closes.
            QCOMPARE(storedSetting("language").toInt(), closed ? 0 : 1);
            QCOMPARE(storedSetting("showNew").toBool(), closed);
        }
        Config::instance()->showNew = false;
    }

    void settingsDialogSwitchesLanguage()
    {
        const auto cancelText
            = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
        m_window->changeLanguage(0);
        QCOMPARE(cancelText(), QString("取消"));

        OptionSetDialog dialog(m_window.get());
        dialog.languageBox()->setCurrentIndex(1);
        dialog.on_ok_clicked();
        QCOMPARE(storedSetting("language").toInt(), 1);
        QCOMPARE(m_window->menus().first()->title(), QString("&Project"));
        QCOMPARE(m_window->action("saveAs")->text(), QString("Save &As..."));
        QCOMPARE(m_window->toolBars().at(2)->windowTitle(), QString("View"));
        QStringList docks;
        for (QDockWidget *dock : m_window->dockManager()->docks())
            docks << dock->windowTitle();
        QCOMPARE(docks,
                 (QStringList {"Project", "Element", "Toolbox", "PropertyBrowser",
                               "Compiler Output", "Find Output", "Application Output"}));
        QCOMPARE(m_window->dockManager()->tabBar(Qt::RightDockWidgetArea)->tabText(0),
                 QString("Toolbox"));
        QStringList treeMenu;
        for (QAction *action : m_window->projectTree()->contextMenu()->actions())
            treeMenu << action->text();
        QCOMPARE(treeMenu.mid(0, 3), (QStringList {"Rename", "Create copy", "Remove"}));
        QCOMPARE(cancelText(), QString("Cancel"));
        // Dialogs and the start page follow on their own: the toolkit posts the
        // change to every window.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(dialog.windowTitle(), QString("System"));
        auto *newProject = m_window->findChild<NewProjectDialog *>();
        QCOMPARE(newProject->windowTitle(), QString("Create New Project"));
        QCOMPARE(newProject->findChild<QLabel *>("sizeValue")->text(), QString("5.0 in"));
        QCOMPARE(m_window->firstPage()->findChild<QToolButton *>("project")->text(),
                 QString("Projects"));

        Config::instance()->setLanguage(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(m_window->menus().first()->title(), QString("工程(&P)"));
        QCOMPARE(m_window->dockManager()->dock(0)->windowTitle(), QString("工程"));
        QCOMPARE(newProject->windowTitle(), QString("创建新工程"));
        QCOMPARE(cancelText(), QString("取消"));
    }

    // The edge tab bars measure their tabs again when the titles change:
    // each English title fits whole, with room around it, and each bar has
    // the length its tabs ask for.
    void edgeBarsFitTheirTitles_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<bool>("onStartPage"); // the bars are hidden during the switch
        for (bool onStartPage : {false, true}) {
            const char *when = onStartPage ? "switched on the start page" : "switched while shown";
            QTest::addRow("left, %s", when) << int(Qt::LeftDockWidgetArea) << onStartPage;
            QTest::addRow("right, %s", when) << int(Qt::RightDockWidgetArea) << onStartPage;
            QTest::addRow("bottom, %s", when) << int(Qt::BottomDockWidgetArea) << onStartPage;
        }
    }

    void edgeBarsFitTheirTitles()
    {
        QFETCH(int, area);
        QFETCH(bool, onStartPage);
        const QByteArray style = fileBytes(":/win_style");
        QVERIFY(!style.isEmpty());
        qApp->setStyleSheet(QString::fromUtf8(style));
        m_window->setCentralPage(onStartPage);
        m_window->showNormal();
        m_window->resize(1400, 900);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QCoreApplication::processEvents();
        m_window->changeLanguage(1);
        QCoreApplication::processEvents();
        m_window->setCentralPage(false);
        QCoreApplication::processEvents();

        QTabBar *tabs = m_window->dockManager()->tabBar(Qt::DockWidgetArea(area));
        QVERIFY(tabs->isVisible());
        const bool vertical = area != Qt::BottomDockWidgetArea;
        const auto along = [vertical](const QSize &size) {
            return vertical ? size.height() : size.width();
        };
        int total = 0;
        for (int i = 0; i < tabs->count(); ++i) {
            const int text = tabs->fontMetrics().horizontalAdvance(tabs->tabText(i));
            const int room = along(tabs->tabRect(i).size());
            QVERIFY2(room >= text + 8, qPrintable(tabs->tabText(i)));
            total += room;
        }
        QVERIFY(along(tabs->size()) >= along(tabs->sizeHint()));
        QVERIFY(along(tabs->size()) >= total);
        m_window->changeLanguage(0);
        qApp->setStyleSheet(QString());
    }

    void languageFolderTakesPrecedence()
    {
        QDir(m_dir.path()).mkpath("language");
        const QString local = QDir(m_dir.path()).filePath("language/en_US_app.ts");

        QVERIFY(QFile::copy(OVERRIDE_CATALOGUE, local));
        m_window->changeLanguage(1);
        QCOMPARE(m_window->menus().first()->title(), QString("&Local catalogue"));

        // A file there that does not load must not cost the user the English interface.
        QFile::remove(local);
        QVERIFY(writeFileBytes(local, "<?xml version=\"1.0\"?><TS></TS>"));
        m_window->changeLanguage(1);
        QCOMPARE(m_window->menus().first()->title(), QString("&Project"));

        QFile::remove(local);
        m_window->changeLanguage(0);
    }

    void helpAndAbout_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("aboutTitle");
        QTest::addColumn<QString>("heading"); // one of the help page's parts
        QTest::newRow("Chinese") << 0 << "关于" << "快捷键";
        QTest::newRow("English") << 1 << "About" << "Keyboard shortcuts";
    }

    void helpAndAbout()
    {
        QFETCH(int, language);
        QFETCH(QString, aboutTitle);
        QFETCH(QString, heading);
        Config::instance()->setLanguage(language);
        ModalScript script;
        script.pressButton(QMessageBox::Yes);
        m_window->action("about")->trigger();
        QCOMPARE(script.requests().size(), 1);
        const ModalRequest about = script.requests().first();
        QCOMPARE(about.title, aboutTitle);
        for (const QString &part :
             {QString("Marovin"), QString(MAROVIN_VERSION), QString(qVersion()), QString("LGPL"),
              QString("QScintilla"), QString("libxlsxwriter"), QString("minizip"),
              QString("FreeXL")})
            QVERIFY2(about.text.contains(part), qPrintable(part));
        QVERIFY(about.text.contains(QRegularExpression("\\b20\\d\\d-[01]\\d-[0-3]\\d\\b")));

        // Help is a window of its own, not a modal dialog.
        m_window->action("help")->trigger();
        auto *help = m_window->findChild<QTextBrowser *>("HelpWindow");
        QVERIFY(help);
        QVERIFY(help->isWindow() && help->isVisible());
        QCOMPARE(script.requests().size(), 1);
        const QString page = help->toPlainText();
        for (const QString &part : {heading, QString("Ctrl+S"), QString("marovin-cli")})
            QVERIFY2(page.contains(part), qPrintable(part));
        // The open window follows a language switch.
        Config::instance()->setLanguage(1 - language);
        QVERIFY(!help->toPlainText().contains(heading));
        Config::instance()->setLanguage(0);
    }

    void commandsThatNeedAPanel_data()
    {
        QTest::addColumn<QString>("key");
        for (const char *key : {"offlineSim", "onlineSim", "download", "upload"})
            QTest::newRow(key) << key;
    }

    void commandsThatNeedAPanel()
    {
        QFETCH(QString, key);
        setCurrentScene(0);
        ModalScript script;
        QAction *command = m_window->action(key);
        QVERIFY(command->isEnabled());
        command->trigger();
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 QString("“%1”需要连接的操作面板，当前没有连接。").arg(command->iconText()));
        QVERIFY(script.requests().isEmpty());
    }

    // A built-in table that did not load is told once, when the window is up.
    void tableErrorsShownOnceAtStart()
    {
        const QString table = QDir(m_dir.path()).filePath("harddevices.xml");
        QVERIFY(writeFileBytes(table, "<HardDevice><a/>\n<b"));
        Config::instance()->takeTableErrors();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^内置表 "));
        Config::instance()->loadHardDevices(table);

        ModalScript script;
        m_window = std::make_unique<MainWindow>();
        QTRY_COMPARE(script.requests().size(), 1);
        QCOMPARE(script.requests().first().icon, int(QMessageBox::Critical));
        QVERIFY(script.texts().first().contains(table));
        QVERIFY(script.texts().first().contains("第 2 行"));
        m_window = std::make_unique<MainWindow>();
        QTest::qWait(20);
        QCOMPARE(script.requests().size(), 1);
        Config::instance()->loadHardDevices();
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
