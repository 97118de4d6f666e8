#include "editor/drawscene.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "project/projectfile.h"
#include "shapes/graphicsitemgroup.h"
#include "support/filebytes.h"
#include "taglib/textlib.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Prolog = "<?xml version=\"1.0\"?>\n<Project>\n";

QByteArray groupTag(int i)
{
    return "<group objectName=\"g" + QByteArray::number(i) + "\">";
}

QByteArray textTag(int i)
{
    return "<t" + QByteArray::number(i) + ">";
}

// A project whose one screen holds `depth` groups each inside the last, the
// innermost holding a rectangle. Every tag is on a line of its own: group
// number i (from 0) is on line 5 + i.
QByteArray nestedGroups(int depth)
{
    QByteArray text = Prolog + "<Form>\n<Window type=\"1\">\n";
    for (int i = 0; i < depth; ++i)
        text += groupTag(i) + '\n';
    text += "<rectangle objectName=\"r\" pos=\"(5,5)\" width=\"10\" height=\"10\"/>\n";
    for (int i = 0; i < depth; ++i)
        text += "</group>\n";
    return text + "</Window>\n</Form>\n</Project>\n";
}

// A text tag library holding `depth` elements each inside the last, the
// innermost holding text; element number i (from 0) is on line 5 + i.
QByteArray nestedTextLib(int depth)
{
    QByteArray text = Prolog + "<Config name=\"deep\">\n<TextLib count=\"1\">\n";
    for (int i = 0; i < depth; ++i)
        text += textTag(i) + '\n';
    text += "innermost\n";
    for (int i = depth - 1; i >= 0; --i)
        text += "</t" + QByteArray::number(i) + ">\n";
    return text + "</TextLib>\n</Config>\n</Project>\n";
}

// What the library of nestedTextLib() reads as, however deep it goes.
bool hasOneEmptyTag()
{
    const TextLib *library = Config::instance()->textLib();
    return library->names() == QStringList(QString())
        && library->statesAt(0) == TextLib::States({TextLib::State(QString())});
}

// How many groups deep the deepest member of item lies, item counted.
int groupDepth(QGraphicsItem *item)
{
    auto *group = dynamic_cast<GraphicsItemGroup *>(item);
    if (!group)
        return 0;
    int deepest = 0;
    const QList<QGraphicsItem *> members = group->members();
    for (QGraphicsItem *member : members)
        deepest = std::max(deepest, groupDepth(member));
    return deepest + 1;
}

} // namespace

// Files nested deeper than any real project are refused as damaged at the
// element that goes too deep, instead of overflowing the stack of the
// recursive readers.
class TestNestingDepth : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        DrawManager::instance()->clear();
        DrawScene::resetScreenCounters();
        Config::instance()->reset();
        Config::instance()->screenWidth = 800;
        Config::instance()->screenHeight = 480;
    }

    void cleanup() { DrawManager::instance()->clear(); }

    void depth_data()
    {
        QTest::addColumn<bool>("groups"); // else the text tag library
        QTest::addColumn<int>("depth");

        const int limit = ProjectFile::MaxNestingDepth;
        QTest::newRow("groups at the limit") << true << limit;
        QTest::newRow("groups one past the limit") << true << limit + 1;
        QTest::newRow("groups 100000 deep") << true << 100000;
        QTest::newRow("text tags at the limit") << false << limit;
        QTest::newRow("text tags one past the limit") << false << limit + 1;
        QTest::newRow("text tags 100000 deep") << false << 100000;
    }

    void depth()
    {
        QFETCH(bool, groups);
        QFETCH(int, depth);

        const QByteArray file = groups ? nestedGroups(depth) : nestedTextLib(depth);
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(file);
        const int limit = ProjectFile::MaxNestingDepth;
        const QByteArray saved = ProjectFile::projectBytes();

        if (depth <= limit) {
            QCOMPARE(result.status, ProjectFile::Loaded);
            if (groups) {
                const QList<QGraphicsItem *> top = DrawManager::instance()->currentScene()->items();
                QGraphicsItem *outer = nullptr;
                for (QGraphicsItem *item : top) {
                    if (!item->parentItem() && dynamic_cast<GraphicsItemGroup *>(item))
                        outer = item;
                }
                QVERIFY(outer);
                QCOMPARE(groupDepth(outer), limit);
                QCOMPARE(saved.count("<group "), limit);
            } else {
                // Levels below a text carry nothing: one tag of one state.
                QVERIFY(hasOneEmptyTag());
            }
            return;
        }

        // Refused at the first element past the limit, with its place.
        QCOMPARE(result.status, ProjectFile::Damaged);
        const QByteArray refused = groups ? groupTag(limit) : textTag(limit);
        QCOMPARE(result.line, qint64(5 + limit));
        QCOMPARE(result.column, qint64(refused.size()));
        QVERIFY2(result.error.contains(QString::number(limit)), qPrintable(result.error));
        QVERIFY(result.error.contains(QStringLiteral("第 %1 行").arg(5 + limit)));
        // What was read before the refusal is kept, and saving it writes no
        // more levels than the limit.
        if (groups) {
            QCOMPARE(DrawManager::instance()->scenes().size(), 1);
            QVERIFY(saved.count("<group ") <= limit);
        } else {
            QCOMPARE(Config::instance()->name, QStringLiteral("deep"));
            QVERIFY(hasOneEmptyTag());
        }
    }

    // The command-line tool reads through the same code: the deep file
    // ends it with a message, not a crash.
    void commandLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("code");
        QTest::newRow("groups 100000 deep") << nestedGroups(100000) << 1;
        QTest::newRow("text tags 100000 deep") << nestedTextLib(100000) << 1;
        QTest::newRow("groups at the limit") << nestedGroups(ProjectFile::MaxNestingDepth) << 0;
    }

    void commandLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, code);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("deep.mvprg"));
        QVERIFY(writeFileBytes(path, file));

        QProcess cli;
        // The place of the error is checked in the tool's Chinese words.
        QProcessEnvironment chinese = QProcessEnvironment::systemEnvironment();
        chinese.insert(QStringLiteral("LC_ALL"), QStringLiteral("zh_CN.UTF-8"));
        cli.setProcessEnvironment(chinese);
        cli.start(QStringLiteral(MAROVIN_CLI), {QStringLiteral("info"), path});
        QVERIFY(cli.waitForFinished(120000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), code);
        const QString errors = QString::fromUtf8(cli.readAllStandardError());
        if (code == 0) {
            QVERIFY(cli.readAllStandardOutput().startsWith('{'));
        } else {
            QVERIFY2(errors.contains(QStringLiteral("第 %1 行").arg(5 + ProjectFile::MaxNestingDepth)),
                     qPrintable(errors));
        }
    }
};

QTEST_MAIN(TestNestingDepth)
#include "tst_nestingdepth.moc"
