#pragma once

#include "model/exchange/sheet.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstring>

// Builds small binary .xls workbooks byte by byte, for tests that need a
// record laid out just so (a text split across a CONTINUE record, a stream
// of an exact size) or a sheet written the way spreadsheet programs write
// it (non-empty cells only, the used range in a DIMENSIONS record). No
// spreadsheet program runs in the build, so these take the place of files
// made by one; the layout follows the published description of the format.
namespace xlsbuilder {

// Little-endian numbers, alone or written into bytes at an offset.
inline QByteArray littleEndian(quint64 value, int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(char(value >> (8 * i)));
    return bytes;
}

inline QByteArray u16(quint16 value) { return littleEndian(value, 2); }
inline QByteArray u32(quint32 value) { return littleEndian(value, 4); }

inline void put(QByteArray *bytes, int offset, quint64 value, int size)
{
    bytes->replace(offset, size, littleEndian(value, size));
}

inline QByteArray f64(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return littleEndian(bits, 8);
}

inline QByteArray record(quint16 type, const QByteArray &body)
{
    return u16(type) + u16(quint16(body.size())) + body;
}

// A text with a 16-bit length, in two-byte characters.
inline QByteArray unicodeString(const QString &text)
{
    QByteArray bytes = u16(quint16(text.size())) + '\x01';
    for (QChar c : text)
        bytes += u16(c.unicode());
    return bytes;
}

inline QByteArray label(int row, int column, const QString &text, int style = 0)
{
    return record(0x0204, u16(quint16(row)) + u16(quint16(column)) + u16(quint16(style))
                              + unicodeString(text));
}

inline QByteArray number(int row, int column, double value, int style = 0)
{
    return record(0x0203, u16(quint16(row)) + u16(quint16(column)) + u16(quint16(style))
                              + f64(value));
}

// The used rows firstRow … lastRow and columns firstColumn … lastColumn.
inline QByteArray dimensions(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    return record(0x0200, u32(quint32(firstRow)) + u32(quint32(lastRow + 1))
                              + u16(quint16(firstColumn)) + u16(quint16(lastColumn + 1)) + u16(0));
}

inline QByteArray mergedCells(const QVector<Sheet::Range> &ranges)
{
    QByteArray body = u16(quint16(ranges.size()));
    for (const Sheet::Range &range : ranges)
        body += u16(quint16(range.firstRow)) + u16(quint16(range.lastRow))
            + u16(quint16(range.firstColumn)) + u16(quint16(range.lastColumn));
    return record(0x00E5, body);
}

// A number format, and a cell style using format `formatId`.
inline QByteArray numberFormat(int formatId, const QString &code)
{
    return record(0x041E, u16(quint16(formatId)) + unicodeString(code));
}

inline QByteArray cellStyle(int formatId)
{
    return record(0x00E0, u16(0) + u16(quint16(formatId)) + QByteArray(16, '\0'));
}

// The Workbook stream: a globals part holding `globals` and one sheet
// holding `cells`.
inline QByteArray workbookStream(const QByteArray &globals, const QByteArray &cells)
{
    const QByteArray globalsBegin = record(0x0809, u16(0x0600) + u16(0x0005) + QByteArray(12, '\0'));
    const QByteArray sheetBegin = record(0x0809, u16(0x0600) + u16(0x0010) + QByteArray(12, '\0'));
    const QByteArray end = record(0x000A, QByteArray());
    const QByteArray name = QByteArray("\x01\x00", 2) + "S";
    const int boundSheetSize = 4 + 6 + name.size();
    const int sheetOffset = globalsBegin.size() + globals.size() + boundSheetSize + end.size();
    return globalsBegin + globals + record(0x0085, u32(quint32(sheetOffset)) + u16(0) + name)
        + end + sheetBegin + cells + end;
}

// The sheet as a spreadsheet program writes it: its non-empty cells, its
// used range and its merges.
inline QByteArray sheetRecords(const Sheet &sheet)
{
    QByteArray cells = dimensions(0, sheet.rowCount() - 1, 0, sheet.columnCount() - 1);
    for (int row = 0; row < sheet.rowCount(); ++row) {
        for (int column = 0; column < sheet.rows.at(row).size(); ++column) {
            if (!sheet.cell(row, column).isEmpty())
                cells += label(row, column, sheet.cell(row, column));
        }
    }
    return cells + mergedCells(sheet.merges);
}

// A version 3 compound file (512-byte sectors) holding one stream. Streams
// under the 4,096-byte cutoff go to the mini stream, as the format demands.
inline QByteArray compoundFile(const QByteArray &stream,
                               const QString &streamName = QStringLiteral("Workbook"))
{
    constexpr quint32 Free = 0xFFFFFFFF, End = 0xFFFFFFFE, FatSector = 0xFFFFFFFD;
    const auto pad = [](QByteArray bytes, int unit) {
        if (bytes.size() % unit)
            bytes.append(QByteArray(unit - bytes.size() % unit, '\0'));
        return bytes;
    };
    const bool small = stream.size() < 4096;
    // Sectors in order: data (the stream, or the mini stream and its table),
    // then the directory, then the FAT.
    QByteArray data = small ? pad(stream, 64) : stream;
    const quint32 miniStreamSize = small ? quint32(data.size()) : 0;
    QByteArray miniFat;
    if (small) {
        const int miniSectors = data.size() / 64;
        for (int i = 0; i < miniSectors; ++i)
            miniFat += u32(i + 1 < miniSectors ? quint32(i + 1) : End);
        while (miniFat.size() < 512)
            miniFat += u32(Free);
    }
    data = pad(data, 512);
    const int dataSectors = data.size() / 512;
    const int miniFatSector = small ? dataSectors : -1;
    const int directorySector = dataSectors + (small ? 1 : 0);
    const int usedSectors = directorySector + 1;
    int fatSectors = 1;
    while ((usedSectors + fatSectors) > fatSectors * 128)
        ++fatSectors;

    QVector<quint32> fat(fatSectors * 128, Free);
    for (int i = 0; i < dataSectors; ++i)
        fat[i] = i + 1 < dataSectors ? quint32(i + 1) : End;
    if (small)
        fat[miniFatSector] = End;
    fat[directorySector] = End;
    for (int i = 0; i < fatSectors; ++i)
        fat[usedSectors + i] = FatSector;

    const auto entry = [](const QString &name, quint8 type, quint32 child, quint32 start,
                          quint32 size) {
        QByteArray bytes(128, '\0');
        for (int i = 0; i < name.size(); ++i)
            put(&bytes, 2 * i, name.at(i).unicode(), 2);
        put(&bytes, 0x40, quint16(2 * name.size() + 2), 2);
        bytes[0x42] = char(type);
        bytes[0x43] = 1;
        put(&bytes, 0x44, 0xFFFFFFFF, 4);
        put(&bytes, 0x48, 0xFFFFFFFF, 4);
        put(&bytes, 0x4C, child, 4);
        put(&bytes, 0x74, start, 4);
        put(&bytes, 0x78, size, 4);
        return bytes;
    };
    QByteArray directory = entry(QStringLiteral("Root Entry"), 5, 1, small ? 0 : End, miniStreamSize)
        + entry(streamName, 2, 0xFFFFFFFF, 0, quint32(stream.size()));
    directory += entry(QString(), 0, 0xFFFFFFFF, 0, 0) + entry(QString(), 0, 0xFFFFFFFF, 0, 0);
    // Unused entries have no siblings either.
    for (int at = 256; at < 512; at += 128) {
        put(&directory, at + 0x44, 0xFFFFFFFF, 4);
        put(&directory, at + 0x48, 0xFFFFFFFF, 4);
    }

    QByteArray header(512, '\0');
    header.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    put(&header, 0x18, 0x003E, 2);
    put(&header, 0x1A, 3, 2);
    put(&header, 0x1C, 0xFFFE, 2);
    put(&header, 0x1E, 9, 2);
    put(&header, 0x20, 6, 2);
    put(&header, 0x2C, quint32(fatSectors), 4);
    put(&header, 0x30, quint32(directorySector), 4);
    put(&header, 0x38, 4096, 4);
    put(&header, 0x3C, small ? quint32(miniFatSector) : End, 4);
    put(&header, 0x40, small ? 1 : 0, 4);
    put(&header, 0x44, End, 4);
    for (int i = 0; i < 109; ++i)
        put(&header, 0x4C + 4 * i, i < fatSectors ? quint32(usedSectors + i) : Free, 4);

    QByteArray fatBytes;
    for (quint32 value : qAsConst(fat))
        fatBytes += u32(value);
    return header + data + (small ? miniFat : QByteArray()) + directory + fatBytes;
}

// A whole .xls file of one sheet.
inline QByteArray workbook(const QByteArray &globals, const QByteArray &cells)
{
    return compoundFile(workbookStream(globals, cells));
}

} // namespace xlsbuilder
