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
    // Inputs the device only reports (coils and registers it reads from the
    // field); writing them has no effect on the device.
    bool readOnly = false;
    // The area holds only its own kind of data: a bit area only Bool, a word
    // area no Bool. Areas without it take any format, as files made before
    // the distinction hold such tags.
    bool strictFormat = false;

    // Word areas whose name carries "Bit" are addressed bit by bit, so they
    // count as bit areas for the address editors.
    bool isBitArea() const { return fun < 3 || name.contains(QLatin1String("Bit")); }
    // Whether a tag of that kind of data may lie in this area.
    bool acceptsFormat(bool isBool) const { return !strictFormat || isBool == isBitArea(); }
};
