#include "app/editorsettings.h"
#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/shapecommands.h"
#include "editor/useroptgroup.h"
#include "property/propertytreebrowser.h"
#include "shapes/graphicslineitem.h"
#include "shapes/shapekind.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QUndoStack>
#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

// Snapping to the grid and locking all shapes, driven by mouse and key
// events as a user gives them, with each finished gesture recorded as the
// main window records it.
class TestSnapLock : public QObject
{
    Q_OBJECT

    DrawScene *m_scene = nullptr;
    DrawView *m_view = nullptr;
    QUndoStack *m_stack = nullptr;
    int m_gestures = 0;

    static void setAids(bool snap, bool lock, int gridX = 10, int gridY = 10)
    {
        EditorSettings::Values values;
        values.snapToGrid = snap;
        values.lockAll = lock;
        values.gridX = gridX;
        values.gridY = gridY;
        EditorSettings::instance()->setValues(values);
    }

    void send(QEvent::Type type, const QPointF &scenePoint, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers)
    {
        const QPointF local = m_view->mapFromScene(scenePoint);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, m_view->viewport()->mapToGlobal(local.toPoint()), button,
                          buttons, modifiers);
        QApplication::sendEvent(m_view->viewport(), &event);
    }
    // Hovers over the first point, presses there, drags through the others
    // and releases on the last, every event carrying modifiers.
    void gesture(const QList<QPointF> &points, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseMove, points.first(), Qt::NoButton, modifiers);
        send(QEvent::MouseButtonPress, points.first(), Qt::LeftButton, modifiers);
        for (const QPointF &p : points.mid(1))
            send(QEvent::MouseMove, p, Qt::LeftButton, modifiers);
        send(QEvent::MouseButtonRelease, points.last(), Qt::NoButton, modifiers);
    }
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(m_scene, &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers);
        QApplication::sendEvent(m_scene, &release);
    }

    // Every gesture signal becomes an undo entry, as in the main window.
    void record()
    {
        connect(m_scene, &DrawScene::itemAdded, this, [this](QGraphicsItem *item) {
            ++m_gestures;
            m_stack->push(new AddShapeCommand(item, m_scene));
        });
        connect(m_scene, &DrawScene::itemMoved, this, [this](QGraphicsItem *item, QPointF delta) {
            ++m_gestures;
            m_stack->push(item ? new MoveShapeCommand(item, delta)
                               : new MoveShapeCommand(m_scene, delta));
        });
        connect(m_scene, &DrawScene::itemResize, this,
                [this](QGraphicsItem *item, int handle, const QPointF &scale, int opposite,
                       const QPointF &fixedPoint) {
                    ++m_gestures;
                    auto *command = new ResizeShapeCommand(item, handle, scale);
                    command->setOppositeHandle(opposite);
                    command->setFixedPoint(fixedPoint);
                    m_stack->push(command);
                });
        connect(m_scene, &DrawScene::itemControl, this,
                [this](QGraphicsItem *item, int handle, const QPointF &to, const QPointF &from) {
                    ++m_gestures;
                    m_stack->push(new ControlShapeCommand(item, handle, to, from));
                });
        connect(m_scene, &DrawScene::itemRotate, this, [this](QGraphicsItem *item, qreal old) {
            ++m_gestures;
            m_stack->push(new RotateShapeCommand(item, old));
        });
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
        m_scene = new DrawScene(BaseScreen);
        m_view = new DrawView(m_scene);
        m_scene->setView(m_view);
        m_view->resize(1000, 700);
        m_view->show();
        m_stack = new QUndoStack;
        m_gestures = 0;
        record();
    }

    void cleanup()
    {
        delete m_stack;
        delete m_view;
        delete m_scene;
        m_stack = nullptr;
        m_view = nullptr;
        m_scene = nullptr;
        EditorSettings::instance()->setValues(EditorSettings::Values());
        ProcessFixture::finish();
    }

    void drawBox_data()
    {
        QTest::addColumn<int>("gridX");
        QTest::addColumn<int>("gridY");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QRectF>("box"); // empty: no shape is left
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("corners to the nearest grid points")
            << 10 << 10 << QPointF(13, 17) << QPointF(118, 61) << none << QRectF(10, 20, 110, 40);
        QTest::newRow("dragged up and left")
            << 10 << 10 << QPointF(118, 61) << QPointF(13, 17) << none << QRectF(10, 20, 110, 40);
        QTest::newRow("different spacings across and down")
            << 20 << 6 << QPointF(13, 17) << QPointF(118, 61) << none << QRectF(20, 18, 100, 42);
        // Unsnapped, the box starts one unit inside the press point.
        QTest::newRow("Alt held") << 10 << 10 << QPointF(13, 17) << QPointF(118, 61)
                                  << Qt::KeyboardModifiers(Qt::AltModifier)
                                  << QRectF(14, 18, 104, 43);
        QTest::newRow("snapped onto its start's row")
            << 10 << 10 << QPointF(13, 17) << QPointF(58, 22) << none << QRectF();
    }

    void drawBox()
    {
        QFETCH(int, gridX);
        QFETCH(int, gridY);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QRectF, box);
        setAids(true, false, gridX, gridY);
        DrawTool::currentShape = RectangleKind;
        gesture({from, (from + to) / 2, to}, modifiers);
        const QList<QGraphicsItem *> shapes = m_scene->userItems();
        QCOMPARE(shapes.size(), box.isEmpty() ? 0 : 1);
        QCOMPARE(m_stack->count(), box.isEmpty() ? 0 : 1);
        if (box.isEmpty())
            return;
        QCOMPARE(sceneBox(shapes.first()), box);
        m_stack->undo();
        QVERIFY(m_scene->userItems().isEmpty());
        m_stack->redo();
        QCOMPARE(sceneBox(m_scene->userItems().first()), box);
    }

    void drawLine_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPolygonF>("points");
        QTest::newRow("snapped") << Qt::KeyboardModifiers()
                                 << QPolygonF(QVector<QPointF> {QPointF(10, 20), QPointF(120, 60)});
        QTest::newRow("Alt held") << Qt::KeyboardModifiers(
            Qt::AltModifier) << QPolygonF(QVector<QPointF> {QPointF(13, 17), QPointF(118, 61)});
    }

    void drawLine()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPolygonF, points);
        setAids(true, false);
        DrawTool::currentShape = LineKind;
        gesture({QPointF(13, 17), QPointF(60, 40), QPointF(118, 61)}, modifiers);
        const QList<QGraphicsItem *> shapes = m_scene->userItems();
        QCOMPARE(shapes.size(), 1);
        auto *line = dynamic_cast<GraphicsPolygonItem *>(shapes.first());
        QVERIFY(line);
        QCOMPARE(line->mapToScene(line->points()), points);
    }

    void move_data()
    {
        QTest::addColumn<QList<QRectF>>("boxes");
        QTest::addColumn<QPointF>("by");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPointF>("delta"); // how far the shapes went
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("corner on the grid")
            << QList<QRectF> {QRectF(100, 100, 50, 30)} << QPointF(7, 3) << none << QPointF(10, 0);
        QTest::newRow("corner off the grid lands on it")
            << QList<QRectF> {QRectF(103, 101, 50, 30)} << QPointF(7, 3) << none << QPointF(7, -1);
        QTest::newRow("Alt held") << QList<QRectF> {QRectF(100, 100, 50, 30)} << QPointF(7, 3)
                                  << Qt::KeyboardModifiers(Qt::AltModifier) << QPointF(7, 3);
        // Two shapes: the corner of the box around both snaps.
        QTest::newRow("selection of two")
            << QList<QRectF> {QRectF(102, 100, 50, 30), QRectF(200, 96, 40, 40)} << QPointF(-14, 22)
            << none << QPointF(-12, 24);
    }

    void move()
    {
        QFETCH(QList<QRectF>, boxes);
        QFETCH(QPointF, by);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPointF, delta);
        setAids(true, false);
        QList<GraphicsRectItem *> shapes;
        for (const QRectF &box : boxes) {
            shapes << addRect(m_scene, box);
            shapes.last()->setSelected(true);
        }
        const QPointF grab = boxes.first().center();
        gesture({grab, grab + by / 2, grab + by}, modifiers);
        for (int i = 0; i < shapes.size(); ++i)
            QCOMPARE(sceneBox(shapes.at(i)), boxes.at(i).translated(delta));
        QCOMPARE(m_stack->count(), 1);
        m_stack->undo();
        for (int i = 0; i < shapes.size(); ++i)
            QCOMPARE(sceneBox(shapes.at(i)), boxes.at(i));
    }

    void resize_data()
    {
        // A rectangle (100, 100, 50, 30) dragged by a handle; the press lands
        // off the handle's centre, inside it.
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<QPointF>("by");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QRectF>("box");
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("right-bottom corner")
            << QPointF(152, 131) << QPointF(13, 4) << none << QRectF(100, 100, 60, 30);
        // An empty box: as the same drag without snapping leaves it.
        QTest::newRow("right-bottom corner, Alt held")
            << QPointF(152, 131) << QPointF(13, 4) << Qt::KeyboardModifiers(Qt::AltModifier)
            << QRectF();
        QTest::newRow("left edge")
            << QPointF(99, 116) << QPointF(-17, 9) << none << QRectF(80, 100, 70, 30);
        QTest::newRow("top-left corner past the fixed one")
            << QPointF(100, 100) << QPointF(66, 38) << none << QRectF(150, 130, 20, 10);
    }

    void resize()
    {
        QFETCH(QPointF, press);
        QFETCH(QPointF, by);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QRectF, box);
        const QRectF before(100, 100, 50, 30);
        GraphicsRectItem *shape = addRect(m_scene, before);
        shape->setSelected(true);
        if (box.isEmpty()) {
            setAids(false, false);
            gesture({press, press + by / 2, press + by});
            box = sceneBox(shape);
            QVERIFY(box != before);
            m_stack->undo();
            m_stack->clear();
        }
        setAids(true, false);
        gesture({press, press + by / 2, press + by}, modifiers);
        QCOMPARE(sceneBox(shape), box);
        QCOMPARE(m_stack->count(), 1);
        m_stack->undo();
        QCOMPARE(sceneBox(shape), before);
        m_stack->redo();
        QCOMPARE(sceneBox(shape), box);
    }

    void pointDrag()
    {
        // The dragged point of a line lands on the grid, and undo puts it
        // back where it was.
        setAids(true, false);
        auto *line = new GraphicsLineItem;
        m_scene->addItem(line);
        line->appendPoint(QPointF(100, 100));
        line->appendPoint(QPointF(203, 157));
        line->finishPoints(QPointF());
        line->normalizeGeometry();
        line->setSelected(true);
        const QPolygonF before = line->mapToScene(line->points());
        gesture({QPointF(204, 158), QPointF(230, 170), QPointF(257, 186)});
        QCOMPARE(line->mapToScene(line->points()),
                 QPolygonF(QVector<QPointF> {QPointF(100, 100), QPointF(260, 190)}));
        QCOMPARE(m_stack->count(), 1);
        m_stack->undo();
        QCOMPARE(line->mapToScene(line->points()), before);
    }

    void arrowKeys_data()
    {
        QTest::addColumn<bool>("snap");
        QTest::addColumn<QPointF>("corner");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPointF>("delta");
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("on the grid, one spacing right")
            << true << QPointF(100, 100) << int(Qt::Key_Right) << none << QPointF(10, 0);
        QTest::newRow("off the grid, to the next line right")
            << true << QPointF(103, 100) << int(Qt::Key_Right) << none << QPointF(7, 0);
        QTest::newRow("off the grid, to the next line left")
            << true << QPointF(103, 100) << int(Qt::Key_Left) << none << QPointF(-3, 0);
        QTest::newRow("finest step replaced")
            << true << QPointF(100, 100) << int(Qt::Key_Down)
            << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier) << QPointF(0, 10);
        QTest::newRow("Alt held") << true << QPointF(103, 100) << int(Qt::Key_Right)
                                  << Qt::KeyboardModifiers(Qt::AltModifier) << QPointF(20, 0);
        QTest::newRow("snapping off")
            << false << QPointF(103, 100) << int(Qt::Key_Right) << none << QPointF(20, 0);
    }

    void arrowKeys()
    {
        QFETCH(bool, snap);
        QFETCH(QPointF, corner);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPointF, delta);
        setAids(snap, false);
        const QRectF before(corner, QSizeF(50, 30));
        GraphicsRectItem *shape = addRect(m_scene, before);
        shape->setSelected(true);
        this->key(key, modifiers);
        QCOMPARE(sceneBox(shape), before.translated(delta));
        QCOMPARE(m_stack->count(), 1);
        m_stack->undo();
        QCOMPARE(sceneBox(shape), before);
    }

    void lockRefusesGestures_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QList<QPointF>>("points"); // empty: an arrow key
        QTest::newRow("drag") << int(SelectKind)
                              << QList<QPointF> {QPointF(150, 120), QPointF(190, 160)};
        QTest::newRow("handle drag")
            << int(SelectKind) << QList<QPointF> {QPointF(200, 140), QPointF(260, 180)};
        QTest::newRow("rotation") << int(RotateKind)
                                  << QList<QPointF> {QPointF(200, 120), QPointF(150, 180)};
        QTest::newRow("arrow key") << int(SelectKind) << QList<QPointF> {};
    }

    void lockRefusesGestures()
    {
        QFETCH(int, tool);
        QFETCH(QList<QPointF>, points);
        setAids(true, true);
        const QRectF before(100, 100, 100, 40);
        GraphicsRectItem *shape = addRect(m_scene, before);
        shape->setSelected(true);
        DrawTool::currentShape = tool;
        QSignalSpy told(m_scene, &DrawScene::statusMessage);
        if (points.isEmpty())
            key(Qt::Key_Right);
        else
            gesture({points.first(), (points.first() + points.last()) / 2, points.last()});
        QCOMPARE(sceneBox(shape), before);
        QCOMPARE(shape->rotation(), 0.0);
        QCOMPARE(m_gestures, 0);
        QCOMPARE(m_stack->count(), 0);
        QVERIFY(shape->isSelected());
        QCOMPARE(told.count(), 1);
    }

    void lockStillSelectsAndDraws()
    {
        setAids(false, true);
        GraphicsRectItem *first = addRect(m_scene, QRectF(100, 100, 100, 40));
        GraphicsRectItem *second = addRect(m_scene, QRectF(300, 100, 100, 40));
        first->setSelected(true);
        QSignalSpy told(m_scene, &DrawScene::statusMessage);
        // A click picks another shape and says nothing.
        gesture({QPointF(350, 120)});
        QVERIFY(second->isSelected());
        QVERIFY(!first->isSelected());
        QCOMPARE(told.count(), 0);
        // New shapes can still be drawn.
        DrawTool::currentShape = RectangleKind;
        gesture({QPointF(500, 300), QPointF(550, 350)});
        QCOMPARE(m_scene->userItems().size(), 3);
        QCOMPARE(m_stack->count(), 1);
        QCOMPARE(told.count(), 0);
    }

    void lockLeavesPropertyEdits()
    {
        setAids(false, true);
        QWidget form;
        UserOptGroup::instance()->setActiveForm(&form);
        GraphicsRectItem *shape = addRect(m_scene, QRectF(100, 100, 100, 40));
        PropertyTreeBrowser browser;
        browser.currentItemChanged(static_cast<QGraphicsItem *>(shape));
        QVERIFY(browser.model()->setData(browser.valueIndex("width"), 160.0));
        QCOMPARE(sceneBox(shape).width(), 160.0);
        QCOMPARE(UserOptGroup::instance()->stackFor(&form)->count(), 1);
        UserOptGroup::instance()->removeForm(&form);
    }

    void gridFollowsSettings_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("gridX");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("column"); // where a grid line is looked for
        QTest::addColumn<bool>("drawn");
        QTest::newRow("line at the spacing") << true << 30 << QColor(Qt::red) << 30 << true;
        QTest::newRow("none between lines") << true << 30 << QColor(Qt::red) << 40 << false;
        QTest::newRow("other colour") << true << 40 << QColor(Qt::blue) << 40 << true;
        QTest::newRow("grid switched off") << false << 30 << QColor(Qt::red) << 30 << false;
    }

    void gridFollowsSettings()
    {
        QFETCH(bool, shown);
        QFETCH(int, gridX);
        QFETCH(QColor, colour);
        QFETCH(int, column);
        QFETCH(bool, drawn);
        // The scene exists before the change: it must follow it.
        EditorSettings::Values values;
        values.gridShown = shown;
        values.gridX = gridX;
        values.gridY = 60;
        values.gridColor = colour;
        QSignalSpy changed(m_scene, &QGraphicsScene::changed);
        EditorSettings::instance()->setValues(values);
        QTRY_VERIFY(!changed.isEmpty());

        QImage picture(100, 50, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        m_scene->render(&painter, QRectF(0, 0, 100, 50), QRectF(0, 0, 100, 50));
        painter.end();
        int hits = 0;
        // Row 0 holds the first horizontal line, which crosses every column.
        for (int y = 1; y < picture.height(); ++y) {
            const QColor pixel = picture.pixelColor(column, y);
            // The thin line is blended with the screen fill: its hue shows.
            hits += pixel != QColor(Qt::white) && pixel.hue() == colour.hue();
        }
        QCOMPARE(hits > 0, drawn);
    }
};

QTEST_MAIN(TestSnapLock)
#include "tst_snaplock.moc"
