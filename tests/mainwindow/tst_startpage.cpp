#include "mainwindow/firstpage.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/recentlabel.h"
#include "project/config.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/processfixture.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString OverwriteQuestion = "该目录下已存在同名工程，是否覆盖?";

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

// Every folder and file below dir, as sorted relative paths.
QStringList tree(const QString &dir)
{
    QStringList result;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        result << QDir(dir).relativeFilePath(it.next());
    result.sort();
    return result;
}

// Fills the form and presses OK.
void submit(NewProjectDialog &dialog, const QString &name, const QString &location, int hard,
            int orientation)
{
    dialog.loadFromConfig();
    child<QComboBox>(&dialog, "device")->setCurrentIndex(hard);
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
        ProcessFixture::enterBinFolder(m_dir);
        m_projects = QDir(m_dir.path()).filePath("projects");
    }

    void init()
    {
        QDir(m_projects).removeRecursively();
        QVERIFY(QDir().mkpath(m_projects));
        QFile::remove(MainWindow::settingsFile());
        ProcessFixture::start();
    }

    // Rows follow the visible actions, gaps included, and show the project
    // name (the file name without a case-sensitive ".mvprg", as plain text).
    void recentRowsFollowMenu()
    {
        const QStringList paths
            = QString("D:/p/x/x.mvprg|b|/a/b/Demo.MVPRG|/a/<b>&c/<b>&c.mvprg|e|f|g|h|i|j")
                  .split('|');
        const QStringList names = {"x", "", "Demo.MVPRG", "<b>&c"};
        const QString visible = "1011000001";
        FirstPage page;
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
    }

    void recentRowTriggersOnlyItsCurrentAction()
    {
        FirstPage page;
        page.resize(800, 600);
        page.show();
        RecentMenu recent({"/p/a.mvprg", "/p/b.mvprg"});
        QSignalSpy first(recent.actions[0], &QAction::triggered);
        QSignalSpy second(recent.actions[1], &QAction::triggered);

        // A second refresh must not make one activation open the project twice;
        // the link, the row and the path beneath the name all open it.
        page.updateRecent(&recent.menu);
        page.updateRecent(&recent.menu);
        RecentLabel *row = page.recentLabel(1);
        emit child<QLabel>(row, "recentName")->linkActivated("1");
        QCOMPARE(second.count(), 1);
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

    // The form, the model's details and picture, and the start-up check box.
    void formFollowsConfigAndModel()
    {
        Config *config = Config::instance();
        config->name = "demo";
        config->path = m_projects;
        config->hard = 3;
        config->orientation = 1;
        config->showNew = true;
        NewProjectDialog dialog;
        dialog.loadFromConfig();
        auto *device = child<QComboBox>(&dialog, "device");
        auto *orientation = child<QComboBox>(&dialog, "orientation");
        QCOMPARE(QStringList({child<QLineEdit>(&dialog, "name")->text(),
                              child<QLineEdit>(&dialog, "location")->text(), device->currentText(),
                              orientation->currentText()}),
                 QStringList({"demo", m_projects, config->hardDeviceTexts().at(3), "垂直"}));

        auto details = [&] {
            return QStringList({text(&dialog, "sizeValue"), text(&dialog, "resolutionValue"),
                                text(&dialog, "serialValue"), text(&dialog, "usbValue")});
        };
        QCOMPARE(details(), (QStringList {"10.0 寸", "1024×600 像素", "2 个", "0 个"}));
        auto *picture = child<QLabel>(&dialog, "picture");
        const QSize portrait = picture->pixmap(Qt::ReturnByValue).size();
        orientation->setCurrentIndex(0);
        const QSize landscape = picture->pixmap(Qt::ReturnByValue).size();
        QVERIFY(landscape.width() > landscape.height());
        QVERIFY(landscape.width() <= picture->width() && landscape.height() <= picture->height());
        QCOMPARE(portrait, landscape.transposed().scaled(picture->size(), Qt::KeepAspectRatio));
        device->setCurrentIndex(5);
        QCOMPARE(details(), (QStringList {"5.0 寸", "800×480 像素", "3 个", "0 个"}));

        // Stored at once, both ways, so that a cancelled dialog keeps the choice.
        auto *check = child<QCheckBox>(&dialog, "dispalyCheck");
        QVERIFY(check->isChecked());
        for (bool checked : {false, true}) {
            check->click();
            QCOMPARE(config->showNew, checked);
            QSettings ini(MainWindow::settingsFile(), QSettings::IniFormat);
            QCOMPARE(ini.value("showNew").toString(), QString(checked ? "true" : "false"));
        }
    }

    void okCreatesAsksOrRefuses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("location"); // null: the projects folder
        QTest::addColumn<int>("hard");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("answer"); // to the one message expected, if any
        QTest::addColumn<QString>("message");
        QTest::addColumn<QSize>("screen"); // empty: refused, the dialog stays open
        const QString none;
        QTest::newRow("horizontal, blanks around name")
            << "  line 2 " << none << 1 << 0 << 0 << none << QSize(800, 480);
        QTest::newRow("vertical exchanges")
            << "demo" << none << 3 << 1 << 0 << none << QSize(600, 1024);
        QTest::newRow("existing, no keeps the dialog open")
            << "old" << none << 0 << 1 << int(QMessageBox::No) << OverwriteQuestion << QSize();
        QTest::newRow("existing, yes adds the missing folders")
            << "old" << none << 0 << 1 << int(QMessageBox::Yes) << OverwriteQuestion
            << QSize(480, 800);
        // A project made in the location itself, its parent or elsewhere would
        // change the folders even with the overwrite question answered.
        const QString bad = "工程名称不能为空，不能是 . 或 ..，也不能包含 / 或 \\。";
        for (const char *name : {"   ", "a/b", "a\\b", ".", ".."})
            QTest::newRow(name) << QString(name) << none << 0 << 0 << int(QMessageBox::Yes) << bad
                                << QSize();
        QTest::newRow("empty location")
            << "demo"
            << " " << 0 << 0 << int(QMessageBox::Yes) << "请选择工程位置。" << QSize();
    }

    void okCreatesAsksOrRefuses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, location);
        QFETCH(int, hard);
        QFETCH(int, orientation);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(QSize, screen);
        QVERIFY(QDir().mkpath(m_projects + "/a") && QDir().mkpath(m_projects + "/old/images"));
        QVERIFY(writeFileBytes(m_projects + "/old/old.mvprg", "kept"));
        const QStringList before = tree(m_projects);

        ModalScript script;
        script.pressButton(answer);
        NewProjectDialog dialog;
        submit(dialog, typed, location.isNull() ? m_projects : location, hard, orientation);

        QCOMPARE(script.texts(), message.isEmpty() ? QStringList() : QStringList {message});
        if (!message.isEmpty()) {
            const ModalRequest &shown = script.requests().first();
            const bool question = message == OverwriteQuestion;
            QCOMPARE(shown.icon, int(question ? QMessageBox::Question : QMessageBox::Critical));
            QCOMPARE(shown.title, QString(question ? "工程" : "错误"));
            QCOMPARE(shown.buttons,
                     question ? QStringList({"是(&Y)", "否(&N)"}) : QStringList({"确定"}));
        }
        QCOMPARE(fileBytes(m_projects + "/old/old.mvprg"), QByteArray("kept"));

        const Config *config = Config::instance();
        const bool accepted = !screen.isEmpty();
        QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : 0);
        QCOMPARE(dialog.isVisible(), !accepted);
        if (!accepted) {
            QCOMPARE(tree(m_projects), before);
            QCOMPARE(config->name, QString("untiled"));
            QCOMPARE(config->screenWidth, -1);
            return;
        }
        const QString name = typed.trimmed();
        QStringList created = before + QStringList {name, name + "/fonts", name + "/images"};
        created.removeDuplicates();
        created.sort();
        QCOMPARE(tree(m_projects), created);
        QCOMPARE(config->name, name);
        QCOMPARE(config->path, m_projects + "/" + name);
        QCOMPARE(int(config->hard), hard);
        QCOMPARE(int(config->orientation), orientation);
        QCOMPARE(QSize(config->screenWidth, config->screenHeight), screen);
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
};

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
