#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "project/config.h"
#include "shapes/graphicsitemgroup.h"
#include "support/scenetesting.h"

#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <utility>

using scenetest::addRect;
using scenetest::placeRect;
using scenetest::sceneBox;

// A rectangle class of its own: names are counted per class.
class TallRect : public GraphicsRectItem
{
    Q_OBJECT
public:
    TallRect()
        : GraphicsRectItem(QRect(0, 0, 10, 30))
    { }
};

// Records which of its handlers ran, and for which scene.
class RecordingTool : public DrawTool
{
public:
    explicit RecordingTool(int kind)
        : DrawTool(kind)
    { }
    void mousePressEvent(QGraphicsSceneMouseEvent *, DrawScene *s) override { note("press", s); }
    void mouseMoveEvent(QGraphicsSceneMouseEvent *, DrawScene *s) override { note("move", s); }
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *, DrawScene *s) override
    {
        note("release", s);
    }
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *, DrawScene *s) override
    {
        note("double", s);
    }
    void note(const char *handler, DrawScene *scene)
    {
        calls << QString::fromLatin1(handler);
        lastScene = scene;
    }
    QStringList calls;
    DrawScene *lastScene = nullptr;
};

class TestDrawScene : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Config::instance()->screenWidth = 800;
        Config::instance()->screenHeight = 480;
        DrawScene::resetScreenCounters();
        DrawTool::currentShape = 0;
    }

    void screenNames_data()
    {
        // Type 0 stands for closing the project.
        QTest::addColumn<QList<int>>("types");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("counted per type")
            << QList<int> {1, 2, 3, 2, 1}
            << QStringList {"基本画面_1", "窗口画面_1", "模板画面_1", "窗口画面_2", "基本画面_2"};
        QTest::newRow("project closed")
            << QList<int> {1, 1, 0, 1, 2}
            << QStringList {"基本画面_1", "基本画面_2", "基本画面_1", "窗口画面_1"};
    }

    void screenNames()
    {
        QFETCH(QList<int>, types);
        QFETCH(QStringList, names);
        QStringList made;
        for (int type : types) {
            if (type == 0) {
                DrawScene::resetScreenCounters();
                continue;
            }
            // Each screen is deleted at once: deletions never lower the count.
            DrawScene scene(type);
            made << scene.objectName();
        }
        QCOMPARE(made, names);
    }

    void screenSize_data()
    {
        QTest::addColumn<QSize>("panel");
        QTest::addColumn<int>("type");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("base") << QSize(800, 480) << 1 << QSizeF(800, 480);
        QTest::newRow("window") << QSize(800, 480) << 2 << QSizeF(400, 240);
        QTest::newRow("window, halves up") << QSize(799, 479) << 2 << QSizeF(400, 240);
    }

    void screenSize()
    {
        QFETCH(QSize, panel);
        QFETCH(int, type);
        QFETCH(QSizeF, size);
        Config::instance()->screenWidth = panel.width();
        Config::instance()->screenHeight = panel.height();
        DrawScene scene(type);
        QCOMPARE(scene.sceneRect(), QRectF(QPointF(0, 0), size));
    }

    void screenProperties()
    {
        DrawScene scene(1);
        QCOMPARE(scene.backgroundBrush().color(), QColor("#eeeef8"));
        QCOMPARE(scene.brush().style(), Qt::SolidPattern);
        QCOMPARE(scene.property("brushColor").value<QColor>(), QColor(Qt::white));
        QCOMPARE(scene.property("penColor").value<QColor>(), QColor(Qt::white));
        QCOMPARE(scene.property("brushStyle").toInt(), 1);
        QVERIFY(scene.setProperty("width", 640.0));
        QVERIFY(scene.setProperty("height", 200.0));
        QCOMPARE(scene.sceneRect(), QRectF(0, 0, 640, 200));
        scene.setProperty("brushColor", QColor(Qt::blue));
        scene.setProperty("penColor", QColor(Qt::red));
        scene.setProperty("brushStyle", int(GraphicsItem::LinearGradient01Pattern));
        const auto *gradient = static_cast<const QLinearGradient *>(scene.brush().gradient());
        QVERIFY(gradient);
        QCOMPARE(gradient->finalStop(), QPointF(640, 0));
        QCOMPARE(gradient->stops(), (QGradientStops {{0, QColor(Qt::red)}, {1, QColor(Qt::blue)}}));
        QCOMPARE(scene.property("brushColor").value<QColor>(), QColor(Qt::blue));
        scene.setProperty("penColor", QColor(Qt::green));
        gradient = static_cast<const QLinearGradient *>(scene.brush().gradient());
        QCOMPARE(gradient->stops().first().second, QColor(Qt::green));
        DrawView view(&scene);
        scene.setView(&view);
        scene.setObjectName(QStringLiteral("主画面"));
        QCOMPARE(view.windowTitle(), QStringLiteral("主画面"));
    }

    void itemNames_data()
    {
        // existing: names of loaded shapes, bottom first; kinds: r = rectangle,
        // t = another rectangle class, named one after another.
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("name taken")
            << QStringList {"rectangle_1"} << "rr" << QStringList {"rectangle_1_1", "rectangle_2"};
        QTest::newRow("extension taken further up") << QStringList {"rectangle_1", "rectangle_1_1"}
                                                    << "r" << QStringList {"rectangle_1_1_1"};
        QTest::newRow("single pass")
            << QStringList {"rectangle_1_1", "rectangle_1"} << "r" << QStringList {"rectangle_1_1"};
        QTest::newRow("counted per class")
            << QStringList() << "rtr"
            << QStringList {"rectangle_1", "rectangle_1_1", "rectangle_2"};
    }

    void itemNames()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, kinds);
        QFETCH(QStringList, names);
        DrawScene scene(1);
        for (int i = 0; i < existing.size(); ++i)
            addRect(&scene, QRectF(10, 10, 20, 20), i + 1)->setObjectName(existing.at(i));
        QStringList made;
        for (const QChar kind : kinds) {
            GraphicsRectItem *shape
                = kind == 't' ? new TallRect : new GraphicsRectItem(QRect(0, 0, 5, 5));
            scene.addItem(shape);
            scene.assignItemName(shape);
            made << shape->objectName();
        }
        QCOMPARE(made, names);
    }

    void mouseGoesToCurrentTool()
    {
        RecordingTool rectTool(3);
        RecordingTool laterRectTool(3);
        RecordingTool widgetTool(11);
        DrawScene scene(1);
        const QEvent::Type types[]
            = {QEvent::GraphicsSceneMousePress, QEvent::GraphicsSceneMouseMove,
               QEvent::GraphicsSceneMouseRelease, QEvent::GraphicsSceneMouseDoubleClick};
        auto sendAll = [&] {
            for (QEvent::Type type : types) {
                QGraphicsSceneMouseEvent event(type);
                QCoreApplication::sendEvent(&scene, &event);
            }
        };
        DrawTool::currentShape = 3;
        sendAll();
        QCOMPARE(rectTool.calls, (QStringList {"press", "move", "release", "double"}));
        QCOMPARE(rectTool.lastScene, &scene);
        QVERIFY(laterRectTool.calls.isEmpty());
        DrawTool::currentShape = 17; // a widget kind: served by the widget tool
        sendAll();
        QCOMPARE(widgetTool.calls.size(), 4);
        DrawTool::currentShape = 6; // no tool registered
        sendAll();
        QCOMPARE(rectTool.calls.size() + widgetTool.calls.size(), 8);
        // Tools get Qt's own selection through mouseEvent().
        GraphicsRectItem *shape = addRect(&scene, QRectF(100, 100, 50, 50));
        QGraphicsSceneMouseEvent press(QEvent::GraphicsSceneMousePress);
        press.setScenePos(QPointF(125, 125));
        press.setButton(Qt::LeftButton);
        press.setButtons(Qt::LeftButton);
        scene.mouseEvent(&press);
        QVERIFY(shape->isSelected());
    }

    void arrowKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPointF>("step");
        QTest::newRow("right") << int(Qt::Key_Right) << Qt::KeyboardModifiers() << QPointF(20, 0);
        QTest::newRow("shift ctrl down")
            << int(Qt::Key_Down) << (Qt::ShiftModifier | Qt::ControlModifier) << QPointF(0, 1);
        QTest::newRow("ctrl up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                 << QPointF(0, -20);
    }

    void arrowKeys()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPointF, step);
        DrawScene scene(1);
        GraphicsRectItem *a = addRect(&scene, QRectF(300, 200, 40, 40));
        GraphicsRectItem *b = addRect(&scene, QRectF(400, 200, 40, 40));
        GraphicsRectItem *idle = addRect(&scene, QRectF(500, 200, 40, 40));
        a->setSelected(true);
        b->setSelected(true);
        QSignalSpy moved(&scene, &DrawScene::itemMoved);
        // Two presses (as auto-repeat sends them) and one release: one entry.
        sendKey(&scene, QEvent::KeyPress, key, modifiers);
        sendKey(&scene, QEvent::KeyPress, key, modifiers);
        sendKey(&scene, QEvent::KeyRelease, key, modifiers);
        QCOMPARE(moved.count(), 1);
        QVERIFY(!moved.at(0).at(0).value<QGraphicsItem *>());
        QCOMPARE(moved.at(0).at(1).toPointF(), 2 * step);
        QCOMPARE(sceneBox(a).topLeft(), QPointF(300, 200) + 2 * step);
        QCOMPARE(sceneBox(b).topLeft(), QPointF(400, 200) + 2 * step);
        QCOMPARE(sceneBox(idle).topLeft(), QPointF(500, 200));
        sendKey(&scene, QEvent::KeyPress, key, modifiers);
        sendKey(&scene, QEvent::KeyRelease, key, modifiers);
        QCOMPARE(moved.count(), 2);
        QCOMPARE(moved.at(1).at(1).toPointF(), step);
    }

    void oneMoveSignalPerRun()
    {
        DrawScene scene(1);
        GraphicsRectItem *shape = addRect(&scene, QRectF(300, 200, 40, 40));
        QSignalSpy moved(&scene, &DrawScene::itemMoved);
        sendKey(&scene, QEvent::KeyPress, Qt::Key_Right);
        sendKey(&scene, QEvent::KeyRelease, Qt::Key_Right);
        QCOMPARE(moved.count(), 0); // nothing selected
        shape->setSelected(true);
        sendKey(&scene, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        sendKey(&scene, QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
        sendKey(&scene, QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
        sendKey(&scene, QEvent::KeyRelease, Qt::Key_Shift);
        sendKey(&scene, QEvent::KeyPress, Qt::Key_B);
        sendKey(&scene, QEvent::KeyRelease, Qt::Key_B);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(1).toPointF(), QPointF(5, 0));
    }

    void selectAllAndEscape()
    {
        DrawScene scene(1);
        DrawView view(&scene);
        scene.setView(&view);
        addRect(&scene, QRectF(10, 10, 40, 40));
        addRect(&scene, QRectF(100, 10, 40, 40));
        scene.createGroup(
            {addRect(&scene, QRectF(200, 10, 40, 40)), addRect(&scene, QRectF(300, 10, 40, 40))});
        sendKey(&scene, QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        sendKey(&scene, QEvent::KeyPress, Qt::Key_A);
        QVERIFY(scene.selectedItems().isEmpty());
        QSignalSpy changed(&scene, &QGraphicsScene::selectionChanged);
        sendKey(&scene, QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(scene.selectedItems().size(), 3); // the group, not its members
        QVERIFY(!changed.isEmpty());
        QVERIFY(view.updatesEnabled());
        view.viewport()->setCursor(Qt::CrossCursor);
        DrawTool::currentShape = 3;
        sendKey(&scene, QEvent::KeyPress, Qt::Key_Escape);
        QVERIFY(scene.selectedItems().isEmpty());
        QCOMPARE(DrawTool::currentShape, 0);
        QCOMPARE(view.viewport()->cursor().shape(), Qt::ArrowCursor);
    }

    void alignEdges_data()
    {
        // Reference box (10.3, 20.7, 50, 30): centre (35.3, 35.7), cut to
        // (35, 35) for edges. The other shape's box is (200, 100, 100, 60).
        QTest::addColumn<int>("code");
        QTest::addColumn<QPointF>("shapeTopLeft");
        QTest::addColumn<QPointF>("referenceTopLeft");
        QTest::newRow("top") << 0 << QPointF(200, 20) << QPointF(10.3, 20);
        QTest::newRow("horizontal centre") << 2 << QPointF(-14.7, 100) << QPointF(10.3, 20.7);
        QTest::newRow("bottom") << 3 << QPointF(200, -10) << QPointF(10.3, 20);
        QTest::newRow("right") << 5 << QPointF(-40, 100) << QPointF(10, 20.7);
    }

    void alignEdges()
    {
        QFETCH(int, code);
        QFETCH(QPointF, shapeTopLeft);
        QFETCH(QPointF, referenceTopLeft);
        DrawScene scene(1);
        scene.setSceneRect(-1000, -1000, 3000, 3000);
        const auto pair = selectPair(&scene, QRectF(10.3, 20.7, 50, 30), QRectF(200, 100, 100, 60));
        QSignalSpy moved(&scene, &DrawScene::itemMoved);
        scene.alignItems(code);
        QCOMPARE(sceneBox(pair.second).topLeft(), shapeTopLeft);
        QCOMPARE(sceneBox(pair.first).topLeft(), referenceTopLeft);
        const bool referenceMoved = referenceTopLeft != QPointF(10.3, 20.7);
        QCOMPARE(moved.count(), referenceMoved ? 2 : 1);
        const QList<QVariant> last = moved.last();
        QCOMPARE(last.at(0).value<QGraphicsItem *>(), pair.second);
        QCOMPARE(last.at(1).toPointF(), shapeTopLeft - QPointF(200, 100));
    }

    void distribute_data()
    {
        // Along the axis, three shapes (start, size); the others stay at 0.
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<double>>("starts");
        QTest::addColumn<QList<double>>("sizes");
        QTest::addColumn<QList<double>>("newStarts");
        // Centres 0, 100, 50: ordered 0, 50, 100; gap (120 + 10 - 70) / 2 = 30.
        QTest::newRow("centres 0 100 50")
            << 7 << QList<double> {-10, 80, 45} << QList<double> {20, 40, 10}
            << QList<double> {-10, 80, 40};
        QTest::newRow("vertical") << 8 << QList<double> {-10, 80, 45} << QList<double> {20, 40, 10}
                                  << QList<double> {-10, 80, 40};
        // Ordered by centre, not by start; the gap is negative.
        QTest::newRow("overlapping") << 7 << QList<double> {-10, 0, 45}
                                     << QList<double> {20, 200, 10} << QList<double> {-10, 0, 0};
    }

    void distribute()
    {
        QFETCH(int, code);
        QFETCH(QList<double>, starts);
        QFETCH(QList<double>, sizes);
        QFETCH(QList<double>, newStarts);
        DrawScene scene(1);
        scene.setSceneRect(-1000, -1000, 3000, 3000);
        const bool horizontal = code == 7;
        QList<GraphicsRectItem *> shapes;
        for (int i = 0; i < 3; ++i) {
            const QRectF box = horizontal ? QRectF(starts.at(i), 0, sizes.at(i), 30)
                                          : QRectF(0, starts.at(i), 30, sizes.at(i));
            shapes << addRect(&scene, box);
            shapes.last()->setSelected(true);
        }
        QSignalSpy moved(&scene, &DrawScene::itemMoved);
        scene.alignItems(code);
        QCOMPARE(moved.count(), 3);
        for (int i = 0; i < 3; ++i) {
            const QRectF box = sceneBox(shapes.at(i));
            QCOMPARE(horizontal ? box.x() : box.y(), newStarts.at(i));
            QCOMPARE(horizontal ? box.y() : box.x(), 0.0);
        }
        for (const QList<QVariant> &args : qAsConst(moved)) {
            const int i = shapes.indexOf(
                static_cast<GraphicsRectItem *>(args.at(0).value<QGraphicsItem *>()));
            const double shift = newStarts.at(i) - starts.at(i);
            QCOMPARE(args.at(1).toPointF(), horizontal ? QPointF(shift, 0) : QPointF(0, shift));
        }
    }

    void equalSize_data()
    {
        // Reference (10, 10, 100, 50); the other shape (200, 100, 50, 20).
        QTest::addColumn<int>("code");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<int>("handle");
        QTest::addColumn<QPointF>("scale");
        QTest::newRow("width") << 9 << QRectF(200, 100, 100, 20) << 4 << QPointF(2, 1);
        QTest::newRow("height") << 10 << QRectF(200, 100, 50, 50) << 6 << QPointF(1, 2.5);
        QTest::newRow("size") << 11 << QRectF(200, 100, 100, 50) << 5 << QPointF(2, 2.5);
    }

    void equalSize()
    {
        QFETCH(int, code);
        QFETCH(QRectF, box);
        QFETCH(int, handle);
        QFETCH(QPointF, scale);
        DrawScene scene(1);
        const auto pair = selectPair(&scene, QRectF(10, 10, 100, 50), QRectF(200, 100, 50, 20));
        QSignalSpy resized(&scene, &DrawScene::itemResize);
        scene.alignItems(code);
        QCOMPARE(sceneBox(pair.second), box);
        QCOMPARE(sceneBox(pair.first), QRectF(10, 10, 100, 50));
        QCOMPARE(resized.count(), 1);
        QCOMPARE(resized.at(0).at(0).value<QGraphicsItem *>(), pair.second);
        QCOMPARE(resized.at(0).at(1).toInt(), handle);
        QCOMPARE(resized.at(0).at(2).toPointF(), scale);
    }

    void equalSizeSkips_data()
    {
        // Whichever of the two is the reference, nothing may change.
        QTest::addColumn<QRectF>("first");
        QTest::addColumn<QRectF>("second");
        QTest::addColumn<bool>("secondIsGroup");
        QTest::newRow("zero width") << QRectF(10, 10, 100, 50) << QRectF(200, 100, 0, 20) << false;
        QTest::newRow("group") << QRectF(10, 10, 100, 50) << QRectF(200, 100, 50, 20) << true;
    }

    void equalSizeSkips()
    {
        QFETCH(QRectF, first);
        QFETCH(QRectF, second);
        QFETCH(bool, secondIsGroup);
        DrawScene scene(1);
        QGraphicsItem *a = addRect(&scene, first);
        QGraphicsItem *b = addRect(&scene, second);
        if (secondIsGroup)
            b = scene.createGroup({b, addRect(&scene, second.translated(100, 0))});
        a->setSelected(true);
        b->setSelected(true);
        const QRectF boxB = sceneBox(b);
        QSignalSpy resized(&scene, &DrawScene::itemResize);
        for (int code : {9, 10, 11})
            scene.alignItems(code);
        QCOMPARE(resized.count(), 0);
        QCOMPARE(sceneBox(a), first);
        QCOMPARE(sceneBox(b), boxB);
    }

    void layerNeighbour_data()
    {
        // A (z 0), B (z 1), C (z 2) overlap one another; D overlaps nothing;
        // E (z 0) and F (z 1) overlap only each other.
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("down");
        QTest::addColumn<QString>("neighbour");
        QTest::newRow("bottom, down") << "A" << true << "";
        QTest::newRow("middle, down") << "B" << true << "A";
        QTest::newRow("middle, up") << "B" << false << "C";
        QTest::newRow("top, up") << "C" << false << "";
        QTest::newRow("alone") << "D" << true << "";
        QTest::newRow("pair, down") << "E" << true << "F";
    }

    void layerNeighbour()
    {
        QFETCH(QString, item);
        QFETCH(bool, down);
        QFETCH(QString, neighbour);
        DrawScene scene(1);
        QMap<QString, QGraphicsItem *> shapes {
            {"A", addRect(&scene, QRectF(100, 100, 100, 100), 0)},
            {"B", addRect(&scene, QRectF(150, 150, 100, 100), 1)},
            {"C", addRect(&scene, QRectF(120, 120, 100, 100), 2)},
            {"D", addRect(&scene, QRectF(600, 300, 50, 50), 0)},
            {"E", addRect(&scene, QRectF(600, 50, 50, 50), 0)},
            {"F", addRect(&scene, QRectF(620, 60, 50, 50), 1)}};
        QCOMPARE(scene.layerNeighbour(shapes.value(item), down), shapes.value(neighbour));
    }

    void stacking()
    {
        DrawScene scene(1);
        GraphicsRectItem *a = addRect(&scene, QRectF(100, 100, 100, 100), 0);
        GraphicsRectItem *b = addRect(&scene, QRectF(150, 150, 100, 100), 1);
        GraphicsRectItem *c = addRect(&scene, QRectF(120, 120, 100, 100), 2);
        GraphicsRectItem *lone = addRect(&scene, QRectF(600, 300, 50, 50), 5);
        auto zs = [&] { return QList<double> {a->zValue(), b->zValue(), c->zValue()}; };
        auto reset = [&] {
            a->setZValue(0);
            b->setZValue(1);
            c->setZValue(2);
        };
        scene.sendToBack(lone);
        QCOMPARE(lone->zValue(), 5.0);
        scene.bringToFront(lone);
        QCOMPARE(lone->zValue(), 0.1);
        scene.raiseToTop(lone);
        QCOMPARE(lone->zValue(), 3.0);
        scene.bringToFront(a);
        QCOMPARE(zs(), (QList<double> {2.1, 1, 2}));
        reset();
        scene.sendToBack(c);
        QCOMPARE(zs(), (QList<double> {0, 1, -0.1}));
        reset();
        scene.moveForward(a);
        QCOMPARE(zs(), (QList<double> {1, 0, 2}));
        reset();
        scene.moveBackward(c);
        QCOMPARE(zs(), (QList<double> {0, 2, 1}));
        reset();
        scene.moveForward(c);
        scene.moveBackward(a);
        QCOMPARE(zs(), (QList<double> {0, 1, 2}));
        // Group members and handles never count as overlapping shapes.
        GraphicsItemGroup *group = scene.createGroup(
            {addRect(&scene, QRectF(300, 300, 40, 40)), addRect(&scene, QRectF(330, 300, 40, 40))});
        group->setSelected(true);
        GraphicsRectItem *over = addRect(&scene, QRectF(310, 310, 40, 40));
        QCOMPARE(scene.collidingShapes(over), (QList<QGraphicsItem *> {group}));
    }

    void gridRendering()
    {
        DrawScene scene(1);
        QImage image(820, 500, QImage::Format_RGB32);
        QPainter painter(&image);
        scene.render(&painter, QRectF(0, 0, 820, 500), QRectF(0, 0, 820, 500));
        painter.end();
        // Dashed cyan lines every 20 units; a grey border; the outside shows
        // the background.
        auto cyan = [&](int x, int y) {
            const QRgb c = image.pixel(x, y);
            return qRed(c) < qGreen(c) && qGreen(c) == qBlue(c) && qGreen(c) < 255;
        };
        // Dash pixels away from the crossing lines, in a column or a row.
        auto dashes = [&](int line, bool column) {
            int n = 0;
            for (int t = 1; t < (column ? 480 : 800); ++t)
                n += t % 20 != 0 && (column ? cyan(line, t) : cyan(t, line));
            return n;
        };
        const int dashPixels = dashes(20, true);
        QVERIFY2(dashPixels > 100 && dashPixels < 479 - 23, "the grid lines are dashed");
        for (int line : {0, 780})
            QVERIFY(dashes(line, true) > 0);
        for (int line : {0, 460})
            QVERIFY(dashes(line, false) > 0);
        for (int line : {10, 790, 800, 810})
            QCOMPARE(dashes(line, true), 0);
        for (int line : {10, 470, 480})
            QCOMPARE(dashes(line, false), 0);
        const QRgb outside = QColor("#eeeef8").rgb();
        for (const QPoint &p : {QPoint(799, 0), QPoint(799, 300), QPoint(0, 479), QPoint(500, 479)})
            QVERIFY(qRed(image.pixel(p)) <= 0xcd);
        QCOMPARE(image.pixel(800, 200), outside);
        QCOMPARE(image.pixel(400, 480), outside);
        QCOMPARE(image.pixel(10, 10), QColor(Qt::white).rgb());
    }

private:
    static void sendKey(QGraphicsScene *scene, QEvent::Type type, int key,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(type, key, modifiers);
        QCoreApplication::sendEvent(scene, &event);
    }
    // Two selected items whose boxes become first and second in the order
    // of selectedItems(): the alignment reference is the first.
    static QPair<GraphicsRectItem *, GraphicsRectItem *>
    selectPair(DrawScene *scene, const QRectF &first, const QRectF &second)
    {
        GraphicsRectItem *a = addRect(scene, QRectF(0, 0, 10, 10));
        GraphicsRectItem *b = addRect(scene, QRectF(20, 0, 10, 10));
        a->setSelected(true);
        b->setSelected(true);
        if (scene->selectedItems().first() != a)
            std::swap(a, b);
        placeRect(a, first);
        placeRect(b, second);
        return {a, b};
    }
};

QTEST_MAIN(TestDrawScene)
#include "tst_drawscene.moc"
