// tagbench: how the two tag library dialogs compare with bare Qt tables
// holding the same cells, at the size of a big project: 10,000 address tags
// and 1,000 text tags of three states in two languages; how the address
// tags' export to and import from .xlsx and .csv files compare with the
// bare libraries writing and reading the same cells; and a find and a
// check across the whole benchmark project (25,550 shapes as well) timed
// against loading that project, which neither may outlast. Each step is
// timed in alternate rounds with its baseline; the figure is the median
// ratio.

#include "benchtiming.h"
#include "document/drawmanager.h"
#include "document/projectcheck.h"
#include "document/projectfile.h"
#include "document/projectsearch.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "model/languagepara.h"
#include "model/taglib/textlib.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "support/projectgenerator.h"
#include "widgets/tableview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QHeaderView>
#include <QSaveFile>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QXmlStreamReader>

#include <minizip/unzip.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <memory>

using benchtiming::Timing;
using benchtiming::print;
using benchtiming::timePair;

namespace {

constexpr int AddressTagCount = 10000;
constexpr int TextTagCount = 1000;
constexpr int StatesPerTag = 3;
constexpr double RatioTarget = 3.0;
constexpr double StepLimitMs = 250.0;
// A find over the project may take at most as long as loading it.
constexpr double FindRatioTarget = 1.0;
constexpr double ExportRatioTarget = 1.5;
constexpr double ImportRatioTarget = 2.0;

void buildProject()
{
    Config *config = Config::instance();
    config->reset();
    LanguagePara chinese;
    chinese.name = QStringLiteral("中文");
    LanguagePara english;
    english.name = QStringLiteral("English");
    config->languages = {chinese, english};
    DevicePara plc;
    plc.name = QStringLiteral("PLC");
    config->devices = {plc};

    static const char *const types[] = {"Int16", "Uint16", "Int32", "Float", "Bool"};
    QStandardItemModel *model = config->addressTagModel();
    for (int i = 0; i < AddressTagCount; ++i) {
        const bool bit = i % 5 == 4;
        model->appendRow(
            {new QStandardItem(QStringLiteral("变量_%1").arg(i)),
             new QStandardItem(QStringLiteral("本地")),
             new QStandardItem(bit ? QStringLiteral("LW_Bit %1_%2").arg(i % 9000).arg(i % 16)
                                   : QStringLiteral("LW %1").arg(i % 9000)),
             new QStandardItem(QLatin1String(types[i % 5])),
             new QStandardItem(QString::number(bit ? 1 : 2)),
             new QStandardItem(QStringLiteral("备注 %1").arg(i))});
    }

    TextLib *lib = config->textLib();
    lib->clear();
    for (int i = 0; i < TextTagCount; ++i) {
        QList<QStringList> states;
        for (int s = 0; s < StatesPerTag; ++s)
            states.append({QStringLiteral("状态 %1 文本 %2").arg(s).arg(i),
                           QStringLiteral("state %1 text %2").arg(s).arg(i)});
        lib->add(QStringLiteral("标签_%1").arg(i), states);
    }
}

// The text library's cells in a bare table widget: what any table showing
// them has to do.
std::unique_ptr<QTableWidget> bareTextTable()
{
    const TextLib *lib = Config::instance()->textLib();
    auto table = std::make_unique<QTableWidget>();
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("标签名称"), QStringLiteral("中文"), QStringLiteral("English")});
    table->setRowCount(TextTagCount * StatesPerTag);
    int row = 0;
    for (int tag = 0; tag < lib->count(); ++tag) {
        const TextLib::States &states = lib->statesAt(tag);
        table->setItem(row, 0, new QTableWidgetItem(lib->names().at(tag)));
        if (states.size() > 1)
            table->setSpan(row, 0, states.size(), 1);
        for (const QStringList &state : states) {
            for (int c = 0; c < state.size(); ++c)
                table->setItem(row, c + 1, new QTableWidgetItem(state.at(c)));
            ++row;
        }
    }
    table->resize(800, 600);
    table->show();
    QApplication::processEvents();
    return table;
}

void bareTextFilter(QTableWidget *table, const QString &text)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        bool match = false;
        for (int c = 0; c < table->columnCount() && !match; ++c) {
            const QTableWidgetItem *item = table->item(row, c);
            match = item && item->text().contains(text, Qt::CaseInsensitive);
        }
        table->setRowHidden(row, !match);
    }
}

// Reading every cell back into a library and checking names for duplicates.
void bareTextCollect(QTableWidget *table)
{
    QSet<QString> names;
    TextLib lib;
    for (int row = 0; row < table->rowCount();) {
        const int span = std::max(1, table->rowSpan(row, 0));
        const QString name = table->item(row, 0)->text();
        names.insert(name);
        QList<QStringList> states;
        for (int r = row; r < row + span; ++r) {
            QStringList texts;
            for (int c = 1; c < table->columnCount(); ++c)
                texts.append(table->item(r, c)->text());
            states.append(texts);
        }
        lib.add(name, states);
        row += span;
    }
}

// The address tags in a bare view over a bare sort/filter proxy.
struct BareAddressTable
{
    QSortFilterProxyModel proxy;
    QTableView view;

    BareAddressTable()
    {
        proxy.setSourceModel(Config::instance()->addressTagModel());
        proxy.setFilterKeyColumn(-1);
        proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
        view.setModel(&proxy);
        view.setSortingEnabled(true);
        view.sortByColumn(-1, Qt::AscendingOrder);
        view.horizontalHeader()->setStretchLastSection(true);
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
    }
};

void bareAddressCheck()
{
    const QStandardItemModel *model = Config::instance()->addressTagModel();
    QSet<QString> names;
    for (int row = 0; row < model->rowCount(); ++row) {
        names.insert(model->item(row, 0)->text());
        for (int c = 1; c < Config::TagColumnCount; ++c)
            (void)model->item(row, c)->text();
    }
}

void clickHeader(QTableView *view, int column)
{
    QHeaderView *header = view->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
}

// The same cells written by the spreadsheet library alone: no format, no
// checks, straight to the file.
void bareXlsxWrite(const QString &fileName, const QVector<QStringList> &rows,
                   const QStringList &header)
{
    const QByteArray path = QFile::encodeName(fileName);
    lxw_workbook *workbook = workbook_new(path.constData());
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    for (int c = 0; c < header.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), header.at(c).toUtf8().constData(), nullptr);
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList &cells = rows.at(r);
        for (int c = 0; c < cells.size(); ++c)
            worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c),
                                   cells.at(c).toUtf8().constData(), nullptr);
    }
    workbook_close(workbook);
}

// The worksheet entry unzipped and passed over once with a bare XML
// reader: the least any reader of the file has to do.
void bareXlsxRead(const QString &fileName)
{
    unzFile zip = unzOpen64(QFile::encodeName(fileName).constData());
    if (!zip || unzLocateFile(zip, "xl/worksheets/sheet1.xml", 1) != UNZ_OK
        || unzOpenCurrentFile(zip) != UNZ_OK) {
        qFatal("cannot unzip %s", qPrintable(fileName));
    }
    QByteArray xml;
    char buffer[65536];
    for (int count; (count = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
        xml.append(buffer, count);
    unzCloseCurrentFile(zip);
    unzClose(zip);
    QXmlStreamReader reader(xml);
    int elements = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            ++elements;
    }
    if (elements == 0)
        qFatal("empty sheet in %s", qPrintable(fileName));
}

// The variable list's bare counterparts. Writing: the file's own cells
// joined with commas, encoded once and put in place through QSaveFile, the
// same safe write an export must make (a temporary file flushed and renamed,
// so that a failure never leaves a cut-short file). Reading: the file
// decoded and cut into lines and fields without copying them, as the
// spreadsheet baseline tokenizes its sheet.
void bareTextWrite(const QString &fileName, const QVector<QStringList> &fileCells)
{
    QString text;
    for (const QStringList &line : fileCells) {
        text += line.join(QLatin1Char(','));
        text += QLatin1String("\r\n");
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(fileName));
    file.write(QTextCodec::codecForName("GBK")->fromUnicode(text));
    if (!file.commit())
        qFatal("cannot write %s", qPrintable(fileName));
}

void bareTextRead(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(fileName));
    const QString text = QTextCodec::codecForName("GBK")->toUnicode(file.readAll());
    int fields = 0;
    for (const QStringRef &line : text.splitRef(QLatin1Char('\n'), Qt::SkipEmptyParts))
        fields += line.split(QLatin1Char(',')).size();
    if (fields == 0)
        qFatal("empty %s", qPrintable(fileName));
}

// From the same cells the bare baselines write.
void exportAddress(const QString &fileName, const QStringList &header,
                   const QVector<QStringList> &cells)
{
    QString error;
    if (!TagExchange::exportAddressTags(fileName, header, cells, &error))
        qFatal("export failed: %s", qPrintable(error));
}

void importAddress(const QString &fileName)
{
    TagExchange::AddressImport result;
    QString error;
    if (!TagExchange::importAddressTags(fileName, &result, &error)
        || result.rows.size() != AddressTagCount)
        qFatal("import failed: %s", qPrintable(error));
}

struct Row
{
    QString name;
    Timing timing;
    double ratioTarget = RatioTarget;
    double limitMs = StepLimitMs; // 0: no limit of its own
};

void resetProject()
{
    DrawManager::instance()->clear();
    Config::instance()->reset();
    DrawScene::resetScreenCounters();
    // Widget shapes hand their proxies to the event loop to delete.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Searching (and checking) the benchmark project against loading it from
// its file. The text is found nowhere, so every field is read and compared.
QList<Row> timeFindAndCheck(int repeat)
{
    resetProject();
    ProjectGenerator(1).build(ProjectGenerator::benchmarkOptions());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.mvprg"));
    if (!ProjectFile::write(file))
        print(QStringLiteral("cannot write %1").arg(file));
    ProjectSearch::Options options;
    options.text = QStringLiteral("马达 overheat");
    int hits = 0;
    const Timing timing = timePair(
        repeat, [&] { hits += ProjectSearch::find(options).size(); },
        [&] {
            resetProject();
            ProjectFile::load(file);
        });
    if (hits != 0)
        print(QStringLiteral("find: unexpected matches"));
    int findings = 0;
    const Timing check = timePair(
        repeat, [&] { findings += ProjectCheck::run().size(); },
        [&] {
            resetProject();
            ProjectFile::load(file);
        });
    resetProject();
    return {{QStringLiteral("find: whole project"), timing, FindRatioTarget, StepLimitMs},
            {QStringLiteral("check: whole project"), check, FindRatioTarget, StepLimitMs}};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times the tag library dialogs."));
    parser.addHelpOption();
    const QCommandLineOption repeatOption(QStringLiteral("repeat"),
                                          QStringLiteral("Rounds per step (default 9)."),
                                          QStringLiteral("N"), QStringLiteral("9"));
    parser.addOption(repeatOption);
    const QCommandLineOption exchangeOption(QStringLiteral("exchange"),
                                            QStringLiteral("Only the exchange file steps."));
    parser.addOption(exchangeOption);
    parser.process(app);
    const int repeat = qMax(1, parser.value(repeatOption).toInt());
    const bool dialogs = !parser.isSet(exchangeOption);

    buildProject();
    QList<Row> rows;

    // Text tags.
    if (dialogs)
        rows.append({QStringLiteral("text: open"),
                 timePair(
                     repeat,
                     [] {
                         TextLibDialog dialog;
                         dialog.reloadTable();
                         dialog.resize(800, 600);
                         dialog.show();
                         QApplication::processEvents();
                     },
                     [] { bareTextTable(); })});
    if (dialogs) {
        TextLibDialog dialog;
        dialog.reloadTable();
        dialog.resize(800, 600);
        dialog.show();
        const std::unique_ptr<QTableWidget> bare = bareTextTable();
        int round = 0;
        int bareRound = 0;
        rows.append({QStringLiteral("text: filter key"),
                     timePair(
                         repeat,
                         [&] {
                             dialog.on_filter_currentTextChanged(
                                 QStringLiteral("标签_9%1").arg(round++ % 2));
                             QApplication::processEvents();
                         },
                         [&] {
                             bareTextFilter(bare.get(), QStringLiteral("标签_9%1").arg(bareRound++ % 2));
                             QApplication::processEvents();
                         })});
        dialog.on_filter_currentTextChanged(QString());
        bareTextFilter(bare.get(), QString());
        rows.append({QStringLiteral("text: OK"),
                     timePair(
                         repeat, [&] { dialog.on_ok_clicked(); },
                         [&] { bareTextCollect(bare.get()); })});
    }

    // Address tags.
    if (dialogs)
        rows.append({QStringLiteral("address: open"),
                 timePair(
                     repeat,
                     [] {
                         AddressLibDialog dialog;
                         dialog.resize(800, 600);
                         dialog.show();
                         QApplication::processEvents();
                     },
                     [] { BareAddressTable bare; })});
    if (dialogs) {
        AddressLibDialog dialog;
        dialog.resize(800, 600);
        dialog.show();
        QApplication::processEvents();
        TableView *view = dialog.findChild<TableView *>();
        BareAddressTable bare;
        int round = 0;
        int bareRound = 0;
        rows.append({QStringLiteral("address: filter key"),
                     timePair(
                         repeat,
                         [&] {
                             dialog.on_filter_currentTextChanged(
                                 QStringLiteral("变量_99%1").arg(round++ % 2));
                             QApplication::processEvents();
                         },
                         [&] {
                             bare.proxy.setFilterRegularExpression(QRegularExpression(
                                 QStringLiteral("变量_99%1").arg(bareRound++ % 2),
                                 QRegularExpression::CaseInsensitiveOption));
                             QApplication::processEvents();
                         })});
        dialog.on_filter_currentTextChanged(QString());
        bare.proxy.setFilterRegularExpression(QRegularExpression());
        QApplication::processEvents();
        round = 0;
        bareRound = 0;
        // Alternating columns, so that every click sorts anew.
        rows.append({QStringLiteral("address: sort click"),
                     timePair(
                         repeat, [&] { clickHeader(view, round++ % 2 ? 2 : 0); },
                         [&] { clickHeader(&bare.view, bareRound++ % 2 ? 2 : 0); })});
        rows.append({QStringLiteral("address: OK"),
                     timePair(
                         repeat, [&] { dialog.on_ok_clicked(); }, [] { bareAddressCheck(); })});
    }

    // Exchange files of the address tags.
    {
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("ours"));
        const QString bare = dir.filePath(QStringLiteral("bare"));
        const QStringList header = TagExchange::addressHeader();
        const QVector<QStringList> cells = TagExchange::addressRows();
        rows.append({QStringLiteral("exchange: xlsx export"),
                     timePair(
                         repeat, [&] { exportAddress(ours + QLatin1String(".xlsx"), header, cells); },
                         [&] { bareXlsxWrite(bare + QLatin1String(".xlsx"), cells, header); }),
                     ExportRatioTarget, 0});
        rows.append({QStringLiteral("exchange: xlsx import"),
                     timePair(
                         repeat, [&] { importAddress(ours + QLatin1String(".xlsx")); },
                         [&] { bareXlsxRead(ours + QLatin1String(".xlsx")); }),
                     ImportRatioTarget, 0});
        exportAddress(ours + QLatin1String(".csv"), header, cells);
        QFile written(ours + QLatin1String(".csv"));
        if (!written.open(QIODevice::ReadOnly))
            qFatal("no csv written");
        QVector<QStringList> fileCells;
        const QString text = QTextCodec::codecForName("GBK")->toUnicode(written.readAll());
        for (const QString &line : text.split(QLatin1String("\r\n"), Qt::SkipEmptyParts))
            fileCells.append(line.split(QLatin1Char(',')));
        rows.append({QStringLiteral("exchange: csv export"),
                     timePair(
                         repeat, [&] { exportAddress(ours + QLatin1String(".csv"), header, cells); },
                         [&] { bareTextWrite(bare + QLatin1String(".csv"), fileCells); }),
                     ExportRatioTarget, 0});
        rows.append({QStringLiteral("exchange: csv import"),
                     timePair(
                         repeat, [&] { importAddress(ours + QLatin1String(".csv")); },
                         [&] { bareTextRead(ours + QLatin1String(".csv")); }),
                     ImportRatioTarget, 0});
    }

    rows.append(timeFindAndCheck(repeat));

    print(QStringLiteral("%1 address tags, %2 text tags x %3 states x 2 languages; medians of %4 "
                         "rounds, each step timed alternately with its baseline")
              .arg(AddressTagCount)
              .arg(TextTagCount)
              .arg(StatesPerTag)
              .arg(repeat));
    print(QStringLiteral("%1 %2 %3 %4")
              .arg(QStringLiteral("step"), -22)
              .arg(QStringLiteral("ms"), 10)
              .arg(QStringLiteral("baseline ms"), 12)
              .arg(QStringLiteral("ratio"), 8));
    QStringList missed;
    for (const Row &row : rows) {
        if (row.timing.ratio > row.ratioTarget)
            missed.append(QStringLiteral("%1: ratio %2 > %3")
                              .arg(row.name)
                              .arg(row.timing.ratio, 0, 'f', 2)
                              .arg(row.ratioTarget));
        if (row.limitMs > 0 && row.timing.measured > row.limitMs)
            missed.append(QStringLiteral("%1: %2 ms > %3 ms")
                              .arg(row.name)
                              .arg(row.timing.measured, 0, 'f', 1)
                              .arg(row.limitMs));
        print(QStringLiteral("%1 %2 %3 %4")
                  .arg(row.name, -22)
                  .arg(row.timing.measured, 10, 'f', 1)
                  .arg(row.timing.baseline, 12, 'f', 1)
                  .arg(row.timing.ratio, 8, 'f', 2));
    }
    const QString targets = QStringLiteral("dialogs: ratio <= 3, step <= 250 ms; "
                                           "exchange: export ratio <= 1.5, import ratio <= 2; "
                                           "find and check <= load");
    print((missed.isEmpty() ? QStringLiteral("all targets met (%1)")
                            : QStringLiteral("targets missed (%1)"))
              .arg(targets));
    // A missed target fails the run, so that a script cannot pass it unseen.
    for (const QString &miss : qAsConst(missed))
        print(QStringLiteral("missed: %1").arg(miss));
    return missed.isEmpty() ? 0 : 1;
}
