#include "project/config.h"

#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString cell(int row, int column)
{
    const QStandardItem *item = Config::instance()->systemRegisterModel()->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

QStringList rowTexts(int row)
{
    QStringList texts;
    for (int column = 0; column < Config::TagColumnCount; ++column)
        texts.append(cell(row, column));
    return texts;
}

} // namespace

class TestBuiltinTables : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Config::instance()->reset();
        Config::instance()->uiLanguage = 0;
    }

    void cleanup() { Config::instance()->loadHardDevices(); }

    void hardwareTable_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("psize");
        QTest::addColumn<int>("serials");
        QTest::addColumn<QString>("image");
        QTest::addColumn<int>("model");

        QTest::newRow("Dune10") << 3 << "Dune10" << 1024 << 600 << 10.0 << 2 << "panel_a.png" << 0;
        QTest::newRow("Fjord5P") << 6 << "Fjord5P" << 800 << 480 << 5.0 << 3 << "panel_b.png" << 1;
    }

    void hardwareTable()
    {
        QFETCH(int, index);
        const Config *c = Config::instance();
        QCOMPARE(c->hardDevices().size(), 7);
        const HardDevice &hd = c->hardDevices().at(index);
        QTEST(hd.name, "name");
        QTEST(int(hd.width), "width");
        QTEST(int(hd.height), "height");
        QFETCH(double, psize);
        QVERIFY(qAbs(hd.psize - psize) < 1e-6);
        QTEST(int(hd.serials), "serials");
        QTEST(hd.image, "image");
        QTEST(int(hd.model), "model");
        QCOMPARE(hd.usb, quint8(0));
        QCOMPARE(c->hardDeviceTexts().at(index),
                 QStringLiteral("%1(%2\u00d7%3)").arg(hd.name).arg(hd.width).arg(hd.height));
    }

    void hardwareLoaderRules()
    {
        Config *c = Config::instance();
        QCOMPARE(c->hardDeviceTexts().value(0), QStringLiteral("Aster5(800×480)"));

        c->loadHardDevices(QStringLiteral("/nonexistent/harddevices.xml"));
        QCOMPARE(c->hardDevices().size(), 7);

        // The table is found below any root, and bad numbers read as 0.
        QTemporaryDir tmp;
        QFile file(tmp.filePath("hd.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<A><B><HardDevice><One width=\"x\" height=\"600\" psize=\"bad\" model=\"1\"/>"
                   "<Two/></HardDevice></B></A>");
        file.close();
        c->loadHardDevices(file.fileName());
        QCOMPARE(c->hardDevices().size(), 2);
        QCOMPARE(c->hardDevices().at(0).name, QStringLiteral("One"));
        QCOMPARE(c->hardDevices().at(0).width, quint16(0));
        QCOMPARE(c->hardDevices().at(0).height, quint16(600));
        QCOMPARE(c->hardDevices().at(0).psize, 0.0f);
        QCOMPARE(c->hardDeviceTexts(), QStringList({"One(0×600)", "Two(0×0)"}));

        // Model of the current hardware decides the panel's protocol; an index
        // past the table falls back to the panel protocol.
        c->hard = 0;
        QCOMPARE(c->deviceProtocol(0), 1);
        c->hard = 2;
        QCOMPARE(c->deviceProtocol(0), 0);
        QVERIFY(!c->currentHardDevice());
    }

    void areaNames_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("panel all") << 0 << 2 << QStringList {"LW", "LW_Bit", "RW", "RW_Bit"};
        QTest::newRow("controller bits")
            << 1 << 1 << QStringList {"S", "X", "Y", "M", "T_Bit", "C_Bit"};
        QTest::newRow("free port") << 3 << 0 << QStringList {};
        QTest::newRow("beyond table") << 99 << 2 << QStringList {};
    }

    void areaNames()
    {
        QFETCH(int, protocol);
        QFETCH(int, kind);
        QTEST(Config::instance()->areaNames(protocol, kind), "names");
    }

    void areaLookups()
    {
        const Config *c = Config::instance();
        QCOMPARE(c->areaIndex(1, "D"), 8);
        QCOMPARE(c->areaIndex(0, "RW_Bit"), 3);
        QCOMPARE(c->areaIndex(0, "lw"), -1);
        QCOMPARE(c->areaIndex(99, "LW"), -1);

        QCOMPARE(c->areaName(1, 8), QStringLiteral("D"));
        QCOMPARE(c->areaName(0, 99), QString());
        QCOMPARE(c->areaName(99, 0), QString());

        const RegisterArea *d = c->findArea(1, "D");
        QVERIFY(d);
        QCOMPARE(d->min, 0);
        QCOMPARE(d->max, 9999);
        QCOMPARE(d->offset, 0x1000);
        QCOMPARE(c->findArea(1, "C_Bit")->offset, 0xC00);
        QVERIFY(!c->findArea(0, "D"));
        QVERIFY(!c->findArea(99, "LW"));

        // An address on an area index past the table reads no area name.
        AddressPara para;
        para.area = 99;
        para.address = 5;
        QCOMPARE(c->addressText(para), QStringLiteral(" 5"));
    }

    void systemRegisterCount_data()
    {
        QTest::addColumn<int>("hard");
        QTest::addColumn<int>("rows");

        QTest::newRow("Aster5") << 0 << 49;
        QTest::newRow("Elm7") << 4 << 847;
        QTest::newRow("beyond table") << 99 << 49;
    }

    void systemRegisterCount()
    {
        QFETCH(int, hard);
        Config *c = Config::instance();
        c->hard = static_cast<quint8>(hard);
        c->loadSystemRegisters();
        QTEST(c->systemRegisterModel()->rowCount(), "rows");
        // Loading again replaces rather than appends.
        c->loadSystemRegisters();
        QTEST(c->systemRegisterModel()->rowCount(), "rows");
        QCOMPARE(c->systemRegisterModel()->columnCount(), int(Config::TagColumnCount));
    }

    void systemRegistersInFileOrder()
    {
        Config *c = Config::instance();
        c->hard = 0;
        c->loadSystemRegisters();
        QCOMPARE(rowTexts(0), QStringList({"年", "本地", "LW 9000", "Int16", "2", "系统时间"}));
        QCOMPARE(rowTexts(48),
                 QStringList({"SIM信号强度", "本地", "LW 9091", "Int16", "2", "物联网"}));
        QCOMPARE(c->tagNames(true).mid(1, 2), QStringList({"月", "日"}));

        c->hard = 4;
        c->loadSystemRegisters();
        QCOMPARE(rowTexts(0), QStringList({"M1000", "本地", "M 1000", "Bool", "1", "上电ON"}));
        QCOMPARE(rowTexts(846).mid(0, 5), QStringList({"D1903", "本地", "D 1903", "Int16", "2"}));
    }

    void systemRegistersTranslated_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QString>("com2Baud");

        QTest::newRow("Chinese") << 0 << QStringList {"年", "本地", "系统时间"} << "COM2波特率";
        QTest::newRow("English") << 1 << QStringList {"Year", "local", "System Datatime"}
                                 << "COM2Baud";
    }

    void systemRegistersTranslated()
    {
        QFETCH(int, language);
        QFETCH(QStringList, first);
        Config *c = Config::instance();
        c->uiLanguage = static_cast<quint8>(language);
        c->loadSystemRegisters();
        QCOMPARE(QStringList({cell(0, Config::NameColumn), cell(0, Config::DeviceColumn),
                              cell(0, Config::MarkColumn)}),
                 first);
        QFETCH(QString, com2Baud);
        QVERIFY(c->tagNames(true).contains(com2Baud));
    }

    void systemRegistersDecode()
    {
        // Every shipped register must decode against the shipped protocols.
        Config *c = Config::instance();
        for (int language : {0, 1}) {
            c->uiLanguage = static_cast<quint8>(language);
            for (int hard : {0, 4}) {
                c->hard = static_cast<quint8>(hard);
                c->loadSystemRegisters();
                for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row) {
                    AddressPara para;
                    QVERIFY2(c->tagAt(true, row, para) == 0, qPrintable(rowTexts(row).join('|')));
                    QCOMPARE(int(para.device), 0);
                    QCOMPARE(c->addressText(para), cell(row, Config::AddressColumn));
                }
            }
        }
        c->uiLanguage = 0;
    }

    void unreadableTableKeepsModel()
    {
        Config *c = Config::instance();
        c->loadSystemRegisters();
        QCOMPARE(c->systemRegisterModel()->rowCount(), 49);
        c->loadSystemRegisters(QStringLiteral("/nonexistent/sysreg.xml"));
        QCOMPARE(c->systemRegisterModel()->rowCount(), 49);
    }
};

QTEST_MAIN(TestBuiltinTables)
#include "tst_builtintables.moc"
