#include "model/builtintables.h"
#include "model/config.h"
#include "services/appsettings.h"
#include "support/filebytes.h"
#include "support/processfixture.h"

#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

QString cell(int row, int column)
{
    const QStandardItem *item = Config::instance()->systemRegisterModel()->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

} // namespace

// The model data shown by the new-project dialog is checked in tst_startpage.
class TestBuiltinTables : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(); }

    void cleanup() { BuiltinTables::instance()->loadHardDevices(); }

    // The shipped tables load without a word; a load replaces the rows (a
    // model past the table takes the first model's), and every shipped
    // register decodes against the shipped protocols, in both interface
    // languages.
    void systemRegistersDecode()
    {
        Config *c = Config::instance();
        BuiltinTables::instance()->takeTableErrors();
        BuiltinTables::instance()->loadHardDevices();
        BuiltinTables::instance()->loadDeviceProtocols();
        for (int language : {0, 1}) {
            AppSettings::instance()->setLanguage(language);
            for (int hard : {0, 4, 99}) {
                c->hard = static_cast<quint8>(hard);
                c->loadSystemRegisters();
                c->loadSystemRegisters();
                QCOMPARE(c->systemRegisterModel()->rowCount(), hard == 4 ? 847 : 49);
                for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row) {
                    AddressPara para;
                    QVERIFY2(c->tagAt(true, row, para) == 0, qPrintable(cell(row, 0)));
                    QCOMPARE(int(para.device), 0);
                    QCOMPARE(c->addressText(para), cell(row, Config::AddressColumn));
                }
            }
        }
        QCOMPARE(BuiltinTables::instance()->takeTableErrors(), QStringList());
    }

    // The inputs a Modbus device only reports are marked read-only, for
    // the checks of writes; no other area of the shipped table is.
    void readOnlyAreas()
    {
        const DeviceProtocolTable &table = BuiltinTables::instance()->deviceProtocolTable();
        QStringList readOnly;
        for (int protocol = 0; protocol < table.protocolNames().size(); ++protocol) {
            for (const RegisterArea &area : table.areas(protocol)) {
                if (area.readOnly)
                    readOnly << table.protocolNames().at(protocol) + ' ' + area.name;
            }
        }
        QCOMPARE(readOnly, QStringList({"Modbus协议 1x", "Modbus协议 3x"}));
    }

    // Switching the interface language reaches the panel's registers that
    // are already listed and the protocols' names; the tool's JSON keeps the
    // table's spelling.
    void languageSwitchReachesBuiltInTexts()
    {
        Config *c = Config::instance();
        c->hard = 0;
        AppSettings::instance()->setLanguage(0);
        BuiltinTables::instance()->retranslate();
        c->loadSystemRegisters();
        QStringList chinese;
        for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row)
            chinese << cell(row, 0) + cell(row, Config::MarkColumn);

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english);
        AppSettings::instance()->setLanguage(1);
        BuiltinTables::instance()->retranslate();
        QStringList switched;
        for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row)
            switched << cell(row, 0) + cell(row, Config::MarkColumn);
        c->loadSystemRegisters();
        QStringList loaded;
        for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row)
            loaded << cell(row, 0) + cell(row, Config::MarkColumn);
        const QString freePort = BuiltinTables::instance()->protocolDisplayNames().value(3);
        QCoreApplication::removeTranslator(&english);
        AppSettings::instance()->setLanguage(0);
        BuiltinTables::instance()->retranslate();

        QVERIFY(switched != chinese);
        QCOMPARE(switched, loaded);
        QCOMPARE(freePort, QStringLiteral("Free port"));
        QCOMPARE(BuiltinTables::instance()->protocolNames().value(3), QStringLiteral("自由口协议"));
        QCOMPARE(BuiltinTables::instance()->protocolDisplayNames().value(3),
                 QStringLiteral("自由口协议"));
    }

    // In English every register of both families reads in English, names
    // and remarks, with the numbers of the table in their places; the typos
    // of the table's keys are not shown.
    void registersReadInEnglish_data()
    {
        QTest::addColumn<int>("hard");
        QTest::addColumn<QString>("mark"); // the table's remark of row
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("shown");
        QTest::newRow("keys") << 0 << "System Infomation" << 14 << "System Information";
        QTest::newRow("numbers")
            << 4 << "1s 时钟脉冲， 0.5s On / 0.5s Off " << 13 << "1 s clock pulse, 0.5 s on / 0.5 s off";
    }
    void registersReadInEnglish()
    {
        QFETCH(int, hard);
        QFETCH(QString, mark);
        QFETCH(int, row);
        QFETCH(QString, shown);
        Config *c = Config::instance();
        c->hard = static_cast<quint8>(hard);
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english);
        AppSettings::instance()->setLanguage(1);
        BuiltinTables::instance()->retranslate();
        c->loadSystemRegisters();
        QStringList chinese;
        const QRegularExpression cjk(QStringLiteral("[\\x{2E80}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
        const QRegularExpression typo(QStringLiteral("Infomation|Datatime"));
        for (int r = 0; r < c->systemRegisterModel()->rowCount(); ++r) {
            for (int column : {int(Config::NameColumn), int(Config::MarkColumn)}) {
                if (cell(r, column).contains(cjk) || cell(r, column).contains(typo))
                    chinese << cell(r, column);
            }
        }
        const QString shownHere = cell(row, Config::MarkColumn);
        QCoreApplication::removeTranslator(&english);
        AppSettings::instance()->setLanguage(0);
        BuiltinTables::instance()->retranslate();
        QCOMPARE(chinese, QStringList());
        QCOMPARE(shownHere, shown);
        // The Chinese interface shows the table's remark, or its text for a key.
        QCOMPARE(BuiltinTables::instance()->registerRemark(mark),
                 hard == 4 ? mark : QStringLiteral("系统信息"));
    }

    // The tables belong to the process, not to a project: closing one keeps
    // them, and each project's register list is filled, cell for cell, from
    // the table kept for its hardware model's family.
    void registersFilledFromKeptTable_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("rows");
        QTest::newRow("panel") << 0 << 49;
        QTest::newRow("panel with controller") << 1 << 847;
    }
    void registersFilledFromKeptTable()
    {
        QFETCH(int, family);
        QFETCH(int, rows);
        BuiltinTables *tables = BuiltinTables::instance();
        tables->takeTableErrors();
        const QVector<HardDevice> models = tables->hardDevices();
        const QStringList protocols = tables->protocolNames();
        const int revision = tables->propertyRegistry().revision();
        const auto model
            = std::find_if(models.cbegin(), models.cend(),
                           [family](const HardDevice &hd) { return hd.model == family; });
        QVERIFY(model != models.cend());

        Config *c = Config::instance();
        c->reset();
        c->hard = quint8(model - models.cbegin());
        c->loadSystemRegisters();
        QCOMPARE(tables->hardDevices().size(), models.size());
        QCOMPARE(tables->protocolNames(), protocols);
        QCOMPARE(tables->propertyRegistry().revision(), revision);

        const QVector<BuiltinTables::Register> *kept
            = tables->systemRegisters(BuiltinTables::systemRegisterFile(family));
        QVERIFY(kept);
        QCOMPARE(kept->size(), rows);
        QCOMPARE(c->systemRegisterModel()->rowCount(), rows);
        const QString category = QStringLiteral("register");
        for (int row = 0; row < rows; ++row) {
            const BuiltinTables::Register &reg = kept->at(row);
            const QStringList expected = {tables->displayName(category, reg.name),
                                          tables->displayName(category, reg.device),
                                          reg.address,
                                          reg.type,
                                          reg.length,
                                          tables->registerRemark(reg.mark)};
            QStringList shown;
            for (int column = 0; column < Config::TagColumnCount; ++column)
                shown << cell(row, column);
            QCOMPARE(shown, expected);
        }
        QCOMPARE(tables->takeTableErrors(), QStringList());
    }

    // A register table is read once per process: a project opened later is
    // filled from what was read, even when the file has gone meanwhile.
    void registerTableReadOnce()
    {
        BuiltinTables *tables = BuiltinTables::instance();
        tables->takeTableErrors();
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("registers.xml"));
        QVERIFY(writeFileBytes(path,
                               "<Register><r name=\"Year\" device=\"local\" "
                               "address=\"LW 1\" type=\"Int16\" length=\"1\"/></Register>"));
        Config *c = Config::instance();
        c->loadSystemRegisters(path);
        QVERIFY(QFile::remove(path));
        c->reset();
        c->systemRegisterModel()->removeRows(0, c->systemRegisterModel()->rowCount());
        c->loadSystemRegisters(path);
        QCOMPARE(c->systemRegisterModel()->rowCount(), 1);
        QCOMPARE(cell(0, Config::AddressColumn), QStringLiteral("LW 1"));
        QCOMPARE(tables->takeTableErrors(), QStringList());
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
        QTest::newRow("registers, missing") << "registers" << QByteArray() << "" << 0;
    }

    void damagedTableIsReported()
    {
        QFETCH(QString, table);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QFETCH(int, rows);
        Config *c = Config::instance();
        BuiltinTables *tables = BuiltinTables::instance();
        tables->takeTableErrors();
        QTemporaryDir tmp;
        const QString path = tmp.filePath(table + ".xml");
        if (!content.isNull())
            QVERIFY(writeFileBytes(path, content));
        auto load = [&] {
            table == "hardware" ? tables->loadHardDevices(path) : c->loadSystemRegisters(path);
        };
        const QString prefix = "内置表 " + path + " 未能载入：";
        const QRegularExpression logged("^" + QRegularExpression::escape(prefix));
        QTest::ignoreMessage(QtWarningMsg, logged);
        load();
        const QStringList errors = tables->takeTableErrors();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(prefix) && errors.first().endsWith(reason),
                 qPrintable(errors.first()));
        if (table == "hardware")
            QCOMPARE(tables->hardDevices().size(), rows);

        // Read again, it fails the same way: logged again, not shown again.
        QTest::ignoreMessage(QtWarningMsg, logged);
        load();
        QVERIFY(tables->takeTableErrors().isEmpty());
    }
};

QTEST_MAIN(TestBuiltinTables)
#include "tst_builtintables.moc"
