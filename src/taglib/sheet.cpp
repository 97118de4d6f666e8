#include "sheet.h"

#include <algorithm>

int Sheet::columnCount() const
{
    int count = 0;
    for (const QStringList &row : rows)
        count = std::max(count, int(row.size()));
    return count;
}

QString Sheet::cell(int row, int column) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= rows.at(row).size())
        return QString();
    return rows.at(row).at(column);
}

void Sheet::setCell(int row, int column, const QString &text)
{
    if (row < 0 || column < 0)
        return;
    if (row >= rows.size())
        rows.resize(row + 1);
    QStringList &cells = rows[row];
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
}
