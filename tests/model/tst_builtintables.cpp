#include "model/config.h"
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

    void cleanup() { Config::instance()->loadHardDevices(); }

    // The shipped tables load without a word; a load replaces the rows (a
    // model past the table takes the first model's), and every shipped
    // register decodes against the shipped protocols, in both interface
    // languages.
    void systemRegistersDecode()
    {
        Config *c = Config::instance();
        c->takeTableErrors();
        c->loadHardDevices();
        c->loadDeviceProtocols();
        for (int language : {0, 1}) {
            c->uiLanguage = static_cast<quint8>(language);
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
        QCOMPARE(c->takeTableErrors(), QStringList());
    }

    // Switching the interface language reaches the panel's registers that
    // are already listed and the protocols' names; the tool's JSON keeps the
    // table's spelling.
    void languageSwitchReachesBuiltInTexts()
    {
        Config *c = Config::instance();
        c->hard = 0;
        c->uiLanguage = 0;
        c->retranslate();
        c->loadSystemRegisters();
        QStringList chinese;
        for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row)
            chinese << cell(row, 0) + cell(row, Config::MarkColumn);

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english);
        c->uiLanguage = 1;
        c->retranslate();
        QStringList switched;
        for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row)
            switched << cell(row, 0) + cell(row, Config::MarkColumn);
        c->loadSystemRegisters();
        QStringList loaded;
        for (int row = 0; row < c->systemRegisterModel()->rowCount(); ++row)
            loaded << cell(row, 0) + cell(row, Config::MarkColumn);
        const QString freePort = c->protocolDisplayNames().value(3);
        QCoreApplication::removeTranslator(&english);
        c->uiLanguage = 0;
        c->retranslate();

        QVERIFY(switched != chinese);
        QCOMPARE(switched, loaded);
        QCOMPARE(freePort, QStringLiteral("Free port"));
        QCOMPARE(c->protocolNames().value(3), QStringLiteral("自由口协议"));
        QCOMPARE(c->protocolDisplayNames().value(3), QStringLiteral("自由口协议"));
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
        c->uiLanguage = 1;
        c->retranslate();
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
        c->uiLanguage = 0;
        c->retranslate();
        QCOMPARE(chinese, QStringList());
        QCOMPARE(shownHere, shown);
        // The Chinese interface shows the table's remark, or its text for a key.
        QCOMPARE(c->registerRemark(mark), hard == 4 ? mark : QStringLiteral("系统信息"));
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
        c->takeTableErrors();
        QTemporaryDir tmp;
        const QString path = tmp.filePath(table + ".xml");
        if (!content.isNull())
            QVERIFY(writeFileBytes(path, content));
        auto load = [&] {
            table == "hardware" ? c->loadHardDevices(path) : c->loadSystemRegisters(path);
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

        // Read again, it fails the same way: logged again, not shown again.
        QTest::ignoreMessage(QtWarningMsg, logged);
        load();
        QVERIFY(c->takeTableErrors().isEmpty());
    }
};

QTEST_MAIN(TestBuiltinTables)
#include "tst_builtintables.moc"
