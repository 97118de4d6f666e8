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
        const QString font = Application::applicationFont().toString().toHtmlEscaped();
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

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message"); // a part of the text on stderr
        QTest::addColumn<QString>("notWritten"); // must not exist afterwards

        const QString out = temp("refused");
        // One output per row, so a file written by one row cannot fail another.
        const QString damagedOut = temp("from-damaged.mvprg"),
                      lockedOut = temp("from-locked.mvprg");

        QTest::newRow("damaged") << QStringList {"convert", m_damaged, "-o", damagedOut}
                                 << m_damaged << damagedOut;
        QTest::newRow("wrong password")
            << QStringList {"convert", m_locked, "-o", lockedOut, "--password", "guess"} << m_locked
            << lockedOut;
        QTest::newRow("unknown screen")
            << QStringList {"render", m_plain, "-o", out, "--screen", "无此画面"} << "无此画面"
            << out + "/基本画面_1.png";
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
        QVERIFY(!QFileInfo::exists(notWritten));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
