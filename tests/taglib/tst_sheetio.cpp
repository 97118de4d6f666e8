#include "project/config.h"
#include "support/filebytes.h"
#include "taglib/csvtable.h"
#include "taglib/xlssheetreader.h"
#include "taglib/xlsxsheetreader.h"
#include "taglib/xlsxsheetwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <minizip/zip.h>

// The readers and writers of spreadsheet and comma files, below the tag
// libraries: the files real spreadsheet programs wrote, the limits against
// hostile files and the writer's all-or-nothing save.
class TestSheetIo : public QObject
{
    Q_OBJECT

private slots:
    void csvParse_data();
    void csvParse();
    void realFiles_data();
    void realFiles();
    void prefixedNamespaces();
    void refusedFiles_data();
    void refusedFiles();
    void fuzzFindings();
    void writeAndReadBack();
    void failedWriteKeepsFile();

private:
    QString dataFile(const QString &name) const
    {
        return QStringLiteral(MAROVIN_TEST_DATA_DIR "/exchange/") + name;
    }
    // A workbook whose only sheet is the given XML, as bytes.
    QByteArray workbook(const QByteArray &sheetXml, const QByteArray &sheetName = "s.xml");

    QTemporaryDir m_dir;
};

using Rows = QVector<QStringList>;

void TestSheetIo::csvParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("no final line end") << "a,b\nc" << Rows{{"a", "b"}, {"c"}};
    QTest::newRow("unterminated quote") << "\"abc" << Rows{{"abc"}};
}

void TestSheetIo::csvParse()
{
    QFETCH(QString, text);
    QFETCH(Rows, rows);
    QCOMPARE(CsvTable::parse(text), rows);
}

void TestSheetIo::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("third");
    QTest::addColumn<QString>("textFormula");
    // Each program writes the formula 1/3 at its own precision; one caches no
    // text for a text formula in an .xls file.
    QTest::newRow("libreoffice xlsx") << "libreoffice.xlsx" << "0.333333333333333" << "Bigx";
    QTest::newRow("libreoffice xls") << "libreoffice.xls" << "0.3333333333333333" << "0";
    QTest::newRow("gnumeric xlsx") << "gnumeric.xlsx" << "0.333333333333333" << "Bigx";
    QTest::newRow("gnumeric xls") << "gnumeric.xls" << "0.333333333333333" << "Bigx";
}

void TestSheetIo::realFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, third);
    QFETCH(QString, textFormula);
    Sheet sheet;
    QString error;
    const bool ok = file.endsWith(QLatin1String(".xls"))
        ? XlsSheetReader::readFile(dataFile(file), &sheet, &error)
        : XlsxSheetReader::readFile(dataFile(file), &sheet, &error);
    QVERIFY2(ok, qPrintable(error));
    QCOMPARE(sheet.rowCount(), 8);
    QCOMPARE(sheet.rows.at(0), (QStringList{"名称", "设备", "地址", "类型", "长度", "备注"}));
    QCOMPARE(sheet.rows.at(1), (QStringList{"Start", "本地", "LW 10", "Int16", "2",
                                            "motor start, \"quoted\" & <x>"}));
    // Text, an integral number, a missing cell, numbers, cached formula
    // results (number and text), the merge's first cell and large numbers.
    const QStringList cells = {sheet.cell(2, 2), sheet.cell(2, 4), sheet.cell(3, 1),
                               sheet.cell(3, 4), sheet.cell(3, 5), sheet.cell(4, 4),
                               sheet.cell(4, 5), sheet.cell(5, 0), sheet.cell(5, 2),
                               sheet.cell(6, 2), sheet.cell(7, 1)};
    QCOMPARE(cells, (QStringList{"LW_Bit 1_0", "1", "", "3.25", "6.5", "0.1", textFormula, "合并",
                                 "-12345678901", third, "三"}));
    // The second worksheet is never read.
    for (const QStringList &row : qAsConst(sheet.rows))
        QVERIFY(!row.contains(QStringLiteral("ignore me")));
    QCOMPARE(sheet.merges, (QVector<Sheet::Range>{{5, 0, 7, 0}}));
}

void TestSheetIo::prefixedNamespaces()
{
    // Hand-made: every element prefixed, the first sheet in workbook order
    // is the second relationship, no dimension, cells without positions,
    // rich text with a reading aid, booleans and an error value.
    Sheet sheet;
    QString error;
    QVERIFY2(XlsxSheetReader::readFile(dataFile("prefixed.xlsx"), &sheet, &error),
             qPrintable(error));
    // The range starts at A2, so that is row 0.
    QCOMPARE(sheet.rows, (Rows{{"名称", "inline", "", "", ""},
                               {"", "Motor 启动", "", "TRUE", "FALSE"},
                               {"", "&<> \"a,b\"", "#DIV/0!", "2.5", "1e+21"}}));
    QCOMPARE(sheet.merges, (QVector<Sheet::Range>{{1, 1, 2, 1}}));
}

QByteArray TestSheetIo::workbook(const QByteArray &sheetXml, const QByteArray &sheetName)
{
    const QString path = m_dir.filePath(QStringLiteral("made.xlsx"));
    QFile::remove(path);
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    const QByteArray rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const QList<QPair<QByteArray, QByteArray>> entries = {
        {"_rels/.rels", "<Relationships><Relationship Id=\"a\" Type=\"" + rels
             + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook xmlns:r=\"" + rels
             + "\"><sheets><sheet name=\"S\" r:id=\"s1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", "<Relationships><Relationship Id=\"s1\" Type=\"" + rels
             + "/worksheet\" Target=\"" + sheetName + "\"/></Relationships>"},
        {"xl/" + sheetName, sheetXml}};
    for (const auto &entry : entries) {
        zipOpenNewFileInZip64(zip, entry.first.constData(), nullptr, nullptr, 0, nullptr, 0,
                              nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1);
        zipWriteInFileInZip(zip, entry.second.constData(), unsigned(entry.second.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return fileBytes(path);
}

void TestSheetIo::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("xls");
    const auto file = [this](const char *name) {
        return fileBytes(dataFile(QString::fromLatin1(name)));
    };
    const QByteArray head = "<worksheet><sheetData>";
    const QByteArray tail = "</sheetData></worksheet>";
    QTest::newRow("declared over 256 MB") << file("declared-oversize.xlsx") << "256 MB" << false;
    QTest::newRow("unpacks beyond its declared size") << file("bomb.xlsx") << "已损坏" << false;
    QTest::newRow("not a zip") << QByteArray("just text") << "不是xlsx工作簿" << false;
    QTest::newRow("row beyond the limit")
        << workbook(head + "<row r=\"1048577\"><c t=\"inlineStr\"><is><t>x</t></is></c></row>" + tail)
        << "1048576" << false;
    QTest::newRow("column beyond the limit")
        << workbook(head + "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>" + tail) << "16384"
        << false;
    QTest::newRow("merge beyond the limit")
        << workbook(head + tail.left(12) + "<mergeCells><mergeCell ref=\"A1:A1048577\"/></mergeCells></worksheet>")
        << "1048576" << false;
    QTest::newRow("sparse corners")
        << workbook(head + "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                    "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>" + tail)
        << "单元格" << false;
    QByteArray deep = "<worksheet>";
    for (int i = 0; i < 100; ++i)
        deep += "<a>";
    QTest::newRow("deep nesting") << workbook(deep) << "嵌套过深" << false;
    QTest::newRow("document type")
        << workbook("<!DOCTYPE w [<!ENTITY e \"xx\">]><worksheet><sheetData/></worksheet>")
        << "文档类型" << false;
    // The target resolves to "elsewhere.xml", which the zip does not hold
    // under that name.
    QTest::newRow("missing sheet entry")
        << workbook(head + tail, "../elsewhere.xml") << "缺少" << false;
    const QByteArray good = fileBytes(dataFile(QStringLiteral("libreoffice.xls")));
    QTest::newRow("xls: not a compound file")
        << QByteArray("PK\x03\x04 nothing") << "不是xls" << true;
    QTest::newRow("xls: cut short") << good.left(good.size() / 2) << "已损坏" << true;
    QByteArray loop = good;
    // The first FAT sector's entries all point at sector 0: every chain loops.
    const quint32 fatSector = qFromLittleEndian<quint32>(good.constData() + 0x4C);
    for (int i = 0; i < 128; ++i)
        qToLittleEndian<quint32>(0, loop.data() + (fatSector + 1) * 512 + 4 * i);
    QTest::newRow("xls: looping chains") << loop << "已损坏" << true;
    QByteArray renamed = good;
    const int at = renamed.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
    QVERIFY(at > 0);
    // "Book" is the stream of the format's versions before 1997.
    renamed.replace(at, 18, QByteArray("B\0o\0o\0k\0\0\0\0\0\0\0\0\0\0\0", 18));
    qToLittleEndian<quint16>(10, renamed.data() + at + 0x40);
    QTest::newRow("xls: old version") << renamed << "版本过旧" << true;
}

// Hostile or broken files are refused quickly, with a reason, and leave the
// caller's sheet alone.
void TestSheetIo::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(bool, xls);
    QVERIFY(!bytes.isEmpty());
    Sheet sheet;
    sheet.setCell(0, 0, QStringLiteral("kept"));
    QString error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!(xls ? XlsSheetReader::readBytes(bytes, &sheet, &error)
                  : XlsxSheetReader::readBytes(bytes, &sheet, &error)));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(sheet.rows, (Rows{{"kept"}}));
}

void TestSheetIo::fuzzFindings()
{
    // Inputs that once made a reader read out of bounds; the sanitizer
    // build proves they no longer do, this one that they end with an answer.
    const QDir folder(dataFile(QStringLiteral("fuzz")));
    const QStringList names = folder.entryList(QDir::Files);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        const QByteArray bytes = fileBytes(folder.filePath(name));
        Sheet sheet;
        QString error;
        if (!XlsSheetReader::readBytes(bytes, &sheet, &error))
            QVERIFY2(!error.isEmpty(), qPrintable(name));
        error.clear();
        if (!XlsxSheetReader::readBytes(bytes, &sheet, &error))
            QVERIFY2(!error.isEmpty(), qPrintable(name));
    }
}

void TestSheetIo::writeAndReadBack()
{
    Sheet sheet;
    sheet.rows = {{"标签名称", "中文", "English"},
                  {"a,b", "say \"hi\"", "one\ntwo"},
                  {"", "&<>", "x_x0041_y"},
                  {"", "cr\r\nlf", QStringLiteral("c\x01" "d")},
                  {"long", QString(XlsxSheetWriter::MaxCellText, QLatin1Char('y')), ""}};
    sheet.merges = {{1, 0, 3, 0}};
    const QString path = m_dir.filePath(QStringLiteral("written.xlsx"));
    QString error;
    QVERIFY2(XlsxSheetWriter::writeFile(path, sheet, &error), qPrintable(error));
    Sheet back;
    QVERIFY2(XlsxSheetReader::readFile(path, &back, &error), qPrintable(error));
    QCOMPARE(back.rows, sheet.rows);
    QCOMPARE(back.merges, sheet.merges);
    // No scratch file is left beside the result.
    QCOMPARE(QDir(m_dir.path()).entryList({"*written*"}, QDir::Files | QDir::Hidden).size(), 1);
}

void TestSheetIo::failedWriteKeepsFile()
{
    const QString path = m_dir.filePath(QStringLiteral("kept.xlsx"));
    QVERIFY(writeFileBytes(path, "previous contents"));
    Sheet sheet;
    sheet.setCell(3, 1, QString(XlsxSheetWriter::MaxCellText + 1, QLatin1Char('z')));
    QString error;
    QVERIFY(!XlsxSheetWriter::writeFile(path, sheet, &error));
    QVERIFY2(error.contains(QLatin1String("B4")), qPrintable(error));
    QCOMPARE(fileBytes(path), QByteArray("previous contents"));
}

QTEST_MAIN(TestSheetIo)
#include "tst_sheetio.moc"
