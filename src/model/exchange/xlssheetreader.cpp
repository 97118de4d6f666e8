#include "xlssheetreader.h"

#include "cellformat.h"
#include "compoundfile.h"
#include "xlsxsheetreader.h"

#include <QFile>
#include <QtEndian>

#include <QHash>

#include <cstring>
#include <vector>

namespace {

enum RecordType : quint16 {
    Formula = 0x0006,
    EndOfFile = 0x000A,
    DateMode = 0x0022,
    Continue = 0x003C,
    BoundSheet = 0x0085,
    CellStyle = 0x00E0,
    MulRk = 0x00BD,
    MergedCells = 0x00E5,
    SharedStrings = 0x00FC,
    LabelSst = 0x00FD,
    Dimensions = 0x0200,
    Number = 0x0203,
    Label = 0x0204,
    BoolErr = 0x0205,
    StringResult = 0x0207,
    Rk = 0x027E,
    NumberFormat = 0x041E,
    BeginOfFile = 0x0809,
};

// One record with the CONTINUE records that follow it, each part kept
// apart: a text that runs into a CONTINUE record starts that part with a
// fresh flag byte.
struct Record
{
    quint16 type = 0;
    std::vector<QByteArray> parts;
};

// Reads across the parts of a record. Running past the end sets `failed`
// and yields zeros, so callers check once at the end.
class RecordReader
{
public:
    explicit RecordReader(const Record &record) : m_parts(record.parts) {}

    bool failed = false;

    quint8 u8()
    {
        if (!skipEmptyParts()) {
            failed = true;
            return 0;
        }
        return quint8(m_parts[m_part].at(m_offset++));
    }
    // Operands of | are evaluated in no fixed order: the low part must be
    // read first, so it is read in a statement of its own.
    quint16 u16()
    {
        const quint16 low = u8();
        return quint16(low | (u8() << 8));
    }
    quint32 u32()
    {
        const quint32 low = u16();
        return low | (quint32(u16()) << 16);
    }
    double f64()
    {
        quint64 bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= quint64(u8()) << (8 * i);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    void skip(qint64 count)
    {
        while (count > 0 && skipEmptyParts()) {
            const qint64 step = std::min<qint64>(count, m_parts[m_part].size() - m_offset);
            m_offset += int(step);
            count -= step;
        }
        if (count > 0)
            failed = true;
    }
    // The characters of a text whose flag byte has been read: one byte each
    // (the low halves of UTF-16 units) or two. Where the characters run into
    // the next part, that part begins with a new flag byte.
    QString characters(int count, bool wide)
    {
        QString text;
        text.reserve(std::min(count, 65536));
        while (count > 0 && !failed) {
            if (m_offset >= m_parts[m_part].size()) {
                if (m_part + 1 >= m_parts.size()) {
                    failed = true;
                    break;
                }
                ++m_part;
                m_offset = 0;
                wide = (u8() & 0x01) != 0;
                continue;
            }
            text.append(wide ? QChar(u16()) : QChar(u8()));
            --count;
        }
        return text;
    }
    // A text with a 16-bit length and its flag byte, rich-text runs and
    // phonetic data skipped.
    QString unicodeString()
    {
        const int count = u16();
        const quint8 flags = u8();
        const int runs = (flags & 0x08) ? u16() : 0;
        const qint64 extended = (flags & 0x04) ? qint64(u32()) : 0;
        const QString text = characters(count, (flags & 0x01) != 0);
        skip(4LL * runs + extended);
        return text;
    }
    bool atEnd()
    {
        return !skipEmptyParts();
    }

private:
    bool skipEmptyParts()
    {
        while (m_part < m_parts.size() && m_offset >= m_parts[m_part].size()) {
            if (m_part + 1 >= m_parts.size())
                return false;
            ++m_part;
            m_offset = 0;
        }
        return m_part < m_parts.size();
    }

    const std::vector<QByteArray> &m_parts;
    size_t m_part = 0;
    int m_offset = 0;
};

// The records of a stream from `offset` on.
class RecordStream
{
public:
    RecordStream(const QByteArray &stream, qint64 offset) : m_stream(stream), m_offset(offset) {}

    // False at the end of the stream or at a record cut short.
    bool next(Record *record)
    {
        if (!header(&record->type, &m_length))
            return false;
        record->parts.clear();
        record->parts.push_back(m_stream.mid(int(m_offset + 4), m_length));
        m_offset += 4 + m_length;
        quint16 type = 0;
        while (header(&type, &m_length) && type == Continue) {
            record->parts.push_back(m_stream.mid(int(m_offset + 4), m_length));
            m_offset += 4 + m_length;
        }
        return true;
    }

private:
    bool header(quint16 *type, int *length) const
    {
        if (m_offset < 0 || m_offset + 4 > m_stream.size())
            return false;
        *type = qFromLittleEndian<quint16>(m_stream.constData() + m_offset);
        *length = qFromLittleEndian<quint16>(m_stream.constData() + m_offset + 2);
        return m_offset + 4 + *length <= m_stream.size();
    }

    const QByteArray &m_stream;
    qint64 m_offset;
    int m_length = 0;
};

double rkNumber(quint32 rk)
{
    double value;
    if (rk & 0x02) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

QString errorText(quint8 code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    default: return QStringLiteral("#ERROR!");
    }
}

} // namespace

bool XlsSheetReader::readFile(const QString &fileName, Sheet *sheet, QString *error)
{
    QByteArray bytes;
    return XlsxSheetReader::readFileBytes(fileName, &bytes, error) && readBytes(bytes, sheet, error);
}

bool XlsSheetReader::readBytes(const QByteArray &bytes, Sheet *sheet, QString *error)
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    const QString damaged = tr("xls工作簿已损坏。");
    QByteArray stream;
    if (!CompoundFile::readStream(bytes, QStringLiteral("Workbook"), &stream)) {
        if (CompoundFile::readStream(bytes, QStringLiteral("Book"), &stream))
            return fail(tr("xls工作簿的版本过旧，请另存为xlsx文件后再导入。"));
        return fail(CompoundFile::isCompoundFile(bytes) ? damaged
                                                        : tr("文件不是xls工作簿。"));
    }

    // The workbook globals: the version, the sheets and the shared texts.
    RecordStream globals(stream, 0);
    Record record;
    if (!globals.next(&record) || record.type != BeginOfFile)
        return fail(damaged);
    {
        RecordReader reader(record);
        if (reader.u16() != 0x0600)
            return fail(tr("xls工作簿的版本过旧，请另存为xlsx文件后再导入。"));
    }
    qint64 sheetOffset = -1;
    QVector<QString> strings;
    qint64 textTotal = 0;
    // Fails the read once a text passes the limit of a cell or the texts so
    // far pass the limit of a sheet.
    QString textError;
    const auto countText = [&textTotal, &textError](int size) {
        if (size > XlsxSheetReader::MaxCellText)
            textError = XlsxSheetReader::cellTextTooLong();
        else if ((textTotal += size) > XlsxSheetReader::MaxTextTotal)
            textError = XlsxSheetReader::textsTooLong();
        return textError.isEmpty();
    };
    QHash<int, CellFormat> codes;
    QVector<int> formatIds;
    bool date1904 = false;
    while (globals.next(&record) && record.type != EndOfFile) {
        RecordReader reader(record);
        if (record.type == NumberFormat && codes.size() < XlsxSheetReader::MaxStyles) {
            const int id = reader.u16();
            const QString code = reader.unicodeString();
            if (!reader.failed)
                codes.insert(id, CellFormat::fromCode(code));
        } else if (record.type == CellStyle && formatIds.size() < XlsxSheetReader::MaxStyles) {
            reader.u16(); // font
            const int id = reader.u16();
            formatIds.append(reader.failed ? 0 : id);
        } else if (record.type == DateMode) {
            date1904 = reader.u16() == 1 && !reader.failed;
        } else if (record.type == BoundSheet && sheetOffset < 0) {
            const quint32 offset = reader.u32();
            reader.u8(); // visibility
            if (reader.u8() == 0 && !reader.failed)
                sheetOffset = offset;
        } else if (record.type == SharedStrings) {
            reader.u32(); // references
            const quint32 count = reader.u32();
            // Each text takes three bytes at least, so the count cannot
            // make us reserve more than the record holds.
            for (quint32 i = 0; i < count && !reader.failed && !reader.atEnd(); ++i) {
                strings.append(reader.unicodeString());
                if (!countText(strings.constLast().size()))
                    return fail(textError);
                if (strings.size() > XlsxSheetReader::MaxCells)
                    return fail(XlsxSheetReader::tr("工作表的范围超过%1个单元格，不予读取。")
                                    .arg(XlsxSheetReader::MaxCells));
            }
        }
    }
    if (sheetOffset < 0)
        return fail(XlsxSheetReader::tr("工作簿中没有工作表。"));
    // The style records' formats, a format the file spells out winning over
    // the one its number reserves.
    QVector<CellFormat> styles;
    styles.reserve(formatIds.size());
    for (int id : qAsConst(formatIds))
        styles.append(codes.contains(id) ? codes.value(id) : CellFormat::builtIn(id));
    const auto numberText = [&styles, date1904](int style, double value) {
        return styles.value(style).text(value, date1904);
    };

    RecordStream cellsStream(stream, sheetOffset);
    if (!cellsStream.next(&record) || record.type != BeginOfFile)
        return fail(damaged);
    std::vector<Sheet::Cell> cells;
    QVector<Sheet::Range> merges;
    // A formula's text result follows it in a record of its own.
    int pendingRow = -1;
    int pendingColumn = -1;
    int declaredLastRow = -1;
    int declaredLastColumn = -1;
    int depth = 1; // charts embedded in the sheet bring their own begin and end
    while (depth > 0 && cellsStream.next(&record)) {
        RecordReader reader(record);
        const auto add = [&cells, &countText](int row, int column, const QString &text) {
            if (countText(text.size()) && !text.isEmpty())
                cells.push_back({row, column, text});
        };
        if (!textError.isEmpty())
            return fail(textError);
        if (qint64(cells.size()) + merges.size() > XlsxSheetReader::MaxCells)
            return fail(XlsxSheetReader::tr("工作表的范围超过%1个单元格，不予读取。")
                            .arg(XlsxSheetReader::MaxCells));
        switch (record.type) {
        case BeginOfFile:
            ++depth;
            break;
        case Dimensions: {
            // The first row and the row after the last, then the same of
            // the columns; the sheet's own record only, not a chart's.
            reader.u32();
            const quint32 rowEnd = reader.u32();
            reader.u16();
            const quint16 columnEnd = reader.u16();
            if (depth == 1 && !reader.failed && rowEnd > 0 && columnEnd > 0
                && rowEnd <= quint32(XlsxSheetReader::MaxRows)
                && columnEnd <= XlsxSheetReader::MaxColumns) {
                declaredLastRow = int(rowEnd) - 1;
                declaredLastColumn = columnEnd - 1;
            }
            break;
        }
        case EndOfFile:
            --depth;
            break;
        case LabelSst: {
            const int row = reader.u16(), column = reader.u16();
            reader.u16();
            const quint32 index = reader.u32();
            if (!reader.failed && index < quint32(strings.size()))
                add(row, column, strings.at(int(index)));
            break;
        }
        case Label: {
            const int row = reader.u16(), column = reader.u16();
            reader.u16();
            const QString text = reader.unicodeString();
            if (!reader.failed)
                add(row, column, text);
            break;
        }
        case Number: {
            const int row = reader.u16(), column = reader.u16();
            const int style = reader.u16();
            const double value = reader.f64();
            if (!reader.failed)
                add(row, column, numberText(style, value));
            break;
        }
        case Rk: {
            const int row = reader.u16(), column = reader.u16();
            const int style = reader.u16();
            const quint32 rk = reader.u32();
            if (!reader.failed)
                add(row, column, numberText(style, rkNumber(rk)));
            break;
        }
        case MulRk: {
            const int row = reader.u16();
            int column = reader.u16();
            // Six bytes per cell, then the last column's number.
            const qint64 size = record.parts.front().size();
            for (qint64 n = (size - 6) / 6; n > 0 && !reader.failed; --n, ++column) {
                const int style = reader.u16();
                const quint32 rk = reader.u32();
                if (!reader.failed)
                    add(row, column, numberText(style, rkNumber(rk)));
            }
            break;
        }
        case BoolErr: {
            const int row = reader.u16(), column = reader.u16();
            reader.u16();
            const quint8 value = reader.u8();
            const bool isError = reader.u8() != 0;
            if (!reader.failed)
                add(row, column, isError ? errorText(value)
                                         : value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
            break;
        }
        case Formula: {
            const int row = reader.u16(), column = reader.u16();
            const int style = reader.u16();
            quint8 result[8];
            for (quint8 &byte : result)
                byte = reader.u8();
            if (reader.failed)
                break;
            if (result[6] != 0xFF || result[7] != 0xFF) {
                add(row, column, numberText(style, qFromLittleEndian<double>(result)));
            } else if (result[0] == 0) {
                pendingRow = row;
                pendingColumn = column;
            } else if (result[0] == 1) {
                add(row, column, result[2] ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
            } else if (result[0] == 2) {
                add(row, column, errorText(result[2]));
            }
            break;
        }
        case StringResult:
            if (pendingRow >= 0) {
                const int count = reader.u16();
                const quint8 flags = reader.u8();
                const QString text = reader.characters(count, (flags & 0x01) != 0);
                if (!reader.failed)
                    add(pendingRow, pendingColumn, text);
                pendingRow = -1;
            }
            break;
        case MergedCells: {
            const int count = reader.u16();
            for (int i = 0; i < count && !reader.failed; ++i) {
                Sheet::Range range;
                range.firstRow = reader.u16();
                range.lastRow = reader.u16();
                range.firstColumn = reader.u16();
                range.lastColumn = reader.u16();
                if (reader.failed)
                    break;
                if (range.firstRow > range.lastRow)
                    std::swap(range.firstRow, range.lastRow);
                if (range.firstColumn > range.lastColumn)
                    std::swap(range.firstColumn, range.lastColumn);
                merges.append(range);
            }
            break;
        }
        default:
            break;
        }
    }
    if (!textError.isEmpty())
        return fail(textError);
    if (!Sheet::fromCells(cells, merges, XlsxSheetReader::MaxCells, sheet, declaredLastRow,
                          declaredLastColumn))
        return fail(XlsxSheetReader::tr("工作表的范围超过%1个单元格，不予读取。")
                        .arg(XlsxSheetReader::MaxCells));
    return true;
}
