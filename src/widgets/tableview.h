#pragma once

#include <QTableView>

class SortProxyModel;

// The tag table: a read-only view that puts its own SortProxyModel between
// itself and the model it is given.
//
// With header sorting on, a click on a header section sorts by that column
// alone, Ctrl+click adds the column to the sort, Alt+click removes all
// sorting. Every click emits headerClicked(). Ctrl+C copies the selected
// rows as tab-separated text, one line per row in view order, without the
// header row.
//
// currentPicked() tells a new current row the user chose with the mouse or
// the keyboard apart from one the table moved to by itself (a removed row's
// neighbour, a filter) or that a program set.
class TableView : public QTableView
{
    Q_OBJECT
public:
    explicit TableView(QWidget *parent = nullptr);

    // Installs model as the proxy's source (not owned); the view itself
    // always shows the proxy.
    void setModel(QAbstractItemModel *model) override;
    QAbstractItemModel *sourceModel() const;
    SortProxyModel *proxy() const { return m_proxy; }

    // Whether header clicks sort; off at construction.
    void setHeaderSorting(bool enabled);
    bool headerSorting() const { return m_headerSorting; }

    // Source rows of the selected rows, in view order.
    QList<int> selectedSourceRows() const;
    // The text Ctrl+C puts on the clipboard.
    QString selectedRowsText() const;

signals:
    void headerClicked(int column);
    // The user made current (the view's index, through the proxy).
    void currentPicked(const QModelIndex &current);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void onSectionClicked(int column);

    SortProxyModel *m_proxy = nullptr; // child of this
    bool m_headerSorting = false;
    // Modifiers of the header click being handled; the click signal itself
    // does not carry them, and the application-wide state is not updated by
    // synthesised events.
    Qt::KeyboardModifiers m_clickModifiers;
    // Set while the user's own key press is handled.
    bool m_userInput = false;
};
