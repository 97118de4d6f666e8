// The project check and the project-wide find, on hand-made projects in
// tests/data/check: one seeded with one instance of each fault, one clean.

#include "document/drawmanager.h"
#include "document/projectcheck.h"
#include "document/projectfile.h"
#include "document/projectsearch.h"
#include "editor/drawscene.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "services/appsettings.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicswidgetitem.h"
#include "support/processfixture.h"

#include <QStandardItemModel>
#include <QTranslator>
#include <QtTest>

namespace {

QString dataFile(const QString &name)
{
    return QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + QStringLiteral("/check/") + name;
}

bool loadProject(const QString &name)
{
    ProcessFixture::start();
    if (ProjectFile::load(dataFile(name)).status != ProjectFile::Loaded)
        return false;
    Config::instance()->loadSystemRegisters();
    return true;
}

ProjectSearch::Options searchFor(const QString &text, bool matchCase, bool wholeWord)
{
    ProjectSearch::Options options;
    options.text = text;
    options.matchCase = matchCase;
    options.wholeWord = wholeWord;
    return options;
}

// "code @ place" for every finding, in order; "code? @ place" for a warning.
QStringList describe(const QVector<Finding> &findings)
{
    QStringList lines;
    for (const Finding &finding : findings)
        lines.append(ProjectCheck::codeName(finding.code)
                     + (finding.severity == Finding::Warning ? "? @ " : " @ ")
                     + ProjectCheck::placeText(finding.place));
    return lines;
}

} // namespace

class TestProjectCheck : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ProcessFixture::finish(); }

    // The seeded faults are found, each once, at its place, in place order
    // and with its severity (warnings marked "?"); nothing else is reported.
    void everyFaultOfTheSeededProject()
    {
        QVERIFY(loadProject(QStringLiteral("faults.mvprg")));
        const QStringList expected {
            "noBaseScreen @ 项目",
            "languageWithoutName @ 语言 2",
            "deviceDuplicateName @ 设备 2 PLC1",
            // Tags naming "PLC1" reach the first device of that name.
            "deviceUnused? @ 设备 2 PLC1",
            "devicePortBeyondHardware @ 设备 3 PLC3",
            "shapeDuplicateName @ 画面 弹窗，图形 box",
            "shapeOutsideScreen @ 画面 弹窗，图形 away",
            "shapePartlyOutsideScreen @ 画面 弹窗，图形 edge",
            // The flat line "rule" is no zero-size shape.
            "shapeZeroSize? @ 画面 弹窗，图形 flat",
            "screenDuplicateName @ 画面 弹窗",
            "addressEmptyName @ 地址标签第 2 行",
            "addressDuplicateName @ 地址标签第 3 行 温度",
            "addressBadDevice @ 地址标签第 4 行 ghost",
            "addressBadType @ 地址标签第 5 行 badtype",
            "addressBadAddress @ 地址标签第 6 行 badaddr",
            "addressBadLength @ 地址标签第 7 行 badlen",
            "addressOutOfRange @ 地址标签第 8 行 far",
            // A Float takes D 9999 and D 10000; the panel's own LW 9000 is
            // no fault.
            "addressOutOfRange @ 地址标签第 12 行 spill",
            // No shape of the project is bound: every named tag is unused.
            "addressTagUnused? @ 地址标签第 1 行 温度",
            "addressTagUnused? @ 地址标签第 3 行 温度",
            "addressTagUnused? @ 地址标签第 4 行 ghost",
            "addressTagUnused? @ 地址标签第 5 行 badtype",
            "addressTagUnused? @ 地址标签第 6 行 badaddr",
            "addressTagUnused? @ 地址标签第 7 行 badlen",
            "addressTagUnused? @ 地址标签第 8 行 far",
            "addressTagUnused? @ 地址标签第 9 行 speed",
            "addressTagUnused? @ 地址标签第 10 行 com3",
            "addressTagUnused? @ 地址标签第 11 行 year",
            "addressTagUnused? @ 地址标签第 12 行 spill",
            "textTagEmptyName @ 文本标签第 2 个",
            "textTagDuplicateName @ 文本标签第 3 个 开关",
            "textTagEmptyText? @ 文本标签第 4 个 报警",
            "textTagUnused? @ 文本标签第 1 个 开关",
            "textTagUnused? @ 文本标签第 3 个 开关",
            "textTagUnused? @ 文本标签第 4 个 报警",
        };
        QCOMPARE(describe(ProjectCheck::run()), expected);
    }

    // The clean project holds every kind of thing the check looks at, each
    // in order: a panel register above the user range, a bit address, a
    // Float ending on the last D register, a flat line, a widget at the
    // screen's corner. It gives nothing in either language: "本地" of a
    // project made in Chinese is still the panel in English. Then a widget
    // whose caption is only blanks is a finding; a free-port device no tag
    // uses is none.
    void cleanProject()
    {
        QVERIFY(loadProject(QStringLiteral("clean.mvprg")));
        QCOMPARE(describe(ProjectCheck::run()), QStringList());
        Config *config = Config::instance();
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english);
        AppSettings::instance()->setLanguage(1);
        BuiltinTables::instance()->retranslate();
        const QString local = config->deviceNames().first();
        const QStringList found = describe(ProjectCheck::run());
        QCoreApplication::removeTranslator(&english);
        BuiltinTables::instance()->retranslate();
        QCOMPARE(local, QStringLiteral("Local"));
        QCOMPARE(found, QStringList());

        auto *widget = dynamic_cast<GraphicsWidgetItem *>(
            DrawManager::instance()->scenes().first()->userItems().at(2));
        QVERIFY(widget);
        widget->setText(QStringLiteral("  "));
        DevicePara freePort;
        freePort.name = QStringLiteral("spare");
        freePort.protocol = 3;
        config->devices.append(freePort);
        QCOMPARE(describe(ProjectCheck::run()),
                 QStringList {"widgetWithoutText? @ 画面 主画面，图形 go"});
    }

    // Messages say what falls outside and count from 1, in both languages.
    void messages_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("place"); // the tag's name
        QTest::addColumn<QString>("message");
        QTest::newRow("first word outside") << false << "far"
                                            << "地址“LW 5000”超出区域 LW 的范围 0..4999";
        QTest::newRow("further words outside")
            << true << "spill"
            << "Address “D 9999”: type Float takes 2 words (9999..10000), beyond the last "
               "address 9999 of area D";
        QTest::newRow("states from 1") << true << "报警"
                                       << "State 1 has an empty language 2 text";
    }
    void messages()
    {
        QFETCH(bool, english);
        QFETCH(QString, place);
        QFETCH(QString, message);
        QVERIFY(loadProject(QStringLiteral("faults.mvprg")));
        QTranslator translator;
        if (english) {
            QVERIFY(translator.load(QStringLiteral(":/en_US_app")));
            QCoreApplication::installTranslator(&translator);
        }
        QStringList found;
        for (const Finding &finding : ProjectCheck::run()) {
            // Every tag of this project is unused as well.
            if (finding.place.name == place && finding.code != Finding::AddressTagUnused
                && finding.code != Finding::TextTagUnused)
                found.append(finding.message);
        }
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(found, QStringList {message});
    }

    // Names that nothing can point to and a screen with no area, which a
    // file can hold although the editor never makes them.
    void unnamedAndEmpty_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("finding");
        QTest::newRow("device without name") << 0 << "deviceEmptyName @ 设备 2";
        QTest::newRow("blank screen name") << 1 << "screenEmptyName @ 画面 #1";
        QTest::newRow("screen without width") << 2 << "screenZeroSize @ 画面 主画面";
        QTest::newRow("shape without name") << 3 << "shapeEmptyName? @ 画面 主画面，图形 #1";
        QTest::newRow("address tag without device") << 4 << "addressNoDevice @ 地址标签第 1 行 温度";
    }
    void unnamedAndEmpty()
    {
        QFETCH(int, change);
        QFETCH(QString, finding);
        QVERIFY(loadProject(QStringLiteral("clean.mvprg")));
        Config *config = Config::instance();
        DrawScene *screen = DrawManager::instance()->scenes().first();
        switch (change) {
        case 0: {
            // A second device keeps the first, which the tags use.
            DevicePara unnamed = config->devices.first();
            unnamed.name = QStringLiteral(" ");
            unnamed.protocol = 3;
            config->devices.append(unnamed);
            break;
        }
        case 1:
            screen->setObjectName(QStringLiteral(" "));
            break;
        case 2:
            screen->setSceneRect(0, 0, 0, screen->sceneRect().height());
            break;
        case 3:
            static_cast<GraphicsItem *>(screen->userItems().first())->setObjectName(QString());
            break;
        case 4: {
            // An unnamed device beside it would judge the address by its own
            // format, and blame the address.
            DevicePara unnamed = config->devices.first();
            unnamed.name.clear();
            unnamed.protocol = 3;
            config->devices.append(unnamed);
            QStandardItemModel *tags = config->addressTagModel();
            tags->item(0, Config::DeviceColumn)->setText(QString());
            break;
        }
        }
        QStringList found = describe(ProjectCheck::run());
        // The shapes of a screen without width lie outside it, and the
        // devices of an untagged row may go unused; that is not this row's
        // finding.
        if (change == 2)
            found = found.filter(QRegularExpression(QStringLiteral("^screen")));
        if (change == 4) {
            found = found.filter(QRegularExpression(QStringLiteral("^address")));
            QTranslator english;
            QVERIFY(english.load(QStringLiteral(":/en_US_app")));
            QCoreApplication::installTranslator(&english);
            const QString message = ProjectCheck::run().last().message;
            QCoreApplication::removeTranslator(&english);
            QCOMPARE(message, QStringLiteral("The address tag names no device"));
        }
        QCOMPARE(found, QStringList {finding});
    }

    // A place must name one thing on one line: a name that is empty or
    // blank gives way to the number, counted from 1, and a name from a file
    // cannot break the line or reach the terminal.
    void placeText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("screenIndex");
        QTest::addColumn<QString>("name"); // the shape's, or a tag's or device's
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const int screen = ProjectPlace::Screen, shape = ProjectPlace::Shape;
        QTest::newRow("empty screen name") << screen << "" << 5 << "" << -1 << "画面 #6";
        QTest::newRow("blank screen name") << screen << " \t" << 0 << "" << -1 << "画面 #1";
        QTest::newRow("unnamed shape") << shape << "s1" << 0 << "" << 1 << "画面 s1，图形 #2";
        QTest::newRow("unnamed shape, unnamed screen")
            << shape << "" << 2 << "" << 0 << "画面 #3，图形 #1";
        QTest::newRow("line break and tab in a shape name")
            << shape << "s\r1" << 0 << "a\nb\tc" << 0 << "画面 s\\r1，图形 a\\nb\\tc";
        QTest::newRow("escape sequence in a device name")
            << int(ProjectPlace::Device) << "" << -1 << "d\x1b[2J\x7f" << 0
            << "设备 1 d\\x1b[2J\\x7f";
        QTest::newRow("line separator in a tag name")
            << int(ProjectPlace::AddressTag) << "" << -1 << QString("a%1b").arg(QChar(0x2028))
            << 3 << "地址标签第 4 行 a\\u2028b";
    }
    void placeText()
    {
        QFETCH(int, kind);
        QFETCH(QString, screen);
        QFETCH(int, screenIndex);
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QString, expected);
        ProjectPlace place;
        place.kind = ProjectPlace::Kind(kind);
        place.screen = screen;
        place.screenIndex = screenIndex;
        place.index = index;
        (kind == ProjectPlace::Shape ? place.shape : place.name) = name;
        QCOMPARE(ProjectCheck::placeText(place), expected);
    }

    // A number the load had to bring within range is listed at the place
    // it was read, after the other findings; in English the message names
    // the attribute, the value read and the value kept.
    void clampedNumbers_data()
    {
        QTest::addColumn<QByteArray>("config"); // attributes of Config
        QTest::addColumn<QByteArray>("device"); // attributes of dev0
        QTest::addColumn<QByteArray>("window"); // attributes of the screen
        QTest::addColumn<QByteArray>("shapes"); // children of the screen
        QTest::addColumn<QString>("finding");

        const QByteArray none;
        QTest::newRow("project") << QByteArray("encryption=\"256\"") << none << none << none
                                 << "valueOutOfRange? @ 项目";
        QTest::newRow("device") << none << QByteArray("baud=\"99999999999999\"") << none << none
                                << "valueOutOfRange? @ 设备 1 P";
        QTest::newRow("screen") << none << none << QByteArray("width=\"1e8\"") << none
                                << "valueOutOfRange? @ 画面 s";
        QTest::newRow("screen, no number") << none << none << QByteArray("height=\"NaN\"") << none
                                           << "valueOutOfRange? @ 画面 s";
        QTest::newRow("shape") << none << none << none
                               << QByteArray("<rectangle objectName=\"r\" width=\"5\" "
                                             "height=\"5\" zValue=\"-1e9\"/>")
                               << "valueOutOfRange? @ 画面 s，图形 r";
        QTest::newRow("member of a group, at its group")
            << none << none << none
            << QByteArray("<group objectName=\"g\" zValue=\"1\"><rectangle objectName=\"r\" "
                          "width=\"5\" height=\"99999999\"/><rectangle objectName=\"q\" "
                          "width=\"5\" height=\"5\"/></group>")
            << "valueOutOfRange? @ 画面 s，图形 g";
    }
    void clampedNumbers()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, window);
        QFETCH(QByteArray, shapes);
        QFETCH(QString, finding);
        ProcessFixture::start();
        const QByteArray file = "<?xml version=\"1.0\"?><Project><Config " + config
            + "><Device><dev0 name=\"P\" " + device
            + "/></Device></Config><Form><Window type=\"1\" objectName=\"s\" " + window + ">"
            + shapes + "</Window></Form></Project>";
        QCOMPARE(ProjectFile::loadBytes(file).status, ProjectFile::Loaded);
        const QVector<Finding> findings = ProjectCheck::run();
        QVERIFY(!findings.isEmpty());
        QCOMPARE(describe(findings).last(), finding);
        QCOMPARE(describe(findings).filter(QStringLiteral("valueOutOfRange")).size(), 1);

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english);
        const QString message = ProjectCheck::run().last().message;
        QCoreApplication::removeTranslator(&english);
        const QString expected = window.contains("NaN")
            ? QStringLiteral("is not a number and was replaced by the default")
            : QStringLiteral("is out of range and was replaced by");
        QVERIFY2(message.contains(expected), qPrintable(message));

        // The next project starts with nothing to report.
        ProcessFixture::start();
        QVERIFY(describe(ProjectCheck::run()).filter(QStringLiteral("valueOutOfRange")).isEmpty());
    }

    void matching_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<bool>("found");
        auto row = [](const char *tag, const QString &text, const QString &needle, bool wholeWord,
                      bool found) { QTest::newRow(tag) << text << needle << wholeWord << found; };
        row("later whole occurrence", "motors, motor", "motor", true, true);
        row("Chinese inside a sentence", "1号电机过热", "电机", true, true);
        row("Chinese beside a Latin word", "Motor电机", "Motor", true, true);
    }
    void matching()
    {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(bool, wholeWord);
        QTEST(ProjectSearch::matches(text, searchFor(needle, false, wholeWord)), "found");
    }

    // Results across screens and both libraries, each field once, in
    // project order.
    void findAcrossTheProject_data()
    {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QStringList>("hits");
        QTest::newRow("motor, any case")
            << "motor" << false << false
            << QStringList {"画面 弹窗，图形 alarm|图形文字",
                            "画面 弹窗，图形 motor_button|图形名称", "地址标签第 9 行 speed|备注"};
        QTest::newRow("Motor, case")
            << "Motor" << true << false
            << QStringList {"画面 弹窗，图形 alarm|图形文字", "地址标签第 9 行 speed|备注"};
        QTest::newRow("screens, text tag texts")
            << "弹" << false << false << QStringList {"画面 弹窗|画面名称", "画面 弹窗|画面名称"};
        QTest::newRow("addresses")
            << "D 1" << false << true
            << QStringList {"地址标签第 4 行 ghost|地址", "地址标签第 10 行 com3|地址"};
        QTest::newRow("text tag text")
            << "过热" << false << false << QStringList {"文本标签第 4 个 报警|文本标签文字"};
    }
    void findAcrossTheProject()
    {
        QFETCH(QString, needle);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QStringList, hits);
        QVERIFY(loadProject(QStringLiteral("faults.mvprg")));
        QStringList found;
        for (const ProjectSearch::Hit &hit :
             ProjectSearch::find(searchFor(needle, matchCase, wholeWord)))
            found.append(ProjectCheck::placeText(hit.place) + QLatin1Char('|')
                         + ProjectSearch::fieldText(hit.field));
        QCOMPARE(found, hits);
    }

    // A widget is found by the caption it shows: the initial one while it
    // has none of its own (without making the widget), else its own.
    void findWidgetCaption()
    {
        QVERIFY(loadProject(QStringLiteral("faults.mvprg")));
        const auto found = [](const QString &needle) {
            QStringList places;
            for (const ProjectSearch::Hit &hit : ProjectSearch::find(searchFor(needle, false, false)))
                places.append(ProjectCheck::placeText(hit.place) + QLatin1Char('|') + hit.text);
            return places;
        };
        auto *button = dynamic_cast<GraphicsWidgetItem *>(
            DrawManager::instance()->scenes().at(1)->userItems().value(0));
        QVERIFY(button);
        QCOMPARE(found("pushbutton"), QStringList {"画面 弹窗，图形 motor_button|pushbutton"});
        QVERIFY(!button->hasProxy());
        button->setText(QStringLiteral("Pump 2 启动"));
        QCOMPARE(found("pump 2"), QStringList {"画面 弹窗，图形 motor_button|Pump 2 启动"});
        QCOMPARE(found("pushbutton"), QStringList());
    }
};

QTEST_MAIN(TestProjectCheck)
#include "tst_projectcheck.moc"
