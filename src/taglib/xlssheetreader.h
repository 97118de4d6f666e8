#pragma once

#include "sheet.h"

#include <QCoreApplication>
#include <QString>

// Reads the cells of the first worksheet of an old binary .xls workbook
// into a Sheet, starting at A1. The format's reader cannot report merged
// cells, so the sheet has none. Numbers read as the .xlsx reader gives
// them (an integral number "2"); dates as "YYYY-MM-DD".
class XlsSheetReader
{
    Q_DECLARE_TR_FUNCTIONS(XlsSheetReader)

public:
    // False with a message in *error (when given) when the file cannot be
    // read; *sheet is then left as it was.
    static bool readFile(const QString &fileName, Sheet *sheet, QString *error);
};
