#include "drawview.h"

#include "drawscene.h"
#include "qtcornerbox.h"
#include "qtrulebar.h"
#include "services/editorsettings.h"
#include "services/menuseam.h"
#include "shapes/graphicsitem.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

double &zoomSlot()
{
    static double zoom = 1.0;
    return zoom;
}

DrawView::MenuProvider &menuProviderSlot()
{
    static DrawView::MenuProvider provider;
    return provider;
}

} // namespace

DrawView::DrawView(QGraphicsScene *scene)
    : QGraphicsView(scene, nullptr)
    , m_horizontalRuler(new QtRuleBar(Qt::Horizontal, this))
    , m_verticalRuler(new QtRuleBar(Qt::Vertical, this))
    , m_cornerBox(new QtCornerBox(this))
{
    setOptimizationFlags(QGraphicsView::DontSavePainterState);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setAttribute(Qt::WA_DeleteOnClose);
    // Also set on every resize; setting them now means the first layout
    // already centres the screen in the viewport that remains, since the
    // centring is computed before a resize changes the margins.
    setViewportMargins(ViewportMargin, ViewportMargin, 0, 0);
}

QList<QGraphicsItem *> DrawView::markedItems(const QGraphicsScene *scene, const QRectF &area)
{
    QList<QGraphicsItem *> marked;
    if (!scene)
        return marked;
    const QList<QGraphicsItem *> items = scene->items(area, Qt::IntersectsItemBoundingRect,
                                                      Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        if (item->isVisible() && shapeObject(item) && !shapeBindings(item).isEmpty())
            marked.append(item);
    }
    return marked;
}

QRectF DrawView::markerRect(const QGraphicsItem *item, double scale)
{
    // 11 by 8 pixels, 2 pixels in from the corner.
    const double unit = scale > 0 ? 1.0 / scale : 1.0;
    const QPointF corner = item->sceneBoundingRect().topLeft();
    return QRectF(corner + QPointF(2 * unit, 2 * unit), QSizeF(11 * unit, 8 * unit));
}

void DrawView::drawForeground(QPainter *painter, const QRectF &rect)
{
    QGraphicsView::drawForeground(painter, rect);
    if (!EditorSettings::instance()->values().bindingMarkers)
        return;
    const double scale = painter->worldTransform().m11();
    const QList<QGraphicsItem *> marked = markedItems(scene(), rect);
    if (marked.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPen outline(QColor(90, 50, 0));
    outline.setCosmetic(true);
    painter->setPen(outline);
    painter->setBrush(QColor(255, 140, 0));
    for (const QGraphicsItem *item : marked) {
        // A luggage tag: a box with a pointed left end and a hole.
        const QRectF box = markerRect(item, scale);
        const double tip = box.height() / 2;
        QPainterPath tag;
        tag.moveTo(box.left(), box.center().y());
        tag.lineTo(box.left() + tip, box.top());
        tag.lineTo(box.right(), box.top());
        tag.lineTo(box.right(), box.bottom());
        tag.lineTo(box.left() + tip, box.bottom());
        tag.closeSubpath();
        const double hole = box.height() / 5;
        tag.addEllipse(QPointF(box.left() + tip, box.center().y()), hole, hole);
        painter->drawPath(tag);
    }
    painter->restore();
}

void DrawView::showEvent(QShowEvent *event)
{
    QGraphicsView::showEvent(event);
    if (m_shownBefore)
        return;
    m_shownBefore = true;
    // The view centres a screen larger than itself; a screen is read from
    // its top-left corner, where its origin and the rulers start.
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

DrawScene *DrawView::drawScene() const
{
    return qobject_cast<DrawScene *>(scene());
}

void DrawView::setZoom(double factor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    zoomSlot() = factor;
    applyZoom();
}

void DrawView::applyZoom()
{
    const double factor = zoomSlot();
    const double current = transform().m11();
    if (current != factor) {
        if (current > 0 && std::isfinite(current)) {
            scale(factor / current, factor / current);
        } else {
            // A transform set from outside that cannot be divided by starts
            // over from an unscaled view.
            resetTransform();
            scale(factor, factor);
        }
    }
    viewport()->update();
    updateRulers();
}

double DrawView::zoomFactor() const
{
    return transform().m11();
}

double DrawView::sharedZoom()
{
    return zoomSlot();
}

void DrawView::updateRulers()
{
    if (!scene())
        return;
    const double s = transform().m11();
    if (s == 0 || !std::isfinite(s))
        return;
    const QPoint origin = mapFromScene(scene()->sceneRect().topLeft());

    const double left = -origin.x() / s;
    const double right = (width() - RulerSize - origin.x()) / s;
    m_horizontalRuler->setRange(left, right, right - left);

    const double top = -origin.y() / s;
    const double bottom = (height() - RulerSize - origin.y()) / s;
    m_verticalRuler->setRange(top, bottom, bottom - top);

    m_horizontalRuler->update();
    m_verticalRuler->update();
}

void DrawView::setContextMenuProvider(MenuProvider provider)
{
    menuProviderSlot() = std::move(provider);
}

void DrawView::paintEvent(QPaintEvent *event)
{
    if (DrawScene *screen = drawScene())
        screen->realizeWidgets();
    QGraphicsView::paintEvent(event);
}

void DrawView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->localPos().toPoint();
    m_horizontalRuler->updatePosition(p);
    m_verticalRuler->updatePosition(p);
    const QPointF scenePos = mapToScene(p);
    // Truncation toward zero: a point just left of or above the screen's
    // origin still reads 0, not -1.
    emit positionChanged(int(scenePos.x()), int(scenePos.y()));
    QGraphicsView::mouseMoveEvent(event);
}

void DrawView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() != Qt::ControlModifier) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta > 0)
        emit zoomIn();
    else if (delta < 0)
        emit zoomOut();
    event->accept();
}

void DrawView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    setViewportMargins(ViewportMargin, ViewportMargin, 0, 0);
    m_horizontalRuler->setGeometry(RulerSize, 0, width() - RulerSize - 1, RulerSize);
    m_verticalRuler->setGeometry(0, RulerSize, RulerSize, height() - RulerSize - 1);
    m_cornerBox->setGeometry(0, 0, RulerSize, RulerSize);
    updateRulers();
}

void DrawView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    const MenuProvider &provider = menuProviderSlot();
    QMenu *menu = provider ? provider() : nullptr;
    if (!menu)
        return;
    MenuSeam::exec(menu, event->globalPos());
}

void DrawView::scrollContentsBy(int dx, int dy)
{
    QGraphicsView::scrollContentsBy(dx, dy);
    updateRulers();
}
