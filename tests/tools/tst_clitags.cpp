#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "model/taglib/textlib.h"
#include "shapes/graphicsitem.h"
#include "support/filebytes.h"

#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

namespace {

// Loads a project into this process, as the editor would open it.
bool loadProject(const QString &path)
{
    DrawManager::instance()->clear();
    Config::instance()->reset();
    return ProjectFile::load(path).status == ProjectFile::Loaded;
}

const QString golden = QStringLiteral(MAROVIN_TEST_DATA_DIR "/golden.mvprg");
const QString goldenEncoded = QStringLiteral(MAROVIN_TEST_DATA_DIR "/golden-encoded.mvprg");

} // namespace

// `marovin-cli tags`, run as a separate process on the golden project.
class TestCliTags : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString temp(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void cleanup() { DrawManager::instance()->clear(); }

    // An export holds the project's library; an import replaces it, keeps
    // the other library and the rest of the project, in its stored form.
    void exportAndImport_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("exported");
        QTest::addColumn<QString>("imported");
        QTest::newRow("address") << "--address"
                                 << "address.xlsx"
                                 << "in.txt";
        QTest::newRow("text") << "--text"
                              << "text.csv"
                              << "in.xlsx";
    }

    void exportAndImport()
    {
        QFETCH(QString, library);
        QFETCH(QString, exported);
        QFETCH(QString, imported);
        const bool address = library == QLatin1String("--address");
        // The golden project has no text tags; give it some.
        QVERIFY(loadProject(golden));
        const QString screen = DrawManager::instance()->scenes().value(1)->objectName();
        const QVector<TextTagRecord> tags = {{"lamp", {{"开", "on"}, {"关", "off"}}}};
        *Config::instance()->textLib() = TextLib::fromRecords(tags, 2);
        QString error;
        QVERIFY(ProjectFile::write(temp("with-texts.mvprg")));

        CliRun result = runCliProcess(
            {"tags", "export", temp("with-texts.mvprg"), library, "-o", temp(exported)});
        QVERIFY2(result.code == 0, result.err.constData());
        if (address) {
            TagExchange::AddressImport back;
            QVERIFY2(TagExchange::importAddressTags(temp(exported), &back, &error),
                     qPrintable(error));
            QCOMPARE(back.rows, TagExchange::addressRows());
        } else {
            QVector<TextTagRecord> back;
            QVERIFY2(TagExchange::importTextTags(temp(exported), &back, &error), qPrintable(error));
            QCOMPARE(back, tags);
        }

        const QVector<QStringList> rows = {{"Fan", "PLC1", "D 30", "Bool", "1", "风扇"}};
        const bool written = address
            ? TagExchange::exportAddressTags(temp(imported), TagExchange::addressHeader(), rows,
                                             &error)
            : TagExchange::exportTextTags(temp(imported), TagExchange::textHeader(), tags, &error);
        QVERIFY2(written, qPrintable(error));
        const QString out = temp("imported" + library + ".mvprg");
        result
            = runCliProcess({"tags", "import", goldenEncoded, temp(imported), library, "-o", out});
        QVERIFY2(result.code == 0, result.err.constData());
        QVERIFY(loadProject(out));
        QCOMPARE(Config::instance()->encryption, 1);
        QCOMPARE(DrawManager::instance()->scenes().value(1)->objectName(), screen);
        if (address) {
            QCOMPARE(TagExchange::addressRows(), rows);
            QVERIFY(Config::instance()->textLib()->isEmpty());
        } else {
            QCOMPARE(Config::instance()->textLib()->records(), tags);
            QCOMPARE(TagExchange::addressRows().size(), 2);
        }
    }

    // The panel's name in the rows an import writes does not depend on the
    // language the tool speaks: a variable list naming it either way, or no
    // device at all, gives the same project under both.
    void importIsLanguageNeutral()
    {
        const QString list = temp("local.csv");
        QVERIFY(writeFileBytes(list, QTextCodec::codecForName("GBK")->fromUnicode(
                                         "名称,地址,类型,设备,数据格式,备注\r\n"
                                         "A,LW1,WORD,本地,Int16,中\r\n"
                                         "B,LW2,WORD,Local,Int16,en\r\n"
                                         "C,LW3,WORD,,,plain\r\n")));
        QByteArray projects[2];
        const char *languages[2] = {"C", "zh_CN.UTF-8"};
        for (int i = 0; i < 2; ++i) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove("LC_ALL");
            environment.remove("LC_MESSAGES");
            environment.insert("LANG", languages[i]);
            const QString out = temp(QString("neutral-%1.mvprg").arg(i));
            const CliRun result = runCliProcess(
                {"tags", "import", golden, list, "--address", "-o", out}, environment);
            QVERIFY2(result.code == 0, result.err.constData());
            projects[i] = fileBytes(out);
        }
        QVERIFY(!projects[0].isEmpty());
        QCOMPARE(projects[0], projects[1]);
        QVERIFY(loadProject(temp("neutral-0.mvprg")));
        QStringList devices;
        for (const QStringList &row : TagExchange::addressRows())
            devices << row.value(Config::DeviceColumn);
        QCOMPARE(devices, QStringList({"本地", "本地", "本地"}));
    }

    // Tags of a Modbus device come in from a variable list and a workbook
    // alike, keep their addresses and pass the project check.
    void modbusTagsImport_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("variable list") << "csv";
        QTest::newRow("workbook") << "xlsx";
    }

    void modbusTagsImport()
    {
        QFETCH(QString, suffix);
        QVERIFY(loadProject(golden));
        DevicePara meter;
        meter.name = QStringLiteral("Meter");
        meter.protocol = 2;
        meter.port = 1;
        Config::instance()->devices.append(meter);
        const QString project = temp("modbus.mvprg");
        QVERIFY(ProjectFile::write(project));

        const QVector<QStringList> rows = {{"Run", "Meter", "0x 0", "Bool", "1", "coil"},
                                           {"Alarm", "Meter", "1x 65535", "Bool", "1", ""},
                                           {"Flow", "Meter", "3x 12", "Float", "4", "input"},
                                           {"Speed", "Meter", "4x 65535", "Uint16", "2", "set"}};
        const QString tags = temp("modbus." + suffix);
        QString error;
        QVERIFY2(TagExchange::exportAddressTags(tags, TagExchange::addressHeader(), rows, &error),
                 qPrintable(error));
        const QString out = temp("modbus-" + suffix + ".mvprg");
        CliRun result = runCliProcess({"tags", "import", project, tags, "--address", "-o", out});
        QVERIFY2(result.code == 0, result.err.constData());
        QVERIFY(loadProject(out));
        QCOMPARE(TagExchange::addressRows(), rows);

        result = runCliProcess({"check", out, "--json"});
        QVERIFY2(result.code == 0, result.out.constData());
        // The imported tags are bound by nothing: that warning alone.
        for (const QJsonValue &finding : QJsonDocument::fromJson(result.out).array()) {
            const QString code = finding.toObject().value("code").toString();
            QVERIFY2(!code.startsWith("address") || code == "addressTagUnused", qPrintable(code));
        }
        // Only the controller, whose tags the import replaced, goes unused.
        QVERIFY2(!result.out.contains("Meter"), result.out.constData());
    }

    // `tags usage` lists each use of each tag (screen, shape, kind) and the
    // tags nothing uses, as text and as JSON; errors exit with 1.
    void usage()
    {
        QVERIFY(loadProject(golden));
        Config *config = Config::instance();
        QVERIFY(config->addressTagModel()->rowCount() >= 2);
        const QString used = config->addressTagModel()->item(0, Config::NameColumn)->text();
        const QString spare = config->addressTagModel()->item(1, Config::NameColumn)->text();
        *config->textLib() = TextLib::fromRecords({{"lamp", {{"开", "on"}}}, {"spare", {{"x", "y"}}}}, 2);
        DrawScene *scene = nullptr;
        int screenIndex = 0;
        for (DrawScene *each : DrawManager::instance()->scenes()) {
            if (!scene && each->userItems().size() >= 2)
                scene = each;
            screenIndex += scene ? 0 : 1;
        }
        QVERIFY(scene);
        Binding value;
        value.tag = used;
        Binding state = value;
        state.kind = Binding::TextState;
        state.textTag = QStringLiteral("lamp");
        QVERIFY(setShapeBindings(scene->userItems().at(0), {value, state}));
        // A tag and a text tag the libraries lack, and a system register,
        // which is no missing tag: named as the tool's English list names it.
        Binding lost;
        lost.kind = Binding::TextState;
        lost.tag = QStringLiteral("Gone");
        lost.textTag = QStringLiteral("lost");
        Binding system;
        const HardDevice *hardware = config->currentHardDevice();
        const QVector<BuiltinTables::Register> *registers = BuiltinTables::instance()->systemRegisters(
            BuiltinTables::systemRegisterFile(hardware ? hardware->model : 0));
        QVERIFY(registers && !registers->isEmpty());
        system.tag = registers->first().name;
        QVERIFY(setShapeBindings(scene->userItems().at(1), {value, lost, system}));
        const QString project = temp("usage.mvprg");
        QVERIFY(ProjectFile::write(project));

        QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
        english.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        CliRun result = runCliProcess({"tags", "usage", project, "--json"}, english);
        QVERIFY2(result.code == 0, result.err.constData());
        const QJsonObject out = QJsonDocument::fromJson(result.out).object();
        const QJsonObject address = out.value("addressTags").toObject();
        const QJsonObject first = address.value("tags").toArray().at(0).toObject();
        QCOMPARE(first.value("name").toString(), used);
        QCOMPARE(first.value("shapes").toInt(), 2);
        const QJsonArray uses = first.value("uses").toArray();
        QCOMPARE(uses.size(), 3);
        const QJsonObject second = uses.at(1).toObject();
        QCOMPARE(second.value("screen").toString(), scene->objectName());
        QCOMPARE(second.value("screenIndex").toInt(), screenIndex);
        QCOMPARE(second.value("shapeIndex").toInt(), 0);
        QCOMPARE(second.value("binding").toInt(), 1);
        QCOMPARE(second.value("kind").toString(), QStringLiteral("textstate"));
        QCOMPARE(address.value("unused").toArray().first().toString(), spare);
        const QJsonObject texts = out.value("textTags").toObject();
        QCOMPARE(texts.value("tags").toArray().at(0).toObject().value("shapes").toInt(), 1);
        QCOMPARE(texts.value("unused").toArray(), QJsonArray({"spare"}));
        const QJsonArray missing = address.value("missing").toArray();
        QVERIFY2(missing.size() == 1, QJsonDocument(missing).toJson().constData());
        QCOMPARE(missing.at(0).toObject().value("name").toString(), QStringLiteral("Gone"));
        QCOMPARE(missing.at(0).toObject().value("uses").toArray().at(0).toObject().value("binding").toInt(), 1);
        QCOMPARE(texts.value("missing").toArray().at(0).toObject().value("name").toString(),
                 QStringLiteral("lost"));

        result = runCliProcess({"tags", "usage", project}, english);
        QVERIFY2(result.code == 0, result.err.constData());
        const QStringList lines = QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts);
        const int rows = config->addressTagModel()->rowCount();
        // Three uses of one tag, one of a text tag; one line per unused tag;
        // one per use of a missing tag and their count.
        QCOMPARE(lines.size(), 3 + (rows - 1) + 1 + 1 + 1 + 2 + 1);
        QVERIFY2(lines.at(1).startsWith("address tag " + used + ": ")
                     && lines.at(1).endsWith(")"), qPrintable(lines.at(1)));
        QCOMPARE(lines.at(lines.size() - 2),
                 QStringLiteral("%1 of %2 address tags unused, 1 of 2 text tags unused")
                     .arg(rows - 1).arg(rows));
        QCOMPARE(lines.filter("missing address tag Gone: ").size(), 1);
        QCOMPARE(lines.filter("missing text tag lost: ").size(), 1);
        QCOMPARE(lines.last(), QStringLiteral("Missing tags that bindings name: address 1, text 1"));

        for (const QStringList &wrong : {QStringList {"tags", "usage"},
                                         QStringList {"tags", "usage", project, "more"},
                                         QStringList {"tags", "usage", temp("none.mvprg")}}) {
            result = runCliProcess(wrong, english);
            QCOMPARE(result.code, 1);
            QVERIFY(result.out.isEmpty());
            QVERIFY(!result.err.isEmpty());
        }
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message"); // a part of the text on stderr
        QTest::addColumn<QString>("notWritten");

        const QString out = temp("never.mvprg");
        QTest::newRow("unreadable tag file")
            << QStringList {"tags", "import", golden, temp("none.xlsx"), "--text", "-o", out}
            << "none.xlsx" << out;
        QTest::newRow("export suffix")
            << QStringList {"tags", "export", golden, "--text", "-o", temp("tags.xls")}
            << "tags.xls" << temp("tags.xls");
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(QString, notWritten);
        const CliRun result = runCliProcess(arguments);
        QCOMPARE(result.code, 1);
        QVERIFY(result.out.isEmpty());
        QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
        QVERIFY(!QFileInfo::exists(notWritten));
    }

    // An import that would overwrite what it reads, write no project, or
    // write one the library dialogs refuse at 确定 fails and writes nothing.
    void importRefused_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("tagFile");
        QTest::addColumn<QByteArray>("bytes"); // of a .csv tag file
        QTest::addColumn<QString>("output"); // "project", "tag link" or a file name
        QTest::addColumn<QStringList>("messages"); // parts of stderr

        const QByteArray fine = "h\nFan,LW1,WORD,,,\n";
        QTest::newRow("output is the project") << "--address" << "fine.csv" << fine << "project"
                                               << QStringList{"must not be one of the input"};
        QTest::newRow("output links to the tag file")
            << "--address" << "fine.csv" << fine << "tag link"
            << QStringList{"must not be one of the input"};
        QTest::newRow("output not a project") << "--address" << "fine.csv" << fine << "out.csv"
                                              << QStringList{".mvprg file"};
        QTest::newRow("empty tag file") << "--text" << "empty.csv" << QByteArray("") << "out.mvprg"
                                        << QStringList{"empty"};
        QTest::newRow("address rows") << "--address" << "rows.xlsx" << QByteArray() << "out.mvprg"
                                      << QStringList{"Row 1: the address tag name is invalid",
                                                     "Row 2: the device does not exist",
                                                     "Row 3: the address is invalid",
                                                     "not written"};
        QTest::newRow("variable list naming a device the project lacks")
            << "--address" << "stray.csv" << QByteArray("h\nz,LW4,WORD,PLC9,Int16,r\n")
            << "out.mvprg" << QStringList{"Row 1: the device does not exist", "not written"};
        // The project file cannot carry control characters: such a name is
        // written empty.
        QTest::newRow("control character name")
            << "--address" << "ctl.csv" << QByteArray("h\n\x01,LW1,WORD,,,\n") << "out.mvprg"
            << QStringList{"Row 1: the address tag name is invalid", "not written"};
        QTest::newRow("text header without names, a language first")
            << "--text" << "lang.csv" << QByteArray("English,中文\nOff,关\nOn,开\n") << "out.mvprg"
            << QStringList{"holds a language's texts"};
        QTest::newRow("text names") << "--text" << "names.csv"
                                    << QByteArray("标签名称,a\nA,1\n,2\n\"\",3\nA,4\n") << "out.mvprg"
                                    << QStringList{"rows 1 and 4 have the same name",
                                                   "row 3 has no name", "not written"};
    }

    void importRefused()
    {
        QFETCH(QString, library);
        QFETCH(QString, tagFile);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, output);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        const QString tags = dir.filePath(tagFile);
        if (tagFile.endsWith(".xlsx")) {
            QVERIFY(loadProject(golden));
            QString error;
            QVERIFY2(TagExchange::exportAddressTags(tags, TagExchange::addressHeader(),
                                                    {{"", "本地", "LW 1", "Int16", "2", ""},
                                                     {"X", "Nope", "LW 2", "Int16", "2", ""},
                                                     {"Y", "本地", "bad", "Int16", "2", ""}},
                                                    &error),
                     qPrintable(error));
        } else {
            QVERIFY(writeFileBytes(tags, bytes));
        }
        const QString project = dir.filePath("plant.mvprg");
        QVERIFY(QFile::copy(golden, project));
        QString out = dir.filePath(output);
        if (output == QLatin1String("project"))
            out = project;
        if (output == QLatin1String("tag link")) {
            out = dir.filePath("link.mvprg");
            QVERIFY(QFile::link(tags, out));
        }
        const QByteArray projectBytes = fileBytes(project);
        const QByteArray tagBytes = fileBytes(tags);

        QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
        english.insert("LC_ALL", "C");
        const CliRun result
            = runCliProcess({"tags", "import", project, tags, library, "-o", out}, english);
        QCOMPARE(result.code, 1);
        for (const QString &message : messages)
            QVERIFY2(result.err.contains(message.toUtf8()), result.err.constData());
        QCOMPARE(fileBytes(project), projectBytes);
        QCOMPARE(fileBytes(tags), tagBytes);
        if (out != project && !QFileInfo(out).isSymLink())
            QVERIFY(!QFileInfo::exists(out));
    }
};

QTEST_MAIN(TestCliTags)
#include "tst_clitags.moc"
