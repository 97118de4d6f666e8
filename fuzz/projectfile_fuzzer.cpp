// The whole project reader on file bytes, plain or in the envelope: what
// the editor and marovin-cli do with a file they are asked to open.

#include "fuzzsupport.h"

#include "document/projectfile.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::startInput();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    ProjectFile::LoadHooks hooks;
    // Any password is accepted, so that what follows the Config element is
    // read too.
    hooks.checkPassword = [](const QString &) { return true; };
    const ProjectFile::LoadResult result = ProjectFile::loadBytes(bytes, hooks);
    // What follows opening in the editor: widget shapes settle through
    // posted events. Saving what was read is left to tst_fuzzfindings: it
    // would halve the rate here.
    if (result.status == ProjectFile::Loaded || result.status == ProjectFile::Damaged)
        QCoreApplication::sendPostedEvents();
    return 0;
}
