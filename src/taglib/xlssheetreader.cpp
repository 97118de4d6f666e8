#include "xlssheetreader.h"

#include "xlsxsheetreader.h"

#include <QFile>

#include <freexl.h>


namespace {

struct Handle
{
    const void *xls = nullptr;
    ~Handle()
    {
        if (xls)
            freexl_close(xls);
    }
};

} // namespace

bool XlsSheetReader::readFile(const QString &fileName, Sheet *sheet, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = XlsxSheetReader::tr("无法打开文件“%1”：%2").arg(fileName, file.errorString());
        return false;
    }
    if (file.size() > XlsxSheetReader::MaxEntrySize) {
        if (error)
            *error = XlsxSheetReader::tr("文件“%1”超过256 MB，不予读取。").arg(fileName);
        return false;
    }
    file.close();

    Handle handle;
    const QByteArray path = QFile::encodeName(fileName);
    if (freexl_open(path.constData(), &handle.xls) != FREEXL_OK) {
        if (error)
            *error = tr("文件“%1”不是可以读取的xls工作簿。").arg(fileName);
        return false;
    }
    unsigned int sheets = 0;
    if (freexl_get_info(handle.xls, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0
        || freexl_select_active_worksheet(handle.xls, 0) != FREEXL_OK) {
        if (error)
            *error = XlsxSheetReader::tr("工作簿中没有工作表。");
        return false;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle.xls, &rows, &columns) != FREEXL_OK) {
        if (error)
            *error = tr("文件“%1”不是可以读取的xls工作簿。").arg(fileName);
        return false;
    }
    if (rows > unsigned(XlsxSheetReader::MaxRows) || columns > XlsxSheetReader::MaxColumns
        || qint64(rows) * columns > XlsxSheetReader::MaxCells) {
        if (error)
            *error = XlsxSheetReader::tr("工作表超过%1行或%2列，不予读取。")
                         .arg(XlsxSheetReader::MaxRows)
                         .arg(XlsxSheetReader::MaxColumns);
        return false;
    }

    Sheet result;
    for (unsigned int row = 0; row < rows; ++row) {
        QStringList cells;
        int used = 0;
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue value;
            QString text;
            if (freexl_get_cell_value(handle.xls, row, column, &value) == FREEXL_OK) {
                switch (value.type) {
                case FREEXL_CELL_INT:
                    text = QString::number(value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    text = XlsxSheetReader::numberText(value.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (value.value.text_value)
                        text = QString::fromUtf8(value.value.text_value);
                    break;
                default:
                    break;
                }
            }
            cells.append(text);
            if (!text.isEmpty())
                used = cells.size();
        }
        // Trailing empty cells carry nothing; dropping them keeps rows short.
        cells.erase(cells.begin() + used, cells.end());
        result.rows.append(cells);
    }
    while (!result.rows.isEmpty() && result.rows.constLast().isEmpty())
        result.rows.removeLast();
    *sheet = std::move(result);
    return true;
}
