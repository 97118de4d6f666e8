// marovin-cli check: exit codes a script can rely on, the text and JSON
// forms, and the language the tool speaks.

#include "support/clirun.h"
#include "support/filebytes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString dataFile(const QString &name)
{
    return QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + QStringLiteral("/check/") + name;
}

// Runs the tool with the locale variables set as given ("NAME=value"),
// every other locale variable removed.
CliRun runCli(const QStringList &arguments, const QStringList &locale = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        environment.remove(QString::fromLatin1(name));
    for (const QString &setting : locale)
        environment.insert(setting.section(QLatin1Char('='), 0, 0),
                           setting.section(QLatin1Char('='), 1));
    return runCliProcess(arguments, environment);
}

} // namespace

class TestCliCheck : public QObject
{
    Q_OBJECT

private slots:
    // A second device nothing uses: a warning, no error.
    void initTestCase()
    {
        QByteArray bytes = fileBytes(dataFile("clean.mvprg"));
        QVERIFY(m_dir.isValid() && bytes.contains("</Device>"));
        bytes.replace("</Device>", "<dev1 name=\"spare\" port=\"0\" protocol=\"1\"/>\n</Device>");
        QVERIFY(writeFileBytes(m_dir.filePath("warnings.mvprg"), bytes));

        // A toggle of a word, a write to the panel's CPU load register.
        bytes = fileBytes(dataFile("clean.mvprg"));
        const QByteArray rect = "objectName=\"rect\" opacity=\"1.00\" penColor=\"#102030\" "
                                "penSize=\"1\" penStyle=\"0\" pos=\"(0,0)\" "
                                "rotation=\"0.00\" width=\"100.00\" zValue=\"1.00\"";
        QVERIFY(bytes.contains(rect + ">"));
        bytes.replace(rect + ">",
                      rect + "><binding action=\"toggle\" kind=\"action\" tag=\"温度\"/>"
                             "<binding action=\"write\" address=\"LW 9016\" device=\"本地\" "
                             "format=\"Int16\" kind=\"action\"/>");
        QVERIFY(writeFileBytes(m_dir.filePath("bindings.mvprg"), bytes));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        // Of stdout, or a part of stderr; with --json the findings' codes.
        QTest::addColumn<QString>("lastLine");

        QTest::newRow("errors") << QStringList {"check", dataFile("faults.mvprg")} << 2
                                << "18 errors, 17 warnings";
        QTest::newRow("clean") << QStringList {"check", dataFile("clean.mvprg")} << 0
                               << "0 errors, 0 warnings";
        QTest::newRow("warnings alone") << QStringList {"check", m_dir.filePath("warnings.mvprg")}
                                        << 0 << "0 errors, 1 warning";
        QTest::newRow("bindings") << QStringList {"check", m_dir.filePath("bindings.mvprg")}
                                  << 2 << "1 error, 1 warning";
        QTest::newRow("bindings, JSON codes")
            << QStringList {"check", m_dir.filePath("bindings.mvprg"), "--json"} << 2
            << "bindingNotBit bindingWritesReadOnly";
        QTest::newRow("missing file")
            << QStringList {"check", dataFile("none.mvprg")} << 1 << "Cannot open";
        QTest::newRow("no file") << QStringList {"check"} << 1 << "Missing project file";
        QTest::newRow("unknown option")
            << QStringList {"check", dataFile("clean.mvprg"), "--xml"} << 1 << "xml";
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, lastLine);
        const CliRun result = runCli(arguments);
        QCOMPARE(result.code, code);
        if (code == 1) {
            QVERIFY2(result.err.contains(lastLine.toUtf8()), result.err.constData());
            QVERIFY(result.out.isEmpty());
        } else if (arguments.contains("--json")) {
            QStringList codes;
            for (const QJsonValue &finding : QJsonDocument::fromJson(result.out).array())
                codes.append(finding.toObject().value("code").toString());
            QCOMPARE(codes.join(' '), lastLine);
        } else {
            QCOMPARE(QString::fromUtf8(result.out.trimmed().split('\n').last()), lastLine);
        }
    }

    // English unless the variable that wins asks for Chinese: LC_ALL over
    // LC_MESSAGES over LANG; an empty variable does not count.
    void language_data()
    {
        QTest::addColumn<QStringList>("locale");
        QTest::addColumn<bool>("chinese");
        QTest::newRow("nothing set") << QStringList() << false;
        QTest::newRow("LANG zh") << QStringList {"LANG=zh_CN.UTF-8"} << true;
        QTest::newRow("LANG en") << QStringList {"LANG=en_US.UTF-8"} << false;
        QTest::newRow("LC_MESSAGES over LANG")
            << QStringList {"LANG=C.UTF-8", "LC_MESSAGES=zh_CN.UTF-8"} << true;
        QTest::newRow("LC_ALL over LC_MESSAGES")
            << QStringList {"LC_ALL=C", "LC_MESSAGES=zh_CN.UTF-8", "LANG=zh_CN.UTF-8"} << false;
        QTest::newRow("LC_ALL zh")
            << QStringList {"LC_ALL=zh_TW.UTF-8", "LANG=en_US.UTF-8"} << true;
        QTest::newRow("empty LC_ALL") << QStringList {"LC_ALL=", "LANG=zh_CN.UTF-8"} << true;
    }
    void language()
    {
        QFETCH(QStringList, locale);
        QFETCH(bool, chinese);
        const CliRun result = runCli({"check", dataFile("faults.mvprg")}, locale);
        QCOMPARE(result.code, 2);
        const QStringList lines = QString::fromUtf8(result.out).trimmed().split('\n');
        QCOMPARE(lines.size(), 36);
        // One line per finding with its place; the local tags of a project
        // written in Chinese are the panel's in English too.
        if (chinese) {
            QVERIFY(lines.contains("错误: 画面 弹窗，图形 away: 图形完全在画面之外"));
            QCOMPARE(lines.last(), QStringLiteral("18 个错误，17 个警告"));
        } else {
            QVERIFY(lines.contains("error: screen 弹窗, shape away: "
                                   "The shape lies wholly outside its screen"));
            QCOMPARE(lines.last(), QStringLiteral("18 errors, 17 warnings"));
        }
    }

    // Each finding is one line, whatever the names: a line break in a name
    // is shown, not printed.
    void oneLinePerFinding()
    {
        QByteArray bytes = fileBytes(dataFile("faults.mvprg"));
        QVERIFY(bytes.contains("objectName=\"away\""));
        bytes.replace("objectName=\"away\"", "objectName=\"a&#10;w&#9;ay\"");
        const QString file = m_dir.filePath("names.mvprg");
        QVERIFY(writeFileBytes(file, bytes));
        const CliRun text = runCli({"check", file});
        QCOMPARE(text.code, 2);
        const QStringList lines = QString::fromUtf8(text.out).trimmed().split('\n');
        QCOMPARE(lines.size(), 36);
        QVERIFY2(lines.contains("error: screen 弹窗, shape a\\nw\\tay: "
                                "The shape lies wholly outside its screen"),
                 text.out.constData());
    }

    // A number beyond its field: check lists it, at its device, as a
    // warning; the other commands' load warning on stderr names it with the
    // value kept.
    void numberOutOfRange()
    {
        QByteArray bytes = fileBytes(dataFile("clean.mvprg"));
        QVERIFY(bytes.contains("baud=\"19200\""));
        bytes.replace("baud=\"19200\"", "baud=\"99999999999999\"");
        const QString file = m_dir.filePath("baud.mvprg");
        QVERIFY(writeFileBytes(file, bytes));
        const CliRun info = runCli({"info", file});
        QCOMPARE(info.code, 0);
        QVERIFY2(info.err.contains("out of range"), info.err.constData());
        QVERIFY2(info.err.contains("dev@baud 99999999999999 \u2192 2147483647"),
                 info.err.constData());

        const CliRun result = runCli({"check", file});
        QCOMPARE(result.code, 0);
        const QStringList lines = QString::fromUtf8(result.out).trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.first().startsWith("warning: device 1 PLC1: dev@baud"),
                 qPrintable(lines.first()));
        QCOMPARE(lines.last(), QStringLiteral("0 errors, 1 warning"));
    }

    // Hundreds of such numbers: the load warning names each place, one per
    // line, stops at ten and points to check; stderr carries no toolkit
    // warning about the pens.
    void manyNumbersOutOfRange()
    {
        QByteArray bytes = fileBytes(dataFile("clean.mvprg"));
        const int end = bytes.indexOf("</Window>");
        QVERIFY(end > 0);
        QByteArray shapes;
        for (int i = 0; i < 300; ++i)
            shapes += "<rectangle objectName=\"wide" + QByteArray::number(i)
                + "\" width=\"1e12\" height=\"5\" penSize=\"100000\"/>";
        bytes.insert(end, shapes);
        const QString file = m_dir.filePath("wide.mvprg");
        QVERIFY(writeFileBytes(file, bytes));

        const CliRun info = runCli({"info", file});
        QCOMPARE(info.code, 0);
        const QStringList lines = QString::fromUtf8(info.err).trimmed().split('\n');
        // The project's own unknown attribute is named before.
        const int head = lines.indexOf(QRegularExpression(".* out of range .*"));
        QVERIFY(head >= 0);
        QCOMPARE(lines.size() - head, 12);
        QVERIFY2(lines.at(head + 1).startsWith("  screen 主画面, shape wide0: rectangle@width 1e12"),
                 qPrintable(lines.at(head + 1)));
        QCOMPARE(lines.last(), QStringLiteral("  … and 590 more; run the check for the whole list."));

        // Shapes that wide leave the screen: errors of their own.
        const CliRun check = runCli({"check", file});
        QCOMPARE(check.code, 2);
        QVERIFY2(!check.err.contains("QPen"), check.err.constData());
        QCOMPARE(check.out.count("is out of range and was replaced by"), 600);
    }

    void jsonForm()
    {
        const CliRun result
            = runCli({"check", dataFile("faults.mvprg"), "--json"}, {"LANG=zh_CN.UTF-8"});
        QCOMPARE(result.code, 2);
        const QJsonArray findings = QJsonDocument::fromJson(result.out).array();
        QCOMPARE(findings.size(), 35);
        int errors = 0;
        QJsonObject outside;
        for (const QJsonValue &value : findings) {
            const QJsonObject finding = value.toObject();
            errors += finding.value("severity").toString() == QLatin1String("error") ? 1 : 0;
            if (finding.value("code").toString() == QLatin1String("shapeOutsideScreen"))
                outside = finding;
        }
        QCOMPARE(errors, 18);
        QCOMPARE(outside.value("message").toString(), QStringLiteral("图形完全在画面之外"));
        const QJsonObject place = outside.value("place").toObject();
        QCOMPARE(QJsonArray({place["kind"], place["screen"], place["screenIndex"], place["shape"]}),
                 QJsonArray({"shape", "弹窗", 0, "away"}));

        // Nothing to report is an empty array, not an empty output.
        const CliRun clean = runCli({"check", dataFile("clean.mvprg"), "--json"});
        QCOMPARE(clean.code, 0);
        const QJsonDocument none = QJsonDocument::fromJson(clean.out);
        QVERIFY(none.isArray() && none.array().isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestCliCheck)
#include "tst_clicheck.moc"
