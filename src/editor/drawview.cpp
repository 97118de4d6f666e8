#include "drawview.h"

#include "editor/drawscene.h"

DrawView::DrawView(QGraphicsScene *scene, QWidget *parent)
    : QGraphicsView(scene, parent)
{
}

DrawScene *DrawView::drawScene() const
{
    return qobject_cast<DrawScene *>(scene());
}

void DrawView::setZoomFactor(qreal factor)
{
    if (factor <= 0)
        return;
    m_zoom = factor;
    setTransform(QTransform::fromScale(factor, factor));
}
