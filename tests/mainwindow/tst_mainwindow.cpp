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

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DrawView> m_view;
    std::unique_ptr<DrawScene> m_scene;

    void showScreen()
    {
        m_scene = std::make_unique<DrawScene>();
        m_view = std::make_unique<DrawView>(m_scene.get());
        DrawManager::instance()->setCurrentView(m_view.get());
        m_window->updateActions();
    }

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
        ProcessFixture::close(m_window);
        m_view.reset();
        m_scene.reset();
        ProcessFixture::finish();
    }

    void pagesShowToolBarsAndDocks()
    {
        DockManager *docks = m_window->dockManager();
        auto shown
            = [&] { return shownMask(m_window->toolBars()) + ' ' + shownMask(docks->docks()); };
        QCOMPARE(shown(), QString("110000 0000000"));
        QVERIFY(!m_window->menus().at(2)->isEnabled());
        m_window->setCentralPage(false);
        QCOMPARE(shown(), QString("111111 1111000"));
        QVERIFY(m_window->menus().at(2)->isEnabled());

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

    // From 200 %, a zoom typed and entered, then a step in or out. A text
    // that is no zoom from 10 to 500 gives way to the zoom in force.
    void zoom_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("step"); // 1 zoom in, -1 zoom out
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("factor");
        QTest::newRow("typed") << "250%" << 0 << "250%" << 2.5;
        QTest::newRow("lowest, no percent sign") << "10" << 0 << "10" << 0.1;
        QTest::newRow("too large") << "900%" << 0 << "200%" << 2.0;
        QTest::newRow("letters") << "abc" << 0 << "200%" << 2.0;
        QTest::newRow("in from 100") << "100%" << 1 << "110%" << 1.1;
        QTest::newRow("in from 495") << "495%" << 1 << "495%" << 4.95;
        QTest::newRow("out at 10") << "10%" << -1 << "10%" << 0.1;
    }

    void zoom()
    {
        QFETCH(QString, typed);
        QFETCH(int, step);
        QFETCH(QString, shown);
        QFETCH(double, factor);
        showScreen();
        QComboBox *box = m_window->zoomBox();
        box->setCurrentText("200%");
        QCOMPARE(m_view->zoomFactor(), 2.0);
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        if (step > 0)
            m_window->zoomIn();
        else if (step < 0)
            m_window->zoomOut();
        QCOMPARE(box->currentText(), shown);
        QCOMPARE(m_view->zoomFactor(), factor);
        QCOMPARE(box->count(), 7);
    }

    // Newest first, no repeats, ten at most, stored, and mirrored by the
    // start page's rows.
    void recentFiles()
    {
        auto visibleTexts = [&] {
            QStringList texts;
            for (QAction *a : m_window->recentFileActions())
                if (a->isVisible())
                    texts << a->text();
            return texts;
        };
        auto lastStartPageRowShown = [&] {
            return !m_window->firstPage()->recentLabel(FirstPage::RecentCount - 1)->isHidden();
        };
        auto stored = [] {
            return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin")
                .value("recentFiles")
                .toStringList();
        };
        for (const char *path : {"/p/a.mvprg", "/p/b.mvprg", "/p/a.mvprg", "/p/A.mvprg"})
            m_window->updateRecentFiles(path);
        QCOMPARE(visibleTexts(), (QStringList {"&1 /p/A.mvprg", "&2 /p/a.mvprg", "&3 /p/b.mvprg"}));

        for (int i = 0; i < 12; ++i)
            m_window->updateRecentFiles(QString("/q/%1.mvprg").arg(i));
        QCOMPARE(visibleTexts().size(), 10);
        QCOMPARE(visibleTexts().first(), QString("&1 /q/11.mvprg"));
        QCOMPARE(stored().size(), 10);
        QVERIFY(lastStartPageRowShown());

        m_window->clearRecentfile();
        QVERIFY(visibleTexts().isEmpty());
        QVERIFY(stored().isEmpty());
        QVERIFY(!lastStartPageRowShown());
    }

    // Written only when the window really closes.
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
            QCOMPARE(event.isAccepted(), closed);
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
        OptionSetDialog dialog(m_window.get());
        dialog.languageBox()->setCurrentIndex(1);
        dialog.on_ok_clicked();
        QCOMPARE(storedSetting("language").toInt(), 1);
        QCOMPARE(m_window->menus().first()->title(), QString("&Project"));
        QStringList docks;
        for (QDockWidget *dock : m_window->dockManager()->docks())
            docks << dock->windowTitle();
        QCOMPARE(docks,
                 (QStringList {"Project", "Element", "Toolbox", "PropertyBrowser",
                               "Compiler Output", "Find Output", "Application Output"}));
        QStringList treeMenu;
        for (QAction *action : m_window->projectTree()->contextMenu()->actions())
            treeMenu << action->text();
        QCOMPARE(treeMenu.mid(0, 3), (QStringList {"Rename", "Create copy", "Remove"}));
        QCOMPARE(cancelText(), QString("Cancel"));
        // Dialogs follow on their own: the toolkit posts the change to every window.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        auto *newProject = m_window->findChild<NewProjectDialog *>();
        QCOMPARE(newProject->windowTitle(), QString("Create New Project"));

        Config::instance()->setLanguage(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(m_window->menus().first()->title(), QString("工程(&P)"));
        QCOMPARE(newProject->windowTitle(), QString("创建新工程"));
        QCOMPARE(cancelText(), QString("取消"));
    }

    // The edge tab bars measure their tabs again when the titles change:
    // each English title fits whole, with room around it.
    void edgeBarsFitTheirTitles_data()
    {
        QTest::addColumn<bool>("onStartPage"); // the bars are hidden during the switch
        QTest::newRow("switched while shown") << false;
        QTest::newRow("switched on the start page") << true;
    }

    void edgeBarsFitTheirTitles()
    {
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

        for (Qt::DockWidgetArea area :
             {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea, Qt::BottomDockWidgetArea}) {
            QTabBar *tabs = m_window->dockManager()->tabBar(area);
            QVERIFY(tabs->isVisible());
            const auto along = [area](const QSize &size) {
                return area == Qt::BottomDockWidgetArea ? size.width() : size.height();
            };
            int total = 0;
            for (int i = 0; i < tabs->count(); ++i) {
                const int text = tabs->fontMetrics().horizontalAdvance(tabs->tabText(i));
                const int room = along(tabs->tabRect(i).size());
                QVERIFY2(room >= text + 8, qPrintable(tabs->tabText(i)));
                total += room;
            }
            QVERIFY(along(tabs->size()) >= qMax(along(tabs->sizeHint()), total));
        }
        m_window->changeLanguage(0);
        qApp->setStyleSheet(QString());
    }

    // A file there that does not load must not cost the user the English interface.
    void languageFolderTakesPrecedence()
    {
        QDir(m_dir.path()).mkpath("language");
        const QString local = QDir(m_dir.path()).filePath("language/en_US_app.ts");
        QVERIFY(QFile::copy(OVERRIDE_CATALOGUE, local));
        m_window->changeLanguage(1);
        QCOMPARE(m_window->menus().first()->title(), QString("&Local catalogue"));

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
        for (const QString &part : {QString(MAROVIN_VERSION), QString(qVersion()),
                                    QString("QScintilla"), QString("FreeXL")})
            QVERIFY2(about.text.contains(part), qPrintable(part));

        // Help is a window of its own, not a modal dialog, and follows a
        // language switch.
        m_window->action("help")->trigger();
        auto *help = m_window->findChild<QTextBrowser *>("HelpWindow");
        QVERIFY(help && help->isWindow() && help->isVisible());
        QCOMPARE(script.requests().size(), 1);
        QVERIFY(help->toPlainText().contains(heading));
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
        showScreen();
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
