// The variable list of the address library. Besides not crashing: what
// the import gives, the export writes (or refuses with a message), and a
// written file reads back to the same rows, quotes and all.

#include "fuzzsupport.h"

#include "model/exchange/addresstextfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const AddressTextFile::Import first = AddressTextFile::parse(bytes);
    if (first.openQuoteLine > 0)
        return 0;
    QByteArray written;
    QString error;
    if (!AddressTextFile::format(first.rows, &written, &error)) {
        if (error.isEmpty())
            abort();
        return 0;
    }
    const AddressTextFile::Import second = AddressTextFile::parse(written);
    if (!second.skippedLines.isEmpty() || second.openQuoteLine != 0 || second.undecodable
        || second.rows != first.rows)
        abort();
    return 0;
}
