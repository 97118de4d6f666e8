#include "sheet.h"

#include <algorithm>

QStringList Sheet::blankRow(int width)
{
    QStringList row;
    row.reserve(width);
    for (int i = 0; i < width; ++i)
        row.append(QString());
    return row;
}

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

bool Sheet::fromCells(const std::vector<Cell> &cells, const QVector<Range> &merges,
                      qint64 maxCells, Sheet *sheet, int declaredLastRow,
                      int declaredLastColumn)
{
    Sheet result;
    if (!cells.empty()) {
        int firstRow = cells.front().row, firstColumn = cells.front().column;
        int lastRow = firstRow, lastColumn = firstColumn;
        for (const Cell &cell : cells) {
            firstRow = std::min(firstRow, cell.row);
            firstColumn = std::min(firstColumn, cell.column);
            lastRow = std::max(lastRow, cell.row);
            lastColumn = std::max(lastColumn, cell.column);
        }
        for (const Range &range : merges) {
            if (range.lastRow >= firstRow && range.lastColumn >= firstColumn) {
                lastRow = std::max(lastRow, range.lastRow);
                lastColumn = std::max(lastColumn, range.lastColumn);
            }
        }
        const int claimedRow = std::max(lastRow, declaredLastRow);
        const int claimedColumn = std::max(lastColumn, declaredLastColumn);
        if ((qint64(claimedRow) - firstRow + 1) * (qint64(claimedColumn) - firstColumn + 1)
            <= maxCells) {
            lastRow = claimedRow;
            lastColumn = claimedColumn;
        }
        const qint64 height = qint64(lastRow) - firstRow + 1;
        const qint64 width = qint64(lastColumn) - firstColumn + 1;
        if (height * width > maxCells)
            return false;
        // Only rows holding a cell get the full width: a hostile file can
        // declare two cells far apart in a few bytes, and every reader of
        // the sheet would then walk millions of empty cells.
        const QStringList fullRow = blankRow(int(width));
        result.rows.resize(int(height));
        for (const Cell &cell : cells) {
            QStringList &row = result.rows[cell.row - firstRow];
            if (row.isEmpty())
                row = fullRow;
            row[cell.column - firstColumn] = cell.text;
        }
        for (Range range : merges) {
            if (range.lastRow < firstRow || range.lastColumn < firstColumn)
                continue;
            range.firstRow = std::max(range.firstRow - firstRow, 0);
            range.lastRow -= firstRow;
            range.firstColumn = std::max(range.firstColumn - firstColumn, 0);
            range.lastColumn -= firstColumn;
            result.merges.append(range);
        }
    }
    *sheet = std::move(result);
    return true;
}
