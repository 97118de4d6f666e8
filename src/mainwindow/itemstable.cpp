#include "itemstable.h"

#include "editor/drawscene.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"
#include "widgets/sortproxymodel.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QStyleFactory>

ItemsTable::ItemsTable(QWidget *parent)
    : TableView(parent)
    , m_model(new QStandardItemModel(0, 2, this))
{
    setObjectName(QStringLiteral("ItemsTable"));
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        fusion->setParent(this);
        setStyle(fusion);
    }
    setHeaderSorting(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setModel(m_model);
    retranslate();
    connect(this, &QAbstractItemView::clicked, this, &ItemsTable::selectRow);
}

void ItemsTable::retranslate()
{
    m_model->setHorizontalHeaderLabels({tr("名称"), tr("类型")});
    resizeColumnToContents(0);
}

void ItemsTable::fill(DrawScene *scene)
{
    if (scene != m_scene) {
        if (m_scene)
            disconnect(m_scene, &QObject::destroyed, this, nullptr);
        m_scene = scene;
        if (scene)
            connect(scene, &QObject::destroyed, this, &ItemsTable::forgetScene);
    }
    if (!scene) {
        m_model->setRowCount(0);
        return;
    }
    const QList<QGraphicsItem *> items = scene->userItems();
    m_model->setRowCount(items.size());
    for (int row = 0; row < items.size(); ++row) {
        QGraphicsItem *item = items.at(row);
        QString type;
        if (auto *shape = singleShape(item))
            type = shape->typeName();
        else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
            type = group->typeName();
        const QObject *object = shapeObject(item);
        const QString name = object ? object->objectName() : QString();
        for (int column = 0; column < 2; ++column) {
            const QString text = column == 0 ? name : type;
            if (QStandardItem *cell = m_model->item(row, column))
                cell->setText(text);
            else
                m_model->setItem(row, column, new QStandardItem(text));
        }
    }
    // The type column stretches; the names need their full width, which a
    // new or pasted shape may change.
    resizeColumnToContents(0);
}

void ItemsTable::forgetScene()
{
    // The screen is being destroyed: its shapes must neither be named here
    // nor reached by a click.
    m_scene = nullptr;
    m_model->setRowCount(0);
}

void ItemsTable::selectRow(const QModelIndex &index)
{
    if (!m_scene || !index.isValid())
        return;
    const int row = proxy()->mapToSource(index).row();
    const QList<QGraphicsItem *> items = m_scene->userItems();
    m_scene->clearSelection();
    // The screen may have changed since the last fill: a row without a
    // shape selects nothing.
    if (row >= 0 && row < items.size())
        items.at(row)->setSelected(true);
}
