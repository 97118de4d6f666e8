#include "mainwindow/firstpage.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/recentlabel.h"
#include "project/config.h"
#include "support/isolatedsettings.h"
#include "support/modalscript.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Stand-in for the main window's recent menu: ten actions, the first visible.
struct RecentMenu
{
    QMenu menu;
    QList<QAction *> actions;

    explicit RecentMenu(const QStringList &paths)
    {
        for (int i = 0; i < FirstPage::RecentCount; ++i) {
            QAction *action = menu.addAction(QString("&%1").arg(i + 1));
            action->setData(paths.value(i));
            action->setVisible(i < paths.size());
            actions.append(action);
        }
    }
};

template<typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("missing child %s", name);
    return widget;
}

QString text(QWidget *parent, const char *name)
{
    return child<QLabel>(parent, name)->text();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

// Fills the form and presses OK.
void submit(NewProjectDialog &dialog, const QString &name, const QString &location, int hard = -1,
            int orientation = -1)
{
    dialog.loadFromConfig();
    if (hard >= 0)
        child<QComboBox>(&dialog, "device")->setCurrentIndex(hard);
    if (orientation >= 0)
        child<QComboBox>(&dialog, "orientation")->setCurrentIndex(orientation);
    child<QLineEdit>(&dialog, "name")->setText(name);
    child<QLineEdit>(&dialog, "location")->setText(location);
    dialog.show();
    child<QPushButton>(&dialog, "ok")->click();
}

} // namespace

class TestStartPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_projects; // location for new projects, emptied per test

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The settings file is "../config/config.ini" relative to the working folder.
        QDir(m_dir.path()).mkpath("bin");
        QVERIFY(QDir::setCurrent(QDir(m_dir.path()).filePath("bin")));
        m_projects = QDir(m_dir.path()).filePath("projects");
    }

    void init()
    {
        QDir(m_projects).removeRecursively();
        QVERIFY(QDir().mkpath(m_projects));
        QFile::remove(MainWindow::settingsFile());
        Config *config = Config::instance();
        config->reset();
        config->showNew = false;
        config->screenWidth = -1;
        config->screenHeight = -1;
    }

    void pageButtonsSwitchPages()
    {
        FirstPage page;
        auto *project = child<QToolButton>(&page, "project");
        auto *example = child<QToolButton>(&page, "example");
        auto *pages = page.findChild<QStackedWidget *>();
        QVERIFY(pages);
        example->click();
        QCOMPARE(pages->currentIndex(), 1);
        QVERIFY(example->isChecked() && !project->isChecked());
        project->click();
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(project->isChecked() && !example->isChecked());
    }

    // Rows follow the visible actions, gaps included, and show the project
    // name (the file name without a case-sensitive ".mvprg", as plain text).
    void recentRowsFollowMenu()
    {
        const QStringList paths = {"D:/p/x/x.mvprg",
                                   "b",
                                   "/a/b/Demo.MVPRG",
                                   "/a/<b>&c/<b>&c.mvprg",
                                   "e",
                                   "f",
                                   "g",
                                   "h",
                                   "i",
                                   "j"};
        const QStringList names = {"x", "", "Demo.MVPRG", "<b>&c"};
        const QString visible = "1011000001";
        FirstPage page;
        for (int i = 0; i < FirstPage::RecentCount; ++i)
            QVERIFY(page.recentLabel(i)->isHidden());

        RecentMenu recent(paths);
        for (int i = 0; i < FirstPage::RecentCount; ++i)
            recent.actions[i]->setVisible(visible.at(i) == '1');
        page.updateRecent(&recent.menu);
        for (int i = 0; i < FirstPage::RecentCount; ++i) {
            RecentLabel *row = page.recentLabel(i);
            QCOMPARE(!row->isHidden(), visible.at(i) == '1');
            if (row->isHidden())
                continue;
            QCOMPARE(text(row, "recentNumber"), QString::number(i + 1));
            QCOMPARE(text(row, "recentPath"), paths.at(i));
            if (i < names.size())
                QCOMPARE(QTextDocumentFragment::fromHtml(text(row, "recentName")).toPlainText(),
                         names.at(i));
        }

        for (QAction *action : recent.actions)
            action->setVisible(false);
        page.updateRecent(&recent.menu);
        for (int i = 0; i < FirstPage::RecentCount; ++i)
            QVERIFY(page.recentLabel(i)->isHidden());
    }

    void recentRowTriggersOnlyItsCurrentAction()
    {
        FirstPage page;
        page.resize(800, 600);
        page.show();
        RecentMenu recent({"/p/a.mvprg", "/p/b.mvprg"});
        QSignalSpy first(recent.actions[0], &QAction::triggered);
        QSignalSpy second(recent.actions[1], &QAction::triggered);

        // A second refresh must not make one activation open the project twice.
        page.updateRecent(&recent.menu);
        page.updateRecent(&recent.menu);
        RecentLabel *row = page.recentLabel(1);
        emit child<QLabel>(row, "recentName")->linkActivated("1");
        QCOMPARE(second.count(), 1);

        // A click anywhere on the row, also on the path beneath the name.
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseClick(child<QLabel>(row, "recentPath"), Qt::LeftButton);
        QCOMPARE(second.count(), 3);
        QCOMPARE(first.count(), 0);

        // A row given another action no longer triggers the old one.
        RecentMenu other({"/q/c.mvprg", "/q/d.mvprg"});
        QSignalSpy replaced(other.actions[1], &QAction::triggered);
        page.updateRecent(&other.menu);
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(second.count(), 3);
    }

    // Also: the start-up check box is stored at once, both ways.
    void runFillsFormFromConfig()
    {
        Config *config = Config::instance();
        config->name = "demo";
        config->path = m_projects;
        config->hard = 3;
        config->orientation = 1;
        config->showNew = true;

        // The form is read after cancelling, which must leave it as filled.
        NewProjectDialog dialog;
        auto *check = child<QCheckBox>(&dialog, "dispalyCheck");
        QTimer::singleShot(0, &dialog, [&] {
            check->click(); // was checked: unchecks and stores false
            child<QPushButton>(&dialog, "cancel")->click();
        });
        QCOMPARE(dialog.run(), 0);
        QCOMPARE(child<QLineEdit>(&dialog, "name")->text(), QString("demo"));
        QCOMPARE(child<QLineEdit>(&dialog, "name")->cursorPosition(), 0);
        QCOMPARE(child<QLineEdit>(&dialog, "location")->text(), m_projects);
        QCOMPARE(child<QComboBox>(&dialog, "device")->currentIndex(), 3);
        QCOMPARE(child<QComboBox>(&dialog, "orientation")->currentIndex(), 1);
        QCOMPARE(config->name, QString("demo"));
        QCOMPARE(config->screenWidth, -1);
        QVERIFY(entries(m_projects).isEmpty());

        const auto stored = [] {
            QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
            return settings.contains("showNew") ? int(settings.value("showNew").toBool()) : -1;
        };
        QVERIFY(!check->isChecked() && !config->showNew);
        QCOMPARE(stored(), 0);
        check->click();
        QVERIFY(config->showNew);
        QCOMPARE(stored(), 1);
    }

    void detailsFollowModelAndOrientation_data()
    {
        QTest::addColumn<int>("hard");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QStringList>("details"); // size, resolution, serial ports
        QTest::newRow("5 inch vertical")
            << 0 << 1 << QStringList {"5.0 寸", "800×480 像素", "2 个"};
        QTest::newRow("10 inch vertical")
            << 3 << 1 << QStringList {"10.0 寸", "1024×600 像素", "2 个"};
        QTest::newRow("three serial ports")
            << 5 << 0 << QStringList {"5.0 寸", "800×480 像素", "3 个"};
    }

    void detailsFollowModelAndOrientation()
    {
        QFETCH(int, hard);
        QFETCH(int, orientation);
        QFETCH(QStringList, details);
        const bool portrait = orientation == 1;

        NewProjectDialog dialog;
        dialog.loadFromConfig();
        auto *picture = child<QLabel>(&dialog, "picture");
        const QSize landscape = picture->pixmap(Qt::ReturnByValue).size();
        QVERIFY(landscape.width() > landscape.height());

        child<QComboBox>(&dialog, "device")->setCurrentIndex(hard);
        child<QComboBox>(&dialog, "orientation")->setCurrentIndex(orientation);
        QCOMPARE(QStringList({text(&dialog, "sizeValue"), text(&dialog, "resolutionValue"),
                              text(&dialog, "serialValue")}),
                 details);
        QCOMPARE(text(&dialog, "usbValue"), QString("0 个"));

        const QSize shown = picture->pixmap(Qt::ReturnByValue).size();
        QCOMPARE(shown.width() < shown.height(), portrait);
        QVERIFY(shown.width() <= picture->width() && shown.height() <= picture->height());
        if (portrait)
            QCOMPARE(shown, landscape.transposed().scaled(picture->size(), Qt::KeepAspectRatio));
    }

    void okCreatesProjectAndFillsConfig_data()
    {
        QTest::addColumn<int>("hard");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("screen");
        QTest::newRow("horizontal") << 0 << 0 << "demo"
                                    << "demo" << QSize(800, 480);
        QTest::newRow("vertical exchanges") << 3 << 1 << "demo"
                                            << "demo" << QSize(600, 1024);
        QTest::newRow("blanks around name") << 1 << 0 << "  line 2 "
                                            << "line 2" << QSize(800, 480);
    }

    void okCreatesProjectAndFillsConfig()
    {
        QFETCH(int, hard);
        QFETCH(int, orientation);
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QSize, screen);

        ModalScript script;
        NewProjectDialog dialog;
        submit(dialog, typed, m_projects, hard, orientation);

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(script.requests().isEmpty());
        const Config *config = Config::instance();
        const QString folder = m_projects + "/" + name;
        QCOMPARE(config->name, name);
        QCOMPARE(config->path, folder);
        QCOMPARE(config->projectFile(), folder + "/" + name + ".mvprg");
        QCOMPARE(int(config->hard), hard);
        QCOMPARE(int(config->orientation), orientation);
        QCOMPARE(QSize(config->screenWidth, config->screenHeight), screen);
        QCOMPARE(entries(folder), QStringList({"fonts", "images"}));
    }

    void existingProjectAsksBeforeOverwrite_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no keeps the dialog open") << int(QMessageBox::No);
        QTest::newRow("yes creates the missing folders") << int(QMessageBox::Yes);
    }

    void existingProjectAsksBeforeOverwrite()
    {
        QFETCH(int, answer);
        const QString folder = m_projects + "/old";
        QVERIFY(QDir().mkpath(folder + "/images"));
        QFile file(folder + "/old.mvprg");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("kept");
        file.close();

        ModalScript script;
        script.pressButton(answer);
        NewProjectDialog dialog;
        submit(dialog, "old", m_projects, -1, 1);

        QCOMPARE(script.requests().size(), 1);
        const ModalRequest question = script.requests().first();
        QCOMPARE(question.icon, int(QMessageBox::Question));
        QCOMPARE(question.title, QString("工程"));
        QCOMPARE(question.text, QString("该目录下已存在同名工程，是否覆盖?"));
        QCOMPARE(question.buttons, QStringList({"是(&Y)", "否(&N)"}));

        const Config *config = Config::instance();
        const bool yes = answer == QMessageBox::Yes;
        QCOMPARE(dialog.isVisible(), !yes);
        QCOMPARE(dialog.result(), yes ? int(QDialog::Accepted) : 0);
        if (!yes) {
            QCOMPARE(entries(folder), QStringList({"images", "old.mvprg"}));
            QCOMPARE(config->name, QString("untiled"));
            QCOMPARE(config->screenWidth, -1);
            return;
        }
        QCOMPARE(entries(folder), QStringList({"fonts", "images", "old.mvprg"}));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("kept"));
        QCOMPARE(config->name, QString("old"));
        QCOMPARE(config->path, folder);
        QCOMPARE(QSize(config->screenWidth, config->screenHeight), QSize(480, 800));
    }

    void invalidInputIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("location"); // null: the projects folder
        QTest::addColumn<QString>("message");
        const QString bad = "工程名称不能为空，不能是 . 或 ..，也不能包含 / 或 \\。";
        for (const char *name : {"   ", "a/b", "a\\b", ".", ".."})
            QTest::newRow(name) << QString(name) << QString() << bad;
        QTest::newRow("empty location") << "demo"
                                        << " "
                                        << "请选择工程位置。";
    }

    void invalidInputIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, location);
        QFETCH(QString, message);

        // Something already in the location, so a project made in the location
        // itself would not go unnoticed by the overwrite question either.
        QVERIFY(QDir().mkpath(m_projects + "/a"));
        ModalScript script;
        script.pressButton(QMessageBox::Yes);
        NewProjectDialog dialog;
        submit(dialog, name, location.isNull() ? m_projects : location);

        QCOMPARE(script.requests().size(), 1);
        const ModalRequest refusal = script.requests().first();
        QCOMPARE(refusal.icon, int(QMessageBox::Critical));
        QCOMPARE(refusal.title, QString("错误"));
        QCOMPARE(refusal.text, message);
        QCOMPARE(refusal.buttons, QStringList({"确定"}));

        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(entries(m_projects), QStringList({"a"}));
        QVERIFY(entries(m_projects + "/a").isEmpty());
        QCOMPARE(Config::instance()->name, QString("untiled"));
        QCOMPARE(Config::instance()->screenWidth, -1);
    }

    void chooseLocation()
    {
        ModalScript script;
        script.chooseText("/chosen/folder");
        NewProjectDialog dialog;
        auto *location = child<QLineEdit>(&dialog, "location");
        location->setText("/start");

        child<QPushButton>(&dialog, "choose")->click();
        QCOMPARE(location->text(), QString("/chosen/folder"));
        QCOMPARE(script.requests().size(), 1);
        QCOMPARE(script.requests().first().kind, ModalRequest::Directory);
        QCOMPARE(script.requests().first().title, QString("选择路径"));
        QCOMPARE(script.requests().first().value, QString("/start"));

        // Cancelled (the empty queue cancels): the location stays.
        child<QPushButton>(&dialog, "choose")->click();
        QCOMPARE(script.requests().size(), 2);
        QCOMPARE(script.requests().last().value, QString("/chosen/folder"));
        QCOMPARE(location->text(), QString("/chosen/folder"));
    }

    void recentPickEndsDialog()
    {
        RecentMenu recent({"/p/a.mvprg", "/p/b.mvprg"});
        QSignalSpy opened(recent.actions[1], &QAction::triggered);
        NewProjectDialog dialog;
        // Handing the same menu over twice must not stack up connections.
        dialog.setRecentMenu(&recent.menu);
        dialog.setRecentMenu(&recent.menu);
        QCOMPARE(child<QToolButton>(&dialog, "recent")->menu(), &recent.menu);

        QSignalSpy finished(&dialog, &QDialog::finished);
        QTimer::singleShot(0, &dialog, [&] { recent.actions[1]->trigger(); });
        QCOMPARE(dialog.run(), int(NewProjectDialog::RecentPicked));
        QCOMPARE(opened.count(), 1);
        QCOMPARE(finished.count(), 1);

        // Picking from the menu bar while the dialog is closed leaves it alone.
        dialog.setResult(0);
        recent.actions[0]->trigger();
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(finished.count(), 1);
    }

    void englishRetranslates()
    {
        QTranslator translator;
        QVERIFY(translator.load(":/en_US_app"));
        NewProjectDialog dialog;
        FirstPage page;
        dialog.loadFromConfig();
        auto *orientation = child<QComboBox>(&dialog, "orientation");
        orientation->setCurrentIndex(1);

        QCoreApplication::installTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QString title = dialog.windowTitle();
        const QStringList items = {orientation->itemText(0), orientation->itemText(1)};
        const int index = orientation->currentIndex();
        const QString size = text(&dialog, "sizeValue");
        const QString pageTitle = child<QToolButton>(&page, "project")->text();
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);

        QCOMPARE(title, QString("Create New Project"));
        QCOMPARE(items, QStringList({"Horizontal", "Vertical"}));
        QCOMPARE(index, 1);
        QCOMPARE(size, QString("5.0 in"));
        QCOMPARE(pageTitle, QString("Projects"));
        QCOMPARE(dialog.windowTitle(), QString("创建新工程"));
        QCOMPARE(orientation->itemText(1), QString("垂直"));
    }
};

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
