#include "mainwindow/mainwindow.h"
#include "mainwindow/mainactions.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/zoombox.h"

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/shapecommands.h"
#include "editor/useroptgroup.h"
#include "mainwindow/firstpage.h"
#include "mainwindow/recentlabel.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "services/apppaths.h"
#include "services/appsettings.h"
#include "shapes/graphicsrectitem.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "support/sceneview.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

QVariant storedSetting(const char *key)
{
    return QSettings(AppPaths::settingsFile(), QSettings::IniFormat).value(key);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DrawScene> m_scene;
    DrawView *m_view = nullptr; // the scene's

    void showScreen()
    {
        m_scene = std::make_unique<DrawScene>();
        m_view = viewForScene(m_scene.get());
        DrawManager::instance()->setCurrentScene(m_scene.get());
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
        m_scene.reset();
        m_view = nullptr;
        ProcessFixture::finish();
    }

    // From 200 %, a zoom typed and entered, then a step in or out. A text
    // that is no zoom from 10 to 500 gives way to the zoom in force.
    void zoom_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("step"); // 1 zoom in, -1 zoom out
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("factor");
        QTest::newRow("too large") << "900%" << 0 << "200%" << 2.0;
        QTest::newRow("in from 490") << "490%" << 1 << "500%" << 5.0;
        QTest::newRow("in from 495") << "495%" << 1 << "495%" << 4.95;
        QTest::newRow("out from 20") << "20%" << -1 << "10%" << 0.1;
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
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        // Through the actions: the menu entries and Ctrl++ / Ctrl+- once
        // reached no zoom box at all.
        if (step > 0)
            m_window->action("zoomIn")->trigger();
        else if (step < 0)
            m_window->action("zoomOut")->trigger();
        QCOMPARE(box->currentText(), shown);
        QCOMPARE(m_view->zoomFactor(), factor);
    }

    // Newest first, no repeats, ten at most, stored, and mirrored by the
    // start page's rows.
    void recentFiles()
    {
        auto stored = [] {
            return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin")
                .value("recentFiles")
                .toStringList();
        };
        for (const char *path : {"/p/a.mvprg", "/p/b.mvprg", "/p/a.mvprg", "/p/A.mvprg"})
            m_window->projectController()->updateRecentFiles(path);
        QCOMPARE(stored(), (QStringList {"/p/A.mvprg", "/p/a.mvprg", "/p/b.mvprg"}));
        for (int i = 0; i < 12; ++i)
            m_window->projectController()->updateRecentFiles(QString("/q/%1.mvprg").arg(i));
        QCOMPARE(stored().size(), 10);
        QCOMPARE(m_window->recentFileActions().last()->text(), QString("&10 /q/2.mvprg"));
        QVERIFY(!m_window->firstPage()->recentLabel(FirstPage::RecentCount - 1)->isHidden());
        m_window->projectController()->clearRecentfile();
        QVERIFY(stored().isEmpty());
        QVERIFY(m_window->firstPage()->recentLabel(0)->isHidden());
    }

    // Written only when the window really closes.
    void settingsWrittenOnlyOnClose()
    {
        {
            QSettings ini(AppPaths::settingsFile(), QSettings::IniFormat);
            ini.setValue("language", 1);
            ini.setValue("showNew", false);
        }
        AppSettings::instance()->setLanguage(0);
        AppSettings::instance()->setShowNew(true);
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
        AppSettings::instance()->setShowNew(false);
    }

    // Both once did nothing at all.
    void helpAndAbout()
    {
        ModalScript script;
        script.pressButton(QMessageBox::Yes);
        m_window->action("about")->trigger();
        QCOMPARE(script.requests().size(), 1);
        QVERIFY(script.texts().first().contains(MAROVIN_VERSION));
        m_window->action("help")->trigger();
        auto *help = m_window->findChild<QTextBrowser *>("HelpWindow");
        QVERIFY(help && help->isWindow() && help->isVisible());
        QVERIFY(help->toPlainText().contains("快捷键"));
        QCOMPARE(script.requests().size(), 1);
        // An open help window follows a switch of language.
        m_window->changeLanguage(1);
        const auto restore = qScopeGuard([this] { m_window->changeLanguage(0); });
        QVERIFY(help->toPlainText().contains("operator panel configuration editor"));
    }

    // Without a panel each of these says so, by its own name, in the
    // interface language, and asks nothing.
    void panelCommandsSayTheyNeedAPanel_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("name");
        QTest::newRow("online simulation") << "onlineSim" << 0 << "在线仿真";
        QTest::newRow("download") << "download" << 0 << "下载";
        QTest::newRow("upload") << "upload" << 0 << "上载";
        QTest::newRow("upload, English") << "upload" << 1 << "Upload";
    }
    void panelCommandsSayTheyNeedAPanel()
    {
        QFETCH(QString, key);
        QFETCH(int, language);
        QFETCH(QString, name);
        m_window->changeLanguage(language);
        const auto restore = qScopeGuard([this] { m_window->changeLanguage(0); });
        showScreen();
        ModalScript script;
        QVERIFY(m_window->action(key)->isEnabled());
        m_window->action(key)->trigger();
        const QString shown = m_window->statusBar()->currentMessage();
        QVERIFY2(shown.contains(name), qPrintable(shown));
        QCOMPARE(shown.contains("操作面板"), language == 0);
        QVERIFY(script.requests().isEmpty());
    }

    // A file there that does not load must not cost the user the English interface.
    void languageFolderTakesPrecedence()
    {
        QDir(m_dir.path()).mkpath("language");
        const QString local = QDir(m_dir.path()).filePath("language/en_US_app.ts");
        QVERIFY(QFile::copy(OVERRIDE_CATALOGUE, local));
        m_window->changeLanguage(1);
        QCOMPARE(m_window->mainActions()->menus().first()->title(), QString("&Local catalogue"));

        QFile::remove(local);
        QVERIFY(writeFileBytes(local, "<?xml version=\"1.0\"?><TS></TS>"));
        m_window->changeLanguage(1);
        QCOMPARE(m_window->mainActions()->menus().first()->title(), QString("&Project"));
        QFile::remove(local);
        m_window->changeLanguage(0);
    }

    // The undo and redo entries speak the interface language, prefix and
    // step alike, and follow a switch of language.
    void undoEntriesAreTranslated_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("undo");
        QTest::addColumn<QString>("redo");
        QTest::newRow("Chinese") << 0 << "撤销 修改对象名称属性" << "恢复 移动对象";
        QTest::newRow("English") << 1 << "Undo Change Name" << "Redo Move object";
    }
    void undoEntriesAreTranslated()
    {
        QFETCH(int, language);
        QFETCH(QString, undo);
        QFETCH(QString, redo);
        m_window->changeLanguage(language);
        const auto restore = qScopeGuard([this] { m_window->changeLanguage(0); });
        showScreen();
        UserOptGroup *group = UserOptGroup::instance();
        group->setActiveForm(m_scene.get());
        QAction *undoAction = m_window->action("undo");
        QAction *redoAction = m_window->action("redo");
        QCOMPARE(undoAction->text(), language == 0 ? QString("撤销") : QString("Undo"));

        auto *rect = new GraphicsRectItem(QRect(0, 0, 40, 20));
        m_scene->addItem(rect);
        group->activeStack()->push(new MoveShapeCommand(rect, QPointF(5, 5), nullptr));
        auto *rename = new ModifyCommand(rect, QStringLiteral("objectName"));
        rect->setObjectName("pump");
        group->push(rename);
        QCOMPARE(undoAction->text(), undo);
        undoAction->trigger();
        QCOMPARE(rect->objectName(), QString());
        undoAction->trigger();
        QCOMPARE(redoAction->text(), redo);
        QCOMPARE(undoAction->text(), language == 0 ? QString("撤销") : QString("Undo"));
    }

    // A built-in table that did not load is told once, when the window is up.
    void tableErrorsShownOnceAtStart()
    {
        const QString table = QDir(m_dir.path()).filePath("harddevices.xml");
        QVERIFY(writeFileBytes(table, "<HardDevice><a/>\n<b"));
        BuiltinTables::instance()->takeTableErrors();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^内置表 "));
        BuiltinTables::instance()->loadHardDevices(table);

        ModalScript script;
        m_window = std::make_unique<MainWindow>();
        QTRY_COMPARE(script.requests().size(), 1);
        QVERIFY(script.texts().first().contains(table));
        QVERIFY(script.texts().first().contains("第 2 行"));
        m_window = std::make_unique<MainWindow>();
        QTest::qWait(20);
        QCOMPARE(script.requests().size(), 1);
        BuiltinTables::instance()->loadHardDevices();
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
