#include "app/application.h"
#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/screentype.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/projecttree.h"
#include "mainwindow/windowsettings.h"
#include "model/config.h"
#include "services/applog.h"
#include "services/apppaths.h"
#include "services/appsettings.h"
#include "support/filebytes.h"
#include "support/modalscript.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

Q_DECLARE_METATYPE(AppPaths::Layout)

namespace {

QTemporaryDir *appDir()
{
    static QTemporaryDir dir;
    return &dir;
}

QSettings nativeStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZEL", "Marovin");
}

QString underTest(const QString &relative)
{
    return QDir(appDir()->path()).filePath(relative);
}

QString recentFirst()
{
    return nativeStore().value("recentFiles").toStringList().value(0);
}

// Turns the start-up new-project dialog on or off.
void showNewProject(bool on)
{
    QSettings(AppPaths::settingsFile(), QSettings::IniFormat).setValue("showNew", on);
    AppSettings::instance()->setShowNew(on);
}

} // namespace

// Start-up services: runs inside a real Application whose folder is a
// temporary "bin" directory, so log and settings never touch the user's.
class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The test framework replaces the handler the application installed.
        qInstallMessageHandler(&AppLog::messageHandler);
    }

    void init()
    {
        QDir::setCurrent(underTest("bin"));
        nativeStore().remove("exception");
    }

    void relativeProjectPathsBecomeAbsolute()
    {
        QCOMPARE(Application::projectArgument({"marovin", "..\\other\\p2.mvprg"}, "/home/u/work"),
                 QString("/home/u/other/p2.mvprg"));
        // main() started us in "start"; the application then moved to "bin".
        const QString start = underTest("start");
        Config::instance()->reset();
        QVERIFY(ProjectFile::write(start + "/rel.mvprg"));

        ModalScript script;
        MainWindow window;
        Application::openStartupProject(&window, {"marovin", "rel.mvprg"});
        QVERIFY2(script.requests().isEmpty(), qPrintable(script.texts().join('\n')));
        QCOMPARE(Config::instance()->projectFile(), start + "/rel.mvprg");
        QCOMPARE(recentFirst(), start + "/rel.mvprg");
        // Save goes back to the file that was opened.
        QVERIFY(QFile::remove(start + "/rel.mvprg"));
        window.projectController()->save();
        QVERIFY(QFile::exists(start + "/rel.mvprg"));
        window.projectController()->closeProject();
    }

    // A project named at start opens whatever the case of its suffix, and
    // Save writes back to that very file; a name that cannot be opened is
    // said so, with the file named, instead of a silent start page.
    void projectNamedAtStart_data()
    {
        QTest::addColumn<QString>("name"); // in the start folder
        QTest::addColumn<QString>("content"); // "project", "text", "folder" or "none"
        QTest::newRow("upper-case suffix") << "DEMO.MVPRG" << "project";
        QTest::newRow("mixed-case suffix") << "Demo.MvPrg" << "project";
        QTest::newRow("missing") << "absent.mvprg" << "none";
        QTest::newRow("no project") << "notes.txt" << "text";
        QTest::newRow("a folder") << "folder.mvprg" << "folder";
    }

    void projectNamedAtStart()
    {
        QFETCH(QString, name);
        QFETCH(QString, content);
        const QString file = underTest("start/" + name);
        QFile::remove(file);
        QDir(file).removeRecursively();
        Config::instance()->reset();
        if (content == "project") {
            Config::instance()->setProjectFile(file);
            QVERIFY(ProjectFile::write(file));
            Config::instance()->reset();
        } else if (content == "text") {
            QVERIFY(writeFileBytes(file, "not a project\n"));
        } else if (content == "folder") {
            QVERIFY(QDir().mkpath(file));
        }

        ModalScript script;
        MainWindow window;
        Application::openStartupProject(&window, {"marovin", name});
        if (content == "project") {
            QVERIFY2(script.requests().isEmpty(), qPrintable(script.texts().join('\n')));
            QCOMPARE(Config::instance()->projectFile(), file);
            QVERIFY(QFile::remove(file));
            window.projectController()->save();
            QVERIFY(QFile::exists(file));
        } else {
            QCOMPARE(script.texts().size(), 1);
            QVERIFY2(script.texts().first().contains(file), qPrintable(script.texts().first()));
            QCOMPARE(window.centralPages()->currentIndex(), 0);
        }
        window.projectController()->closeProject();
    }

    void filesStayBesideAWritableExecutable_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("writable folder: beside the executable") << true;
        QTest::newRow("read-only folder: the user's folders") << false;
    }

    void filesStayBesideAWritableExecutable()
    {
        QFETCH(bool, writable);
        const QString root = underTest(writable ? "portable" : "installed");
        const QString bin = root + "/bin";
        QVERIFY(QDir().mkpath(bin));
        const auto restore = qScopeGuard([bin] {
            QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (!writable)
            QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
        // As root the kernel writes through permission bits; the real probe is
        // only trusted where it can see them.
        if (geteuid() != 0)
            QCOMPARE(AppPaths::canCreateFileIn(bin), writable);
        AppPaths::setup(bin, [](const QString &folder) {
            return bool(QFileInfo(folder).permissions() & QFile::WriteOwner);
        });

        const QString config = underTest("xdg/ZEL/Marovin");
        const QString data = underTest("xdg-data/ZEL/Marovin");
        const QString documents = underTest("home/Documents");
        QCOMPARE(AppPaths::crashReportFolder(), writable ? bin : data);
        // What is written lands there.
        qWarning("layout check");
        QVERIFY(fileBytes((writable ? bin : data) + "/log.txt").contains("layout check"));
        {
            ModalScript script;
            MainWindow window;
            WindowSettings::write();
        }
        QVERIFY(QFile::exists((writable ? root + "/config" : config) + "/config.ini"));
        if (!writable)
            QCOMPARE(QDir(root).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                     QStringList("bin"));

        // New projects are proposed where the user can keep them.
        Config::instance()->reset();
        QCOMPARE(Config::instance()->path, writable ? bin : documents);

        AppPaths::setup(underTest("bin"));
    }

    // Root writes everywhere, so writability alone would let an installed
    // copy run with sudo litter its own folder.
    void systemFoldersNeverHoldOurFiles_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<AppPaths::Layout>("expected");
        const auto beside = AppPaths::BesideExecutable;
        const auto user = AppPaths::UserFolders;
        struct Location
        {
            const char *folder;
            bool userMayWrite;
            AppPaths::Layout asUser;
            AppPaths::Layout asRoot;
        };
        const Location locations[] = {
            {"/usr/bin", false, user, user},
            {"/usr/local/bin", false, user, user},
            {"/opt/marovin/bin", false, user, user},
            {"/opt", false, user, user},
            {"/home/u/../../usr/bin", false, user, user},
            {"//usr/local/bin/", false, user, user},
            {"/home/u/marovin/build", true, beside, beside},
            // Names that only begin like a prefix.
            {"/usr2/bin", true, beside, beside},
            {"/optical/marovin", true, beside, beside},
            {"/home/u/usr/bin", true, beside, beside},
            // Unpacked by the administrator elsewhere: the user cannot write.
            {"/srv/tools/marovin", false, user, beside},
        };
        for (const Location &l : locations) {
            QTest::addRow("%s as a user", l.folder) << l.folder << l.userMayWrite << l.asUser;
            QTest::addRow("%s as root", l.folder) << l.folder << true << l.asRoot;
        }
    }

    void systemFoldersNeverHoldOurFiles()
    {
        QFETCH(QString, folder);
        QFETCH(bool, writable);
        QFETCH(AppPaths::Layout, expected);
        QCOMPARE(AppPaths::layoutFor(folder, writable), expected);
    }

    // The set-up follows the decision, and not even a probe file is made
    // in the system folder.
    void installedCopyRunByRootUsesTheUsersFolders()
    {
        int probed = 0;
        AppPaths::setup("/usr/local/bin", [&probed](const QString &) {
            ++probed;
            return true;
        });
        const auto restore = qScopeGuard([] { AppPaths::setup(underTest("bin")); });
        QCOMPARE(probed, 0);
        QCOMPARE(AppPaths::layout(), AppPaths::UserFolders);
        for (const QString &path : {AppPaths::settingsFile(), AppPaths::logFile(),
                                    AppPaths::crashReportFolder(), AppPaths::newProjectLocation()})
            QVERIFY2(path.startsWith(appDir()->path()), qPrintable(path));
    }

    void recoveryCopyOpensAsItsProject()
    {
        const QString folder = underTest("recovered");
        QVERIFY(QDir().mkpath(folder));
        const QString copy = folder + "/~r.mvprg.autosave";
        Config::instance()->reset();
        Config::instance()->version = "7.7.7";
        QVERIFY(ProjectFile::write(copy));
        nativeStore().setValue("exception", copy);
        {
            ModalScript script;
            script.pressButton(QMessageBox::No);
            MainWindow window;
            Application::openStartupProject(&window, {"marovin"});
            QCOMPARE(script.requests().size(), 1);
            QCOMPARE(window.centralPages()->currentIndex(), 0);
        }
        // Declined, the question comes again on the next start.
        ModalScript script;
        script.pressButton(QMessageBox::Yes);
        MainWindow window;
        Application::openStartupProject(&window, {"marovin"});
        QCOMPARE(script.requests().size(), 1);
        // Answered: the record has done its work.
        QVERIFY(!nativeStore().contains("exception"));
        // The copy's content, owned by the project it was saved from: Save
        // writes that project, which is not written before the user saves.
        QCOMPARE(Config::instance()->version, QString("7.7.7"));
        QCOMPARE(Config::instance()->projectFile(), folder + "/r.mvprg");
        QCOMPARE(recentFirst(), folder + "/r.mvprg");
        QVERIFY(window.isModified());
        QVERIFY(!QFile::exists(folder + "/r.mvprg"));
        window.projectController()->save();
        QVERIFY(QFile::exists(folder + "/r.mvprg"));
        window.projectController()->closeProject();
        // Recovered: the question does not come back.
        ModalScript later;
        MainWindow next;
        Application::openStartupProject(&next, {"marovin"});
        QVERIFY(later.requests().isEmpty());
    }

    // The record of a crash ends with its copy: once the copy is recovered
    // or deleted, however the project was opened, no start offers it again.
    // A copy the user has not answered for stays on offer; one recovered but
    // not yet saved (the editor killed) is offered when its project opens.
    void crashRecordEndsWithItsCopy_data()
    {
        QTest::addColumn<QString>("opened"); // "named", "other" named, or "asked" at start
        QTest::addColumn<int>("answer"); // to the recovery question
        QTest::addColumn<QString>("then"); // "save", or "drop" the changes on close
        QTest::addColumn<bool>("kept"); // the record
        QTest::addColumn<bool>("copyKept");
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("named, recovered, saved") << "named" << yes << "save" << false << false;
        QTest::newRow("named, recovered, dropped") << "named" << yes << "drop" << false << false;
        QTest::newRow("named, recovered, left open") << "named" << yes << "" << false << true;
        QTest::newRow("named, declined") << "named" << no << "" << false << false;
        QTest::newRow("asked, recovered, saved") << "asked" << yes << "save" << false << false;
        QTest::newRow("asked, declined") << "asked" << no << "" << true << true;
        QTest::newRow("another project named") << "other" << 0 << "save" << true << true;
    }
    void crashRecordEndsWithItsCopy()
    {
        QFETCH(QString, opened);
        QFETCH(int, answer);
        QFETCH(QString, then);
        QFETCH(bool, kept);
        QFETCH(bool, copyKept);
        const QString folder = underTest(QString("crash %1").arg(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + "/p.mvprg";
        const QString other = folder + "/other.mvprg";
        const QString copy = folder + "/~p.mvprg.autosave";
        Config::instance()->reset();
        QVERIFY(ProjectFile::write(file) && ProjectFile::write(other));
        Config::instance()->version = "7.7.7";
        QVERIFY(ProjectFile::write(copy));
        {
            // The copy is the newer: the crash came after the last save.
            QFile project(file);
            QVERIFY(project.open(QIODevice::ReadWrite));
            QVERIFY(project.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                        QFileDevice::FileModificationTime));
        }
        Config::instance()->reset();
        nativeStore().setValue("exception", copy);
        nativeStore().sync();

        ModalScript script;
        if (answer)
            script.pressButton(answer);
        MainWindow window;
        QStringList arguments {"marovin"};
        if (opened != "asked")
            arguments << (opened == "named" ? file : other);
        Application::openStartupProject(&window, arguments);
        QCOMPARE(script.requests().size(), answer ? 1 : 0);
        // Every form of the question says what 否 does with the copy.
        if (answer)
            QVERIFY2(script.texts().first().contains("选择“否”将"), qPrintable(script.texts().first()));
        QCOMPARE(Config::instance()->version == "7.7.7", answer == QMessageBox::Yes);
        if (then == "save") {
            window.projectController()->save();
        } else if (then == "drop") {
            script.pressButton(QMessageBox::No);
            QVERIFY(window.projectController()->maybeSave());
        }
        window.projectController()->closeProject();
        QCOMPARE(nativeStore().contains("exception"), kept);
        QCOMPARE(QFile::exists(copy), copyKept);
    }

    // A record whose file is gone offers nothing, now or later.
    void crashRecordWithoutFileIsDropped_data()
    {
        QTest::addColumn<QString>("recorded");
        QTest::newRow("recovery copy") << "/gone/~r.mvprg.autosave";
        QTest::newRow("project, as older versions recorded") << "/gone/r.mvprg";
        QTest::newRow("recovery copy, upper-case suffix") << "/gone/~R.MVPRG.autosave";
    }
    void crashRecordWithoutFileIsDropped()
    {
        QFETCH(QString, recorded);
        nativeStore().setValue("exception", recorded);
        nativeStore().sync();
        ModalScript script;
        MainWindow window;
        Application::openStartupProject(&window, {"marovin"});
        QVERIFY(script.requests().isEmpty());
        QVERIFY(!nativeStore().contains("exception"));
    }

    void newProjectDialogWaitsForStartupBoxes_data()
    {
        // A recovery copy is recorded by a crash and accepted; any other file
        // is named on the command line.
        QTest::addColumn<QString>("file"); // below the test's "old" folder
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("boxes"); // start-up requests expected before the dialog
        QTest::newRow("recovery question, yes") << "~old.mvprg.autosave" << QString() << 1;
        QTest::newRow("load error") << "missing.mvprg" << QString() << 1;
        QTest::newRow("password prompt") << "old.mvprg"
                                         << "pw" << 1;
        QTest::newRow("command line, no box") << "old.mvprg" << QString() << 0;
    }

    void newProjectDialogWaitsForStartupBoxes()
    {
        QFETCH(QString, file);
        QFETCH(QString, password);
        QFETCH(int, boxes);
        const bool viaCrash = file.endsWith(".autosave");
        QTemporaryDir dir;
        const QString old = dir.filePath("old/" + file);
        QVERIFY(QDir().mkpath(dir.filePath("old")));
        if (!file.startsWith("missing")) {
            // Two screens, so that the new project cannot pass for it.
            Config *config = Config::instance();
            config->reset();
            config->screenWidth = 800;
            config->screenHeight = 480;
            MainWindow maker;
            maker.projectTree()->addForm(BaseScreen);
            maker.projectTree()->addForm(WindowScreen);
            config->projectPw = password;
            QVERIFY(ProjectFile::write(old));
            maker.projectController()->closeProject();
        }
        if (viaCrash)
            nativeStore().setValue("exception", old);

        showNewProject(true);
        const auto showNewOff = qScopeGuard([] { showNewProject(false); });
        ModalScript script;
        script.keepOpenFor(300);
        if (!password.isEmpty())
            script.chooseText(password);
        if (viaCrash)
            script.pressButton(QMessageBox::Yes);
        // An opened project that counts as modified is offered for saving
        // before the new one replaces it.
        script.pressButton(QMessageBox::No);

        MainWindow window;
        // Fills in the dialog once it shows and notes whether a box was open.
        int seenAfter = -1;
        bool insideABox = false;
        QTimer watcher;
        watcher.setInterval(20);
        connect(&watcher, &QTimer::timeout, &window, [&] {
            auto *dialog = window.findChild<NewProjectDialog *>();
            if (!dialog || !dialog->isVisible())
                return;
            if (seenAfter >= 0) {
                dialog->reject(); // OK refused: never leave the run blocked
                return;
            }
            seenAfter = script.requests().size();
            insideABox = script.isAsking();
            dialog->findChild<QLineEdit *>("name")->setText("fresh");
            dialog->findChild<QLineEdit *>("location")->setText(dir.path());
            dialog->on_ok_clicked();
        });
        watcher.start();

        Application::openStartupProject(
            &window, viaCrash ? QStringList {"marovin"} : QStringList {"marovin", old});
        QTRY_VERIFY2_WITH_TIMEOUT(seenAfter >= 0, qPrintable(script.texts().join('\n')), 3000);
        QVERIFY(!insideABox);
        const QStringList asked = script.texts();
        QCOMPARE(asked.size(), seenAfter);
        QVERIFY2(seenAfter == boxes
                     || (seenAfter == boxes + 1 && asked.last().startsWith("是否将改动保存到")),
                 qPrintable(asked.join('\n')));

        // Only the new project is open, and only it is saved.
        const QString fresh = dir.filePath("fresh/fresh.mvprg");
        QCOMPARE(Config::instance()->projectFile(), fresh);
        window.projectController()->save();
        window.projectController()->closeProject();
        QVERIFY(window.projectController()->openProject(fresh));
        QCOMPARE(DrawManager::instance()->scenes().size(), 1);
        window.projectController()->closeProject();
    }
};

int main(int argc, char **argv)
{
    for (const char *folder : {"bin", "start", "home/Documents"})
        QDir(appDir()->path()).mkpath(folder);
    // Relative command-line names are taken against this folder.
    QDir::setCurrent(underTest("start"));
    qputenv("HOME", underTest("home").toLocal8Bit());
    qputenv("XDG_DATA_HOME", underTest("xdg-data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", underTest("xdg").toLocal8Bit());
    qputenv("MAROVIN_APP_DIR", underTest("bin").toLocal8Bit());
    Application app(argc, argv);
    TestApplication test;
    const int result = QTest::qExec(&test, argc, argv);
    qInstallMessageHandler(nullptr);
    return result;
}

#include "tst_application.moc"
