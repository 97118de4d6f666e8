#include "mainwindow/mainwindow.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/projectcontroller.h"
#include "model/config.h"
#include "services/apppaths.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/processfixture.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString OverwriteQuestion = "该目录下已存在同名工程，是否覆盖?";

template<typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromLatin1(name));
    return widget ? widget : (qFatal("missing child %s", name), nullptr);
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
        QFile::remove(AppPaths::settingsFile());
        ProcessFixture::start();
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
        QTest::newRow("..") << ".." << 0 << 0 << int(QMessageBox::Yes) << bad << QSize();
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

};

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
