#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/editableshape.h"
#include "editor/polygontool.h"
#include "editor/recttool.h"
#include "editor/rotationtool.h"
#include "editor/selecttool.h"
#include "editor/shapecommands.h"
#include "editor/toolboxform.h"
#include "project/config.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicslineitem.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicspolyline.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicswidgetitem.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

using scenetest::addRect;
using scenetest::placeRect;
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
    void doubleClick(const QPointF &p) { send(QEvent::MouseButtonDblClick, p, Qt::LeftButton); }
    void gesture(const QList<QPointF> &points)
    {
        hover(points.first());
        press(points.first());
        for (const QPointF &p : points.mid(1))
            dragTo(p);
        release(points.last());
    }
    // Items a tool added and did not take away again (outlines).
    int helperItems() const
    {
        int n = 0;
        for (const QGraphicsItem *item : m_scene->items())
            n += !item->parentItem() && item->type() <= QGraphicsItem::UserType;
        return n;
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

    void createWidget()
    {
        GraphicsRectItem *below = addRect(m_scene, QRectF(400, 300, 50, 50), 5);
        DrawTool::currentShape = 19;
        GestureSpies spies(m_scene);
        // The box runs from one unit inside the press point to the release.
        gesture({QPointF(100, 100), QPointF(150, 120), QPointF(200, 150)});
        const QList<QGraphicsItem *> shapes = m_scene->userItems();
        QCOMPARE(shapes.size(), 2);
        auto *created = dynamic_cast<GraphicsWidgetItem *>(shapes.last());
        QVERIFY(created && created != below);
        QCOMPARE(created->widgetKind(), 19);
        QCOMPARE(sceneBox(created), QRectF(101, 101, 99, 49));
        QCOMPARE(created->zValue(), 6.0);
        QVERIFY(created->isSelected());
        QCOMPARE(spies.added.first().first().value<QGraphicsItem *>(), created);
        QCOMPARE(spies.total(), 1);
        QCOMPARE(DrawTool::currentShape, 0);
        QCOMPARE(helperItems(), 0);
    }

    void clickAndContinuousInsert()
    {
        // A click without a drag creates nothing and ends the insertion...
        DrawTool::currentShape = 16;
        GestureSpies spies(m_scene);
        gesture({QPointF(100, 100)});
        QVERIFY(m_scene->items().isEmpty());
        QCOMPARE(spies.total(), 0);
        QCOMPARE(DrawTool::currentShape, 0);
        // ...unless insertion is continuous.
        DrawTool::continuousInsert = true;
        DrawTool::currentShape = 4;
        gesture({QPointF(100, 100)});
        QCOMPARE(DrawTool::currentShape, 4);
        QVERIFY(m_scene->items().isEmpty());
        gesture({QPointF(100, 100), QPointF(200, 150)});
        gesture({QPointF(300, 100), QPointF(350, 200)});
        QCOMPARE(m_scene->userItems().size(), 2);
        QCOMPARE(spies.added.count(), 2);
        QCOMPARE(DrawTool::currentShape, 4);
        QCOMPARE(sceneBox(m_scene->userItems().last()), QRectF(301, 101, 49, 99));
    }

    void move_data()
    {
        // delta: how far the movable shapes go; fixed ones stay.
        QTest::addColumn<QList<QRectF>>("boxes");
        QTest::addColumn<QList<bool>>("fixed");
        QTest::addColumn<QPointF>("grab");
        QTest::addColumn<QPointF>("drop");
        QTest::addColumn<QPointF>("delta");
        QTest::newRow("one shape against the right edge")
            << QList<QRectF> {QRectF(600, 100, 100, 50)} << QList<bool> {false} << QPointF(650, 125)
            << QPointF(800, 125) << QPointF(100, 0);
        QTest::newRow("two shapes against the left and bottom edges")
            << QList<QRectF> {QRectF(50, 100, 100, 50), QRectF(250, 300, 100, 50)}
            << QList<bool> {false, false} << QPointF(100, 125) << QPointF(0, 500)
            << QPointF(-50, 130);
        QTest::newRow("fixed shape")
            << QList<QRectF> {QRectF(100, 100, 100, 50)} << QList<bool> {true} << QPointF(150, 125)
            << QPointF(250, 200) << QPointF();
        // Grabbed by the fixed shape: the others still go, and only they hold
        // the outline back at the edges.
        QTest::newRow("fixed first of three")
            << QList<QRectF> {QRectF(100, 100, 100, 50), QRectF(300, 100, 100, 50),
                              QRectF(300, 300, 100, 50)}
            << QList<bool> {true, false, false} << QPointF(150, 125) << QPointF(550, 125)
            << QPointF(400, 0);
        QTest::newRow("fixed last of two")
            << QList<QRectF> {QRectF(100, 100, 100, 50), QRectF(300, 100, 100, 50)}
            << QList<bool> {false, true} << QPointF(150, 125) << QPointF(50, 400)
            << QPointF(-100, 275);
        QTest::newRow("all fixed")
            << QList<QRectF> {QRectF(100, 100, 100, 50), QRectF(300, 100, 100, 50)}
            << QList<bool> {true, true} << QPointF(150, 125) << QPointF(250, 200) << QPointF();
    }

    void move()
    {
        QFETCH(QList<QRectF>, boxes);
        QFETCH(QList<bool>, fixed);
        QFETCH(QPointF, grab);
        QFETCH(QPointF, drop);
        QFETCH(QPointF, delta);
        QList<GraphicsRectItem *> shapes;
        QRectF movingBox;
        for (int i = 0; i < boxes.size(); ++i) {
            shapes << addRect(m_scene, boxes.at(i));
            shapes.last()->setFixe(fixed.at(i));
            // A single shape is selected by the press itself.
            shapes.last()->setSelected(boxes.size() > 1);
            if (!fixed.at(i))
                movingBox |= boxes.at(i);
        }
        auto moved = [&] {
            for (int i = 0; i < shapes.size(); ++i) {
                const QPointF by = fixed.at(i) ? QPointF() : delta;
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
        // Only the outline follows the mouse until the release, and it shows
        // where the movable shapes are going.
        QCOMPARE(helperItems(), 1);
        QCOMPARE(sceneBox(shapes.first()), boxes.first());
        if (!delta.isNull()) {
            const QGraphicsPathItem *outline = tool->dashRect();
            QCOMPARE(outline->mapRectToScene(outline->path().boundingRect()).center(),
                     movingBox.center() + delta);
        }
        release(drop);
        QVERIFY(shapes.first()->isSelected());
        QVERIFY(moved());
        QCOMPARE(spies.total(), delta.isNull() ? 0 : 1);
        QCOMPARE(helperItems(), 0);
        if (delta.isNull())
            return;
        QGraphicsItem *expected = shapes.size() == 1 ? shapes.first() : nullptr;
        QCOMPARE(spies.moved.first().at(0).value<QGraphicsItem *>(), expected);
        QCOMPARE(spies.moved.first().at(1).toPointF(), delta);
        // Undo, as the editor records it, moves back only what moved.
        QUndoStack stack;
        stack.push(expected ? new MoveShapeCommand(expected, delta)
                            : new MoveShapeCommand(m_scene, delta));
        stack.undo();
        for (int i = 0; i < shapes.size(); ++i)
            QCOMPARE(sceneBox(shapes.at(i)), boxes.at(i));
        stack.redo();
        QVERIFY(moved());
    }

    void handleDrag_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<int>("handle"); // 0: nothing is recorded
        QTest::addColumn<QPointF>("factors"); // of a resize; NaN where any will do
        QTest::addColumn<QRectF>("box");
        // A rounded rectangle (100, 100, 100, 60); handle 9 sits on its right
        // edge, a third of the height down, and sets the vertical radius.
        QTest::newRow("right-bottom") << QPointF(200, 160) << QPointF(250, 190) << 5
                                      << QPointF(1.5, 1.5) << QRectF(100, 100, 150, 90);
        // Only the x factor of a side handle counts; the height stays.
        QTest::newRow("right") << QPointF(200, 130) << QPointF(260, 140) << 4
                               << QPointF(1.6, qQNaN()) << QRectF(100, 100, 160, 60);
        QTest::newRow("radius") << QPointF(200, 120) << QPointF(200, 140) << 9 << QPointF()
                                << QRectF(100, 100, 100, 60);
        QTest::newRow("corner back where pressed") << QPointF(200, 160) << QPointF(200, 160) << 0
                                                   << QPointF() << QRectF(100, 100, 100, 60);
        QTest::newRow("radius back where pressed") << QPointF(200, 120) << QPointF(200, 120) << 0
                                                   << QPointF() << QRectF(100, 100, 100, 60);
    }

    void handleDrag()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(int, handle);
        QFETCH(QPointF, factors);
        QFETCH(QRectF, box);
        auto *shape = new GraphicsRoundrectItem(QRect(0, 0, 1, 1));
        m_scene->addItem(shape);
        placeRect(shape, QRectF(100, 100, 100, 60));
        shape->setSelected(true);
        GestureSpies spies(m_scene);
        hover(from);
        press(from);
        dragTo(QPointF(260, 190));
        dragTo(to);
        // The shape itself follows the drag; nothing is reported yet.
        QCOMPARE(sceneBox(shape), box);
        QCOMPARE(spies.total(), 0);
        release(to);
        QCOMPARE(sceneBox(shape), box);
        QCOMPARE(shape->radiusRatioY(), handle == 9 ? 0.5 : 1.0 / 3.0);
        QCOMPARE(spies.total(), handle ? 1 : 0);
        if (handle == 9) {
            const QList<QVariant> args = spies.controlled.first();
            QCOMPARE(args.at(0).value<QGraphicsItem *>(), shape);
            QCOMPARE(args.at(1).toInt(), 9);
            QCOMPARE(args.at(2).toPointF(), to);
            QCOMPARE(args.at(3).toPointF(), from);
        } else if (handle) {
            QCOMPARE(shape->pos(), box.center());
            const QList<QVariant> args = spies.resized.first();
            QCOMPARE(args.at(0).value<QGraphicsItem *>(), shape);
            QCOMPARE(args.at(1).toInt(), handle);
            QCOMPARE(args.at(2).toPointF().x(), factors.x());
            if (!qIsNaN(factors.y()))
                QCOMPARE(args.at(2).toPointF().y(), factors.y());
        }
        QCOMPARE(helperItems(), 0);
    }

    void hiddenHandlesAreNeverGrabbed_data()
    {
        QTest::addColumn<bool>("group");
        QTest::addColumn<bool>("shown");
        QTest::newRow("shape, handles shown") << false << true;
        QTest::newRow("shape, handles hidden") << false << false;
        QTest::newRow("group, handles shown") << true << true;
        QTest::newRow("group, handles hidden") << true << false;
    }

    void hiddenHandlesAreNeverGrabbed()
    {
        // A drag from where the right edge's handle would be.
        QFETCH(bool, group);
        QFETCH(bool, shown);
        QGraphicsItem *target = addRect(m_scene, QRectF(100, 100, 100, 60));
        if (group) {
            GraphicsItemGroup *formed
                = m_scene->createGroup({target, addRect(m_scene, QRectF(150, 100, 50, 60))});
            formed->setFixe(false);
            target = formed;
        }
        target->setSelected(true);
        const int state = shown ? SizeHandleRect::Shown : SizeHandleRect::Hidden;
        if (auto *single = dynamic_cast<AbstractShapeType<QGraphicsItem> *>(target))
            single->setHandlesState(state);
        else if (auto *many = dynamic_cast<AbstractShapeType<QGraphicsItemGroup> *>(target))
            many->setHandlesState(state);
        const QPointF edge(200, 130);
        QCOMPARE(EditableShape(target).handleDirAt(edge),
                 shown ? int(SizeHandleRect::Right) : int(SizeHandleRect::NoHandle));
        const double width = sceneBox(target).width();
        GestureSpies spies(m_scene);
        gesture({edge, QPointF(220, 130), QPointF(240, 130)});
        QCOMPARE(spies.resized.count(), shown ? 1 : 0);
        QCOMPARE(sceneBox(target).width(), shown ? width + 40 : width);
    }

    void rotate_data()
    {
        QTest::addColumn<bool>("widget");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<double>("angle");
        // Centre (300, 200); degrees use pi = 3.1416 and are cut toward zero.
        QTest::newRow("quarter turn clockwise")
            << false << QPointF(350, 200) << QPointF(300, 260) << 89.0;
        QTest::newRow("quarter turn anticlockwise")
            << false << QPointF(350, 200) << QPointF(300, 140) << -89.0;
        // Away from a handle, or on any shape that cannot turn, the select
        // tool takes over.
        QTest::newRow("inside the shape") << false << QPointF(300, 200) << QPointF(320, 210) << 0.0;
        QTest::newRow("widget, on a handle")
            << true << QPointF(350, 200) << QPointF(370, 210) << 0.0;
    }

    void rotate()
    {
        QFETCH(bool, widget);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(double, angle);
        GraphicsRectItem *shape = widget ? new GraphicsWidgetItem(13, QRect(0, 0, 1, 1))
                                         : new GraphicsRectItem(QRect(0, 0, 1, 1));
        m_scene->addItem(shape);
        placeRect(shape, QRectF(250, 175, 100, 50));
        shape->setSelected(true);
        DrawTool::currentShape = 1;
        auto *tool = dynamic_cast<RotationTool *>(DrawTool::findTool(1));
        GestureSpies spies(m_scene);
        hover(from);
        press(from);
        QCOMPARE(DrawTool::currentShape, angle ? 1 : 0);
        dragTo(to);
        if (angle) {
            // Only the outline turns while the mouse is down.
            QCOMPARE(tool->dashRect()->rotation(), angle);
            QCOMPARE(shape->rotation(), 0.0);
        }
        release(to);
        QCOMPARE(shape->rotation(), angle);
        QCOMPARE(spies.rotated.count(), angle ? 1 : 0);
        if (angle) {
            QCOMPARE(sceneBox(shape).center(), QPointF(300, 200));
            QCOMPARE(spies.rotated.first().at(0).value<QGraphicsItem *>(), shape);
            QCOMPARE(spies.rotated.first().at(1).toDouble(), 0.0);
        } else if (!widget) {
            QCOMPARE(spies.moved.first().at(1).toPointF(), to - from);
        }
        QCOMPARE(helperItems(), 0);
    }

    void pointShapes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("className");
        QTest::newRow("polygon") << 6 << "GraphicsPolygonItem";
        QTest::newRow("bezier") << 8 << "GraphicsBezier";
    }

    void pointShapes()
    {
        QFETCH(int, code);
        QFETCH(QString, className);
        DrawTool::currentShape = code;
        auto *tool = dynamic_cast<PolygonTool *>(DrawTool::findTool(code));
        GestureSpies spies(m_scene);
        const QPointF a(100, 100), b(200, 120), c(150, 200);
        for (const QPointF &p : {a, b, c})
            gesture({p});
        // Releases do not finish it; the last point waits one unit right.
        QCOMPARE(spies.added.count(), 0);
        QCOMPARE(tool->pointCount(), 4);
        QCOMPARE(DrawTool::currentShape, code);
        doubleClick(c);
        release(c);
        const QList<QGraphicsItem *> shapes = m_scene->userItems();
        QCOMPARE(shapes.size(), 1);
        auto *shape = dynamic_cast<GraphicsPolygonItem *>(shapes.first());
        QCOMPARE(QString::fromLatin1(shape->metaObject()->className()), className);
        QCOMPARE(shape->mapToScene(shape->points()), QPolygonF(QVector<QPointF> {a, b, c}));
        QCOMPARE(spies.total(), 1);
        QCOMPARE(DrawTool::currentShape, 0);
        QVERIFY(!tool->item());
        QCOMPARE(tool->pointCount(), 0);
    }

    void lineEndsOnRelease()
    {
        DrawTool::currentShape = 2;
        GestureSpies spies(m_scene);
        gesture({QPointF(100, 100), QPointF(150, 160), QPointF(300, 220)});
        const QList<QGraphicsItem *> shapes = m_scene->userItems();
        QCOMPARE(shapes.size(), 1);
        auto *line = dynamic_cast<GraphicsPolygonItem *>(shapes.first());
        QCOMPARE(line->mapToScene(line->points()),
                 QPolygonF(QVector<QPointF> {QPointF(100, 100), QPointF(300, 220)}));
        QCOMPARE(spies.total(), 1);
        QCOMPARE(DrawTool::currentShape, 0);
    }

    void flippedResizeUndoesExactly_data()
    {
        // A rectangle (100, 100, 100, 60), or a triangle in that box, dragged
        // by a handle past the fixed point; opposite: the handle the tool
        // names for undo. The triangle's box handles lie on its stroke, so its
        // fixed point is no handle of the resized shape.
        QTest::addColumn<bool>("triangle");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<int>("opposite");
        auto row = [](const char *name, bool triangle, QPointF from, QPointF to, int opposite) {
            QTest::newRow(name) << triangle << from << to << opposite;
        };
        row("right-bottom across both axes", false, {200, 160}, {50, 40}, 1);
        row("right-bottom across x only", false, {200, 160}, {20, 190}, 7);
        row("right across the left edge", false, {200, 130}, {50, 145}, 8);
        row("bottom across the top edge", false, {150, 160}, {170, 70}, 2);
        row("left-top across both axes", false, {100, 100}, {300, 190}, 5);
        row("not turned over", false, {200, 160}, {250, 190}, 0);
        row("triangle across the left edge", true, {200, 130}, {50, 145}, 8);
        row("triangle, not turned over", true, {200, 160}, {250, 190}, 0);
    }

    void flippedResizeUndoesExactly()
    {
        QFETCH(bool, triangle);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(int, opposite);
        GraphicsItem *shape = nullptr;
        if (triangle) {
            auto *polygon = new GraphicsPolygonItem;
            m_scene->addItem(polygon);
            for (const QPointF &p : {QPointF(100, 100), QPointF(200, 100), QPointF(130, 160)})
                polygon->appendPoint(p);
            polygon->finishPoints(QPointF());
            polygon->normalizeGeometry();
            shape = polygon;
        } else {
            shape = addRect(m_scene, QRectF(100, 100, 100, 60));
        }
        auto picture = [shape] {
            auto *polygon = dynamic_cast<GraphicsPolygonItem *>(shape);
            return polygon ? polygon->mapToScene(polygon->points())
                           : shape->mapToScene(shape->boundingRect());
        };
        const QPolygonF before = picture();
        shape->setSelected(true);
        GestureSpies spies(m_scene);
        hover(from);
        press(from);
        dragTo(to);
        release(to);
        QCOMPARE(spies.resized.count(), 1);
        const QList<QVariant> args = spies.resized.first();
        QCOMPARE(args.at(3).toInt(), opposite);
        const QPolygonF after = picture();
        QVERIFY(after != before);
        // Recorded as the editor records it.
        QUndoStack stack;
        auto *command = new ResizeShapeCommand(shape, args.at(1).toInt(), args.at(2).toPointF());
        command->setOppositeHandle(args.at(3).toInt());
        command->setFixedPoint(args.at(4).toPointF());
        stack.push(command);
        QCOMPARE(picture(), after);
        for (int round = 0; round < 2; ++round) {
            stack.undo();
            QCOMPARE(picture(), before);
            stack.redo();
            QCOMPARE(picture(), after);
        }
    }

    void pointDragUndoReturnsThePoint_data()
    {
        // The press lands off the centre of the second point, inside its
        // handle, by offset screen pixels.
        QTest::addColumn<int>("code");
        QTest::addColumn<double>("rotation");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("polygon") << 6 << 0.0 << QPointF(3, 2);
        QTest::newRow("turned polyline") << 7 << 30.0 << QPointF(-3, 3);
        QTest::newRow("line") << 2 << 0.0 << QPointF(2, -3);
    }

    void pointDragUndoReturnsThePoint()
    {
        QFETCH(int, code);
        QFETCH(double, rotation);
        QFETCH(QPointF, offset);
        GraphicsPolygonItem *shape = code == 2 ? new GraphicsLineItem
            : code == 7                        ? new GraphicsPolyline
                                               : new GraphicsPolygonItem;
        m_scene->addItem(shape);
        QList<QPointF> corners {QPointF(100, 100), QPointF(200, 100), QPointF(150, 200)};
        if (code == 2)
            corners.removeLast();
        for (const QPointF &p : qAsConst(corners))
            shape->appendPoint(p);
        shape->finishPoints(QPointF());
        shape->normalizeGeometry();
        shape->setRotation(rotation);
        shape->setSelected(true);
        const QPolygonF before = shape->mapToScene(shape->points());
        const QPointF point = before.at(1);
        const QPointF drop(260, 150);
        GestureSpies spies(m_scene);
        hover(point + offset);
        press(point + offset);
        dragTo(drop);
        release(drop);
        QCOMPARE(spies.controlled.count(), 1);
        const QList<QVariant> args = spies.controlled.first();
        QCOMPARE(args.at(1).toInt(), 10);
        QCOMPARE(args.at(3).toPointF(), point);
        const QPolygonF after = shape->mapToScene(shape->points());
        QCOMPARE(after.at(1), drop);
        QUndoStack stack;
        stack.push(
            new ControlShapeCommand(shape, 10, args.at(2).toPointF(), args.at(3).toPointF()));
        stack.undo();
        QCOMPARE(shape->mapToScene(shape->points()), before);
        stack.redo();
        QCOMPARE(shape->mapToScene(shape->points()), after);
    }

    void creationClickLeavesNothing_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("continuous");
        QTest::addColumn<bool>("doubleClicked");
        QTest::newRow("line") << 2 << false << false;
        QTest::newRow("line, continuous insert") << 2 << true << false;
        QTest::newRow("polygon double-clicked in place") << 6 << false << true;
        QTest::newRow("bezier double-clicked in place") << 8 << true << true;
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
        if (doubleClicked) {
            doubleClick(at);
            release(at);
        }
        QCOMPARE(m_scene->items().size(), 0);
        QCOMPARE(spies.total(), 0);
        QVERIFY(!tool->item());
        QCOMPARE(tool->pointCount(), 0);
        QCOMPARE(DrawTool::currentShape, continuous ? code : 0);
    }

    void escapeCancelsTheShapeBeingDrawn_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("polygon") << 6;
        QTest::newRow("bezier") << 8;
    }

    void escapeCancelsTheShapeBeingDrawn()
    {
        QFETCH(int, code);
        GraphicsRectItem *other = addRect(m_scene, QRectF(500, 300, 50, 50));
        DrawTool::currentShape = code;
        auto *tool = dynamic_cast<PolygonTool *>(DrawTool::findTool(code));
        GestureSpies spies(m_scene);
        for (const QPointF &p : {QPointF(100, 100), QPointF(200, 120), QPointF(150, 200)})
            gesture({p});
        hover(QPointF(120, 220));
        QVERIFY(tool->item());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(m_view, &escape);
        QCOMPARE(m_scene->userItems(), (QList<QGraphicsItem *> {other}));
        QCOMPARE(spies.total(), 0);
        QVERIFY(!tool->item());
        QCOMPARE(tool->pointCount(), 0);
        QCOMPARE(DrawTool::currentShape, 0);
        // Chosen again, the tool starts a new shape at the next click.
        DrawTool::currentShape = code;
        gesture({QPointF(300, 100)});
        QCOMPARE(tool->pointCount(), 2);
        QApplication::sendEvent(m_view, &escape);
    }

    void toolChangedMidShapeKeepsItsPoints()
    {
        // The select tool chosen while a polygon is half drawn: hovering over
        // it must not take up the polygon tool's unfinished point drag.
        DrawTool::currentShape = 6;
        auto *tool = dynamic_cast<PolygonTool *>(DrawTool::findTool(6));
        for (const QPointF &p : {QPointF(100, 100), QPointF(200, 120)})
            gesture({p});
        GraphicsPolygonItem *shape = tool->item();
        const QPolygonF points = shape->mapToScene(shape->points());
        DrawTool::currentShape = 0;
        hover(QPointF(150, 110));
        hover(QPointF(300, 300));
        QCOMPARE(shape->mapToScene(shape->points()), points);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(m_view, &escape);
        QVERIFY(!tool->item());
    }

    void sceneDeletedMidGesture()
    {
        for (int code : {0, 1, 3, 6}) {
            DrawTool *tool = DrawTool::findTool(code);
            auto held = [tool]() -> bool {
                if (auto *select = dynamic_cast<SelectTool *>(tool))
                    return select->dashRect();
                if (auto *rotation = dynamic_cast<RotationTool *>(tool))
                    return rotation->dashRect();
                if (auto *box = dynamic_cast<RectTool *>(tool))
                    return box->item();
                return dynamic_cast<PolygonTool *>(tool)->item();
            };
            // A gesture on a selected shape, left with the mouse down.
            addRect(m_scene, QRectF(250, 175, 100, 50))->setSelected(true);
            DrawTool::currentShape = code;
            const QPointF from = code == 1 ? QPointF(350, 200) : QPointF(300, 200);
            hover(from);
            press(from);
            dragTo(QPointF(320, 260));
            QVERIFY2(held(), qPrintable(QString::number(code)));
            cleanup();
            QVERIFY2(!held(), qPrintable(QString::number(code)));
            newScene();
        }
    }

    void toolBox()
    {
        ToolBoxForm form;
        QSignalSpy picked(&form, &ToolBoxForm::userDrawShape);
        form.rotateButton()->click();
        QCOMPARE(DrawTool::currentShape, 1);
        // Continuous insert toggles and hands back to the select tool.
        DrawTool::currentShape = 3;
        form.continousButton()->click();
        QCOMPARE(DrawTool::currentShape, 0);
        QVERIFY(DrawTool::continuousInsert);
        form.continousButton()->click();
        QVERIFY(!DrawTool::continuousInsert);
        form.rotateButton()->click();
        form.setToolsEnabled(false);
        QVERIFY(!form.rotateButton()->isEnabled());
        QVERIFY(form.selectButton()->isChecked());
        form.setToolsEnabled(true);
        QListWidget *shapes = form.lists().first();
        form.listModeButton()->click();
        QCOMPARE(shapes->viewMode(), QListView::IconMode);
        form.listModeButton()->click();
        form.resize(300, 900);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto clickItem = [](QListWidget *list, int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualItemRect(list->item(row)).center());
        };
        clickItem(shapes, 3);
        QCOMPARE(shapes->currentRow(), 3);
        clickItem(form.lists().at(1), 2);
        QCOMPARE(DrawTool::currentShape, 14);
        QCOMPARE(shapes->currentRow(), -1); // one pick across both lists
        QCOMPARE(picked.count(), 2);
        QCOMPARE(picked.at(0).at(0).toInt(), 5);
        QCOMPARE(picked.at(1).at(0).toInt(), 14);
    }
};

QTEST_MAIN(TestDrawTools)
#include "tst_drawtools.moc"
