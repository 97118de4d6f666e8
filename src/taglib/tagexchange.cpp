#include "tagexchange.h"

#include "csvtable.h"
#include "project/config.h"
#include "xlssheetreader.h"
#include "xlsxsheetreader.h"
#include "xlsxsheetwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardItemModel>

#include <algorithm>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");
// The compound-file signature every binary .xls workbook starts with.
const QByteArray compoundFileMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

} // namespace

TagExchange::FileKind TagExchange::fileKind(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("xlsx"))
        return XlsxFile;
    if (suffix == QLatin1String("xls"))
        return XlsFile;
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt"))
        return TextFile;
    return UnknownFile;
}

bool TagExchange::readFileBytes(const QString &fileName, QByteArray *bytes, QString *error)
{
    return XlsxSheetReader::readFileBytes(fileName, bytes, error);
}

bool TagExchange::writeFileBytes(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = XlsxSheetWriter::tr("无法写入文件“%1”：%2").arg(fileName, file.errorString());
    return false;
}

bool TagExchange::readSheet(const QString &fileName, Sheet *sheet, QString *error, bool *binary)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = XlsxSheetReader::tr("无法打开文件“%1”：%2").arg(fileName, file.errorString());
        return false;
    }
    const bool isBinary = file.peek(compoundFileMagic.size()) == compoundFileMagic;
    file.close();
    if (binary)
        *binary = isBinary;
    return isBinary ? XlsSheetReader::readFile(fileName, sheet, error)
                  : XlsxSheetReader::readFile(fileName, sheet, error);
}

QVector<QStringList> TagExchange::addressRowsFromSheet(const Sheet &sheet)
{
    QVector<QStringList> rows;
    rows.reserve(std::max(sheet.rowCount() - 1, 0));
    const QStringList blank = Sheet::blankRow(Config::TagColumnCount);
    for (int row = 1; row < sheet.rowCount(); ++row) {
        const QStringList &cells = sheet.rows.at(row);
        if (cells.isEmpty()) {
            rows.append(blank);
            continue;
        }
        QStringList tag = cells.mid(0, Config::TagColumnCount);
        while (tag.size() < Config::TagColumnCount)
            tag.append(QString());
        rows.append(tag);
    }
    return rows;
}

Sheet TagExchange::addressSheet(const QStringList &header, const QVector<QStringList> &rows)
{
    Sheet sheet;
    sheet.rows.reserve(rows.size() + 1);
    sheet.rows.append(header);
    for (const QStringList &row : rows)
        sheet.rows.append(row.mid(0, Config::TagColumnCount));
    return sheet;
}

bool TagExchange::importAddressTags(const QString &fileName, AddressImport *result, QString *error)
{
    const FileKind kind = fileKind(fileName);
    if (kind == TextFile) {
        QByteArray bytes;
        if (!readFileBytes(fileName, &bytes, error))
            return false;
        AddressTextFile::Import text = AddressTextFile::parse(bytes);
        result->rows = std::move(text.rows);
        result->skippedLines = std::move(text.skippedLines);
        return true;
    }
    Sheet sheet;
    if (kind == UnknownFile) {
        if (error)
            *error = tr("不支持的文件类型：%1").arg(fileName);
        return false;
    }
    if (!readSheet(fileName, &sheet, error))
        return false;
    result->rows = addressRowsFromSheet(sheet);
    result->skippedLines.clear();
    return true;
}

bool TagExchange::exportAddressTags(const QString &fileName, const QStringList &header,
                                    const QVector<QStringList> &rows, QString *error)
{
    switch (fileKind(fileName)) {
    case XlsxFile:
        return XlsxSheetWriter::writeFile(fileName, addressSheet(header, rows), error);
    case TextFile: {
        QByteArray bytes;
        return AddressTextFile::format(rows, &bytes, error)
            && writeFileBytes(fileName, bytes, error);
    }
    default:
        if (error)
            *error = tr("只能导出为xlsx、csv或txt文件：%1").arg(fileName);
        return false;
    }
}

QString TagExchange::skippedLinesMessage(const QList<int> &lines)
{
    if (lines.isEmpty())
        return QString();
    QStringList numbers;
    for (int line : lines)
        numbers.append(QString::number(line));
    return tr("以下行少于六个字段，未导入：%1").arg(numbers.join(QStringLiteral(", ")));
}

QStringList TagExchange::addressHeader()
{
    const QStandardItemModel *model = Config::instance()->addressTagModel();
    QStringList header;
    for (int column = 0; column < Config::TagColumnCount; ++column)
        header.append(model->headerData(column, Qt::Horizontal).toString());
    return header;
}

QVector<QStringList> TagExchange::addressRows()
{
    const QStandardItemModel *model = Config::instance()->addressTagModel();
    QVector<QStringList> rows;
    rows.reserve(model->rowCount());
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < Config::TagColumnCount; ++column) {
            const QStandardItem *item = model->item(row, column);
            cells.append(item ? item->text() : QString());
        }
        rows.append(cells);
    }
    return rows;
}

void TagExchange::setAddressRows(const QVector<QStringList> &rows)
{
    QStandardItemModel *model = Config::instance()->addressTagModel();
    model->removeRows(0, model->rowCount());
    for (const QStringList &row : rows) {
        QList<QStandardItem *> items;
        for (int column = 0; column < Config::TagColumnCount; ++column)
            items.append(new QStandardItem(row.value(column)));
        model->appendRow(items);
    }
}

QVector<TextTagRecord> TagExchange::textTagsFromSheet(const Sheet &sheet, bool emptyNameContinues)
{
    const int rowCount = sheet.rowCount();
    // Rows that a column-A merge starting above them takes into its tag.
    QVector<bool> merged(rowCount, false);
    for (const Sheet::Range &range : sheet.merges) {
        if (range.firstColumn != 0)
            continue;
        const int last = std::min(range.lastRow, rowCount - 1);
        for (int row = std::max(range.firstRow + 1, 1); row <= last; ++row)
            merged[row] = true;
    }
    const int width = std::max(sheet.columnCount() - 1, 0);
    // Shared by every row without texts, which a sparse sheet has many of.
    const QStringList blank = Sheet::blankRow(width);
    QVector<TextTagRecord> tags;
    for (int row = 1; row < rowCount; ++row) {
        const QStringList &cells = sheet.rows.at(row);
        QStringList texts = blank;
        if (cells.size() > 1) {
            texts = cells.mid(1, width);
            while (texts.size() < width)
                texts.append(QString());
        }
        const QString name = sheet.cell(row, 0);
        const bool continues = merged.at(row) || (emptyNameContinues && name.isEmpty());
        if (!continues || tags.isEmpty())
            tags.append({name, {}});
        tags.last().states.append(texts);
    }
    return tags;
}

bool TagExchange::mergesNames(const Sheet &sheet)
{
    return std::any_of(sheet.merges.cbegin(), sheet.merges.cend(), [](const Sheet::Range &range) {
        return range.firstColumn == 0 && range.lastRow > range.firstRow;
    });
}

Sheet TagExchange::textTagSheet(const QStringList &header, const QVector<TextTagRecord> &tags)
{
    Sheet sheet;
    sheet.rows.append(header);
    int width = std::max(int(header.size()) - 1, 0);
    for (const TextTagRecord &tag : tags) {
        for (const QStringList &state : tag.states)
            width = std::max(width, int(state.size()));
    }
    for (const TextTagRecord &tag : tags) {
        const int first = sheet.rowCount();
        // A tag without states still needs its row, or its name is lost.
        const int stateCount = std::max(int(tag.states.size()), 1);
        for (int state = 0; state < stateCount; ++state) {
            QStringList cells;
            cells.append(state == 0 ? tag.name : QString());
            const QStringList texts = tag.states.value(state);
            for (int column = 0; column < width; ++column)
                cells.append(texts.value(column));
            sheet.rows.append(cells);
        }
        if (stateCount > 1)
            sheet.merges.append({first, 0, first + stateCount - 1, 0});
    }
    return sheet;
}

QByteArray TagExchange::textCsv(const QStringList &header, const QVector<TextTagRecord> &tags)
{
    return utf8Bom + CsvTable::format(textTagSheet(header, tags).rows).toUtf8();
}

QVector<TextTagRecord> TagExchange::parseTextCsv(const QByteArray &bytes)
{
    const QByteArray body = bytes.startsWith(utf8Bom) ? bytes.mid(utf8Bom.size()) : bytes;
    Sheet sheet;
    sheet.rows = CsvTable::parse(QString::fromUtf8(body));
    return textTagsFromSheet(sheet, true);
}

bool TagExchange::importTextTags(const QString &fileName, QVector<TextTagRecord> *tags,
                                 QString *error)
{
    const FileKind kind = fileKind(fileName);
    if (kind == TextFile) {
        QByteArray bytes;
        if (!readFileBytes(fileName, &bytes, error))
            return false;
        *tags = parseTextCsv(bytes);
        return true;
    }
    if (kind == UnknownFile) {
        if (error)
            *error = tr("不支持的文件类型：%1").arg(fileName);
        return false;
    }
    Sheet sheet;
    if (!readSheet(fileName, &sheet, error))
        return false;
    // Where no name cell is merged (some writers never merge, and a comma
    // file cannot), an empty first cell is the only sign that a tag goes on;
    // where any is, the merges say where each tag ends, whatever the format.
    *tags = textTagsFromSheet(sheet, !mergesNames(sheet));
    return true;
}

bool TagExchange::exportTextTags(const QString &fileName, const QStringList &header,
                                 const QVector<TextTagRecord> &tags, QString *error)
{
    switch (fileKind(fileName)) {
    case XlsxFile:
        return XlsxSheetWriter::writeFile(fileName, textTagSheet(header, tags), error);
    case TextFile:
        return writeFileBytes(fileName, textCsv(header, tags), error);
    default:
        if (error)
            *error = tr("只能导出为xlsx、csv或txt文件：%1").arg(fileName);
        return false;
    }
}

QStringList TagExchange::textHeader()
{
    QStringList header{tr("标签名称")};
    for (const LanguagePara &language : qAsConst(Config::instance()->languages))
        header.append(language.name);
    return header;
}
