#pragma once

#include "sheet.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Reads the first worksheet of an .xlsx workbook into a Sheet: the sheet is
// found in workbook order through the relationship files, and its texts are
// what a spreadsheet program shows (shared and inline strings, numbers in
// their shortest exact form, dates and times as yyyy-MM-dd and hh:mm where
// the cell's number format is one, TRUE/FALSE, the cached results of
// formulas). The sheet starts at the top-left cell of the range the cells
// occupy and reaches down to its merges and declared range; merged ranges
// are moved with it.
//
// The reader is meant for files from anywhere: it refuses entries larger
// than MaxEntrySize (declared or actual), sheets beyond the row and column
// limits of the format, more than MaxCells cells in the occupied range,
// document type declarations, XML nested deeper than MaxXmlDepth and texts
// over MaxCellText or, together, over MaxTextTotal, always
// with a message for the user.
class XlsxSheetReader
{
    Q_DECLARE_TR_FUNCTIONS(XlsxSheetReader)

public:
    static constexpr qint64 MaxEntrySize = 256LL * 1024 * 1024;
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;
    static constexpr qint64 MaxCells = 4LL * 1024 * 1024;
    static constexpr int MaxXmlDepth = 64;
    // The format's limit on one cell's text, and ours on all the texts of
    // a sheet together: cells sharing one text would otherwise multiply it
    // in every copy made of the sheet.
    static constexpr int MaxCellText = 32767;
    static constexpr qint64 MaxTextTotal = 32LL * 1024 * 1024;
    // At most this many cell styles and number formats are read; cells of
    // styles beyond them read as plain numbers.
    static constexpr int MaxStyles = 65536;

    // False with a message in *error (when given) when the file cannot be
    // read; *sheet is then left as it was.
    static bool readFile(const QString &fileName, Sheet *sheet, QString *error);
    // The whole file, refused when it is larger than MaxEntrySize; every
    // reader of files the user picks goes through here.
    static bool readFileBytes(const QString &fileName, QByteArray *bytes, QString *error);
    static bool readBytes(const QByteArray &bytes, Sheet *sheet, QString *error);

    // An integral number as an integer ("2", never "2.0"), any other in the
    // shortest form that reads back as the same double; empty for infinities
    // and NaN.
    static QString numberText(double number);

    // The messages for a text over MaxCellText and for texts over
    // MaxTextTotal, shared with the .xls reader.
    static QString cellTextTooLong();
    static QString textsTooLong();
};
