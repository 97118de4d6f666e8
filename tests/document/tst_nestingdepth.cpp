#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "model/nestinglimit.h"
#include "model/taglib/textlib.h"
#include "support/processfixture.h"

#include <QtTest>

namespace {

// Where the nesting is: groups on a screen, elements of the text tag
// library, or elements this version does not know, in Config.
enum Nesting { Groups, TextTags, Unknown };

// The name of level i (from 0): in the text tag library the first three
// levels are a tag, a state and a text, as the library writes them.
QByteArray tagName(int nesting, int i)
{
    static const char *const records[] = {"label0", "status0", "lan0"};
    if (nesting == TextTags && i < 3)
        return records[i];
    return "t" + QByteArray::number(i);
}

QByteArray openTag(int nesting, int i)
{
    return nesting == Groups ? "<group objectName=\"g" + QByteArray::number(i) + "\">"
                             : "<" + tagName(nesting, i) + ">";
}

// A project whose one screen holds `depth` groups each inside the last
// around a rectangle, or whose Config nests `depth` elements around a
// text, in its text tag library or in an element of its own. Every tag is
// on a line of its own: level i (from 0) is on line 5 + i.
QByteArray nested(int nesting, int depth)
{
    const bool groups = nesting == Groups;
    static const char *const heads[] = {"<Form>\n<Window type=\"1\">\n",
                                        "<Config name=\"deep\">\n<TextLib count=\"1\">\n",
                                        "<Config name=\"deep\">\n<Language/>\n"};
    QByteArray text = "<?xml version=\"1.0\"?>\n<Project>\n" + QByteArray(heads[nesting]);
    for (int i = 0; i < depth; ++i)
        text += openTag(nesting, i) + '\n';
    text += groups ? "<rectangle objectName=\"r\" pos=\"(5,5)\" width=\"10\" height=\"10\"/>\n"
                   : "innermost\n";
    for (int i = depth - 1; i >= 0; --i)
        text += groups ? QByteArray("</group>\n") : "</" + tagName(nesting, i) + ">\n";
    static const char *const tails[] = {"</Window>\n</Form>\n", "</TextLib>\n</Config>\n",
                                        "</Config>\n"};
    return text + tails[nesting] + "</Project>\n";
}

// What the library of nested(TextTags, ...) reads as, however deep it goes:
// levels below a text carry no text, so one tag of one state.
bool hasOneEmptyTag()
{
    const TextLib *library = Config::instance()->textLib();
    return library->names() == QStringList(QString())
        && library->statesAt(0) == TextLib::States({TextLib::State(QString())});
}

} // namespace

// Files nested deeper than any real project are refused as damaged at the
// element that goes too deep, instead of overflowing the stack of the
// recursive readers.
class TestNestingDepth : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(800, 480); }
    void cleanup() { ProcessFixture::finish(); }

    void depth_data()
    {
        QTest::addColumn<int>("nesting");
        QTest::addColumn<int>("depth");
        const int limit = NestingLimit::MaxDepth;
        QTest::newRow("groups at the limit") << int(Groups) << limit;
        QTest::newRow("groups 100000 deep") << int(Groups) << 100000;
        QTest::newRow("text tags at the limit") << int(TextTags) << limit;
        QTest::newRow("text tags 100000 deep") << int(TextTags) << 100000;
        QTest::newRow("unknown elements at the limit") << int(Unknown) << limit;
        QTest::newRow("unknown elements 100000 deep") << int(Unknown) << 100000;
    }

    void depth()
    {
        QFETCH(int, nesting);
        QFETCH(int, depth);
        const bool groups = nesting == Groups;
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(nested(nesting, depth));
        const int limit = NestingLimit::MaxDepth;
        const QByteArray saved = ProjectFile::projectBytes();
        // Saving never writes more levels than the limit; kept elements
        // all of them up to it.
        const int levels = saved.count(groups ? "<group " : "<t");
        QVERIFY(levels <= limit);
        if (nesting == TextTags)
            QVERIFY(hasOneEmptyTag());
        if (depth <= limit) {
            QCOMPARE(result.status, ProjectFile::Loaded);
            // Below a text (tag, state, text) the library keeps the rest.
            QCOMPARE(levels, nesting == TextTags ? limit - 3 : limit);
            return;
        }
        // Refused at the first element past the limit, with its place; what
        // was read before is kept.
        QCOMPARE(result.status, ProjectFile::Damaged);
        QCOMPARE(result.line, qint64(5 + limit));
        QCOMPARE(result.column, qint64(openTag(nesting, limit).size()));
        QVERIFY2(result.error.contains(QString::number(limit)), qPrintable(result.error));
        if (groups)
            QCOMPARE(DrawManager::instance()->scenes().size(), 1);
        else
            QCOMPARE(Config::instance()->name, QStringLiteral("deep"));
    }
};

QTEST_MAIN(TestNestingDepth)
#include "tst_nestingdepth.moc"
