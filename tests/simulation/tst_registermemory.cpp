// The simulated registers: how values of each format lie in words and bits,
// which areas share memory, what is refused, the clock registers and the
// names a user or a scenario types.

#include "document/projectfile.h"
#include "model/binding.h"
#include "model/config.h"
#include "simulation/registermemory.h"
#include "support/processfixture.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// The panel (LW 0..4999 and RW, system registers from LW 9000), a
// controller with bit and word areas and a Modbus device.
const QByteArray Project = R"(<?xml version="1.0"?><Project>
<Config hard="0" name="m" screen="800,480">
<Language><lan0 name="中文"/></Language>
<Device>
 <dev0 name="PLC1" port="0" protocol="1"/>
 <dev1 name="MB" port="1" protocol="2"/>
</Device>
<AddressLib count="4">
 <label0 address="LW 100" device="本地" length="2" mark="" name="温度" type="Int16"/>
 <label1 address="LW_Bit 100_3" device="本地" length="1" mark="" name="flag" type="Bool"/>
 <label2 address="D 200" device="PLC1" length="6" mark="" name="label" type="String"/>
 <label3 address="LW 6000" device="本地" length="2" mark="" name="beyond" type="Int16"/>
</AddressLib>
</Config>
<Form><Window type="1" objectName="主画面" width="800" height="480"></Window></Form></Project>)";

} // namespace

class TestRegisterMemory : public QObject
{
    Q_OBJECT

private:
    AddressPara address(const RegisterMemory &memory, const QString &text)
    {
        AddressPara para;
        QString error;
        if (!memory.resolveName(text, &para, &error))
            qWarning("%s: %s", qPrintable(text), qPrintable(error));
        return para;
    }

private slots:
    void init()
    {
        ProcessFixture::start();
        QCOMPARE(ProjectFile::loadBytes(Project).status, ProjectFile::Loaded);
        Config::instance()->loadSystemRegisters();
    }
    void cleanup() { ProcessFixture::finish(); }

    // Writes given as "ADDRESS=TEXT" in order, then one address read back:
    // word order, shared stores, bits in words and on bit areas, texts.
    void layout_data()
    {
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QVariant>("expected");
        auto row = [](const char *tag, const QStringList &writes, const char *probe,
                      const QVariant &expected) {
            QTest::newRow(tag) << writes << QString::fromUtf8(probe) << expected;
        };
        row("negative Int16 as Uint16", {"LW 100=-1"}, "LW 100(Uint16)", qint64(65535));
        row("Int32 low word first", {"LW 100(Int32)=65538"}, "LW 100(Uint16)", qint64(2));
        row("Int32 high word second", {"LW 100(Int32)=65538"}, "LW 101(Uint16)", qint64(1));
        row("negative Int32", {"LW 100(Int32)=-2"}, "LW 101(Uint16)", qint64(65535));
        row("Int32 back", {"LW 100(Int32)=-2000000000"}, "LW 100(Int32)", qint64(-2000000000));
        row("Uint32 top", {"LW 100(Uint32)=4294967295"}, "LW 100(Uint32)", qint64(4294967295));
        row("Float high word", {"LW 100(Float)=1.5"}, "LW 101(Uint16)", qint64(0x3FC0));
        row("Float back", {"LW 100(Float)=-0.25"}, "LW 100(Float)", -0.25);
        row("Double top word last", {"LW 100(Double)=1"}, "LW 103(Uint16)", qint64(0x3FF0));
        row("Double back", {"LW 100(Double)=1e300"}, "LW 100(Double)", 1e300);
        row("Int16 rounds", {"LW 100=2.5"}, "LW 100", qint64(3));
        row("bit of word written", {"LW_Bit 100_3=1"}, "LW 100", qint64(8));
        row("bit of word read", {"LW 100=8"}, "LW_Bit 100_3", true);
        row("other bit of word", {"LW 100=8"}, "LW_Bit 100_2", false);
        row("bit cleared keeps others", {"LW 100=15", "LW_Bit 100_0=0"}, "LW 100", qint64(14));
        row("word area's own bit", {"LW 100(Uint16)=32768"}, "LW 100_15(Bool)", true);
        row("RW bits are RW's", {"RW_Bit 5_15=1"}, "RW 5(Uint16)", qint64(32768));
        row("LW is not RW", {"RW 5=7"}, "LW 5", qint64(0));
        row("bit area bit", {"PLC1:M 20=1"}, "PLC1:M 20", true);
        row("word over bits, lowest bit", {"PLC1:M 16(Uint16)=32769"}, "PLC1:M 16", true);
        row("word over bits, top bit", {"PLC1:M 16(Uint16)=32769"}, "PLC1:M 31", true);
        row("bits read as a word", {"PLC1:M 1=1", "PLC1:M 3=1"}, "PLC1:M 0(Int16)", qint64(10));
        row("controller word as Bool", {"PLC1:D 100(Bool)=1"}, "PLC1:D 100", qint64(1));
        row("controller word read as Bool", {"PLC1:D 100=5"}, "PLC1:D 100(Bool)", true);
        row("timer value is not its contact", {"PLC1:T 5=1"}, "PLC1:T_Bit 5", false);
        row("input registers are not holding", {"MB:4x 7=42"}, "MB:3x 7", qint64(0));
        row("text first byte low", {"LW 200(String 5)=abcdef"}, "LW 200(Uint16)",
            qint64('a' | 'b' << 8));
        row("odd text pads its last word", {"LW 200(String 5)=abcdef"}, "LW 202(Uint16)",
            qint64('e'));
        row("text cut to its length", {"LW 200(String 5)=abcdef"}, "LW 200(String 5)", "abcde");
        row("shorter text clears the rest", {"LW 200(String 6)=abcdef", "LW 200(String 6)=xy"},
            "LW 200(String 6)", "xy");
        row("text stops at a zero byte", {"LW 200(String 6)=abcdef", "LW 201=0"},
            "LW 200(String 6)", "ab");
        row("UTF-8 whole", {"LW 200(String 4)=a中b"}, "LW 200(String 4)", "a中");
        row("UTF-8 cut before a split character", {"LW 200(String 3)=a中"}, "LW 200(String 3)",
            "a");
        row("text tag of the controller", {"label=Motor1"}, "PLC1:D 202(Uint16)",
            qint64('r' | '1' << 8));
        row("tag by name", {"温度=21"}, "LW 100", qint64(21));
        row("system register beyond the area", {"LW 9050=3"}, "LW 9050", qint64(3));
        row("untouched reads zero", {}, "MB:4x 65535", qint64(0));
    }

    void layout()
    {
        QFETCH(QStringList, writes);
        QFETCH(QString, probe);
        QFETCH(QVariant, expected);
        RegisterMemory memory;
        for (const QString &write : writes) {
            const int equals = write.lastIndexOf(QLatin1Char('='));
            QString error;
            QVERIFY2(memory.write(address(memory, write.left(equals)), write.mid(equals + 1), &error),
                     qPrintable(write + ": " + error));
        }
        const QVariant actual = memory.read(address(memory, probe));
        QCOMPARE(actual.type(), expected.type());
        QCOMPARE(actual, expected);
    }

    // Values the format cannot hold leave the memory as it was, untouched
    // by revision or signal.
    void refused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("Int16 above") << "LW 100" << QVariant(32768);
        QTest::newRow("Uint16 negative") << "LW 100(Uint16)" << QVariant(-1);
        QTest::newRow("Uint32 above") << "LW 100(Uint32)" << QVariant(4294967296.0);
        QTest::newRow("Float above") << "LW 100(Float)" << QVariant(1e39);
        QTest::newRow("not a number") << "LW 100" << QVariant("abc");
        QTest::newRow("infinite") << "LW 100(Double)" << QVariant(qInf());
        QTest::newRow("Bool two") << "LW_Bit 100_3" << QVariant(2);
        QTest::newRow("clock register") << "LW 9000" << QVariant(2000);
        QTest::newRow("span over the clock") << "LW 9005(Int32)" << QVariant(1);
    }

    void refused()
    {
        QFETCH(QString, target);
        QFETCH(QVariant, value);
        RegisterMemory memory;
        AddressPara para;
        QString error;
        QVERIFY2(memory.resolveName(target, &para, &error), qPrintable(error));
        const QVariant before = memory.read(para);
        QSignalSpy changed(&memory, &RegisterMemory::changed);
        error.clear();
        QVERIFY(!memory.write(para, value, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(memory.revision(), quint64(0));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(memory.read(para), before);
    }

    void revisionGrows()
    {
        RegisterMemory memory;
        QSignalSpy changed(&memory, &RegisterMemory::changed);
        const AddressPara para = address(memory, QStringLiteral("LW 1"));
        QVERIFY(memory.write(para, 5));
        QVERIFY(memory.write(para, 5)); // the same value is still a write
        QCOMPARE(memory.revision(), quint64(2));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(memory.number(para), 5.0);
    }

    // Addresses no store holds: reading gives nothing, writing is refused
    // with a reason.
    void outsideStores_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("format");
        QTest::newRow("no such device") << 9 << 0 << 0 << int(Config::Int16);
        QTest::newRow("no such area") << 0 << 40 << 0 << int(Config::Int16);
        QTest::newRow("above the area") << 0 << 0 << 5000 << int(Config::Int16);
        QTest::newRow("gap before the system registers") << 0 << 0 << 8999 << int(Config::Int16);
        QTest::newRow("past the last system register") << 0 << 0 << 65535 << int(Config::Int16);
        QTest::newRow("span leaves the area") << 0 << 0 << 4998 << int(Config::Double);
        QTest::newRow("text of no length") << 0 << 0 << 10 << int(Config::String);
        QTest::newRow("bit 16 of a word") << 0 << 1 << 10 << int(Config::Bool);
        QTest::newRow("unknown format") << 0 << 0 << 10 << 99;
    }

    void outsideStores()
    {
        QFETCH(int, device);
        QFETCH(int, area);
        QFETCH(int, address);
        QFETCH(int, format);
        RegisterMemory memory;
        AddressPara para;
        para.device = quint8(device);
        para.area = quint8(area);
        para.address = quint16(address);
        para.format = quint8(format);
        para.bit = 16;
        QVERIFY(!memory.read(para).isValid());
        QCOMPARE(memory.number(para), 0.0);
        QString error;
        QVERIFY(!memory.write(para, 1, &error));
        QVERIFY(!error.isEmpty());
    }

    // 2026-03-01 23:59:58, a Sunday, then three seconds later.
    void clock_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("before");
        QTest::addColumn<qint64>("after");
        QTest::newRow("year") << "LW 9000" << qint64(2026) << qint64(2026);
        QTest::newRow("month") << "LW 9001" << qint64(3) << qint64(3);
        QTest::newRow("day") << "LW 9002" << qint64(1) << qint64(2);
        QTest::newRow("hour") << "LW 9003" << qint64(23) << qint64(0);
        QTest::newRow("minute") << "LW 9004" << qint64(59) << qint64(0);
        QTest::newRow("second") << "LW 9005" << qint64(58) << qint64(1);
        QTest::newRow("weekday") << "LW 9006" << qint64(0) << qint64(1);
        QTest::newRow("not a clock register") << "LW 9007" << qint64(0) << qint64(0);
    }

    void clock()
    {
        QFETCH(QString, name);
        QFETCH(qint64, before);
        QFETCH(qint64, after);
        RegisterMemory memory;
        QDateTime now(QDate(2026, 3, 1), QTime(23, 59, 58));
        memory.setClock([&now] { return now; });
        const AddressPara para = address(memory, name);
        QCOMPARE(memory.read(para), QVariant(before));
        now = now.addSecs(3);
        QCOMPARE(memory.read(para), QVariant(after));
    }

    // What a user or a scenario types: the address it names, or why not.
    void resolveName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // device area address bit format length
        auto ok = [](const char *text, const char *expected) {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromLatin1(expected);
        };
        auto bad = [](const char *text) {
            QTest::newRow(text) << QString::fromUtf8(text) << QString();
        };
        ok("温度", "0 0 100 0 Int16 2");
        ok("flag", "0 1 100 3 Bool 1");
        ok("label", "1 8 200 0 String 6");
        ok("LW 100", "0 0 100 0 Int16 0");
        ok("LW_Bit 100_3", "0 1 100 3 Bool 0");
        ok("LW 100(Float)", "0 0 100 0 Float 0");
        ok("LW 100 ( Uint32 )", "0 0 100 0 Uint32 0");
        ok("LW 64H", "0 0 100 0 Int16 0");
        ok("LW 100(String 20)", "0 0 100 0 String 20");
        ok("LW 9000", "0 0 9000 0 Int16 0");
        ok("RW 3149", "0 2 3149 0 Int16 0");
        ok("本地:LW 7", "0 0 7 0 Int16 0");
        ok("PLC1:M 20", "1 3 20 0 Bool 0");
        ok("PLC1:D 100(Int32)", "1 8 100 0 Int32 0");
        ok("PLC1 : D 9999", "1 8 9999 0 Int16 0");
        ok("MB:0x 65535", "2 0 65535 0 Bool 0");
        ok("MB:4x 7", "2 3 7 0 Int16 0");
        bad("");
        bad("ghost");
        bad("beyond"); // a tag whose register lies outside the area
        bad("LW 5000");
        bad("LW 4999(Int32)");
        bad("LW 8000");
        bad("LW 70000");
        bad("LW 100(Bogus)");
        bad("LW 100(String)");
        bad("LW 100(String 256)");
        bad("LW 100(Int16 4)");
        bad("LW_Bit 100");
        bad("LW_Bit 100_16");
        bad("nobody:LW 5");
        bad("PLC1:LW 5");
        bad("PLC1:D 10000");
        bad("MB:0x 5(Int16)");
        bad("X 5");
    }

    void resolveName()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        RegisterMemory memory;
        AddressPara para;
        QString error;
        const bool ok = memory.resolveName(text, &para, &error);
        if (expected.isEmpty()) {
            QVERIFY(!ok);
            QVERIFY(!error.isEmpty());
            return;
        }
        QVERIFY2(ok, qPrintable(error));
        const QString actual = QStringLiteral("%1 %2 %3 %4 %5 %6")
                                   .arg(para.device)
                                   .arg(para.area)
                                   .arg(para.address)
                                   .arg(para.bit)
                                   .arg(Config::dataFormatText(para))
                                   .arg(para.length);
        QCOMPARE(actual, expected);
    }

    // The panel's system registers are found by the name their list shows
    // and by the table's key, which is what a scenario or a file written
    // under the other interface language names them by.
    void systemRegisterByName()
    {
        const QStandardItemModel *system = Config::instance()->systemRegisterModel();
        QVERIFY(system->rowCount() > 1);
        RegisterMemory memory;
        for (const QString &name : {system->item(0, Config::NameColumn)->text(),
                                    QStringLiteral("Year"), QStringLiteral("Month")}) {
            AddressPara para;
            QString error;
            QVERIFY2(memory.resolveName(name, &para, &error), qPrintable(error));
            QCOMPARE(para.address, quint16(name == QLatin1String("Month") ? 9001 : 9000));
        }
    }

    void resolveBinding_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("expected"); // register, or -1 when refused
        QTest::newRow("tag") << "温度" << "" << "" << "" << 100;
        QTest::newRow("tag before own address") << "温度" << "PLC1" << "D 5" << "Int16" << 100;
        QTest::newRow("direct") << "" << "PLC1" << "D 5" << "Int16" << 5;
        QTest::newRow("missing tag") << "ghost" << "" << "" << "" << -1;
        QTest::newRow("no source") << "" << "" << "" << "" << -1;
        QTest::newRow("unknown device") << "" << "PLC9" << "D 5" << "Int16" << -1;
        QTest::newRow("unknown format") << "" << "PLC1" << "D 5" << "Int17" << -1;
        QTest::newRow("bad address") << "" << "PLC1" << "Q 5" << "Int16" << -1;
        QTest::newRow("outside the area") << "" << "PLC1" << "D 10000" << "Int16" << -1;
    }

    void resolveBinding()
    {
        QFETCH(QString, tag);
        QFETCH(QString, device);
        QFETCH(QString, address);
        QFETCH(QString, format);
        QFETCH(int, expected);
        Binding binding;
        binding.tag = tag;
        binding.device = device;
        binding.address = address;
        binding.format = format;
        RegisterMemory memory;
        AddressPara para;
        QString error;
        const bool ok = memory.resolve(binding, &para, &error);
        QCOMPARE(ok, expected >= 0);
        QCOMPARE(error.isEmpty(), ok);
        if (ok)
            QCOMPARE(int(para.address), expected);
    }

    // A tag added or renamed while the simulation runs is found without
    // making the memory again.
    void tagEditsFollowed()
    {
        RegisterMemory memory;
        AddressPara para;
        QVERIFY(!memory.resolveName(QStringLiteral("新"), &para));
        QStandardItemModel *tags = Config::instance()->addressTagModel();
        tags->appendRow({new QStandardItem(QStringLiteral("新")),
                         new QStandardItem(Config::localDeviceName()),
                         new QStandardItem(QStringLiteral("LW 42")),
                         new QStandardItem(QStringLiteral("Int16")), new QStandardItem("2"),
                         new QStandardItem()});
        QVERIFY(memory.resolveName(QStringLiteral("新"), &para));
        QCOMPARE(para.address, quint16(42));
        tags->item(tags->rowCount() - 1, Config::AddressColumn)->setText(QStringLiteral("LW 43"));
        QVERIFY(memory.resolveName(QStringLiteral("新"), &para));
        QCOMPARE(para.address, quint16(43));
    }
};

QTEST_MAIN(TestRegisterMemory)
#include "tst_registermemory.moc"
