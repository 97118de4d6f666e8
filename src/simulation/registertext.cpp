#include "registertext.h"

#include "model/config.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

// A number as typed: decimal (C locale, whatever the system's), or the
// words a script uses for a bit.
bool parseNumber(const QString &text, double *number)
{
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("true")) {
        *number = 1;
        return true;
    }
    if (word == QLatin1String("false")) {
        *number = 0;
        return true;
    }
    bool ok = false;
    *number = word.toDouble(&ok);
    return ok && std::isfinite(*number);
}

QString shortestFloat(float value)
{
    char buffer[64];
    const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(end.ptr - buffer));
}

} // namespace

QString RegisterText::text(int format, const QVariant &value)
{
    switch (format) {
    case Config::String:
        return value.toString();
    case Config::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case Config::Float:
        return shortestFloat(float(value.toDouble()));
    case Config::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        return QString::number(value.toLongLong());
    }
}

bool RegisterText::toValue(int format, const QString &text, QVariant *value, QString *error)
{
    if (format == Config::String) {
        *value = text;
        return true;
    }
    const QString trimmed = text.trimmed();
    // Whole numbers stay whole: a 32-bit value past a double's exact range
    // is not at stake, but the memory need not round what it was given.
    bool whole = false;
    const qint64 integer = trimmed.toLongLong(&whole);
    if (whole) {
        *value = integer;
        return true;
    }
    double number = 0;
    if (!parseNumber(trimmed, &number)) {
        *error = tr("“%1”不是数字").arg(text);
        return false;
    }
    *value = number;
    return true;
}

bool RegisterText::matches(int format, const QVariant &actual, const QString &expected,
                           QString *error)
{
    if (format == Config::String)
        return actual.toString() == expected;
    double wanted = 0;
    if (!parseNumber(expected, &wanted)) {
        if (error)
            *error = tr("期望值“%1”不是数字").arg(expected);
        return false;
    }
    const double have = format == Config::Bool ? (actual.toBool() ? 1 : 0) : actual.toDouble();
    if (format == Config::Float)
        return float(wanted) == float(have);
    return wanted == have;
}
