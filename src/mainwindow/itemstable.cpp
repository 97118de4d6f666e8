#include "itemstable.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QStyleFactory>

ItemsTable::ItemsTable(QWidget *parent)
    : QTableView(parent)
    , m_model(new QStandardItemModel(0, 2, this))
{
    setObjectName(QStringLiteral("ItemsTable"));
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        fusion->setParent(this);
        setStyle(fusion);
    }
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    retranslate();
}

void ItemsTable::retranslate()
{
    m_model->setHorizontalHeaderLabels({tr("名称"), tr("类型")});
}
