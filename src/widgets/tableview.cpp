#include "tableview.h"

#include "sortproxymodel.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyleFactory>

TableView::TableView(QWidget *parent)
    : QTableView(parent)
    , m_proxy(new SortProxyModel(this))
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        fusion->setParent(this);
        setStyle(fusion);
    }
    QTableView::setModel(m_proxy);
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TableView::onSectionClicked);
}

void TableView::setModel(QAbstractItemModel *model)
{
    if (m_proxy->sourceModel() != model)
        m_proxy->setSourceModel(model);
}

QAbstractItemModel *TableView::sourceModel() const
{
    return m_proxy->sourceModel();
}

void TableView::setHeaderSorting(bool enabled)
{
    m_headerSorting = enabled;
    horizontalHeader()->setSectionsClickable(true);
    if (!enabled)
        m_proxy->clearSorting();
}

QList<int> TableView::selectedSourceRows() const
{
    QList<int> viewRows;
    const QModelIndexList rows = selectionModel()->selectedRows();
    viewRows.reserve(rows.size());
    for (const QModelIndex &index : rows)
        viewRows.append(index.row());
    std::sort(viewRows.begin(), viewRows.end());

    QList<int> sourceRows;
    sourceRows.reserve(viewRows.size());
    for (const int row : qAsConst(viewRows))
        sourceRows.append(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    return sourceRows;
}

QString TableView::selectedRowsText() const
{
    const QAbstractItemModel *model = sourceModel();
    if (!model)
        return QString();
    QString text;
    const QList<int> rows = selectedSourceRows();
    const int columns = model->columnCount();
    for (const int row : rows) {
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                text += QLatin1Char('\t');
            text += model->index(row, column).data().toString();
        }
        text += QLatin1Char('\n');
    }
    return text;
}

bool TableView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader()->viewport()
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonRelease)) {
        m_clickModifiers = static_cast<QMouseEvent *>(event)->modifiers();
    }
    return QTableView::eventFilter(watched, event);
}

void TableView::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy) {
        // Only whole rows are selected, so the rows are what a user copies;
        // the base class would copy the current cell alone.
        const QString text = selectedRowsText();
        if (!text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
        event->accept();
        return;
    }
    const QScopedValueRollback<bool> user(m_userInput, true);
    QTableView::keyPressEvent(event);
}

void TableView::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    // A click on the row that already is current is a choice as well.
    const QModelIndex pressed = indexAt(event->pos());
    if (pressed.isValid() && pressed.row() == currentIndex().row())
        emit currentPicked(currentIndex());
}

void TableView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_userInput && current.isValid())
        emit currentPicked(current);
}

void TableView::onSectionClicked(int column)
{
    if (m_headerSorting) {
        if (m_clickModifiers & Qt::AltModifier)
            m_proxy->clearSorting();
        else if (m_clickModifiers & Qt::ControlModifier)
            m_proxy->addSortColumn(column);
        else
            m_proxy->sortOnly(column);
        // The numbers and icons widen the headers; keep them readable.
        QHeaderView *header = horizontalHeader();
        for (int section = 0; section < header->count(); ++section) {
            const int wanted = header->sectionSizeHint(section);
            if (header->sectionSize(section) < wanted)
                header->resizeSection(section, wanted);
        }
    }
    emit headerClicked(column);
}
