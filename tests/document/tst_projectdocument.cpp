#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "document/projectscript.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "model/taglib/textlib.h"
#include "support/filebytes.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <array>

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

    // A project is data: reading one, screens with every kind of shape and
    // scripts included, makes no widget (the window makes a screen's view
    // when it shows the screen), and neither does adopting it.
    void readingMakesNoWidget()
    {
        ProjectGenerator::Options options;
        options.screens = 3;
        options.shapesPerScreen = 30;
        ProjectGenerator(21).build(options);
        DrawManager::instance()->createScript()->setText(QStringLiteral("a = 1;"));
        DrawManager::instance()->createScript();
        Config::instance()->projectPw.clear(); // read without a check
        const QString file = m_dir.filePath("widgets.mvprg");
        QVERIFY(ProjectFile::write(file));
        ProcessFixture::start(800, 480);

        const auto widgets = [] {
            const QList<QWidget *> all = QApplication::allWidgets();
            return QSet<QWidget *>(all.begin(), all.end());
        };
        const QSet<QWidget *> before = widgets();
        ProjectFile::LoadResult result = ProjectFile::read(file);
        QCOMPARE(result.status, ProjectFile::Loaded);
        const DrawManager *screens = result.document->screens();
        QCOMPARE(screens->scenes().size(), 3);
        QCOMPARE(screens->scripts().size(), 2);
        QCOMPARE(screens->scripts().first()->text(), QStringLiteral("a = 1;"));
        QCOMPARE(result.firstScreen, screens->scenes().first());
        QCOMPARE(widgets(), before);
        ProjectDocument::adopt(std::move(result.document));
        QCOMPARE(widgets(), before);
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

    // Every change of the project's data made through the document is one
    // undo step that announces each part it touched once, done, undone and
    // made again; undoing it gives back the saved bytes exactly. A change
    // that changes nothing is no step.
    void changesAreOneStepEach_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("parts"); // announced, ProjectDocument::Parts
        QTest::addColumn<int>("steps");
        QTest::newRow("device renamed") << 0 << int(ProjectDocument::Devices | ProjectDocument::AddressTags) << 1;
        QTest::newRow("device added") << 1 << int(ProjectDocument::Devices) << 1;
        QTest::newRow("language count lowered") << 2 << int(ProjectDocument::Languages) << 1;
        QTest::newRow("text library imported") << 3 << int(ProjectDocument::TextTags) << 1;
        QTest::newRow("address library imported") << 4 << int(ProjectDocument::AddressTags) << 1;
        QTest::newRow("settings") << 5 << int(ProjectDocument::Settings) << 1;
        QTest::newRow("devices as they were") << 6 << 0 << 0;
        QTest::newRow("languages lowered, then a device added")
            << 7 << int(ProjectDocument::Languages | ProjectDocument::Devices) << 2;
    }
    void changesAreOneStepEach()
    {
        QFETCH(int, change);
        QFETCH(int, parts);
        QFETCH(int, steps);
        ProjectGenerator::Options options;
        options.fixedLayout = true;
        options.screens = 1;
        options.shapesPerScreen = 4;
        options.addressTags = 6;
        options.textTags = 4;
        ProjectGenerator(3).build(options);
        const QString file = m_dir.filePath("changes.mvprg");
        QVERIFY(ProjectFile::write(file));
        QCOMPARE(ProjectFile::load(file).status, ProjectFile::Loaded);
        ProjectDocument *document = ProjectDocument::current();
        Config *config = document->config();
        const QByteArray saved = ProjectFile::projectBytes();
        QVERIFY(ProjectFile::projectBytes().contains("device=\"PLC\""));

        const std::array<const char *, 5> signalNames = {
            SIGNAL(settingsChanged()), SIGNAL(languagesChanged()), SIGNAL(devicesChanged()),
            SIGNAL(textTagsChanged()), SIGNAL(addressTagsChanged())};
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const char *name : signalNames)
            spies.push_back(std::make_unique<QSignalSpy>(document, name));
        const auto counts = [&spies] {
            QVector<int> made;
            for (const auto &spy : spies)
                made.append(spy->count());
            return made;
        };
        const auto expected = [parts](int times) {
            QVector<int> made;
            for (int bit = 0; bit < 5; ++bit)
                made.append(parts & (1 << bit) ? times : 0);
            return made;
        };

        QList<DevicePara> devices = config->devices;
        DevicePara added;
        added.name = QStringLiteral("Scale");
        bool changed = false;
        switch (change) {
        case 0:
            changed = document->renameDevice(0, QStringLiteral("Press"));
            QVERIFY(!ProjectFile::projectBytes().contains("device=\"PLC\""));
            QVERIFY(ProjectFile::projectBytes().contains("device=\"Press\""));
            break;
        case 1:
            changed = document->setDevices(devices << added);
            break;
        case 2:
            changed = document->setLanguages(config->languages.mid(0, 1));
            break;
        case 3:
            changed = document->replaceTextTags(
                TextLib::fromRecords({{QStringLiteral("Imported"), {{"a", "b"}}}}, 2));
            break;
        case 4: {
            QStandardItemModel tags(0, Config::TagColumnCount);
            tags.appendRow({new QStandardItem("T1"), new QStandardItem("本地"),
                            new QStandardItem("LW 1"), new QStandardItem("Int16"),
                            new QStandardItem("1"), new QStandardItem("")});
            changed = document->replaceAddressTags(tags);
            break;
        }
        case 5:
            changed = document->change(ProjectDocument::Settings, [] { return QStringLiteral("s"); },
                                       [](Config *c) { c->addressHex = c->addressHex ? 0 : 1; });
            break;
        case 6:
            changed = document->setDevices(devices);
            break;
        case 7:
            changed = document->setLanguages(config->languages.mid(0, 1))
                && document->setDevices(devices << added);
            break;
        }
        QCOMPARE(changed, steps > 0);
        QCOMPARE(document->undoStack()->count(), steps);
        QCOMPARE(counts(), expected(1));
        if (!steps) {
            QCOMPARE(ProjectFile::projectBytes(), saved);
            return;
        }
        const QByteArray after = ProjectFile::projectBytes();
        QVERIFY(after != saved);

        for (int i = 0; i < steps; ++i)
            document->undoStack()->undo();
        QCOMPARE(ProjectFile::projectBytes(), saved);
        QCOMPARE(counts(), expected(2));
        for (int i = 0; i < steps; ++i)
            document->undoStack()->redo();
        QCOMPARE(ProjectFile::projectBytes(), after);
        QCOMPARE(counts(), expected(3));
    }

    // Saving under another name is not a step of the history: undoing or
    // redoing a change made before it must not send the next save back to
    // the old file.
    void fileLocationOutlivesUndo()
    {
        ProjectGenerator::Options options;
        options.screens = 1;
        options.shapesPerScreen = 2;
        options.addressTags = 2;
        ProjectGenerator(5).build(options);
        const QString first = m_dir.filePath("first.mvprg");
        QVERIFY(ProjectFile::write(first));
        QCOMPARE(ProjectFile::load(first).status, ProjectFile::Loaded);
        ProjectDocument *document = ProjectDocument::current();
        Config *config = document->config();
        QVERIFY(document->renameDevice(0, QStringLiteral("Press")));

        QDir().mkpath(m_dir.filePath("other"));
        const QString second = m_dir.filePath("other/second.mvprg");
        config->setProjectFile(second);
        document->undoStack()->undo();
        QCOMPARE(config->projectFile(), second);
        QCOMPARE(config->projectName(), QStringLiteral("second"));
        QVERIFY(config->devices.at(0).name != QStringLiteral("Press"));
        document->undoStack()->redo();
        QCOMPARE(config->projectFile(), second);
        QCOMPARE(config->devices.at(0).name, QStringLiteral("Press"));
    }
};

QTEST_MAIN(TestProjectDocument)
#include "tst_projectdocument.moc"
