#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "support/filebytes.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QPointer>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

class TestProjectDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A generated project saved to name; the current project is left empty.
    QString savedProject(const QString &name, quint32 seed, bool encoded)
    {
        ProcessFixture::start(800, 480);
        ProjectGenerator::Options options;
        options.screens = 3;
        options.shapesPerScreen = 8;
        options.encoded = encoded;
        ProjectGenerator(seed).build(options);
        const QString file = m_dir.filePath(name);
        if (!ProjectFile::write(file))
            return QString();
        ProcessFixture::start(800, 480);
        return file;
    }

private slots:
    void init() { ProcessFixture::start(800, 480); }
    void cleanup() { ProcessFixture::finish(); }

    // Whatever a read finds, the project being edited is not touched: not
    // its settings, not its screens, not the numbering of its new screens.
    // Only what could be read at all comes back as a document.
    void readLeavesTheCurrentProjectAlone_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<bool>("passwordGiven");
        QTest::addColumn<int>("status");
        const QByteArray head = "<?xml version=\"1.0\"?>\n<Project><Config name=\"other\" "
                                "version=\"7\" screen=\"320,240\"";
        QTest::newRow("no file") << QByteArray() << true << int(ProjectFile::OpenFailed);
        QTest::newRow("not a project")
            << QByteArray("<?xml version=\"1.0\"?><Notes/>") << true
            << int(ProjectFile::NotAProject);
        QTest::newRow("password refused")
            << head + " projectPw=\"s\"/><Form><Window type=\"1\"/></Form></Project>" << false
            << int(ProjectFile::PasswordRefused);
        QTest::newRow("cut short")
            << head + "/><Form><Window type=\"1\"/><Window type=\"1\"><rectangle" << true
            << int(ProjectFile::Damaged);
        QTest::newRow("whole")
            << head + "/><Form><Window type=\"1\"/><Window type=\"2\"/></Form></Project>" << true
            << int(ProjectFile::Loaded);
    }
    void readLeavesTheCurrentProjectAlone()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, passwordGiven);
        QFETCH(int, status);
        const QString open = savedProject("open.mvprg", 5, false);
        QVERIFY(!open.isEmpty());
        QVERIFY(ProjectFile::load(open).status == ProjectFile::Loaded);
        const Config *config = Config::instance();
        const DrawManager *screens = DrawManager::instance();
        const QByteArray before = ProjectFile::projectBytes();
        const QMap<int, int> counters = DrawScene::screenCounters();

        const QString path = m_dir.filePath("read.mvprg");
        QFile::remove(path);
        if (!content.isNull())
            QVERIFY(writeFileBytes(path, content));
        ProjectFile::LoadHooks hooks;
        hooks.checkPassword = [passwordGiven](const QString &) { return passwordGiven; };
        ProjectFile::LoadResult result = ProjectFile::read(path, hooks);
        QCOMPARE(int(result.status), status);
        const bool readable = status == ProjectFile::Loaded || status == ProjectFile::Damaged;
        QCOMPARE(bool(result.document), readable);

        QCOMPARE(Config::instance(), config);
        QCOMPARE(DrawManager::instance(), screens);
        QCOMPARE(ProjectFile::projectBytes(), before);
        QCOMPARE(DrawScene::screenCounters(), counters);
        if (!readable)
            return;
        // What was read is complete in itself, system registers and all.
        const Config *read = result.document->config();
        QCOMPARE(read->name, QStringLiteral("other"));
        QCOMPARE(read->screenWidth, 320);
        QVERIFY(read->systemRegisterModel()->rowCount() > 0);
        QCOMPARE(result.document->screens()->scenes().size(), 2);
        QCOMPARE(result.document->screens()->scenes().first()->width(), 320.0);
    }

    // Two projects read side by side stay apart: each writes its own file
    // again, a change to one leaves the other as it was, and adopting one
    // makes it the project the editor works on while the other lives on.
    void twoProjectsSideBySide_data()
    {
        QTest::addColumn<bool>("encoded");
        QTest::newRow("plain") << false;
        QTest::newRow("encoded") << true;
    }
    void twoProjectsSideBySide()
    {
        QFETCH(bool, encoded);
        const QString fileA = savedProject("a.mvprg", 11, encoded);
        const QString fileB = savedProject("b.mvprg", 12, !encoded);
        QVERIFY(!fileA.isEmpty() && !fileB.isEmpty());
        ProjectFile::LoadResult a = ProjectFile::read(fileA);
        ProjectFile::LoadResult b = ProjectFile::read(fileB);
        QCOMPARE(a.status, ProjectFile::Loaded);
        QCOMPARE(b.status, ProjectFile::Loaded);
        QCOMPARE(ProjectFile::projectBytes(a.document.get()), fileBytes(fileA));
        QCOMPARE(ProjectFile::projectBytes(b.document.get()), fileBytes(fileB));

        a.document->config()->name = QStringLiteral("renamed");
        a.document->screens()->scenes().first()->setWidth(123);
        QVERIFY(ProjectFile::projectBytes(a.document.get()) != fileBytes(fileA));
        QCOMPARE(ProjectFile::projectBytes(b.document.get()), fileBytes(fileB));

        QPointer<ProjectDocument> previous = ProjectDocument::current();
        ProjectDocument *adopted = a.document.get();
        std::unique_ptr<ProjectDocument> replaced = ProjectDocument::adopt(std::move(a.document));
        QCOMPARE(replaced.get(), previous.data());
        replaced.reset();
        QVERIFY(!previous);
        QCOMPARE(ProjectDocument::current(), adopted);
        QVERIFY(adopted->isCurrent() && !b.document->isCurrent());
        QCOMPARE(Config::instance(), adopted->config());
        QCOMPARE(DrawManager::instance(), adopted->screens());
        QVERIFY(ProjectFile::decodeProjectText(ProjectFile::projectBytes()).contains("renamed"));
        // New screens number on from the adopted project's own.
        QMap<int, int> made;
        for (const DrawScene *scene : adopted->screens()->scenes())
            ++made[scene->type()];
        QCOMPARE(DrawScene::screenCounters(), made);
        QCOMPARE(ProjectFile::projectBytes(b.document.get()), fileBytes(fileB));
    }
};

QTEST_MAIN(TestProjectDocument)
#include "tst_projectdocument.moc"
