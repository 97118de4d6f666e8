#pragma once

#include <QObject>
#include <QPointF>

class GraphicsItemGroup;
class MainWindow;
class QGraphicsItem;
class QUndoCommand;
class StackingOrder;

// The editing commands on the current screen, each one undo step on its
// history: the clipboard, alignment, stacking order and grouping, and the
// scene's gestures (add, move, rotate, resize, reshape) turned into
// commands. Owned by the window, whose tables it refreshes.
class EditCommands : public QObject
{
    Q_OBJECT
public:
    explicit EditCommands(MainWindow *window);

    // Pushes an already applied edit onto the current screen's history and
    // marks the project modified.
    void pushCommand(QUndoCommand *command);

public slots:
    void copy();
    void cut();
    void paste();
    void remove();
    // The alignment of action key ("align_left", "align_width", ...) on
    // the selection, one step named text however many shapes it moves.
    void align(const QString &key, const QString &text);
    void moveForward();
    void moveBackward();
    void bringToFront();
    void sendToBack();
    void group();
    void ungroup();

    void itemAdded(QGraphicsItem *item);
    void itemMoved(QGraphicsItem *item, QPointF oldPosition);
    void itemRotate(QGraphicsItem *item, qreal oldAngle);
    void itemResize(QGraphicsItem *item, int handle, QPointF scale, int oppositeHandle,
                    QPointF fixedPoint);
    void itemControl(QGraphicsItem *item, int handle, QPointF newPos, QPointF lastPos);

private:
    // Whether ungrouping may go on: a group holding bindings or content
    // this version does not know asks first, as that goes with the group.
    bool confirmUngroup(const GraphicsItemGroup *group);
    // Runs one stacking-order operation of the scene on the first selected
    // shape and records it as one entry named text (the menu's).
    void restack(void (StackingOrder::*operation)(QGraphicsItem *), const char *text);

    MainWindow *m_window;
    // While one alignment reports its per-shape changes, the entry they are
    // gathered under (owned by the caller until pushed); null otherwise,
    // when each gesture signal is an entry of its own.
    QUndoCommand *m_gatheringCommand = nullptr;
};
