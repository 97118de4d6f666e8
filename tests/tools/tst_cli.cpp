#include "app/application.h"
#include "project/config.h"
#include "support/clirun.h"
#include "support/filebytes.h"
#include "support/isolatedsettings.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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

QJsonObject infoOf(const QString &file)
{
    const CliRun result = runCli({QStringLiteral("info"), file});
    if (result.code != 0)
        qWarning("info %s failed: %s", qPrintable(file), result.err.constData());
    return QJsonDocument::fromJson(result.out).object();
}

// Follows "a/b/0/c"; "#" as the last step gives the size of an array.
QJsonValue valueAt(QJsonValue value, const QString &path)
{
    for (const QString &step : path.split(QLatin1Char('/'))) {
        if (step == QLatin1String("#"))
            return value.toArray().size();
        bool number = false;
        const int index = step.toInt(&number);
        value = number ? value.toArray().at(index) : value.toObject().value(step);
    }
    return value;
}

// The first and last columns holding anything but the colour of the
// top-left pixel; -1, -1 for a blank picture.
QPair<int, int> inkColumns(const QImage &image)
{
    const QRgb background = image.pixel(0, 0);
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != background) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
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
        QVERIFY(plain.startsWith("<?xml"));
        QVERIFY(!fileBytes(m_encoded).startsWith("<?xml"));

        QByteArray locked = plain;
        locked.replace("projectPw=\"\"", "projectPw=\"s3cret-pw\"");
        locked.replace("macroPw=\"\"", "macroPw=\"m4cr0-pw\"");
        QVERIFY(locked != plain);
        m_locked = temp(QStringLiteral("locked.mvprg"));
        QVERIFY(writeFileBytes(m_locked, locked));
        m_damaged = temp(QStringLiteral("damaged.mvprg"));
        QVERIFY(writeFileBytes(m_damaged, plain.left(plain.size() / 2)));
        QVERIFY(writeFileBytes(temp(QStringLiteral("other.mvprg")),
                               "<?xml version=\"1.0\"?>\n<Settings a=\"1\"/>\n"));
    }

    void info_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("plain");
        QTest::addColumn<QJsonValue>("encoded");

        auto same = [](const char *path, const QJsonValue &value) {
            QTest::newRow(path) << QString::fromLatin1(path) << value << value;
        };
        QTest::newRow("storedForm") << "storedForm" << QJsonValue("plain") << QJsonValue("encoded");
        QTest::newRow("project/encryption")
            << "project/encryption" << QJsonValue(0) << QJsonValue(1);
        same("project/name", QStringLiteral("golden"));
        same("devices/0/baud", 19200);
        // Rectangle, ellipse, text and the group; with the group's two members.
        same("screens/0/shapes", 4);
        same("screens/0/shapesTotal", 6);
        same("tags/address", 2);
    }

    void info()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, plain);
        QFETCH(QJsonValue, encoded);
        static const QJsonObject plainInfo = infoOf(m_plain);
        static const QJsonObject encodedInfo = infoOf(m_encoded);
        QCOMPARE(valueAt(plainInfo, path), plain);
        QCOMPARE(valueAt(encodedInfo, path), encoded);
    }

    void passwordIsCheckedButNeverShown()
    {
        const CliRun result = runCli({"info", m_locked, "--password", "s3cret-pw"});
        QCOMPARE(result.code, 0);
        const QJsonObject info = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(valueAt(info, "project/projectPassword"), QJsonValue(true));
        QCOMPARE(valueAt(info, "project/macroPassword"), QJsonValue(true));
        QVERIFY(!result.out.contains("s3cret-pw") && !result.out.contains("m4cr0-pw"));
    }

    void render()
    {
        const QString out = temp(QStringLiteral("pictures"));
        const CliRun result = runCli({"render", m_encoded, "-o", out}, false);
        QVERIFY2(result.code == 0, result.err.constData());
        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
                 QStringList({"基本画面_1.png", "窗口画面_1.png"}));
        const QImage base(QDir(out).filePath("基本画面_1.png"));
        const QImage window(QDir(out).filePath("窗口画面_1.png"));
        QCOMPARE(base.size(), QSize(800, 480));
        QCOMPARE(window.size(), QSize(400, 240));

        const QColor fill(0xc0, 0xd0, 0xe0);
        const struct
        {
            QPoint point;
            QColor colour;
            const char *what;
        } probes[] = {
            {{22, 32}, fill, "the rectangle (20,30) 100x60, near its corner"},
            {{550, 220}, fill, "group member b"},
            {{470, 170}, Qt::white, "inside the group box, between members"},
            {{240, 80}, fill, "centre of the ellipse"},
            {{202, 42}, Qt::white, "corner of the ellipse's box"},
        };
        for (const auto &probe : probes)
            QVERIFY2(base.pixelColor(probe.point) == probe.colour, probe.what);
        // The polyline runs from (10, 10) to (100, 60) first: near (55, 35) a
        // thin line in its pen colour, open screen well off it.
        int inked = 0;
        for (int y = 33; y <= 37; ++y)
            inked += window.pixelColor(55, y) != Qt::white;
        QVERIFY(inked >= 1);
        QCOMPARE(window.pixelColor(55, 50), QColor(Qt::white));

        const QString one = temp(QStringLiteral("one"));
        QCOMPARE(runCli({"render", m_plain, "-o", one, "--screen", "窗口画面_1"}).code, 0);
        QCOMPARE(QDir(one).entryList(QDir::Files), QStringList {"窗口画面_1.png"});
    }

    // Text without a font of its own is painted in the editor's application
    // font: as wide as the same text given that font outright.
    void renderUsesTheEditorsFont()
    {
        const QString screen = QStringLiteral(
            "<Window brushColor=\"#ffffff\" height=\"60.00\" objectName=\"%1\" type=\"1\" "
            "width=\"400.00\">\n<textitem alignHor=\"1\" alignVer=\"2\" brushStyle=\"0\" %2"
            "height=\"40.00\" objectName=\"t\" opacity=\"1.00\" penColor=\"#000000\" "
            "pos=\"(10,10)\" text=\"pushbutton text width\" width=\"380.00\" zValue=\"1.00\"/>\n"
            "</Window>\n");
        const QString font = Application::applicationFont().toString().toHtmlEscaped();
        const QByteArray file = (QStringLiteral("<?xml version=\"1.0\"?>\n<Project>\n"
                                                "<Config name=\"f\"/>\n<Form>\n")
                                 + screen.arg("inherited", QString())
                                 + screen.arg("given", QStringLiteral("font=\"%1\" ").arg(font))
                                 + QStringLiteral("</Form>\n</Project>\n"))
                                    .toUtf8();
        const QString path = temp(QStringLiteral("font.mvprg"));
        QVERIFY(writeFileBytes(path, file));
        const QString out = temp(QStringLiteral("fonts"));
        const CliRun result = runCli({"render", path, "-o", out});
        QVERIFY2(result.code == 0, result.err.constData());

        const QPair<int, int> inherited = inkColumns(QImage(QDir(out).filePath("inherited.png")));
        const QPair<int, int> given = inkColumns(QImage(QDir(out).filePath("given.png")));
        QVERIFY(inherited.first >= 0 && given.first >= 0);
        QVERIFY(qAbs((inherited.second - inherited.first) - (given.second - given.first)) <= 1);
    }

    void convert_data()
    {
        QTest::addColumn<bool>("fromPlain");
        QTest::addColumn<QStringList>("steps"); // form switches, applied in turn
        QTest::addColumn<bool>("toPlain");
        QTest::newRow("encoded kept") << false << QStringList {QString()} << false;
        QTest::newRow("plain to encoded") << true << QStringList {"--encrypt"} << false;
        QTest::newRow("encoded, plain, encoded")
            << false << QStringList {"--plain", "--encrypt"} << false;
    }

    void convert()
    {
        QFETCH(bool, fromPlain);
        QFETCH(QStringList, steps);
        QFETCH(bool, toPlain);

        QString source = fromPlain ? m_plain : m_encoded;
        for (int i = 0; i < steps.size(); ++i) {
            const QString output = temp(QString("%1-%2.mvprg").arg(QTest::currentDataTag()).arg(i));
            QStringList arguments = {"convert", source, "-o", output};
            if (!steps.at(i).isEmpty())
                arguments << steps.at(i);
            const CliRun result = runCli(arguments);
            QVERIFY2(result.code == 0, result.err.constData());
            source = output;
        }
        // Both golden files hold the same project: each form must come out
        // byte for byte as the golden file of that form (so its info, checked
        // above, is that of the golden file too).
        QCOMPARE(fileBytes(source), fileBytes(toPlain ? m_plain : m_encoded));
    }

    // A file from a newer version: the command does its work, warns on
    // stderr and succeeds; convert carries the unknown element over.
    void unknownElementsWarn()
    {
        QByteArray newer = fileBytes(m_plain);
        const int window = newer.indexOf("<Window ");
        QVERIFY(window > 0);
        newer.insert(newer.indexOf('>', window) + 1, "<circle r=\"3\"/>");
        const QString path = temp("newer.mvprg"), out = temp("newer-out.mvprg");
        QVERIFY(writeFileBytes(path, newer));
        const CliRun info = runCli({"info", path});
        const CliRun convert = runCli({"convert", path, "-o", out});
        for (const CliRun &result : {info, convert}) {
            QCOMPARE(result.code, 0);
            const QString err = QString::fromUtf8(result.err);
            QVERIFY2(err.contains(path) && err.contains("circle"), qPrintable(err));
        }
        QCOMPARE(valueAt(QJsonDocument::fromJson(info.out).object(), "screens/0/shapes"),
                 QJsonValue(4));
        QVERIFY(fileBytes(out).contains("<circle r=\"3\"/>"));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message"); // a part of the text on stderr
        QTest::addColumn<QString>("notWritten"); // must not exist afterwards

        const QString missing = temp("missing.mvprg"), other = temp("other.mvprg"),
                      out = temp("refused");
        // One output per row, so a file written by one row cannot fail another.
        const QString damagedOut = temp("from-damaged.mvprg"),
                      lockedOut = temp("from-locked.mvprg"), bothOut = temp("both-forms.mvprg");
        const QString none;

        QTest::newRow("missing file") << QStringList {"info", missing} << missing << none;
        QTest::newRow("other root") << QStringList {"info", other} << other << none;
        QTest::newRow("damaged") << QStringList {"convert", m_damaged, "-o", damagedOut}
                                 << m_damaged << damagedOut;
        QTest::newRow("no password") << QStringList {"info", m_locked} << "--password" << none;
        QTest::newRow("wrong password")
            << QStringList {"convert", m_locked, "-o", lockedOut, "--password", "guess"} << m_locked
            << lockedOut;
        QTest::newRow("unknown command") << QStringList {"explode", m_plain} << "explode" << none;
        QTest::newRow("unknown screen")
            << QStringList {"render", m_plain, "-o", out, "--screen", "无此画面"} << "无此画面"
            << out + "/基本画面_1.png";
        QTest::newRow("render without -o") << QStringList {"render", m_plain} << "-o" << none;
        QTest::newRow("both forms")
            << QStringList {"convert", m_plain, "-o", bothOut, "--encrypt", "--plain"} << "--plain"
            << bothOut;
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(QString, notWritten);

        const CliRun result = runCli(arguments);
        QCOMPARE(result.code, 1);
        QVERIFY(result.out.isEmpty());
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(err.contains(message), qPrintable(err));
        if (!notWritten.isEmpty())
            QVERIFY(!QFileInfo::exists(notWritten));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
