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
            actions << menu.addAction(QString("&%1").arg(i + 1));
            actions.last()->setData(paths.value(i));
            actions.last()->setVisible(i < paths.size());
        }
    }
};

template<typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromLatin1(name));
    return widget ? widget : (qFatal("missing child %s", name), nullptr);
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

} // namespace

class TestStartPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_projects; // location for new projects, emptied per test

private slots:
    void initTestCase()
    {
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
    // A row opens its action once, however often it was refreshed.
    void recentRows()
    {
        const QStringList paths = QString("b|/a/b/Demo.MVPRG|/a/<b>&c/<b>&c.mvprg").split('|');
        const QStringList names = {"", "Demo.MVPRG", "<b>&c"};
        const QString visible = "0110000000";
        FirstPage page;
        page.resize(800, 600);
        page.show();
        RecentMenu recent(paths);
        for (int i = 0; i < FirstPage::RecentCount; ++i)
            recent.actions[i]->setVisible(visible.at(i) == '1');
        page.updateRecent(&recent.menu);
        page.updateRecent(&recent.menu);
        for (int i = 0; i < FirstPage::RecentCount; ++i) {
            RecentLabel *row = page.recentLabel(i);
            QCOMPARE(!row->isHidden(), visible.at(i) == '1');
            if (row->isHidden())
                continue;
            QCOMPARE(text(row, "recentPath"), paths.at(i));
            QCOMPARE(QTextDocumentFragment::fromHtml(text(row, "recentName")).toPlainText(),
                     names.at(i));
        }

        // The link and the row both open it.
        QSignalSpy third(recent.actions[2], &QAction::triggered);
        RecentLabel *row = page.recentLabel(2);
        emit child<QLabel>(row, "recentName")->linkActivated("2");
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(third.count(), 2);
    }

    void okCreatesAsksOrRefuses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("hard");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("answer"); // to the one message expected, if any
        QTest::addColumn<QString>("message");
        QTest::addColumn<QSize>("screen"); // empty: refused, the dialog stays open
        QTest::newRow("horizontal, blanks around name")
            << "  line 2 " << 1 << 0 << 0 << QString() << QSize(800, 480);
        QTest::newRow("existing, no keeps the dialog open")
            << "old" << 0 << 1 << int(QMessageBox::No) << OverwriteQuestion << QSize();
        QTest::newRow("existing, yes adds the missing folders")
            << "old" << 0 << 1 << int(QMessageBox::Yes) << OverwriteQuestion << QSize(480, 800);
        // A project made in the location itself, its parent or elsewhere would
        // change the folders even with the overwrite question answered.
        const QString bad = "工程名称不能为空，不能是 . 或 ..，也不能包含 / 或 \\。";
        for (const char *name : {"a\\b", ".."})
            QTest::newRow(name) << QString(name) << 0 << 0 << int(QMessageBox::Yes) << bad
                                << QSize();
    }

    void okCreatesAsksOrRefuses()
    {
        QFETCH(QString, typed);
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
        dialog.loadFromConfig();
        child<QComboBox>(&dialog, "device")->setCurrentIndex(hard);
        child<QComboBox>(&dialog, "orientation")->setCurrentIndex(orientation);
        child<QLineEdit>(&dialog, "name")->setText(typed);
        child<QLineEdit>(&dialog, "location")->setText(m_projects);
        dialog.show();
        child<QPushButton>(&dialog, "ok")->click();

        QCOMPARE(script.texts(), message.isEmpty() ? QStringList() : QStringList {message});
        QCOMPARE(fileBytes(m_projects + "/old/old.mvprg"), QByteArray("kept"));
        const Config *config = Config::instance();
        QCOMPARE(dialog.isVisible(), screen.isEmpty());
        if (screen.isEmpty()) {
            QCOMPARE(tree(m_projects), before);
            QCOMPARE(config->name, QString("untiled"));
            return;
        }
        const QString name = typed.trimmed();
        QStringList created = before + QStringList {name, name + "/fonts", name + "/images"};
        created.removeDuplicates();
        created.sort();
        QCOMPARE(tree(m_projects), created);
        QCOMPARE(config->path, m_projects + "/" + name);
        QCOMPARE(int(config->hard), hard);
        QCOMPARE(QSize(config->screenWidth, config->screenHeight), screen);
    }

    // Handing the same menu over twice must not stack up connections; a
    // pick while the dialog is closed leaves it alone.
    void recentPickEndsDialog()
    {
        RecentMenu recent({"/p/a.mvprg", "/p/b.mvprg"});
        QSignalSpy opened(recent.actions[1], &QAction::triggered);
        NewProjectDialog dialog;
        dialog.setRecentMenu(&recent.menu);
        dialog.setRecentMenu(&recent.menu);
        QSignalSpy finished(&dialog, &QDialog::finished);
        QTimer::singleShot(0, &dialog, [&] { recent.actions[1]->trigger(); });
        QCOMPARE(dialog.run(), int(NewProjectDialog::RecentPicked));
        QCOMPARE(opened.count(), 1);
        QCOMPARE(finished.count(), 1);

        dialog.setResult(0);
        recent.actions[0]->trigger();
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
