#include "mainwindow/firstpage.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/recentlabel.h"
#include "project/config.h"
#include "support/isolatedsettings.h"
#include "support/modalscript.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// A stand-in for the main window's recent-project menu: ten actions, the
// first ones visible and carrying a path.
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

QString rowName(RecentLabel *row)
{
    return QTextDocumentFragment::fromHtml(child<QLabel>(row, "recentName")->text()).toPlainText();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestStartPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    // Start page
    void pageButtonsSwitchPages();
    void recentRowsFollowMenu_data();
    void recentRowsFollowMenu();
    void recentRowShowsNameAndPath_data();
    void recentRowShowsNameAndPath();
    void recentRowTriggersOnlyItsCurrentAction();

    // New-project dialog
    void runFillsFormFromConfig();
    void detailsFollowModelAndOrientation_data();
    void detailsFollowModelAndOrientation();
    void okCreatesProjectAndFillsConfig_data();
    void okCreatesProjectAndFillsConfig();
    void existingProjectAsksBeforeOverwrite_data();
    void existingProjectAsksBeforeOverwrite();
    void invalidInputIsRefused_data();
    void invalidInputIsRefused();
    void chooseLocation();
    void startupCheckIsStoredAtOnce();
    void recentPickEndsDialog();
    void englishRetranslates();

private:
    QTemporaryDir m_dir;
    QString m_projects; // location for new projects, emptied per test
};

void TestStartPage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The settings file is "../config/config.ini" relative to the working
    // folder.
    QDir(m_dir.path()).mkpath("bin");
    QVERIFY(QDir::setCurrent(QDir(m_dir.path()).filePath("bin")));
    m_projects = QDir(m_dir.path()).filePath("projects");
}

void TestStartPage::init()
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

void TestStartPage::pageButtonsSwitchPages()
{
    FirstPage page;
    auto *project = child<QToolButton>(&page, "project");
    auto *example = child<QToolButton>(&page, "example");
    auto *pages = page.findChild<QStackedWidget *>();
    QVERIFY(pages);

    example->click();
    QCOMPARE(pages->currentIndex(), 1);
    QVERIFY(example->isChecked());
    QVERIFY(!project->isChecked());

    project->click();
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(project->isChecked());
    QVERIFY(!example->isChecked());
}

void TestStartPage::recentRowsFollowMenu_data()
{
    QTest::addColumn<QString>("visible"); // one character per action
    QTest::newRow("three") << "1110000000";
    QTest::newRow("ten") << "1111111111";
    QTest::newRow("gap follows the actions") << "1011000001";
}

void TestStartPage::recentRowsFollowMenu()
{
    QFETCH(QString, visible);
    FirstPage page;
    for (int i = 0; i < FirstPage::RecentCount; ++i)
        QVERIFY(page.recentLabel(i)->isHidden());

    RecentMenu recent(QStringList() << "a"
                                    << "b"
                                    << "c"
                                    << "d"
                                    << "e"
                                    << "f"
                                    << "g"
                                    << "h"
                                    << "i"
                                    << "j");
    for (int i = 0; i < FirstPage::RecentCount; ++i)
        recent.actions[i]->setVisible(visible.at(i) == '1');
    page.updateRecent(&recent.menu);
    for (int i = 0; i < FirstPage::RecentCount; ++i) {
        QCOMPARE(!page.recentLabel(i)->isHidden(), visible.at(i) == '1');
        if (visible.at(i) == '1') {
            QCOMPARE(child<QLabel>(page.recentLabel(i), "recentNumber")->text(),
                     QString::number(i + 1));
            QCOMPARE(child<QLabel>(page.recentLabel(i), "recentPath")->text(),
                     QString(QChar('a' + i)));
        }
    }

    // Clearing the list hides every action, and with them every row.
    for (QAction *action : recent.actions)
        action->setVisible(false);
    page.updateRecent(&recent.menu);
    for (int i = 0; i < FirstPage::RecentCount; ++i)
        QVERIFY(page.recentLabel(i)->isHidden());
}

void TestStartPage::recentRowShowsNameAndPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("windows path") << "D:/p/x/x.mvprg"
                                  << "x";
    QTest::newRow("no suffix") << "/home/u/plain"
                               << "plain";
    QTest::newRow("suffix is case-sensitive") << "/a/b/Demo.MVPRG"
                                              << "Demo.MVPRG";
    QTest::newRow("markup characters") << "/a/<b>&c/<b>&c.mvprg"
                                       << "<b>&c";
}

void TestStartPage::recentRowShowsNameAndPath()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    FirstPage page;
    RecentMenu recent({"first", path});
    page.updateRecent(&recent.menu);

    RecentLabel *row = page.recentLabel(1);
    QVERIFY(!row->isHidden());
    QCOMPARE(rowName(row), name);
    QCOMPARE(child<QLabel>(row, "recentPath")->text(), path);
    QCOMPARE(child<QLabel>(row, "recentNumber")->text(), QString("2"));
}

void TestStartPage::recentRowTriggersOnlyItsCurrentAction()
{
    FirstPage page;
    page.resize(800, 600);
    page.show();
    RecentMenu recent({"/p/a.mvprg", "/p/b.mvprg"});
    QSignalSpy first(recent.actions[0], &QAction::triggered);
    QSignalSpy second(recent.actions[1], &QAction::triggered);

    // Refreshing again (as every change of the recent list does) must not
    // make one activation open the project twice.
    page.updateRecent(&recent.menu);
    page.updateRecent(&recent.menu);
    RecentLabel *row = page.recentLabel(1);
    emit child<QLabel>(row, "recentName")->linkActivated("1");
    QCOMPARE(second.count(), 1);

    // A click anywhere on the row, also on the path beneath the name.
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(second.count(), 2);
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

void TestStartPage::runFillsFormFromConfig()
{
    Config *config = Config::instance();
    config->name = "demo";
    config->path = m_projects;
    config->hard = 3;
    config->orientation = 1;
    config->showNew = true;

    NewProjectDialog dialog;
    QString name, location;
    int nameCursor = -1, device = -1, orientation = -1;
    bool check = false;
    QTimer::singleShot(0, &dialog, [&] {
        name = child<QLineEdit>(&dialog, "name")->text();
        nameCursor = child<QLineEdit>(&dialog, "name")->cursorPosition();
        location = child<QLineEdit>(&dialog, "location")->text();
        device = child<QComboBox>(&dialog, "device")->currentIndex();
        orientation = child<QComboBox>(&dialog, "orientation")->currentIndex();
        check = child<QCheckBox>(&dialog, "dispalyCheck")->isChecked();
        child<QPushButton>(&dialog, "cancel")->click();
    });
    QCOMPARE(dialog.run(), 0);
    QCOMPARE(name, QString("demo"));
    QCOMPARE(nameCursor, 0);
    QCOMPARE(location, m_projects);
    QCOMPARE(device, 3);
    QCOMPARE(orientation, 1);
    QVERIFY(check);
    // Cancelling changes nothing.
    QCOMPARE(config->name, QString("demo"));
    QCOMPARE(config->screenWidth, -1);
    QVERIFY(entries(m_projects).isEmpty());
}

void TestStartPage::detailsFollowModelAndOrientation_data()
{
    QTest::addColumn<int>("hard");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("portrait");

    QTest::newRow("5 inch horizontal") << 0 << 0 << "5.0 寸"
                                       << "800×480 像素"
                                       << "2 个" << false;
    QTest::newRow("5 inch vertical") << 0 << 1 << "5.0 寸"
                                     << "800×480 像素"
                                     << "2 个" << true;
    QTest::newRow("4.3 inch") << 2 << 0 << "4.3 寸"
                              << "800×480 像素"
                              << "2 个" << false;
    QTest::newRow("10 inch vertical") << 3 << 1 << "10.0 寸"
                                      << "1024×600 像素"
                                      << "2 个" << true;
    QTest::newRow("three serial ports") << 5 << 0 << "5.0 寸"
                                        << "800×480 像素"
                                        << "3 个" << false;
}

void TestStartPage::detailsFollowModelAndOrientation()
{
    QFETCH(int, hard);
    QFETCH(int, orientation);
    QFETCH(QString, size);
    QFETCH(QString, resolution);
    QFETCH(QString, serial);
    QFETCH(bool, portrait);

    NewProjectDialog dialog;
    dialog.loadFromConfig();
    auto *picture = child<QLabel>(&dialog, "picture");
    QVERIFY(!picture->pixmap(Qt::ReturnByValue).isNull());
    const QSize landscape = picture->pixmap(Qt::ReturnByValue).size();
    QVERIFY(landscape.width() > landscape.height());

    // The form follows the combo boxes as the user changes them.
    child<QComboBox>(&dialog, "device")->setCurrentIndex(hard);
    child<QComboBox>(&dialog, "orientation")->setCurrentIndex(orientation);
    QCOMPARE(child<QLabel>(&dialog, "sizeValue")->text(), size);
    QCOMPARE(child<QLabel>(&dialog, "resolutionValue")->text(), resolution);
    QCOMPARE(child<QLabel>(&dialog, "serialValue")->text(), serial);
    QCOMPARE(child<QLabel>(&dialog, "usbValue")->text(), QString("0 个"));

    const QSize shown = picture->pixmap(Qt::ReturnByValue).size();
    QCOMPARE(shown.width() < shown.height(), portrait);
    QVERIFY(shown.width() <= picture->width() && shown.height() <= picture->height());
    if (portrait)
        QCOMPARE(shown, landscape.transposed().scaled(picture->size(), Qt::KeepAspectRatio));
}

void TestStartPage::okCreatesProjectAndFillsConfig_data()
{
    QTest::addColumn<int>("hard");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("horizontal") << 0 << 0 << "demo"
                                << "demo" << 800 << 480;
    QTest::newRow("vertical exchanges the size") << 3 << 1 << "demo"
                                                 << "demo" << 600 << 1024;
    QTest::newRow("blanks around the name") << 1 << 0 << "  line 2 "
                                            << "line 2" << 800 << 480;
}

void TestStartPage::okCreatesProjectAndFillsConfig()
{
    QFETCH(int, hard);
    QFETCH(int, orientation);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);

    ModalScript script;
    NewProjectDialog dialog;
    dialog.loadFromConfig();
    child<QComboBox>(&dialog, "device")->setCurrentIndex(hard);
    child<QComboBox>(&dialog, "orientation")->setCurrentIndex(orientation);
    child<QLineEdit>(&dialog, "name")->setText(typed);
    child<QLineEdit>(&dialog, "location")->setText(m_projects);
    child<QPushButton>(&dialog, "ok")->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(script.requests().isEmpty());
    const Config *config = Config::instance();
    QCOMPARE(config->name, name);
    QCOMPARE(config->path, m_projects + "/" + name);
    QCOMPARE(config->projectFile(), m_projects + "/" + name + "/" + name + ".mvprg");
    QCOMPARE(int(config->hard), hard);
    QCOMPARE(int(config->orientation), orientation);
    QCOMPARE(config->screenWidth, width);
    QCOMPARE(config->screenHeight, height);
    QCOMPARE(entries(m_projects + "/" + name), QStringList({"fonts", "images"}));
}

void TestStartPage::existingProjectAsksBeforeOverwrite_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("no keeps the dialog open") << int(QMessageBox::No);
    QTest::newRow("yes creates the missing folders") << int(QMessageBox::Yes);
}

void TestStartPage::existingProjectAsksBeforeOverwrite()
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
    dialog.loadFromConfig();
    child<QComboBox>(&dialog, "orientation")->setCurrentIndex(1);
    child<QLineEdit>(&dialog, "name")->setText("old");
    child<QLineEdit>(&dialog, "location")->setText(m_projects);
    dialog.show();
    child<QPushButton>(&dialog, "ok")->click();

    QCOMPARE(script.requests().size(), 1);
    const ModalRequest question = script.requests().first();
    QCOMPARE(question.icon, int(QMessageBox::Question));
    QCOMPARE(question.title, QString("工程"));
    QCOMPARE(question.text, QString("该目录下已存在同名工程，是否覆盖?"));
    QCOMPARE(question.buttons, QStringList({"是(&Y)", "否(&N)"}));

    const Config *config = Config::instance();
    if (answer == QMessageBox::No) {
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(entries(folder), QStringList({"images", "old.mvprg"}));
        QCOMPARE(config->name, QString("untiled"));
        QCOMPARE(config->screenWidth, -1);
    } else {
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(entries(folder), QStringList({"fonts", "images", "old.mvprg"}));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("kept"));
        QCOMPARE(config->name, QString("old"));
        QCOMPARE(config->path, folder);
        QCOMPARE(config->screenWidth, 480);
        QCOMPARE(config->screenHeight, 800);
    }
}

void TestStartPage::invalidInputIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("emptyLocation");
    QTest::addColumn<QString>("message");

    const QString badName = "工程名称不能为空，不能是 . 或 ..，也不能包含 / 或 \\。";
    QTest::newRow("empty name") << "" << false << badName;
    QTest::newRow("blank name") << "   " << false << badName;
    QTest::newRow("slash") << "a/b" << false << badName;
    QTest::newRow("backslash") << "a\\b" << false << badName;
    QTest::newRow("dot") << "." << false << badName;
    QTest::newRow("parent") << ".." << false << badName;
    QTest::newRow("empty location") << "demo" << true << "请选择工程位置。";
}

void TestStartPage::invalidInputIsRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, emptyLocation);
    QFETCH(QString, message);

    // Something already in the location, so a project made in the location
    // itself would not go unnoticed by the overwrite question either.
    QVERIFY(QDir().mkpath(m_projects + "/a"));
    ModalScript script;
    script.pressButton(QMessageBox::Yes);
    NewProjectDialog dialog;
    dialog.loadFromConfig();
    child<QLineEdit>(&dialog, "name")->setText(name);
    child<QLineEdit>(&dialog, "location")->setText(emptyLocation ? " " : m_projects);
    dialog.show();
    child<QPushButton>(&dialog, "ok")->click();

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

void TestStartPage::chooseLocation()
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

    // Cancelled (the script's empty queue cancels): the location stays.
    child<QPushButton>(&dialog, "choose")->click();
    QCOMPARE(script.requests().size(), 2);
    QCOMPARE(script.requests().last().value, QString("/chosen/folder"));
    QCOMPARE(location->text(), QString("/chosen/folder"));
}

void TestStartPage::startupCheckIsStoredAtOnce()
{
    Config *config = Config::instance();
    config->showNew = true;
    NewProjectDialog dialog;
    auto *check = child<QCheckBox>(&dialog, "dispalyCheck");
    QTimer::singleShot(0, &dialog, [&] {
        check->click();
        child<QPushButton>(&dialog, "cancel")->click();
    });
    QCOMPARE(dialog.run(), 0);
    QVERIFY(!config->showNew);
    {
        QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
        QVERIFY(settings.contains("showNew"));
        QCOMPARE(settings.value("showNew").toBool(), false);
    }

    check->click();
    QVERIFY(config->showNew);
    QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.value("showNew").toBool(), true);
}

void TestStartPage::recentPickEndsDialog()
{
    RecentMenu recent({"/p/a.mvprg", "/p/b.mvprg"});
    QSignalSpy opened(recent.actions[1], &QAction::triggered);
    NewProjectDialog dialog;
    // Handing the same menu over before every run must not stack up
    // connections, nor may the button lose its menu.
    dialog.setRecentMenu(&recent.menu);
    dialog.setRecentMenu(&recent.menu);
    QCOMPARE(child<QToolButton>(&dialog, "recent")->menu(), &recent.menu);
    QCOMPARE(child<QToolButton>(&dialog, "recent")->popupMode(), QToolButton::InstantPopup);

    QSignalSpy finished(&dialog, &QDialog::finished);
    QTimer::singleShot(0, &dialog, [&] { recent.actions[1]->trigger(); });
    QCOMPARE(dialog.run(), int(NewProjectDialog::RecentPicked));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(finished.count(), 1);

    // The menu also lives in the main window's menu bar: picking from there
    // while the dialog is closed leaves the dialog alone.
    dialog.setResult(0);
    recent.actions[0]->trigger();
    QCOMPARE(dialog.result(), 0);
    QCOMPARE(finished.count(), 1);
}

void TestStartPage::englishRetranslates()
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
    const QString size = child<QLabel>(&dialog, "sizeValue")->text();
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

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
