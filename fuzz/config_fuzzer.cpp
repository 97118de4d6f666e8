// The Config element alone (settings, languages, devices, tag libraries),
// read and written back.

#include "fuzzsupport.h"

#include "model/config.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::startInput();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QXmlStreamReader reader(bytes);
    // Whatever the first element is called: the reader does not look.
    if (!reader.readNextStartElement())
        return 0;
    Config *config = Config::instance();
    config->readXml(&reader);
    QString text;
    QXmlStreamWriter writer(&text);
    config->writeXml(&writer);
    return 0;
}
