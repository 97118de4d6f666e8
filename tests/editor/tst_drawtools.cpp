#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/polygontool.h"
#include "editor/selecttool.h"
#include "editor/shapecommands.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicspolyline.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

struct GestureSpies
{
    explicit GestureSpies(DrawScene *s)
        : moved(s, &DrawScene::itemMoved)
        , rotated(s, &DrawScene::itemRotate)
        , added(s, &DrawScene::itemAdded)
        , resized(s, &DrawScene::itemResize)
        , controlled(s, &DrawScene::itemControl)
    { }
    int total() const
    {
        return moved.count() + rotated.count() + added.count() + resized.count()
            + controlled.count();
    }
    QSignalSpy moved, rotated, added, resized, controlled;
};

class TestDrawTools : public QObject
{
    Q_OBJECT

    DrawScene *m_scene = nullptr;
    DrawView *m_view = nullptr;

    void newScene()
    {
        m_scene = new DrawScene(BaseScreen);
        m_view = new DrawView(m_scene);
        m_scene->setView(m_view);
        m_view->resize(1000, 700);
        m_view->show();
    }
    void send(QEvent::Type type, const QPointF &scenePoint, Qt::MouseButtons buttons)
    {
        const QPointF local = m_view->mapFromScene(scenePoint);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, m_view->viewport()->mapToGlobal(local.toPoint()), button,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &event);
    }
    void hover(const QPointF &p) { send(QEvent::MouseMove, p, Qt::NoButton); }
    void press(const QPointF &p) { send(QEvent::MouseButtonPress, p, Qt::LeftButton); }
    void dragTo(const QPointF &p) { send(QEvent::MouseMove, p, Qt::LeftButton); }
    void release(const QPointF &p) { send(QEvent::MouseButtonRelease, p, Qt::NoButton); }
    void gesture(const QList<QPointF> &points)
    {
        hover(points.first());
        press(points.first());
        for (const QPointF &p : points.mid(1))
            dragTo(p);
        release(points.last());
    }
    void finishPoints(const QPointF &p)
    {
        send(QEvent::MouseButtonDblClick, p, Qt::LeftButton);
        release(p);
    }
    void escape()
    {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(m_view, &event);
    }
    // Items a tool added and did not take away again (outlines).
    int helperItems() const
    {
        int n = 0;
        for (const QGraphicsItem *item : m_scene->items())
            n += !item->parentItem() && item->type() <= QGraphicsItem::UserType;
        return n;
    }
    GraphicsPolygonItem *addPoints(GraphicsPolygonItem *shape, const QList<QPointF> &points)
    {
        m_scene->addItem(shape);
        for (const QPointF &p : points)
            shape->appendPoint(p);
        shape->finishPoints(QPointF());
        shape->normalizeGeometry();
        return shape;
    }
    static QPolygonF points(const GraphicsPolygonItem *shape)
    {
        return shape->mapToScene(shape->points());
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QGraphicsItem *>();
        DrawTool::createTools();
    }

    void init()
    {
        ProcessFixture::start(800, 480);
        newScene();
    }

    void cleanup()
    {
        delete m_view;
        delete m_scene;
        m_view = nullptr;
        m_scene = nullptr;
    }

    void move()
    {
        // Grabbed by the fixed shape: the others still go, and only they hold
        // the outline back at the edges.
        const QList<QRectF> boxes {QRectF(100, 100, 100, 50), QRectF(300, 100, 100, 50),
                                   QRectF(300, 300, 100, 50)};
        const QList<bool> fixed {true, false, false};
        const QPointF grab(150, 125), drop(550, 125), delta(400, 0);
        QList<GraphicsRectItem *> shapes;
        QRectF movingBox;
        for (int i = 0; i < boxes.size(); ++i) {
            shapes << addRect(m_scene, boxes.at(i));
            shapes.last()->setFixe(fixed.at(i));
            shapes.last()->setSelected(true);
            if (!fixed.at(i))
                movingBox |= boxes.at(i);
        }
        auto placedAt = [&](bool moved) {
            for (int i = 0; i < shapes.size(); ++i) {
                const QPointF by = fixed.at(i) || !moved ? QPointF() : delta;
                if (sceneBox(shapes.at(i)) != boxes.at(i).translated(by))
                    return false;
            }
            return true;
        };
        auto *tool = dynamic_cast<SelectTool *>(DrawTool::findTool(0));
        GestureSpies spies(m_scene);
        hover(grab);
        press(grab);
        dragTo((grab + drop) / 2);
        dragTo(drop);
        // Only the outline follows the mouse, showing where the movable
        // shapes are going.
        QVERIFY(placedAt(false));
        const QGraphicsPathItem *outline = tool->dashRect();
        QCOMPARE(outline->mapRectToScene(outline->path().boundingRect()).center(),
                 movingBox.center() + delta);
        release(drop);
        QVERIFY(placedAt(true));
        QCOMPARE(spies.total(), 1);
        QCOMPARE(helperItems(), 0);
        QCOMPARE(spies.moved.first().at(1).toPointF(), delta);
        // Undo, as the editor records it, moves back only what moved.
        QUndoStack stack;
        stack.push(new MoveShapeCommand(m_scene, delta));
        stack.undo();
        QVERIFY(placedAt(false));
    }

    void hiddenHandlesAreNeverGrabbed()
    {
        // A drag from where the right edge's handle would be.
        for (bool group : {false, true}) {
            for (bool shown : {true, false}) {
                QGraphicsItem *target = addRect(m_scene, QRectF(100, 100, 100, 60));
                if (group) {
                    target = m_scene->createGroup(
                        {target, addRect(m_scene, QRectF(150, 100, 50, 60))});
                    static_cast<GraphicsItemGroup *>(target)->setFixe(false);
                }
                target->setSelected(true);
                const int state = shown ? SizeHandleRect::Shown : SizeHandleRect::Hidden;
                if (group)
                    static_cast<GraphicsItemGroup *>(target)->setHandlesState(state);
                else
                    static_cast<GraphicsRectItem *>(target)->setHandlesState(state);
                gesture({QPointF(200, 130), QPointF(220, 130), QPointF(240, 130)});
                QCOMPARE(sceneBox(target).width(), shown ? 140.0 : 100.0);
                cleanup();
                newScene();
            }
        }
    }

    void reshapeUndoesExactly_data()
    {
        // A rectangle (100, 100, 100, 60), or a triangle in that box, dragged
        // by a box handle past the fixed point (opposite: the handle the tool
        // names for undo); the triangle's box handles lie on its stroke, so
        // its fixed point is no handle. Or the second point of a triangle
        // dragged from inside its handle, off its centre by from.
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<int>("opposite"); // -1: a point drag
        auto row = [](const char *name, const char *shape, QPointF from, QPointF to, int opposite) {
            QTest::newRow(name) << QString(shape) << from << to << opposite;
        };
        row("right-bottom across both axes", "rect", {200, 160}, {50, 40}, 1);
        row("triangle across the left edge", "polygon", {200, 130}, {50, 145}, 8);
        row("turned polyline point", "polyline", {-3, 3}, {260, 150}, -1);
    }

    void reshapeUndoesExactly()
    {
        QFETCH(QString, shape);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(int, opposite);
        GraphicsItem *item = shape == "rect"
            ? static_cast<GraphicsItem *>(addRect(m_scene, QRectF(100, 100, 100, 60)))
            : addPoints(shape == "polyline" ? new GraphicsPolyline : new GraphicsPolygonItem,
                        {QPointF(100, 100), QPointF(200, 100), QPointF(130, 160)});
        item->setRotation(shape == "polyline" ? 30 : 0);
        auto picture = [item] {
            auto *polygon = dynamic_cast<GraphicsPolygonItem *>(item);
            return polygon ? points(polygon) : item->mapToScene(item->boundingRect());
        };
        const QPolygonF before = picture();
        if (opposite < 0)
            from += before.at(1);
        item->setSelected(true);
        GestureSpies spies(m_scene);
        gesture({from, to});
        QCOMPARE(spies.total(), 1);
        // Recorded as the editor records it.
        QUndoStack stack;
        if (opposite < 0) {
            const QList<QVariant> args = spies.controlled.first();
            QCOMPARE(args.at(3).toPointF(), before.at(1)); // the point, not the press
            QCOMPARE(picture().at(1), to);
            stack.push(new ControlShapeCommand(item, args.at(1).toInt(), args.at(2).toPointF(),
                                               args.at(3).toPointF()));
        } else {
            const QList<QVariant> args = spies.resized.first();
            QCOMPARE(args.at(3).toInt(), opposite);
            auto *command = new ResizeShapeCommand(item, args.at(1).toInt(), args.at(2).toPointF());
            command->setOppositeHandle(args.at(3).toInt());
            command->setFixedPoint(args.at(4).toPointF());
            stack.push(command);
        }
        const QPolygonF after = picture();
        QVERIFY(after != before);
        stack.undo();
        QCOMPARE(picture(), before);
        stack.redo();
        QCOMPARE(picture(), after);
    }

    void creationClickLeavesNothing_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("continuous");
        QTest::addColumn<bool>("doubleClicked");
        QTest::newRow("box, continuous insert") << 4 << true << false;
        QTest::newRow("line") << 2 << false << false;
        QTest::newRow("polygon double-clicked in place") << 6 << false << true;
    }

    void creationClickLeavesNothing()
    {
        QFETCH(int, code);
        QFETCH(bool, continuous);
        QFETCH(bool, doubleClicked);
        DrawTool::currentShape = code;
        DrawTool::continuousInsert = continuous;
        auto *tool = dynamic_cast<PolygonTool *>(DrawTool::findTool(code));
        GestureSpies spies(m_scene);
        const QPointF at(150, 120);
        gesture({at});
        if (doubleClicked)
            finishPoints(at);
        QCOMPARE(m_scene->items().size(), 0);
        QCOMPARE(spies.total(), 0);
        QVERIFY(!tool || (!tool->item() && tool->pointCount() == 0));
        QCOMPARE(DrawTool::currentShape, continuous ? code : 0);
        DrawTool::continuousInsert = false;
    }

    void escapeCancelsTheShapeBeingDrawn()
    {
        GraphicsRectItem *other = addRect(m_scene, QRectF(500, 300, 50, 50));
        GestureSpies spies(m_scene);
        DrawTool::currentShape = 6;
        auto *tool = dynamic_cast<PolygonTool *>(DrawTool::findTool(6));
        for (const QPointF &p : {QPointF(100, 100), QPointF(200, 120), QPointF(150, 200)})
            gesture({p});
        // The select tool chosen meanwhile must not take up the unfinished
        // point drag on hover.
        const QPolygonF before = points(tool->item());
        DrawTool::currentShape = 0;
        hover(QPointF(150, 110));
        hover(QPointF(300, 300));
        QCOMPARE(points(tool->item()), before);
        escape();
        QCOMPARE(m_scene->userItems(), (QList<QGraphicsItem *> {other}));
        QVERIFY(!tool->item());
        // Chosen again, the tool starts a new shape at the next click.
        DrawTool::currentShape = 6;
        gesture({QPointF(300, 100)});
        QCOMPARE(tool->pointCount(), 2);
        escape();
        QCOMPARE(spies.total(), 0);
    }

};

QTEST_MAIN(TestDrawTools)
#include "tst_drawtools.moc"
