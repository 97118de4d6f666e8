#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/polygontool.h"
#include "editor/selecttool.h"
#include "editor/shapecommands.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicspolyline.h"
#include "shapes/shapekind.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QUndoStack>
#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

class TestDrawTools : public QObject
{
    Q_OBJECT

    DrawScene *m_scene = nullptr;
    DrawView *m_view = nullptr;
    QUndoStack m_stack;
    int m_opposite = 0; // named by the last resize, for its undo

    // Every finished gesture becomes an undo entry, as in the editor.
    void newScene()
    {
        m_opposite = 0;
        m_scene = new DrawScene(BaseScreen);
        m_view = new DrawView(m_scene);
        m_scene->setView(m_view);
        m_view->resize(1000, 700);
        m_view->show();
        scenetest::recordGestures(m_scene, &m_stack, &m_opposite);
    }
    void send(QEvent::Type type, const QPointF &scenePoint, Qt::MouseButtons buttons)
    {
        scenetest::sendMouse(m_view, type, scenePoint, buttons);
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
        m_stack.clear();
        delete m_view;
        delete m_scene;
        m_view = nullptr;
        m_scene = nullptr;
    }

    void move()
    {
        // Grabbed by the fixed shape: the other still goes, and only it holds
        // the outline back at the edges.
        const QRectF fixedBox(100, 100, 100, 50), box(300, 300, 100, 50);
        const QPointF grab(150, 125), drop(550, 125), delta(400, 0);
        GraphicsRectItem *fixed = addRect(m_scene, fixedBox);
        GraphicsRectItem *moving = addRect(m_scene, box);
        fixed->setFixe(true);
        fixed->setSelected(true);
        moving->setSelected(true);
        auto *tool = dynamic_cast<SelectTool *>(DrawTool::findTool(0));
        hover(grab);
        press(grab);
        dragTo((grab + drop) / 2);
        dragTo(drop);
        // Only the outline follows the mouse.
        QCOMPARE(sceneBox(moving), box);
        const QGraphicsPathItem *outline = tool->dashRect();
        QCOMPARE(outline->mapRectToScene(outline->path().boundingRect()).center(),
                 box.center() + delta);
        release(drop);
        QCOMPARE(sceneBox(moving), box.translated(delta));
        QCOMPARE(sceneBox(fixed), fixedBox);
        QCOMPARE(m_stack.count(), 1);
        QCOMPARE(helperItems(), 0);
        // Undo moves back only what moved.
        m_stack.undo();
        QCOMPARE(sceneBox(moving), box);
        QCOMPARE(sceneBox(fixed), fixedBox);
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
        // its fixed point is no handle. Or the second point of a turned
        // polyline dragged from inside its handle, off its centre by from.
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<int>("opposite"); // 0: no resize
        QTest::newRow("right-bottom across both axes")
            << "rect" << QPointF(200, 160) << QPointF(50, 40) << 1;
        QTest::newRow("triangle across the left edge")
            << "polygon" << QPointF(200, 130) << QPointF(50, 145) << 8;
        QTest::newRow("turned polyline point")
            << "polyline" << QPointF(-3, 3) << QPointF(260, 150) << 0;
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
        if (shape == "polyline")
            from += before.at(1);
        item->setSelected(true);
        gesture({from, to});
        QCOMPARE(m_stack.count(), 1);
        QCOMPARE(m_opposite, opposite);
        const QPolygonF after = picture();
        QVERIFY(after != before);
        m_stack.undo();
        QCOMPARE(picture(), before);
        m_stack.redo();
        QCOMPARE(picture(), after);
    }

    void creationClickLeavesNothing_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("continuous");
        QTest::addColumn<bool>("doubleClicked");
        QTest::newRow("line, continuous insert") << 2 << true << false;
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
        const QPointF at(150, 120);
        gesture({at});
        if (doubleClicked) {
            send(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
            release(at);
        }
        QCOMPARE(m_scene->items().size(), 0);
        QCOMPARE(m_stack.count(), 0);
        QVERIFY(!tool || (!tool->item() && tool->pointCount() == 0));
        QCOMPARE(DrawTool::currentShape, continuous ? code : 0);
        DrawTool::continuousInsert = false;
    }

    // A shape drawn over others is drawn above them, whatever their z.
    void newShapeLandsOnTop_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("rectangle") << int(RectangleKind);
        QTest::newRow("line") << int(LineKind);
    }

    void newShapeLandsOnTop()
    {
        QFETCH(int, code);
        GraphicsRectItem *below = addRect(m_scene, QRectF(100, 100, 200, 200), 5);
        DrawTool::currentShape = code;
        gesture({QPointF(150, 150), QPointF(200, 180), QPointF(250, 220)});
        DrawTool::currentShape = 0;
        QList<QGraphicsItem *> drawn = m_scene->userItems();
        drawn.removeOne(below);
        QCOMPARE(drawn.size(), 1);
        QVERIFY2(drawn.first()->zValue() > below->zValue(),
                 qPrintable(QString::number(drawn.first()->zValue())));
    }

    void escapeCancelsTheShapeBeingDrawn()
    {
        GraphicsRectItem *other = addRect(m_scene, QRectF(500, 300, 50, 50));
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
        QCOMPARE(m_stack.count(), 0);
    }
};

QTEST_MAIN(TestDrawTools)
#include "tst_drawtools.moc"
