#pragma once

#include "screentype.h"
#include "shapes/graphicsitem.h"
#include "shapes/widgethost.h"

#include <QBrush>
#include <QGraphicsScene>
#include <QMap>
#include <QPen>
#include <QPointer>
#include <QtNumeric>

class DrawView;
class GraphicsItemGroup;

// One screen of the project (base, window or template screen). The scene
// rectangle is the panel's display area and the items are the shapes; the
// scene owns them.
//
// Mouse events go to the drawing tool chosen in DrawTool::currentShape.
// Each finished gesture is reported through one of the signals below; the
// main window turns it into an undo entry. The Format menus' alignment and
// grouping are public here; the stacking order is StackingOrder's.
class DrawScene : public QGraphicsScene, public WidgetHost
{
    Q_OBJECT
    Q_PROPERTY(double width READ width WRITE setWidth)
    Q_PROPERTY(double height READ height WRITE setHeight)
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(GraphicsItem::BrushStyle brushStyle READ brushStyle WRITE setBrushStyle)
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)

public:
    // Names itself "<type name>_<n>" with n counted per screen type since
    // the project was created or opened, and takes the panel size from
    // Config (half of it, rounded half up, for a window screen).
    explicit DrawScene(int type = BaseScreen, QObject *parent = nullptr);
    ~DrawScene() override;

    // The view showing this scene; set by whoever creates the view. Null
    // when there is none (or it has been deleted).
    DrawView *view() const;
    void setView(DrawView *view);

    // A ScreenType value.
    int type() const { return m_type; }
    void setType(int type) { m_type = type; }
    // The editing aids drawn over the screen fill: the dashed grid (spaced,
    // coloured and shown as EditorSettings says, followed as it changes) and
    // the right and bottom edge lines. On by default; pictures of the screen
    // as the panel shows it turn them off.
    bool gridVisible() const { return m_gridVisible; }
    void setGridVisible(bool visible);
    QPen pen() const { return m_pen; }
    // The fill of the screen area.
    QBrush brush() const { return m_brush; }

    // Screens constructed per type since the project was created or
    // opened. Never decremented while the project is open.
    static QMap<int, int> &screenCounters();
    // Closing a project starts every count from 1 again.
    static void resetScreenCounters();

    double width() const;
    void setWidth(double width);
    double height() const;
    void setHeight(double height);
    QColor penColor() const { return m_pen.color(); }
    void setPenColor(const QColor &colour);
    GraphicsItem::BrushStyle brushStyle() const;
    void setBrushStyle(GraphicsItem::BrushStyle style);
    QColor brushColor() const { return m_brush.color(); }
    void setBrushColor(const QColor &colour);

    // Runs QGraphicsScene's own press, move or release handling; tools call
    // it for Qt's selection, dragging and rubber band. Other event types
    // are ignored.
    void mouseEvent(QGraphicsSceneMouseEvent *event);

    // Gives a single shape or a group its generated name "<type name>_<n>",
    // n counted per shape class in this scene; a name already in use gets
    // "_1" appended (one pass over the shapes, bottom first). Other items
    // are left alone.
    void assignItemName(QGraphicsItem *item);

    // Every shape and group (type above QGraphicsItem::UserType), members
    // of groups included, bottom first.
    QList<QGraphicsItem *> userItems() const;

    // The Format menu's alignment commands, named after their actions. The
    // centre alignments are named after the line the centres end up on:
    // AlignHCenter puts them on one horizontal line.
    enum Alignment {
        AlignTop = 0,
        AlignHCenter = 1,
        AlignVCenter = 2,
        AlignBottom = 3,
        AlignLeft = 4,
        AlignRight = 5,
        DistributeHorizontally = 7,
        DistributeVertically = 8,
        SameWidth = 9,
        SameHeight = 10,
        SameSize = 11
    };
    Q_ENUM(Alignment)

    // Aligns, distributes or equalises the size of the selection against
    // its first item. Does nothing when the selection is empty. Emits
    // itemMoved per shape that moved or itemResize (with the scene point
    // that stayed in place) per shape that changed size; a shape left as it
    // was is not reported. Equal sizes skip groups and any shape (or
    // reference) of zero width or height.
    void alignItems(Alignment how);

    // Binds items into a new group under their common parent item (if
    // any), with the highest z of the items and a generated name. The group
    // is added to this scene when it has no parent and addToScene is set;
    // otherwise the caller adds it. Items already inside a group stay
    // where they are. The scene (or the parent) owns the group. A group
    // formed from a file gets its stored name instead (nameIt false), which
    // neither advances the counters nor scans the screen.
    // Whether grouping items would nest some group deeper than a project
    // file may hold (it could then never be opened again); if so the user
    // is told (statusMessage) and nothing should be grouped.
    bool refuseTooDeepGroup(const QList<QGraphicsItem *> &items);
    GraphicsItemGroup *createGroup(const QList<QGraphicsItem *> &items, bool addToScene = true,
                                   bool nameIt = true);
    // Takes the members out (they keep their scene positions and end up
    // selected), then removes and deletes the group.
    void destroyGroup(GraphicsItemGroup *group);

    // Widget shapes make their widgets on first use; a view calls this
    // before it paints (and so does anything that renders the screen), so
    // that every widget shape is drawn with its widget.
    void realizeWidgets();
    void noteUnrealizedWidget() override { m_widgetsPending = true; }

    // "Lock all shapes" is on: no gesture may move, resize, reshape or
    // rotate a shape, though shapes can still be selected and edited
    // through their properties.
    static bool shapesLocked();
    // Tells the user (statusMessage) that a gesture was refused because the
    // shapes are locked.
    void reportLocked();

signals:
    // item is null when the whole selection moved; oldPosition carries the
    // displacement (new minus old position).
    void itemMoved(QGraphicsItem *item, QPointF oldPosition);
    void itemRotate(QGraphicsItem *item, qreal oldAngle);
    void itemAdded(QGraphicsItem *item);
    // scale holds the x and y factors of the whole gesture. A gesture that
    // turned the shape inside out names in oppositeHandle the handle whose
    // opposite point stayed fixed (0: the dragged one's), for undo;
    // fixedPoint is that point in the scene, not finite when not given.
    void itemResize(QGraphicsItem *item, int handle, const QPointF &scale, int oppositeHandle = 0,
                    const QPointF &fixedPoint = QPointF(qQNaN(), qQNaN()));
    void itemControl(QGraphicsItem *item, int handle, const QPointF &newPos,
                     const QPointF &lastPos_);
    void itemDoubleClicked();
    // A tool received a press; the argument is view().
    void currentViewChanged(QWidget *view);
    // The tool of DrawTool::currentShape changed during a mouse or key
    // event (a drawing tool finished, Escape): shape is the tool now.
    void currentToolChanged(int shape);
    // A short note for the status bar, such as a gesture refused.
    void statusMessage(const QString &text);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;

private:
    void rebuildBrush();
    // Emits currentToolChanged() when the tool is no longer before.
    void reportToolChange(int before);
    void alignEdges(Alignment how, QGraphicsItem *reference, const QList<QGraphicsItem *> &shapes);
    void distribute(bool horizontal, const QList<QGraphicsItem *> &shapes);
    void equaliseSize(Alignment how, QGraphicsItem *reference,
                      const QList<QGraphicsItem *> &shapes);

    QPointer<DrawView> m_view;
    QPointF m_movedBy;
    bool m_keyMoved = false;
    bool m_gridVisible = true;
    bool m_widgetsPending = false;
    QMap<QString, int> m_nameCounters;
    int m_type;
    QPen m_pen;
    QBrush m_brush;
    int m_brushStyle = GraphicsItem::SolidPattern;
};
