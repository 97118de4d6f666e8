#include "support/clirun.h"
#include "support/filebytes.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Golden = QStringLiteral(MAROVIN_TEST_DATA_DIR "/golden.mvprg");

// The tool with every file it writes failing at byte limit, as on a disk
// that fills up there.
CliRun runCliFull(qint64 limit, const QStringList &arguments)
{
    // The tool itself must turn the limit's signal into a failed write, or
    // it ends without a word.
    return runProgram(QStringLiteral("/bin/sh"),
                      QStringList {"-c", "exec prlimit --fsize=$0 -- \"$@\"",
                                   QString::number(limit), MAROVIN_CLI}
                          + arguments);
}

} // namespace

// What the tool writes never ends up cut short while it reports success.
class TestCliFailures : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void lostStandardOutputFails_data();
    void lostStandardOutputFails();
};

void TestCliFailures::fullDiskKeepsOldFile_data()
{
    // OUT stands for the file written; a render writes OUT's folder.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("convert") << QStringList {"convert", Golden, "-o", "OUT"} << "out.mvprg";
    QTest::newRow("address tags, csv")
        << QStringList {"tags", "export", Golden, "--address", "-o", "OUT"} << "tags.csv";
    QTest::newRow("text tags, xlsx")
        << QStringList {"tags", "export", Golden, "--text", "-o", "OUT"} << "tags.xlsx";
    QTest::newRow("render") << QStringList {"render", Golden, "--screen", "SCREEN", "-o", "OUT"}
                            << "SCREEN.png";
}

void TestCliFailures::fullDiskKeepsOldFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    const bool render = arguments.first() == "render";
    if (render) {
        const CliRun info = runCliProcess({"info", Golden});
        QCOMPARE(info.code, 0);
        const QString screen = QJsonDocument::fromJson(info.out)["screens"][0]["name"].toString();
        QVERIFY(!screen.isEmpty());
        arguments.replaceInStrings("SCREEN", screen);
        file.replace("SCREEN", screen);
    }
    QTemporaryDir dir;
    auto at = [&](const QString &folder) {
        QStringList filled = arguments;
        const QString out = dir.filePath(folder) + (render ? QString() : "/" + file);
        filled.replaceInStrings(QRegularExpression("^OUT$"), out);
        return filled;
    };
    QVERIFY(QDir(dir.path()).mkpath("probe") && QDir(dir.path()).mkpath("target"));
    const CliRun probe = runCliProcess(at("probe"));
    QVERIFY2(probe.code == 0, probe.err.constData());
    const qint64 size = QFileInfo(dir.filePath("probe/" + file)).size();
    QVERIFY(size > 100);

    const QString target = dir.filePath("target/" + file);
    const QByteArray old = "the file as it was";
    // A workbook carries the time it was made, which may change its size by
    // a few bytes.
    const bool workbook = file.endsWith(".xlsx");
    for (const qint64 limit : {qint64(0), size / 2, size - (workbook ? 100 : 1)}) {
        QVERIFY(writeFileBytes(target, old));
        const CliRun full = runCliFull(limit, at("target"));
        QCOMPARE(full.code, 1);
        // Only the tool speaks on stderr; the spreadsheet library, which
        // would speak first, says nothing.
        QVERIFY2(full.err.startsWith("marovin-cli: "), full.err.constData());
        QCOMPARE(fileBytes(target), old);
        QCOMPARE(QDir(dir.filePath("target")).entryList(QDir::Files | QDir::Hidden),
                 QStringList {file});
    }
    // The limit itself is no fault: with room for every byte, all is written
    // (a workbook is packed from scratch parts larger than itself).
    QCOMPARE(runCliFull(workbook ? 1 << 20 : size, at("target")).code, 0);
    if (workbook)
        QVERIFY(qAbs(QFileInfo(target).size() - size) < 100);
    else
        QCOMPARE(fileBytes(target), fileBytes(dir.filePath("probe/" + file)));
}

void TestCliFailures::lostStandardOutputFails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("info") << QStringList {"info", Golden};
    QTest::newRow("check --json") << QStringList {"check", Golden, "--json"};
    QTest::newRow("help") << QStringList {"--help"};
}

void TestCliFailures::lostStandardOutputFails()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(MAROVIN_CLI, arguments);
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().startsWith("marovin-cli: "));
}

QTEST_GUILESS_MAIN(TestCliFailures)
#include "tst_clifailures.moc"
