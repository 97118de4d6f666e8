#pragma once

#include <QString>

// How a spreadsheet shows a number cell: as a plain number, or as a date,
// a time of day or both, as its style's number format says. Dates and
// times are stored as serial day numbers; shown as the sheet shows them
// they read "2024-01-15", "08:30" or "2024-01-15 08:30".
struct CellFormat
{
    bool date = false;
    bool time = false;
    bool seconds = false;
    // Hours counted on past a day ("[h]:mm"), as durations are shown.
    bool elapsed = false;

    // The format behind one of the numbers the file formats reserve for
    // formats they do not spell out; a plain number for any other.
    static CellFormat builtIn(int formatId);
    // The format a format code describes ("yyyy-mm-dd", "h:mm;@"), read
    // from its first section; a plain number when it names no date or time.
    static CellFormat fromCode(const QString &code);

    bool isNumber() const { return !date && !time; }
    // The cell's text: a date or time where the format is one and the
    // number lies within the years 1900 (1904 with date1904) to 9999, the
    // number's shortest exact text otherwise.
    QString text(double value, bool date1904) const;
};
