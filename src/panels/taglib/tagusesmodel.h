#pragma once

#include <QHash>
#include <QIdentityProxyModel>

// A tag table with one more column after the model's own: how many shapes
// use each row's tag, by the name the shapes know it by (the row's
// nameRole data when it has any, else its name cell). The column is the
// table's alone: the model, its exports and its copies never hold it.
class TagUsesModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    TagUsesModel(int nameColumn, int nameRole, QObject *parent = nullptr);

    // Shapes per tag name; a name it lacks counts 0.
    void setCounts(const QHash<QString, int> &counts);
    // Counts the current project's shapes per address tag and system
    // register name.
    void recount();
    // The added column's position: the model's column count.
    int usesColumn() const;

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &index) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool isUsesIndex(const QModelIndex &index) const;

    int m_nameColumn;
    int m_nameRole;
    QHash<QString, int> m_counts;
};
