#include "model/config.h"
#include "support/processfixture.h"

#include <QDir>
#include <QStandardItemModel>
#include <QXmlStreamReader>
#include <QtTest>

// The default values as written, and every field surviving a round trip,
// are checked by the golden project of tst_projectfile and by tst_roundtrip;
// the text library's own form by tst_textlib; every tagAt failure by the
// seeded project of tst_projectcheck.
namespace {

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

    // Document order is kept, missing numbers read as a new device's
    // defaults, numbers outside what the device dialog accepts keep the
    // nearest it does, a screen size of three parts keeps the size, and an
    // element that is not its own is kept without ending the reading.
    void readXml()
    {
        Config *c = Config::instance();
        c->screenWidth = 11;
        QXmlStreamReader reader(QStringLiteral(
            "<Project><Config screen=\"800,480,1\"><Language><lan1 name=\"second\"/><lan0 "
            "name=\"first\"/></Language>"
            "<Device><dev9 name=\"bare\"/><dev0 name=\"B\" baud=\"19200\" protocol=\"abc\" "
            "deviceId=\"300\" retryNum=\"1000\" parity=\"-1\"/></Device>"
            "<AddressLib count=\"99\"><label5 name=\"n0\"/><label1 name=\"n1\" device=\"本地\"/>"
            "</AddressLib><Form><Window/></Form><AddressLib><label0 name=\"n2\"/></AddressLib>"
            "</Config></Project>"));
        QVERIFY(reader.readNextStartElement() && reader.readNextStartElement());
        QVERIFY(c->readXml(&reader));
        QVERIFY(reader.isEndElement());
        QCOMPARE(reader.name().toString(), QStringLiteral("Config"));
        QCOMPARE(c->unknownElementNames(), QStringList {"Form"});
        QCOMPARE(c->screenWidth, 11);

        QCOMPARE(c->languages.at(0).name, QStringLiteral("second"));
        QCOMPARE(c->devices.size(), 2);
        const DevicePara &bare = c->devices.at(0);
        const DevicePara fresh;
        QCOMPARE(QVector<int>({bare.deviceId, bare.dataBits, bare.baud, bare.overtime}),
                 QVector<int>({fresh.deviceId, fresh.dataBits, fresh.baud, fresh.overtime}));
        QCOMPARE(c->devices.at(1).baud, 19200);
        QCOMPARE(c->devices.at(1).protocol, 0);
        QCOMPARE(c->devices.at(1).deviceId, DevicePara::MaxStation);
        QCOMPARE(c->devices.at(1).retryNum, DevicePara::MaxRetry);
        QCOMPARE(c->devices.at(1).parity, 0);
        QCOMPARE(c->clampedNumbers().size(), 4); // protocol "abc" too
        QCOMPARE(c->tagNames(false), QStringList({"n0", "n1", "n2"}));
    }

    // Parsing a text, then writing what was parsed.
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
        QTest::newRow("blanks, unknown hard is panel")
            << 99 << 0 << i16 << false << "  RW \t 7  x" << 2 << 7 << 0 << "RW 7";
        QTest::newRow("hex bit") << 0 << 0 << b << true << "RW_Bit FFH_15" << 3 << 255 << 15
                                 << "RW_Bit ffH_15";
        QTest::newRow("ctrl device") << 0 << 1 << i16 << false << "C 3" << 7 << 3 << 0 << "C 3";
        QTest::newRow("controller bool has no bit")
            << 6 << 0 << b << false << "M 5" << 3 << 5 << 0 << "M 5";
        refused("bool without bit", 0, 0, b, "LW_Bit 100");
        refused("beyond 16 bits", 0, 0, i16, "LW 65536");
        refused("free port device", 0, 3, i16, "LW 1");

        // Device 2 speaks Modbus: register numbers span 16 bits, bit areas
        // hold Bool only and word areas no Bool.
        const int u16 = Config::Uint16, f = Config::Float;
        QTest::newRow("modbus coil 0") << 0 << 2 << b << false << "0x 0" << 0 << 0 << 0 << "0x 0";
        QTest::newRow("modbus input bit last")
            << 0 << 2 << b << false << "1x 65535" << 1 << 65535 << 0 << "1x 65535";
        QTest::newRow("modbus input register")
            << 0 << 2 << i16 << false << "3x 100" << 2 << 100 << 0 << "3x 100";
        QTest::newRow("modbus holding register hex")
            << 0 << 2 << u16 << true << "4x FFFFH" << 3 << 65535 << 0 << "4x ffffH";
        QTest::newRow("modbus hex read, decimal written")
            << 0 << 2 << f << false << "4x 2AH" << 3 << 42 << 0 << "4x 42";
        QTest::newRow("modbus 5x") << 0 << 2 << i16 << false << "5x 7" << 4 << 7 << 0 << "5x 7";
        QTest::newRow("modbus 6x") << 0 << 2 << i16 << false << "6x 65535" << 5 << 65535 << 0
                                   << "6x 65535";
        refused("modbus beyond 16 bits", 0, 2, i16, "4x 65536");
        refused("modbus word on a coil", 0, 2, i16, "0x 1");
        refused("modbus bool on a holding register", 0, 2, b, "4x 1");
        refused("modbus bit of a register", 0, 2, b, "4x 1_3");
        refused("modbus panel area", 0, 2, i16, "LW 1");
        refused("modbus lower-case area", 0, 2, i16, "4X 1");
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
        QCOMPARE(c->parseAddress(text, para), area >= 0);
        if (area < 0)
            return;
        QCOMPARE(QVector<int>({para.area, para.address, para.bit}),
                 QVector<int>({area, address, bit}));
        QTEST(c->addressText(para), "written");
    }

    // The project is saved back to the very file it was given; a name or
    // folder set afterwards (a new project) makes the file name again.
    void setProjectFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::newRow("upper-case suffix") << "/a/B.MVPRG"
                                           << "B";
        QTest::newRow("other suffix") << "/a/notes.xml"
                                      << "notes.xml";
        // A relative name is kept absolute, so a later save cannot land at
        // the file-system root.
        QTest::newRow("no folder") << "demo.mvprg"
                                   << "demo";
    }

    void setProjectFile()
    {
        QFETCH(QString, file);
        const QString absolute = QDir::current().absoluteFilePath(file);
        Config *c = Config::instance();
        c->setProjectFile(file);
        QTEST(c->projectName(), "name");
        QCOMPARE(c->projectFile(), absolute);
        c->name = QStringLiteral("fresh");
        QCOMPARE(c->projectFile(), QFileInfo(absolute).path() + "/fresh.mvprg");
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
