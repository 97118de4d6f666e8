#include "support/clirun.h"
#include "support/filebytes.h"
#include "support/testpictures.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <QtTest>

namespace {

// A project of one screen per name, each 40 x 30 unless sizes says otherwise.
QByteArray projectOf(const QStringList &names, const QList<QSize> &sizes = {})
{
    QString form;
    for (int i = 0; i < names.size(); ++i) {
        const QSize size = sizes.value(i, QSize(40, 30));
        form += QStringLiteral("<Window brushColor=\"#ffffff\" height=\"%1\" objectName=\"%2\" "
                               "type=\"1\" width=\"%3\"/>")
                    .arg(size.height())
                    .arg(names.at(i).toHtmlEscaped().replace("\t", "&#9;"))
                    .arg(size.width());
    }
    return (QStringLiteral("<?xml version=\"1.0\"?><Project><Form>") + form
            + QStringLiteral("</Form></Project>"))
        .toUtf8();
}

QString repeated(const QString &text, int times)
{
    QString all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

} // namespace

// Every screen of a render gets its picture under a file name that stays
// in the output folder, shows in a listing and fits the file system, and one
// screen that fails costs no other its picture.
class TestCliRender : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_runs = 0;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void fileNames_data()
    {
        QTest::addColumn<QStringList>("screens");
        QTest::addColumn<QStringList>("files"); // sorted

        QTest::newRow("parent folder") << QStringList {"../up", "基本"}
                                       << QStringList {"___up.png", "基本.png"};
        QTest::newRow("leading dots, separators, control characters")
            << QStringList {".hidden", "..", "a\\b", "c\td"}
            << QStringList {"__.png", "_hidden.png", "a_b.png", "c_d.png"};
        // A name that comes out as another's, and one that looks like a
        // numbered repeat already.
        QTest::newRow("repeats") << QStringList {"a/b", "a_b", "a_b-2", "a\\b"}
                                 << QStringList {"a_b-2-2.png", "a_b-2.png", "a_b-3.png",
                                                 "a_b.png"};
        // 100 Chinese characters take 300 bytes; 83 of them and ".png" fit
        // in 255, and 83 still fit beside "-2.png".
        const QString chinese = repeated("画", 100);
        QTest::newRow("too long")
            << QStringList {chinese, chinese, "后"}
            << QStringList {"后.png", repeated("画", 83) + "-2.png", repeated("画", 83) + ".png"};
        // One byte a character leaves no slack for the number.
        const QString ascii = repeated("a", 300);
        QTest::newRow("too long, one byte a character")
            << QStringList {ascii, ascii}
            << QStringList {repeated("a", 249) + "-2.png", repeated("a", 251) + ".png"};
        // Four bytes a character: a cut inside the pair of a character
        // beyond the basic plane would leave a broken name.
        const QString smile = QString::fromUcs4(U"\U0001F600");
        QTest::newRow("cut between characters")
            << QStringList {"ab" + repeated(smile, 70)}
            << QStringList {"ab" + repeated(smile, 62) + ".png"};
    }

    void fileNames()
    {
        QFETCH(QStringList, screens);
        QFETCH(QStringList, files);
        const QString run = m_dir.filePath(QString::number(++m_runs));
        const QString project = run + ".mvprg";
        QVERIFY(writeFileBytes(project, projectOf(screens)));
        const QString out = run + "/pictures";

        const CliRun result = runCliProcess({"render", project, "-o", out});
        QVERIFY2(result.code == 0, result.err.constData());
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                     QDir::Name),
                 files);
        // Nothing beside the output folder but the folder itself.
        QCOMPARE(QDir(run).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList {"pictures"});
        for (const QString &file : files) {
            QVERIFY(file.toUtf8().size() <= 255);
            QCOMPARE(QImage(QDir(out).filePath(file)).size(), QSize(40, 30));
        }
    }

    // A widget's caption is drawn; an empty one draws the kind's initial
    // caption, as it did before captions could be set.
    void drawsWidgetCaptions()
    {
        const QString run = m_dir.filePath(QString::number(++m_runs));
        const QString project = run + ".mvprg";
        QString form;
        const QStringList captions = {"", "lineedit", "Pump 2 运行"};
        for (int i = 0; i < captions.size(); ++i)
            form += QStringLiteral("<Window brushColor=\"#ffffff\" height=\"60\" objectName=\"s%1\" "
                                   "type=\"1\" width=\"200\"><widget fixe=\"false\" "
                                   "height=\"40.00\" objectName=\"w\" opacity=\"1.00\" "
                                   "pos=\"(100,30)\" rotation=\"0.00\" text=\"%2\" type=\"17\" "
                                   "width=\"180.00\" zValue=\"1.00\"/></Window>")
                        .arg(i)
                        .arg(captions.at(i));
        QVERIFY(writeFileBytes(project, ("<?xml version=\"1.0\"?><Project><Form>" + form
                                         + "</Form></Project>")
                                            .toUtf8()));
        const QString out = run + "/pictures";
        const CliRun result = runCliProcess({"render", project, "-o", out});
        QVERIFY2(result.code == 0, result.err.constData());
        const QImage initial(QDir(out).filePath("s0.png"));
        QVERIFY(!initial.isNull());
        QCOMPARE(QImage(QDir(out).filePath("s1.png")), initial);
        const QImage captioned(QDir(out).filePath("s2.png"));
        QCOMPARE(captioned.size(), initial.size());
        QVERIFY(captioned != initial);
    }

    // The failing screen comes first, so a run that stops at it draws none.
    void goesOnPastAFailure_data()
    {
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<bool>("blocked"); // a folder stands where the first picture goes
        QTest::addColumn<QString>("message");

        QTest::newRow("cannot be written") << QList<QSize> {} << true << "first.png";
        QTest::newRow("no area") << QList<QSize> {QSize(0, 30)} << false << "first";
    }

    void goesOnPastAFailure()
    {
        QFETCH(QList<QSize>, sizes);
        QFETCH(bool, blocked);
        QFETCH(QString, message);
        const QString run = m_dir.filePath(QString::number(++m_runs));
        const QString project = run + ".mvprg";
        QVERIFY(writeFileBytes(project, projectOf({"first", "second", "third"}, sizes)));
        const QString out = run + "/pictures";
        QVERIFY(QDir().mkpath(out));
        if (blocked)
            QVERIFY(QDir(out).mkdir("first.png"));

        const CliRun result = runCliProcess({"render", project, "-o", out});
        QCOMPARE(result.code, 1);
        const QString err = QString::fromUtf8(result.err);
        // One line, naming the screen that failed and no other.
        QCOMPARE(err.count('\n'), 1);
        QVERIFY2(err.contains(message) && !err.contains("second") && !err.contains("third"),
                 qPrintable(err));
        for (const char *later : {"second.png", "third.png"})
            QCOMPARE(QImage(QDir(out).filePath(later)).size(), QSize(40, 30));
        QVERIFY(!QFileInfo(QDir(out).filePath("first.png")).isFile());
    }

    // Pictures resolve against the project file's own folder, whatever
    // folder the file says it was saved in; one that cannot be drawn is a
    // placeholder in the picture and a warning of check.
    void picturesDrawnAndChecked_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QByteArray>("bytes"); // no file when empty
        QTest::addColumn<QString>("finding"); // none when empty
        const QColor red(220, 0, 0);
        const QColor blue(0, 0, 220);
        QTest::newRow("png") << "images/p.png"
                             << testpictures::halves(QSize(10, 10), red, blue) << QString();
        QTest::newRow("svg") << "images/p.svg" << testpictures::halvesSvg(red, blue)
                             << QString();
        QTest::newRow("missing") << "images/gone.png" << QByteArray() << "pictureMissing";
        QTest::newRow("cut short")
            << "images/cut.png" << testpictures::halves(QSize(64, 64), red, blue).left(80)
            << "pictureUnreadable";
    }

    void picturesDrawnAndChecked()
    {
        QFETCH(QString, picture);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, finding);
        const QDir run(m_dir.filePath(QString::number(++m_runs)));
        QVERIFY(run.mkpath("images"));
        if (!bytes.isEmpty())
            QVERIFY(writeFileBytes(run.filePath(picture), bytes));
        const QString project = run.filePath("p.mvprg");
        QVERIFY(writeFileBytes(
            project, QStringLiteral("<?xml version=\"1.0\"?><Project>"
                                    "<Config name=\"p\" path=\"/nowhere\"/><Form>"
                                    "<Window brushColor=\"#ffffff\" height=\"30\" objectName=\"s\" "
                                    "type=\"1\" width=\"60\"><imageitem objectName=\"logo\" "
                                    "width=\"40\" height=\"20\" pos=\"(10,5)\" picture=\"%1\"/>"
                                    "</Window></Form></Project>")
                         .arg(picture)
                         .toUtf8()));

        const CliRun drawn = runCliProcess({"render", project, "-o", run.filePath("out")});
        QVERIFY2(drawn.code == 0, drawn.err.constData());
        QVERIFY2(drawn.err.isEmpty(), drawn.err.constData());
        const QImage image(run.filePath("out/s.png"));
        QCOMPARE(image.size(), QSize(60, 30));
        // Outside the box the screen; inside, the picture's halves or the
        // placeholder's red cross, which has no blue half.
        QCOMPARE(QColor(image.pixel(5, 15)), QColor(Qt::white));
        const auto isRed = [&image](int x, int y) {
            const QColor c(image.pixel(x, y));
            return c.red() > 180 && c.green() < 60 && c.blue() < 60;
        };
        const QColor right(image.pixel(45, 15));
        QCOMPARE(right.blue() > 180 && right.red() < 60, finding.isEmpty());
        if (finding.isEmpty())
            QVERIFY(isRed(14, 15));
        else
            QVERIFY(isRed(30, 5)); // the placeholder's frame

        const CliRun checked = runCliProcess({"check", project, "--json"});
        const QString out = QString::fromUtf8(checked.out);
        QVERIFY2(checked.err.isEmpty(), checked.err.constData());
        QCOMPARE(out.contains("picture"), !finding.isEmpty());
        if (!finding.isEmpty()) {
            QVERIFY2(out.contains(finding) && out.contains("logo") && out.contains(picture),
                     qPrintable(out));
        }
    }
};

QTEST_MAIN(TestCliRender)
#include "tst_clirender.moc"
