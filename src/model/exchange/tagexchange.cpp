#include "tagexchange.h"

#include "addresstextfile.h"

#include "csvtable.h"
#include "model/config.h"
#include "services/fileerrortext.h"
#include "services/safefile.h"
#include "xlssheetreader.h"
#include "xlsxsheetreader.h"
#include "xlsxsheetwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardItemModel>

#include <algorithm>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");
// The compound-file signature every binary .xls workbook starts with.
const QByteArray compoundFileMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

bool isEmptyRow(const QStringList &cells)
{
    return std::all_of(cells.cbegin(), cells.cend(), [](const QString &c) { return c.isEmpty(); });
}

// The row with the cell of nameColumn taken to the front, the cells before
// it moving one on; a row too short for it gets an empty name.
QStringList nameFirst(QStringList cells, int nameColumn)
{
    if (nameColumn <= 0 || cells.isEmpty())
        return cells;
    const QString name = nameColumn < cells.size() ? cells.takeAt(nameColumn) : QString();
    cells.prepend(name);
    return cells;
}

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

bool TagExchange::readTextFile(const QString &fileName, QString *text, bool *undecodable,
                               QString *error)
{
    QByteArray bytes;
    if (!readFileBytes(fileName, &bytes, error))
        return false;
    // Decoded once, for the check and the reader alike.
    *text = CsvTable::decode(bytes, undecodable);
    bytes.clear();
    // An empty file is far more likely a failed save than a wish to empty
    // the library, which an exported empty library (its header line) says.
    if (std::all_of(text->cbegin(), text->cend(), [](QChar c) { return c.isSpace(); })) {
        if (error)
            *error = tr("文件“%1”是空的，没有可导入的内容。").arg(fileName);
        return false;
    }
    return true;
}

QString TagExchange::openQuoteMessage(const QString &fileName, int line)
{
    return tr("文件“%1”第%2行的引号没有结束，未导入。").arg(fileName).arg(line);
}

QString TagExchange::headerlessAddressMessage(const QString &fileName)
{
    return tr("文件“%1”的第一行含有地址，没有表头：已作为第一个标签导入。").arg(fileName);
}

QString TagExchange::noTagsMessage(const QString &fileName)
{
    return tr("文件“%1”中没有标签：导入后标签库将为空。").arg(fileName);
}

QString TagExchange::undecodableMessage(const QString &fileName)
{
    return tr("文件“%1”既不是UTF-8编码也不是GBK编码，部分文字可能不正确。").arg(fileName);
}

bool TagExchange::writeFileBytes(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QString reason;
    if (SafeFile::write(fileName, bytes, &reason))
        return true;
    if (error)
        *error = SafeFile::failureMessage(fileName, reason);
    return false;
}

bool TagExchange::readFilledSheet(const QString &fileName, Sheet *sheet, QString *error)
{
    if (!readSheet(fileName, sheet, error))
        return false;
    // As with an empty text file: a blank sheet is far more likely the
    // wrong sheet or a failed save than a wish to empty the library.
    if (std::all_of(sheet->rows.cbegin(), sheet->rows.cend(), isEmptyRow)) {
        if (error)
            *error = tr("文件“%1”的第一个工作表是空的，没有可导入的内容。").arg(fileName);
        return false;
    }
    return true;
}

bool TagExchange::readSheet(const QString &fileName, Sheet *sheet, QString *error, bool *binary)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = XlsxSheetReader::tr("无法打开文件“%1”：%2").arg(fileName, FileErrorText::reason(file));
        return false;
    }
    const bool isBinary = file.peek(compoundFileMagic.size()) == compoundFileMagic;
    file.close();
    if (binary)
        *binary = isBinary;
    return isBinary ? XlsSheetReader::readFile(fileName, sheet, error)
                  : XlsxSheetReader::readFile(fileName, sheet, error);
}

int TagExchange::usedRowCount(const Sheet &sheet)
{
    // Formatted but empty rows below the data widen the range a workbook
    // declares; they hold no tag. Rows a merge reaches are the states of a
    // tag and stay, empty or not.
    int used = 0;
    for (const Sheet::Range &range : sheet.merges)
        used = std::max(used, std::min(range.lastRow + 1, sheet.rowCount()));
    for (int row = sheet.rowCount() - 1; row >= used; --row) {
        if (!isEmptyRow(sheet.rows.at(row)))
            return row + 1;
    }
    return used;
}

QVector<QStringList> TagExchange::addressRowsFromSheet(const Sheet &sheet, bool *headerless)
{
    QVector<QStringList> rows;
    const int rowCount = usedRowCount(sheet);
    rows.reserve(std::max(rowCount - 1, 0));
    const QStringList blank = Sheet::blankRow(Config::TagColumnCount);
    const bool firstIsTag = rowCount > 0
                            && AddressTextFile::looksLikeTag(sheet.rows.at(0).value(Config::AddressColumn));
    if (headerless)
        *headerless = firstIsTag;
    for (int row = firstIsTag ? 0 : 1; row < rowCount; ++row) {
        const QStringList &cells = sheet.rows.at(row);
        if (cells.isEmpty()) {
            rows.append(blank);
            continue;
        }
        QStringList tag = cells.mid(0, Config::TagColumnCount);
        while (tag.size() < Config::TagColumnCount)
            tag.append(QString());
        // A blank row stays blank, for 确定's checks to name.
        if (tag.at(Config::DeviceColumn).isEmpty() && !isEmptyRow(tag))
            tag[Config::DeviceColumn] = Config::localDeviceName();
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
        QString decoded;
        bool undecodable = false;
        if (!readTextFile(fileName, &decoded, &undecodable, error))
            return false;
        AddressTextFile::Import text = AddressTextFile::parseText(decoded, undecodable);
        if (text.openQuoteLine > 0) {
            if (error)
                *error = openQuoteMessage(fileName, text.openQuoteLine);
            return false;
        }
        result->rows = std::move(text.rows);
        result->skippedLines = std::move(text.skippedLines);
        result->warnings.clear();
        if (!result->skippedLines.isEmpty())
            result->warnings.append(skippedLinesMessage(result->skippedLines));
        if (text.undecodable)
            result->warnings.append(undecodableMessage(fileName));
        if (text.headerless)
            result->warnings.append(headerlessAddressMessage(fileName));
        if (result->rows.isEmpty())
            result->warnings.append(noTagsMessage(fileName));
        return true;
    }
    Sheet sheet;
    if (kind == UnknownFile) {
        if (error)
            *error = tr("不支持的文件类型：%1").arg(fileName);
        return false;
    }
    if (!readFilledSheet(fileName, &sheet, error))
        return false;
    bool headerless = false;
    result->rows = addressRowsFromSheet(sheet, &headerless);
    result->skippedLines.clear();
    result->warnings.clear();
    if (headerless)
        result->warnings.append(headerlessAddressMessage(fileName));
    if (result->rows.isEmpty())
        result->warnings.append(noTagsMessage(fileName));
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
    return addressRows(Config::instance()->addressTagModel());
}

QVector<QStringList> TagExchange::addressRows(const QStandardItemModel *model)
{
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

void TagExchange::setAddressRows(QStandardItemModel *model, const QVector<QStringList> &rows)
{
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
    const int rowCount = usedRowCount(sheet);
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

bool TagExchange::isNameHeading(const QString &cell)
{
    // The headings our exports write in either interface language, and the
    // name column's heading of the address sheet.
    static const QStringList headings = {QStringLiteral("标签名称"), QStringLiteral("Tag name"),
                                         QStringLiteral("名称"), QStringLiteral("Name")};
    const QString trimmed = cell.trimmed();
    return std::any_of(headings.cbegin(), headings.cend(), [&trimmed](const QString &heading) {
        return trimmed.compare(heading, Qt::CaseInsensitive) == 0;
    });
}

TagExchange::TextLayout TagExchange::textLayout(const QStringList &firstRow,
                                                const QStringList &languages)
{
    TextLayout layout;
    for (int column = 0; column < firstRow.size(); ++column) {
        if (isNameHeading(firstRow.at(column))) {
            layout.nameColumn = column;
            layout.named = true;
            return layout;
        }
    }
    // A first row that names neither the names nor a language may well be
    // the first tag of a file without header: read as a tag, it is there to
    // see and delete; taken for a header, it would be lost without a trace.
    layout.header = isEmptyRow(firstRow)
        || std::any_of(firstRow.cbegin(), firstRow.cend(), [&languages](const QString &cell) {
               return !cell.isEmpty() && languages.contains(cell);
           });
    return layout;
}

Sheet TagExchange::arrangeTextSheet(const Sheet &sheet, const TextLayout &layout)
{
    const int nameColumn = layout.nameColumn;
    const int shift = layout.header ? 0 : 1;
    if (nameColumn == 0 && shift == 0)
        return sheet;
    Sheet arranged;
    arranged.rows.reserve(sheet.rowCount() + shift);
    if (shift)
        arranged.rows.append(QStringList());
    for (const QStringList &cells : sheet.rows)
        arranged.rows.append(nameFirst(cells, nameColumn));
    for (Sheet::Range range : sheet.merges) {
        range.firstRow += shift;
        range.lastRow += shift;
        if (range.firstColumn <= nameColumn && nameColumn <= range.lastColumn) {
            // The name cell now leads; the block still reaches as far.
            range.firstColumn = 0;
        } else if (range.lastColumn < nameColumn) {
            ++range.firstColumn;
            ++range.lastColumn;
        }
        arranged.merges.append(range);
    }
    return arranged;
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
    const Sheet sheet = textTagSheet(header, tags);
    // The rows on which tags start, where an empty name needs its quotes.
    QVector<bool> tagStart(sheet.rowCount(), false);
    int row = 1;
    for (const TextTagRecord &tag : tags) {
        if (row < tagStart.size())
            tagStart[row] = true;
        row += std::max(int(tag.states.size()), 1);
    }
    QString text;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        const QStringList &cells = sheet.rows.at(r);
        for (int column = 0; column < cells.size(); ++column) {
            if (column > 0)
                text.append(QLatin1Char(','));
            CsvTable::appendField(&text, cells.at(column), column == 0 && tagStart.at(r));
        }
        text.append(QLatin1String("\r\n"));
    }
    return utf8Bom + text.toUtf8();
}

TagExchange::TextCsv TagExchange::readTextCsv(const QByteArray &bytes,
                                              const QStringList *languages)
{
    bool undecodable = false;
    const QString text = CsvTable::decode(bytes, &undecodable);
    return readDecodedTextCsv(text, undecodable, languages);
}

TagExchange::TextCsv TagExchange::readDecodedTextCsv(const QString &text, bool undecodable,
                                                     const QStringList *languages)
{
    TextCsv result;
    result.undecodable = undecodable;
    if (languages) {
        qsizetype position = 0;
        QVector<CsvTable::Field> fields;
        int lineEnds = 0;
        CsvTable::readRecord(text, &position, &fields, &lineEnds);
        QStringList firstRow;
        for (const CsvTable::Field &field : qAsConst(fields))
            firstRow.append(field.text);
        result.layout = textLayout(firstRow, *languages);
    }
    const int nameColumn = result.layout.nameColumn;
    CsvTable::Table table = CsvTable::read(text, nameColumn);
    result.openQuoteLine = table.openQuoteLine;
    if (table.rows.isEmpty())
        return result;
    for (QStringList &cells : table.rows)
        cells = nameFirst(std::move(cells), nameColumn);
    const int firstTagRow = result.layout.header ? 1 : 0;
    if (result.layout.header)
        result.header = table.rows.first();
    int width = 0;
    for (const QStringList &cells : qAsConst(table.rows))
        width = std::max(width, int(cells.size()) - 1);
    const QStringList blank = Sheet::blankRow(width);
    for (int row = firstTagRow; row < table.rows.size(); ++row) {
        const QStringList &cells = table.rows.at(row);
        QStringList texts = blank;
        if (cells.size() > 1) {
            texts = cells.mid(1);
            while (texts.size() < width)
                texts.append(QString());
        }
        // A line with nothing on it is no state: the writer puts at least
        // the commas of a state's columns, and editors leave blank lines.
        if (cells.size() == 1 && cells.at(0).isEmpty() && !table.quotedFirst.at(row))
            continue;
        // A file cannot merge cells: an empty name continues the tag above,
        // unless it stands in quotes.
        const QString name = cells.value(0);
        if (!name.isEmpty() || table.quotedFirst.at(row) || result.tags.isEmpty())
            result.tags.append({name, {}});
        result.tags.last().states.append(texts);
    }
    return result;
}

QVector<int> TagExchange::languageSources(const QStringList &header,
                                          const QStringList &languages, bool *named)
{
    const int count = languages.size();
    QVector<int> source(count, -1);
    QVector<bool> claimed(std::max(int(header.size()) - 1, 0), false);
    bool anyNamed = false;
    for (int language = 0; language < count; ++language) {
        const QString &name = languages.at(language);
        if (name.isEmpty() || languages.count(name) > 1)
            continue;
        for (int column = 1; column < header.size(); ++column) {
            if (header.at(column) == name && !claimed.at(column - 1)) {
                source[language] = column - 1;
                claimed[column - 1] = true;
                anyNamed = true;
                break;
            }
        }
    }
    *named = anyNamed;
    for (int language = 0; language < count; ++language) {
        if (!anyNamed)
            source[language] = language;
        else if (source.at(language) < 0 && language < claimed.size() && !claimed.at(language)
                 // A column headed by a language's name is that language's
                 // (or a repeat of it), never another language's by place.
                 && (header.value(language + 1) == languages.at(language)
                     || languages.count(header.value(language + 1)) != 1))
            source[language] = language;
    }
    return source;
}

QVector<TextTagRecord> TagExchange::matchLanguages(const QStringList &header,
                                                   const QVector<TextTagRecord> &tags,
                                                   const QStringList &languages)
{
    const int count = languages.size();
    bool named = false;
    const QVector<int> source = languageSources(header, languages, &named);
    if (!named)
        return tags;
    QVector<TextTagRecord> matched;
    matched.reserve(tags.size());
    for (const TextTagRecord &tag : tags) {
        TextTagRecord record{tag.name, {}};
        for (const QStringList &state : tag.states) {
            QStringList texts;
            texts.reserve(count);
            for (int language = 0; language < count; ++language)
                texts.append(source.at(language) >= 0 ? state.value(source.at(language)) : QString());
            record.states.append(texts);
        }
        matched.append(record);
    }
    return matched;
}

namespace {

QStringList projectLanguageNames()
{
    QStringList names;
    for (const LanguagePara &language : qAsConst(Config::instance()->languages))
        names.append(language.name);
    return names;
}

} // namespace

QList<int> TagExchange::droppedColumns(const QStringList &header,
                                       const QVector<TextTagRecord> &tags,
                                       const QStringList &languages)
{
    bool named = false;
    const QVector<int> source = languageSources(header, languages, &named);
    int width = std::max(int(header.size()) - 1, 0);
    for (const TextTagRecord &tag : tags) {
        for (const QStringList &state : tag.states)
            width = std::max(width, int(state.size()));
    }
    QList<int> dropped;
    for (int column = 0; column < width; ++column) {
        if (source.contains(column))
            continue;
        bool holds = !header.value(column + 1).trimmed().isEmpty();
        for (int t = 0; t < tags.size() && !holds; ++t) {
            const auto &states = tags.at(t).states;
            holds = std::any_of(states.cbegin(), states.cend(), [column](const QStringList &state) {
                return !state.value(column).isEmpty();
            });
        }
        if (holds)
            dropped.append(column);
    }
    return dropped;
}

QString TagExchange::droppedColumnsMessage(const QStringList &header, const QList<int> &columns,
                                           const TextLayout &layout)
{
    QStringList named;
    for (int column : columns) {
        // Numbered as the file has them, before the names were moved first.
        const int inFile = column + 1 <= layout.nameColumn ? column : column + 1;
        const QString heading = header.value(column + 1).trimmed();
        named.append(heading.isEmpty() ? tr("第%1列").arg(inFile + 1)
                                       : tr("第%1列“%2”").arg(inFile + 1).arg(heading));
    }
    return tr("以下列不是项目中的语言，未导入：%1").arg(named.join(QStringLiteral(", ")));
}

bool TagExchange::namesFound(const QString &fileName, const QStringList &firstRow,
                             const TextLayout &layout, const QStringList &languages,
                             QString *error)
{
    // Without a name heading the names are taken from the first column; a
    // first column headed by a language holds texts, and taking them for
    // names would turn one tag of several states into several tags.
    const QString first = firstRow.value(0).trimmed();
    if (!layout.header || layout.named || first.isEmpty() || !languages.contains(first))
        return true;
    if (error)
        *error = tr("文件“%1”的表头没有“标签名称”列，第一列“%2”是语言的文字，无法确定标签名称，未导入。")
                     .arg(fileName, first);
    return false;
}

bool TagExchange::importTextTags(const QString &fileName, QVector<TextTagRecord> *tags,
                                 QString *error, QStringList *warnings)
{
    if (warnings)
        warnings->clear();
    const QStringList languages = projectLanguageNames();
    const FileKind kind = fileKind(fileName);
    QStringList header;
    QVector<TextTagRecord> read;
    TextLayout layout;
    bool undecodable = false;
    if (kind == TextFile) {
        QString text;
        bool decodeFailed = false;
        if (!readTextFile(fileName, &text, &decodeFailed, error))
            return false;
        TextCsv file = readDecodedTextCsv(text, decodeFailed, &languages);
        if (file.openQuoteLine > 0) {
            if (error)
                *error = openQuoteMessage(fileName, file.openQuoteLine);
            return false;
        }
        if (!namesFound(fileName, file.header, file.layout, languages, error))
            return false;
        header = std::move(file.header);
        read = std::move(file.tags);
        layout = file.layout;
        undecodable = file.undecodable;
    } else if (kind == UnknownFile) {
        if (error)
            *error = tr("不支持的文件类型：%1").arg(fileName);
        return false;
    } else {
        Sheet sheet;
        if (!readFilledSheet(fileName, &sheet, error))
            return false;
        layout = textLayout(sheet.rows.value(0), languages);
        if (!namesFound(fileName, sheet.rows.value(0), layout, languages, error))
            return false;
        sheet = arrangeTextSheet(sheet, layout);
        header = sheet.rows.value(0);
        // Where no name cell is merged (some writers never merge, and a
        // comma file cannot), an empty first cell is the only sign that a
        // tag goes on; where any is, the merges say where each tag ends,
        // whatever the format.
        read = textTagsFromSheet(sheet, !mergesNames(sheet));
    }
    if (warnings) {
        if (!layout.header && !read.isEmpty())
            warnings->append(
                tr("文件“%1”的第一行不是表头（没有“标签名称”列，也没有项目中语言的名称），"
                   "已作为标签“%2”导入。")
                    .arg(fileName, read.first().name));
        const QList<int> dropped = droppedColumns(header, read, languages);
        if (!dropped.isEmpty())
            warnings->append(droppedColumnsMessage(header, dropped, layout));
        if (undecodable)
            warnings->append(undecodableMessage(fileName));
        if (read.isEmpty())
            warnings->append(noTagsMessage(fileName));
    }
    *tags = matchLanguages(header, read, languages);
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
