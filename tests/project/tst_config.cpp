#include "project/config.h"

#include <QDir>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

namespace {

struct Element
{
    QString name;
    QMap<QString, QString> attrs;
    int depth = 0;
};

// Flattens a document into its elements in document order.
QVector<Element> elementsOf(const QString &xml)
{
    QVector<Element> out;
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            Element e;
            e.name = reader.name().toString();
            e.depth = depth++;
            for (const QXmlStreamAttribute &a : reader.attributes())
                e.attrs.insert(a.name().toString(), a.value().toString());
            out.append(e);
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    return out;
}

Element find(const QVector<Element> &elements, const QString &name)
{
    for (const Element &e : elements) {
        if (e.name == name)
            return e;
    }
    return Element();
}

QString writeConfig()
{
    QString out;
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(true);
    Config::instance()->writeXml(&writer);
    return out;
}

void readConfig(const QString &xml)
{
    QXmlStreamReader reader(xml);
    QVERIFY(reader.readNextStartElement());
    QCOMPARE(reader.name().toString(), QStringLiteral("Config"));
    QVERIFY(Config::instance()->readXml(&reader));
}

void addTag(const QStringList &cells)
{
    QList<QStandardItem *> items;
    for (const QString &c : cells)
        items.append(new QStandardItem(c));
    Config::instance()->addressTagModel()->appendRow(items);
}

DevicePara makeDevice(const QString &name, int protocol)
{
    DevicePara dev;
    dev.name = name;
    dev.protocol = static_cast<quint8>(protocol);
    return dev;
}

const QString TextLibXml = QStringLiteral(
    "<TextLib count=\"2\" extra=\"kept\">"
    "<label0 name=\"Start\"><status0><lan0 value=\"开始\"/><lan1 value=\"Start\"/></status0>"
    "<status1><lan0 value=\"a &amp; b\"/><lan1 value=\"&quot;q&quot;\"/></status1></label0>"
    "<label1 name=\"Stop\"><status0><lan0 value=\"停止\"/>free text</status0></label1>"
    "</TextLib>");

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Config *c = Config::instance();
        c->reset();
        c->uiLanguage = 0;
        c->screenWidth = -1;
        c->screenHeight = -1;
    }

    void resetWritesNewProjectDefaults()
    {
        Config *c = Config::instance();
        c->name = QStringLiteral("x");
        c->projectPw = QStringLiteral("p");
        c->hard = c->orientation = c->addressHex = c->encryption = 1;
        c->screenWidth = 600;
        c->screenHeight = 1024;
        c->uiLanguage = 1;
        c->languages.append(LanguagePara());
        c->devices.append(makeDevice(QStringLiteral("PLC"), 1));
        addTag({"a", "本地", "LW 1", "Int16", "2", ""});
        readConfig(QStringLiteral("<Config>") + TextLibXml + QStringLiteral("</Config>"));
        QVERIFY(!c->textLib()->isEmpty());

        c->reset();
        QCOMPARE(c->uiLanguage, quint8(1));
        c->uiLanguage = 0;
        QCOMPARE(c->path, QDir::currentPath());
        QVERIFY(c->textLib()->isEmpty());

        const QVector<Element> els = elementsOf(writeConfig());
        const Element cfg = find(els, QStringLiteral("Config"));
        QCOMPARE(cfg.attrs.value("name"), QStringLiteral("untiled"));
        QCOMPARE(cfg.attrs.value("version"), QStringLiteral("1.0.0"));
        QVERIFY(cfg.attrs.contains("projectPw") && cfg.attrs.value("projectPw").isEmpty());
        QVERIFY(cfg.attrs.contains("macroPw") && cfg.attrs.value("macroPw").isEmpty());
        for (const char *zero : {"hard", "orientation", "addressHex", "encryption"})
            QCOMPARE(cfg.attrs.value(zero), QStringLiteral("0"));
        QCOMPARE(cfg.attrs.value("screen"), QStringLiteral("600,1024")); // reset keeps the size

        QStringList names;
        for (const Element &e : els)
            names.append(e.name);
        QCOMPARE(names,
                 QStringList({"Config", "Language", "lan0", "Device", "TextLib", "AddressLib"}));
        const Element lan = find(els, QStringLiteral("lan0"));
        QCOMPARE(lan.attrs.value("name"), QStringLiteral("中文"));
        QFont font;
        QVERIFY(font.fromString(lan.attrs.value("font")));
        QCOMPARE(font.family(), QStringLiteral("宋体"));
        QCOMPARE(font.pointSize(), 10);
        QVERIFY(!font.italic());
        QCOMPARE(find(els, QStringLiteral("AddressLib")).attrs.value("count"), QStringLiteral("0"));
    }

    void roundTripKeepsEveryField()
    {
        Config *c = Config::instance();
        c->name = QStringLiteral("demo");
        c->path = QStringLiteral("C:/work/demo");
        c->version = QStringLiteral("2.3.4");
        c->projectPw = QStringLiteral("pw<&>\"");
        c->macroPw = QStringLiteral("macro");
        c->hard = 6;
        c->orientation = c->addressHex = c->encryption = 1;
        c->screenWidth = 480;
        c->screenHeight = 800;
        LanguagePara en;
        en.name = QStringLiteral("English");
        en.mark = QStringLiteral("second");
        en.font = QFont(QStringLiteral("Arial"), 14, QFont::Bold, true);
        c->languages.append(en);
        DevicePara dev = makeDevice(QStringLiteral("PLC"), 1);
        dev.deviceId = 7, dev.port = 2, dev.rsType = 1, dev.dataBits = 7, dev.stopBits = 2;
        dev.parity = 2, dev.retryNum = 3, dev.baud = 115200, dev.overtime = 250;
        dev.comDelay = 11, dev.resDelay = 12;
        c->devices = {dev, makeDevice(QStringLiteral("Meter"), 2)};
        addTag({"t1", "PLC", "D 10", "Int16", "2", "first"});
        addTag({"t2", "本地", "LW_Bit 3_4", "Bool", "1", ""});

        const QString first = writeConfig();
        c->reset();
        c->screenWidth = 1;
        c->screenHeight = 2;
        readConfig(first);

        QCOMPARE(c->projectPw, QStringLiteral("pw<&>\""));
        QCOMPARE(c->languages.size(), 2);
        QCOMPARE(c->languages.at(1).font.toString(), en.font.toString());
        QCOMPARE(c->devices.size(), 2);
        QCOMPARE(c->devices.at(0).baud, 115200);
        QCOMPARE(c->tagNames(false), QStringList({"t1", "t2"}));
        QCOMPARE(writeConfig(), first);
    }

    void readKeepsDocumentOrderAndZeroesMissingNumbers()
    {
        Config *c = Config::instance();
        c->name = QStringLiteral("before");
        readConfig(QStringLiteral(
            "<Config><Language><b name=\"second\"/><lan0 name=\"first\"/></Language>"
            "<Device><dev9 name=\"bare\"/><x name=\"B\" baud=\"19200\" protocol=\"abc\"/></Device>"
            "<AddressLib count=\"99\"><label5 name=\"n0\"/><label1 name=\"n1\" "
            "device=\"本地\"/></AddressLib>"
            "</Config>"));

        QCOMPARE(c->name, QString());
        QCOMPARE(c->version, QString());
        QCOMPARE(c->languages.size(), 2);
        QCOMPARE(c->languages.at(0).name, QStringLiteral("second"));
        QCOMPARE(c->languages.at(1).name, QStringLiteral("first"));

        QCOMPARE(c->devices.size(), 2);
        const DevicePara &bare = c->devices.at(0); // 0s, not a new device's defaults
        QCOMPARE(bare.name, QStringLiteral("bare"));
        QCOMPARE(bare.deviceId, quint8(0));
        QCOMPARE(bare.dataBits, quint8(0));
        QCOMPARE(bare.baud, 0);
        QCOMPARE(bare.overtime, 0);
        QCOMPARE(c->devices.at(1).baud, 19200);
        QCOMPARE(c->devices.at(1).protocol, quint8(0));

        QCOMPARE(c->tagNames(false), QStringList({"n0", "n1"}));
        QCOMPARE(c->addressTagModel()->item(1, Config::DeviceColumn)->text(),
                 QStringLiteral("本地"));
        QCOMPARE(c->addressTagModel()->item(0, Config::AddressColumn)->text(), QString());
    }

    void readStopsAtUnknownElement()
    {
        Config *c = Config::instance();
        QXmlStreamReader reader(QStringLiteral(
            "<Project><Config><Language><lan0 name=\"L\"/></Language><Form><Window/></Form>"
            "<Device><dev0 name=\"late\"/></Device></Config></Project>"));
        QVERIFY(reader.readNextStartElement());
        QVERIFY(reader.readNextStartElement());
        QVERIFY(c->readXml(&reader));

        QCOMPARE(c->languages.size(), 1);
        QCOMPARE(c->languages.at(0).name, QStringLiteral("L"));
        QVERIFY(c->devices.isEmpty());
        QVERIFY(reader.isStartElement());
        QCOMPARE(reader.name().toString(), QStringLiteral("Form"));
    }

    void screenAttribute_data()
    {
        QTest::addColumn<QString>("attribute");
        for (const char *col : {"width", "height"})
            QTest::addColumn<int>(col);

        QTest::newRow("two parts") << "screen=\"480,800\"" << 480 << 800;
        QTest::newRow("three parts keep size") << "screen=\"800,480,1\"" << 11 << 22;
        QTest::newRow("missing keeps size") << "" << 11 << 22;
        QTest::newRow("empty part reads 0") << "screen=\",480\"" << 0 << 480;
    }

    void screenAttribute()
    {
        QFETCH(QString, attribute);
        Config *c = Config::instance();
        c->screenWidth = 11;
        c->screenHeight = 22;
        readConfig(QStringLiteral("<Config %1/>").arg(attribute));
        QTEST(int(c->screenWidth), "width");
        QTEST(int(c->screenHeight), "height");
    }

    void textLibSurvivesRoundTrip()
    {
        Config *c = Config::instance();
        readConfig(QStringLiteral("<Config>") + TextLibXml
                   + QStringLiteral("<AddressLib><label0 name=\"after\"/></AddressLib></Config>"));
        QCOMPARE(c->tagNames(false), QStringList({"after"}));

        auto textLibOf = [](const QString &xml) {
            QXmlStreamReader reader(xml);
            QString out;
            QXmlStreamWriter writer(&out);
            bool inside = false;
            while (!reader.atEnd()) {
                reader.readNext();
                if (reader.isStartElement() && reader.name() == QLatin1String("TextLib"))
                    inside = true;
                if (inside && !reader.isWhitespace())
                    writer.writeCurrentToken(reader);
                if (reader.isEndElement() && reader.name() == QLatin1String("TextLib"))
                    inside = false;
            }
            return out;
        };
        const QString saved = writeConfig();
        QCOMPARE(textLibOf(saved), textLibOf(TextLibXml));

        c->reset();
        QCOMPARE(find(elementsOf(writeConfig()), QStringLiteral("TextLib")).attrs.value("count"),
                 QStringLiteral("0"));
    }

    void addressText_data()
    {
        for (const char *col : {"hard", "device", "format", "area", "address", "bit"})
            QTest::addColumn<int>(col);
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("expected");

        const int i16 = Config::Int16, b = Config::Bool;
        QTest::newRow("panel hex bit") << 0 << 0 << b << 3 << 255 << 15 << true << "RW_Bit ffH_15";
        QTest::newRow("controller panel") << 4 << 0 << i16 << 8 << 100 << 0 << false << "D 100";
        QTest::newRow("controller bool has no bit") << 6 << 0 << b << 3 << 5 << 7 << false << "M 5";
        QTest::newRow("unknown hard: panel") << 99 << 0 << i16 << 2 << 7 << 0 << false << "RW 7";
        QTest::newRow("ctrl device")
            << 0 << 1 << int(Config::Uint32) << 6 << 9 << 0 << false << "T 9";
        QTest::newRow("modbus device") << 0 << 2 << i16 << 1 << 9 << 0 << false << "";
        QTest::newRow("unknown device") << 0 << 9 << i16 << 0 << 9 << 0 << false << "LW 9";
    }

    void addressText()
    {
        QFETCH(int, hard);
        QFETCH(bool, hex);
        Config *c = Config::instance();
        c->hard = static_cast<quint8>(hard);
        c->addressHex = hex ? 1 : 0;
        c->devices = {makeDevice("PLC", 1), makeDevice("Meter", 2), makeDevice("Free", 3)};

        QFETCH(int, device);
        QFETCH(int, format);
        QFETCH(int, area);
        QFETCH(int, address);
        QFETCH(int, bit);
        AddressPara para;
        para.device = static_cast<quint8>(device);
        para.format = static_cast<quint8>(format);
        para.area = static_cast<quint8>(area);
        para.address = static_cast<quint16>(address);
        para.bit = static_cast<quint16>(bit);
        QTEST(c->addressText(para), "expected");
    }

    void parseAddress_data()
    {
        for (const char *col : {"hard", "device", "format"})
            QTest::addColumn<int>(col);
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        for (const char *col : {"area", "address", "bit"})
            QTest::addColumn<int>(col);

        const int i16 = Config::Int16, b = Config::Bool;
        QTest::newRow("leading 0 decimal") << 0 << 0 << i16 << "LW 010" << true << 0 << 10 << 0;
        QTest::newRow("lower-case suffix") << 0 << 0 << i16 << "LW 2ah" << false << 0 << 0 << 0;
        QTest::newRow("blanks") << 0 << 0 << i16 << "  RW \t 7  x" << true << 2 << 7 << 0;
        QTest::newRow("hex bit") << 0 << 0 << b << "RW_Bit 10H_15" << true << 3 << 16 << 15;
        QTest::newRow("bool without bit") << 0 << 0 << b << "LW_Bit 100" << false << 0 << 0 << 0;
        QTest::newRow("bit on word tag") << 0 << 0 << i16 << "LW_Bit 100_3" << false << 0 << 0 << 0;
        QTest::newRow("largest number") << 0 << 0 << i16 << "LW FFFFH" << true << 0 << 65535 << 0;
        QTest::newRow("beyond 16 bits") << 0 << 0 << i16 << "LW 65536" << false << 0 << 0 << 0;
        QTest::newRow("area case-sensitive") << 0 << 0 << i16 << "lw 1" << false << 0 << 0 << 0;
        QTest::newRow("ctrl bool+bit") << 4 << 0 << b << "M 5_1" << false << 0 << 0 << 0;
        QTest::newRow("ctrl device") << 0 << 1 << i16 << "C 3" << true << 7 << 3 << 0;
        QTest::newRow("free port device") << 0 << 2 << i16 << "LW 1" << false << 0 << 0 << 0;
    }

    void parseAddress()
    {
        QFETCH(int, hard);
        QFETCH(int, device);
        QFETCH(int, format);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        Config *c = Config::instance();
        c->hard = static_cast<quint8>(hard);
        c->devices = {makeDevice("PLC", 1), makeDevice("Free", 3)};

        AddressPara para;
        para.device = static_cast<quint8>(device);
        para.format = static_cast<quint8>(format);
        QCOMPARE(c->parseAddress(text, para), ok);
        if (!ok)
            return;
        QTEST(int(para.area), "area");
        QTEST(int(para.address), "address");
        QTEST(int(para.bit), "bit");
    }

    void tagAt_data()
    {
        QTest::addColumn<QStringList>("cells"); // name, device, address, type, length, mark
        QTest::addColumn<int>("result");
        // Cells are checked in the order device, type, address, length.
        auto row = [](const char *tag, const QString &device, const QString &address,
                      const QString &type, const QString &length, int result) {
            QTest::newRow(tag) << QStringList {"n", device, address, type, length, "m"} << result;
        };
        row("valid", "本地", "LW 100", "Int16", "2", 0);
        row("type with blanks", "本地", "LW 100", " Int 16 ", "2", 0);
        row("unknown device", "Nobody", "LW 100", "Int16", "2", 1);
        row("device before type", "nobody", "LW x", "int16", "x", 1);
        row("type is case-sensitive", "本地", "LW 100", "int16", "2", 2);
        row("type before address", "本地", "LW x", "Word", "x", 2);
        row("bad address", "本地", "LW x", "Int16", "2", 3);
        row("address before length", "PLC", "LW 1", "Int16", "x", 3);
        row("bad length", "本地", "LW 1", "Int16", "two", 4);
        row("length beyond a byte", "本地", "LW 1", "String", "256", 4);
    }

    void tagAt()
    {
        QFETCH(QStringList, cells);
        QFETCH(int, result);
        Config *c = Config::instance();
        c->devices = {makeDevice("PLC", 1)};
        addTag({"first", "PLC", "D 10", "Uint16", "2", "mark"});
        addTag(cells);

        AddressPara para;
        QCOMPARE(c->tagAt(false, -1, para), -1);
        QCOMPARE(c->tagAt(false, 2, para), -1);
        QCOMPARE(c->tagAt(false, 1, para), result);
        QCOMPARE(para.name, cells.at(0));
        QCOMPARE(para.mark, cells.at(5));

        para = AddressPara();
        QCOMPARE(c->tagAt(false, 0, para), 0);
        QCOMPARE(para.device, quint8(1));
        QCOMPARE(para.format, quint8(Config::Uint16));
        QCOMPARE(para.area, quint8(c->areaIndex(1, "D")));
        QCOMPARE(para.address, quint16(10));
        QCOMPARE(para.length, quint8(2));
        QCOMPARE(c->addressSummary(para), QStringLiteral("PLC : D 10 ( Uint16 )"));
    }

    void setProjectFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");

        auto row = [](const char *file, const char *path, const char *name) {
            QTest::newRow(file) << QString(file) << QString(path) << QString(name);
        };
        row("/a/b.mvprg.mvprg", "/a", "b"); // every suffix removed
        row("/a/B.MVPRG", "/a", "B.MVPRG"); // suffix is case-sensitive
        row("demo.mvprg", "", "demo");
    }

    void setProjectFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, path);
        QFETCH(QString, name);
        Config *c = Config::instance();
        c->setProjectFile(file);
        QCOMPARE(c->projectPath(), path);
        QCOMPARE(c->projectName(), name);
        QCOMPARE(c->projectFile(), path + "/" + name + ".mvprg");
    }

    void createProjectDirs()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        Config *c = Config::instance();

        const QString location = tmp.filePath("projects");
        QVERIFY(c->createProjectDirs(location, "demo"));
        QVERIFY(QDir(location + "/demo/images").exists());
        QVERIFY(QDir(location + "/demo/fonts").exists());
        QVERIFY(c->createProjectDirs(location, "demo")); // existing folders are fine
        // Only the last level of the location is created.
        QVERIFY(!c->createProjectDirs(tmp.filePath("a/b"), "demo"));
        QVERIFY(!QDir(tmp.filePath("a")).exists());
    }

    void deviceLists()
    {
        Config *c = Config::instance();
        c->devices = {makeDevice("PLC", 1), makeDevice("Meter", 2)};
        QCOMPARE(c->deviceNames(), QStringList({"本地", "PLC", "Meter"}));

        AddressPara para;
        QVERIFY(c->findDevice("Meter", para));
        QCOMPARE(para.device, quint8(2));
        QCOMPARE(c->deviceName(para), QStringLiteral("Meter"));
        QVERIFY(!c->findDevice("plc", para));
        QCOMPARE(para.device, quint8(2));
        QVERIFY(c->findDevice("本地", para));
        QCOMPARE(para.device, quint8(0));

        para.device = 3;
        QCOMPARE(c->deviceName(para), QString());

        QCOMPARE(Config::numberedNames(1, 3, "COM", ":"), QStringList({"COM1:", "COM2:", "COM3:"}));
        QVERIFY(Config::numberedNames(3, 2, "COM").isEmpty());
    }

    void displayName_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        auto row = [](const char *tag, int language, const char *category, const char *key,
                      const char *expected) {
            QTest::newRow(tag) << language << QString(category) << QString(key)
                               << QString::fromUtf8(expected);
        };
        row("en group drops digit", 1, "group", "1Base", "Base");
        row("zh numbered port", 0, "register", "COM2Baud", "COM2波特率");
        row("zh per class", 0, "GraphicsTextItem", "brushColor", "背景颜色");
        row("zh other class", 0, "GraphicsRectItem", "brushColor", "颜色");
        row("zh unknown key", 0, "register", "Nothing", "Nothing");
    }

    void displayName()
    {
        QFETCH(int, language);
        QFETCH(QString, category);
        QFETCH(QString, key);
        Config *c = Config::instance();
        c->uiLanguage = static_cast<quint8>(language);
        QTEST(c->displayName(category, key), "expected");
    }

    void setLanguageEmitsOnlyOnChange()
    {
        Config *c = Config::instance();
        QSignalSpy spy(c, &Config::languageChanged);
        c->setLanguage(0);
        QCOMPARE(spy.count(), 0);
        c->setLanguage(1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
        QCOMPARE(c->uiLanguage, quint8(1));
        c->setLanguage(1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(c->enumTexts(QMetaEnum::fromType<Config::ComParity>()),
                 QStringList({"None", "Even", "Odd"}));
        c->setLanguage(0);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(c->enumTexts(QMetaEnum::fromType<Config::ComParity>()),
                 QStringList({"无", "偶校验", "奇校验"}));
    }

    void propertyNamesPutPosLast()
    {
        const PropertyRegistry &reg = Config::instance()->propertyRegistry();
        for (const QString &cls : reg.classNames()) {
            const QStringList names = reg.propertyNames(cls);
            QVERIFY2(!names.isEmpty(), qPrintable(cls));
            QCOMPARE(names.count("pos"), names.contains("pos") ? 1 : 0);
            if (names.contains("pos"))
                QCOMPARE(names.last(), QStringLiteral("pos"));
            int total = 0;
            const auto groups = reg.groups(cls);
            for (const QStringList &g : groups)
                total += g.size();
            QCOMPARE(names.size(), total);
        }
        QCOMPARE(reg.propertyNames("GraphicsTextItem"),
                 QStringList({"objectName", "opacity", "zValue", "fixe", "rotation", "width",
                              "height", "brushStyle", "brushColor", "text", "alignHor", "alignVer",
                              "penColor", "font", "pos"}));
        QVERIFY(reg.propertyNames("GraphicsImageItem").isEmpty());
        QObject plain;
        QVERIFY(propertyNamesOf(&plain).isEmpty());
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
