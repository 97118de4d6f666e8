#include "itemstable.h"

#include "editor/drawscene.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"

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

void ItemsTable::fill(DrawScene *scene)
{
    m_model->removeRows(0, m_model->rowCount());
    if (!scene)
        return;
    const QList<QGraphicsItem *> items = scene->userItems();
    for (QGraphicsItem *item : items) {
        QString name;
        QString type;
        if (auto *shape = singleShape(item)) {
            type = shape->typeName();
            if (QObject *object = shapeObject(item))
                name = object->objectName();
        } else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
            type = group->typeName();
            name = group->objectName();
        } else {
            continue;
        }
        m_model->appendRow({new QStandardItem(name), new QStandardItem(type)});
    }
}
