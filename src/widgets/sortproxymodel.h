#pragma once

#include <QIcon>
#include <QList>
#include <QMap>
#include <QSortFilterProxyModel>

// The sorting and filtering layer between a tag table and its model.
//
// Rows sort by one or more columns, each ascending or descending, comparing
// display texts in natural order. The filter is a case-insensitive regular
// expression matched against the first sort column, or against every column
// while the model is unsorted.
class SortProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit SortProxyModel(QObject *parent = nullptr);

    // Compares texts in natural order: runs of decimal digits compare by
    // their value, everything else by UTF-16 code, so "变量_2" comes before
    // "变量_10". Where the values are equal the run with fewer leading
    // zeros comes first. Returns <0, 0 or >0.
    static int naturalCompare(const QString &a, const QString &b);

    // Makes column the only sort column; a column that already was the only
    // one reverses its order instead.
    void sortOnly(int column);
    // Adds column as the last sort column, or reverses its order when it
    // already takes part.
    void addSortColumn(int column);
    // Back to the model's own row order.
    void clearSorting();

    // Sort columns in priority order, and the order of one of them
    // (ascending for a column that does not take part).
    QList<int> sortColumns() const { return m_sortColumns; }
    Qt::SortOrder columnOrder(int column) const;

    // Filters with text as a case-insensitive regular expression. A text
    // that is no valid expression is matched literally, so that a stray
    // bracket does not hide every row. The empty text shows every row.
    void setFilterText(const QString &text);
    QString filterText() const { return m_filterText; }

    // The standard entry (QTableView::sortByColumn, a proxy above this one):
    // sorts by column alone in order, as a header click does; a negative
    // column goes back to the model's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    void applySorting();

    QMap<int, Qt::SortOrder> m_orders;
    QList<int> m_sortColumns;
    QIcon m_ascendingIcon;
    QIcon m_descendingIcon;
    QString m_filterText;
};
