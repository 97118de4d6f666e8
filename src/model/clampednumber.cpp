#include "clampednumber.h"

#include <QStringRef>

#include <cmath>
#include <limits>

namespace {

// An underflow ("1e-400") reads as 0 but is still a number; the parser
// tells it from other text only by failing, so the characters decide.
bool looksNumeric(const QStringRef &text)
{
    bool digit = false;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = true;
        else if (c != QLatin1Char('.') && c != QLatin1Char('e') && c != QLatin1Char('E')
                 && c != QLatin1Char('+') && c != QLatin1Char('-'))
            return false;
    }
    return digit;
}

} // namespace

QString ClampedNumber::text() const
{
    return QStringLiteral("%1@%2 %3 \u2192 %4").arg(element, attribute, read, kept);
}

ClampedNumber::Reading ClampedNumber::readDouble(const QStringRef &text, double *value)
{
    *value = 0;
    const QStringRef number = text.trimmed();
    if (number.isEmpty())
        return Missing;
    bool ok = false;
    const double read = number.toDouble(&ok);
    if (std::isnan(read))
        return NotANumber;
    // An overflow fails, yet hands back the infinity of its sign.
    if (std::isinf(read)) {
        *value = read;
        return OutOfRange;
    }
    if (!ok)
        return looksNumeric(number) ? Fits : NotANumber;
    *value = read;
    return Fits;
}

qint64 ClampedNumber::readInteger(const QStringRef &text, qint64 min, qint64 max,
                                  qint64 fallback, Reading *reading)
{
    const QStringRef digits = text.trimmed();
    bool ok = false;
    qint64 value = digits.toLongLong(&ok, 10);
    if (!ok) {
        // A run of digits too long for 64 bits is exact enough as either
        // end; anything else goes through the double parser.
        const int start = digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))
                              ? 1
                              : 0;
        bool allDigits = digits.size() > start;
        for (int i = start; allDigits && i < digits.size(); ++i)
            allDigits = digits.at(i) >= QLatin1Char('0') && digits.at(i) <= QLatin1Char('9');
        if (allDigits) {
            value = digits.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min()
                                                        : std::numeric_limits<qint64>::max();
        } else {
            double read = 0;
            *reading = readDouble(digits, &read);
            if (*reading == Missing || *reading == NotANumber)
                return fallback;
            if (read <= double(min) || read >= double(max)) {
                value = read <= double(min) ? min : max;
                *reading = read == double(value) ? Fits : OutOfRange;
                return value;
            }
            value = qint64(std::llround(read));
            *reading = double(value) == read ? Fits : OutOfRange;
            return value;
        }
    }
    if (value < min || value > max) {
        *reading = OutOfRange;
        return value < min ? min : max;
    }
    *reading = Fits;
    return value;
}
