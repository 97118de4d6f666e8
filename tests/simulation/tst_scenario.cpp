// Scenario files as read and written, and scenarios played on the simulated
// panel of tests/data/simulation/panel.mvprg: the runner's verdicts, and a
// recording that plays back the same.

#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "model/config.h"
#include "simulation/registermemory.h"
#include "simulation/registertext.h"
#include "simulation/scenario.h"
#include "simulation/scenariorecorder.h"
#include "simulation/scenariorunner.h"
#include "simulation/simulation.h"
#include "support/processfixture.h"

#include <QMetaEnum>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

namespace {

QString dataFile(const QString &name)
{
    return QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + QStringLiteral("/simulation/") + name;
}

// "LINE TIME ACTION TARGET=VALUE" per step, "|" between steps.
QString summary(const Scenario &scenario)
{
    QStringList steps;
    for (const Scenario::Step &step : scenario.steps)
        steps << QStringLiteral("%1 %2 %3 %4=%5")
                     .arg(step.line)
                     .arg(Scenario::timeText(step.msec), Scenario::actionKey(step.action),
                          step.target, step.value);
    return steps.join(QLatin1Char('|'));
}

Scenario scenarioOf(const QByteArray &text)
{
    Scenario scenario;
    QString error;
    if (!Scenario::parse("time,action,target,value\n" + text, &scenario, &error))
        qWarning("%s", qPrintable(error));
    return scenario;
}

bool loadPanel()
{
    ProcessFixture::start();
    const QString file = dataFile(QStringLiteral("panel.mvprg"));
    if (ProjectFile::load(file).status != ProjectFile::Loaded)
        return false;
    Config::instance()->setPictureFolder(QFileInfo(file).absolutePath());
    Config::instance()->loadSystemRegisters();
    return true;
}

} // namespace

class TestScenario : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ProcessFixture::finish(); }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // The steps (see summary()), or the start of the error.
        QTest::addColumn<QString>("result");

        QTest::newRow("each action")
            << QByteArray("time,action,target,value\n0,set,LW 100,42\n0.5,press,go,\n"
                          "0.5,release,go,\n1,click,go,\n2,wait,,\n2,expect,温度,4.5\n"
                          "2,expect-screen,主画面,\n3,snapshot,,end.png\n3,snapshot,,\n")
            << "2 0 set LW 100=42|3 0.5 press go=|4 0.5 release go=|5 1 click go=|6 2 wait =|"
               "7 2 expect 温度=4.5|8 2 expect-screen 主画面=|9 3 snapshot =end.png|"
               "10 3 snapshot =";
        QTest::newRow("empty time is the row before's; notes and blank rows skipped")
            << QByteArray("# a note\ntime,action,target,value\n\n1.25,set,a,1\n,click,b\n"
                          "#2,set,a,2\n ,set,a,3\n")
            << "4 1.25 set a=1|5 1.25 click b=|7 1.25 set a=3";
        QTest::newRow("quoted cells, the line after a break in one")
            << QByteArray("time,action,target,value\r\n1,set,name,\"a,\"\"b\"\"\r\nc\"\r\n"
                          "2,set,LW 1,'-5\r\n")
            << "2 1 set name=a,\"b\"\r\nc|4 2 set LW 1=-5";
        QTest::newRow("marked UTF-8, header in capitals, padded rows, spaces around cells")
            << QByteArray("\xEF\xBB\xBF Time , ACTION,target,Value,,\n 1 , Click , go ,,,\n")
            << "2 1 click go=";
        QTest::newRow("GBK") << QTextCodec::codecForName("GBK")->fromUnicode(
            QStringLiteral("time,action,target,value\n0,expect,温度,1\n"))
                             << "2 0 expect 温度=1";
        QTest::newRow("milliseconds rounded half up")
            << QByteArray("time,action,target,value\n0.0004,wait\n1.0005,wait\n2.9999,wait\n")
            << "2 0 wait =|3 1.001 wait =|4 3 wait =";
        QTest::newRow("a value kept as written, spaces too")
            << QByteArray("time,action,target,value\n0,set,name, a b \n")
            << "2 0 set name= a b ";

        QTest::newRow("empty file") << QByteArray() << "文件是空的";
        QTest::newRow("notes only") << QByteArray("# nothing\n\n") << "文件是空的";
        QTest::newRow("no header") << QByteArray("0,set,a,1\n") << "第 1 行：";
        QTest::newRow("header in another order")
            << QByteArray("time,target,action,value\n") << "第 1 行：";
        QTest::newRow("time going back")
            << QByteArray("time,action,target,value\n2,wait\n\n1.5,wait\n") << "第 4 行：时间 1.5 早于";
        QTest::newRow("negative time") << QByteArray("time,action,target,value\n-1,wait\n")
                                       << "第 2 行：时间“-1”";
        QTest::newRow("exponent") << QByteArray("time,action,target,value\n1e3,wait\n")
                                  << "第 2 行：时间“1e3”";
        QTest::newRow("comma decimal") << QByteArray("time,action,target,value\n\"1,5\",wait\n")
                                       << "第 2 行：时间“1,5”";
        QTest::newRow("past the longest run")
            << QByteArray("time,action,target,value\n604801,wait\n") << "第 2 行：时间 604801 超过";
        QTest::newRow("unknown action")
            << QByteArray("time,action,target,value\n0,tap,go\n") << "第 2 行：未知动作“tap”";
        QTest::newRow("no action") << QByteArray("time,action,target,value\n0,,go\n")
                                   << "第 2 行：缺少动作";
        QTest::newRow("set without target")
            << QByteArray("time,action,target,value\n0,set,,1\n") << "第 2 行：set 需要目标";
        QTest::newRow("press with a value")
            << QByteArray("time,action,target,value\n0,press,go,1\n") << "第 2 行：press 不接受值";
        QTest::newRow("wait with a target")
            << QByteArray("time,action,target,value\n0,wait,go\n") << "第 2 行：wait 不接受";
        QTest::newRow("snapshot with a target")
            << QByteArray("time,action,target,value\n0,snapshot,主画面,a.png\n")
            << "第 2 行：snapshot 不接受目标";
        QTest::newRow("snapshot into another folder")
            << QByteArray("time,action,target,value\n0,snapshot,,../a.png\n") << "第 2 行：图片文件名";
        QTest::newRow("snapshot into a subfolder")
            << QByteArray("time,action,target,value\n0,snapshot,,b/a.png\n") << "第 2 行：图片文件名";
        QTest::newRow("hidden snapshot")
            << QByteArray("time,action,target,value\n0,snapshot,,.a.png\n") << "第 2 行：图片文件名";
        QTest::newRow("a fifth cell")
            << QByteArray("time,action,target,value\n0,set,a,1,2\n") << "第 2 行：多余的列：2";
        QTest::newRow("quote never closed")
            << QByteArray("time,action,target,value\n0,set,a,1\n\n1,set,a,\"2\n3\n")
            << "第 4 行：引号没有闭合";
        QTest::newRow("neither UTF-8 nor GBK")
            << QByteArray("time,action,target,value\n0,set,a,\x81") << "文件既不是";
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, result);
        Scenario scenario;
        scenario.steps.append(Scenario::Step());
        QString error;
        const bool ok = Scenario::parse(bytes, &scenario, &error);
        if (ok) {
            QCOMPARE(summary(scenario), result);
        } else {
            QVERIFY2(error.startsWith(result), qPrintable(error));
            // A refused file leaves what the caller held alone.
            QCOMPARE(scenario.steps.size(), 1);
        }
    }

    // What is written reads back as the same steps; the file keeps the
    // text of each cell whatever it holds.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "LW 100" << "42";
        QTest::newRow("comma and quotes") << "name" << "a, \"b\"";
        QTest::newRow("line breaks") << "name" << "one\ntwo\r\nthree";
        QTest::newRow("formula starts") << "=target" << "-5";
        QTest::newRow("apostrophes before a formula start") << "name" << "''+1";
        QTest::newRow("empty value") << "name" << "";
        QTest::newRow("leading spaces kept") << "name" << "  x";
        QTest::newRow("Chinese and beyond the first plane") << "温度" << "\U0001F600 开";
        QTest::newRow("note sign") << "name" << "#1";
    }

    void roundTrip()
    {
        QFETCH(QString, target);
        QFETCH(QString, value);
        Scenario written;
        written.steps.append({0, 1500, Scenario::Set, target, value});
        written.steps.append({0, 1500, Scenario::Click, QStringLiteral("go"), QString()});
        written.steps.append({0, Scenario::MaxMsec, Scenario::Snapshot, QString(),
                              QStringLiteral("end.png")});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.csv"));
        QString error;
        QVERIFY2(written.write(path, &error), qPrintable(error));
        Scenario read;
        QVERIFY2(Scenario::read(path, &read, &error), qPrintable(error));
        QCOMPARE(read.steps.size(), written.steps.size());
        for (int i = 0; i < read.steps.size(); ++i) {
            QCOMPARE(read.steps.at(i).msec, written.steps.at(i).msec);
            QCOMPARE(read.steps.at(i).action, written.steps.at(i).action);
            QCOMPARE(read.steps.at(i).target, written.steps.at(i).target);
            QCOMPARE(read.steps.at(i).value, written.steps.at(i).value);
        }
        QCOMPARE(read.steps.first().line, 2);
    }

    // The seeds of the fuzz target hold their property too.
    void fuzzSeedsRoundTrip()
    {
        const QDir seeds(QStringLiteral(MAROVIN_FUZZ_CORPUS));
        const QStringList files = seeds.entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        int read = 0;
        for (const QString &name : files) {
            QFile file(seeds.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            Scenario first;
            QString error;
            if (!Scenario::parse(file.readAll(), &first, &error))
                continue;
            ++read;
            Scenario second;
            QVERIFY2(Scenario::parse(first.bytes(), &second, &error), qPrintable(error));
            QCOMPARE(summary(second).remove(QRegularExpression("(^|\\|)\\d+ ")),
                     summary(first).remove(QRegularExpression("(^|\\|)\\d+ ")));
        }
        QVERIFY(read >= 2);
    }

    void bounds()
    {
        QTemporaryDir dir;
        QString error;
        Scenario scenario;
        QByteArray rows = "time,action,target,value\n";
        while (rows.size() <= Scenario::MaxFileBytes)
            rows += "0,set,a,0123456789012345678901234567890123456789012345678901234567890123\n";
        QFile big(dir.filePath(QStringLiteral("big.csv")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.write(rows) == rows.size());
        big.close();
        QVERIFY(!Scenario::read(big.fileName(), &scenario, &error));
        QVERIFY2(error.contains("太大"), qPrintable(error));

        QByteArray many = "time,action,target,value\n";
        for (int i = 0; i <= Scenario::MaxSteps; ++i)
            many += "0,wait\n";
        QVERIFY(!Scenario::parse(many, &scenario, &error));
        QVERIFY2(error.startsWith(QStringLiteral("第 %1 行：步骤太多").arg(Scenario::MaxSteps + 2)),
                 qPrintable(error));

        QVERIFY(!Scenario::read(dir.filePath(QStringLiteral("none.csv")), &scenario, &error));
        QVERIFY2(error.contains("none.csv"), qPrintable(error));
    }

    void registerText_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("typed");
        // What the register then holds, written back; empty: refused.
        QTest::addColumn<QString>("held");
        // An expectation that must hold, and one that must not.
        QTest::addColumn<QString>("matching");
        QTest::addColumn<QString>("other");

        QTest::newRow("Int16") << int(Config::Int16) << "-15" << "-15" << "-15.0" << "15";
        QTest::newRow("Uint32") << int(Config::Uint32) << "4000000000" << "4000000000"
                                << "4e9" << "4000000001";
        QTest::newRow("Float nearest 0.1") << int(Config::Float) << "0.1" << "0.1" << "0.1"
                                           << "0.1000001";
        QTest::newRow("Double") << int(Config::Double) << "0.1" << "0.1" << "1e-1" << "0.1000001";
        QTest::newRow("Bool words") << int(Config::Bool) << "true" << "1" << "1" << "false";
        QTest::newRow("String as it is") << int(Config::String) << " a, b" << " a, b" << " a, b"
                                         << "a, b";
        QTest::newRow("String number kept as text") << int(Config::String) << "1.0" << "1.0"
                                                    << "1.0" << "1";
        QTest::newRow("not a number") << int(Config::Int16) << "ten" << "" << "" << "";
        QTest::newRow("not finite") << int(Config::Double) << "inf" << "" << "" << "";
    }

    void registerText()
    {
        QFETCH(int, format);
        QFETCH(QString, typed);
        QFETCH(QString, held);
        QFETCH(QString, matching);
        QFETCH(QString, other);
        QVERIFY(loadPanel());
        RegisterMemory memory;
        AddressPara para;
        QString error;
        const QString address = format == Config::String ? QStringLiteral("LW 200(String 8)")
            : format == Config::Bool                      ? QStringLiteral("LW_Bit 200_4")
                                                          : QStringLiteral("LW 200(%1)").arg(
                                       QString::fromLatin1(QMetaEnum::fromType<Config::DataFormat>()
                                                               .valueToKey(format)));
        QVERIFY2(memory.resolveName(address, &para, &error), qPrintable(error));
        QCOMPARE(int(para.format), format);
        QVariant value;
        if (held.isEmpty()) {
            QVERIFY(!RegisterText::toValue(format, typed, &value, &error));
            QVERIFY2(error.contains(typed), qPrintable(error));
            return;
        }
        QVERIFY2(RegisterText::toValue(format, typed, &value, &error), qPrintable(error));
        QVERIFY2(memory.write(para, value, &error), qPrintable(error));
        const QVariant read = memory.read(para);
        QCOMPARE(RegisterText::text(format, read), held);
        QVERIFY(RegisterText::matches(format, read, held));
        QVERIFY(RegisterText::matches(format, read, matching));
        QVERIFY(!RegisterText::matches(format, read, other));
    }

    // The scenarios the command-line test plays, here without a process:
    // each binding kind shows and takes what it should.
    void playsEachBindingKind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("snapshots");
        QTest::newRow("value") << "value.csv" << 0;
        QTest::newRow("text state") << "textstate.csv" << 0;
        QTest::newRow("visible") << "visible.csv" << 2;
        QTest::newRow("colours") << "colours.csv" << 2;
        QTest::newRow("picture") << "picture.csv" << 2;
        QTest::newRow("action") << "action.csv" << 0;
    }

    void playsEachBindingKind()
    {
        QFETCH(QString, file);
        QFETCH(int, snapshots);
        QVERIFY(loadPanel());
        Scenario scenario;
        QString error;
        QVERIFY2(Scenario::read(dataFile(file), &scenario, &error), qPrintable(error));
        QTemporaryDir dir;
        Simulation simulation(DrawManager::instance());
        ScenarioRunner runner(&simulation);
        runner.setOutputFolder(dir.path());
        const ScenarioRunner::Result result = runner.run(scenario);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(runner.stepsRun(), scenario.steps.size());
        QCOMPARE(runner.snapshots().size(), snapshots);
        for (const QString &picture : runner.snapshots())
            QCOMPARE(QImage(picture).size(), QSize(800, 480));
    }

    // The first step that fails ends the run and is named with what was
    // wanted and what there was.
    void failures_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("message");

        QTest::newRow("a number") << QByteArray("0,set,温度,7\n0,click,plus\n1,expect,温度,13\n"
                                                "2,expect,温度,0\n")
                                  << 4 << "13" << "12" << "期望 13，实际为 12";
        QTest::newRow("a Float written by its format")
            << QByteArray("0,set,speed,0.1\n0,expect,speed,0.2\n") << 3 << "0.2" << "0.1"
            << "期望 0.2，实际为 0.1";
        QTest::newRow("text exactly") << QByteArray("0,set,name,ab\n0,expect,name,ab \n") << 3
                                      << "ab " << "ab" << "期望 ab ，实际为 ab";
        QTest::newRow("a shape's text") << QByteArray("0,set,flag,1\n0,expect,state,关\n") << 3
                                        << "关" << "开" << "实际显示“开”";
        QTest::newRow("the screen")
            << QByteArray("0,click,open\n0,expect-screen,第二页\n") << 3 << "第二页"
            << "主画面 + 弹窗" << "主画面 + 弹窗";
        QTest::newRow("expected no number")
            << QByteArray("0,expect,温度,warm\n") << 2 << "warm" << "0" << "“warm”不是数字";
        QTest::newRow("a shape on a screen not shown")
            << QByteArray("0,click,back\n") << 2 << "" << "" << "没有名为“back”的图形";
        QTest::newRow("a target nothing answers to")
            << QByteArray("0,set,nothing,1\n1,expect,LW 100,1\n") << 2 << "" << "" << "“nothing”既不是标签或地址";
        QTest::newRow("a hidden shape is not input") << QByteArray("0,click,lamp\n") << 2 << ""
                                                     << "" << "lamp";
        QTest::newRow("a value beyond the register")
            << QByteArray("0,set,温度,70000\n") << 2 << "" << "" << "（set 温度）";
        QTest::newRow("a line edit's limits")
            << QByteArray("0,set,entry,150\n0,expect,speed,0\n") << 2 << "" << "" << "（set entry）";
        QTest::newRow("snapshot without a folder") << QByteArray("0,snapshot,,\n") << 2 << ""
                                                   << "" << "snapshot 需要输出文件夹";
    }

    void failures()
    {
        QFETCH(QByteArray, rows);
        QFETCH(int, line);
        QFETCH(QString, expected);
        QFETCH(QString, actual);
        QFETCH(QString, message);
        QVERIFY(loadPanel());
        const Scenario scenario = scenarioOf(rows);
        QVERIFY(!scenario.steps.isEmpty());
        Simulation simulation(DrawManager::instance());
        ScenarioRunner runner(&simulation);
        const ScenarioRunner::Result result = runner.run(scenario);
        QVERIFY(!result.ok);
        QCOMPARE(result.line, line);
        QCOMPARE(result.expected, expected);
        QCOMPARE(result.actual, actual);
        QVERIFY2(result.message.startsWith(QStringLiteral("第 %1 行（").arg(line)),
                 qPrintable(result.message));
        QVERIFY2(result.message.contains(message), qPrintable(result.message));
        // Nothing after the failed step ran.
        QCOMPARE(runner.stepsRun(), line - 1);
    }

    // An operator's session, recorded and closed with expectations of how it
    // ended, plays back on a fresh panel and holds; the same scenario
    // fails on a panel that ends elsewhere.
    void recordingPlaysBack()
    {
        QVERIFY(loadPanel());
        Scenario recorded;
        {
            Simulation simulation(DrawManager::instance());
            QVERIFY(simulation.start());
            ScenarioRecorder recorder(&simulation);
            qint64 now = 0;
            recorder.setClock([&now] { return now; });
            const auto click = [&](const char *name) {
                return simulation.click(simulation.findShape(QString::fromUtf8(name)));
            };
            QVERIFY(click("plus"));
            now = 400;
            QVERIFY(simulation.press(simulation.findShape("jog")));
            now = 300; // a clock that stepped back must not make the file go back
            QVERIFY(simulation.release(simulation.findShape("jog")));
            now = 900;
            QVERIFY(simulation.enter(simulation.findShape("entry"), QStringLiteral("42.5")));
            now = 1000;
            // As a watch list does: it writes, and has the write recorded.
            AddressPara name;
            QVERIFY(simulation.memory()->resolveName(QStringLiteral("name"), &name));
            QVERIFY(simulation.memory()->write(name, QStringLiteral("pump 1")));
            recorder.recordSet(QStringLiteral("name"), QStringLiteral("pump 1"));
            QVERIFY(click("open"));
            now = 2500;
            recorded = recorder.finish({QStringLiteral("温度"), QStringLiteral("speed"),
                                        QStringLiteral("name"), QStringLiteral("LW_Bit 130_0"),
                                        QStringLiteral("no such tag")});
        }
        QCOMPARE(summary(recorded).split('|'),
                 QStringList({"0 0 click plus=", "0 0.4 press jog=", "0 0.4 release jog=",
                              "0 0.9 set entry=42.5", "0 1 set name=pump 1", "0 1 click open=",
                              "0 2.5 expect-screen 主画面=", "0 2.5 expect-screen 弹窗=",
                              "0 2.5 expect 温度=5", "0 2.5 expect speed=42.5",
                              "0 2.5 expect name=pump 1", "0 2.5 expect LW_Bit 130_0=0"}));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("session.csv"));
        QString error;
        QVERIFY2(recorded.write(path, &error), qPrintable(error));
        Scenario replay;
        QVERIFY2(Scenario::read(path, &replay, &error), qPrintable(error));
        {
            QVERIFY(loadPanel());
            Simulation simulation(DrawManager::instance());
            ScenarioRunner runner(&simulation);
            const ScenarioRunner::Result result = runner.run(replay);
            QVERIFY2(result.ok, qPrintable(result.message));
            QCOMPARE(runner.expectationsChecked(), 6);
        }
        {
            QVERIFY(loadPanel());
            Simulation simulation(DrawManager::instance());
            replay.steps.removeAt(5); // the window is never opened
            ScenarioRunner runner(&simulation);
            const ScenarioRunner::Result result = runner.run(replay);
            QVERIFY(!result.ok);
            QCOMPARE(result.expected, QStringLiteral("弹窗"));
        }
    }
};

QTEST_MAIN(TestScenario)
#include "tst_scenario.moc"
