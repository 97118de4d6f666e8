// The UTF-8 comma file of the text library: whatever it reads, writing the
// tags and reading them again gives the same tags, with the header the
// import finds by the project's languages as well.

#include "fuzzsupport.h"

#include "model/exchange/tagexchange.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QVector<TextTagRecord> tags = TagExchange::parseTextCsv(bytes);
    int width = 0;
    for (const TextTagRecord &tag : tags) {
        for (const QStringList &state : tag.states)
            width = std::max(width, int(state.size()));
    }
    QStringList header{QStringLiteral("name")};
    for (int i = 0; i < width; ++i)
        header.append(QStringLiteral("language"));
    if (TagExchange::parseTextCsv(TagExchange::textCsv(header, tags)) != tags)
        abort();

    static const QStringList languages = {QStringLiteral("中文"), QStringLiteral("English")};
    const TagExchange::TextCsv file = TagExchange::readTextCsv(bytes, &languages);
    TagExchange::droppedColumns(file.header, file.tags, languages);
    TagExchange::matchLanguages(file.header, file.tags, languages);
    // Under the heading the export writes, the names are found again.
    header[0] = QStringLiteral("标签名称");
    if (TagExchange::readTextCsv(TagExchange::textCsv(header, tags), &languages).tags != tags)
        abort();
    return 0;
}
