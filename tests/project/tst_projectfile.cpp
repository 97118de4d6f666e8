#include "device/verifypassword.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "project/projectfile.h"
#include "shapes/graphicsbezier.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicslineitem.h"
#include "shapes/graphicspolyline.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicstextitem.h"
#include "shapes/graphicswidgetitem.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QString dataFile(const QString &name)
{
    return QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + QLatin1Char('/') + name;
}

DrawManager *manager()
{
    return DrawManager::instance();
}

DrawScene *addScreen(int type)
{
    manager()->createForm(type, nullptr);
    return manager()->currentScene();
}

CodeEditor *addScript()
{
    return qobject_cast<CodeEditor *>(manager()->createForm(4, nullptr));
}

template<typename Shape>
Shape *addBox(DrawScene *scene, Shape *shape, const QRectF &box, const char *name, double z)
{
    scene->addItem(shape);
    scenetest::placeRect(shape, box);
    shape->setObjectName(QLatin1String(name));
    shape->setZValue(z);
    // Fixed colours: other suites probe pictures of the golden project.
    shape->setProperty("penColor", QColor(0x10, 0x20, 0x30));
    shape->setProperty("brushColor", QColor(0xc0, 0xd0, 0xe0));
    return shape;
}

template<typename Shape>
Shape *addPoints(DrawScene *scene, const QVector<QPointF> &points, const char *name, double z)
{
    auto *shape = new Shape;
    shape->setPos(points.first());
    for (const QPointF &p : points)
        shape->appendPoint(p);
    shape->finishPoints(QPointF());
    shape->normalizeGeometry(); // as the drawing tool does
    scene->addItem(shape);
    shape->setObjectName(QLatin1String(name));
    shape->setZValue(z);
    shape->setPenColor(QColor(0x40, 0x50, 0x60));
    shape->setBrushColor(QColor(0x70, 0x80, 0x90));
    return shape;
}

GraphicsItemGroup *groupOf(DrawScene *scene, const QList<QGraphicsItem *> &members,
                           const char *name)
{
    GraphicsItemGroup *group = scene->createGroup(members);
    group->setObjectName(QLatin1String(name));
    return group;
}

void addTag(const QStringList &cells)
{
    QList<QStandardItem *> items;
    for (const QString &cell : cells)
        items << new QStandardItem(cell);
    Config::instance()->addressTagModel()->appendRow(items);
}

// The project of tests/data/golden.mvprg.
void buildGoldenProject()
{
    Config *config = Config::instance();
    config->name = QStringLiteral("golden");
    config->path = QStringLiteral("/projects/golden");
    LanguagePara english;
    english.name = QStringLiteral("English");
    english.mark = QStringLiteral("second");
    english.font = QFont(QStringLiteral("Arial"), 12);
    config->languages.append(english);
    DevicePara plc;
    plc.name = QStringLiteral("PLC1");
    plc.protocol = plc.port = 1;
    plc.baud = 19200;
    config->devices.append(plc);
    addTag({"温度", "本地", "LW 100", "Int16", "1", "炉温"});
    addTag({"start", "PLC1", "D 20", "Bool", "1", ""});

    DrawScene *base = addScreen(BaseScreen);
    addBox(base, new GraphicsRectItem(QRect()), QRectF(20, 30, 100, 60), "rect", 1);
    addBox(base, new GraphicsEllipseItem(QRect()), QRectF(200, 40, 80, 80), "ellipse", 2);
    auto *text = addBox(base, new GraphicsTextItem(QRect()), QRectF(20, 200, 160, 40), "text", 3);
    text->setText(QStringLiteral("温度 <°C> & \"rate\""));
    text->setFont(QFont(QStringLiteral("Arial"), 14));
    auto *a = addBox(base, new GraphicsRectItem(QRect()), QRectF(400, 100, 50, 50), "a", 4);
    auto *b = addBox(base, new GraphicsRectItem(QRect()), QRectF(500, 200, 100, 40), "b", 5);
    groupOf(base, {a, b}, "pair");

    DrawScene *window = addScreen(WindowScreen);
    addPoints<GraphicsPolyline>(window, {{10, 10}, {100, 60}, {200, 20}}, "zigzag", 1);
}

// "title=text" of every script, in order.
QStringList scriptsSummary()
{
    QStringList parts;
    for (CodeEditor *script : manager()->scripts())
        parts << script->windowTitle() + QLatin1Char('=') + script->text();
    return parts;
}

// Type, size and top-level shape count per screen: "1:800x480:4 2:400x240:1".
QString screensSummary()
{
    QStringList parts;
    for (DrawScene *scene : manager()->scenes()) {
        int count = 0;
        for (QGraphicsItem *item : scene->userItems())
            count += item->parentItem() ? 0 : 1;
        parts << QStringLiteral("%1:%2x%3:%4")
                     .arg(scene->type())
                     .arg(scene->width())
                     .arg(scene->height())
                     .arg(count);
    }
    return parts.join(QLatin1Char(' '));
}

// Every named shape on every screen, by name.
QHash<QString, QGraphicsItem *> shapesByName()
{
    QHash<QString, QGraphicsItem *> result;
    for (DrawScene *scene : manager()->scenes()) {
        for (QGraphicsItem *item : scene->userItems()) {
            if (shapeObject(item))
                result.insert(shapeObject(item)->objectName(), item);
        }
    }
    return result;
}

// Loads with a hook that records the screen types asked for and, as a
// reader without scripts would, makes no scripts unless told to.
ProjectFile::LoadResult loadRecording(const QByteArray &bytes, QList<int> *requested,
                                      bool scripts = true)
{
    ProjectFile::LoadHooks hooks;
    hooks.createScreen = [requested, scripts](int type) {
        *requested << type;
        return type == 4 && !scripts ? nullptr : manager()->createForm(type, nullptr);
    };
    return ProjectFile::loadBytes(bytes, hooks);
}

// A catalogue that gives every shape's type name another text, as a
// translator's edit of them would.
class TypeNameCatalogue : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (!QByteArray(context).startsWith("Graphics"))
            return QString();
        return QStringLiteral("形状-") + QString::fromLatin1(sourceText);
    }
};

// The names of the children of the first "Window" in a project text.
QStringList firstScreenChildren(const QByteArray &bytes)
{
    QXmlStreamReader reader(bytes);
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("Window")) {
            QStringList names;
            while (reader.readNextStartElement()) {
                names << reader.qualifiedName().toString();
                reader.skipCurrentElement();
            }
            return names;
        }
        if (reader.name() != QLatin1String("Project") && reader.name() != QLatin1String("Form"))
            reader.skipCurrentElement();
    }
    return {};
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ProcessFixture::start(800, 480);
        GraphicsItem::seedRandom(7);
    }

    void cleanup() { ProcessFixture::finish(); }

    void goldenFiles()
    {
        buildGoldenProject();
        const QByteArray plain = ProjectFile::projectBytes();
        Config::instance()->encryption = 1;
        const QByteArray encoded = ProjectFile::projectBytes();

        // MAROVIN_UPDATE_GOLDEN=1 rewrites the files; check them by hand.
        if (qEnvironmentVariableIsSet("MAROVIN_UPDATE_GOLDEN")) {
            QVERIFY(writeFileBytes(dataFile("golden.mvprg"), plain));
            QVERIFY(writeFileBytes(dataFile("golden-encoded.mvprg"), encoded));
            QSKIP("golden files rewritten");
        }
        QCOMPARE(plain, fileBytes(dataFile("golden.mvprg")));
        QCOMPARE(encoded, fileBytes(dataFile("golden-encoded.mvprg")));

        QTemporaryDir dir;
        QString error;
        QVERIFY2(ProjectFile::write(dir.filePath("p.mvprg"), &error), qPrintable(error));
        QCOMPARE(fileBytes(dir.filePath("p.mvprg")), encoded);
        QVERIFY(error.isEmpty());
    }

    void tidyProjectXml_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tidied");
        QTest::newRow("column 0") << "<Project b=\"1\" a=\"2\">"
                                  << "<Project b=\"1\" a=\"2\">";
        QTest::newRow("prolog") << "<?xml version=\"1.0\"?>\n<!DOCTYPE Marovin>"
                                << "<?xml version=\"1.0\"?>\n<!DOCTYPE Marovin>";
        // Whole texts are compared: upper case first, "name2=" before "name=".
        QTest::newRow("code units") << "  <e name=\"x\" b=\"1\" name2=\"y\" B=\"2\"/>"
                                    << "  <e B=\"2\" b=\"1\" name2=\"y\" name=\"x\"/>";
        QTest::newRow("values with = and blanks") << "  <label0 name=\"a=b\" address=\"LW 100\"/>"
                                                  << "  <label0 address=\"LW 100\" name=\"a=b\"/>";
        // Only the tag's own attributes move, not text that repeats them.
        QTest::newRow("content repeating the attributes")
            << "  <t b=\"2\" a=\"1\">b=\"2\" a=\"1\"</t>"
            << "  <t a=\"1\" b=\"2\">b=\"2\" a=\"1\"</t>";
        QTest::newRow("prefixed and hyphenated names")
            << "  <g x:min=\"0\" data-k=\"1\" a.b=\"2\"/>"
            << "  <g a.b=\"2\" data-k=\"1\" x:min=\"0\"/>";
        QTest::newRow("what is not an attribute stays") << "  <g b=\"1\" ? a=\"2\">"
                                                        << "  <g b=\"1\" ? a=\"2\">";
        QTest::newRow("empty lines kept") << "\n  <a z=\"1\" y=\"2\">\n\n  </a>\n"
                                          << "\n  <a y=\"2\" z=\"1\">\n\n  </a>\n";
    }

    void tidyProjectXml()
    {
        QFETCH(QString, text);
        QTEST(ProjectFile::tidyProjectXml(text), "tidied");
    }

    // The one-pass envelope must give exactly what Base64 with exchanged
    // letters gives, for any text and for any bytes read back.
    void envelopeMatchesBase64()
    {
        QRandomGenerator random(7);
        const char junk[] = {'\n', '\r', '=', '-', '_', ' ', '\xe9', '\xff', '\0'};
        Config::instance()->encryption = 1;
        for (int length = 0; length < 200; ++length) {
            QString text;
            for (int i = 0; i < length; ++i)
                text.append(QChar(ushort(random.bounded(i % 5 ? 0x80 : 0x9fff) + 1)));
            const QByteArray encoded = ProjectFile::encodeProjectText(text);
            QCOMPARE(encoded, ProjectFile::swapLetterCase(text.toUtf8().toBase64()));
            QCOMPARE(ProjectFile::decodeProjectText(encoded), text.toUtf8());

            QByteArray noisy = encoded;
            for (int i = 0; i < length / 20; ++i)
                noisy.insert(random.bounded(noisy.size() + 1),
                             junk[random.bounded(int(sizeof junk))]);
            if (!noisy.startsWith("<?xml"))
                QCOMPARE(ProjectFile::decodeProjectText(noisy),
                         QByteArray::fromBase64(ProjectFile::swapLetterCase(noisy)));
        }
        const QByteArray plain("<?xml a=\"B\"?>");
        QCOMPARE(ProjectFile::decodeProjectText(plain), plain);
        QCOMPARE(ProjectFile::swapLetterCase(plain), QByteArray("<?XML A=\"b\"?>"));
        QCOMPARE(ProjectFile::swapLetterCase(QByteArray("aB\0cD", 5)), QByteArray("Ab"));
        QCOMPARE(ProjectFile::decodeProjectText(QByteArray("aB\0cD", 5)), QByteArray("\x01"));
        QCOMPARE(ProjectFile::swapLetterCase("\xc0\xe9"), QByteArray("\xc3\xa0\xc3\x89"));
    }

    // Turned nested groups, shapes held at the screen edges and gradient
    // fills: what is opened looks the same and saves to the same bytes.
    // Every field and shape kind is covered by tst_roundtrip's projects.
    void secondSaveIsByteIdentical()
    {
        buildGoldenProject();
        DrawScene *base = manager()->scenes().first();
        auto *polygon
            = addPoints<GraphicsPolygonItem>(base, {{300, 200}, {360, 260}, {240, 260}}, "tri", 9);
        auto *line = addPoints<GraphicsLineItem>(base, {{600, 300}, {700, 400}}, "diag", 10);
        auto *curve = addPoints<GraphicsBezier>(
            base, {{50, 300}, {90, 250}, {130, 350}, {170, 300}}, "wave", 11);
        GraphicsItemGroup *inner = groupOf(base, {line, curve}, "inner");
        GraphicsItemGroup *outer = groupOf(base, {polygon, inner}, "outer");
        outer->setZValue(12);
        inner->setProperty("rotation", 45.0);
        outer->setProperty("rotation", 30.0);
        dynamic_cast<GraphicsItemGroup *>(shapesByName().value("pair"))
            ->setProperty("rotation", -20.0);
        auto *edge
            = addBox(base, new GraphicsRectItem(QRect()), QRectF(300, 30, 33.3, 20.7), "edge", 13);
        edge->setPos(-40, -40); // dragged past the top-left corner
        edge->moveBy(-1, -1);
        QCOMPARE(edge->boxPos(), QPointF(0, 0));
        addBox(base, new GraphicsEllipseItem(QRect()), QRectF(700, 300, 66.6, 41), "right", 14)
            ->moveBy(500, 500);
        auto *fill = addPoints<GraphicsPolygonItem>(
            base, {{420, 300}, {520, 330}, {480, 420}, {400, 380}}, "fill", 15);
        fill->setBrushStyle(GraphicsItem::RadialGradient1Pattern);
        auto *stripes = addPoints<GraphicsPolygonItem>(base, {{100, 200}, {180, 150}, {230, 230}},
                                                       "stripes", 16);
        stripes->setBrushStyle(GraphicsItem::LinearGradient11Pattern);
        stripes->setRotation(15);
        const QHash<QString, QGraphicsItem *> before = shapesByName();
        QHash<QString, QPolygonF> outlines;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (singleShape(it.value()))
                outlines.insert(it.key(), it.value()->mapToScene(it.value()->boundingRect()));
        const QBrush fillBrush = fill->brush(), stripesBrush = stripes->brush();
        const QByteArray saved = ProjectFile::projectBytes();

        init();
        QCOMPARE(ProjectFile::loadBytes(saved).status, ProjectFile::Loaded);
        const QHash<QString, QGraphicsItem *> after = shapesByName();
        QCOMPARE(after.size(), before.size());
        for (auto it = outlines.cbegin(); it != outlines.cend(); ++it) {
            QGraphicsItem *item = after.value(it.key());
            QVERIFY2(item, qPrintable(it.key()));
            const QPolygonF outline = item->mapToScene(item->boundingRect());
            QCOMPARE(outline.size(), it.value().size());
            for (int i = 0; i < outline.size(); ++i)
                QVERIFY2(QLineF(outline.at(i), it.value().at(i)).length() < 0.01,
                         qPrintable(it.key()));
        }
        QCOMPARE(dynamic_cast<GraphicsPolygonItem *>(after.value("fill"))->brush(), fillBrush);
        QCOMPARE(dynamic_cast<GraphicsPolygonItem *>(after.value("stripes"))->brush(),
                 stripesBrush);
        QCOMPARE(ProjectFile::projectBytes(), saved);
    }

    // Element names are file vocabulary: a catalogue that translates the
    // type names changes what people see, not a byte of the file.
    void elementNamesAreNotTranslated()
    {
        buildGoldenProject();
        const QByteArray untranslated = ProjectFile::projectBytes();
        TypeNameCatalogue catalogue;
        QCoreApplication::installTranslator(&catalogue);
        const QString shown = GraphicsRectItem(QRect()).typeName();
        const QByteArray translated = ProjectFile::projectBytes();
        QCoreApplication::removeTranslator(&catalogue);
        QCOMPARE(shown, QStringLiteral("形状-rectangle"));
        QCOMPARE(translated, untranslated);
    }

    // What a newer version wrote and this one cannot read is kept in its
    // place, named in the result, and survives save, open, save unchanged.
    void unknownElementsAreKept_data()
    {
        QTest::addColumn<QByteArray>("window"); // the first screen's children
        QTest::addColumn<QStringList>("order"); // its children after a save
        QTest::addColumn<QStringList>("unknown");
        QTest::addColumn<QStringList>("savedTexts"); // each must be in the saved file

        const QByteArray rect = "<rectangle objectName=\"r\" width=\"20\" height=\"10\"/>";
        QTest::newRow("circle between rectangles")
            << rect + "<circle cy=\"20\" cx=\"10\" r=\"5\"/>" + rect
            << QStringList {"rectangle", "circle", "rectangle"} << QStringList {"circle"}
            << QStringList {"<circle cx=\"10\" cy=\"20\" r=\"5\"/>"};
        QTest::newRow("children, text and comments first")
            << "<chart kind=\"bar\">\n  <series name=\"a\">1 &lt; 2</series>"
               "<!-- note --><axis/></chart>"
                + rect
            << QStringList {"chart", "rectangle"} << QStringList {"chart"}
            << QStringList {"<chart kind=\"bar\">", "<series name=\"a\">1 &lt; 2</series>",
                            "<!-- note -->", "<axis/>", "</chart>"};
        QTest::newRow("names with prefixes and hyphens, last")
            << rect + "<x:gauge xmlns:x=\"urn:next\" x:min=\"0\" data-k=\"1\"/><dial/>"
            << QStringList {"rectangle", "x:gauge", "dial"} << QStringList {"x:gauge", "dial"}
            << QStringList {"<x:gauge xmlns:x=\"urn:next\" x:min=\"0\" data-k=\"1\"/>"};
        // A group cannot hold it: it stays on the screen, before the group.
        QTest::newRow("inside a group")
            << "<group objectName=\"g\">" + rect + "<circle/>" + rect + "</group>"
            << QStringList {"circle", "group"} << QStringList {"circle"}
            << QStringList {"<circle/>"};
    }

    void unknownElementsAreKept()
    {
        QFETCH(QByteArray, window);
        QFETCH(QStringList, unknown);
        QFETCH(QStringList, savedTexts);
        const QByteArray file = "<?xml version=\"1.0\"?><Project><Config/><Form><Window type=\"1\">"
            + window + "</Window><Window type=\"2\"><circle/><ellipse/></Window></Form></Project>";

        // Both screens are read in full, and the names come once each.
        QStringList named = unknown;
        if (!named.contains("circle"))
            named << "circle";
        ProjectFile::LoadResult result = ProjectFile::loadBytes(file);
        QCOMPARE(result.status, ProjectFile::Loaded);
        QCOMPARE(result.unknownElements, named);
        QCOMPARE(screensSummary().section(' ', 1), QStringLiteral("2:400x240:1"));
        const QByteArray saved = ProjectFile::projectBytes();
        QTEST(firstScreenChildren(saved), "order");
        for (const QString &text : savedTexts)
            QVERIFY2(saved.contains(text.toUtf8()), qPrintable(text));

        init();
        result = ProjectFile::loadBytes(saved);
        QCOMPARE(result.unknownElements, named);
        QCOMPARE(ProjectFile::projectBytes(), saved);
    }

    // Deleting the shapes around a kept element, or copying its screen,
    // keeps the element.
    void keptElementOutlivesItsNeighbours()
    {
        const QByteArray file = "<?xml version=\"1.0\"?><Project><Form><Window type=\"1\">"
                                "<rectangle/><circle r=\"1\"/><ellipse/></Window></Form></Project>";
        QCOMPARE(ProjectFile::loadBytes(file).status, ProjectFile::Loaded);
        DrawScene *scene = manager()->scenes().first();
        qDeleteAll(scene->userItems());
        QCOMPARE(firstScreenChildren(ProjectFile::projectBytes()), QStringList {"circle"});
        manager()->createForm(1, scene->view());
        QCOMPARE(manager()->unknownElementNames(), QStringList {"circle"});
        QCOMPARE(ProjectFile::projectBytes().count("<circle r=\"1\"/>"), 2);
    }

    // Scripts are stored beside the screens and come back with their names
    // and texts, unmodified; saving again gives the same bytes. What a
    // script cannot hold in XML is dropped rather than making the file
    // unreadable; line ends are stored as "\n".
    void scriptsSurviveSaveAndOpen()
    {
        addBox(addScreen(BaseScreen), new GraphicsEllipseItem(QRect()), QRectF(10, 10, 50, 30), "e",
               1);
        CodeEditor *first = addScript();
        CodeEditor *second = addScript();
        QVERIFY(first && second);
        first->setText(
            QStringLiteral("// 温度报警\nif (a < b && c > 0) {\n\n\n    x = \"<&>\";\n}\n"));
        second->setText(QStringLiteral("\n  前导空行 & 结尾空格  \n\n"));
        second->setWindowTitle(QStringLiteral("报警 <&> \"脚本\""));
        addScript()->setText(QString("a\r\nb\rc%1d%2\t\U0001F600").arg(QChar(0x01), QChar(0x1f)));
        addScreen(WindowScreen);
        QStringList scripts = scriptsSummary();
        scripts.last() = QStringLiteral("脚本_3=a\nb\ncd\t\U0001F600");
        const QByteArray saved = ProjectFile::projectBytes();

        init();
        QList<int> requested;
        QCOMPARE(loadRecording(saved, &requested).status, ProjectFile::Loaded);
        QCOMPARE(requested, QList<int>({1, 2, 4, 4, 4}));
        QCOMPARE(screensSummary(), QStringLiteral("1:800x480:1 2:400x240:0"));
        QCOMPARE(scriptsSummary(), scripts);
        for (CodeEditor *script : manager()->scripts())
            QVERIFY(!script->isModified() && !script->isUndoAvailable());
        QCOMPARE(ProjectFile::projectBytes(), saved);
        // A script made now takes a number no stored script uses.
        QCOMPARE(addScript()->windowTitle(), QStringLiteral("脚本_4"));

        // A reader that makes nothing of type 4 skips the scripts' elements
        // and still reads every screen after them, even with a script first.
        const int form = saved.indexOf("<Form>") + 6;
        const int start = saved.indexOf("<Window objectName=\"脚本_1\"");
        const int end = saved.indexOf("</Window>", start) + 9;
        QVERIFY(form > 6 && start > form && end > start);
        QByteArray moved = saved;
        moved.remove(start, end - start).insert(form, saved.mid(start, end - start));
        init();
        requested.clear();
        QCOMPARE(loadRecording(moved, &requested, false).status, ProjectFile::Loaded);
        QCOMPARE(requested, QList<int>({4, 1, 2, 4, 4}));
        QCOMPARE(screensSummary(), QStringLiteral("1:800x480:1 2:400x240:0"));
        QVERIFY(manager()->scripts().isEmpty());
    }

    void loadOutcomes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("screens");
        QTest::addColumn<int>("line"); // of a reading error, else 0
        QTest::addColumn<int>("column");

        QByteArray windows = fileBytes(dataFile("golden.mvprg"));
        windows.replace("\n", "\r\n");
        QTest::newRow("windows line ends")
            << windows << int(ProjectFile::Loaded) << "1:800x480:4 2:400x240:1" << 0 << 0;
        QTest::newRow("no window") << QByteArray("<?xml version=\"1.0\"?>\n<Project>\n"
                                                 "<Config name=\"n\"/><Form/></Project>\n")
                                   << int(ProjectFile::Loaded) << "" << 0 << 0;
        // An unknown element is stepped over; the file's panel size wins and
        // missing screen sizes take it.
        QTest::newRow("unknown shape")
            << QByteArray("<?xml version=\"1.0\"?><Project><Config screen=\"640,400\"/><Form>"
                          "<Window type=\"1\"><ellipse/><circle/><rectangle/></Window>"
                          "<Window type=\"2\" width=\"90\"><rectangle/></Window></Form></Project>")
            << int(ProjectFile::Loaded) << "1:640x400:2 2:90x200:1" << 0 << 0;
        QTest::newRow("cut short") << QByteArray(
            "<?xml version=\"1.0\"?>\n<Project>\n    <Form>\n        <Window type=\"3\">\n"
            "            <ellipse/>\n            <rectangle wid")
                                   << int(ProjectFile::Damaged) << "3:800x480:1" << 6 << 26;
        QTest::newRow("empty") << QByteArray() << int(ProjectFile::NotAProject) << "" << 1 << 0;
        QTest::newRow("other root")
            << QByteArray("<?xml version=\"1.0\"?>\n<Settings>\n<Config name=\"x\"/><Form>"
                          "<Window type=\"1\"/></Form></Settings>\n")
            << int(ProjectFile::NotAProject) << "" << 2 << 10;
    }

    void loadOutcomes()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QTemporaryDir dir;
        QVERIFY(writeFileBytes(dir.filePath("in.mvprg"), file));
        const ProjectFile::LoadResult result = ProjectFile::load(dir.filePath("in.mvprg"));
        QCOMPARE(int(result.status), status);
        QTEST(screensSummary(), "screens");
        const QList<DrawScene *> scenes = manager()->scenes();
        QCOMPARE(result.firstScreen, scenes.isEmpty() ? nullptr : scenes.first()->view());
        if (status != ProjectFile::Loaded) {
            QTEST(int(result.line), "line");
            QTEST(int(result.column), "column");
            QVERIFY(!result.error.isEmpty());
        }
        if (status == ProjectFile::NotAProject)
            QCOMPARE(Config::instance()->name, QStringLiteral("untiled"));
        if (QTest::currentDataTag() == QByteArray("windows line ends"))
            QCOMPARE(ProjectFile::projectBytes(), fileBytes(dataFile("golden.mvprg")));
    }

    void password_data()
    {
        QTest::addColumn<QStringList>("answers"); // then cancel
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("opens");
        QTest::newRow("no password") << QStringList() << 0 << true;
        QTest::newRow("cancel") << QStringList() << 1 << false;
        QTest::newRow("third time") << QStringList {"x", "S3CRET", "s3cret"} << 3 << true;
        QTest::newRow("three wrong") << QStringList {"a", "b", "c", "s3cret"} << 3 << false;
    }

    void password()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, prompts);
        QFETCH(bool, opens);
        buildGoldenProject();
        Config::instance()->projectPw = prompts ? QStringLiteral("s3cret") : QString();
        const QByteArray saved = ProjectFile::projectBytes();
        init();

        ModalScript script;
        for (const QString &answer : answers)
            script.chooseText(answer);
        QCOMPARE(ProjectFile::loadBytes(saved).status,
                 opens ? ProjectFile::Loaded : ProjectFile::PasswordRefused);
        QCOMPARE(manager()->scenes().size(), opens ? 2 : 0);
        QStringList expected;
        for (int i = 0; i < prompts; ++i) {
            QCOMPARE(script.requests().at(i).kind, ModalRequest::PasswordInput);
            QCOMPARE(script.requests().at(i).title, QStringLiteral("项目密码验证"));
            expected << QStringLiteral("请输入密码(最大错误3次):\n\t剩余%1次").arg(3 - i);
        }
        if (!opens) {
            expected << QStringLiteral("密码验证失败！");
            QCOMPARE(script.requests().last().icon, int(QMessageBox::Critical));
        }
        QCOMPARE(script.texts(), expected);
    }

    // A failed save leaves the folder and any previous file as they were,
    // and names the system's reason.
    void writeFailure_data()
    {
        QTest::addColumn<QString>("target"); // inside a fresh folder
        QTest::addColumn<QByteArray>("existing"); // a file already at target
        QTest::newRow("parent is a file") << "plain/p.mvprg" << QByteArray();
        QTest::newRow("disk refuses") << "p.mvprg" << QByteArray("old project\n");
    }

    void writeFailure()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, existing);
        QTemporaryDir dir;
        QVERIFY(writeFileBytes(dir.filePath("plain"), "not a folder"));
        const QString path = dir.filePath(target);
        if (!existing.isEmpty())
            QVERIFY(writeFileBytes(path, existing));
        const auto entries = [&dir] {
            return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        };
        const QStringList before = entries();
        buildGoldenProject();

        // A file size limit (unlike permissions) also stops root, mid-write.
        QString error;
        rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = existing.isEmpty() ? old.rlim_cur : 64;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = ProjectFile::write(path, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);
        const QString prefix = QStringLiteral("写入文件失败 %1。\n").arg(path);
        QVERIFY2(error.startsWith(prefix) && error.endsWith('.'), qPrintable(error));
        const QString reason = error.mid(prefix.size()).chopped(1);
        QVERIFY2(!reason.isEmpty() && reason != QStringLiteral("Unknown error"),
                 qPrintable(reason));
        QCOMPARE(entries(), before);
        if (!existing.isEmpty())
            QCOMPARE(fileBytes(path), existing);
    }
};

QTEST_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
