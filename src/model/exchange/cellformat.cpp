#include "cellformat.h"

#include "xlsxsheetreader.h"

#include <QDate>

#include <cmath>

namespace {

// The last serial day a spreadsheet shows as a date: 9999-12-31.
constexpr double LastSerial = 2958465;

} // namespace

CellFormat CellFormat::builtIn(int formatId)
{
    CellFormat format;
    switch (formatId) {
    case 14: case 15: case 16: case 17: // the Western dates
    case 27: case 28: case 29: case 30: case 31: case 36: // the East Asian dates
    case 50: case 51: case 52: case 53: case 54: case 57: case 58:
        format.date = true;
        break;
    case 22:
        format.date = format.time = true;
        break;
    case 18: case 20: case 32: case 34:
        format.time = true;
        break;
    case 19: case 21: case 33: case 35: case 45: case 47: case 55: case 56:
        format.time = format.seconds = true;
        break;
    case 46:
        format.time = format.seconds = format.elapsed = true;
        break;
    default:
        break;
    }
    return format;
}

CellFormat CellFormat::fromCode(const QString &code)
{
    bool year = false, month = false, day = false, hour = false, second = false;
    bool elapsed = false;
    const int size = code.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = code.at(i);
        const char16_t lower = c.toLower().unicode();
        if (c == QLatin1Char(';')) {
            break;
        } else if (c == QLatin1Char('"')) {
            const int end = code.indexOf(QLatin1Char('"'), i + 1);
            i = end < 0 ? size : end;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i; // the next character is shown as it is, or stands for its width
        } else if (c == QLatin1Char('[')) {
            // Colours, conditions and locales; elapsed time counts as time.
            const int end = code.indexOf(QLatin1Char(']'), i + 1);
            const QString inside = code.mid(i + 1, (end < 0 ? size : end) - i - 1).toLower();
            if (!inside.isEmpty() && inside.count(inside.at(0)) == inside.size()) {
                const QChar unit = inside.at(0);
                elapsed = elapsed || unit == QLatin1Char('h');
                hour = hour || unit == QLatin1Char('h') || unit == QLatin1Char('m');
                second = second || unit == QLatin1Char('s');
            }
            i = end < 0 ? size : end;
        } else if (code.midRef(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            i += 4;
        } else if (code.midRef(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
            i += 2;
        } else if (code.midRef(i, 7).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
            i += 6;
        } else if (lower == u'y') {
            year = true;
        } else if (lower == u'm') {
            month = true;
        } else if (lower == u'd') {
            day = true;
        } else if (lower == u'h') {
            hour = true;
        } else if (lower == u's') {
            second = true;
        }
    }
    CellFormat format;
    format.time = hour || second;
    format.seconds = second;
    format.elapsed = elapsed;
    // An "m" beside hours or seconds counts minutes; alone it is the month.
    format.date = year || day || (month && !format.time);
    return format;
}

QString CellFormat::text(double value, bool date1904) const
{
    if (isNumber() || !std::isfinite(value) || value < 0 || value >= LastSerial + 1)
        return XlsxSheetReader::numberText(value);
    // Whole seconds, as the sheet rounds them for showing.
    const qint64 totalSeconds = std::llround(value * 86400.0);
    const qint64 days = totalSeconds / 86400;
    const int secondOfDay = int(totalSeconds % 86400);
    QString dateText;
    if (date1904) {
        dateText = QDate(1904, 1, 1).addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
    } else if (days == 0) {
        dateText = QStringLiteral("1900-01-00"); // what the sheet shows for day 0
    } else if (days == 60) {
        // The 1900 system counts a 29 February that year never had.
        dateText = QStringLiteral("1900-02-29");
    } else {
        const QDate base = days < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
        dateText = base.addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
    }
    const qint64 hours = elapsed && !date ? totalSeconds / 3600 : secondOfDay / 3600;
    const QString timeText = QStringLiteral("%1:%2")
                                 .arg(hours, 2, 10, QLatin1Char('0'))
                                 .arg(secondOfDay / 60 % 60, 2, 10, QLatin1Char('0'))
        + (seconds ? QStringLiteral(":%1").arg(secondOfDay % 60, 2, 10, QLatin1Char('0'))
                   : QString());
    if (date && time)
        return dateText + QLatin1Char(' ') + timeText;
    return date ? dateText : timeText;
}
