#include "project/config.h"
#include "support/filebytes.h"
#include "support/processfixture.h"

#include <QFile>
#include <QRegularExpression>
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

// The model data shown by the new-project dialog is checked in tst_startpage.
class TestBuiltinTables : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(); }

    void cleanup() { Config::instance()->loadHardDevices(); }

    void hardwareTable()
    {
        Config *c = Config::instance();
        QCOMPARE(c->hardDevices().size(), 7);
        QCOMPARE(c->hardDeviceTexts().value(3), QStringLiteral("Dune10(1024×600)"));
        for (const HardDevice &hd : c->hardDevices())
            QVERIFY2(QFile::exists(":/resources/images/product/" + hd.image), qPrintable(hd.name));

        // The table is found below any root, and bad numbers read as 0.
        QTemporaryDir tmp;
        const QString path = tmp.filePath("hd.xml");
        QVERIFY(writeFileBytes(path,
                               "<A><B><HardDevice><One width=\"x\" height=\"600\" "
                               "psize=\"bad\" model=\"1\"/><Two/></HardDevice></B></A>"));
        c->loadHardDevices(path);
        QCOMPARE(c->hardDeviceTexts(), QStringList({"One(0×600)", "Two(0×0)"}));
        QCOMPARE(c->hardDevices().at(0).psize, 0.0f);

        // The current model decides the panel's protocol; an index past the
        // table falls back to the panel protocol.
        c->hard = 0;
        QCOMPARE(c->deviceProtocol(0), 1);
        c->hard = 2;
        QCOMPARE(c->deviceProtocol(0), 0);
    }

    void areaLookups()
    {
        const Config *c = Config::instance();
        QCOMPARE(c->areaNames(0, 2), QStringList({"LW", "LW_Bit", "RW", "RW_Bit"}));
        QCOMPARE(c->areaNames(1, 1), QStringList({"S", "X", "Y", "M", "T_Bit", "C_Bit"}));
        QVERIFY(c->areaNames(3, 0).isEmpty()); // free port
        QCOMPARE(c->areaIndex(1, "D"), 8);
        QCOMPARE(c->areaIndex(0, "lw"), -1);
        QCOMPARE(c->areaName(99, 0), QString());
        const RegisterArea *d = c->findArea(1, "D");
        QVERIFY(d && !c->findArea(0, "D"));
        QCOMPARE(QVector<int>({d->min, d->max, d->offset}), QVector<int>({0, 9999, 0x1000}));
    }

    // A load replaces the rows; a model past the table and a missing file
    // keep the first model's; names and marks follow the interface language.
    void systemRegisters()
    {
        Config *c = Config::instance();
        for (int hard : {0, 4, 99}) {
            c->hard = static_cast<quint8>(hard);
            c->loadSystemRegisters();
            c->loadSystemRegisters();
            QCOMPARE(c->systemRegisterModel()->rowCount(), hard == 4 ? 847 : 49);
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("sysreg.xml"));
        c->loadSystemRegisters(QStringLiteral("/nonexistent/sysreg.xml"));
        QCOMPARE(c->systemRegisterModel()->rowCount(), 49);
        QCOMPARE(c->systemRegisterModel()->columnCount(), int(Config::TagColumnCount));
        QCOMPARE(rowTexts(0), QStringList({"年", "本地", "LW 9000", "Int16", "2", "系统时间"}));
        c->uiLanguage = 1;
        c->loadSystemRegisters();
        QCOMPARE(QStringList({cell(0, Config::NameColumn), cell(0, Config::DeviceColumn),
                              cell(0, Config::MarkColumn)}),
                 QStringList({"Year", "local", "System Datatime"}));
        QVERIFY(c->tagNames(true).contains("COM2Baud"));
    }

    // The shipped tables load without a word, and every shipped register
    // decodes against the shipped protocols, in both interface languages.
    void systemRegistersDecode()
    {
        Config *c = Config::instance();
        c->takeTableErrors();
        c->loadHardDevices();
        c->loadDeviceProtocols();
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
        QCOMPARE(c->takeTableErrors(), QStringList());
    }

    // A table that does not load is logged with its place and kept, once,
    // for the user; what was read before the fault stays.
    void damagedTableIsReported_data()
    {
        QTest::addColumn<QString>("table"); // which loader
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("rows"); // rows read before the fault

        QTest::newRow("hardware, cut short")
            << "hardware" << QByteArray("<HardDevice>\n<One width=\"1\"/>\n<Two wid")
            << "（第 3 行，第 8 列）" << 1;
        QTest::newRow("hardware, no table element")
            << "hardware" << QByteArray("<Devices><One/></Devices>") << "没有 HardDevice 元素" << 7;
        QTest::newRow("protocols, mismatched tag")
            << "protocols"
            << QByteArray("<DeviceProtocol>\n  <p0 name=\"A\"><a name=\"LW\"/></p1>\n"
                          "</DeviceProtocol>")
            << "（第 2 行，第 34 列）" << 1;
        QTest::newRow("registers, bad attribute")
            << "registers"
            << QByteArray("<Register>\n<r name=\"a\"/>\n<r name=\"b\"/>\n<r name=c/>\n</Register>")
            << "（第 4 行，第 9 列）" << 2;
        QTest::newRow("registers, missing") << "registers" << QByteArray() << "" << 0;
    }

    void damagedTableIsReported()
    {
        QFETCH(QString, table);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QFETCH(int, rows);
        Config *c = Config::instance();
        c->takeTableErrors();
        QTemporaryDir tmp;
        const QString path = tmp.filePath(table + ".xml");
        if (!content.isNull())
            QVERIFY(writeFileBytes(path, content));
        auto load = [&] {
            if (table == "hardware")
                c->loadHardDevices(path);
            else if (table == "protocols")
                c->loadDeviceProtocols(path);
            else
                c->loadSystemRegisters(path);
        };
        const QString prefix = "内置表 " + path + " 未能载入：";
        const QRegularExpression logged("^" + QRegularExpression::escape(prefix));
        QTest::ignoreMessage(QtWarningMsg, logged);
        load();
        const QStringList errors = c->takeTableErrors();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(prefix) && errors.first().endsWith(reason),
                 qPrintable(errors.first()));
        if (table == "hardware")
            QCOMPARE(c->hardDevices().size(), rows);
        else if (table == "protocols")
            QCOMPARE(c->protocolNames().size(), rows);
        else if (!content.isNull())
            QCOMPARE(c->systemRegisterModel()->rowCount(), rows);

        // Read again, it fails the same way: logged again, not shown again.
        QTest::ignoreMessage(QtWarningMsg, logged);
        load();
        QVERIFY(c->takeTableErrors().isEmpty());
        c->loadDeviceProtocols();
    }
};

QTEST_MAIN(TestBuiltinTables)
#include "tst_builtintables.moc"
