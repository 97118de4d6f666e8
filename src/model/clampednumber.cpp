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

// Plain decimals ("-12.5", "100", "0.25"), nearly every number a project
// file holds, read without the general parser: a mantissa of at most 15
// digits and a power of ten up to 10^22 are both exact doubles, so their
// quotient is the correctly rounded value, the one the parser gives.
// False for anything else (exponents, signs other than a leading minus,
// more digits), which the parser then reads.
bool readPlainDecimal(const QStringRef &text, double *value)
{
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const QChar *c = text.unicode();
    const QChar *const end = c + text.size();
    const bool negative = c != end && *c == QLatin1Char('-');
    if (negative)
        ++c;
    qint64 mantissa = 0;
    int digits = 0;
    int decimals = -1; // -1 until the point
    bool any = false;
    for (; c != end; ++c) {
        const ushort u = c->unicode();
        if (u >= '0' && u <= '9') {
            any = true;
            if (decimals >= 0)
                ++decimals;
            // Leading zeros carry no digit.
            if (mantissa == 0 && u == '0')
                continue;
            if (++digits > 15)
                return false;
            mantissa = mantissa * 10 + (u - '0');
        } else if (u == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (!any || decimals == 0 || decimals > 22)
        return false;
    const double magnitude
        = decimals > 0 ? double(mantissa) / powers[decimals] : double(mantissa);
    *value = negative ? -magnitude : magnitude;
    return true;
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
    if (readPlainDecimal(number, value))
        return Fits;
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
