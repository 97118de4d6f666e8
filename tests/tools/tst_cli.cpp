#include "model/config.h"
#include "services/interfacefont.h"
#include "support/clirun.h"
#include "support/filebytes.h"
#include "support/isolatedsettings.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <QtTest>

namespace {

CliRun runCli(const QStringList &arguments, bool withPlatform = true)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!withPlatform) {
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
    }
    return runCliProcess(arguments, environment);
}

// The environment of a user who reads English or Chinese.
QProcessEnvironment speaking(const char *locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LC_MESSAGES"));
    environment.remove(QStringLiteral("LANG"));
    environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
    return environment;
}

// Terminal columns, counted independently of the tool: every character of
// the CJK blocks and the full-width forms takes two.
int columns(const QString &text)
{
    int n = 0;
    for (const QChar c : text)
        n += c.unicode() >= 0x2E80 && c.unicode() < 0xFFEF ? 2 : 1;
    return n;
}

// The column at which each entry's description starts in the section that
// follows the heading; one value when they all line up.
QSet<int> descriptionColumns(const QString &help, const QString &heading)
{
    QSet<int> found;
    const QStringList lines = help.split('\n');
    int i = lines.indexOf(heading);
    if (i < 0)
        return {-1};
    while (++i < lines.size() && lines.at(i).startsWith("  ")) {
        const QString line = lines.at(i);
        const int gap = line.indexOf("  ", 2);
        if (line.at(2) == ' ' || gap < 0)
            continue; // a continuation, or an entry with its text below
        int start = gap;
        while (start < line.size() && line.at(start) == ' ')
            ++start;
        found << columns(line.left(start));
    }
    return found;
}

QJsonObject infoOf(const QString &file)
{
    const CliRun result = runCli({QStringLiteral("info"), file});
    if (result.code != 0)
        qWarning("info %s failed: %s", qPrintable(file), result.err.constData());
    return QJsonDocument::fromJson(result.out).object();
}

// From the first to the last column holding anything but the colour of the
// top-left pixel; -1 for a blank picture.
int inkWidth(const QImage &image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != image.pixel(0, 0)) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return first < 0 ? -1 : last - first;
}

} // namespace

// Runs the command-line tool as a separate process on the golden files of
// tests/data (one project, stored plain and encoded) and on broken copies.
class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_plain;
    QString m_encoded;
    QString m_locked; // the plain file with a project password
    QString m_damaged; // the plain file cut in half

    QString temp(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString data = QString::fromUtf8(MAROVIN_TEST_DATA_DIR);
        m_plain = data + QStringLiteral("/golden.mvprg");
        m_encoded = data + QStringLiteral("/golden-encoded.mvprg");
        const QByteArray plain = fileBytes(m_plain);

        QByteArray locked = plain;
        locked.replace("projectPw=\"\"", "projectPw=\"s3cret-pw\"");
        locked.replace("macroPw=\"\"", "macroPw=\"m4cr0-pw\"");
        QVERIFY(locked != plain);
        m_locked = temp(QStringLiteral("locked.mvprg"));
        QVERIFY(writeFileBytes(m_locked, locked));
        m_damaged = temp(QStringLiteral("damaged.mvprg"));
        QVERIFY(writeFileBytes(m_damaged, plain.left(plain.size() / 2)));
    }

    // Both golden files hold the same project: their descriptions differ in
    // the file and its stored form alone. Passwords are named as set, never
    // shown.
    void info()
    {
        QJsonObject plain = infoOf(m_plain);
        QJsonObject encoded = infoOf(m_encoded);
        QCOMPARE(plain["project"].toObject()["name"], QJsonValue("golden"));
        // Rectangle, ellipse, text and the group; with the group's two members.
        const QJsonObject base = plain["screens"].toArray().first().toObject();
        QCOMPARE(QJsonArray({base["shapes"], base["shapesTotal"]}), QJsonArray({4, 6}));
        QCOMPARE(plain.take("storedForm"), QJsonValue("plain"));
        QCOMPARE(encoded.take("storedForm"), QJsonValue("encoded"));
        plain.remove("file");
        encoded.remove("file");
        QJsonObject project = encoded.value("project").toObject();
        QCOMPARE(project.take("encryption"), QJsonValue(1));
        project.insert("encryption", 0);
        encoded.insert("project", project);
        QCOMPARE(encoded, plain);

        const CliRun locked = runCli({"info", m_locked, "--password", "s3cret-pw"});
        QCOMPARE(locked.code, 0);
        const QJsonObject lockedProject
            = QJsonDocument::fromJson(locked.out).object()["project"].toObject();
        QCOMPARE(lockedProject["macroPassword"], QJsonValue(true));
        QVERIFY(!locked.out.contains("s3cret-pw") && !locked.out.contains("m4cr0-pw"));
    }

    void render()
    {
        const QString out = temp(QStringLiteral("pictures"));
        const CliRun result = runCli({"render", m_encoded, "-o", out}, false);
        QVERIFY2(result.code == 0, result.err.constData());
        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
                 QStringList({"基本画面_1.png", "窗口画面_1.png"}));
        const QImage base(QDir(out).filePath("基本画面_1.png"));
        QCOMPARE(base.size(), QSize(800, 480));

        // The rectangle at (20,30) and group member b are filled; the
        // ellipse's box corner is not.
        QCOMPARE(base.pixelColor(22, 32), QColor(0xc0, 0xd0, 0xe0));
        QCOMPARE(base.pixelColor(550, 220), QColor(0xc0, 0xd0, 0xe0));
        QCOMPARE(base.pixelColor(202, 42), QColor(Qt::white));
    }

    // Text without a font of its own is painted in the editor's application
    // font: as wide as the same text given that font outright.
    void renderUsesTheEditorsFont()
    {
        const QString screen = QStringLiteral(
            "<Window brushColor=\"#ffffff\" height=\"60\" objectName=\"%1\" type=\"1\" "
            "width=\"400\">"
            "<textitem brushStyle=\"0\" %2height=\"40\" penColor=\"#000000\" pos=\"(10,10)\" "
            "text=\"pushbutton text width\" width=\"380\"/></Window>");
        const QString font = InterfaceFont::font().toString().toHtmlEscaped();
        const QByteArray file = (QStringLiteral("<?xml version=\"1.0\"?><Project><Form>")
                                 + screen.arg("inherited", QString())
                                 + screen.arg("given", QStringLiteral("font=\"%1\" ").arg(font))
                                 + QStringLiteral("</Form></Project>"))
                                    .toUtf8();
        const QString path = temp(QStringLiteral("font.mvprg"));
        QVERIFY(writeFileBytes(path, file));
        const QString out = temp(QStringLiteral("fonts"));
        const CliRun result = runCli({"render", path, "-o", out});
        QVERIFY2(result.code == 0, result.err.constData());

        const int inherited = inkWidth(QImage(QDir(out).filePath("inherited.png")));
        const int given = inkWidth(QImage(QDir(out).filePath("given.png")));
        QVERIFY(inherited > 0 && qAbs(inherited - given) <= 1);
    }

    // Both golden files hold the same project: each form must come out byte
    // for byte as the golden file of that form.
    void convert()
    {
        QString source = m_encoded;
        for (const QString form : {"--plain", "--encrypt"}) {
            const QString output = temp(QStringLiteral("converted%1.mvprg").arg(form));
            const CliRun result = runCli({"convert", source, "-o", output, form});
            QVERIFY2(result.code == 0, result.err.constData());
            QCOMPARE(fileBytes(output), fileBytes(form == "--plain" ? m_plain : m_encoded));
            source = output;
        }
    }

    // What a newer version may write anywhere in the file comes back from
    // convert byte for byte, is named once on standard error, and costs no
    // tag: info counts every one.
    void keptContent_data()
    {
        QTest::addColumn<QList<QByteArrayList>>("edits"); // pairs: text, its replacement
        QTest::addColumn<QStringList>("named"); // on standard error

        const QByteArray config = "    <Config ";
        const QByteArray form = "    <Form>\n";
        const QByteArray addressLib = "        <AddressLib ";
        const QByteArray textLib = "        <TextLib ";
        const QByteArray future
            = "        <Future kind=\"a\">\n            <part n=\"1\">text</part>\n"
              "            <!-- note -->\n        </Future>\n";
        const QByteArray dev0End = "stopBits=\"1\"/>";
        const QByteArray secondWindowEnd = "            </polyline>\n        </Window>\n";
        QTest::newRow("project level") << QList<QByteArrayList> {
            {config, "    <Future/>\n" + config},
            {form, "    <Future/>\n" + form},
            {"</Project>", "    <Future/>\n</Project>"},
            {"<Project>", "<Project build=\"7\">"}}
                                       << QStringList {"Future", "Project@build"};
        QTest::newRow("Config, before AddressLib")
            << QList<QByteArrayList> {{addressLib, future + addressLib}}
            << QStringList {"Future"};
        QTest::newRow("Config, before TextLib")
            << QList<QByteArrayList> {{textLib, future + textLib}} << QStringList {"Future"};
        QTest::newRow("Config, first and last")
            << QList<QByteArrayList> {{"        <Language>", future + "        <Language>"},
                                      {"    </Config>", future + "    </Config>"}}
            << QStringList {"Future"};
        QTest::newRow("Form") << QList<QByteArrayList> {{form, form + "        <Chart/>\n"}}
                              << QStringList {"Chart"};
        QTest::newRow("window of an unknown type with shapes") << QList<QByteArrayList> {
            {secondWindowEnd,
             secondWindowEnd
                 + "        <Window objectName=\"新\" type=\"7\">\n"
                   "            <rectangle height=\"10.00\" objectName=\"r\" width=\"10.00\"/>\n"
                   "            <group objectName=\"g\">\n"
                   "                <ellipse objectName=\"e\"/>\n"
                   "            </group>\n"
                   "        </Window>\n"}} << QStringList {"Window"};
        QTest::newRow("attributes of known elements") << QList<QByteArrayList> {
            {"screen=\"800,480\" version", "screen=\"800,480\" unit=\"mm\" version"},
            {"<Language>", "<Language default=\"0\">"},
            {"name=\"English\"/>", "name=\"English\" script=\"latin\"/>"},
            {dev0End, "stopBits=\"1\" timeoutUnit=\"ms\"/>"},
            {"<TextLib count=\"1\"", "<TextLib count=\"1\" sorted=\"1\""},
            {"<label0 name=\"t\"", "<label0 name=\"t\" style=\"b\""},
            {"<status0>", "<status0 colour=\"red\">"},
            {"<lan1 value=\"B\"/>", "<lan1 value=\"B\" voice=\"b.wav\"/>"},
            {"type=\"Bool\"/>", "type=\"Bool\" unit=\"s\"/>"},
            {"<AddressLib count=\"2\"", "<AddressLib count=\"2\" version=\"2\""},
            {"    <Form>", "    <Form layout=\"grid\">"},
            {"type=\"2\" width=\"400.00\">", "type=\"2\" version=\"2\" width=\"400.00\">"}}
            << QStringList {"Config@unit",    "Language@default", "lan@script",
                            "dev@timeoutUnit", "TextLib@sorted",  "label@style",
                            "status@colour",  "lan@voice",        "label@unit",
                            "AddressLib@version", "Form@layout", "Window@version"};
        QTest::newRow("children of known elements") << QList<QByteArrayList> {
            {dev0End, "stopBits=\"1\">\n                <link port=\"2\"/>\n            </dev0>"},
            {"<lan1 value=\"B\"/>",
             "<lan1 value=\"B\">\n                        <ruby>b</ruby>\n"
             "                    </lan1>"},
            {"type=\"Bool\"/>", "type=\"Bool\">\n                <scale/>\n            </label1>"}}
            << QStringList {"link", "ruby", "scale"};
        QTest::newRow("shapes") << QList<QByteArrayList> {
            {"zValue=\"1.00\"/>", "zValue=\"1.00\" zoom=\"2\"/>"},
            {"zValue=\"3.00\"/>", "zValue=\"3.00\">\n                <shadow/>\n            </textitem>"},
            {"                <point x=\"-5\"", "                <anchor/>\n                <point x=\"-5\""}}
            << QStringList {"rectangle@zoom", "shadow", "anchor"};
        // A list keeps what is not one of its records among them; a name
        // met twice is named once. `name` and `value` would make records.
        QTest::newRow("among the records of lists") << QList<QByteArrayList> {
            {"            <lan0 ", "            <note/>\n            <lan0 "},
            {"        </Device>", "            <note n=\"2\"/>\n        </Device>"},
            {"            <label1 address", "            <folder name=\"f\"/>\n            <label1 address"},
            {"            <label0 name=\"t\">", "            <sorting/>\n            <label0 name=\"t\">"},
            {"                <status1>", "                <hint name=\"h\"/>\n                <status1>"},
            {"                    <lan1 value=\"B\"/>",
             "                    <ruby value=\"r\"/>\n                    <lan1 value=\"B\"/>"},
            {"                </status1>", "                    <tone/>\n                </status1>"},
            {"        </TextLib>", "            <index/>\n        </TextLib>"}}
            << QStringList {"note", "folder", "sorting", "hint", "ruby", "tone", "index"};
        // The group's own and each point's own stay with them.
        QTest::newRow("groups and points") << QList<QByteArrayList> {
            {"<group fixe=\"true\" objectName", "<group fixe=\"true\" layer=\"2\" objectName"},
            {"                <rectangle brushColor=\"#c0d0e0\" brushStyle=\"1\" fixe=\"false\" "
             "height=\"40.00\"",
             "                <badge/>\n                <rectangle brushColor=\"#c0d0e0\" "
             "brushStyle=\"1\" fixe=\"false\" height=\"40.00\""},
            {"            </group>", "                <seal/>\n            </group>"},
            {"<point x=\"-5\" y=\"25\"/>", "<point smooth=\"1\" x=\"-5\" y=\"25\"/>"},
            {"<point x=\"95\" y=\"-15\"/>",
             "<point x=\"95\" y=\"-15\">\n                    <tension/>\n                </point>"}}
            << QStringList {"group@layer", "badge", "seal", "point@smooth", "tension"};
        QTest::newRow("script") << QList<QByteArrayList> {
            {"    </Form>",
             "        <Window objectName=\"宏\" type=\"4\" when=\"start\">a = b &amp;&amp; c;\n"
             "<trigger n=\"1\">x</trigger>\n            <after/>\n        </Window>\n    </Form>"}}
            << QStringList {"Window@when", "trigger", "after"};
    }

    void keptContent()
    {
        QFETCH(QList<QByteArrayList>, edits);
        QFETCH(QStringList, named);
        // The golden project with a text tag of two states.
        QByteArray file = fileBytes(m_plain);
        file.replace("        <TextLib count=\"0\"/>\n",
                     "        <TextLib count=\"1\">\n"
                     "            <label0 name=\"t\">\n"
                     "                <status0>\n"
                     "                    <lan0 value=\"A\"/>\n"
                     "                    <lan1 value=\"B\"/>\n"
                     "                </status0>\n"
                     "                <status1>\n"
                     "                    <lan0 value=\"\"/>\n"
                     "                    <lan1 value=\"\"/>\n"
                     "                </status1>\n"
                     "            </label0>\n"
                     "        </TextLib>\n");
        const QString plain = temp(QStringLiteral("kept-base.mvprg"));
        QVERIFY(writeFileBytes(plain, file));
        for (const QByteArrayList &edit : edits) {
            QVERIFY2(file.contains(edit.at(0)), edit.at(0).constData());
            file.replace(file.indexOf(edit.at(0)), edit.at(0).size(), edit.at(1));
        }
        const QString input = temp(QStringLiteral("kept.mvprg"));
        const QString output = temp(QStringLiteral("kept-converted.mvprg"));
        QVERIFY(writeFileBytes(input, file));

        const CliRun result = runCli({"convert", input, "-o", output});
        QVERIFY2(result.code == 0, result.err.constData());
        QCOMPARE(fileBytes(output), file);
        for (const QString &name : named)
            QVERIFY2(QString::fromLocal8Bit(result.err).count(QRegularExpression(
                         QStringLiteral("[：:,] ?%1(,|$)").arg(QRegularExpression::escape(name)),
                         QRegularExpression::MultilineOption))
                         == 1,
                     qPrintable(name + ": " + QString::fromLocal8Bit(result.err)));

        // Every tag, language, device and shape as without the additions.
        QJsonObject described = infoOf(input);
        QJsonObject base = infoOf(plain);
        // The script row adds a script, which info lists.
        for (QJsonObject *info : {&described, &base}) {
            info->remove("file");
            info->remove("scripts");
        }
        QCOMPARE(described, base);
        const QJsonObject tags = described["tags"].toObject();
        QCOMPARE(tags["address"], QJsonValue(2));
        QCOMPARE(tags["text"], QJsonValue(1));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message"); // a part of the text on stderr
        QTest::addColumn<QString>("notWritten"); // must not exist afterwards
        QTest::addColumn<QString>("once"); // said once

        QVERIFY(writeFileBytes(temp("other.mvprg"), "<?xml version=\"1.0\"?>\n<other/>\n"));

        const QString out = temp("refused");
        // One output per row, so a file written by one row cannot fail another.
        const QString damagedOut = temp("from-damaged.mvprg"),
                      lockedOut = temp("from-locked.mvprg");

        QTest::newRow("damaged") << QStringList {"convert", m_damaged, "-o", damagedOut}
                                 << m_damaged << damagedOut << "行";
        QTest::newRow("not a project")
            << QStringList {"info", temp("other.mvprg")} << temp("other.mvprg") << QString()
            << "不是";
        QTest::newRow("wrong password")
            << QStringList {"convert", m_locked, "-o", lockedOut, "--password", "guess"} << m_locked
            << lockedOut << m_locked;
        QTest::newRow("unknown screen")
            << QStringList {"render", m_plain, "-o", out, "--screen", "无此画面"} << "无此画面"
            << out + "/基本画面_1.png" << "无此画面";
        // An empty name chooses no screen rather than every one.
        QTest::newRow("empty screen name")
            << QStringList {"render", m_plain, "-o", out, "--screen", ""} << "--screen"
            << out + "/基本画面_1.png" << "--screen";
        // The folder stands where the file would go.
        const QString folder = temp("folder.mvprg");
        QVERIFY(QDir().mkpath(folder));
        QTest::newRow("output is a folder")
            << QStringList {"convert", m_plain, "-o", folder} << folder << QString() << folder;
        // A tag list named by mistake is not replaced by a project.
        QTest::newRow("output of another kind")
            << QStringList {"convert", m_plain, "-o", temp("tags.csv")} << ".mvprg"
            << temp("tags.csv") << temp("tags.csv");
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(QString, notWritten);
        QFETCH(QString, once);

        // In the tool's own words, which no catalogue can make differ.
        const CliRun result = runCliProcess(arguments, speaking("zh_CN.UTF-8"));
        QCOMPARE(result.code, 1);
        QVERIFY(result.out.isEmpty());
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY2(err.count(once, Qt::CaseInsensitive) == 1, qPrintable(err));
        // One message, on one line.
        QCOMPARE(err.count('\n'), 1);
        QVERIFY(notWritten.isEmpty() || !QFileInfo::exists(notWritten));
    }

    // Every source of the password opens the locked project; the options
    // outrank the environment, and what would leave a script unsure which
    // password was meant is refused. No password is ever printed.
    void passwordSources_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("environment"); // MAROVIN_PASSWORD; null: unset
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("message"); // on stderr; empty: success

        const QString right = "s3cret-pw";
        const QStringList fromStdin {"--password-stdin"};
        QTest::newRow("stdin") << fromStdin << QString() << QByteArray("s3cret-pw\n") << "";
        QTest::newRow("stdin, no line break")
            << fromStdin << QString() << QByteArray("s3cret-pw") << "";
        QTest::newRow("stdin, CR LF") << fromStdin << QString() << QByteArray("s3cret-pw\r\n")
                                      << "";
        QTest::newRow("stdin, first line only")
            << fromStdin << QString() << QByteArray("s3cret-pw\nguess\n") << "";
        QTest::newRow("environment") << QStringList() << right << QByteArray() << "";
        QTest::newRow("stdin over environment")
            << fromStdin << "guess" << QByteArray("s3cret-pw\n") << "";
        QTest::newRow("argument over environment")
            << QStringList {"--password", right} << "guess" << QByteArray() << "";
        QTest::newRow("wrong in environment") << QStringList() << "guess" << QByteArray()
                                              << "密码错误";
        QTest::newRow("both options") << QStringList {"--password", right, "--password-stdin"}
                                      << QString() << QByteArray("s3cret-pw\n")
                                      << "不能同时使用";
        QTest::newRow("stdin empty") << fromStdin << right << QByteArray() << "没有给出密码";
        // The user did give the option; what was read is what to say.
        QTest::newRow("stdin empty line")
            << fromStdin << right << QByteArray("\n") << "读到的一行是空的";
        QTest::newRow("stdin empty line, CR LF")
            << fromStdin << QString() << QByteArray("\r\n") << "读到的一行是空的";
        QTest::newRow("stdin past the bound")
            << fromStdin << QString() << QByteArray(5000, 'x') + '\n' << "太长";
        QTest::newRow("none") << QStringList() << QString() << QByteArray()
                              << "--password-stdin";
    }

    void passwordSources()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, environment);
        QFETCH(QByteArray, input);
        QFETCH(QString, message);
        QProcessEnvironment variables = speaking("zh_CN.UTF-8");
        variables.remove("MAROVIN_PASSWORD");
        if (!environment.isNull())
            variables.insert("MAROVIN_PASSWORD", environment);

        // Each command reads the password alike.
        const QString out = temp("password-out");
        for (const QStringList &command :
             {QStringList {"info", m_locked}, QStringList {"check", m_locked},
              QStringList {"render", m_locked, "-o", out},
              QStringList {"tags", "export", m_locked, "--text", "-o", out + ".csv"}}) {
            const CliRun result = runCliProcess(command + options, variables, input);
            const QString err = QString::fromUtf8(result.err);
            QVERIFY2(result.code == (message.isEmpty() ? 0 : 1), qPrintable(err));
            QVERIFY2(err.contains(message), qPrintable(err));
            for (const QByteArray &said : {result.out, result.err})
                QVERIFY(!said.contains("s3cret-pw") && !said.contains("guess"));
        }
    }

    // Each script by name, with its lines and bytes as an editor shows them.
    void infoScripts()
    {
        const QByteArray one = "a = 1;\nb = \"二\";\n";
        const QByteArray two = "c = 3;\nd = 4";
        QByteArray file = fileBytes(m_plain);
        QVERIFY(file.contains("    </Form>"));
        file.replace("    </Form>", "<Window objectName=\"宏\" type=\"4\">" + one
                                          + "</Window><Window objectName=\"空\" type=\"4\">"
                                            "</Window><Window objectName=\"末\" type=\"4\">"
                                          + two + "</Window>\n    </Form>");
        const QString path = temp("scripts.mvprg");
        QVERIFY(writeFileBytes(path, file));
        const QJsonArray scripts = infoOf(path)["scripts"].toArray();
        QCOMPARE(scripts,
                 QJsonArray({QJsonObject {{"name", "宏"}, {"lines", 2}, {"bytes", one.size()}},
                             QJsonObject {{"name", "空"}, {"lines", 0}, {"bytes", 0}},
                             QJsonObject {{"name", "末"}, {"lines", 2}, {"bytes", two.size()}}}));
        QCOMPARE(infoOf(m_plain)["scripts"], QJsonValue(QJsonArray()));
    }

    // Bindings are counted per screen and in all, a group's own and its
    // members' alike; a project without any counts none.
    void infoBindings()
    {
        QByteArray file = fileBytes(m_plain);
        const QByteArray member = "objectName=\"a\" opacity";
        const QByteArray group = "<group fixe=\"true\" objectName=\"pair\" pos=\"(400,100)\" "
                                 "rotation=\"0.00\" zValue=\"5.00\">";
        const QByteArray ellipse = "<ellipse ";
        QVERIFY(file.contains(member) && file.contains(group) && file.contains(ellipse));
        file.replace(group, group + "<binding kind=\"visible\" tag=\"start\"/>"
                                    "<binding kind=\"chart\" tag=\"unknown kinds count not\"/>");
        const int at = file.indexOf(member);
        file.replace(file.indexOf("/>", at), 2,
                     "><binding kind=\"value\" tag=\"温度\"/></rectangle>");
        const QByteArray point = "<point x=\"-95\" y=\"-25\"/>";
        QVERIFY(file.contains(point));
        file.replace(point, "<binding kind=\"action\" action=\"set\"/>" + point);
        const QString path = temp("bindings.mvprg");
        QVERIFY(writeFileBytes(path, file));
        const QJsonObject info = infoOf(path);
        const QJsonArray screens = info["screens"].toArray();
        QCOMPARE(screens.at(0).toObject()["bindings"], QJsonValue(2));
        QCOMPARE(screens.at(1).toObject()["bindings"], QJsonValue(1));
        QCOMPARE(info["bindings"], QJsonValue(3));
        QCOMPARE(infoOf(m_plain)["bindings"], QJsonValue(0));
    }

    // The help names every command the tool runs, and each command's help
    // its own options and no others, in either language.
    void help_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("notShown");

        const QStringList commands {"info FILE", "render FILE", "convert FILE", "check FILE",
                                    "tags export FILE", "tags import FILE", "tags usage FILE",
                                    "help COMMAND"};
        QTest::newRow("--help") << QStringList {"--help"} << QByteArray("C")
                                << commands + QStringList {"--password-stdin", "MAROVIN_PASSWORD",
                                                           "lock of the editor"}
                                << QStringList {"--json", "--screen"};
        QTest::newRow("help") << QStringList {"help"} << QByteArray("C") << commands
                              << QStringList();
        QTest::newRow("help help") << QStringList {"help", "help"} << QByteArray("C") << commands
                                   << QStringList();
        QTest::newRow("help --help") << QStringList {"help", "--help"} << QByteArray("C")
                                     << commands << QStringList();
        QTest::newRow("help render")
            << QStringList {"help", "render"} << QByteArray("C")
            << QStringList {"render FILE -o DIR", "--screen <name>", "-o, --output <folder>",
                            "--password <password>", "--password-stdin", "MAROVIN_PASSWORD",
                            "255 bytes"}
            << QStringList {"--json", "--encrypt", "--address", "check FILE"};
        QTest::newRow("render --help") << QStringList {"render", "--help"} << QByteArray("C")
                                       << QStringList {"--screen <name>"}
                                       << QStringList {"--json", "--encrypt"};
        QTest::newRow("help convert")
            << QStringList {"help", "convert"} << QByteArray("C")
            << QStringList {"--encrypt", "--plain", "-o, --output <file>"}
            << QStringList {"--screen", "--json"};
        QTest::newRow("check -h") << QStringList {"check", "-h"} << QByteArray("C")
                                  << QStringList {"--json", "--password"}
                                  << QStringList {"--screen", "--address"};
        QTest::newRow("help tags") << QStringList {"help", "tags"} << QByteArray("C")
                                   << QStringList {"tags export FILE", "tags import FILE",
                                                   "tags usage FILE", "--address", "--text",
                                                   "--json"}
                                   << QStringList {"--screen"};
        QTest::newRow("Chinese") << QStringList {"--help"} << QByteArray("zh_CN.UTF-8")
                                 << QStringList {"用法：", "选项：", "命令：", "check 文件",
                                                 "tags import 文件 标签文件", "help 命令"}
                                 << QStringList {"Usage:", "Options:", "FILE", "COMMAND"};
        QTest::newRow("Chinese, one command")
            << QStringList {"help", "render"} << QByteArray("zh_CN.UTF-8")
            << QStringList {"用法：marovin-cli render 文件 -o 文件夹", "选项：", "--screen <名称>"}
            << QStringList {"Usage:", "Options:", "FILE", "DIR"};
    }

    void help()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, locale);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, notShown);
        const CliRun result = runCliProcess(arguments, speaking(locale.constData()));
        QCOMPARE(result.code, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        const QString help = QString::fromUtf8(result.out);
        // As wide as a terminal that was not told otherwise.
        for (const QString &line : help.split('\n'))
            QVERIFY2(columns(line) <= 80, qPrintable(line));
        for (const QString &text : shown)
            QVERIFY2(help.contains(text), qPrintable(text + " missing from:\n" + help));
        for (const QString &text : notShown)
            QVERIFY2(!help.contains(text), qPrintable(text + " shown in:\n" + help));
        // Wide characters take two columns: the descriptions line up on the
        // screen, not in characters.
        const QString options = locale == "C" ? "Options:" : "选项：";
        QCOMPARE(descriptionColumns(help, options).size(), 1);
        if (help.contains("Commands:") || help.contains("命令："))
            QCOMPARE(descriptionColumns(help, locale == "C" ? "Commands:" : "命令：").size(), 1);
    }

    // A call without a command or with a wrong one names them all.
    void commandList_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("none") << QStringList();
        QTest::newRow("unknown") << QStringList {"draw", m_plain};
        QTest::newRow("help unknown") << QStringList {"help", "draw"};
    }

    void commandList()
    {
        QFETCH(QStringList, arguments);
        const CliRun result = runCliProcess(arguments, speaking("C"));
        QCOMPARE(result.code, 1);
        const QString err = QString::fromUtf8(result.err);
        for (const char *command : {"info", "render", "convert", "check", "tags", "help"})
            QVERIFY2(arguments.value(0) == "help" ? err.contains("draw") : err.contains(command),
                     qPrintable(err));
    }

    // What the toolkit's parser finds wrong is said in the reader's language,
    // and a hint names a command that runs.
    void commandLineMistakes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown option")
            << QStringList {"info", m_plain, "--bogus"} << QByteArray("zh_CN.UTF-8")
            << "未知选项：--bogus";
        QTest::newRow("missing value")
            << QStringList {"info", m_plain, "--password"} << QByteArray("zh_CN.UTF-8")
            << "--password 后面缺少值";
        QTest::newRow("unexpected value")
            << QStringList {"render", m_plain, "--help=yes"} << QByteArray("zh_CN.UTF-8")
            << "--help 不接受值";
        QTest::newRow("tags without a subcommand")
            << QStringList {"tags"} << QByteArray("C")
            << "tags needs export, import or usage; see \"marovin-cli help tags\" for usage";
    }

    void commandLineMistakes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, locale);
        QFETCH(QString, message);
        const CliRun result = runCliProcess(arguments, speaking(locale.constData()));
        QCOMPARE(result.code, 1);
        QCOMPARE(QString::fromUtf8(result.err), "marovin-cli: " + message + "\n");
        const QString hint = message.section('"', 1, 1);
        if (!hint.isEmpty())
            QCOMPARE(runCliProcess(hint.split(' ').mid(1)).code, 0);
    }

    // Run where the user's runtime folder is unset (cron, containers) or is
    // not one the toolkit accepts (sudo keeping another user's), the tool
    // prints nothing on stderr but its own messages, and leaves nothing
    // behind in the temporary folder.
    void noRuntimeFolderWarning_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("runtime"); // "unset", or "shared": a folder others may enter
        const QString out = temp("quiet");
        for (const char *runtime : {"unset", "shared"}) {
            QTest::addRow("info, %s", runtime) << QStringList {"info", m_plain} << QString(runtime);
            QTest::addRow("render, %s", runtime)
                << QStringList {"render", m_plain, "-o", out} << QString(runtime);
        }
        QTest::newRow("convert, unset")
            << QStringList {"convert", m_encoded, "-o", out + ".mvprg"} << "unset";
        QTest::newRow("tags export, unset")
            << QStringList {"tags", "export", m_plain, "--text", "-o", out + ".xlsx"} << "unset";
        QTest::newRow("help, unset") << QStringList {"--help"} << "unset";
    }

    void noRuntimeFolderWarning()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, runtime);
        QTemporaryDir tmp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", tmp.path());
        environment.remove("XDG_RUNTIME_DIR");
        if (runtime != "unset") {
            const QString folder = tmp.filePath("not-private");
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner
                                              | QFile::ExeOwner | QFile::ReadGroup
                                              | QFile::ExeGroup | QFile::ReadOther
                                              | QFile::ExeOther));
            environment.insert("XDG_RUNTIME_DIR", folder);
        }
        const CliRun result = runCliProcess(arguments, environment);
        QCOMPARE(result.code, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        const QStringList left
            = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, runtime == "unset" ? QStringList() : QStringList {"not-private"});
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
