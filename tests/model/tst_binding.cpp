#include "model/binding.h"
#include "model/config.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

#include <limits>

namespace {

// Reads the first element of xml as a binding; *read tells whether it was.
Binding readBinding(const QString &xml, bool *read = nullptr, int levels = 64)
{
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    Binding binding;
    const bool ok = binding.readXml(&reader, levels);
    if (read)
        *read = ok;
    return binding;
}

QString written(const Binding &binding)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    binding.writeXml(&writer);
    return xml;
}

Binding source(Binding::Kind kind, bool direct)
{
    Binding binding;
    binding.kind = kind;
    if (direct) {
        binding.device = QStringLiteral("PLC \"1\"");
        binding.address = QStringLiteral("D 20.3");
        binding.format = QStringLiteral("Int16");
    } else {
        binding.tag = QStringLiteral("温度 <'a'> & \"b\"");
    }
    return binding;
}

} // namespace

class TestBinding : public QObject
{
    Q_OBJECT

private slots:
    void init() { Config::instance()->reset(); }

    // Every kind with every parameter, odd texts and numbers that only the
    // shortest exact form carries: written, read back equal, written again
    // the same.
    void roundTrip_data()
    {
        QTest::addColumn<Binding>("binding");

        Binding value = source(Binding::Value, false);
        value.digits = 12;
        value.decimals = 3;
        value.scale = 0.1 + 0.2;
        value.offset = -0.0;
        value.unit = QString();
        value.minimum = -std::numeric_limits<double>::max();
        value.maximum = 1e-300;
        QTest::newRow("value, empty unit") << value;
        value.unit = QStringLiteral("°C \"米\" 😀");
        value.tag.clear();
        value.device = QStringLiteral("本地");
        value.address = QStringLiteral("LW 100");
        QTest::newRow("value, direct address") << value;

        Binding state = source(Binding::TextState, false);
        state.textTag = QStringLiteral("状态 'x'");
        state.fallback = 7;
        QTest::newRow("text state") << state;

        for (int c = Binding::BitSet; c <= Binding::InRange; ++c) {
            Binding visible = source(Binding::Visible, c % 2 == 0);
            visible.condition = Binding::Condition(c);
            visible.value = 123456789.125;
            visible.value2 = -3;
            QTest::addRow("visible %s", qPrintable(Binding::conditionKey(visible.condition)))
                << visible;
        }

        Binding colours = source(Binding::Colours, true);
        QTest::newRow("colours, no ranges") << colours;
        Binding::Range range;
        range.from = -1.5;
        range.to = 2e9;
        range.fill = QColor(1, 2, 3);
        range.line = QColor(10, 20, 30, 40);
        range.blink = true;
        colours.ranges << range;
        range.fill = QColor();
        range.text = QColor(Qt::red);
        range.blink = false;
        colours.ranges << range;
        QTest::newRow("colours, two ranges") << colours;

        for (int a = Binding::SetBit; a <= Binding::CloseWindow; ++a) {
            Binding action = source(Binding::Action, a % 2 == 1);
            action.action = Binding::ActionKind(a);
            action.value = a * 1.25;
            action.minimum = -a;
            action.maximum = 1e15;
            action.screen = QStringLiteral("画面 \"%1\"").arg(a);
            QTest::addRow("action %s", qPrintable(Binding::actionKey(action.action))) << action;
        }

        Binding picture = source(Binding::Picture, false);
        for (const char *file : {"images/a.png", "images/图 1.svg", ""}) {
            Binding::PictureFile entry;
            entry.file = QString::fromUtf8(file);
            picture.pictures << entry;
        }
        QTest::newRow("pictures") << picture;
    }

    void roundTrip()
    {
        QFETCH(Binding, binding);
        const QString xml = written(binding);
        bool read = false;
        const Binding back = readBinding(xml, &read);
        QVERIFY(read);
        QVERIFY2(back == binding, qPrintable(xml));
        QCOMPARE(written(back), xml);
        QVERIFY(Config::instance()->clampedNumbers().isEmpty());
    }

    // What a newer version adds inside a binding passes through in its
    // place: attributes of the binding and of its rows, children before,
    // between and after the rows. Attributes of another kind are not this
    // kind's and are kept too. The input is in the writer's order.
    void keptContent_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<int>("entries");
        QTest::newRow("value")
            << "<binding kind=\"value\" tag=\"t\" digits=\"1\" decimals=\"2\" scale=\"3\" "
               "offset=\"4\" unit=\"u\" min=\"5\" max=\"6\" screen=\"other kind's\" "
               "zoom=\"2\"><limit a=\"1\"><deep/></limit></binding>"
            << 0;
        QTest::newRow("colours")
            << "<binding kind=\"colours\" tag=\"t\"><first/>"
               "<range blink=\"1\" fill=\"#010203\" from=\"0\" to=\"1\" fade=\"slow\"><x/></range>"
               "<between/><range blink=\"0\" from=\"1\" to=\"2\"/><after/></binding>"
            << 2;
        QTest::newRow("colour that names no colour")
            << "<binding kind=\"colours\" tag=\"t\"><range blink=\"0\" from=\"0\" to=\"1\" "
               "fill=\"red\" line=\"#12\"/></binding>"
            << 1;
        QTest::newRow("pictures")
            << "<binding kind=\"picture\" tag=\"t\"><picture file=\"a.png\" frame=\"1\"/>"
               "<gap/><picture file=\"b.png\"><crop/></picture></binding>"
            << 2;
        QTest::newRow("range inside another kind")
            << "<binding kind=\"visible\" tag=\"t\" condition=\"equal\" value=\"1\" "
               "value2=\"0\"><range from=\"0\" to=\"1\"/></binding>"
            << 0;
    }

    void keptContent()
    {
        QFETCH(QString, xml);
        QFETCH(int, entries);
        bool read = false;
        const Binding binding = readBinding(xml, &read);
        QVERIFY(read);
        QCOMPARE(binding.ranges.size() + binding.pictures.size(), entries);
        QCOMPARE(written(binding), xml);
        QVERIFY(!binding.keptParts().isEmpty());
        QVERIFY(readBinding(xml) == binding);
    }

    // A kind, action or condition this version does not know: the element
    // is the caller's to keep whole, and the reader has not moved.
    void unreadable_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::newRow("kind") << "<binding kind=\"chart\" tag=\"t\"><a/></binding>";
        QTest::newRow("no kind") << "<binding tag=\"t\"/>";
        QTest::newRow("action") << "<binding kind=\"action\" action=\"launch\"/>";
        QTest::newRow("condition") << "<binding kind=\"visible\" condition=\"odd\"/>";
        QTest::newRow("not a binding") << "<bindings kind=\"value\"/>";
    }

    void unreadable()
    {
        QFETCH(QString, xml);
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        QVector<Binding> list;
        QVERIFY(!Binding::readInto(&reader, &list, 64));
        QVERIFY(list.isEmpty());
        QVERIFY(reader.isStartElement());
        QCOMPARE(reader.name().toString(), xml.mid(1, xml.indexOf(' ') - 1));
    }

    // Beyond 256 rows the rest is kept unread, in order, after the rows; a
    // full list takes no further binding. Nesting beyond the levels stops
    // the reader instead of recursing.
    void bounds()
    {
        QString xml = QStringLiteral("<binding kind=\"colours\" tag=\"t\">");
        for (int i = 0; i < 300; ++i)
            xml += QStringLiteral("<range blink=\"0\" from=\"%1\" to=\"%1\"/>").arg(i);
        xml += QStringLiteral("</binding>");
        const Binding binding = readBinding(xml);
        QCOMPARE(binding.ranges.size(), Binding::MaxEntries);
        QCOMPARE(binding.ranges.last().from, double(Binding::MaxEntries - 1));
        QCOMPARE(written(binding), xml);

        QVector<Binding> full(Binding::MaxPerShape);
        QXmlStreamReader reader(QStringLiteral("<binding kind=\"value\"/>"));
        reader.readNextStartElement();
        QVERIFY(!Binding::readInto(&reader, &full, 64));
        QCOMPARE(full.size(), Binding::MaxPerShape);

        QString deep = QStringLiteral("<binding kind=\"value\">");
        for (int i = 0; i < 100; ++i)
            deep += QStringLiteral("<n>");
        for (int i = 0; i < 100; ++i)
            deep += QStringLiteral("</n>");
        deep += QStringLiteral("</binding>");
        QXmlStreamReader deepReader(deep);
        deepReader.readNextStartElement();
        Binding nested;
        nested.readXml(&deepReader, 10);
        QVERIFY(deepReader.hasError());
    }

    // Numbers the fields cannot hold keep the nearest value (or the
    // default), and the load says so.
    void clampedNumbers_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("kept");
        QTest::newRow("digits too many")
            << "<binding kind=\"value\" digits=\"1e9\"/>" << QStringLiteral("64");
        QTest::newRow("negative decimals")
            << "<binding kind=\"value\" decimals=\"-3\"/>" << QStringLiteral("0");
        QTest::newRow("scale no number")
            << "<binding kind=\"value\" scale=\"fast\"/>" << QStringLiteral("1");
        QTest::newRow("value overflows")
            << "<binding kind=\"visible\" value=\"-1e400\"/>"
            << QString::number(std::numeric_limits<double>::lowest(), 'g',
                               QLocale::FloatingPointShortest);
        QTest::newRow("range bound NaN")
            << "<binding kind=\"colours\"><range from=\"nan\" to=\"1\"/></binding>"
            << QStringLiteral("0");
    }

    void clampedNumbers()
    {
        QFETCH(QString, xml);
        QFETCH(QString, kept);
        readBinding(xml);
        const QVector<ClampedNumber> &clamped = Config::instance()->clampedNumbers();
        QCOMPARE(clamped.size(), 1);
        QCOMPARE(clamped.first().kept, kept);
    }

    // Only what the kind stores counts; what it stores always does.
    void equality_data()
    {
        QTest::addColumn<Binding>("a");
        QTest::addColumn<Binding>("b");
        QTest::addColumn<bool>("equal");
        Binding value = source(Binding::Value, false);
        Binding other = value;
        other.screen = QStringLiteral("x");
        other.ranges.append(Binding::Range());
        other.device = QStringLiteral("beside a tag");
        QTest::newRow("other kinds' fields") << value << other << true;
        other = value;
        other.unit = QStringLiteral("m");
        QTest::newRow("unit") << value << other << false;
        Binding direct = source(Binding::Action, true);
        other = direct;
        other.address = QStringLiteral("D 21");
        QTest::newRow("direct address") << direct << other << false;
        Binding colours = source(Binding::Colours, false);
        colours.ranges.append(Binding::Range());
        other = colours;
        other.ranges[0].line = QColor(Qt::black);
        QTest::newRow("range colour") << colours << other << false;
        other = readBinding(written(colours).replace("<range ", "<range zoom=\"1\" "));
        QTest::newRow("kept attribute") << colours << other << false;
    }

    void equality()
    {
        QFETCH(Binding, a);
        QFETCH(Binding, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
        QCOMPARE(b != a, !equal);
    }

    void summary_data()
    {
        QTest::addColumn<Binding>("binding");
        QTest::addColumn<QString>("text");
        Binding binding;
        binding.tag = QStringLiteral("Motor");
        QTest::newRow("tag") << binding << QStringLiteral("数值: Motor");
        binding = source(Binding::Visible, true);
        QTest::newRow("direct") << binding << QStringLiteral("可见: PLC \"1\" D 20.3");
        binding = source(Binding::Action, false);
        binding.action = Binding::OpenWindow;
        binding.screen = QStringLiteral("报警");
        QTest::newRow("screen action") << binding << QStringLiteral("动作: 报警");
        binding.screen.clear();
        QTest::newRow("nothing") << binding << QStringLiteral("动作: (无)");
    }

    void summary()
    {
        QFETCH(Binding, binding);
        QFETCH(QString, text);
        QCOMPARE(binding.summary(), text);
    }
};

QTEST_MAIN(TestBinding)
#include "tst_binding.moc"
