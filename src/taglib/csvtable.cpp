#include "csvtable.h"

QVector<QStringList> CsvTable::parse(const QString &text)
{
    QVector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    // Set once the current row has any content, so that a final line end
    // does not add an empty row.
    bool rowStarted = false;
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < size && text.at(i + 1) == QLatin1Char('"')) {
                    field.append(c);
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field.append(c);
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            rowStarted = true;
        } else if (c == QLatin1Char(',')) {
            row.append(field);
            field.clear();
            rowStarted = true;
        } else if (c == QLatin1Char('\n')
                   || (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))) {
            if (c == QLatin1Char('\r'))
                ++i;
            row.append(field);
            rows.append(row);
            row.clear();
            field.clear();
            rowStarted = false;
        } else {
            field.append(c);
            rowStarted = true;
        }
    }
    if (rowStarted) {
        row.append(field);
        rows.append(row);
    }
    return rows;
}

QString CsvTable::format(const QVector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (int column = 0; column < row.size(); ++column) {
            if (column > 0)
                text.append(QLatin1Char(','));
            const QString &field = row.at(column);
            if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
                || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
                QString escaped = field;
                escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
                text.append(QLatin1Char('"') + escaped + QLatin1Char('"'));
            } else {
                text.append(field);
            }
        }
        text.append(QLatin1String("\r\n"));
    }
    return text;
}
