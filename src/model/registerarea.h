#pragma once

#include <QString>
#include <QtGlobal>

// One addressable register area of a communication protocol.
struct RegisterArea
{
    QString name; // as written in address texts, e.g. "LW"
    qint16 fun = 0; // access class: below 3 bit areas, 3 and above word areas
    qint32 offset = 0; // base offset in the device's register space (runtime use only)
    qint32 min = 0; // lowest register number
    qint32 max = 0; // highest register number

    // Word areas whose name carries "Bit" are addressed bit by bit, so they
    // count as bit areas for the address editors.
    bool isBitArea() const { return fun < 3 || name.contains(QLatin1String("Bit")); }
};
