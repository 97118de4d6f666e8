#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Comma-separated text with the usual quoting: a field holding a comma, a
// quote or a line break is enclosed in quotes, and a quote inside it is
// doubled. Reading accepts LF and CR LF line ends and gives back exactly
// what format() was given.
class CsvTable
{
public:
    // A final line end does not start another row. An unterminated quoted
    // field runs to the end of the text.
    static QVector<QStringList> parse(const QString &text);
    // Every row ends with CR LF, which spreadsheet programs expect.
    static QString format(const QVector<QStringList> &rows);
};
