#include "tagusesmodel.h"

#include "document/projectdocument.h"
#include "document/tagusage.h"
#include "model/config.h"

#include <QCoreApplication>
#include <QStandardItemModel>

TagUsesModel::TagUsesModel(int nameColumn, int nameRole, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_nameColumn(nameColumn)
    , m_nameRole(nameRole)
{
}

void TagUsesModel::setCounts(const QHash<QString, int> &counts)
{
    m_counts = counts;
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, usesColumn()), index(rows - 1, usesColumn()));
}

void TagUsesModel::recount()
{
    const TagUsage usage(ProjectDocument::current()->screens());
    // The registers are counted by name as the tags are: a binding names
    // either kind the same way.
    QHash<QString, int> counts;
    const Config *config = Config::instance();
    for (const QStandardItemModel *model :
         {config->addressTagModel(), config->systemRegisterModel()}) {
        for (int row = 0; row < model->rowCount(); ++row) {
            const QStandardItem *item = model->item(row, Config::NameColumn);
            const QString name = item ? item->text() : QString();
            if (!counts.contains(name) && usage.usesAddressTag(name))
                counts.insert(name, usage.addressTagShapes(name));
        }
    }
    setCounts(counts);
}

int TagUsesModel::usesColumn() const
{
    return sourceModel() ? sourceModel()->columnCount() : 0;
}

int TagUsesModel::columnCount(const QModelIndex &parent) const
{
    if (!sourceModel() || parent.isValid())
        return 0;
    return sourceModel()->columnCount() + 1;
}

bool TagUsesModel::isUsesIndex(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.column() == usesColumn();
}

QModelIndex TagUsesModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!sourceModel() || parent.isValid() || row < 0 || row >= rowCount())
        return QModelIndex();
    if (column == usesColumn())
        return createIndex(row, column);
    return QIdentityProxyModel::index(row, column, parent);
}

QModelIndex TagUsesModel::parent(const QModelIndex &child) const
{
    // A flat table: nothing has a parent.
    Q_UNUSED(child)
    return QModelIndex();
}

QModelIndex TagUsesModel::sibling(int row, int column, const QModelIndex &index) const
{
    Q_UNUSED(index)
    return this->index(row, column);
}

QModelIndex TagUsesModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (isUsesIndex(proxyIndex))
        return QModelIndex();
    return QIdentityProxyModel::mapToSource(proxyIndex);
}

QVariant TagUsesModel::data(const QModelIndex &index, int role) const
{
    if (!isUsesIndex(index))
        return QIdentityProxyModel::data(index, role);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return role == Qt::TextAlignmentRole ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                             : QVariant();
    const QModelIndex name = sourceModel()->index(index.row(), m_nameColumn);
    const QVariant original = name.data(m_nameRole);
    const QString key = original.isValid() ? original.toString() : name.data().toString();
    return QString::number(m_counts.value(key));
}

QVariant TagUsesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == usesColumn()) {
        return role == Qt::DisplayRole ? QVariant(QCoreApplication::translate("TagUsesModel", "使用次数"))
                                       : QVariant();
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags TagUsesModel::flags(const QModelIndex &index) const
{
    if (isUsesIndex(index))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return QIdentityProxyModel::flags(index);
}
