#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "document/projectscript.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "model/taglib/textlib.h"
#include "services/verifypassword.h"
#include "shapes/graphicsrectitem.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/processfixture.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// What the toolkit says while a project loads: each of its warnings would
// reach the command-line tool's stderr.
QStringList s_toolkitWarnings;
void catchWarning(QtMsgType, const QMessageLogContext &, const QString &message)
{
    s_toolkitWarnings.append(message);
}

DrawManager *manager()
{
    return DrawManager::instance();
}

void addScreen(int type)
{
    manager()->createForm(type, nullptr);
}

ProjectScript *addScript()
{
    return qobject_cast<ProjectScript *>(manager()->createForm(4, nullptr));
}

// "name=text" of every script, in order.
QStringList scriptsSummary()
{
    QStringList parts;
    for (ProjectScript *script : manager()->scripts())
        parts << script->name() + QLatin1Char('=') + script->text();
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

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    // The envelope's decoder reads whole groups of four digits at once; it
    // must give what the plain base64 decoder gives, whatever breaks the
    // groups: line breaks anywhere, padding, blanks and bytes above 127.
    void envelopeDecodesAsBase64()
    {
        QRandomGenerator random(20261208);
        for (int round = 0; round < 400; ++round) {
            QByteArray data(int(random.bounded(300)), Qt::Uninitialized);
            for (char &c : data)
                c = char(random.bounded(256));
            const QByteArray clean = ProjectFile::swapLetterCase(data.toBase64());
            static const char junk[] = {'\n', '\r', ' ', '=', '\t', char(0xe9), char(0x80)};
            QByteArray text;
            for (const char c : clean) {
                if (random.bounded(round % 4 == 0 ? 3 : 40) == 0)
                    text += junk[random.bounded(int(sizeof junk))];
                text += c;
            }
            QCOMPARE(ProjectFile::decodeProjectText(text),
                     QByteArray::fromBase64(ProjectFile::swapLetterCase(text)));
            QCOMPARE(ProjectFile::decodeProjectText(clean), data);
        }
        // A read decodes over the file's bytes only when it holds them alone.
        const QByteArray file = ProjectFile::encodeProjectText("<Project><Form/></Project>", true);
        const QByteArray kept = file;
        QCOMPARE(ProjectFile::readBytes(file).status, ProjectFile::Loaded);
        QCOMPARE(file, ProjectFile::encodeProjectText("<Project><Form/></Project>", true));
        QCOMPARE(kept, file);
    }

    void init() { ProcessFixture::start(800, 480); }

    void cleanup() { ProcessFixture::finish(); }

    // The golden files were checked by hand against the format: each one
    // read, with any line ends, writes itself again byte for byte. Element
    // names are file vocabulary: a catalogue that translates the type names
    // changes what people see, not a byte of the file.
    void goldenFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("windowsLineEnds");
        QTest::addColumn<bool>("translated");
        QTest::newRow("plain") << "golden.mvprg" << false << false;
        QTest::newRow("windows line ends") << "golden.mvprg" << true << false;
        QTest::newRow("encoded") << "golden-encoded.mvprg" << false << false;
        QTest::newRow("type names translated") << "golden.mvprg" << false << true;
    }

    void goldenFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, windowsLineEnds);
        QFETCH(bool, translated);
        const QByteArray golden = fileBytes(QStringLiteral(MAROVIN_TEST_DATA_DIR "/") + name);
        QByteArray file = golden;
        if (windowsLineEnds)
            file.replace("\n", "\r\n");
        QCOMPARE(ProjectFile::loadBytes(file).status, ProjectFile::Loaded);

        TypeNameCatalogue catalogue; // removes itself when it goes
        if (translated) {
            QCoreApplication::installTranslator(&catalogue);
            QCOMPARE(GraphicsRectItem(QRect()).typeName(), QStringLiteral("形状-rectangle"));
        }
        QTemporaryDir dir;
        QString error;
        QVERIFY2(ProjectFile::write(dir.filePath("p.mvprg"), &error), qPrintable(error));
        QCOMPARE(fileBytes(dir.filePath("p.mvprg")), golden);
    }

    void tidyProjectXml_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tidied");
        // Whole texts are compared: upper case first, "name2=" before "name=".
        QTest::newRow("code units") << "  <e name=\"x\" b=\"1\" name2=\"y\" B=\"2\"/>"
                                    << "  <e B=\"2\" b=\"1\" name2=\"y\" name=\"x\"/>";
        // Only the tag's own attributes move, not text that repeats them.
        QTest::newRow("content repeating the attributes")
            << "  <t b=\"2\" a=\"1\">b=\"2\" a=\"1\"</t>"
            << "  <t a=\"1\" b=\"2\">b=\"2\" a=\"1\"</t>";
        QTest::newRow("prefixed and hyphenated names")
            << "  <g x:min=\"0\" data-k=\"1\" a.b=\"2\"/>"
            << "  <g a.b=\"2\" data-k=\"1\" x:min=\"0\"/>";
        QTest::newRow("what is not an attribute stays") << "  <g b=\"1\" ? a=\"2\">"
                                                        << "  <g b=\"1\" ? a=\"2\">";
        QTest::newRow("unparsable after two attributes") << "  <g b=\"1\" a=\"2\" ?>"
                                                         << "  <g b=\"1\" a=\"2\" ?>";
        // The result is UTF-8 made in pieces: text beyond ASCII before, among
        // and after the sorted attributes, and outside the BMP.
        QTest::newRow("beyond ASCII") << QString::fromUtf8("  <e 名=\"中\" b=\"\xF0\x9F\x98\x80x\">文本</e>\n<t>é</t>")
                                      << QString::fromUtf8("  <e b=\"\xF0\x9F\x98\x80x\" 名=\"中\">文本</e>\n<t>é</t>");
    }

    void tidyProjectXml()
    {
        QFETCH(QString, text);
        QFETCH(QString, tidied);
        QCOMPARE(ProjectFile::tidyProjectXml(text), tidied.toUtf8());
    }

    // What a newer version wrote and this one cannot read is kept in its
    // place, named in the result, and survives save, open, save unchanged.
    void unknownElementsAreKept_data()
    {
        QTest::addColumn<QByteArray>("window"); // the first screen's children
        QTest::addColumn<QStringList>("unknown");
        QTest::addColumn<QStringList>("savedTexts"); // in this order in the saved file

        const QByteArray rect = "<rectangle objectName=\"r\" width=\"20\" height=\"10\"/>";
        QTest::newRow("children, text and comments first")
            << "<chart kind=\"bar\">\n  <series name=\"a\">1 &lt; 2</series>"
               "<!-- note --><axis/></chart>"
                + rect
            << QStringList {"chart", "circle"}
            << QStringList {"<chart kind=\"bar\">",
                            "<series name=\"a\">1 &lt; 2</series>",
                            "<!-- note -->",
                            "<axis/>",
                            "</chart>",
                            "<rectangle"};
        // It stays with the group, between the members it stood between.
        QTest::newRow("inside a group")
            << "<group objectName=\"g\">" + rect + "<circle/>" + rect + "</group>"
            << QStringList {"circle"}
            << QStringList {"<group", "<rectangle", "<circle/>", "<rectangle", "</group>"};

        // Bindings are a shape's first children, written before what it
        // kept; what they keep stays inside them.
        const QByteArray sized = "objectName=\"s\" width=\"20\" height=\"10\"";
        QTest::newRow("bindings of a rectangle")
            << "<rectangle " + sized + "><glow/><binding kind=\"value\" tag=\"tr\" unit=\"°C\">"
               "<later/></binding></rectangle>"
            << QStringList {"glow", "later", "circle"}
            << QStringList {"<rectangle", "tag=\"tr\"", "<later/>", "</binding>", "<glow/>",
                            "</rectangle>"};
        QTest::newRow("bindings of a polygon, before its points")
            << QByteArray("<polygon objectName=\"p\" x=\"50\" y=\"50\"><point x=\"0\" y=\"0\"/>"
                          "<binding kind=\"colours\" tag=\"tp\"><range from=\"0\" to=\"1\" "
                          "fill=\"#ff0000\"/></binding><point x=\"10\" y=\"0\"/>"
                          "<point x=\"0\" y=\"10\"/></polygon>")
            << QStringList {"circle"}
            << QStringList {"<polygon", "tag=\"tp\"", "<range", "</binding>", "<point",
                            "<point", "<point", "</polygon>"};
        QTest::newRow("bindings of an image, a text and a widget")
            << "<imageitem " + sized + "><binding kind=\"picture\" tag=\"ti\">"
               "<picture file=\"images/a.png\"/></binding></imageitem><textitem " + sized
                + "><binding kind=\"textstate\" tag=\"tt\" texttag=\"s\"/></textitem>"
                  "<widget type=\"1\" " + sized + "><binding kind=\"action\" action=\"toggle\" "
                  "tag=\"tw\"/></widget>"
            << QStringList {"circle"}
            << QStringList {"<imageitem", "<picture file=\"images/a.png\"/>", "</imageitem>"};
        QTest::newRow("bindings of a group and a member")
            << "<group objectName=\"g\"><binding kind=\"visible\" tag=\"tg\" condition=\"range\"/>"
               "<rectangle " + sized + "><binding kind=\"value\" tag=\"tm\"/></rectangle>"
                + rect + "</group>"
            << QStringList {"circle"}
            << QStringList {"<group", "tag=\"tg\"", "<rectangle", "tag=\"tm\"", "</rectangle>",
                            "<rectangle", "</group>"};
        QTest::newRow("binding of a kind this version does not know")
            << "<rectangle " + sized + "><binding kind=\"chart\" tag=\"t\"><bar/></binding>"
               "</rectangle>"
            << QStringList {"binding", "circle"}
            << QStringList {"<rectangle", "kind=\"chart\"", "<bar/>", "</rectangle>"};
        QByteArray many = "<rectangle " + sized + ">";
        for (int i = 0; i < 300; ++i)
            many += "<binding kind=\"value\" tag=\"b" + QByteArray::number(i) + "\"/>";
        QTest::newRow("more bindings than a shape takes")
            << many + "</rectangle>" << QStringList {"binding", "circle"}
            << QStringList {"tag=\"b0\"", "tag=\"b255\"", "tag=\"b256\"", "tag=\"b299\"",
                            "</rectangle>"};
    }

    void unknownElementsAreKept()
    {
        QFETCH(QByteArray, window);
        QFETCH(QStringList, unknown);
        QFETCH(QStringList, savedTexts);
        const QByteArray file = "<?xml version=\"1.0\"?><Project><Config screen=\"800,480\"/>"
                                "<Form><Window type=\"1\">"
            + window + "</Window><Window type=\"2\"><circle/><ellipse/></Window></Form></Project>";

        // Both screens are read in full, and the names come once each.
        ProjectFile::LoadResult result = ProjectFile::loadBytes(file);
        QCOMPARE(result.status, ProjectFile::Loaded);
        QCOMPARE(result.unknownElements, unknown);
        QCOMPARE(screensSummary().section(' ', 1), QStringLiteral("2:400x240:1"));
        const QByteArray saved = ProjectFile::projectBytes();
        int at = 0;
        for (const QString &text : savedTexts) {
            at = saved.indexOf(text.toUtf8(), at);
            QVERIFY2(at >= 0, qPrintable(text));
        }

        init();
        result = ProjectFile::loadBytes(saved);
        QCOMPARE(result.unknownElements, unknown);
        QCOMPARE(ProjectFile::projectBytes(), saved);
    }

    // A number its field cannot hold keeps the nearest value the field can
    // (what a device dialog accepts, what a pen draws), NaN and text that
    // is no number the field's default; each is named once in the result,
    // with no toolkit warning, and saved as kept. Numbers that fit, in any
    // form the number parser reads, are unnamed.
    void numbersOutOfRange_data()
    {
        QTest::addColumn<QByteArray>("config"); // attributes of Config
        QTest::addColumn<QByteArray>("device"); // attributes of dev0
        QTest::addColumn<QByteArray>("shapes"); // children of the screen
        QTest::addColumn<QByteArray>("saved"); // in the saved file
        QTest::addColumn<QStringList>("named");

        const QByteArray none;
        QTest::newRow("station beyond 32 bits")
            << none << QByteArray("deviceId=\"99999999999\"") << none
            << QByteArray("deviceId=\"255\"")
            << QStringList {"dev@deviceId 99999999999 \u2192 255"};
        QTest::newRow("baud of 14 digits, retries beyond 64 bits below")
            << none << QByteArray("baud=\"12345678901234\" retryNum=\"-99999999999999999999\"")
            << none << QByteArray("baud=\"2147483647\"")
            << QStringList {"dev@retryNum -99999999999999999999 \u2192 0",
                            "dev@baud 12345678901234 \u2192 2147483647"};
        QTest::newRow("station 300, no number, missing fields")
            << none << QByteArray("baud=\"fast\" deviceId=\"300\"") << none
            << QByteArray("baud=\"9600\" comDelay=\"0\" dataBits=\"8\" deviceId=\"255\"")
            << QStringList {"dev@deviceId 300 \u2192 255", "dev@baud fast \u2192 9600"};
        QTest::newRow("device fields beyond the dialog's ranges")
            << none
            << QByteArray("deviceId=\"-1\" dataBits=\"99\" parity=\"7\" retryNum=\"-1\" "
                          "comDelay=\"-5\" stopBits=\"2e0\"")
            << none << QByteArray("dataBits=\"8\" deviceId=\"1\"")
            << QStringList {"dev@deviceId -1 \u2192 1", "dev@dataBits 99 \u2192 8",
                            "dev@parity 7 \u2192 2", "dev@retryNum -1 \u2192 0",
                            "dev@comDelay -5 \u2192 0"};
        QTest::newRow("device numbers with exponents, NaN")
            << none << QByteArray("baud=\"1e12\" overtime=\"NaN\" resDelay=\"1e400\"") << none
            << QByteArray("overtime=\"1000\" parity=\"0\" port=\"0\" protocol=\"0\" "
                          "resDelay=\"10000\"")
            << QStringList {"dev@baud 1e12 \u2192 2147483647", "dev@overtime NaN \u2192 1000",
                            "dev@resDelay 1e400 \u2192 10000"};
        QTest::newRow("byte fields, both ends")
            << QByteArray("hard=\"300\" orientation=\"-1\"") << none << none
            << QByteArray("hard=\"255\"")
            << QStringList {"Config@hard 300 \u2192 255", "Config@orientation -1 \u2192 0"};
        QTest::newRow("screen size, overflowing double")
            << QByteArray("screen=\"1e400,480\"") << none << none
            << QByteArray("screen=\"10000000,480\"")
            << QStringList {"Config@screen 1e400 \u2192 10000000"};
        QTest::newRow("screen size")
            << QByteArray("screen=\"99999999999,480\"") << none << none
            << QByteArray("screen=\"10000000,480\"")
            << QStringList {"Config@screen 99999999999 \u2192 10000000"};
        QTest::newRow("shape width")
            << none << none
            << QByteArray("<rectangle objectName=\"r\" width=\"99999999999\" height=\"10\"/>")
            << QByteArray("width=\"10000000.00\"")
            << QStringList {"rectangle@width 99999999999 \u2192 10000000.00"};
        QTest::newRow("pen size and position, below")
            << none << none
            << QByteArray("<rectangle objectName=\"r\" width=\"5\" height=\"5\" "
                          "penSize=\"-99999999999\" pos=\"(-2e9,5)\"/>")
            << QByteArray("penSize=\"0\"")
            << QStringList {"rectangle@penSize -99999999999 \u2192 0",
                            "rectangle@pos (-2e9,5) \u2192 (-10000000,5)"};
        QTest::newRow("point of a line")
            << none << none
            << QByteArray("<line objectName=\"l\" x=\"0\" y=\"0\"><point x=\"0\" y=\"0\"/>"
                          "<point x=\"5e10\" y=\"1\"/></line>")
            << QByteArray("<point x=\"5000000\" y=\"0.5\"/>")
            << QStringList {"point@x 5e10 \u2192 10000000"};
        QTest::newRow("infinity, overflow, NaN")
            << none << none
            << QByteArray("<rectangle objectName=\"r\" width=\"inf\" height=\"NaN\"/>"
                          "<rectangle objectName=\"q\" width=\"1e400\" height=\"1e1\" "
                          "pos=\"(1e400,5)\"/>")
            << QByteArray("height=\"10.00\"")
            << QStringList {"rectangle@width inf \u2192 10000000.00",
                            "rectangle@height NaN \u2192 0.00",
                            "rectangle@width 1e400 \u2192 10000000.00",
                            "rectangle@pos (1e400,5) \u2192 (10000000,5)"};
        QTest::newRow("widget of a kind never made, no number")
            << none << none
            << QByteArray("<widget objectName=\"w\" type=\"999\" width=\"5\" height=\"5\"/>"
                          "<widget objectName=\"v\" type=\"NaN\" width=\"5\" height=\"5\"/>")
            << QByteArray("type=\"12\"")
            << QStringList {"widget@type 999 \u2192 12", "widget@type NaN \u2192 12"};
        // Styles outside their lists keep the shape's own: a rectangle has
        // no outline until it is given one.
        QTest::newRow("pen and opacity beyond what is drawn, styles out of the list")
            << none << none
            << QByteArray("<rectangle objectName=\"r\" width=\"5\" height=\"5\" "
                          "penSize=\"100000\" opacity=\"5\" penStyle=\"42\" "
                          "brushStyle=\"99\"/>")
            << QByteArray("penSize=\"32767\"")
            << QStringList {"rectangle@opacity 5 \u2192 1.00", "rectangle@penSize 100000 \u2192 32767",
                            "rectangle@penStyle 42 \u2192 0", "rectangle@brushStyle 99 \u2192 1"};
    }

    void numbersOutOfRange()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, shapes);
        QFETCH(QByteArray, saved);
        QFETCH(QStringList, named);
        const QByteArray file = "<?xml version=\"1.0\"?><Project><Config " + config
            + "><Device><dev0 name=\"P\" " + device
            + "/></Device></Config><Form><Window type=\"1\" objectName=\"s\">" + shapes
            + "</Window></Form></Project>";
        s_toolkitWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(catchWarning);
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(file);
        qInstallMessageHandler(previous);
        QCOMPARE(s_toolkitWarnings, QStringList());
        QCOMPARE(result.status, ProjectFile::Loaded);
        QCOMPARE(result.clampedNumbers, named);
        const QByteArray bytes = ProjectFile::projectBytes();
        QVERIFY2(bytes.contains(saved), bytes.constData());

        // What was kept is what the next load reads, with nothing to name.
        init();
        QVERIFY(ProjectFile::loadBytes(bytes).clampedNumbers.isEmpty());
        QCOMPARE(ProjectFile::projectBytes(), bytes);
    }

    // The load's list of numbers names each one's place as the check does,
    // and the warning built from it stops at ten, then says how many more
    // the check lists.
    void clampedListNamesPlacesAndStops_data()
    {
        QTest::addColumn<int>("shapes");
        QTest::addColumn<QString>("tail"); // the last line shown
        QTest::newRow("ten in all, all shown")
            << 9 << "画面 s，图形 r8：rectangle@width 1e12 \u2192 10000000.00";
        QTest::newRow("eleven") << 10 << "……另有 1 处；完整列表请运行检查。";
        QTest::newRow("three hundred and one") << 300 << "……另有 291 处；完整列表请运行检查。";
    }
    void clampedListNamesPlacesAndStops()
    {
        QFETCH(int, shapes);
        QByteArray file = "<?xml version=\"1.0\"?><Project><Config><Device><dev0 name=\"P\" "
                          "baud=\"1e12\"/></Device></Config><Form>"
                          "<Window type=\"1\" objectName=\"s\">";
        for (int i = 0; i < shapes; ++i)
            file += "<rectangle objectName=\"r" + QByteArray::number(i)
                + "\" width=\"1e12\" height=\"5\"/>";
        file += "</Window></Form></Project>";
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(file);
        QCOMPARE(result.clampedPlaces.size(), shapes + 1);
        const QStringList shown = ProjectFile::firstLines(result.clampedPlaces);
        QCOMPARE(shown.size(), shapes + 1 > 10 ? 11 : shapes + 1);
        QCOMPARE(shown.first(), QString("设备 1 P：dev@baud 1e12 \u2192 2147483647"));
        QCOMPARE(shown.at(1), QString("画面 s，图形 r0：rectangle@width 1e12 \u2192 10000000.00"));
        QTEST(shown.last(), "tail");
    }

    // A plain file as other editors save it reads like one saved here, and
    // errors keep their lines and columns.
    void plainFileForms_data()
    {
        QTest::addColumn<QByteArray>("head"); // before the root element
        QTest::addColumn<bool>("damaged"); // an error on the line after the root
        const QByteArray prolog = "<?xml version=\"1.0\"?>\n";
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + prolog << false;
        QTest::newRow("blank lines first") << "\n  \n" + prolog << false;
        QTest::newRow("no declaration") << QByteArray() << false;
        QTest::newRow("mark, blank line, declaration, error")
            << "\xEF\xBB\xBF\r\n" + prolog << true;
    }

    void plainFileForms()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, damaged);
        const QByteArray file = head + "<Project>\n" + (damaged ? "<Config name=\"n\"<" : "")
            + "<Config name=\"n\" screen=\"800,480\"/><Form><Window type=\"2\"/></Form></Project>\n";
        QVERIFY(ProjectFile::isPlainText(file));
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(file);
        QCOMPARE(result.status, damaged ? ProjectFile::Damaged : ProjectFile::Loaded);
        if (damaged) {
            QCOMPARE(result.line, qint64(head.count('\n') + 2));
            return;
        }
        QCOMPARE(Config::instance()->name, QStringLiteral("n"));
        QCOMPARE(screensSummary(), QStringLiteral("2:400x240:0"));
    }

    // What the configuration's elements held beyond what is read stays with
    // the device, tag or text it belongs to while the project is edited:
    // through a text library rebuilt from its table (as its dialog does),
    // a device edited through a copy, and rows of the address library
    // removed around it. Each kind is reported once.
    void keptContentFollowsItsOwner()
    {
        const QByteArray file
            = "<?xml version=\"1.0\"?><Project><Config>"
              "<Language><lan0 name=\"中文\" font=\"宋体,10\" hint=\"1\"/></Language>"
              "<Device><dev0 name=\"PLC\" speed=\"9\"><link/></dev0></Device>"
              "<TextLib><label0 name=\"a\" style=\"b\"><status0 colour=\"red\"><lan0 value=\"A\">"
              "<ruby/></lan0></status0></label0><label1 name=\"b\"><status0><lan0 value=\"B\"/>"
              "</status0></label1></TextLib>"
              "<AddressLib><label0 name=\"x\"/><label1 name=\"y\" unit=\"s\"><link/></label1>"
              "</AddressLib></Config><Form/></Project>";
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(file);
        QCOMPARE(result.status, ProjectFile::Loaded);
        QStringList elements = result.unknownElements;
        elements.sort();
        QCOMPARE(elements, QStringList({"link", "ruby"}));
        QStringList attributes = result.unknownAttributes;
        attributes.sort();
        QCOMPARE(attributes, QStringList({"dev@speed", "label@style", "label@unit", "lan@hint",
                                          "status@colour"}));
        const QByteArray saved = ProjectFile::projectBytes();

        Config *config = Config::instance();
        TextLib *library = config->textLib();
        const TextLib rebuilt = TextLib::fromRecords(library->records(), 1);
        *library = rebuilt;
        DevicePara device = config->devices.at(0);
        device.baud = 19200;
        config->devices[0] = device;
        config->addressTagModel()->removeRow(0);
        const QByteArray edited = ProjectFile::projectBytes();
        QCOMPARE(edited.count("speed=\"9\""), 1);
        for (const char *kept : {"<ruby/>", "style=\"b\"", "colour=\"red\"", "hint=\"1\"",
                                 "unit=\"s\""})
            QVERIFY2(edited.contains(kept), kept);
        QCOMPARE(edited.count("<link/>"), 2);
        QVERIFY(saved != edited);
    }

    // Scripts are stored beside the screens and come back with their names
    // and texts, unmodified; saving again gives the same bytes. What a
    // script cannot hold in XML is dropped rather than making the file
    // unreadable; line ends are stored as "\n".
    void scriptsSurviveSaveAndOpen()
    {
        addScreen(BaseScreen);
        ProjectScript *first = addScript();
        ProjectScript *second = addScript();
        QVERIFY(first && second);
        first->setText(
            QStringLiteral("// 温度报警\nif (a < b && c > 0) {\n\n\n    x = \"<&>\";\n}\n"));
        second->setText(QStringLiteral("\n  前导空行 & 结尾空格  \n\n"));
        second->setName(QStringLiteral("报警 <&> \"脚本\""));
        addScript()->setText(QString("a\r\nb\rc%1d%2\t\U0001F600").arg(QChar(0x01), QChar(0x1f)));
        addScreen(WindowScreen);
        QStringList scripts = scriptsSummary();
        scripts.last() = QStringLiteral("脚本_3=a\nb\ncd\t\U0001F600");
        const QByteArray saved = ProjectFile::projectBytes();

        init();
        QCOMPARE(ProjectFile::loadBytes(saved).status, ProjectFile::Loaded);
        QCOMPARE(scriptsSummary(), scripts);
        QCOMPARE(ProjectFile::projectBytes(), saved);
        // A script made now takes a number no stored script uses.
        QCOMPARE(addScript()->name(), QStringLiteral("脚本_4"));

        // A reader that makes nothing of type 4 skips the scripts' elements
        // and still reads every screen after them, even with a script first.
        const int form = saved.indexOf("<Form>") + 6;
        const int start = saved.indexOf("<Window objectName=\"脚本_1\"");
        const int end = saved.indexOf("</Window>", start) + 9;
        QVERIFY(form > 6 && start > form && end > start);
        QByteArray moved = saved;
        moved.remove(start, end - start).insert(form, saved.mid(start, end - start));
        init();
        QList<int> requested;
        ProjectFile::LoadHooks hooks;
        hooks.createScreen = [&requested](DrawManager *screens, int type) {
            requested << type;
            return type == 4 ? nullptr : screens->createForm(type);
        };
        QCOMPARE(ProjectFile::loadBytes(moved, hooks).status, ProjectFile::Loaded);
        QCOMPARE(requested, QList<int>({4, 1, 2, 4, 4}));
        QCOMPARE(screensSummary(), QStringLiteral("1:800x480:0 2:400x240:0"));
        QVERIFY(manager()->scripts().isEmpty());
    }

    void loadOutcomes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("screens");
        QTest::addColumn<int>("line"); // of a reading error, else 0
        QTest::addColumn<int>("column");

        QTest::newRow("no window") << QByteArray("<?xml version=\"1.0\"?>\n<Project>\n"
                                                 "<Config name=\"n\"/><Form/></Project>\n")
                                   << int(ProjectFile::Loaded) << "" << 0 << 0;
        QTest::newRow("cut short") << QByteArray(
            "<?xml version=\"1.0\"?>\n<Project><Config screen=\"800,480\"/>\n    <Form>\n"
            "        <Window type=\"3\">\n"
            "            <ellipse/>\n            <rectangle wid")
                                   << int(ProjectFile::Damaged) << "3:800x480:1" << 6 << 26;
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
        QCOMPARE(result.firstScreen, scenes.isEmpty() ? nullptr : scenes.first());
        if (status != ProjectFile::Loaded) {
            QTEST(int(result.line), "line");
            QTEST(int(result.column), "column");
            QVERIFY(!result.error.isEmpty());
        }
        if (status == ProjectFile::NotAProject)
            QCOMPARE(Config::instance()->name, QStringLiteral("untiled"));
    }

    // Reading never asks the user: a password goes to the caller's check,
    // and without one the project is refused with a reason. The editor's
    // check is the prompt, which allows three attempts.
    void password_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("check"); // 0: none, 1: the prompt, 2: yes, 3: no
        QTest::addColumn<QStringList>("answers"); // to the prompt, then cancel
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("opens");
        QTest::newRow("no check") << "s3cret" << 0 << QStringList() << 0 << false;
        QTest::newRow("no check, no password") << "" << 0 << QStringList() << 0 << true;
        QTest::newRow("check says yes") << "s3cret" << 2 << QStringList() << 0 << true;
        QTest::newRow("check says no") << "s3cret" << 3 << QStringList() << 0 << false;
        QTest::newRow("no password, no question") << "" << 3 << QStringList() << 0 << true;
        QTest::newRow("prompt cancelled") << "s3cret" << 1 << QStringList() << 1 << false;
        QTest::newRow("prompt, third time")
            << "s3cret" << 1 << QStringList {"x", "S3CRET", "s3cret"} << 3 << true;
        QTest::newRow("prompt, three wrong")
            << "s3cret" << 1 << QStringList {"a", "b", "c", "s3cret"} << 3 << false;
    }

    void password()
    {
        QFETCH(QString, stored);
        QFETCH(int, check);
        QFETCH(QStringList, answers);
        QFETCH(int, prompts);
        QFETCH(bool, opens);
        ModalScript script;
        for (const QString &answer : answers)
            script.chooseText(answer);
        QStringList checked;
        ProjectFile::LoadHooks hooks;
        if (check != 0) {
            hooks.checkPassword = [check, &checked](const QString &password) {
                checked << password;
                return check == 1 ? verifyPassword(password, QStringLiteral("t")) : check == 2;
            };
        }
        const ProjectFile::LoadResult result = ProjectFile::loadBytes(
            QStringLiteral("<?xml version=\"1.0\"?><Project><Config projectPw=\"%1\"/>"
                           "<Form><Window type=\"1\"/></Form></Project>")
                .arg(stored)
                .toUtf8(),
            hooks);
        QCOMPARE(result.status, opens ? ProjectFile::Loaded : ProjectFile::PasswordRefused);
        QCOMPARE(result.error.isEmpty(), opens);
        QCOMPARE(manager()->scenes().size(), opens ? 1 : 0);
        QCOMPARE(checked, stored.isEmpty() || check == 0 ? QStringList() : QStringList {stored});
        int asked = 0;
        for (const ModalRequest &request : script.requests())
            asked += request.kind == ModalRequest::PasswordInput ? 1 : 0;
        QCOMPARE(asked, prompts);
        // Only the prompt's own failure message is a message box.
        QCOMPARE(script.requests().size() - asked, check == 1 && !opens ? 1 : 0);
    }

    // A save the disk refuses part way leaves the folder and the previous
    // file as they were, and names the system's reason.
    void writeFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.mvprg");
        QVERIFY(writeFileBytes(path, "old project\n"));
        addScreen(BaseScreen);

        // A file size limit (unlike permissions) also stops root, mid-write.
        QString error;
        rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = ProjectFile::write(path, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);
        const QString prefix = QStringLiteral("写入文件失败 %1。\n").arg(path);
        QVERIFY2(error.startsWith(prefix) && !error.contains("Unknown error"), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList {"p.mvprg"});
        QCOMPARE(fileBytes(path), QByteArray("old project\n"));
    }
};

QTEST_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
