#include "support/clirun.h"
#include "support/filebytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A small project with one screen holding a group, a polygon and a text,
// built by hand so each row can change one place in it.
QByteArray project(const QByteArray &window = "width=\"800\" height=\"480\"",
                   const QByteArray &extraConfig = QByteArray(),
                   const QByteArray &extraProject = QByteArray())
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE Marovin>\n<Project>\n"
           "<Config name=\"p\" screen=\"800,480\">"
        + extraConfig
        + "<Language><lan0 name=\"中文\" font=\"Arial,10,-1,5,50,0,0,0,0,0\"/></Language>"
          "<Device><dev0 name=\"PLC\" baud=\"9600\"/></Device>"
          "<TextLib count=\"1\"><label0 name=\"t\"><status0><lan0 value=\"v\"/></status0></label0>"
          "</TextLib>"
          "<AddressLib count=\"1\"><label0 name=\"a\" device=\"本地\" address=\"LW "
          "1\"/></AddressLib>"
          "</Config>\n"
          "<Form><Window type=\"1\" objectName=\"s\" "
        + window
        + ">"
          "<group objectName=\"g\"><rectangle objectName=\"r\" width=\"10\" height=\"10\" "
          "pos=\"(5,5)\"/><ellipse width=\"20\" height=\"10\" pos=\"(30,5)\"/></group>"
          "<polygon x=\"100\" y=\"100\"><point x=\"-5\" y=\"-5\"/><point x=\"5\" y=\"-5\"/>"
          "<point x=\"0\" y=\"5\"/></polygon>"
          "<textitem text=\"hello\" width=\"50\" height=\"20\" pos=\"(200,200)\"/>"
          "</Window></Form>\n"
        + extraProject + "</Project>\n";
}

} // namespace

// Damaged, hostile and absurd project files through the command-line tool:
// each must end in a loaded project or in exit code 1 with a message, never
// in a crash or a hang.
class TestCliBadInput : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void badFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // A text the render command must report, or empty when any message
        // (or success) will do.
        QTest::addColumn<QString>("renderMessage");

        QTest::newRow("empty file") << QByteArray() << QString();
        for (const char *name : {"golden.mvprg", "golden-encoded.mvprg"}) {
            const QByteArray whole = fileBytes(QStringLiteral(BADINPUT_TEST_DATA "/") + name);
            QTest::addRow("%s cut in half", name) << whole.left(whole.size() / 2) << QString();
        }

        QTest::newRow("names not UTF-8")
            << project("objectName=\"\xff\xfe\x80\" width=\"800\" height=\"480\"")
                   .replace("name=\"p\"", "name=\"\xc3\x28\"")
            << QString();
        QTest::newRow("names in Latin-1 declared")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Project><Config "
                          "name=\"\xe9\"/><Form>"
                          "<Window type=\"1\" objectName=\"\xe9\xff\" width=\"80\" "
                          "height=\"40\"/></Form></Project>")
            << QString();

        // Sizes: the screen, then a shape.
        const QByteArray tooLarge = "画面太大，无法输出图片";
        QTest::newRow("screen width 1e308")
            << project("width=\"1e308\" height=\"480\"") << QString();
        QTest::newRow("screen 40000 x 40000")
            << project("width=\"40000\" height=\"40000\"") << QString::fromUtf8(tooLarge);
        QTest::newRow("config screen huge")
            << project().replace("screen=\"800,480\"", "screen=\"2147483647,-2147483648\"")
            << QString();
        QTest::newRow("shape width -1e308")
            << project().replace("width=\"10\"", "width=\"-1e308\"") << QString();
        QTest::newRow("point far away")
            << project().replace("<point x=\"0\"", "<point x=\"1e308\"") << QString();
        QTest::newRow("pen and fonts absurd")
            << project()
                   .replace("<rectangle ",
                            "<rectangle penSize=\"2147483647\" penStyle=\"99\" brushStyle=\"-7\" ")
                   .replace("<textitem ", "<textitem font=\"Arial,1e308,-1,5,50,0,0,0,0,0\" ")
            << QString();

        QTest::newRow("50 MB attribute") << project().replace(
            "objectName=\"r\"", "objectName=\"" + QByteArray(50 * 1024 * 1024, 'x') + '"')
                                         << QString();

        // An unknown element inside each kind of element that reads children
        // (screens and groups: tst_projectfile).
        const QList<QByteArray> places
            = {"<Project>", "<Config name=\"p\" screen=\"800,480\">", "<status0>",
               "<AddressLib count=\"1\">", "<polygon x=\"100\" y=\"100\">"};
        const QByteArray unknown = "<Unknown a=\"1\"><inner><deeper/></inner>text</Unknown>";
        for (const QByteArray &place : places) {
            QTest::addRow("unknown element after %s", place.trimmed().constData())
                << project().replace(place, place + unknown) << QString();
        }

        const QByteArray config = "<Config name=\"second\" screen=\"10,10\"><Device/></Config>";
        const QByteArray form = "<Form><Window type=\"1\" width=\"50\" height=\"50\">"
                                "<rectangle width=\"1\" height=\"1\"/></Window></Form>";
        QTest::newRow("Config twice") << project(QByteArray(), QByteArray(), config) << QString();
        QTest::newRow("Form twice") << project(QByteArray(), QByteArray(), form) << QString();
    }

    void badFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, renderMessage);

        const QString file = m_dir.filePath(QStringLiteral("bad.mvprg"));
        QVERIFY(writeFileBytes(file, bytes));
        const QString pictures = m_dir.filePath(QStringLiteral("pictures"));
        QDir(pictures).removeRecursively();

        // The messages expected below are the tool's Chinese ones.
        QProcessEnvironment chinese = QProcessEnvironment::systemEnvironment();
        chinese.insert(QStringLiteral("LC_ALL"), QStringLiteral("zh_CN.UTF-8"));
        const CliRun info = runCliProcess({QStringLiteral("info"), file}, chinese);
        const CliRun render
            = runCliProcess({QStringLiteral("render"), file, "-o", pictures}, chinese);
        // Ends in a crash or a hang give code -1.
        for (const CliRun &run : {info, render}) {
            QVERIFY2(run.code == 0 || run.code == 1, run.err.left(500).constData());
            if (run.code == 1)
                QVERIFY2(run.err.contains("marovin-cli: "), run.err.left(500).constData());
        }
        // A loaded project is described in full.
        if (info.code == 0) {
            QJsonParseError error;
            QJsonDocument::fromJson(info.out, &error);
            QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        }
        if (!renderMessage.isEmpty()) {
            QCOMPARE(render.code, 1);
            QVERIFY2(QString::fromUtf8(render.err).contains(renderMessage), render.err.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestCliBadInput)

#include "tst_clibadinput.moc"
