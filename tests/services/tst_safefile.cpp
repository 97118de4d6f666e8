#include "document/projectfile.h"
#include "mainwindow/autosaver.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "services/safefile.h"
#include "support/filebytes.h"
#include "support/filesizelimit.h"
#include "support/isolatedsettings.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QVector<QStringList> addressRows()
{
    QVector<QStringList> rows;
    for (int i = 0; i < 60; ++i) {
        rows.append({QStringLiteral("变量_%1").arg(i), QStringLiteral("本地"),
                     QStringLiteral("LW %1").arg(i), QStringLiteral("Int16"), QStringLiteral("2"),
                     QStringLiteral("备注 %1").arg(i)});
    }
    return rows;
}

QVector<TextTagRecord> textTags()
{
    QVector<TextTagRecord> tags;
    for (int i = 0; i < 40; ++i)
        tags.append({QStringLiteral("标签_%1").arg(i), {{QStringLiteral("开 %1").arg(i)},
                                                        {QStringLiteral("关 %1").arg(i)}}});
    return tags;
}

// Every writer of the program that replaces a file, by name: writes its
// payload to path, false with a message in *error.
bool runWriter(const QString &writer, const QString &path, QString *error)
{
    if (writer == "project")
        return ProjectFile::write(path, error);
    if (writer == "autosave") {
        // The copy belongs to the project of the same name without "~" and
        // ".autosave".
        Config::instance()->setProjectFile(QFileInfo(path).absolutePath() + "/p.mvprg");
        AutoSaver saver([] { return true; });
        QObject::connect(&saver, &AutoSaver::statusMessage, [error](const QString &text) {
            *error = text;
        });
        const bool ok = saver.saveNow();
        return ok;
    }
    if (writer == "address csv" || writer == "address xlsx")
        return TagExchange::exportAddressTags(path, TagExchange::addressHeader(), addressRows(),
                                              error);
    if (writer == "text csv" || writer == "text xlsx")
        return TagExchange::exportTextTags(path, TagExchange::textHeader(), textTags(), error);
    if (writer == "settings") {
        return SafeFile::updateSettings(path,
                                        {{"recentFiles", QStringList {"/a/b.mvprg", "/c/d.mvprg"}},
                                         {"gridX", 24}, {"language", QVariant()}},
                                        error);
    }
    return false;
}

QString fileName(const QString &writer)
{
    if (writer == "autosave")
        return "~p.mvprg.autosave";
    if (writer.endsWith(" csv"))
        return "tags.csv";
    if (writer.endsWith(" xlsx"))
        return "tags.xlsx";
    return writer == "settings" ? "config.ini" : "p.mvprg";
}

} // namespace

enum Cut { FirstByte, Middle, LastByte };

class TestSafeFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { Config::instance()->reset(); }

    // A disk that fills up at any byte of the payload: the writer says so
    // and the file it was to replace keeps every byte.
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void producerFailureKeepsOldFile();
};

void TestSafeFile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("cut"); // where the disk is full
    const char *writers[] = {"project",  "autosave",  "address csv", "address xlsx",
                             "text csv", "text xlsx", "settings"};
    for (const char *writer : writers) {
        QTest::addRow("%s, first byte", writer) << QString(writer) << int(FirstByte);
        QTest::addRow("%s, middle", writer) << QString(writer) << int(Middle);
        QTest::addRow("%s, last byte", writer) << QString(writer) << int(LastByte);
    }
}

void TestSafeFile::failedWriteKeepsOldFile()
{
    QFETCH(QString, writer);
    QFETCH(int, cut);
    const bool workbook = writer.endsWith("xlsx");
    QTemporaryDir dir;
    Config::instance()->version = "1.2.3";
    // What the file holds before: settings keep the keys they do not set.
    const QByteArray old = "[General]\nlanguage=1\nkept=old\n";
    QString error;
    const QString probe = dir.filePath("probe/" + fileName(writer));
    QVERIFY(QDir().mkpath(dir.filePath("probe")));
    QVERIFY(writeFileBytes(probe, old));
    QVERIFY2(runWriter(writer, probe, &error), qPrintable(error));
    const QByteArray payload = fileBytes(probe);
    QVERIFY(payload.size() > 40);

    // Names as long as the probe's: a project names its folder.
    QVERIFY(QDir(dir.path()).mkpath("write"));
    const QString target = dir.filePath("write/" + fileName(writer));
    QVERIFY(writeFileBytes(target, old));
    // A workbook carries the time it was made, which may change its size
    // by a few bytes.
    const qint64 sizes[] = {0, payload.size() / 2, payload.size() - (workbook ? 100 : 1)};
    error.clear();
    {
        if (writer == "autosave")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^autosave failed: "));
        FileSizeLimit full(sizes[cut]);
        QVERIFY(full.isActive());
        QVERIFY(!runWriter(writer, target, &error));
    }
    QVERIFY(!error.isEmpty());
    QCOMPARE(fileBytes(target), old);
    // No half-written temporary left behind either.
    QCOMPARE(QDir(dir.filePath("write")).entryList(QDir::Files | QDir::Hidden),
             QStringList {fileName(writer)});

    // Room again: the same write goes through.
    QVERIFY2(runWriter(writer, target, &error), qPrintable(error));
    if (!workbook)
        QCOMPARE(fileBytes(target), QByteArray(payload).replace("/probe", "/write"));
}

void TestSafeFile::producerFailureKeepsOldFile()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("picture.png");
    QVERIFY(writeFileBytes(target, "old"));
    QString error;
    const bool written = SafeFile::write(
        target,
        [](QIODevice *device, QString *reason) {
            device->write("half of it");
            *reason = "no more";
            return false;
        },
        &error);
    QVERIFY(!written);
    QCOMPARE(error, QString("no more"));
    QCOMPARE(fileBytes(target), QByteArray("old"));
}

QTEST_MAIN(TestSafeFile)
#include "tst_safefile.moc"
