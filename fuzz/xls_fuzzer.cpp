// The .xls path of the tag import: the bytes as a file under a spreadsheet
// name, read as the text library's import reads it (which also decides
// between the .xls and the .xlsx reader by the first bytes).

#include "fuzzsupport.h"

#include "taglib/tagexchange.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("input.xls"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    QVector<TextTagRecord> tags;
    QString error;
    TagExchange::importTextTags(path, &tags, &error);
    TagExchange::AddressImport rows;
    TagExchange::importAddressTags(path, &rows, &error);
    return 0;
}
