#include "model/config.h"
#include "model/exchange/addresstextfile.h"
#include "model/exchange/csvtable.h"
#include "model/exchange/tagexchange.h"
#include "model/exchange/xlsxsheetreader.h"
#include "model/exchange/xlsxsheetwriter.h"
#include "model/taglib/textlib.h"
#include "support/filebytes.h"
#include "support/projectgenerator.h"
#include "support/xlsbuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTranslator>
#include <QtTest>

using Rows = QVector<QStringList>;
using Tags = QVector<TextTagRecord>;
Q_DECLARE_METATYPE(TextTagRecord)
Q_DECLARE_METATYPE(QVector<QStringList>)

// The tag libraries' exchange files: the address variable list with its
// mends, the round trips of both libraries through every format, and the
// failures that must leave the caller's library alone.
class TestTagExchange : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addressLine_data();
    void addressLine();
    void skippedLines();
    void halfCharacterStaysInItsField();
    void addressExport_data();
    void addressExport();
    void addressRoundTrip_data();
    void addressRoundTrip();
    void threeStateTag();
    void textRoundTrip_data();
    void textRoundTrip();
    void generatedTextRoundTrip_data();
    void generatedTextRoundTrip();
    void textLayouts_data();
    void textLayouts();
    void sparseSheet();
    void failures_data();
    void failures();
    void refusedExportWritesNothing();
    void formulaGuard_data();
    void formulaGuard();
    void textQuoting_data();
    void textQuoting();
    void encodings_data();
    void encodings();
    void refusedFiles_data();
    void refusedFiles();
    void emptyDeviceIsThePanel_data();
    void emptyDeviceIsThePanel();
    void headersAndEmptyFiles_data();
    void headersAndEmptyFiles();
    void languageColumns_data();
    void languageColumns();
    void generatedRoundTrip_data();
    void generatedRoundTrip();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Writes the text tags to a file of the given suffix through the export,
    // or, for .xls, which is never exported, as a spreadsheet program
    // writes the sheet the export would make; then reads them back through
    // the import.
    bool textThroughFile(const QString &suffix, const Tags &tags, Tags *back, QString *error);
    QTemporaryDir m_dir;
};

void TestTagExchange::init()
{
    Config *config = Config::instance();
    config->reset();
    DevicePara plc;
    plc.name = QStringLiteral("PLC");
    plc.protocol = 1;
    config->devices = {plc};
    config->languages = {{QStringLiteral("中文"), QString(), QFont()},
                         {QStringLiteral("English"), QString(), QFont()}};
}

void TestTagExchange::addressLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("row");
    QTest::newRow("bool") << "Start,M10,BOOL,,,motor start"
                          << QStringList{"Start", "本地", "M 10", "Bool", "1", "motor start"};
    QTest::newRow("array") << "Arr,D100,ARRAY[20] OF WORD,,,"
                           << QStringList{"Arr", "本地", "D 100", "Int16", "20", ""};
    QTest::newRow("cr before lf") << "Cr,LW5,WORD,,,remark\r"
                                  << QStringList{"Cr", "本地", "LW 5", "Int16", "2", "remark"};
    QTest::newRow("longest area") << "Bit,LW_Bit100_3,BOOL,,,"
                                  << QStringList{"Bit", "本地", "LW_Bit 100_3", "Bool", "1", ""};
    QTest::newRow("hex") << "Hex,LW64H,WORD,,," << QStringList{"Hex", "本地", "LW 64H", "Int16", "2", ""};
    // Our own fields 4 and 5: the device's protocol decides the areas.
    QTest::newRow("known device and format") << "P,D3,ARRAY[8] OF WORD,PLC,Double,x"
                                             << QStringList{"P", "PLC", "D 3", "Double", "8", "x"};
    // A list exported from the English interface names the panel in English;
    // the row stores the one spelling.
    QTest::newRow("local in the other language") << "L,LW_Bit2,BOOL,Local,Bool,"
                                                 << QStringList{"L", "本地", "LW_Bit 2", "Bool", "1", ""};
    // Kept as named, for the library's check to refuse, not moved onto the panel.
    QTest::newRow("unknown device") << "T,LW2,WORD,Nope,Float,y"
                                    << QStringList{"T", "Nope", "LW 2", "Float", "2", "y"};
    QTest::newRow("array without length") << "A,LW1,ARRAY[] OF WORD,,,"
                                          << QStringList{"A", "本地", "LW 1", "Int16", "2", ""};
    // Quotes as spreadsheet programs write them; the remark still runs to
    // the end of the line, commas and all.
    QTest::newRow("quoted comma") << "\"a,b\",LW1,WORD,,,x,y"
                                  << QStringList{"a,b", "本地", "LW 1", "Int16", "2", "x,y"};
    QTest::newRow("quoted line break") << "\"say \"\"hi\"\"\",LW1,WORD,,,\"two\nlines\""
                                       << QStringList{"say \"hi\"", "本地", "LW 1", "Int16", "2",
                                                      "two\nlines"};
    QTest::newRow("quote inside a field") << "5\" panel,LW1,WORD,,,"
                                          << QStringList{"5\" panel", "本地", "LW 1", "Int16", "2", ""};
    QTest::newRow("formula guard") << "'=x,LW1,WORD,,,'-5"
                                   << QStringList{"=x", "本地", "LW 1", "Int16", "2", "-5"};
}

void TestTagExchange::addressLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, row);
    const QByteArray bytes = QTextCodec::codecForName("GBK")->fromUnicode("header\n" + line + "\n");
    const AddressTextFile::Import result = AddressTextFile::parse(bytes);
    QCOMPARE(result.skippedLines, QList<int>());
    QCOMPARE(result.rows, Rows{row});
}

void TestTagExchange::skippedLines()
{
    const QByteArray bytes = "header\r\nA,LW1,WORD,,,x\r\nshort,line\r\n\r\n  \r\n"
                             "B,LW2,WORD,,,y\r\nC,D\r\n";
    const AddressTextFile::Import result = AddressTextFile::parse(bytes);
    QCOMPARE(result.rows.size(), 2);
    QCOMPARE(result.rows.at(0).value(0) + result.rows.at(1).value(0), QStringLiteral("AB"));
    QCOMPARE(result.skippedLines, (QList<int>{3, 7}));
    QVERIFY(TagExchange::skippedLinesMessage(result.skippedLines).contains(QLatin1String("3, 7")));
    QVERIFY(TagExchange::skippedLinesMessage({}).isEmpty());
}

// Half a GBK character at the end of a field stays in that field: the next
// field read, starting with a byte that could complete it, keeps its text.
void TestTagExchange::halfCharacterStaysInItsField()
{
    const QByteArray mark = QTextCodec::codecForName("GBK")->fromUnicode(QStringLiteral("A备"));
    const AddressTextFile::Import result
        = AddressTextFile::parse("h\nX\x81,LW1,WORD,,," + mark + "\n");
    QCOMPARE(result.rows.value(0).value(Config::MarkColumn), QStringLiteral("A备"));
    QVERIFY(result.rows.value(0).value(Config::NameColumn).startsWith(QLatin1Char('X')));
}

void TestTagExchange::addressExport_data()
{
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<QString>("line"); // the second line, or text the error names
    QTest::addColumn<bool>("ok");
    QTest::newRow("bool") << QStringList{"Start", "本地", "M 10", "Bool", "1", "motor start"}
                          << "Start,M10,BOOL,本地,Bool,motor start" << true;
    QTest::newRow("array") << QStringList{"Arr", "本地", "LW 5", "Int16", "20", ""}
                           << "Arr,LW5,ARRAY[20] OF WORD,本地,Int16," << true;
    QTest::newRow("comma in name") << QStringList{"a,b", "本地", "LW 1", "Int16", "2", ""}
                                   << "\"a,b\",LW1,WORD,本地,Int16," << true;
    QTest::newRow("comma in length") << QStringList{"a", "本地", "LW 1", "Int16", "1,2", ""}
                                     << "a,LW1,\"ARRAY[1,2] OF WORD\",本地,Int16," << true;
    QTest::newRow("formula") << QStringList{"-x", "本地", "LW 1", "Int16", "2", "=1+2"}
                             << "'-x,LW1,WORD,本地,Int16,'=1+2" << true;
    // Where the reader would put the blank elsewhere, it stays in.
    QTest::newRow("blank off its place") << QStringList{"a", "本地", "L W1", "Int16", "2", ""}
                                         << "a,L W1,WORD,本地,Int16," << true;
    QTest::newRow("no GBK") << QStringList{"a", "本地", "LW 1", "Int16", "2", "😀"} << "第2行"
                            << false;
}

void TestTagExchange::addressExport()
{
    QFETCH(QStringList, row);
    QFETCH(QString, line);
    QFETCH(bool, ok);
    const QStringList good{"First", "本地", "LW 1", "Int16", "2", ""};
    QByteArray bytes = "unchanged";
    QString error;
    QCOMPARE(AddressTextFile::format({good, row}, &bytes, &error), ok);
    if (!ok) {
        QVERIFY2(error.contains(line), qPrintable(error));
        QCOMPARE(bytes, QByteArray("unchanged"));
        return;
    }
    const QStringList lines = QTextCodec::codecForName("GBK")->toUnicode(bytes).split("\r\n");
    QCOMPARE(lines.size(), 4); // header, two rows, the final line end
    QCOMPARE(lines.at(1), QStringLiteral("First,LW1,WORD,本地,Int16,"));
    QCOMPARE(lines.at(2), line);
}

void TestTagExchange::addressRoundTrip_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("csv") << "csv";
    QTest::newRow("xlsx") << "xlsx";
}

void TestTagExchange::addressRoundTrip()
{
    QFETCH(QString, suffix);
    Rows rows = {{"启动", "本地", "LW 10", "Int16", "2", "中文备注"},
                 {"Flag", "本地", "LW_Bit 100_3", "Bool", "1", ""},
                 {"Hex", "本地", "LW 2aH", "Int32", "4", "&<> \"q\""},
                 {"Arr", "PLC", "T_Bit 7", "Uint16", "20", "a,b"},
                 {"Empty", "PLC", "", "Float", "4", ""}};
    if (suffix == QLatin1String("xlsx")) {
        // Spreadsheets carry any text, line breaks and commas included.
        // An empty row inside the table stays (a trailing one lies outside
        // the range a spreadsheet holds).
        rows.append({"", "", "", "", "", ""});
        rows.append({"a,\"b\"", "本地", "x\ny", "", "", "tail\r\n"});
    }
    const QString file = path("address." + suffix);
    QString error;
    QVERIFY2(TagExchange::exportAddressTags(file, TagExchange::addressHeader(), rows, &error),
             qPrintable(error));
    TagExchange::AddressImport result;
    QVERIFY2(TagExchange::importAddressTags(file, &result, &error), qPrintable(error));
    QCOMPARE(result.rows, rows);
    QCOMPARE(result.skippedLines, QList<int>());
}

// How a tag of several states lies in the sheet; textRoundTrip reads such
// sheets back.
void TestTagExchange::threeStateTag()
{
    const Tags tags = {{"Motor", {{"停", "Stop"}, {"运行", "Run"}, {"故障", "Fault"}}},
                       {"Lamp", {{"灯", "Lamp"}}}};
    const QString file = path("three.xlsx");
    QString error;
    QVERIFY2(TagExchange::exportTextTags(file, TagExchange::textHeader(), tags, &error),
             qPrintable(error));
    Sheet sheet;
    QVERIFY2(XlsxSheetReader::readFile(file, &sheet, &error), qPrintable(error));
    QCOMPARE(sheet.rows.at(0), (QStringList{"标签名称", "中文", "English"}));
    QCOMPARE(sheet.merges, (QVector<Sheet::Range>{{1, 0, 3, 0}})); // A2:A4
    QCOMPARE(sheet.cell(1, 0) + '|' + sheet.cell(2, 0) + '|' + sheet.cell(3, 0), "Motor||");
}

bool TestTagExchange::textThroughFile(const QString &suffix, const Tags &tags, Tags *back,
                                      QString *error)
{
    const QString file = path("text." + suffix);
    if (suffix == QLatin1String("xls")) {
        const Sheet sheet = TagExchange::textTagSheet(TagExchange::textHeader(), tags);
        if (!writeFileBytes(file, xlsbuilder::workbook(QByteArray(), xlsbuilder::sheetRecords(sheet))))
            return false;
    } else if (!TagExchange::exportTextTags(file, TagExchange::textHeader(), tags, error)) {
        return false;
    }
    return TagExchange::importTextTags(file, back, error);
}

void TestTagExchange::textRoundTrip_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("xlsx") << "xlsx";
    QTest::newRow("xls") << "xls";
    QTest::newRow("csv") << "csv";
}

void TestTagExchange::textRoundTrip()
{
    QFETCH(QString, suffix);
    // The last tag ends in empty states, which no text of the sheet marks.
    const Tags tags = {{"电机,状态", {{"停 \"止\"", "Stop, now"}, {"", ""}, {"运行\n第二行", "&<>"}}},
                       {"空", {{"", "only English"}}},
                       {"CRLF", {{"a\r\nb", ""}, {"", "last"}}},
                       {"Last", {{"末", "last"}, {"", ""}, {"", ""}}}};
    Tags back;
    QString error;
    QVERIFY2(textThroughFile(suffix, tags, &back, &error), qPrintable(error));
    if (suffix == QLatin1String("csv")) {
        const QByteArray bytes = fileBytes(path("text.csv"));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF" "标签名称,中文,English\r\n"));
        QVERIFY(bytes.contains("\"电机,状态\",\"停 \"\"止\"\"\",\"Stop, now\"\r\n,,\r\n"));
    }
    QCOMPARE(back, tags);
}

void TestTagExchange::generatedTextRoundTrip_data()
{
    textRoundTrip_data();
}

// The text libraries of generated projects, each tag given a name (a
// nameless tag is refused by the library anyway) and the last one two
// empty states more, come back whole.
void TestTagExchange::generatedTextRoundTrip()
{
    QFETCH(QString, suffix);
    for (quint32 seed = 1; seed <= 30; ++seed) {
        Config::instance()->reset();
        ProjectGenerator::Options options;
        options.screens = 0;
        options.addressTags = 0;
        options.textTags = 1 + int(seed % 6);
        ProjectGenerator(seed).build(options);
        // Every state with one text per language, as the library's table
        // holds them.
        const int languages = Config::instance()->languages.size();
        Tags tags = TextLib::fromRecords(Config::instance()->textLib()->records(), languages)
                        .records();
        for (int i = 0; i < tags.size(); ++i) {
            if (tags.at(i).name.isEmpty())
                tags[i].name = QStringLiteral("标签_%1").arg(i);
        }
        for (int i = 0; i < 2; ++i)
            tags.last().states.append(Sheet::blankRow(languages));
        Tags back;
        QString error;
        QVERIFY2(textThroughFile(suffix, tags, &back, &error),
                 qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(error)));
        QVERIFY2(back == tags, qPrintable(QStringLiteral("seed %1").arg(seed)));
    }
}

void TestTagExchange::textLayouts_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<Tags>("tags"); // the sheet the export of these makes
    QTest::addColumn<bool>("merged"); // with its merges, or without any
    QTest::addColumn<QString>("layout"); // "", "names second" or "no header"
    QTest::addColumn<Tags>("expected");
    const Tags motor = {{"Motor", {{"停", "Stop"}, {"运行", "Run"}, {"故障", "Fault"}}},
                        {"Lamp", {{"灯", "Lamp"}}}};
    // A name in a tag's first row only and no merges: every format reads
    // one tag of three states.
    for (const char *suffix : {"xlsx", "xls", "csv"})
        QTest::addRow("%s, names unmerged", suffix) << suffix << motor << false << "" << motor;
    // Where the sheet merges names, the merges alone say where a tag ends:
    // a nameless tag after a merged one stays a tag of its own.
    const Tags nameless = {motor.at(0), {"Fan", {{"开", "On"}, {"关", "Off"}}},
                           {"", {{"灯", "Lamp"}}}};
    for (const char *suffix : {"xlsx", "xls"}) {
        QTest::addRow("%s, nameless tag after merged names", suffix)
            << suffix << nameless << true << "" << nameless;
        // The merges move with the names, and down when the header is missing.
        for (const char *layout : {"names second", "no header"})
            QTest::addRow("%s, %s, merged", suffix, layout)
                << suffix << nameless << true << layout << nameless;
    }
    for (const char *layout : {"names second", "no header"})
        QTest::addRow("csv, %s", layout) << "csv" << motor << false << layout << motor;
}

void TestTagExchange::textLayouts()
{
    QFETCH(QString, suffix);
    QFETCH(Tags, tags);
    QFETCH(bool, merged);
    QFETCH(QString, layout);
    QFETCH(Tags, expected);
    Sheet sheet = TagExchange::textTagSheet(TagExchange::textHeader(), tags);
    if (!merged)
        sheet.merges.clear();
    if (layout == QLatin1String("names second")) {
        for (QStringList &row : sheet.rows)
            row.swapItemsAt(0, 1);
        for (Sheet::Range &range : sheet.merges)
            range.firstColumn = range.lastColumn = 1;
    } else if (layout == QLatin1String("no header")) {
        sheet.rows.removeFirst();
        for (Sheet::Range &range : sheet.merges) {
            --range.firstRow;
            --range.lastRow;
        }
    }
    const QString file = path("layout." + suffix);
    QString error;
    if (suffix == QLatin1String("xlsx")) {
        QVERIFY2(XlsxSheetWriter::writeFile(file, sheet, &error), qPrintable(error));
    } else if (suffix == QLatin1String("xls")) {
        QVERIFY(writeFileBytes(file, xlsbuilder::workbook(QByteArray(),
                                                          xlsbuilder::sheetRecords(sheet))));
    } else {
        QByteArray bytes;
        for (const QStringList &row : qAsConst(sheet.rows))
            bytes += row.join(QLatin1Char(',')).toUtf8() + "\r\n";
        QVERIFY(writeFileBytes(file, bytes));
    }
    Tags back;
    QVERIFY2(TagExchange::importTextTags(file, &back, &error), qPrintable(error));
    QCOMPARE(back, expected);
}

void TestTagExchange::sparseSheet()
{
    // A reader leaves rows without cells empty rather than a range wide;
    // both libraries must still read them as rows of empty cells. An empty
    // name continues the tag above only where no merges can say so (.xls);
    // elsewhere it is a tag of its own, for the library's check to refuse.
    Sheet sheet;
    QVERIFY(Sheet::fromCells({{4, 2, "名"}, {5, 4, "x"}, {7, 2, "B"}, {7, 5, "y"}}, {}, 100,
                             &sheet));
    QCOMPARE(sheet.rows, (Rows{{"名", "", "", ""}, {"", "", "x", ""}, {}, {"B", "", "", "y"}}));
    QCOMPARE(TagExchange::textTagsFromSheet(sheet, true),
             (Tags{{"", {{"", "x", ""}, {"", "", ""}}}, {"B", {{"", "", "y"}}}}));
    QCOMPARE(TagExchange::textTagsFromSheet(sheet, false),
             (Tags{{"", {{"", "x", ""}}}, {"", {{"", "", ""}}}, {"B", {{"", "", "y"}}}}));
    QCOMPARE(TagExchange::addressRowsFromSheet(sheet),
             (Rows{{"", "本地", "x", "", "", ""}, {"", "", "", "", "", ""},
                   {"B", "本地", "", "y", "", ""}}));

    // Formatted rows below the data widen the declared range but hold no
    // tag; the rows a merge reaches are states all the same.
    Sheet declared;
    QVERIFY(Sheet::fromCells({{0, 0, "h"}, {1, 0, "A"}, {1, 1, "a"}}, {{1, 0, 2, 0}}, 100,
                             &declared, 6));
    QCOMPARE(declared.rowCount(), 7);
    QCOMPARE(TagExchange::textTagsFromSheet(declared, false), (Tags{{"A", {{"a"}, {""}}}}));
    QCOMPARE(TagExchange::addressRowsFromSheet(declared).size(), 2);
}

void TestTagExchange::failures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing csv") << path("missing.csv") << "missing.csv";
    QTest::newRow("unknown suffix") << path("tags.doc") << "tags.doc";
    QTest::newRow("not a workbook") << MAROVIN_TEST_DATA_DIR "/exchange/source.fods" << "";
}

void TestTagExchange::failures()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    QString target = file;
    if (file.endsWith(QLatin1String(".fods"))) {
        // A file of another kind under a spreadsheet name.
        target = path("disguised.xlsx");
        QFile::remove(target);
        QVERIFY(QFile::copy(file, target));
    }
    TagExchange::AddressImport address;
    address.rows = {{"kept"}};
    QString error;
    QVERIFY(!TagExchange::importAddressTags(target, &address, &error));
    QVERIFY2(!error.isEmpty() && error.contains(message), qPrintable(error));
    QCOMPARE(address.rows, (Rows{{"kept"}}));
    Tags tags = {{"kept", {}}};
    error.clear();
    QVERIFY(!TagExchange::importTextTags(target, &tags, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(tags.size(), 1);
}

void TestTagExchange::refusedExportWritesNothing()
{
    // A refused row stops the export before the file is touched.
    const QString file = path("refused.csv");
    QVERIFY(writeFileBytes(file, "old"));
    QString error;
    QVERIFY(!TagExchange::exportAddressTags(file, TagExchange::addressHeader(),
                                            {{"a", "本地", "LW 1", "Int16", "2", "😀"}}, &error));
    QVERIFY2(error.contains(QStringLiteral("第1行")), qPrintable(error));
    QCOMPARE(fileBytes(file), QByteArray("old"));

    for (const QString &name : {path("no/such/dir/out.csv"), path("no/such/dir/out.xlsx")}) {
        error.clear();
        QVERIFY(!TagExchange::exportTextTags(name, TagExchange::textHeader(), {}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(name));
    }
    error.clear();
    QVERIFY(!TagExchange::exportAddressTags(path("old.xls"), {}, {}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path("old.xls")));
}

void TestTagExchange::formulaGuard_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("written");
    QTest::newRow("equals") << "=1+2" << "'=1+2";
    QTest::newRow("minus") << "-5" << "'-5";
    QTest::newRow("plus") << "+x" << "'+x";
    QTest::newRow("at") << "@x" << "'@x";
    QTest::newRow("apostrophe before a formula") << "'=x" << "''=x";
    QTest::newRow("apostrophe alone") << "'x" << "'x";
    QTest::newRow("inside") << "a=b" << "a=b";
    QTest::newRow("quoted") << "=a,b" << "\"'=a,b\"";
}

// What a spreadsheet would take for a formula is written as text, and our
// own reader gives the cell back as it was.
void TestTagExchange::formulaGuard()
{
    QFETCH(QString, cell);
    QFETCH(QString, written);
    const QString text = CsvTable::format({{cell, "b"}});
    QCOMPARE(text, written + ",b\r\n");
    QCOMPARE(CsvTable::parse(text), (Rows{{cell, "b"}}));
}

void TestTagExchange::textQuoting_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Tags>("tags");
    QTest::newRow("quote inside a field") << QByteArray("h,a\nn,say \"hi\" now\n")
                                          << Tags{{"n", {{"say \"hi\" now"}}}};
    QTest::newRow("quoted empty name starts a tag")
        << QByteArray("h,a\nx,1\n\"\",2\n,3\n") << Tags{{"x", {{"1"}}}, {"", {{"2"}, {"3"}}}};
    QTest::newRow("blank lines are no states")
        << QByteArray("h,a\r\nT1,a\r\n\r\nT2,b\r\n\r\n\r\n") << Tags{{"T1", {{"a"}}}, {"T2", {{"b"}}}};
    QTest::newRow("line break in quotes") << QByteArray("h,a\n\"n\",\"1\n2\"\n,3")
                                          << Tags{{"n", {{"1\n2"}, {"3"}}}};
}

void TestTagExchange::textQuoting()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Tags, tags);
    QCOMPARE(TagExchange::parseTextCsv(bytes), tags);
}

void TestTagExchange::encodings_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("encoding");
    for (const char *library : {"address", "text"}) {
        for (const char *encoding : {"UTF-8", "UTF-8 BOM", "GBK", "UTF-16LE", "UTF-16BE", "neither"})
            QTest::addRow("%s, %s", library, encoding) << library << encoding;
    }
}

// UTF-8 with or without its mark, UTF-16 behind its mark and GBK read
// alike; bytes valid in neither
// still read, with a warning.
void TestTagExchange::encodings()
{
    QFETCH(QString, library);
    QFETCH(QString, encoding);
    const bool address = library == QLatin1String("address");
    const QString text = address ? QStringLiteral("名称\n温度,LW1,WORD,,,备注\n")
                                 : QStringLiteral("标签名称,中文,English\n温度,热,hot\n");
    QByteArray bytes = encoding == QLatin1String("GBK")
        ? QTextCodec::codecForName("GBK")->fromUnicode(text)
        : text.toUtf8();
    // With the mark spreadsheet programs write first.
    if (encoding.startsWith(QLatin1String("UTF-16")))
        bytes = QTextCodec::codecForName(encoding.toLatin1())->fromUnicode(QChar(0xfeff) + text);
    if (encoding == QLatin1String("UTF-8 BOM"))
        bytes.prepend("\xEF\xBB\xBF");
    const bool neither = encoding == QLatin1String("neither");
    if (neither)
        bytes.append(address ? "x\x81,LW2,WORD,,,\n" : "x\x81,a,b\n");
    const QString file = path("encoded.csv");
    QVERIFY(writeFileBytes(file, bytes));

    QString error;
    QStringList warnings;
    QString name;
    QString other;
    if (address) {
        TagExchange::AddressImport result;
        QVERIFY2(TagExchange::importAddressTags(file, &result, &error), qPrintable(error));
        warnings = result.warnings;
        name = result.rows.value(0).value(Config::NameColumn);
        other = result.rows.value(0).value(Config::MarkColumn);
    } else {
        Tags tags;
        QVERIFY2(TagExchange::importTextTags(file, &tags, &error, &warnings), qPrintable(error));
        name = tags.value(0).name;
        other = tags.value(0).states.value(0).value(0);
    }
    if (!neither) {
        QCOMPARE(name, QStringLiteral("温度"));
        QCOMPARE(other, address ? QStringLiteral("备注") : QStringLiteral("热"));
    }
    QCOMPARE(warnings.size(), neither ? 1 : 0);
    if (neither)
        QVERIFY2(warnings.first().contains("GBK"), qPrintable(warnings.first()));
}

void TestTagExchange::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("suffix");
    // A first sheet whose cells are all blank, formatted or not.
    Sheet blank;
    blank.rows = {{"", ""}, {}, {"", "", ""}};
    QTest::newRow("blank sheet, xls")
        << xlsbuilder::workbook(QByteArray(), xlsbuilder::sheetRecords(blank)) << "第一个工作表是空的"
        << "xls";
    QString error;
    QVERIFY2(XlsxSheetWriter::writeFile(path("blank.xlsx"), blank, &error), qPrintable(error));
    QTest::newRow("blank sheet, xlsx")
        << fileBytes(path("blank.xlsx")) << "第一个工作表是空的" << "xlsx";
    QTest::newRow("no bytes") << QByteArray("") << "空" << "csv";
    QTest::newRow("mark and blanks") << QByteArray("\xEF\xBB\xBF \r\n") << "空" << "csv";
    QTest::newRow("open quote") << QByteArray("h,a\nA,LW1,WORD,,,\n\"B,LW2,WORD,,,\nC,LW3,WORD,,,\n")
                                << "第3行" << "csv";
    QTest::newRow("open quote after a closed one")
        << QByteArray("h,a\n\"A\nB\",LW1,WORD,,,\n\"C,LW2,WORD,,,\n") << "第4行" << "csv";
}

// Files that would empty a library or lose its last tags are refused, by
// both libraries, naming the line of an open quote; the caller's tags stay.
void TestTagExchange::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(QString, suffix);
    const QString file = path("refused." + suffix);
    QVERIFY(writeFileBytes(file, bytes));
    TagExchange::AddressImport address;
    address.rows = {{"kept"}};
    QString error;
    QVERIFY(!TagExchange::importAddressTags(file, &address, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(address.rows, (Rows{{"kept"}}));
    Tags tags = {{"kept", {}}};
    error.clear();
    QVERIFY(!TagExchange::importTextTags(file, &tags, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(tags.size(), 1);
}

void TestTagExchange::emptyDeviceIsThePanel_data()
{
    QTest::addColumn<QString>("suffix");
    for (const char *suffix : {"csv", "xlsx", "xls"})
        QTest::newRow(suffix) << suffix;
}

// A tag row without a device means the panel in every format, as a
// variable list from a controller tool, which has no device field, does.
void TestTagExchange::emptyDeviceIsThePanel()
{
    QFETCH(QString, suffix);
    Sheet sheet;
    sheet.rows = {TagExchange::addressHeader(), {"A", "", "LW 1", "Int16", "2", "r"}};
    const QString file = path("devices." + suffix);
    QString error;
    if (suffix == QLatin1String("xlsx"))
        QVERIFY2(XlsxSheetWriter::writeFile(file, sheet, &error), qPrintable(error));
    else if (suffix == QLatin1String("xls"))
        QVERIFY(writeFileBytes(
            file, xlsbuilder::workbook(QByteArray(), xlsbuilder::sheetRecords(sheet))));
    else
        QVERIFY(writeFileBytes(file, "h\nA,LW1,WORD,,,r\n"));
    TagExchange::AddressImport result;
    QVERIFY2(TagExchange::importAddressTags(file, &result, &error), qPrintable(error));
    QCOMPARE(result.rows, (Rows{{"A", "本地", "LW 1", "Int16", "2", "r"}}));
}

void TestTagExchange::languageColumns_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("text"); // the header (if any) and the rows, comma-separated
    QTest::addColumn<Tags>("expected"); // with texts of the project's 中文 and English
    QTest::addColumn<QString>("warning"); // a part of the one warning, "" for none
    const Tags t12 = {{"t", {{"1", "2"}}}};
    QTest::newRow("same order") << "csv" << "n,中文,English\nt,1,2" << t12 << "";
    QTest::newRow("swapped") << "csv" << "n,English,中文\nt,2,1" << t12 << "";
    QTest::newRow("swapped in a sheet") << "xlsx" << "n,English,中文\nt,2,1" << t12 << "";
    QTest::newRow("one named, one by place") << "csv" << "n,Chinese,English\nt,1,2" << t12 << "";
    QTest::newRow("place taken by name")
        << "csv" << "n,x,中文\nt,x,1" << Tags{{"t", {{"1", ""}}}} << "第2列“x”";
    QTest::newRow("a language twice, the other missing")
        << "csv" << "n,中文,中文\nt,1,2" << Tags{{"t", {{"1", ""}}}} << "第3列“中文”";
    QTest::newRow("empty column at the end") << "csv" << "n,中文,English,\nt,1,2," << t12 << "";
    QTest::newRow("a language the project lacks")
        << "csv" << "n,中文,English,日本語\nt,1,2,3" << t12 << "第4列“日本語”";
    // The name column goes by its heading; columns keep their numbers as
    // the file has them.
    QTest::newRow("names second") << "csv" << "中文,标签名称,English\n1,t,2" << t12 << "";
    QTest::newRow("names second in a sheet")
        << "xlsx" << "x,English,Tag name,中文\n3,2,t,1" << t12 << "第1列“x”";
    // With the names second, it is their column's quotes that tell a
    // nameless tag from the next state of the tag above.
    QTest::newRow("quoted empty name second")
        << "csv" << "中文,名称,English\n1,t,2\n3,,4\n5,\"\",6"
        << Tags{{"t", {{"1", "2"}, {"3", "4"}}}, {"", {{"5", "6"}}}} << "";
    // A first row naming neither the names nor a language is a tag.
    const Tags two = {{"n", {{"Chinese", "Englisch"}}}, {"t", {{"1", "2"}}}};
    QTest::newRow("no header") << "csv" << "n,Chinese,Englisch\nt,1,2" << two << "“n”";
    QTest::newRow("no header in a sheet") << "xlsx" << "n,Chinese,Englisch\nt,1,2" << two << "“n”";
}

// A file's columns go to the languages its header names, in every format;
// what the import leaves out or reads in place of a header is said.
void TestTagExchange::languageColumns()
{
    QFETCH(QString, suffix);
    QFETCH(QString, text);
    QFETCH(Tags, expected);
    QFETCH(QString, warning);
    const QString file = path("languages." + suffix);
    if (suffix == QLatin1String("xlsx")) {
        Sheet sheet;
        for (const QString &line : text.split(QLatin1Char('\n')))
            sheet.rows.append(line.split(QLatin1Char(',')));
        QString error;
        QVERIFY2(XlsxSheetWriter::writeFile(file, sheet, &error), qPrintable(error));
    } else {
        QVERIFY(writeFileBytes(file, text.toUtf8()));
    }
    Tags tags;
    QString error;
    QStringList warnings;
    QVERIFY2(TagExchange::importTextTags(file, &tags, &error, &warnings), qPrintable(error));
    QCOMPARE(tags, expected);
    QCOMPARE(warnings.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(warnings.first().contains(warning), qPrintable(warnings.first()));
}

void TestTagExchange::generatedRoundTrip_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 40; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

// Both libraries of generated projects leave as text files and come back
// unchanged, with names and texts made to hold what the files must quote
// or guard.
void TestTagExchange::generatedRoundTrip()
{
    QFETCH(quint32, seed);
    Config *config = Config::instance();
    config->reset();
    ProjectGenerator::Options options;
    options.screens = 0;
    options.addressTags = 12;
    options.textTags = 8;
    ProjectGenerator(seed).build(options);

    static const QStringList spices = {"=", "+", "-", "@", "'-", "\"q\",", "\n", "\r\n", ""};
    int turn = int(seed);
    const auto spice = [&turn](const QString &text) {
        const QString &with = spices.at(turn++ % spices.size());
        if (with.isEmpty())
            return QString();
        return with.startsWith(QLatin1Char('\n')) || with.startsWith(QLatin1Char('\r'))
            ? text + with + text
            : with + text;
    };
    // The variable list is GBK: what it cannot hold is refused, not lost.
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    const auto gbkOnly = [gbk](QString text) {
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i).isSurrogate() || !gbk->canEncode(text.at(i)))
                text[i] = QLatin1Char('?');
        }
        return text;
    };
    Rows rows = TagExchange::addressRows();
    for (QStringList &row : rows) {
        for (int column : {int(Config::NameColumn), int(Config::MarkColumn)})
            row[column] = spice(row.at(column));
        for (QString &cell : row)
            cell = gbkOnly(cell);
    }
    for (DevicePara &device : config->devices)
        device.name = gbkOnly(device.name);
    TagExchange::setAddressRows(Config::instance()->addressTagModel(), rows);
    rows = TagExchange::addressRows();
    TextLib library;
    const TextLib *generated = config->textLib();
    for (int i = 0; i < generated->count(); ++i) {
        TextLib::States states = generated->statesAt(i);
        for (TextLib::State &state : states) {
            for (QString &text : state)
                text = spice(text);
        }
        library.add(spice(generated->names().at(i)), states);
    }
    // One text per language of the project, as the dialog keeps them.
    library = TextLib::fromRecords(library.records(), config->languages.size());
    *config->textLib() = library;

    const QString suffix = seed % 2 ? "csv" : "txt";
    QString error;
    const QString addressFile = path("address." + suffix);
    QVERIFY2(TagExchange::exportAddressTags(addressFile, TagExchange::addressHeader(), rows, &error),
             qPrintable(error));
    TagExchange::AddressImport addressBack;
    QVERIFY2(TagExchange::importAddressTags(addressFile, &addressBack, &error), qPrintable(error));
    QCOMPARE(addressBack.rows, rows);
    QCOMPARE(addressBack.warnings, QStringList());

    const QString textFile = path("text." + suffix);
    QVERIFY2(TagExchange::exportTextTags(textFile, TagExchange::textHeader(), library.records(),
                                         &error),
             qPrintable(error));
    Tags textBack;
    QVERIFY2(TagExchange::importTextTags(textFile, &textBack, &error), qPrintable(error));
    QCOMPARE(textBack, library.records());
}

// A first line holding an address is a tag of a file without header, in
// text files and sheets alike; a file without tags still imports (an empty
// library exports so) but says so; each with its warning.
void TestTagExchange::headersAndEmptyFiles_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QVector<QStringList>>("cells"); // rows of the file
    QTest::addColumn<QStringList>("names"); // of the tags read
    QTest::addColumn<QString>("warning"); // a part of the one warning
    // A variable list and a sheet order their columns differently.
    const QVector<QStringList> headerlessList = {{"n1", "LW100", "WORD", "本地", "Int16", "r"},
                                                 {"n2", "LW102", "WORD", "本地", "Int16", ""}};
    const QVector<QStringList> headerlessSheet = {{"n1", "本地", "LW 100", "Int16", "2", "r"},
                                                  {"n2", "本地", "LW 102", "Int16", "2", ""}};
    const QVector<QStringList> headerOnly = {{"Name", "Address", "Type", "Device", "Data format", "Remark"}};
    for (const char *suffix : {"csv", "xlsx"}) {
        QTest::addRow("no header, %s", suffix)
            << suffix << (QByteArray(suffix) == "csv" ? headerlessList : headerlessSheet)
            << QStringList {"n1", "n2"} << "holds an address";
        QTest::addRow("header only, %s", suffix)
            << suffix << headerOnly << QStringList {} << "holds no tags";
    }
}

void TestTagExchange::headersAndEmptyFiles()
{
    QFETCH(QString, suffix);
    QFETCH(QVector<QStringList>, cells);
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/en_US_app")));
    QCoreApplication::installTranslator(&english);
    const QString file = path(QStringLiteral("headers.") + suffix);
    QString error;
    bool written = false;
    if (suffix == QLatin1String("csv")) {
        QByteArray bytes;
        for (const QStringList &row : cells)
            bytes += row.join(QLatin1Char(',')).toUtf8() + "\r\n";
        written = writeFileBytes(file, bytes);
    } else {
        Sheet sheet;
        sheet.rows = cells;
        written = XlsxSheetWriter::writeFile(file, sheet, &error);
    }
    TagExchange::AddressImport result;
    const bool read = TagExchange::importAddressTags(file, &result, &error);
    QCoreApplication::removeTranslator(&english);
    QVERIFY2(written && read, qPrintable(error));
    QStringList names;
    for (const QStringList &row : result.rows)
        names.append(row.value(Config::NameColumn));
    QTEST(names, "names");
    QCOMPARE(result.warnings.size(), 1);
    QFETCH(QString, warning);
    QVERIFY2(result.warnings.first().contains(warning), qPrintable(result.warnings.first()));
}

QTEST_MAIN(TestTagExchange)
#include "tst_tagexchange.moc"
