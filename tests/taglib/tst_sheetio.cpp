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
    void csvRoundTrip_data();
    void csvRoundTrip();
    void csvParse_data();
    void csvParse();
    void numberText_data();
    void numberText();
    void realFiles_data();
    void realFiles();
    void prefixedNamespaces();
    void refusedWorkbooks_data();
    void refusedWorkbooks();
    void refusedXls_data();
    void refusedXls();
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

void TestSheetIo::csvRoundTrip_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::newRow("quoting") << Rows{{"a,b", "say \"hi\"", "\"", ","}};
    QTest::newRow("line breaks") << Rows{{"one\ntwo", "three\r\nfour", "cr\r"}, {"x"}};
    QTest::newRow("empty cells") << Rows{{"", "", ""}, {""}, {"end", ""}};
    QTest::newRow("chinese") << Rows{{"标签名称", "中文", "&<>"}};
}

void TestSheetIo::csvRoundTrip()
{
    QFETCH(Rows, rows);
    QCOMPARE(CsvTable::parse(CsvTable::format(rows)), rows);
}

void TestSheetIo::csvParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("no final line end") << "a,b\nc" << Rows{{"a", "b"}, {"c"}};
    QTest::newRow("crlf") << "a,b\r\nc,d\r\n" << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("quoted break") << "\"x\ny\",z\n" << Rows{{"x\ny", "z"}};
    QTest::newRow("trailing comma") << "a,\n" << Rows{{"a", ""}};
    QTest::newRow("unterminated quote") << "\"abc" << Rows{{"abc"}};
    QTest::newRow("empty") << "" << Rows{};
}

void TestSheetIo::csvParse()
{
    QFETCH(QString, text);
    QFETCH(Rows, rows);
    QCOMPARE(CsvTable::parse(text), rows);
}

void TestSheetIo::numberText_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("integral") << 2.0 << "2";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("large integral") << -12345678901.0 << "-12345678901";
    QTest::newRow("third") << 1.0 / 3 << "0.3333333333333333";
    QTest::newRow("huge") << 1e21 << "1e+21";
}

void TestSheetIo::numberText()
{
    QFETCH(double, number);
    QFETCH(QString, text);
    QCOMPARE(XlsxSheetReader::numberText(number), text);
}

void TestSheetIo::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("third");
    QTest::addColumn<QString>("textFormula");
    // Both programs keep the header, the shared and inline strings, the
    // numbers, the cached formula results and the merge; each writes the
    // formula 1/3 at its own precision, and LibreOffice caches no text for a
    // text formula in an .xls file.
    QTest::newRow("libreoffice xlsx") << "libreoffice.xlsx" << "0.333333333333333" << "Bigx";
    QTest::newRow("gnumeric xlsx") << "gnumeric.xlsx" << "0.333333333333333" << "Bigx";
    QTest::newRow("libreoffice xls") << "libreoffice.xls" << "0.3333333333333333" << "0";
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
    QCOMPARE(sheet.cell(2, 2), QStringLiteral("LW_Bit 1_0"));
    QCOMPARE(sheet.cell(2, 4), QStringLiteral("1"));
    QCOMPARE(sheet.cell(3, 1), QString()); // a missing cell
    QCOMPARE(sheet.cell(3, 4), QStringLiteral("3.25"));
    QCOMPARE(sheet.cell(3, 5), QStringLiteral("6.5")); // formula
    QCOMPARE(sheet.cell(4, 4), QStringLiteral("0.1"));
    QCOMPARE(sheet.cell(4, 5), textFormula);
    QCOMPARE(sheet.cell(5, 0), QStringLiteral("合并"));
    QCOMPARE(sheet.cell(5, 2), QStringLiteral("-12345678901"));
    QCOMPARE(sheet.cell(6, 2), third);
    QCOMPARE(sheet.cell(7, 1), QStringLiteral("三"));
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

void TestSheetIo::refusedWorkbooks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const auto file = [this](const char *name) {
        return fileBytes(dataFile(QString::fromLatin1(name)));
    };
    const QByteArray head = "<worksheet><sheetData>";
    const QByteArray tail = "</sheetData></worksheet>";
    QTest::newRow("declared over 256 MB") << file("declared-oversize.xlsx") << "256 MB";
    QTest::newRow("unpacks beyond its declared size") << file("bomb.xlsx") << "已损坏";
    QTest::newRow("not a zip") << QByteArray("just text") << "不是xlsx工作簿";
    QTest::newRow("row beyond the limit")
        << workbook(head + "<row r=\"1048577\"><c t=\"inlineStr\"><is><t>x</t></is></c></row>" + tail)
        << "1048576";
    QTest::newRow("column beyond the limit")
        << workbook(head + "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>" + tail) << "16384";
    QTest::newRow("merge beyond the limit")
        << workbook(head + tail.left(12) + "<mergeCells><mergeCell ref=\"A1:A1048577\"/></mergeCells></worksheet>")
        << "1048576";
    QTest::newRow("sparse corners")
        << workbook(head + "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                    "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>" + tail)
        << "单元格";
    QByteArray deep = "<worksheet>";
    for (int i = 0; i < 100; ++i)
        deep += "<a>";
    QTest::newRow("deep nesting") << workbook(deep) << "嵌套过深";
    QTest::newRow("document type")
        << workbook("<!DOCTYPE w [<!ENTITY e \"xx\">]><worksheet><sheetData/></worksheet>")
        << "文档类型";
    QTest::newRow("broken xml") << workbook(head + "<row>" + tail) << "无法解析";
    // The target resolves to "elsewhere.xml", which the zip does not hold
    // under that name.
    QTest::newRow("missing sheet entry") << workbook(head + tail, "../elsewhere.xml") << "缺少";
}

void TestSheetIo::refusedWorkbooks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QVERIFY(!bytes.isEmpty());
    Sheet sheet;
    sheet.setCell(0, 0, QStringLiteral("kept"));
    QString error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!XlsxSheetReader::readBytes(bytes, &sheet, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(sheet.cell(0, 0), QStringLiteral("kept"));
}

void TestSheetIo::refusedXls_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray good = fileBytes(dataFile(QStringLiteral("libreoffice.xls")));
    QVERIFY(!good.isEmpty());
    QTest::newRow("not a compound file") << QByteArray("PK\x03\x04 nothing") << "不是xls";
    QTest::newRow("cut short") << good.left(good.size() / 2) << "已损坏";
    QTest::newRow("header only") << good.left(512) << "已损坏";
    QByteArray loop = good;
    // The first FAT sector's entries all point at sector 0: every chain loops.
    const quint32 fatSector = qFromLittleEndian<quint32>(good.constData() + 0x4C);
    for (int i = 0; i < 128; ++i)
        qToLittleEndian<quint32>(0, loop.data() + (fatSector + 1) * 512 + 4 * i);
    QTest::newRow("looping chains") << loop << "已损坏";
    QByteArray renamed = good;
    const QByteArray workbook("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
    const int at = renamed.indexOf(workbook);
    QVERIFY(at > 0);
    // "Book" is the stream of the format's versions before 1997.
    renamed.replace(at, 18, QByteArray("B\0o\0o\0k\0\0\0\0\0\0\0\0\0\0\0", 18));
    qToLittleEndian<quint16>(10, renamed.data() + at + 0x40);
    QTest::newRow("old version") << renamed << "版本过旧";
}

void TestSheetIo::refusedXls()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    Sheet sheet;
    sheet.setCell(0, 0, QStringLiteral("kept"));
    QString error;
    QVERIFY(!XlsSheetReader::readBytes(bytes, &sheet, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
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
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
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

    const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/out.xlsx"));
    error.clear();
    QVERIFY(!XlsxSheetWriter::writeFile(nowhere, Sheet(), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(nowhere));
}

QTEST_MAIN(TestSheetIo)
#include "tst_sheetio.moc"
