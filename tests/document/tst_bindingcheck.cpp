// The check and the find on what shapes' bindings name: a project built
// here with tags of every kind of source, one shape added per row.

#include "document/drawmanager.h"
#include "document/projectcheck.h"
#include "document/projectfile.h"
#include "document/projectsearch.h"
#include "model/config.h"
#include "support/processfixture.h"

#include <QTranslator>
#include <QtTest>

namespace {

// The panel (protocol 0, system registers from LW 9000), a controller with
// bit and word areas, a Modbus device with its read-only inputs.
const QByteArray ProjectHead = R"(<?xml version="1.0"?><Project>
<Config hard="0" name="b" screen="800,480">
<Language><lan0 name="中文"/></Language>
<Device>
 <dev0 name="PLC1" port="0" protocol="1"/>
 <dev1 name="MB" port="1" protocol="2"/>
</Device>
<TextLib count="1"><label0 name="开关"><status0><lan0 value="关"/></status0><status1><lan0 value="开"/></status1></label0></TextLib>
<AddressLib count="7">
 <label0 address="LW 100" device="本地" length="2" mark="" name="温度" type="Int16"/>
 <label1 address="LW_Bit 100_3" device="本地" length="1" mark="" name="flag" type="Bool"/>
 <label2 address="D 100" device="PLC1" length="4" mark="" name="speed" type="Float"/>
 <label3 address="D 200" device="PLC1" length="10" mark="" name="label" type="String"/>
 <label4 address="M 20" device="PLC1" length="1" mark="" name="run" type="Bool"/>
 <label5 address="1x 5" device="MB" length="1" mark="" name="input" type="Bool"/>
 <label6 address="LW 9016" device="本地" length="2" mark="" name="cpu" type="Int16"/>
</AddressLib>
</Config>
<Form>
<Window type="1" objectName="主画面" width="800" height="480">)";
const QByteArray ProjectTail = R"(</Window>
<Window type="2" objectName="弹窗" width="300" height="200"></Window>
</Form></Project>)";

QByteArray rectangle(const QByteArray &name, const QByteArray &bindings)
{
    return "<rectangle objectName=\"" + name + "\" width=\"50\" height=\"20\" pos=\"(100,100)\">"
        + bindings + "</rectangle>";
}

QByteArray widget(int kind, const QByteArray &bindings)
{
    return "<widget objectName=\"w\" type=\"" + QByteArray::number(kind)
        + "\" width=\"80\" height=\"30\" pos=\"(100,100)\">" + bindings + "</widget>";
}

bool loadShapes(const QByteArray &shapes)
{
    ProcessFixture::start();
    if (ProjectFile::loadBytes(ProjectHead + shapes + ProjectTail).status != ProjectFile::Loaded)
        return false;
    Config::instance()->loadSystemRegisters();
    return true;
}

// "code @ place" of the findings about bindings and pictures; "code? @
// place" for a warning.
QStringList bindingFindings()
{
    QStringList lines;
    for (const Finding &finding : ProjectCheck::run()) {
        const QString code = ProjectCheck::codeName(finding.code);
        if (code.startsWith(QLatin1String("binding")) || code.startsWith(QLatin1String("picture")))
            lines.append(code + (finding.severity == Finding::Warning ? "? @ " : " @ ")
                         + ProjectCheck::placeText(finding.place));
    }
    return lines;
}

} // namespace

class TestBindingCheck : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ProcessFixture::finish(); }

    // One shape per row: a binding that names what is missing, needs what
    // its source cannot give or writes where the panel does not take it,
    // and beside each a sound one of the same kind that gives nothing.
    void findings_data()
    {
        QTest::addColumn<QByteArray>("shapes");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        const QString at = QStringLiteral(" @ 画面 主画面，图形 r");
        auto row = [](const char *tag, const QByteArray &shapes, const QStringList &expected) {
            QTest::newRow(tag) << shapes << expected;
        };
        auto bound = [](const QByteArray &attributes, const QByteArray &children = {}) {
            return rectangle("r", "<binding " + attributes + ">" + children + "</binding>");
        };

        // Sources; screen actions need none.
        row("value of a tag", bound(R"(kind="value" tag="温度" decimals="1")"), none);
        row("missing tag", bound(R"(kind="value" tag="ghost")"), {"bindingMissingTag" + at});
        row("direct address", bound(R"(kind="value" device="PLC1" address="D 10" format="Int16")"),
            none);
        row("direct address, area of no such device",
            bound(R"(kind="value" device="PLC1" address="LW 10" format="Int16")"),
            {"bindingBadAddress" + at});
        row("text state", bound(R"(kind="textstate" tag="温度" texttag="开关")"), none);
        row("missing text tag", bound(R"(kind="textstate" tag="温度" texttag="灯")"),
            {"bindingMissingTextTag" + at});
        row("switch screen", bound(R"(kind="action" action="screen" screen="主画面")"), none);
        row("open a window", bound(R"(kind="action" action="open" screen="弹窗")"), none);
        row("open a missing screen", bound(R"(kind="action" action="open" screen="报警")"),
            {"bindingMissingScreen" + at});
        row("close the own window", bound(R"(kind="action" action="close")"), none);
        // Screens of the wrong type: a switch goes to base screens only,
        // windows are opened and closed over them.
        row("switch to a window", bound(R"(kind="action" action="screen" screen="弹窗")"),
            {"bindingWrongScreenType" + at});
        row("open a base screen", bound(R"(kind="action" action="open" screen="主画面")"),
            {"bindingWrongScreenType" + at});
        row("close a base screen", bound(R"(kind="action" action="close" screen="主画面")"),
            {"bindingWrongScreenType" + at});

        // Limits the wrong way round; equal limits are sound.
        row("value limits reversed",
            bound(R"(kind="value" tag="温度" min="1e+308" max="-5")"), {"bindingReversedLimits" + at});
        row("value limits equal", bound(R"(kind="value" tag="温度" min="3" max="3")"), none);
        row("subtract limits reversed",
            bound(R"(kind="action" action="subtract" tag="温度" value="1" min="10" max="0")"),
            {"bindingReversedLimits" + at});
        // Only a step uses them: a written constant does not.
        row("write ignores limits",
            bound(R"(kind="action" action="write" tag="温度" value="1" min="10" max="0")"), none);
        row("visible range reversed",
            bound(R"(kind="visible" condition="range" tag="温度" value="9" value2="1")"),
            {"bindingReversedLimits" + at});
        row("visible equal ignores value2",
            bound(R"(kind="visible" condition="equal" tag="温度" value="9" value2="1")"), none);

        // Bits and formats.
        row("set a word's bit", bound(R"(kind="action" action="set" tag="flag")"), none);
        row("toggle a word", bound(R"(kind="action" action="toggle" tag="温度")"),
            {"bindingNotBit" + at});
        row("visible while a float's bit is set",
            bound(R"(kind="visible" condition="bitset" tag="speed")"), {"bindingNotBit" + at});
        row("check box of a coil", widget(16, R"(<binding kind="value" tag="run"/>)"), none);
        row("radio button of a word", widget(15, R"(<binding kind="value" tag="温度"/>)"),
            {"bindingNotBit @ 画面 主画面，图形 w"});
        row("text state of a float", bound(R"(kind="textstate" tag="speed" texttag="开关")"),
            {"bindingBadFormat" + at});
        row("decimals of a bit", bound(R"(kind="value" tag="flag" decimals="2")"),
            {"bindingBadFormat" + at});
        row("colours of a string", bound(R"(kind="colours" tag="label")"),
            {"bindingBadFormat" + at});
        // A picture looked for as an image shape's is, once per shape.
        row("pictures of a word, one missing",
            bound(R"(kind="picture" tag="温度")",
                  R"(<picture file="images/a.png"/><picture file="images/a.png"/>)"),
            {"pictureMissing?" + at});

        // Writes where the panel takes none.
        row("show a Modbus input register",
            bound(R"(kind="value" device="MB" address="3x 7" format="Int16")"), none);
        row("line edit on a Modbus input", widget(17, R"(<binding kind="value" tag="input"/>)"),
            {"bindingWritesReadOnly? @ 画面 主画面，图形 w"});
        row("write the panel's CPU load", bound(R"(kind="action" action="write" tag="cpu")"),
            {"bindingWritesReadOnly?" + at});
        row("write inside the panel's version text",
            bound(R"(kind="action" action="write" device="本地" address="LW 9030" format="Int16")"),
            {"bindingWritesReadOnly?" + at});
        row("write the panel's clock",
            bound(R"(kind="action" action="add" device="本地" address="LW 9000" format="Int16")"),
            none);

        // Groups: their own bindings at the group, members' at the member.
        row("a group's and a member's bindings",
            R"x(<group objectName="g"><rectangle objectName="m1" width="5" height="5" pos="(10,10)"/>)x"
                + rectangle("m2", R"(<binding kind="value" tag="ghost"/>)")
                + R"(<binding kind="action" action="toggle" tag="温度"/></group>)",
            {"bindingNotBit @ 画面 主画面，图形 g", "bindingMissingTag @ 画面 主画面，图形 m2"});
    }
    void findings()
    {
        QFETCH(QByteArray, shapes);
        QFETCH(QStringList, expected);
        QVERIFY(loadShapes(shapes));
        QCOMPARE(bindingFindings(), expected);
    }

    // A message put together from parts reads as one English sentence.
    void englishMessage()
    {
        QVERIFY(loadShapes(rectangle("r", R"(<binding kind="action" action="reset" tag="speed"/>)")));
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english);
        QStringList messages;
        for (const Finding &finding : ProjectCheck::run()) {
            if (finding.code == Finding::BindingNotBit)
                messages.append(finding.message);
        }
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(messages, QStringList {"Action binding: set, reset, toggle and momentary actions "
                                        "need a source of type Bool; “speed” is of type Float"});
    }

    // Find reaches what bindings name, in the field 数据, once per text of
    // a shape; only the fields of the binding's own kind count.
    void findInBindings_data()
    {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QStringList>("hits");
        QTest::newRow("address tag") << "speed"
                                     << QStringList {"画面 主画面，图形 a|数据|speed",
                                                     "地址标签第 3 行 speed|地址标签名称|speed"};
        QTest::newRow("direct address")
            << "D 10" << QStringList {"画面 主画面，图形 b|数据|PLC1 D 10"};
        QTest::newRow("text tag") << "开关" << QStringList {"画面 主画面，图形 c|数据|开关",
                                                          "文本标签第 1 个 开关|文本标签名称|开关"};
        QTest::newRow("screen") << "弹窗" << QStringList {"画面 主画面，图形 d|数据|弹窗",
                                                        "画面 弹窗|画面名称|弹窗"};
        QTest::newRow("group's own binding")
            << "run" << QStringList {"画面 主画面，图形 g|数据|run",
                                     "地址标签第 5 行 run|地址标签名称|run"};
    }
    void findInBindings()
    {
        QFETCH(QString, needle);
        QFETCH(QStringList, hits);
        const QByteArray shapes
            = rectangle("a", R"(<binding kind="value" tag="speed"/><binding kind="colours" tag="speed"/>)")
            + rectangle("b", R"(<binding kind="value" device="PLC1" address="D 10" format="Int16"/>)")
            + rectangle("c", R"(<binding kind="textstate" tag="温度" texttag="开关"/>)")
            // A screen switch reads no source, whatever the element holds.
            + rectangle("d", R"(<binding kind="action" action="screen" screen="弹窗" tag="run"/>)")
            + R"(<group objectName="g"><rectangle objectName="m1" width="5" height="5"/>)"
              R"(<rectangle objectName="m2" width="5" height="5"/>)"
              R"(<binding kind="visible" tag="run"/></group>)";
        QVERIFY(loadShapes(shapes));
        ProjectSearch::Options options;
        options.text = needle;
        options.wholeWord = true;
        QStringList found;
        for (const ProjectSearch::Hit &hit : ProjectSearch::find(options))
            found.append(ProjectCheck::placeText(hit.place) + QLatin1Char('|')
                         + ProjectSearch::fieldText(hit.field) + QLatin1Char('|') + hit.text);
        QCOMPARE(found, hits);
    }
};

QTEST_MAIN(TestBindingCheck)
#include "tst_bindingcheck.moc"
