#include "xlsxsheetreader.h"

#include "cellformat.h"
#include "services/fileerrortext.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <minizip/unzip.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

// The zip is read from memory: the whole file is in hand before anything is
// parsed, and the fuzz target needs no file.
struct MemoryStream
{
    const QByteArray *data = nullptr;
    ZPOS64_T position = 0;
};

voidpf ZCALLBACK memoryOpen(voidpf opaque, const void *, int mode)
{
    if (mode & ZLIB_FILEFUNC_MODE_WRITE)
        return nullptr;
    auto *stream = new MemoryStream;
    stream->data = static_cast<const QByteArray *>(opaque);
    return stream;
}

uLong ZCALLBACK memoryRead(voidpf, voidpf streamPtr, void *buffer, uLong size)
{
    auto *stream = static_cast<MemoryStream *>(streamPtr);
    const ZPOS64_T total = ZPOS64_T(stream->data->size());
    if (stream->position >= total)
        return 0;
    const uLong count = uLong(std::min<ZPOS64_T>(size, total - stream->position));
    std::memcpy(buffer, stream->data->constData() + stream->position, count);
    stream->position += count;
    return count;
}

uLong ZCALLBACK memoryWrite(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK memoryTell(voidpf, voidpf streamPtr)
{
    return static_cast<MemoryStream *>(streamPtr)->position;
}

long ZCALLBACK memorySeek(voidpf, voidpf streamPtr, ZPOS64_T offset, int origin)
{
    auto *stream = static_cast<MemoryStream *>(streamPtr);
    const ZPOS64_T total = ZPOS64_T(stream->data->size());
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = stream->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = total;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    if (offset > total || base > total - offset)
        return -1;
    stream->position = base + offset;
    return 0;
}

int ZCALLBACK memoryClose(voidpf, voidpf streamPtr)
{
    delete static_cast<MemoryStream *>(streamPtr);
    return 0;
}

int ZCALLBACK memoryError(voidpf, voidpf)
{
    return 0;
}

struct ZipCloser
{
    void operator()(void *zip) const { unzClose(zip); }
};

struct Relationship
{
    QString type;
    QString target;
};

// "B12" → row 11, column 1. Rows and columns are checked against the
// format's limits by the caller.
bool parseCellReference(const QStringRef &reference, int *row, int *column)
{
    int i = 0;
    const int size = reference.size();
    qint64 col = 0;
    while (i < size && i < 4 && reference.at(i).isLetter()) {
        const char16_t c = reference.at(i).toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return false;
        col = col * 26 + (c - u'A' + 1);
        ++i;
    }
    if (i == 0 || i == size || size - i > 8)
        return false;
    qint64 r = 0;
    for (; i < size; ++i) {
        const QChar c = reference.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        r = r * 10 + (c.unicode() - u'0');
    }
    if (r < 1 || col < 1)
        return false;
    *row = int(std::min<qint64>(r - 1, XlsxSheetReader::MaxRows));
    *column = int(std::min<qint64>(col - 1, XlsxSheetReader::MaxColumns));
    return true;
}

// Texts in a workbook write characters XML cannot carry (a carriage
// return, control characters) as "_xHHHH_", and a literal "_x" sequence as
// "_x005F_x…".
QString decodeEscapes(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString decoded;
    decoded.reserve(text.size());
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        if (text.at(i) == QLatin1Char('_') && i + 6 < size && text.at(i + 1) == QLatin1Char('x')
            && text.at(i + 6) == QLatin1Char('_')) {
            bool ok = false;
            const ushort code = text.midRef(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                decoded.append(QChar(code));
                i += 6;
                continue;
            }
        }
        decoded.append(text.at(i));
    }
    return decoded;
}

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool read(Sheet *sheet);
    QString error;

private:
    // False when the entry is missing (*missing set) or cannot be read
    // (error set).
    bool readEntry(const QString &name, QByteArray *contents, bool *missing = nullptr);
    // Steps to the next token, refusing what a workbook never holds: a
    // document type declaration (entity expansion) and deep nesting.
    bool next(QXmlStreamReader &xml, int *depth, const QString &part);
    bool finish(QXmlStreamReader &xml, const QString &part);
    bool readRelationships(const QString &name, QHash<QString, Relationship> *relations);
    bool readSharedStrings(const QString &name, QVector<QString> *strings);
    // The number formats of the cell styles, in style order.
    bool readStyles(const QString &name, QVector<CellFormat> *styles);
    bool readWorksheet(const QString &name, const QVector<QString> &strings, Sheet *sheet);
    void tooLarge(const QString &part);
    // False with the error set once a text passes MaxCellText or the texts
    // so far pass MaxTextTotal.
    bool countText(int size);

    QVector<CellFormat> m_styles;
    bool m_date1904 = false;
    qint64 m_textTotal = 0;

    const QByteArray &m_bytes;
    std::unique_ptr<void, ZipCloser> m_zip;
};

bool Reader::countText(int size)
{
    if (size > XlsxSheetReader::MaxCellText) {
        error = XlsxSheetReader::cellTextTooLong();
        return false;
    }
    m_textTotal += size;
    if (m_textTotal > XlsxSheetReader::MaxTextTotal) {
        error = XlsxSheetReader::textsTooLong();
        return false;
    }
    return true;
}

void Reader::tooLarge(const QString &part)
{
    error = XlsxSheetReader::tr("工作簿中的“%1”解压后超过256 MB，不予读取。").arg(part);
}

bool Reader::readEntry(const QString &name, QByteArray *contents, bool *missing)
{
    if (missing)
        *missing = false;
    if (unzLocateFile(m_zip.get(), name.toUtf8().constData(), 1) != UNZ_OK) {
        if (missing)
            *missing = true;
        else
            error = XlsxSheetReader::tr("工作簿中缺少“%1”。").arg(name);
        return false;
    }
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(m_zip.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        error = XlsxSheetReader::tr("工作簿中的“%1”已损坏。").arg(name);
        return false;
    }
    if (info.uncompressed_size > ZPOS64_T(XlsxSheetReader::MaxEntrySize)) {
        tooLarge(name);
        return false;
    }
    if (unzOpenCurrentFile(m_zip.get()) != UNZ_OK) {
        error = XlsxSheetReader::tr("工作簿中的“%1”已损坏。").arg(name);
        return false;
    }
    // The declared size is only a claim: the real one is counted as it
    // comes, so a small file cannot make us hold more than the limit.
    contents->clear();
    contents->reserve(int(std::min<ZPOS64_T>(info.uncompressed_size, 16 * 1024 * 1024)));
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const int count = unzReadCurrentFile(m_zip.get(), buffer, sizeof buffer);
        if (count < 0) {
            error = XlsxSheetReader::tr("工作簿中的“%1”已损坏。").arg(name);
            ok = false;
            break;
        }
        if (count == 0)
            break;
        if (contents->size() + qint64(count) > XlsxSheetReader::MaxEntrySize) {
            tooLarge(name);
            ok = false;
            break;
        }
        contents->append(buffer, count);
    }
    if (unzCloseCurrentFile(m_zip.get()) != UNZ_OK && ok) {
        error = XlsxSheetReader::tr("工作簿中的“%1”已损坏。").arg(name);
        ok = false;
    }
    if (!ok)
        contents->clear();
    return ok;
}

bool Reader::next(QXmlStreamReader &xml, int *depth, const QString &part)
{
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::DTD) {
        error = XlsxSheetReader::tr("工作簿中的“%1”含有文档类型声明，不予读取。").arg(part);
        return false;
    }
    if (token == QXmlStreamReader::StartElement && ++*depth > XlsxSheetReader::MaxXmlDepth) {
        error = XlsxSheetReader::tr("工作簿中的“%1”嵌套过深，不予读取。").arg(part);
        return false;
    }
    if (token == QXmlStreamReader::EndElement)
        --*depth;
    return !xml.atEnd();
}

bool Reader::finish(QXmlStreamReader &xml, const QString &part)
{
    if (!error.isEmpty())
        return false;
    if (xml.hasError()) {
        error = XlsxSheetReader::tr("工作簿中的“%1”无法解析（第%2行）：%3")
                    .arg(part)
                    .arg(xml.lineNumber())
                    .arg(xml.errorString());
        return false;
    }
    return true;
}

bool Reader::readRelationships(const QString &name, QHash<QString, Relationship> *relations)
{
    QByteArray bytes;
    bool missing = false;
    if (!readEntry(name, &bytes, &missing))
        return missing;
    QXmlStreamReader xml(bytes);
    int depth = 0;
    while (next(xml, &depth, name)) {
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString id = attributes.value(QLatin1String("Id")).toString();
            if (!relations->contains(id))
                relations->insert(id, {attributes.value(QLatin1String("Type")).toString(),
                                       attributes.value(QLatin1String("Target")).toString()});
        }
    }
    return finish(xml, name);
}

bool Reader::readSharedStrings(const QString &name, QVector<QString> *strings)
{
    QByteArray bytes;
    if (!readEntry(name, &bytes))
        return false;
    QXmlStreamReader xml(bytes);
    int depth = 0;
    bool inItem = false;
    bool inText = false;
    int phonetic = 0; // inside reading aids, whose texts are not the cell's
    QString text;
    while (next(xml, &depth, name)) {
        if (xml.isStartElement()) {
            const QStringRef element = xml.name();
            if (element == QLatin1String("si")) {
                inItem = true;
                text.clear();
            } else if (element == QLatin1String("rPh")) {
                ++phonetic;
            } else if (element == QLatin1String("t")) {
                inText = true;
            }
        } else if (xml.isEndElement()) {
            const QStringRef element = xml.name();
            if (element == QLatin1String("si")) {
                strings->append(decodeEscapes(text));
                if (!countText(strings->constLast().size()))
                    return false;
                inItem = false;
            } else if (element == QLatin1String("rPh")) {
                --phonetic;
            } else if (element == QLatin1String("t")) {
                inText = false;
            }
        } else if (xml.isCharacters() && inItem && inText && phonetic == 0) {
            text.append(xml.text());
            // An escape of seven characters stands for one: a text past
            // seven times the limit cannot come back under it.
            if (text.size() > 7 * XlsxSheetReader::MaxCellText + 7) {
                error = XlsxSheetReader::cellTextTooLong();
                return false;
            }
        }
        if (strings->size() > XlsxSheetReader::MaxCells) {
            error = XlsxSheetReader::tr("工作表的范围超过%1个单元格，不予读取。")
                        .arg(XlsxSheetReader::MaxCells);
            return false;
        }
    }
    return finish(xml, name);
}

bool Reader::readStyles(const QString &name, QVector<CellFormat> *styles)
{
    QByteArray bytes;
    if (!readEntry(name, &bytes))
        return false;
    QXmlStreamReader xml(bytes);
    int depth = 0;
    QHash<int, CellFormat> codes;
    QVector<int> formatIds;
    bool inCellStyles = false;
    while (next(xml, &depth, name)) {
        const QStringRef element = xml.name();
        if (xml.isStartElement()) {
            const QXmlStreamAttributes attributes = xml.attributes();
            if (element == QLatin1String("numFmt") && codes.size() < XlsxSheetReader::MaxStyles) {
                bool ok = false;
                const int id = attributes.value(QLatin1String("numFmtId")).toInt(&ok);
                if (ok)
                    codes.insert(id, CellFormat::fromCode(
                                         attributes.value(QLatin1String("formatCode")).toString()));
            } else if (element == QLatin1String("cellXfs")) {
                inCellStyles = true;
            } else if (inCellStyles && element == QLatin1String("xf")
                       && formatIds.size() < XlsxSheetReader::MaxStyles) {
                formatIds.append(attributes.value(QLatin1String("numFmtId")).toInt());
            }
        } else if (xml.isEndElement() && element == QLatin1String("cellXfs")) {
            inCellStyles = false;
        }
    }
    if (!finish(xml, name))
        return false;
    // A format the file spells out wins over the one the number reserves.
    styles->reserve(formatIds.size());
    for (int id : qAsConst(formatIds))
        styles->append(codes.contains(id) ? codes.value(id) : CellFormat::builtIn(id));
    return true;
}

bool Reader::readWorksheet(const QString &name, const QVector<QString> &strings, Sheet *sheet)
{
    QByteArray bytes;
    if (!readEntry(name, &bytes))
        return false;
    QXmlStreamReader xml(bytes);
    bytes.clear();
    int depth = 0;
    std::vector<Sheet::Cell> cells;
    QVector<Sheet::Range> merges;
    int row = -1;
    int column = -1;
    bool inCell = false;
    bool inValue = false;
    bool inInline = false;
    bool inText = false;
    int phonetic = 0;
    int declaredLastRow = -1;
    int declaredLastColumn = -1;
    CellFormat format;
    QString type;
    QString value;
    QString inlineText;
    const QString tooBig = XlsxSheetReader::tr("工作表超过%1行或%2列，不予读取。")
                               .arg(XlsxSheetReader::MaxRows)
                               .arg(XlsxSheetReader::MaxColumns);
    while (next(xml, &depth, name)) {
        if (xml.isStartElement()) {
            const QStringRef element = xml.name();
            if (element == QLatin1String("row")) {
                const QStringRef number = xml.attributes().value(QLatin1String("r"));
                bool ok = false;
                const qint64 r = number.toLongLong(&ok);
                row = ok ? int(std::min<qint64>(std::max<qint64>(r - 1, -1),
                                                XlsxSheetReader::MaxRows))
                         : row + 1;
                if (row < 0) {
                    error = XlsxSheetReader::tr("工作簿中的“%1”含有无效的行号。").arg(name);
                    return false;
                }
                column = -1;
            } else if (element == QLatin1String("dimension")) {
                // "A1:C7", or "A1" alone; a range we cannot read claims nothing.
                const QStringRef reference = xml.attributes().value(QLatin1String("ref"));
                const QVector<QStringRef> corners = reference.split(QLatin1Char(':'));
                int lastRow = -1, lastColumn = -1;
                if (parseCellReference(corners.constLast(), &lastRow, &lastColumn)
                    && lastRow < XlsxSheetReader::MaxRows
                    && lastColumn < XlsxSheetReader::MaxColumns) {
                    declaredLastRow = lastRow;
                    declaredLastColumn = lastColumn;
                }
            } else if (element == QLatin1String("c")) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QStringRef reference = attributes.value(QLatin1String("r"));
                int cellRow = row;
                int cellColumn = column + 1;
                if (!reference.isEmpty() && !parseCellReference(reference, &cellRow, &cellColumn)) {
                    error = XlsxSheetReader::tr("工作簿中的“%1”含有无效的单元格位置“%2”。")
                                .arg(name, reference.toString());
                    return false;
                }
                if (cellRow < 0)
                    cellRow = row = 0;
                row = cellRow;
                column = cellColumn;
                if (row >= XlsxSheetReader::MaxRows || column >= XlsxSheetReader::MaxColumns) {
                    error = tooBig;
                    return false;
                }
                type = attributes.value(QLatin1String("t")).toString();
                bool styled = false;
                const int style = attributes.value(QLatin1String("s")).toInt(&styled);
                format = styled && style >= 0 && style < m_styles.size() ? m_styles.at(style)
                                                                        : CellFormat();
                value.clear();
                inlineText.clear();
                inCell = true;
            } else if (inCell && element == QLatin1String("v")) {
                inValue = true;
            } else if (inCell && element == QLatin1String("is")) {
                inInline = true;
            } else if (inInline && element == QLatin1String("rPh")) {
                ++phonetic;
            } else if (inInline && element == QLatin1String("t")) {
                inText = true;
            } else if (element == QLatin1String("mergeCell")) {
                const QStringRef reference = xml.attributes().value(QLatin1String("ref"));
                const QVector<QStringRef> corners = reference.split(QLatin1Char(':'));
                Sheet::Range range;
                if (corners.size() != 2
                    || !parseCellReference(corners.at(0), &range.firstRow, &range.firstColumn)
                    || !parseCellReference(corners.at(1), &range.lastRow, &range.lastColumn))
                    continue; // a merge we cannot place changes no text
                if (range.firstRow > range.lastRow)
                    std::swap(range.firstRow, range.lastRow);
                if (range.firstColumn > range.lastColumn)
                    std::swap(range.firstColumn, range.lastColumn);
                if (range.lastRow >= XlsxSheetReader::MaxRows
                    || range.lastColumn >= XlsxSheetReader::MaxColumns) {
                    error = tooBig;
                    return false;
                }
                merges.append(range);
                if (qint64(cells.size()) + merges.size() > XlsxSheetReader::MaxCells) {
                    error = XlsxSheetReader::tr("工作表的范围超过%1个单元格，不予读取。")
                                .arg(XlsxSheetReader::MaxCells);
                    return false;
                }
            }
        } else if (xml.isEndElement()) {
            const QStringRef element = xml.name();
            if (element == QLatin1String("c") && inCell) {
                QString text;
                if (type == QLatin1String("s")) {
                    bool ok = false;
                    const int index = value.trimmed().toInt(&ok);
                    if (ok && index >= 0 && index < strings.size())
                        text = strings.at(index);
                } else if (type == QLatin1String("inlineStr")) {
                    text = decodeEscapes(inlineText);
                } else if (type == QLatin1String("b")) {
                    const QString trimmed = value.trimmed();
                    text = trimmed == QLatin1String("1")   ? QStringLiteral("TRUE")
                           : trimmed == QLatin1String("0") ? QStringLiteral("FALSE")
                                                           : value;
                } else if (type.isEmpty() || type == QLatin1String("n")) {
                    bool ok = false;
                    const double number = value.trimmed().toDouble(&ok);
                    text = value.isEmpty() || !ok || !std::isfinite(number)
                        ? value
                        : format.text(number, m_date1904);
                } else {
                    text = value; // formula strings, errors, ISO dates
                }
                if (!countText(text.size()))
                    return false;
                if (!text.isEmpty())
                    cells.push_back({row, column, text});
                // More cells than the limit cannot fit any range it allows;
                // saying so now keeps a hostile sheet from filling memory.
                if (qint64(cells.size()) + merges.size() > XlsxSheetReader::MaxCells) {
                    error = XlsxSheetReader::tr("工作表的范围超过%1个单元格，不予读取。")
                                .arg(XlsxSheetReader::MaxCells);
                    return false;
                }
                inCell = inValue = inInline = inText = false;
                phonetic = 0;
            } else if (element == QLatin1String("v")) {
                inValue = false;
            } else if (element == QLatin1String("is")) {
                inInline = false;
            } else if (element == QLatin1String("rPh") && phonetic > 0) {
                --phonetic;
            } else if (element == QLatin1String("t")) {
                inText = false;
            }
        } else if (xml.isCharacters()) {
            if (inValue)
                value.append(xml.text());
            else if (inText && phonetic == 0)
                inlineText.append(xml.text());
            if (value.size() + inlineText.size() > 7 * XlsxSheetReader::MaxCellText + 7) {
                error = XlsxSheetReader::cellTextTooLong();
                return false;
            }
        }
    }
    if (!finish(xml, name))
        return false;

    if (!Sheet::fromCells(cells, merges, XlsxSheetReader::MaxCells, sheet, declaredLastRow,
                          declaredLastColumn)) {
        error = XlsxSheetReader::tr("工作表的范围超过%1个单元格，不予读取。")
                    .arg(XlsxSheetReader::MaxCells);
        return false;
    }
    return true;
}

QString resolveTarget(const QString &folder, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return QDir::cleanPath(folder.isEmpty() ? target : folder + QLatin1Char('/') + target);
}

bool Reader::read(Sheet *sheet)
{
    zlib_filefunc64_def functions;
    functions.zopen64_file = memoryOpen;
    functions.zread_file = memoryRead;
    functions.zwrite_file = memoryWrite;
    functions.ztell64_file = memoryTell;
    functions.zseek64_file = memorySeek;
    functions.zclose_file = memoryClose;
    functions.zerror_file = memoryError;
    functions.opaque = const_cast<QByteArray *>(&m_bytes);
    m_zip.reset(unzOpen2_64("workbook", &functions));
    if (!m_zip) {
        error = XlsxSheetReader::tr("文件不是xlsx工作簿。");
        return false;
    }

    QHash<QString, Relationship> packageRelations;
    if (!readRelationships(QStringLiteral("_rels/.rels"), &packageRelations))
        return false;
    QString workbook = QStringLiteral("xl/workbook.xml");
    for (const Relationship &relation : qAsConst(packageRelations)) {
        if (relation.type.endsWith(QLatin1String("/officeDocument"))) {
            workbook = resolveTarget(QString(), relation.target);
            break;
        }
    }
    const int slash = workbook.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : workbook.left(slash);
    const QString fileName = workbook.mid(slash + 1);

    QByteArray bytes;
    if (!readEntry(workbook, &bytes))
        return false;
    QStringList sheetIds;
    {
        QXmlStreamReader xml(bytes);
        int depth = 0;
        while (next(xml, &depth, workbook)) {
            if (xml.isStartElement() && xml.name() == QLatin1String("workbookPr")) {
                const QStringRef system = xml.attributes().value(QLatin1String("date1904"));
                m_date1904 = system == QLatin1String("1") || system == QLatin1String("true");
            }
            if (!xml.isStartElement() || xml.name() != QLatin1String("sheet"))
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            for (const QXmlStreamAttribute &attribute : attributes) {
                if (attribute.name() == QLatin1String("id") && !attribute.namespaceUri().isEmpty())
                    sheetIds.append(attribute.value().toString());
            }
        }
        if (!finish(xml, workbook))
            return false;
    }

    QHash<QString, Relationship> relations;
    const QString relationsName = (folder.isEmpty() ? QString() : folder + QLatin1Char('/'))
        + QStringLiteral("_rels/") + fileName + QStringLiteral(".rels");
    if (!readRelationships(relationsName, &relations))
        return false;
    QString worksheet;
    for (const QString &id : qAsConst(sheetIds)) {
        const auto found = relations.constFind(id);
        if (found != relations.constEnd() && found->type.endsWith(QLatin1String("/worksheet"))) {
            worksheet = resolveTarget(folder, found->target);
            break;
        }
    }
    if (worksheet.isEmpty()) {
        error = XlsxSheetReader::tr("工作簿中没有工作表。");
        return false;
    }
    QVector<QString> strings;
    for (const Relationship &relation : qAsConst(relations)) {
        if (relation.type.endsWith(QLatin1String("/sharedStrings"))) {
            if (!readSharedStrings(resolveTarget(folder, relation.target), &strings))
                return false;
            break;
        }
    }
    // Workbooks read before their styles were looked at: one whose styles
    // cannot be read still reads, its dates as numbers.
    for (const Relationship &relation : qAsConst(relations)) {
        if (relation.type.endsWith(QLatin1String("/styles"))) {
            if (!readStyles(resolveTarget(folder, relation.target), &m_styles)) {
                m_styles.clear();
                error.clear();
            }
            break;
        }
    }
    return readWorksheet(worksheet, strings, sheet);
}

} // namespace

QString XlsxSheetReader::cellTextTooLong()
{
    return tr("工作表中有超过%1个字符的文字，不予读取。").arg(MaxCellText);
}

QString XlsxSheetReader::textsTooLong()
{
    return tr("工作表中的文字共超过%1个字符，不予读取。").arg(MaxTextTotal);
}

QString XlsxSheetReader::numberText(double number)
{
    if (!std::isfinite(number))
        return QString();
    if (number == std::floor(number) && std::fabs(number) < 1e15)
        return QString::number(qint64(number));
    for (int precision = 1; precision <= 17; ++precision) {
        const QString text = QString::number(number, 'g', precision);
        if (text.toDouble() == number)
            return text;
    }
    return QString::number(number, 'g', 17);
}

bool XlsxSheetReader::readFileBytes(const QString &fileName, QByteArray *bytes, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("无法打开文件“%1”：%2").arg(fileName, FileErrorText::reason(file));
        return false;
    }
    if (file.size() > MaxEntrySize) {
        if (error)
            *error = tr("文件“%1”超过256 MB，不予读取。").arg(fileName);
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = tr("无法读取文件“%1”：%2").arg(fileName, FileErrorText::reason(file));
        return false;
    }
    return true;
}

bool XlsxSheetReader::readFile(const QString &fileName, Sheet *sheet, QString *error)
{
    QByteArray bytes;
    return readFileBytes(fileName, &bytes, error) && readBytes(bytes, sheet, error);
}

bool XlsxSheetReader::readBytes(const QByteArray &bytes, Sheet *sheet, QString *error)
{
    Reader reader(bytes);
    if (reader.read(sheet))
        return true;
    if (error)
        *error = reader.error;
    return false;
}
