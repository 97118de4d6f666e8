#include "shapemimedata.h"

#include "model/config.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"

ShapeMimeData::ShapeMimeData(const QList<QGraphicsItem *> &source)
    : m_sourceFolder(Config::instance()->pictureFolder())
{
    for (QGraphicsItem *item : source) {
        QGraphicsItem *copy = nullptr;
        if (auto *shape = singleShape(item))
            copy = shape->clone();
        else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
            copy = group->clone();
        if (copy)
            m_items.append(copy);
    }
}

ShapeMimeData::~ShapeMimeData()
{
    qDeleteAll(m_items);
}
