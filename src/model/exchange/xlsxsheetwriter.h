#pragma once

#include "sheet.h"

#include <QCoreApplication>
#include <QString>

// Writes a Sheet as the only worksheet of a new .xlsx workbook: every cell
// as text, left-aligned and vertically centred, with the sheet's merged
// ranges. The workbook is built in a scratch folder and then saved under
// fileName through a temporary file beside it, so a failure never leaves a
// cut-short file under that name (an existing file stays as it was).
class XlsxSheetWriter
{
    Q_DECLARE_TR_FUNCTIONS(XlsxSheetWriter)

public:
    // The format's limit on the length of one cell's text.
    static constexpr int MaxCellText = 32767;

    // False with a message in *error (when given).
    static bool writeFile(const QString &fileName, const Sheet &sheet, QString *error);
};
