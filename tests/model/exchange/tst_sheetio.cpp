#include "model/config.h"
#include "model/exchange/csvtable.h"
#include "model/exchange/xlssheetreader.h"
#include "model/exchange/xlsxsheetreader.h"
#include "model/exchange/xlsxsheetwriter.h"
#include "support/filebytes.h"
#include "support/filesizelimit.h"
#include "support/xlsbuilder.h"

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
    void xlsRecords_data();
    void xlsRecords();
    void xlsStreamAtCutoff_data();
    void xlsStreamAtCutoff();
    void xlsxCells_data();
    void xlsxCells();
    void refusedFiles_data();
    void refusedFiles();
    void fuzzFindings();
    void writeAndReadBack();
    void failedWriteKeepsFile();
    void fullDiskSaysSo_data();
    void fullDiskSaysSo();

private:
    QString dataFile(const QString &name) const
    {
        return QStringLiteral(MAROVIN_TEST_DATA_DIR "/exchange/") + name;
    }
    // A workbook whose only sheet is the given XML, as bytes, with the
    // given styles, shared strings and workbook properties when not empty.
    QByteArray workbook(const QByteArray &sheetXml, const QByteArray &sheetName = "s.xml",
                        const QByteArray &styles = QByteArray(),
                        const QByteArray &sharedStrings = QByteArray(),
                        const QByteArray &workbookProperties = QByteArray());

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
    QTest::newRow("spreadsheet a, xlsx")
        << "made-by-spreadsheet-a.xlsx" << "0.333333333333333" << "Bigx";
    QTest::newRow("spreadsheet a, xls")
        << "made-by-spreadsheet-a.xls" << "0.3333333333333333" << "0";
    QTest::newRow("spreadsheet b, xlsx")
        << "made-by-spreadsheet-b.xlsx" << "0.333333333333333" << "Bigx";
    QTest::newRow("spreadsheet b, xls")
        << "made-by-spreadsheet-b.xls" << "0.333333333333333" << "Bigx";
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

QByteArray TestSheetIo::workbook(const QByteArray &sheetXml, const QByteArray &sheetName,
                                 const QByteArray &styles, const QByteArray &sharedStrings,
                                 const QByteArray &workbookProperties)
{
    const QString path = m_dir.filePath(QStringLiteral("made.xlsx"));
    QFile::remove(path);
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    const QByteArray rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    QByteArray parts = "<Relationship Id=\"s1\" Type=\"" + rels + "/worksheet\" Target=\""
        + sheetName + "\"/>";
    QList<QPair<QByteArray, QByteArray>> entries = {
        {"_rels/.rels", "<Relationships><Relationship Id=\"a\" Type=\"" + rels
             + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook xmlns:r=\"" + rels + "\">" + workbookProperties
             + "<sheets><sheet name=\"S\" r:id=\"s1\"/></sheets></workbook>"},
        {"xl/" + sheetName, sheetXml}};
    if (!styles.isEmpty()) {
        parts += "<Relationship Id=\"st\" Type=\"" + rels + "/styles\" Target=\"styles.xml\"/>";
        entries.append({"xl/styles.xml", styles});
    }
    if (!sharedStrings.isEmpty()) {
        parts += "<Relationship Id=\"ss\" Type=\"" + rels
            + "/sharedStrings\" Target=\"strings.xml\"/>";
        entries.append({"xl/strings.xml", sharedStrings});
    }
    entries.append({"xl/_rels/workbook.xml.rels", "<Relationships>" + parts + "</Relationships>"});
    for (const auto &entry : entries) {
        zipOpenNewFileInZip64(zip, entry.first.constData(), nullptr, nullptr, 0, nullptr, 0,
                              nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1);
        zipWriteInFileInZip(zip, entry.second.constData(), unsigned(entry.second.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return fileBytes(path);
}

void TestSheetIo::xlsRecords_data()
{
    using namespace xlsbuilder;
    QTest::addColumn<QByteArray>("globals");
    QTest::addColumn<QByteArray>("cells");
    QTest::addColumn<Rows>("rows");
    // "ab" in one-byte characters, then "中" in two-byte ones after the
    // record boundary, whose first byte says so.
    QTest::newRow("shared text widening at a CONTINUE record")
        << record(0x00FC, u32(1) + u32(1) + u16(3) + '\0' + "ab")
               + record(0x003C, '\x01' + u16(0x4E2D))
        << record(0x00FD, u16(0) + u16(0) + u16(0) + u32(0)) << Rows{{"ab中"}};
    // Styles 1–5: a built-in date, date and time, a format of the file's
    // own, its own time format, a plain number.
    const QByteArray styles = numberFormat(164, "yyyy/m/d;@") + numberFormat(165, "[h]:mm")
        + cellStyle(0) + cellStyle(14) + cellStyle(22) + cellStyle(164) + cellStyle(165)
        + cellStyle(2);
    const double morning = 45306 + 8.5 / 24; // 2024-01-15 08:30
    QTest::newRow("dates and times")
        << styles
        << number(0, 0, morning, 1) + number(0, 1, morning, 2) + number(0, 2, 45306, 3)
               + number(0, 3, 1.5, 4) + number(0, 4, morning, 5) + number(0, 5, 61, 1)
               + number(0, 6, 59, 1)
        << Rows{{"2024-01-15", "2024-01-15 08:30", "2024-01-15", "36:00",
                 XlsxSheetReader::numberText(morning), "1900-03-01", "1900-02-28"}};
    QTest::newRow("dates counted from 1904")
        << record(0x0022, u16(1)) + styles << number(0, 0, 1.25, 2) << Rows{{"1904-01-02 06:00"}};
    // Empty rows at the end of the range belong to the sheet.
    QTest::newRow("rows of the declared range")
        << QByteArray() << dimensions(0, 2, 0, 1) + label(0, 0, "A") + label(0, 1, "B")
        << Rows{{"A", "B"}, {}, {}};
    QTest::newRow("rows of a merge")
        << QByteArray() << label(1, 0, "A") + mergedCells({{1, 0, 3, 0}}) << Rows{{"A"}, {}, {}};
    QTest::newRow("declared range past the cell limit")
        << QByteArray()
        << dimensions(0, 1048575, 0, 9) + label(0, 0, "A") + label(0, 9, "J")
        << Rows{{"A", "", "", "", "", "", "", "", "", "J"}};
}

void TestSheetIo::xlsRecords()
{
    QFETCH(QByteArray, globals);
    QFETCH(QByteArray, cells);
    QFETCH(Rows, rows);
    Sheet sheet;
    QString error;
    QVERIFY2(XlsSheetReader::readBytes(xlsbuilder::workbook(globals, cells), &sheet, &error),
             qPrintable(error));
    QCOMPARE(sheet.rows, rows);
}

void TestSheetIo::xlsStreamAtCutoff_data()
{
    QTest::addColumn<int>("size");
    // Streams under 4,096 bytes live in the mini stream, the rest in
    // sectors of their own.
    QTest::newRow("one under") << 4095;
    QTest::newRow("exactly") << 4096;
    QTest::newRow("one over") << 4097;
}

void TestSheetIo::xlsStreamAtCutoff()
{
    QFETCH(int, size);
    QByteArray stream = xlsbuilder::workbookStream(QByteArray(), xlsbuilder::label(0, 0, "x"));
    QVERIFY(stream.size() < size);
    stream.append(QByteArray(size - stream.size(), '\0')); // after the last record, never read
    Sheet sheet;
    QString error;
    QVERIFY2(XlsSheetReader::readBytes(xlsbuilder::compoundFile(stream), &sheet, &error),
             qPrintable(error));
    QCOMPARE(sheet.rows, Rows{{"x"}});
}

void TestSheetIo::xlsxCells_data()
{
    QTest::addColumn<QByteArray>("sheetXml"); // inside <worksheet>
    QTest::addColumn<QByteArray>("workbookProperties");
    QTest::addColumn<Rows>("rows");
    const QByteArray morning = QByteArray::number(45306 + 8.5 / 24, 'g', 17);
    QTest::newRow("dates and times")
        << "<sheetData><row r=\"1\"><c r=\"A1\" s=\"1\"><v>" + morning + "</v></c><c r=\"B1\" s=\"2\"><v>"
               + morning + "</v></c><c r=\"C1\" s=\"3\"><v>45306</v></c><c r=\"D1\" s=\"4\">"
               "<v>1.5</v></c><c r=\"E1\" s=\"5\"><v>" + morning + "</v></c>"
               "<c r=\"F1\" s=\"9\"><v>2</v></c><c r=\"G1\" s=\"1\"><f>A1</f><v>" + morning
               + "</v></c></row></sheetData>"
        << QByteArray()
        << Rows{{"2024-01-15", "2024-01-15 08:30", "2024-01-15", "36:00",
                 XlsxSheetReader::numberText(45306 + 8.5 / 24), "2", "2024-01-15"}};
    QTest::newRow("dates counted from 1904")
        << QByteArray("<sheetData><row r=\"1\"><c r=\"A1\" s=\"2\"><v>1.25</v></c></row></sheetData>")
        << QByteArray("<workbookPr date1904=\"1\"/>") << Rows{{"1904-01-02 06:00"}};
    QTest::newRow("rows of the declared range")
        << QByteArray("<dimension ref=\"A1:B3\"/><sheetData><row r=\"1\">"
                      "<c r=\"A1\" t=\"inlineStr\"><is><t>A</t></is></c></row></sheetData>")
        << QByteArray() << Rows{{"A", ""}, {}, {}};
    QTest::newRow("rows of a merge")
        << QByteArray("<sheetData><row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>A</t></is></c>"
                      "</row></sheetData><mergeCells><mergeCell ref=\"A2:A4\"/></mergeCells>")
        << QByteArray() << Rows{{"A"}, {}, {}};
}

// Cells of a sheet written by hand: number formats of the workbook's
// styles, and the rows a sheet's size takes in beyond its last text.
void TestSheetIo::xlsxCells()
{
    QFETCH(QByteArray, sheetXml);
    QFETCH(QByteArray, workbookProperties);
    QFETCH(Rows, rows);
    const QByteArray styles
        = "<styleSheet><numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"yyyy/m/d;@\"/>"
          "<numFmt numFmtId=\"165\" formatCode=\"[h]:mm\"/></numFmts>"
          "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs><cellXfs><xf numFmtId=\"0\"/>"
          "<xf numFmtId=\"14\"/><xf numFmtId=\"22\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
          "<xf numFmtId=\"2\"/></cellXfs></styleSheet>";
    Sheet sheet;
    QString error;
    const QByteArray bytes = workbook("<worksheet>" + sheetXml + "</worksheet>", "s.xml", styles,
                                      QByteArray(), workbookProperties);
    QVERIFY2(XlsxSheetReader::readBytes(bytes, &sheet, &error), qPrintable(error));
    QCOMPARE(sheet.rows, rows);
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
    const QByteArray good = fileBytes(dataFile(QStringLiteral("made-by-spreadsheet-a.xls")));
    QTest::newRow("xls: not a compound file")
        << QByteArray("PK\x03\x04 nothing") << "不是xls" << true;
    QTest::newRow("xls: cut short") << good.left(good.size() / 2) << "已损坏" << true;
    QByteArray loop = good;
    // The first FAT sector's entries all point at sector 0: every chain loops.
    const quint32 fatSector = qFromLittleEndian<quint32>(good.constData() + 0x4C);
    for (int i = 0; i < 128; ++i)
        qToLittleEndian<quint32>(0, loop.data() + (fatSector + 1) * 512 + 4 * i);
    QTest::newRow("xls: looping chains") << loop << "已损坏" << true;
    // The table would then name more sectors than the file has, and chains
    // could run on far past its size.
    QByteArray twice = xlsbuilder::workbook(QByteArray(), xlsbuilder::label(0, 0, "x"));
    xlsbuilder::put(&twice, 0x2C, 2, 4);
    twice.replace(0x50, 4, twice.mid(0x4C, 4));
    QTest::newRow("xls: FAT sector listed twice") << twice << "已损坏" << true;

    // One text over the format's limit, and texts that only together pass
    // ours: a shared text of the largest size in many cells.
    using xlsbuilder::record;
    using xlsbuilder::u16;
    using xlsbuilder::u32;
    const QByteArray longText(XlsxSheetReader::MaxCellText + 1, 'x');
    const QByteArray fullText(XlsxSheetReader::MaxCellText, 'x');
    const int fullCells = int(XlsxSheetReader::MaxTextTotal / XlsxSheetReader::MaxCellText);
    QByteArray sharedCells = "<sheetData><row r=\"1\">";
    QByteArray sharedLabels;
    for (int i = 0; i <= fullCells; ++i) {
        sharedCells += "<c t=\"s\"><v>0</v></c>";
        sharedLabels += record(0x00FD, u16(quint16(i / 256)) + u16(quint16(i % 256)) + u16(0) + u32(0));
    }
    sharedCells += "</row></sheetData>";
    const auto strings = [](const QByteArray &text) {
        return "<sst><si><t>" + text + "</t></si></sst>";
    };
    QTest::newRow("shared text over the cell limit")
        << workbook("<worksheet><sheetData><row r=\"1\"><c t=\"s\"><v>0</v></c></row></sheetData>"
                    "</worksheet>", "s.xml", QByteArray(), strings(longText))
        << "32767个字符" << false;
    QTest::newRow("inline text over the cell limit")
        << workbook(head + "<row r=\"1\"><c t=\"inlineStr\"><is><t>" + longText
                    + "</t></is></c></row>" + tail)
        << "32767个字符" << false;
    QTest::newRow("texts together over the limit")
        << workbook("<worksheet>" + sharedCells + "</worksheet>", "s.xml", QByteArray(),
                    strings(fullText))
        << "文字共超过" << false;
    const auto oneByteText = [](const QByteArray &text) {
        return u16(quint16(text.size())) + '\0' + text;
    };
    QTest::newRow("xls: text over the cell limit")
        << xlsbuilder::workbook(QByteArray(), record(0x0204, u16(0) + u16(0) + u16(0)
                                                                 + oneByteText(longText)))
        << "32767个字符" << true;
    QTest::newRow("xls: texts together over the limit")
        << xlsbuilder::workbook(record(0x00FC, u32(1) + u32(1) + oneByteText(fullText)),
                                sharedLabels)
        << "文字共超过" << true;
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

// A disk that fills up while the workbook is made, in the scratch parts or
// in the copy to its place, is named as the cause, in the interface
// language, never by the library's internal error; the old file stays.
void TestSheetIo::fullDiskSaysSo_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("english");
    // The text compresses to a few kilobytes and takes half a megabyte
    // unpacked.
    QTest::newRow("scratch parts") << qint64(64 * 1024) << false;
    QTest::newRow("scratch parts, English") << qint64(64 * 1024) << true;
    QTest::newRow("the copy") << qint64(1024) << false;
}

void TestSheetIo::fullDiskSaysSo()
{
    QFETCH(qint64, limit);
    QFETCH(bool, english);
    const QString path = m_dir.filePath(QStringLiteral("full.xlsx"));
    QVERIFY(writeFileBytes(path, "previous contents"));
    Sheet sheet;
    for (int row = 0; row < 64; ++row)
        sheet.setCell(row, 0, QString(8000, QLatin1Char('a' + row % 26)));
    QTranslator translator;
    if (english) {
        QVERIFY(translator.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&translator);
    }
    QString error;
    bool written = false;
    {
        FileSizeLimit full(limit);
        QVERIFY(full.isActive());
        written = XlsxSheetWriter::writeFile(path, sheet, &error);
    }
    if (english)
        QCoreApplication::removeTranslator(&translator);
    QVERIFY(!written);
    const QString cause = english ? "The file is larger than the system allows" : "文件超出了允许的大小";
    QVERIFY2(error.endsWith(cause), qPrintable(error));
    QCOMPARE(fileBytes(path), QByteArray("previous contents"));
}

QTEST_MAIN(TestSheetIo)
#include "tst_sheetio.moc"
