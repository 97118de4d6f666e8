#pragma once

#include "sheet.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Reads the first worksheet of an old binary .xls workbook (the format of
// spreadsheet programs from 1997 on) into a Sheet, as the .xlsx reader
// does: texts, numbers in their shortest exact form, dates and times as
// their number formats show them, TRUE/FALSE, error values, the cached
// results of formulas and the merged ranges; the sheet starts at the
// top-left cell of the range its cells occupy and reaches down to its merges
// and declared range. Older versions of the format are refused.
//
// Every length and position is checked against the record that holds it,
// so a damaged or hostile file gives a message, never a read out of bounds.
class XlsSheetReader
{
    Q_DECLARE_TR_FUNCTIONS(XlsSheetReader)

public:
    // False with a message in *error (when given) when the file cannot be
    // read; *sheet is then left as it was.
    static bool readFile(const QString &fileName, Sheet *sheet, QString *error);
    static bool readBytes(const QByteArray &bytes, Sheet *sheet, QString *error);
};
