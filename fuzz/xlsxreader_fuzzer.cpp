// The .xlsx reader on whole workbook files, and the conversions of the
// sheet it reads into both tag libraries.

#include "fuzzsupport.h"

#include "model/exchange/tagexchange.h"
#include "model/exchange/xlsxsheetreader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    Sheet sheet;
    QString error;
    if (!XlsxSheetReader::readBytes(bytes, &sheet, &error))
        return 0;
    TagExchange::addressRowsFromSheet(sheet);
    TagExchange::textTagsFromSheet(sheet, false);
    TagExchange::textTagsFromSheet(sheet, true);
    return 0;
}
