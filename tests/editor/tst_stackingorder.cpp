#include "editor/stackingorder.h"

#include "editor/drawscene.h"
#include "shapes/graphicsitemgroup.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

using scenetest::addRect;

class TestStackingOrder : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(800, 480); }

    void layers()
    {
        DrawScene scene(1);
        // A (z 0), B (z 1) and C (z 2) overlap one another.
        const QList<GraphicsRectItem *> abc {addRect(&scene, QRectF(100, 100, 100, 100), 0),
                                             addRect(&scene, QRectF(150, 150, 100, 100), 1),
                                             addRect(&scene, QRectF(120, 120, 100, 100), 2)};
        const struct
        {
            void (StackingOrder::*op)(QGraphicsItem *);
            int item;
            QList<double> zs;
        } steps[] = {
            {&StackingOrder::bringToFront, 0, {2.1, 1, 2}},
            {&StackingOrder::sendToBack, 2, {0, 1, -0.1}},
            {&StackingOrder::moveForward, 0, {1.5, 1, 2}},
            {&StackingOrder::moveBackward, 2, {0, 1, 0.5}},
            {&StackingOrder::moveForward, 2, {0, 1, 2}},
            {&StackingOrder::moveBackward, 0, {0, 1, 2}}};
        StackingOrder order(&scene);
        for (const auto &step : steps) {
            for (int i = 0; i < 3; ++i)
                abc.at(i)->setZValue(i);
            (order.*step.op)(abc.at(step.item));
            QCOMPARE((QList<double> {abc[0]->zValue(), abc[1]->zValue(), abc[2]->zValue()}),
                     step.zs);
        }
        // Group members and handles never count as overlapping shapes.
        GraphicsItemGroup *group = scene.createGroup(
            {addRect(&scene, QRectF(300, 300, 40, 40)), addRect(&scene, QRectF(330, 300, 40, 40))});
        group->setSelected(true);
        GraphicsRectItem *over = addRect(&scene, QRectF(310, 310, 40, 40));
        QCOMPARE(order.collidingShapes(over), (QList<QGraphicsItem *> {group}));
    }

    // The item between T (on top, overlapping every other box) and B: C and
    // D lie under T and above the item without touching it. The nearest
    // overlapping neighbours are T above and B below, and the item passes
    // them.
    void stackingFindsTheNearestNeighbour()
    {
        const QList<QRectF> boxes {QRectF(100, 100, 50, 50), QRectF(100, 100, 400, 100),
                                   QRectF(120, 120, 50, 50), QRectF(400, 100, 50, 50),
                                   QRectF(300, 100, 50, 50)};
        const QList<double> zs {1, 4, 0, 3, 2};
        for (bool down : {false, true}) {
            DrawScene scene(1);
            QList<GraphicsRectItem *> shapes;
            for (int i = 0; i < boxes.size(); ++i)
                shapes << addRect(&scene, boxes.at(i), zs.at(i));
            const int command = down ? MoveBackward : MoveForward;
            const QString fault = restack(scene, shapes.first(), command);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
            QVERIFY(down ? shapes.first()->zValue() < shapes.at(2)->zValue()
                         : shapes.first()->zValue() > shapes.at(1)->zValue());
        }
    }

    // Random piles under random stacking commands keep the order a user
    // expects: the item passes exactly the overlapping shapes the command
    // names (the nearest one for a single step, all of them for front and
    // back), no two other shapes change places, a command with nothing to
    // pass changes no z, and no two shapes ever share a z, or a later
    // exchange between them would do nothing.
    void stackingKeepsTheOrderUsersExpect()
    {
        QRandomGenerator random(20261206);
        for (int round = 0; round < 40; ++round) {
            DrawScene scene(1);
            QList<GraphicsRectItem *> shapes;
            const int count = random.bounded(3, 10);
            for (int i = 0; i < count; ++i) {
                const QRectF box(random.bounded(100, 300), random.bounded(100, 250),
                                 random.bounded(20, 150), random.bounded(20, 120));
                shapes << addRect(&scene, box, i);
            }
            for (int step = 0; step < 100; ++step) {
                GraphicsRectItem *item = shapes.at(random.bounded(count));
                const QString fault = restack(scene, item, random.bounded(4));
                QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("round %1 step %2: %3")
                                                         .arg(round)
                                                         .arg(step)
                                                         .arg(fault)));
                QSet<double> seen;
                for (const GraphicsRectItem *shape : qAsConst(shapes))
                    seen.insert(shape->zValue());
                QVERIFY2(seen.size() == count,
                         qPrintable(QStringLiteral("round %1 step %2").arg(round).arg(step)));
            }
        }
    }

private:
    enum Command { BringToFront, SendToBack, MoveForward, MoveBackward };

    // Top-level shapes as drawn, topmost first.
    static QList<QGraphicsItem *> drawnOrder(const QGraphicsScene &scene)
    {
        QList<QGraphicsItem *> order;
        const QList<QGraphicsItem *> all = scene.items(Qt::DescendingOrder);
        for (QGraphicsItem *item : all) {
            if (item->type() > QGraphicsItem::UserType && !item->parentItem())
                order << item;
        }
        return order;
    }

    // Runs command on item and names what broke the expected order, if
    // anything.
    static QString restack(QGraphicsScene &scene, QGraphicsItem *item, int command)
    {
        const QList<QGraphicsItem *> before = drawnOrder(scene);
        StackingOrder order(&scene);
        const QList<QGraphicsItem *> overlapping = order.collidingShapes(item);
        const int at = before.indexOf(item);
        // The overlapping shapes the item should pass: before[i] with i < at
        // lies above it.
        QList<QGraphicsItem *> passed;
        const bool up = command == BringToFront || command == MoveForward;
        const bool all = command == BringToFront || command == SendToBack;
        for (int i = up ? at - 1 : at + 1; i >= 0 && i < before.size(); i += up ? -1 : 1) {
            if (overlapping.contains(before.at(i))) {
                passed << before.at(i);
                if (!all)
                    break;
            }
        }
        const double z = item->zValue();
        switch (command) {
        case BringToFront: order.bringToFront(item); break;
        case SendToBack: order.sendToBack(item); break;
        case MoveForward: order.moveForward(item); break;
        default: order.moveBackward(item); break;
        }
        if (passed.isEmpty() && item->zValue() != z)
            return QStringLiteral("command %1 with nothing to pass moved the item").arg(command);
        const QList<QGraphicsItem *> after = drawnOrder(scene);
        for (QGraphicsItem *p : before) {
            for (QGraphicsItem *q : before) {
                if (p == q || !order.collidingShapes(p).contains(q))
                    continue;
                const bool swapped = (before.indexOf(p) < before.indexOf(q))
                    != (after.indexOf(p) < after.indexOf(q));
                const bool expected
                    = (p == item && passed.contains(q)) || (q == item && passed.contains(p));
                if (swapped != expected)
                    return QStringLiteral("command %1: shapes %2 and %3 %4")
                        .arg(command)
                        .arg(before.indexOf(p))
                        .arg(before.indexOf(q))
                        .arg(swapped ? QStringLiteral("changed places")
                                     : QStringLiteral("kept their places"));
            }
        }
        return QString();
    }
};

QTEST_MAIN(TestStackingOrder)
#include "tst_stackingorder.moc"
