#pragma once

#include <QGraphicsView>

#include <functional>

class DrawScene;
class QMenu;
class QtCornerBox;
class QtRuleBar;

// The view that shows one screen in a tab, with a ruler along its top and
// left edges and a corner box where they meet. It adds no editing of its
// own: mouse editing goes to the scene.
//
// The view is created without a parent; the tab area adopts it, and it
// deletes itself when closed. The rulers and the corner box are its
// children.
class DrawView : public QGraphicsView
{
    Q_OBJECT
public:
    // Ruler thickness and the viewport margin the rulers occupy.
    static constexpr int RulerSize = 25;
    static constexpr int ViewportMargin = 24;

    explicit DrawView(QGraphicsScene *scene);

    // The screen shown, or null when the view holds another kind of scene.
    DrawScene *drawScene() const;

    // Stores factor as the zoom shared by every view (1.0 = 100 %; it
    // outlives all views) and applies it to this view; the other views
    // follow only through their own setZoom or applyZoom. A factor
    // that is zero or less, or not finite, is ignored: it would collapse or
    // mirror the screen.
    void setZoom(double factor);
    // Scales this view so that its scale equals the shared zoom, then
    // repaints it and its rulers.
    void applyZoom();
    // This view's current horizontal scale.
    double zoomFactor() const;
    // The zoom every view takes when it is shown: the last one set.
    static double sharedZoom();

    // Recomputes both rulers' ranges from the scene rectangle's position in
    // the view. Does nothing while the view has no scene.
    void updateRulers();

    QtRuleBar *horizontalRuler() const { return m_horizontalRuler; }
    QtRuleBar *verticalRuler() const { return m_verticalRuler; }
    QtCornerBox *cornerBox() const { return m_cornerBox; }

    // Gives every view the editing context menu it pops up on a right
    // click; the main window, which owns the menu, installs it. Without a
    // provider, or when it returns null, a right click shows nothing.
    using MenuProvider = std::function<QMenu *()>;
    static void setContextMenuProvider(MenuProvider provider);

    // The shapes within area (scene coordinates) that carry a binding
    // marker: single shapes, group members included, and groups holding
    // bindings of their own. The markers are the view's, drawn over the
    // screen while EditorSettings' bindingMarkers is on: never part of a
    // shape, never saved, never in a rendered picture.
    static QList<QGraphicsItem *> markedItems(const QGraphicsScene *scene, const QRectF &area);
    // The box a marker of item covers at the view scale `scale`: a fixed
    // size on the screen at any zoom, at the top-left of the shape's box.
    static QRectF markerRect(const QGraphicsItem *item, double scale);

signals:
    void positionChanged(int x, int y);
    void zoomIn();
    void zoomOut();

protected:
    void paintEvent(QPaintEvent *event) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QtRuleBar *m_horizontalRuler;
    QtRuleBar *m_verticalRuler;
    QtCornerBox *m_cornerBox;
    bool m_shownBefore = false;
};
