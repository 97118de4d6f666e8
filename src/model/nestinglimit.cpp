#include "nestinglimit.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

void NestingLimit::refuse(QXmlStreamReader *reader)
{
    // The catalogue keeps this text under the project file, whose message it is.
    reader->raiseError(QCoreApplication::translate("ProjectFile", "元素嵌套超过 %1 层")
                           .arg(MaxDepth));
}
