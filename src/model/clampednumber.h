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

    // "dev@baud 99999999999999 → 2147483647"
    QString text() const;

    // text as a whole number in [min, max]: one beyond either end gives
    // that end and sets *clamped (when given). Text that is not a whole
    // number gives fallback, as a number missing from the file does.
    static qint64 readInteger(const QStringRef &text, qint64 min, qint64 max, qint64 fallback,
                              bool *clamped);
};
