#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

// One worksheet as plain texts, the form every spreadsheet and text-file
// reader produces and every writer takes. Rows may differ in length; a cell
// beyond a row's end reads as the empty text. Positions count from 0.
struct Sheet
{
    // A merged block of cells, both corners included.
    struct Range
    {
        int firstRow = 0;
        int firstColumn = 0;
        int lastRow = 0;
        int lastColumn = 0;

        bool operator==(const Range &other) const
        {
            return firstRow == other.firstRow && firstColumn == other.firstColumn
                && lastRow == other.lastRow && lastColumn == other.lastColumn;
        }
    };

    // A cell as a reader finds it, before the occupied range is known.
    struct Cell
    {
        int row;
        int column;
        QString text;
    };

    QVector<QStringList> rows;
    QVector<Range> merges;

    // The sheet of the range the non-empty cells occupy, its top-left cell
    // becoming row 0, column 0, with the merges moved along (those wholly
    // above or left of it dropped). The range reaches on to the far corners
    // of the merges and to the last row and column the file says it uses
    // (-1 where it says nothing), so empty rows and columns at the end that
    // belong to the table stay; a declared size that would pass maxCells is
    // taken for a false claim and ignored. Rows holding a cell span the
    // range's width; rows holding none are empty lists. False, leaving
    // *sheet alone, when the range holds more than maxCells cells.
    static bool fromCells(const std::vector<Cell> &cells, const QVector<Range> &merges,
                          qint64 maxCells, Sheet *sheet, int declaredLastRow = -1,
                          int declaredLastColumn = -1);

    // A row of width empty cells.
    static QStringList blankRow(int width);

    int rowCount() const { return rows.size(); }
    // The length of the longest row.
    int columnCount() const;
    QString cell(int row, int column) const;
    // Grows the sheet as needed.
    void setCell(int row, int column, const QString &text);
};
