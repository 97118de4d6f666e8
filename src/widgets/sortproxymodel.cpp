#include "sortproxymodel.h"

#include <QApplication>
#include <QRegularExpression>
#include <QStyle>

namespace {

inline bool isDigit(const QChar *c)
{
    return c->unicode() >= '0' && c->unicode() <= '9';
}

} // namespace

SortProxyModel::SortProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    // The command-line tool has no widget style to take the icons from.
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QStyle *style = QApplication::style();
        m_ascendingIcon = style->standardIcon(QStyle::SP_ArrowUp);
        m_descendingIcon = style->standardIcon(QStyle::SP_ArrowDown);
    }
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setFilterKeyColumn(-1);
}

int SortProxyModel::naturalCompare(const QString &a, const QString &b)
{
    const QChar *p = a.constData();
    const QChar *const pEnd = p + a.size();
    const QChar *q = b.constData();
    const QChar *const qEnd = q + b.size();
    // Equal numbers written with different leading zeros ("7" and "007")
    // still need an order, or sorting would not be total; decided by the
    // first such run, and only when nothing else differs.
    int zeroTie = 0;

    while (p < pEnd && q < qEnd) {
        if (isDigit(p) && isDigit(q)) {
            const QChar *pStart = p;
            const QChar *qStart = q;
            while (p < pEnd && p->unicode() == '0')
                ++p;
            while (q < qEnd && q->unicode() == '0')
                ++q;
            const QChar *pZeros = p;
            const QChar *qZeros = q;
            while (p < pEnd && isDigit(p))
                ++p;
            while (q < qEnd && isDigit(q))
                ++q;
            const qptrdiff pDigits = p - pZeros;
            const qptrdiff qDigits = q - qZeros;
            if (pDigits != qDigits)
                return pDigits < qDigits ? -1 : 1;
            for (qptrdiff i = 0; i < pDigits; ++i) {
                if (pZeros[i] != qZeros[i])
                    return pZeros[i].unicode() < qZeros[i].unicode() ? -1 : 1;
            }
            if (zeroTie == 0 && (pZeros - pStart) != (qZeros - qStart))
                zeroTie = (pZeros - pStart) < (qZeros - qStart) ? -1 : 1;
            continue;
        }
        if (p->unicode() != q->unicode())
            return p->unicode() < q->unicode() ? -1 : 1;
        ++p;
        ++q;
    }
    if (p < pEnd)
        return 1;
    if (q < qEnd)
        return -1;
    return zeroTie;
}

void SortProxyModel::sortOnly(int column)
{
    if (column < 0)
        return;
    if (m_sortColumns.size() == 1 && m_sortColumns.first() == column) {
        m_orders[column] = columnOrder(column) == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                     : Qt::AscendingOrder;
    } else {
        m_sortColumns = {column};
        m_orders.clear();
        m_orders.insert(column, Qt::AscendingOrder);
    }
    applySorting();
}

void SortProxyModel::addSortColumn(int column)
{
    if (column < 0)
        return;
    if (m_sortColumns.contains(column)) {
        m_orders[column] = columnOrder(column) == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                     : Qt::AscendingOrder;
    } else {
        m_sortColumns.append(column);
        m_orders.insert(column, Qt::AscendingOrder);
    }
    applySorting();
}

void SortProxyModel::clearSorting()
{
    m_sortColumns.clear();
    m_orders.clear();
    applySorting();
}

Qt::SortOrder SortProxyModel::columnOrder(int column) const
{
    return m_orders.value(column, Qt::AscendingOrder);
}

void SortProxyModel::applySorting()
{
    const int primary = m_sortColumns.isEmpty() ? -1 : m_sortColumns.first();
    setFilterKeyColumn(primary);
    const Qt::SortOrder order = columnOrder(primary);
    // The base class skips a sort whose column and order it already has,
    // which is exactly the case when only a further column changed.
    if (primary >= 0 && sortColumn() == primary && sortOrder() == order)
        invalidate();
    else
        QSortFilterProxyModel::sort(primary, order);
    if (const int columns = columnCount())
        emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
}

void SortProxyModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumns.clear();
    m_orders.clear();
    if (column >= 0) {
        m_sortColumns.append(column);
        m_orders.insert(column, order);
    }
    applySorting();
}

void SortProxyModel::setFilterText(const QString &text)
{
    m_filterText = text;
    QRegularExpression expression(text, QRegularExpression::CaseInsensitiveOption);
    if (!expression.isValid())
        expression.setPattern(QRegularExpression::escape(text));
    setFilterRegularExpression(expression);
}

QVariant SortProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        const int position = m_sortColumns.indexOf(section);
        if (role == Qt::DisplayRole && position >= 0 && m_sortColumns.size() >= 2) {
            return QStringLiteral("%1: %2").arg(position + 1).arg(
                QSortFilterProxyModel::headerData(section, orientation, role).toString());
        }
        if (role == Qt::DecorationRole && position >= 0)
            return columnOrder(section) == Qt::AscendingOrder ? m_ascendingIcon
                                                              : m_descendingIcon;
    }
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

bool SortProxyModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    // The base class reverses the whole comparison for a descending first
    // column, so further columns are compared relative to that order.
    const Qt::SortOrder primaryOrder = columnOrder(m_sortColumns.value(0, -1));
    const QAbstractItemModel *model = sourceModel();
    for (const int column : m_sortColumns) {
        const QModelIndex l = column == left.column() ? left : left.sibling(left.row(), column);
        const QModelIndex r = column == right.column() ? right : right.sibling(right.row(), column);
        int result = naturalCompare(model->data(l, sortRole()).toString(),
                                    model->data(r, sortRole()).toString());
        if (columnOrder(column) != primaryOrder)
            result = -result;
        if (result != 0)
            return result < 0;
    }
    // Equal rows keep the model's order, whatever order an earlier sort
    // left them in.
    return primaryOrder == Qt::AscendingOrder ? left.row() < right.row()
                                              : left.row() > right.row();
}
