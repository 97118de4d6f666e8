#include "clampednumber.h"

#include <QStringRef>

#include <limits>

QString ClampedNumber::text() const
{
    return QStringLiteral("%1@%2 %3 \u2192 %4").arg(element, attribute, read, kept);
}

qint64 ClampedNumber::readInteger(const QStringRef &text, qint64 min, qint64 max,
                                  qint64 fallback, bool *clamped)
{
    if (clamped)
        *clamped = false;
    const QStringRef digits = text.trimmed();
    bool ok = false;
    qint64 value = digits.toLongLong(&ok, 10);
    if (!ok) {
        // Only a run of digits too long for 64 bits is a number out of
        // range; anything else is no number at all.
        const int start = digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))
                              ? 1
                              : 0;
        if (digits.size() <= start)
            return fallback;
        for (int i = start; i < digits.size(); ++i) {
            if (digits.at(i) < QLatin1Char('0') || digits.at(i) > QLatin1Char('9'))
                return fallback;
        }
        value = digits.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min()
                                                    : std::numeric_limits<qint64>::max();
    }
    if (value < min || value > max) {
        if (clamped)
            *clamped = true;
        return value < min ? min : max;
    }
    return value;
}
