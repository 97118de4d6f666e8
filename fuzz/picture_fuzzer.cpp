// Pictures that image shapes show: a project names any file as its picture,
// so whatever bytes that file holds must be drawn or refused within the
// loader's bounds, never crash or hang.

#include "fuzzsupport.h"

#include "shapes/pictureloader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    const QString path = fuzzsupport::inputFile(QStringLiteral("picture"), data, size);
    if (path.isEmpty())
        abort();
    const PictureLoader::Result result = PictureLoader::load(path, QSize(64, 48));
    // A picture is drawn exactly when the loader says it is readable, and
    // never larger than the box asked for.
    if ((result.status == PictureLoader::Ok) == result.image.isNull())
        abort();
    if (!result.image.isNull() && (result.image.width() > 64 || result.image.height() > 48))
        abort();
    return 0;
}
