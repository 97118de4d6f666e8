#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/shapecommands.h"
#include "services/editorsettings.h"
#include "shapes/graphicslineitem.h"
#include "shapes/shapekind.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

using Mods = Qt::KeyboardModifiers;
Q_DECLARE_METATYPE(Mods)

// Snapping to the grid and locking all shapes, driven by mouse and key
// events as a user gives them, with each finished gesture recorded as the
// main window records it.
class TestSnapLock : public QObject
{
    Q_OBJECT

    DrawScene *m_scene = nullptr;
    DrawView *m_view = nullptr;
    QUndoStack m_stack;

    static void setAids(bool snap, bool lock, bool grid = true)
    {
        EditorSettings::Values values;
        values.gridShown = grid;
        values.snapToGrid = snap;
        values.lockAll = lock;
        values.gridX = 10;
        values.gridY = 10;
        EditorSettings::instance()->setValues(values);
    }

    void send(QEvent::Type type, const QPointF &scenePoint, Qt::MouseButtons buttons, Mods mods)
    {
        scenetest::sendMouse(m_view, type, scenePoint, buttons, mods);
    }
    // Hovers over from, presses there, drags halfway and releases at to.
    void gesture(const QPointF &from, const QPointF &to, Mods mods = Qt::NoModifier)
    {
        send(QEvent::MouseMove, from, Qt::NoButton, mods);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
        send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, mods);
        send(QEvent::MouseMove, to, Qt::LeftButton, mods);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton, mods);
    }
    void key(int code, Mods mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, code, mods);
        QApplication::sendEvent(m_scene, &press);
        QKeyEvent release(QEvent::KeyRelease, code, mods);
        QApplication::sendEvent(m_scene, &release);
    }
    // A line by its points, any other shape by its box.
    static QPolygonF outline(const QGraphicsItem *shape)
    {
        auto *line = dynamic_cast<const GraphicsPolygonItem *>(shape);
        return line ? line->mapToScene(line->points()) : QPolygonF(sceneBox(shape));
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
        scenetest::recordGestures(m_scene, &m_stack);
        setAids(true, false);
    }

    void cleanup()
    {
        m_stack.clear();
        delete m_view;
        delete m_scene;
        ProcessFixture::finish();
    }

    void draw_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Mods>("mods");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QPolygonF>("outline"); // empty: no shape is left
        QTest::addColumn<bool>("grid");
        const int box = RectangleKind;
        const QPointF end(118, 61);
        QTest::newRow("box corners to the nearest grid points")
            << box << Mods() << end << QPolygonF(QRectF(10, 20, 110, 40)) << true;
        // Unsnapped, the box starts one unit inside the press point.
        const QPolygonF free(QRectF(14, 18, 104, 43));
        QTest::newRow("box, Alt held") << box << Mods(Qt::AltModifier) << end << free << true;
        QTest::newRow("box, grid switched off") << box << Mods() << end << free << false;
        QTest::newRow("box snapped onto its start's row")
            << box << Mods() << QPointF(58, 22) << QPolygonF() << true;
        QTest::newRow("line") << int(LineKind) << Mods() << end
                              << QPolygonF(QVector<QPointF> {QPointF(10, 20), QPointF(120, 60)})
                              << true;
    }

    void draw()
    {
        QFETCH(int, kind);
        QFETCH(Mods, mods);
        QFETCH(QPointF, to);
        QFETCH(QPolygonF, outline);
        QFETCH(bool, grid);
        setAids(true, false, grid);
        DrawTool::currentShape = kind;
        gesture(QPointF(13, 17), to, mods);
        const QList<QGraphicsItem *> shapes = m_scene->userItems();
        QCOMPARE(shapes.size(), outline.isEmpty() ? 0 : 1);
        QCOMPARE(m_stack.count(), shapes.size());
        if (!shapes.isEmpty())
            QCOMPARE(this->outline(shapes.first()), outline);
    }

    void reshape_data()
    {
        // A selected box moved or resized by a drag, or moved by a key when
        // one is given; one undo entry takes it back.
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<Mods>("mods");
        QTest::addColumn<QRectF>("after");
        const QRectF off(103, 101, 50, 30);
        QTest::newRow("corner off the grid lands on it")
            << off << 0 << off.center() << off.center() + QPointF(7, 3) << Mods()
            << off.translated(7, -1);
        QTest::newRow("arrow key's finest step replaced")
            << off << int(Qt::Key_Down) << QPointF() << QPointF()
            << Mods(Qt::ShiftModifier | Qt::ControlModifier) << off.translated(0, 9);
        // The press lands inside the left edge's handle, off its centre.
        QTest::newRow("edge handle leaves the other axis")
            << QRectF(100, 100, 50, 30) << 0 << QPointF(99, 116) << QPointF(82, 125) << Mods()
            << QRectF(80, 100, 70, 30);
    }

    void reshape()
    {
        QFETCH(QRectF, box);
        QFETCH(int, key);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(Mods, mods);
        QFETCH(QRectF, after);
        GraphicsRectItem *shape = addRect(m_scene, box);
        shape->setSelected(true);
        if (key)
            this->key(key, mods);
        else
            gesture(from, to, mods);
        QCOMPARE(sceneBox(shape), after);
        QCOMPARE(m_stack.count(), 1);
        m_stack.undo();
        QCOMPARE(sceneBox(shape), box);
    }

    void lockRefusesGestures_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QPointF>("from"); // null: an arrow key
        QTest::addColumn<QPointF>("to");
        QTest::newRow("drag") << int(SelectKind) << QPointF(150, 120) << QPointF(190, 160);
        QTest::newRow("handle drag") << int(SelectKind) << QPointF(200, 140) << QPointF(260, 180);
        QTest::newRow("rotation") << int(RotateKind) << QPointF(200, 120) << QPointF(150, 180);
        QTest::newRow("arrow key") << int(SelectKind) << QPointF() << QPointF();
    }

    void lockRefusesGestures()
    {
        QFETCH(int, tool);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        setAids(true, true);
        const QRectF before(100, 100, 100, 40);
        GraphicsRectItem *shape = addRect(m_scene, before);
        shape->setSelected(true);
        DrawTool::currentShape = tool;
        QSignalSpy told(m_scene, &DrawScene::statusMessage);
        if (from.isNull())
            key(Qt::Key_Right);
        else
            gesture(from, to);
        QCOMPARE(sceneBox(shape), before);
        QCOMPARE(shape->rotation(), 0.0);
        QCOMPARE(m_stack.count(), 0);
        QVERIFY(shape->isSelected());
        QCOMPARE(told.count(), 1);
    }
};

QTEST_MAIN(TestSnapLock)
#include "tst_snaplock.moc"
