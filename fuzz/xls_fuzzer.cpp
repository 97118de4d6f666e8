// The .xls path of the tag import: the bytes as a file under a spreadsheet
// name, read as the imports read it (which also decides between the .xls
// and the .xlsx reader by the first bytes), then turned into both tag
// libraries' rows.

#include "fuzzsupport.h"

#include "model/exchange/tagexchange.h"


#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    const QString path = fuzzsupport::inputFile(QStringLiteral("input.xls"), data, size);
    if (path.isEmpty())
        return 0;
    // One read serves both libraries: what each import adds to the read
    // is its conversion of the sheet, and reading twice would halve the
    // inputs tried.
    Sheet sheet;
    QString error;
    if (!TagExchange::readSheet(path, &sheet, &error))
        return 0;
    // The text import first finds the header and the name column.
    static const QStringList languages = {QStringLiteral("中文"), QStringLiteral("English")};
    const Sheet arranged = TagExchange::arrangeTextSheet(
        sheet, TagExchange::textLayout(sheet.rows.value(0), languages));
    const QVector<TextTagRecord> tags
        = TagExchange::textTagsFromSheet(arranged, !TagExchange::mergesNames(arranged));
    TagExchange::droppedColumns(arranged.rows.value(0), tags, languages);
    TagExchange::matchLanguages(arranged.rows.value(0), tags, languages);
    TagExchange::addressRowsFromSheet(sheet);
    return 0;
}
