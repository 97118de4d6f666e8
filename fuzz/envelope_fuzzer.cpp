// The envelope of encoded project files. Besides not crashing, the one-pass
// coder must agree with the definition it replaces (Base64 with the letter
// case exchanged) and decoding must undo encoding.

#include "fuzzsupport.h"

#include "document/projectfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));

    const QByteArray decoded = ProjectFile::decodeProjectText(bytes);
    if (!ProjectFile::isPlainText(bytes)
        && decoded != QByteArray::fromBase64(ProjectFile::swapLetterCase(bytes)))
        abort();

    const QString text = QString::fromUtf8(bytes);
    if (ProjectFile::decodeProjectText(ProjectFile::encodeProjectText(text.toUtf8(), true)) != text.toUtf8())
        abort();
    return 0;
}
