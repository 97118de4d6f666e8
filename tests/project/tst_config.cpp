#include "project/config.h"
#include "support/processfixture.h"

#include <QDir>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// The default values as written, and every field surviving a round trip,
// are checked by the golden project of tst_projectfile and by tst_roundtrip;
// the text library's own form by tst_textlib.
namespace {

void readConfig(const QString &xml)
{
    QXmlStreamReader reader(xml);
    QVERIFY(reader.readNextStartElement());
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

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(); }

    void resetClearsProjectButKeepsPanelAndInterface()
    {
        Config *c = Config::instance();
        c->name = c->projectPw = QStringLiteral("x");
        c->hard = c->addressHex = c->encryption = 1;
        c->screenWidth = 600;
        c->uiLanguage = 1;
        c->languages.append(LanguagePara());
        c->devices.append(makeDevice(QStringLiteral("PLC"), 1));
        addTag({"a", "本地", "LW 1", "Int16", "2", ""});
        readConfig(QStringLiteral("<Config><TextLib><label0 name=\"Start\"/></TextLib></Config>"));
        QVERIFY(!c->textLib()->isEmpty());

        c->reset();
        QCOMPARE(c->name, QStringLiteral("untiled"));
        QCOMPARE(c->path, QDir::currentPath());
        QVERIFY(c->projectPw.isEmpty());
        QCOMPARE(int(c->hard + c->addressHex + c->encryption), 0);
        QCOMPARE(c->languages.size(), 1);
        QVERIFY(c->devices.isEmpty() && c->textLib()->isEmpty());
        QCOMPARE(c->addressTagModel()->rowCount(), 0);
        QCOMPARE(c->screenWidth, 600);
        QCOMPARE(c->uiLanguage, quint8(1));
    }

    // Document order is kept, missing numbers read as 0 (not a new device's
    // defaults), and reading stops at the first element that is not its own.
    void readXml()
    {
        Config *c = Config::instance();
        QXmlStreamReader reader(QStringLiteral(
            "<Project><Config><Language><b name=\"second\"/><lan0 name=\"first\"/></Language>"
            "<Device><dev9 name=\"bare\"/><x name=\"B\" baud=\"19200\" protocol=\"abc\"/></Device>"
            "<AddressLib count=\"99\"><label5 name=\"n0\"/><label1 name=\"n1\" device=\"本地\"/>"
            "</AddressLib><Form><Window/></Form><Device><dev0 name=\"late\"/></Device>"
            "</Config></Project>"));
        QVERIFY(reader.readNextStartElement() && reader.readNextStartElement());
        QVERIFY(c->readXml(&reader));
        QCOMPARE(reader.name().toString(), QStringLiteral("Form"));

        QCOMPARE(c->name, QString());
        QCOMPARE(c->languages.size(), 2);
        QCOMPARE(c->languages.at(0).name, QStringLiteral("second"));
        QCOMPARE(c->devices.size(), 2);
        const DevicePara &bare = c->devices.at(0);
        QCOMPARE(bare.name, QStringLiteral("bare"));
        QCOMPARE(int(bare.deviceId + bare.dataBits) + bare.baud + bare.overtime, 0);
        QCOMPARE(c->devices.at(1).baud, 19200);
        QCOMPARE(c->devices.at(1).protocol, quint8(0));
        QCOMPARE(c->tagNames(false), QStringList({"n0", "n1"}));
        QCOMPARE(c->addressTagModel()->item(1, Config::DeviceColumn)->text(),
                 QStringLiteral("本地"));
        QCOMPARE(c->addressTagModel()->item(0, Config::AddressColumn)->text(), QString());
    }

    void screenAttribute_data()
    {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
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

    // Parsing a text, then writing what was parsed; a null text writes
    // the given address instead.
    void address_data()
    {
        for (const char *col : {"hard", "device", "format"})
            QTest::addColumn<int>(col);
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("text");
        for (const char *col : {"area", "address", "bit"}) // area -1: text refused
            QTest::addColumn<int>(col);
        QTest::addColumn<QString>("written");

        const int i16 = Config::Int16, b = Config::Bool;
        auto refused = [](const char *tag, int hard, int device, int format, const char *text) {
            QTest::newRow(tag) << hard << device << format << false << QString(text) << -1 << 0 << 0
                               << QString();
        };
        QTest::newRow("leading 0 decimal")
            << 0 << 0 << i16 << false << "LW 010" << 0 << 10 << 0 << "LW 10";
        QTest::newRow("blanks, unknown hard is panel")
            << 99 << 0 << i16 << false << "  RW \t 7  x" << 2 << 7 << 0 << "RW 7";
        QTest::newRow("hex bit") << 0 << 0 << b << true << "RW_Bit FFH_15" << 3 << 255 << 15
                                 << "RW_Bit ffH_15";
        QTest::newRow("largest number")
            << 0 << 0 << i16 << false << "LW FFFFH" << 0 << 65535 << 0 << "LW 65535";
        QTest::newRow("ctrl device") << 0 << 1 << i16 << false << "C 3" << 7 << 3 << 0 << "C 3";
        QTest::newRow("controller bool has no bit")
            << 6 << 0 << b << false << QString() << 3 << 5 << 7 << "M 5";
        QTest::newRow("modbus device") << 0 << 2 << i16 << false << QString() << 1 << 9 << 0 << "";
        QTest::newRow("unknown device")
            << 0 << 9 << i16 << false << QString() << 0 << 9 << 0 << "LW 9";
        refused("lower-case suffix", 0, 0, i16, "LW 2ah");
        refused("bool without bit", 0, 0, b, "LW_Bit 100");
        refused("bit on word tag", 0, 0, i16, "LW_Bit 100_3");
        refused("beyond 16 bits", 0, 0, i16, "LW 65536");
        refused("area case-sensitive", 0, 0, i16, "lw 1");
        refused("ctrl bool+bit", 4, 0, b, "M 5_1");
        refused("free port device", 0, 3, i16, "LW 1");
    }

    void address()
    {
        QFETCH(int, hard);
        QFETCH(int, device);
        QFETCH(int, format);
        QFETCH(bool, hex);
        QFETCH(QString, text);
        QFETCH(int, area);
        QFETCH(int, address);
        QFETCH(int, bit);
        Config *c = Config::instance();
        c->hard = static_cast<quint8>(hard);
        c->addressHex = hex ? 1 : 0;
        c->devices = {makeDevice("PLC", 1), makeDevice("Meter", 2), makeDevice("Free", 3)};
        AddressPara para;
        para.device = static_cast<quint8>(device);
        para.format = static_cast<quint8>(format);
        if (!text.isNull()) {
            QCOMPARE(c->parseAddress(text, para), area >= 0);
            if (area < 0)
                return;
        } else {
            para.area = static_cast<quint8>(area);
            para.address = static_cast<quint16>(address);
            para.bit = static_cast<quint16>(bit);
        }
        QCOMPARE(QVector<int>({para.area, para.address, para.bit}),
                 QVector<int>({area, address, bit}));
        QTEST(c->addressText(para), "written");
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
        row("device names are case-sensitive", "plc", "LW 100", "Int16", "2", 1);
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
        Config *c = Config::instance();
        c->devices = {makeDevice("PLC", 1)};
        addTag({"first", "PLC", "D 10", "Uint16", "2", "mark"});
        addTag(cells);

        AddressPara para;
        QCOMPARE(c->tagAt(false, -1, para), -1);
        QCOMPARE(c->tagAt(false, 2, para), -1);
        QTEST(c->tagAt(false, 1, para), "result");
        QCOMPARE(QStringList({para.name, para.mark}), QStringList({cells.at(0), cells.at(5)}));

        para = AddressPara();
        QCOMPARE(c->tagAt(false, 0, para), 0);
        QCOMPARE(para.length, quint8(2));
        QCOMPARE(c->addressSummary(para), QStringLiteral("PLC : D 10 ( Uint16 )"));
    }

    // The project is saved back to the very file it was given; a name or
    // folder set afterwards (a new project) makes the file name again.
    void setProjectFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("saved"); // where Save writes
        QTest::newRow("suffix") << "/a/b.mvprg"
                                << "/a"
                                << "b"
                                << "/a/b.mvprg";
        QTest::newRow("only the last suffix") << "/a/b.mvprg.mvprg"
                                              << "/a"
                                              << "b.mvprg"
                                              << "/a/b.mvprg.mvprg";
        QTest::newRow("upper-case suffix") << "/a/B.MVPRG"
                                           << "/a"
                                           << "B"
                                           << "/a/B.MVPRG";
        QTest::newRow("other suffix") << "/a/notes.xml"
                                      << "/a"
                                      << "notes.xml"
                                      << "/a/notes.xml";
        // A relative name is kept absolute, so a later save cannot land at
        // the file-system root.
        const QString here = QDir::currentPath();
        QTest::newRow("no folder") << "demo.mvprg" << here << "demo" << here + "/demo.mvprg";
        const QString up = QDir::cleanPath(here + "/../up");
        QTest::newRow("relative folder")
            << "../up/demo.mvprg" << up << "demo" << up + "/demo.mvprg";
    }

    void setProjectFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, path);
        Config *c = Config::instance();
        c->setProjectFile(file);
        QCOMPARE(c->projectPath(), path);
        QTEST(c->projectName(), "name");
        QTEST(c->projectFile(), "saved");
        c->name = QStringLiteral("fresh");
        QCOMPARE(c->projectFile(), path + "/fresh.mvprg");
        c->setProjectFile(file);
        c->reset();
        QCOMPARE(c->projectFile(), c->projectPath() + "/untiled.mvprg");
    }

    void createProjectDirsMakesOnlyTheLastLevel()
    {
        QTemporaryDir tmp;
        QVERIFY(!Config::instance()->createProjectDirs(tmp.filePath("a/b"), "demo"));
        QVERIFY(!QDir(tmp.filePath("a")).exists());
    }

    void displayName_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *tag, int language, const char *category, const char *key,
                      const QString &expected) {
            QTest::newRow(tag) << language << QString(category) << QString(key) << expected;
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
        Config::instance()->uiLanguage = static_cast<quint8>(language);
        QTEST(Config::instance()->displayName(category, key), "expected");
    }

    void enumTextsFollowTheLanguage()
    {
        Config *c = Config::instance();
        const QMetaEnum parity = QMetaEnum::fromType<Config::ComParity>();
        c->setLanguage(1);
        QCOMPARE(c->enumTexts(parity), QStringList({"None", "Even", "Odd"}));
        c->setLanguage(0);
        QCOMPARE(c->enumTexts(parity), QStringList({"无", "偶校验", "奇校验"}));
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
