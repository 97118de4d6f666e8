#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/polygontool.h"
#include "editor/recttool.h"
#include "editor/rotationtool.h"
#include "editor/selecttool.h"
#include "editor/toolboxform.h"
#include "editor/widgettool.h"
#include "project/config.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicswidgetitem.h"
#include "support/scenetesting.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using scenetest::addRect;
using scenetest::placeRect;
using scenetest::sceneBox;

Q_DECLARE_METATYPE(DrawTool::SelectMode)

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
    GraphicsRoundrectItem *selectedRoundRect()
    {
        auto *shape = new GraphicsRoundrectItem(QRect(0, 0, 1, 1));
        m_scene->addItem(shape);
        placeRect(shape, QRectF(100, 100, 100, 60));
        shape->setSelected(true);
        return shape;
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QGraphicsItem *>();
        Config::instance()->screenWidth = 800;
        Config::instance()->screenHeight = 480;
        DrawTool::createTools();
    }

    void init()
    {
        DrawTool::currentShape = 0;
        DrawTool::continuousInsert = false;
        newScene();
        const QPointF probe(123, 457);
        QCOMPARE(m_view->mapToScene(m_view->mapFromScene(probe)), probe);
    }

    void cleanup()
    {
        delete m_view;
        delete m_scene;
        m_view = nullptr;
        m_scene = nullptr;
    }

    void registry()
    {
        DrawTool::createTools();
        QList<int> kinds;
        for (const DrawTool *tool : DrawTool::tools())
            kinds << tool->kind();
        QCOMPARE(kinds, (QList<int> {0, 1, 3, 4, 5, 9, 10, 11, 2, 6, 8, 7}));
        QVERIFY(dynamic_cast<SelectTool *>(DrawTool::findTool(0)));
        QVERIFY(dynamic_cast<RotationTool *>(DrawTool::findTool(1)));
        QVERIFY(dynamic_cast<WidgetTool *>(DrawTool::findTool(19)));
        QVERIFY(dynamic_cast<PolygonTool *>(DrawTool::findTool(8)));
    }

    void viewCursor_data()
    {
        QTest::addColumn<DrawTool::SelectMode>("mode");
        QTest::addColumn<int>("handle");
        QTest::addColumn<int>("shape");
        QTest::newRow("corner handle wins over mode")
            << DrawTool::Move << 1 << int(Qt::SizeFDiagCursor);
        QTest::newRow("move") << DrawTool::Move << 0 << int(Qt::ClosedHandCursor);
        QTest::newRow("control handle uses mode") << DrawTool::Editor << 9 << int(Qt::BitmapCursor);
        QTest::newRow("rubber band keeps cursor")
            << DrawTool::NetSelect << 0 << int(Qt::WaitCursor);
    }

    void viewCursor()
    {
        QFETCH(DrawTool::SelectMode, mode);
        QFETCH(int, handle);
        QFETCH(int, shape);
        m_view->viewport()->setCursor(Qt::WaitCursor);
        DrawTool::setViewCursor(m_scene, mode, handle);
        const QCursor cursor = m_view->viewport()->cursor();
        QCOMPARE(int(cursor.shape()), shape);
        if (shape == Qt::BitmapCursor) {
            const QPixmap picture = cursor.pixmap();
            QVERIFY(!picture.isNull());
            QCOMPARE(cursor.hotSpot(), QPoint(picture.width() / 2, picture.height() / 2));
        }
    }

    void createBox_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("className");
        QTest::newRow("rectangle") << 3 << "GraphicsRectItem";
        QTest::newRow("spin box") << 19 << "GraphicsWidgetItem";
    }

    void createBox()
    {
        QFETCH(int, code);
        QFETCH(QString, className);
        GraphicsRectItem *below = addRect(m_scene, QRectF(400, 300, 50, 50), 5);
        DrawTool::currentShape = code;
        GestureSpies spies(m_scene);
        // The box runs from one unit inside the press point to the release.
        gesture({QPointF(100, 100), QPointF(150, 120), QPointF(200, 150)});
        const QList<QGraphicsItem *> shapes = m_scene->userItems();
        QCOMPARE(shapes.size(), 2);
        QGraphicsItem *created = shapes.last();
        QVERIFY(created != below);
        QCOMPARE(QString::fromLatin1(shapeObject(created)->metaObject()->className()), className);
        if (auto *widget = dynamic_cast<GraphicsWidgetItem *>(created))
            QCOMPARE(widget->widgetKind(), code);
        QCOMPARE(sceneBox(created), QRectF(101, 101, 99, 49));
        QCOMPARE(created->pos(), QPointF(150.5, 125.5));
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
        QTest::addColumn<QList<QRectF>>("boxes");
        QTest::addColumn<QPointF>("grab");
        QTest::addColumn<QPointF>("drop");
        QTest::addColumn<QPointF>("delta");
        QTest::newRow("one shape against the right edge")
            << QList<QRectF> {QRectF(600, 100, 100, 50)} << QPointF(650, 125) << QPointF(800, 125)
            << QPointF(100, 0);
        QTest::newRow("two shapes against the left and bottom edges")
            << QList<QRectF> {QRectF(50, 100, 100, 50), QRectF(250, 300, 100, 50)}
            << QPointF(100, 125) << QPointF(0, 500) << QPointF(-50, 130);
    }

    void move()
    {
        QFETCH(QList<QRectF>, boxes);
        QFETCH(QPointF, grab);
        QFETCH(QPointF, drop);
        QFETCH(QPointF, delta);
        QList<GraphicsRectItem *> shapes;
        for (const QRectF &box : boxes)
            shapes << addRect(m_scene, box);
        // A single shape is selected by the press itself.
        for (GraphicsRectItem *shape : shapes)
            shape->setSelected(shapes.size() > 1);
        GestureSpies spies(m_scene);
        hover(grab);
        press(grab);
        dragTo((grab + drop) / 2);
        dragTo(drop);
        // Only the outline follows the mouse until the release.
        QCOMPARE(helperItems(), 1);
        QCOMPARE(sceneBox(shapes.first()), boxes.first());
        release(drop);
        for (int i = 0; i < shapes.size(); ++i)
            QCOMPARE(sceneBox(shapes.at(i)), boxes.at(i).translated(delta));
        QCOMPARE(spies.moved.count(), 1);
        QGraphicsItem *expected = shapes.size() == 1 ? shapes.first() : nullptr;
        QCOMPARE(spies.moved.first().at(0).value<QGraphicsItem *>(), expected);
        QCOMPARE(spies.moved.first().at(1).toPointF(), delta);
        QCOMPARE(spies.total(), 1);
        QCOMPARE(helperItems(), 0);
    }

    void fixeShapeStays()
    {
        GraphicsRectItem *shape = addRect(m_scene, QRectF(100, 100, 100, 50));
        shape->setFixe(true);
        GestureSpies spies(m_scene);
        gesture({QPointF(150, 125), QPointF(250, 200)});
        QVERIFY(shape->isSelected());
        QCOMPARE(sceneBox(shape), QRectF(100, 100, 100, 50));
        QCOMPARE(spies.total(), 0);
        QCOMPARE(helperItems(), 0);
    }

    void resize_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<int>("handle");
        QTest::addColumn<QPointF>("factors");
        QTest::addColumn<QRectF>("box");
        // The shape's box is (100, 100, 100, 50).
        QTest::newRow("right-bottom") << QPointF(200, 150) << QPointF(250, 175) << 5
                                      << QPointF(1.5, 1.5) << QRectF(100, 100, 150, 75);
        QTest::newRow("left-top") << QPointF(100, 100) << QPointF(50, 75) << 1 << QPointF(1.5, 1.5)
                                  << QRectF(50, 75, 150, 75);
        // Only the x factor of a side handle counts; the height stays.
        QTest::newRow("right") << QPointF(200, 125) << QPointF(260, 140) << 4
                               << QPointF(1.6, qQNaN()) << QRectF(100, 100, 160, 50);
    }

    void resize()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(int, handle);
        QFETCH(QPointF, factors);
        QFETCH(QRectF, box);
        GraphicsRectItem *shape = addRect(m_scene, QRectF(100, 100, 100, 50));
        shape->setSelected(true);
        GestureSpies spies(m_scene);
        hover(from);
        press(from);
        dragTo(to);
        // The shape itself follows the drag; nothing is reported yet.
        QCOMPARE(sceneBox(shape), box);
        QCOMPARE(spies.total(), 0);
        release(to);
        QCOMPARE(sceneBox(shape), box);
        QCOMPARE(shape->pos(), box.center());
        QCOMPARE(spies.resized.count(), 1);
        const QList<QVariant> args = spies.resized.first();
        QCOMPARE(args.at(0).value<QGraphicsItem *>(), shape);
        QCOMPARE(args.at(1).toInt(), handle);
        QCOMPARE(args.at(2).toPointF().x(), factors.x());
        if (!qIsNaN(factors.y()))
            QCOMPARE(args.at(2).toPointF().y(), factors.y());
        QCOMPARE(spies.total(), 1);
        QCOMPARE(helperItems(), 0);
    }

    void controlHandle()
    {
        GraphicsRoundrectItem *shape = selectedRoundRect();
        GestureSpies spies(m_scene);
        // Released where it was pressed, a box or radius handle reports nothing.
        for (const QPointF &handle : {QPointF(200, 160), QPointF(200, 120)})
            gesture({handle, QPointF(260, 190), handle});
        QCOMPARE(spies.total(), 0);
        QCOMPARE(sceneBox(shape), QRectF(100, 100, 100, 60));
        QCOMPARE(shape->radiusRatioY(), 1.0 / 3.0);
        // Handle 9 sits on the right edge, a third of the height down.
        gesture({QPointF(200, 120), QPointF(200, 130), QPointF(200, 140)});
        QCOMPARE(shape->radiusRatioY(), 0.5);
        QCOMPARE(spies.controlled.count(), 1);
        const QList<QVariant> args = spies.controlled.first();
        QCOMPARE(args.at(0).value<QGraphicsItem *>(), shape);
        QCOMPARE(args.at(1).toInt(), 9);
        QCOMPARE(args.at(2).toPointF(), QPointF(200, 140));
        QCOMPARE(args.at(3).toPointF(), QPointF(200, 120));
        QCOMPARE(spies.total(), 1);
        QCOMPARE(sceneBox(shape), QRectF(100, 100, 100, 60));
    }

    void rotate_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<double>("angle");
        // Centre (300, 200); degrees use pi = 3.1416 and are cut toward zero.
        QTest::newRow("quarter turn clockwise") << QPointF(350, 200) << QPointF(300, 260) << 89.0;
        QTest::newRow("quarter turn anticlockwise")
            << QPointF(350, 200) << QPointF(300, 140) << -89.0;
    }

    void rotate()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(double, angle);
        GraphicsRectItem *shape = addRect(m_scene, QRectF(250, 175, 100, 50));
        shape->setSelected(true);
        DrawTool::currentShape = 1;
        auto *tool = dynamic_cast<RotationTool *>(DrawTool::findTool(1));
        GestureSpies spies(m_scene);
        hover(from);
        press(from);
        dragTo(to);
        // Only the outline turns while the mouse is down.
        QVERIFY(tool->dashRect());
        QCOMPARE(tool->dashRect()->rotation(), angle);
        QCOMPARE(shape->rotation(), 0.0);
        release(to);
        QCOMPARE(shape->rotation(), angle);
        QCOMPARE(sceneBox(shape).center(), QPointF(300, 200));
        QCOMPARE(spies.rotated.first().at(0).value<QGraphicsItem *>(), shape);
        QCOMPARE(spies.rotated.first().at(1).toDouble(), 0.0);
        QCOMPARE(spies.total(), 1);
        QCOMPARE(DrawTool::currentShape, 1);
        QCOMPARE(helperItems(), 0);
    }

    void rotatePressAwayFromHandles_data()
    {
        QTest::addColumn<bool>("widget");
        QTest::addColumn<QPointF>("grab");
        QTest::newRow("plain shape, inside") << false << QPointF(300, 200);
        QTest::newRow("widget shape, on a handle") << true << QPointF(350, 200);
    }

    void rotatePressAwayFromHandles()
    {
        QFETCH(bool, widget);
        QFETCH(QPointF, grab);
        QGraphicsItem *shape = nullptr;
        if (widget) {
            auto *w = new GraphicsWidgetItem(13, QRect(0, 0, 1, 1));
            m_scene->addItem(w);
            placeRect(w, QRectF(250, 175, 100, 50));
            shape = w;
        } else {
            shape = addRect(m_scene, QRectF(250, 175, 100, 50));
        }
        shape->setSelected(true);
        DrawTool::currentShape = 1;
        GestureSpies spies(m_scene);
        hover(grab);
        press(grab);
        QCOMPARE(DrawTool::currentShape, 0); // the select tool took over
        dragTo(grab + QPointF(20, 10));
        release(grab + QPointF(20, 10));
        QCOMPARE(shape->rotation(), 0.0);
        QCOMPARE(spies.rotated.count(), 0);
        if (!widget) {
            QCOMPARE(spies.moved.count(), 1);
            QCOMPARE(spies.moved.first().at(1).toPointF(), QPointF(20, 10));
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

    void sceneDeletedMidGesture_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("move") << 0;
        QTest::newRow("rotate") << 1;
        QTest::newRow("rectangle") << 3;
        QTest::newRow("polygon") << 6;
    }

    void sceneDeletedMidGesture()
    {
        QFETCH(int, code);
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
        // A gesture on a fresh selected shape, left with the mouse down.
        auto start = [&] {
            addRect(m_scene, QRectF(250, 175, 100, 50))->setSelected(true);
            DrawTool::currentShape = code;
            const QPointF from = code == 1 ? QPointF(350, 200) : QPointF(300, 200);
            hover(from);
            press(from);
            dragTo(QPointF(320, 260));
        };
        start();
        QVERIFY(held());
        cleanup();
        QVERIFY(!held());
        newScene();
        start();
        QVERIFY(held());
        release(QPointF(320, 260));
        if (code == 6)
            doubleClick(QPointF(320, 260));
        QVERIFY(!held());
        QCOMPARE(helperItems(), 0);
    }

    void toolBox()
    {
        ToolBoxForm form;
        QSignalSpy picked(&form, &ToolBoxForm::userDrawShape);
        form.rotateButton()->click();
        QCOMPARE(DrawTool::currentShape, 1);
        form.selectButton()->click();
        QCOMPARE(DrawTool::currentShape, 0);
        DrawTool::currentShape = 3;
        form.continousButton()->click();
        QCOMPARE(DrawTool::currentShape, 0);
        QVERIFY(DrawTool::continuousInsert);
        form.continousButton()->click();
        QVERIFY(!DrawTool::continuousInsert);
        QCOMPARE(picked.count(), 0);
        form.rotateButton()->click();
        form.setToolsEnabled(false);
        QVERIFY(!form.rotateButton()->isEnabled());
        QVERIFY(form.selectButton()->isChecked());
        QListWidget *list = form.lists().first();
        form.listModeButton()->click();
        QCOMPARE(list->viewMode(), QListView::IconMode);
        QCOMPARE(list->resizeMode(), QListView::Adjust);
        QCOMPARE(list->item(0)->sizeHint(), QSize(60, 60));
        form.listModeButton()->click();
        QCOMPARE(list->viewMode(), QListView::ListMode);
        QCOMPARE(list->item(0)->sizeHint(), QSize(100, 30));
        form.setToolsEnabled(true);
        form.resize(300, 900);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QListWidget *shapes = list;
        QListWidget *widgets = form.lists().at(1);
        auto clickItem = [](QListWidget *list, int row) {
            const QRect r = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        };
        clickItem(shapes, 3);
        QCOMPARE(DrawTool::currentShape, 5);
        QCOMPARE(shapes->currentRow(), 3);
        clickItem(widgets, 2);
        QCOMPARE(DrawTool::currentShape, 14);
        QCOMPARE(shapes->currentRow(), -1);
        QCOMPARE(picked.count(), 2);
        QCOMPARE(picked.at(0).at(0).toInt(), 5);
        QCOMPARE(picked.at(1).at(0).toInt(), 14);
    }
};

QTEST_MAIN(TestDrawTools)
#include "tst_drawtools.moc"
