// marovin-cli simulate and render --set/--lang on the small panel of
// tests/data/simulation: the exit codes a script relies on, the scenarios of
// each binding kind, and what the pictures show.

#include "support/clirun.h"

#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString dataFile(const QString &name)
{
    return QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + QStringLiteral("/simulation/") + name;
}

const QString Panel = dataFile(QStringLiteral("panel.mvprg"));

// In English, whatever the machine's locale.
CliRun runCli(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    return runCliProcess(arguments, environment);
}

QString colourAt(const QString &picture, const QPoint &point)
{
    const QImage image(picture);
    return image.isNull() ? QStringLiteral("(no picture)") : image.pixelColor(point).name();
}

} // namespace

class TestCliSimulate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile file(m_dir.filePath(QStringLiteral("back.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("time,action,target,value\n2,wait\n1,wait\n");
        file.close();
        QFile snap(m_dir.filePath(QStringLiteral("snap.csv")));
        QVERIFY(snap.open(QIODevice::WriteOnly));
        snap.write("time,action,target,value\n0,snapshot\n");
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        // The start of stdout's last line, or a part of stderr.
        QTest::addColumn<QString>("text");

        QTest::newRow("values") << QStringList {"simulate", Panel, dataFile("value.csv")} << 0
                                << "Passed: 12 steps, 7 expectations";
        QTest::newRow("text states")
            << QStringList {"simulate", Panel, dataFile("textstate.csv")} << 0
            << "Passed: 5 steps, 3 expectations";
        QTest::newRow("actions and the clock")
            << QStringList {"simulate", Panel, dataFile("action.csv")} << 0
            << "Passed: 27 steps, 12 expectations";
        QTest::newRow("an expectation fails")
            << QStringList {"simulate", Panel, dataFile("failing.csv")} << 2
            << "Failed: Line 4 (expect 温度): expected 13, actual 12";
        QTest::newRow("scenario going back in time")
            << QStringList {"simulate", Panel, m_dir.filePath("back.csv")} << 1 << "Line 3:";
        QTest::newRow("no scenario file")
            << QStringList {"simulate", Panel, m_dir.filePath("none.csv")} << 1 << "none.csv";
        QTest::newRow("no project file")
            << QStringList {"simulate", m_dir.filePath("none.mvprg"), dataFile("value.csv")} << 1
            << "none.mvprg";
        QTest::newRow("scenario missing") << QStringList {"simulate", Panel} << 1
                                          << "Missing scenario file";
        QTest::newRow("one argument too many")
            << QStringList {"simulate", Panel, dataFile("value.csv"), "more"} << 1 << "more";
        QTest::newRow("snapshot without a folder")
            << QStringList {"simulate", Panel, m_dir.filePath("snap.csv")} << 1 << "line 2";
        QTest::newRow("render's options refused")
            << QStringList {"simulate", Panel, dataFile("value.csv"), "--set", "a=1"} << 1
            << "--set";
        QTest::newRow("--set with another command")
            << QStringList {"info", Panel, "--set", "flag=1"} << 1 << "--set";
        QTest::newRow("--lang not a number")
            << QStringList {"render", Panel, "-o", m_dir.filePath("r"), "--lang", "en"} << 1
            << "--lang";
        QTest::newRow("--lang past the languages")
            << QStringList {"render", Panel, "-o", m_dir.filePath("r"), "--lang", "2"} << 1
            << "2 languages";
        QTest::newRow("--set without a value")
            << QStringList {"render", Panel, "-o", m_dir.filePath("r"), "--set", "flag"} << 1
            << "--set";
        QTest::newRow("--set of nothing")
            << QStringList {"render", Panel, "-o", m_dir.filePath("r"), "--set", "nothing=1"}
            << 1 << "nothing=1";
        QTest::newRow("--set beyond the register")
            << QStringList {"render", Panel, "-o", m_dir.filePath("r"), "--set", "温度=99999"}
            << 1 << "温度=99999";
        QTest::newRow("--screen of no screen")
            << QStringList {"render", Panel, "-o", m_dir.filePath("r"), "--set", "flag=1",
                            "--screen", "nothing"}
            << 1 << "nothing";
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, text);
        const CliRun result = runCli(arguments);
        QCOMPARE(result.code, code);
        if (code == 1) {
            QVERIFY2(QString::fromUtf8(result.err).contains(text), result.err.constData());
            QVERIFY(result.out.isEmpty());
        } else {
            QVERIFY2(result.err.isEmpty(), result.err.constData());
            const QString last = QString::fromUtf8(result.out.trimmed()).split('\n').last();
            QVERIFY2(last.startsWith(text), qPrintable(last));
        }
    }

    void json()
    {
        CliRun result = runCli({"simulate", Panel, dataFile("failing.csv"), "--json"});
        QCOMPARE(result.code, 2);
        QJsonObject root = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(root.value("ok").toBool(true), false);
        QCOMPARE(root.value("steps").toInt(), 3);
        const QJsonObject failure = root.value("failure").toObject();
        QCOMPARE(failure.value("line").toInt(), 4);
        QCOMPARE(failure.value("expected").toString(), QStringLiteral("13"));
        QCOMPARE(failure.value("actual").toString(), QStringLiteral("12"));

        result = runCli({"simulate", Panel, dataFile("textstate.csv"), "--json"});
        QCOMPARE(result.code, 0);
        root = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(root.value("ok").toBool(), true);
        QCOMPARE(root.value("expectations").toInt(), 3);
        QVERIFY(!root.contains("failure"));
    }

    // The kinds a scenario sees only in pictures: what a snapshot shows at
    // the shape, as the bindings have it at that time.
    void snapshots_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("colour");
        const QPoint lamp(350, 130);
        const QPoint image(520, 120);
        QTest::newRow("hidden") << "visible.csv" << "hidden.png" << lamp << "#ffffff";
        QTest::newRow("shown") << "visible.csv" << "shown.png" << lamp << "#00ff00";
        QTest::newRow("low range") << "colours.csv" << "low.png" << lamp << "#00ff00";
        QTest::newRow("high range") << "colours.csv" << "high.png" << lamp << "#ff0000";
        QTest::newRow("picture of state 0") << "picture.csv" << "off.png" << image << "#0000ff";
        QTest::newRow("picture of state 1") << "picture.csv" << "on.png" << image << "#ffff00";
    }

    void snapshots()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, picture);
        QFETCH(QPoint, point);
        QFETCH(QString, colour);
        const QString folder = m_dir.filePath("snapshots/" + scenario);
        const CliRun result = runCli({"simulate", Panel, dataFile(scenario), "-o", folder});
        QCOMPARE(result.code, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        QCOMPARE(QImage(QDir(folder).filePath(picture)).size(), QSize(800, 480));
        QCOMPARE(colourAt(QDir(folder).filePath(picture), point), colour);
    }

    // render draws as the running panel shows when given values or a
    // language; without them the screens as designed, each at its own size.
    void render()
    {
        const QString set = m_dir.filePath("set");
        CliRun result = runCli({"render", Panel, "-o", set, "--set", "flag=1", "--set",
                                "温度=150", "--set", "LW 120(Float)=2.5"});
        QCOMPARE(result.code, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        // Templates are never shown alone; a window opens over a base screen.
        QCOMPARE(QDir(set).entryList(QDir::Files),
                 QStringList({"主画面.png", "弹窗.png", "第二页.png"}));
        QCOMPARE(colourAt(QDir(set).filePath("主画面.png"), {350, 130}), QStringLiteral("#ff0000"));
        QCOMPARE(colourAt(QDir(set).filePath("主画面.png"), {520, 120}), QStringLiteral("#ffff00"));
        QCOMPARE(QImage(QDir(set).filePath("弹窗.png")).size(), QSize(800, 480));
        QCOMPARE(colourAt(QDir(set).filePath("弹窗.png"), {400, 240}), QStringLiteral("#c0c0ff"));
        // The lamp lies outside the window, on the base screen under it.
        QCOMPARE(colourAt(QDir(set).filePath("弹窗.png"), {350, 110}), QStringLiteral("#ff0000"));

        const QString designed = m_dir.filePath("designed");
        result = runCli({"render", Panel, "-o", designed});
        QCOMPARE(result.code, 0);
        QCOMPARE(QImage(QDir(designed).filePath("弹窗.png")).size(), QSize(400, 240));
        QCOMPARE(colourAt(QDir(designed).filePath("主画面.png"), {350, 130}),
                 QStringLiteral("#808080"));

        // The text state in each language: the pictures differ at it alone.
        QImage languages[2];
        for (int language : {0, 1}) {
            const QString folder = m_dir.filePath(QStringLiteral("lang%1").arg(language));
            result = runCli({"render", Panel, "-o", folder, "--lang", QString::number(language),
                             "--screen", "主画面"});
            QCOMPARE(result.code, 0);
            QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList {"主画面.png"});
            languages[language] = QImage(QDir(folder).filePath("主画面.png"));
        }
        QCOMPARE(languages[0].size(), languages[1].size());
        QVERIFY(languages[0].copy(20, 80, 160, 40) != languages[1].copy(20, 80, 160, 40));
        QVERIFY(languages[0].copy(290, 90, 260, 80) == languages[1].copy(290, 90, 260, 80));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestCliSimulate)
#include "tst_clisimulate.moc"
