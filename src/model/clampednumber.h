#pragma once

#include "projectplace.h"

#include <QString>

class QStringRef;

// A number in a project file that its field cannot hold, and the nearest
// value the field holds instead. Wrapping it (a station 300 read as 44) or
// zeroing it (a baud rate of 14 digits read as 0) would change the project
// without a word; the load says what it kept, and the check lists it.
struct ClampedNumber
{
    QString element; // "dev", "Config", "point", a shape's element name
    QString attribute;
    QString read; // as it stood in the file
    QString kept;
    ProjectPlace place;
    // read was no number at all ("NaN", "fast"): kept is the field's
    // default, not a nearest value.
    bool notANumber = false;

    // "dev@baud 99999999999999 → 2147483647"
    QString text() const;

    // How a text read as a number.
    enum Reading {
        Fits, // a number the field holds as it is
        Missing, // empty: the attribute is not there
        OutOfRange, // a number the field cannot hold (also 1e400, inf)
        NotANumber // "NaN", or text that is no number
    };

    // text as a whole number in [min, max]: anything the toolkit's number
    // parser reads ("1e3", "inf", digits beyond 64 bits) counts, a value
    // beyond either end gives that end, a fraction the nearest whole number
    // (both OutOfRange). Missing text and no number give fallback.
    static qint64 readInteger(const QStringRef &text, qint64 min, qint64 max, qint64 fallback,
                              Reading *reading);

    // text as a double in *value: OutOfRange when it overflows (*value is
    // then the infinity of its sign), 0 when Missing or NotANumber.
    static Reading readDouble(const QStringRef &text, double *value);
};
