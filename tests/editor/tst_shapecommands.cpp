#include "editor/drawscene.h"
#include "editor/shapecommands.h"
#include "editor/shapemimedata.h"
#include "editor/useroptgroup.h"
#include "project/config.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicsroundrectitem.h"
#include "support/scenetesting.h"

#include <QPointer>
#include <QUndoStack>
#include <QWidget>
#include <QtTest>

#include <cmath>
#include <memory>

using scenetest::placeRect;
using scenetest::sceneBox;

namespace {

// A rectangle that counts the live instances, to see who frees what. No
// meta-object of its own: it keeps the rectangle's registered properties.
class CountedRect : public GraphicsRectItem
{
public:
    explicit CountedRect(const QRectF &box = QRectF(100, 100, 40, 20))
        : GraphicsRectItem(QRect(0, 0, 1, 1))
    {
        ++live;
        placeRect(this, box);
    }
    ~CountedRect() override { --live; }

    static int live;
};

int CountedRect::live = 0;

CountedRect *addCounted(QGraphicsScene *scene, const QRectF &box, double z = 0)
{
    auto *rect = new CountedRect(QRectF(0, 0, 1, 1));
    scene->addItem(rect);
    placeRect(rect, box);
    rect->setZValue(z);
    return rect;
}

// Rounded, so that arithmetic noise does not count; -0 reads as 0.
QString num(double v)
{
    return QString::number(std::round(v * 1e6) / 1e6 + 0.0);
}

QString box(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(num(r.x()), num(r.y()), num(r.width()), num(r.height()));
}

// What undo and redo must restore: box on screen, position, z and name.
QStringList state(const QList<QGraphicsItem *> &items)
{
    QStringList result;
    for (QGraphicsItem *item : items) {
        result << QStringLiteral("%1 @%2,%3 z%4 %5")
                      .arg(box(sceneBox(item)), num(item->x()), num(item->y()), num(item->zValue()),
                           shapeObject(item)->objectName());
    }
    return result;
}

} // namespace

class TestShapeCommands : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Config::instance()->screenWidth = 800;
        Config::instance()->screenHeight = 480;
        DrawScene::resetScreenCounters();
        GraphicsItem::seedRandom(7);
        CountedRect::live = 0;
        m_scene = std::make_unique<DrawScene>();
        m_form = std::make_unique<QWidget>();
        undo()->setActiveForm(m_form.get());
    }

    void cleanup()
    {
        // The history goes first, as in the editor.
        m_form.reset();
        m_scene.reset();
        QCOMPARE(CountedRect::live, 0);
    }

    void add_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("text");
        QTest::newRow("drawn") << 1 << false << "创建对象";
        QTest::newRow("three pasted") << 3 << true << "批量复制对象";
    }

    void add()
    {
        QFETCH(int, count);
        QFETCH(bool, pasted);
        QFETCH(QString, text);
        QList<QGraphicsItem *> items;
        for (int i = 0; i < count; ++i) {
            auto *rect = new CountedRect(QRectF(100 + 60 * i, 120, 40, 20 + i));
            rect->setZValue(i + 0.1);
            rect->setObjectName(QStringLiteral("rect_%1").arg(i));
            if (!pasted)
                m_scene->addItem(rect);
            items.append(rect);
        }
        const QStringList before = state(items);
        push(pasted ? new AddShapeCommand(items, m_scene.get())
                    : new AddShapeCommand(items.first(), m_scene.get()));
        QCOMPARE(stack()->text(0), text);
        QCOMPARE(m_scene->userItems().size(), count);
        stack()->undo();
        QVERIFY(m_scene->userItems().isEmpty());
        QCOMPARE(CountedRect::live, count);
        // Whatever happens to an undone shape, redo puts it back where it was.
        for (QGraphicsItem *item : qAsConst(items))
            item->setPos(item->pos() + QPointF(33, 44));
        stack()->redo();
        QCOMPARE(m_scene->userItems().size(), count);
        QCOMPARE(state(items), before);
    }

    void removeSelection()
    {
        QList<QGraphicsItem *> items;
        for (int i = 0; i < 3; ++i) {
            items.append(addCounted(m_scene.get(), QRectF(50 + 100 * i, 60, 30 + i, 40), i));
            m_scene->assignItemName(items.last());
        }
        items.at(0)->setSelected(true);
        items.at(2)->setSelected(true);
        const QStringList before = state(items);
        push(new RemoveShapeCommand(m_scene.get()));
        QCOMPARE(stack()->text(0), QStringLiteral("删除对象"));
        QCOMPARE(m_scene->userItems(), QList<QGraphicsItem *> {items.at(1)});
        stack()->undo();
        QCOMPARE(state(m_scene->userItems()), before);
        stack()->redo();
        QCOMPARE(m_scene->userItems(), QList<QGraphicsItem *> {items.at(1)});
        QCOMPARE(CountedRect::live, 3);
    }

    void move_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addColumn<QString>("text");
        QTest::newRow("one shape") << false << "移动对象";
        QTest::newRow("selection") << true << "批量移动对象";
    }

    void move()
    {
        QFETCH(bool, batch);
        QFETCH(QString, text);
        QList<QGraphicsItem *> items;
        for (int i = 0; i < 4; ++i)
            items.append(addCounted(m_scene.get(), QRectF(100 + 100 * i, 100, 40, 40)));
        // The last one is never selected and never moves.
        const QList<QGraphicsItem *> moved = batch ? items.mid(0, 3) : items.mid(1, 1);
        const QStringList before = state(items);
        // The arrow keys have moved the shapes already.
        const QPointF delta(30, -20);
        for (QGraphicsItem *item : moved) {
            item->setSelected(true);
            item->setPos(item->pos() + delta);
        }
        const QStringList after = state(items);
        push(batch ? new MoveShapeCommand(m_scene.get(), delta)
                   : new MoveShapeCommand(items.at(1), delta));
        QCOMPARE(stack()->text(0), text);
        QCOMPARE(state(items), after); // the first redo does not move them again
        stack()->undo();
        QCOMPARE(state(items), before);
        stack()->redo();
        QCOMPARE(state(items), after);
    }

    void resize_data()
    {
        QTest::addColumn<bool>("grouped");
        QTest::addColumn<int>("handle");
        QTest::addColumn<QPointF>("scale");
        QTest::addColumn<int>("opposite");
        QTest::addColumn<QRectF>("resized");
        // Box (100, 100, 100, 50); the point opposite the handle stays.
        QTest::newRow("bottom-right")
            << false << 5 << QPointF(2, 3) << 0 << QRectF(100, 100, 200, 150);
        QTest::newRow("top-left") << false << 1 << QPointF(0.5, 2) << 0 << QRectF(150, 50, 50, 100);
        QTest::newRow("top edge") << false << 2 << QPointF(3, 2) << 0 << QRectF(100, 50, 100, 100);
        // Dragged across the top-left corner: that corner became the
        // bottom-right one, which is opposite handle 1.
        QTest::newRow("turned inside out")
            << false << 5 << QPointF(-1, -1) << 1 << QRectF(0, 50, 100, 50);
        QTest::newRow("group") << true << 5 << QPointF(2, 3) << 0 << QRectF(100, 100, 200, 150);
    }

    void resize()
    {
        QFETCH(bool, grouped);
        QFETCH(int, handle);
        QFETCH(QPointF, scale);
        QFETCH(int, opposite);
        QFETCH(QRectF, resized);
        QList<QGraphicsItem *> watched;
        if (grouped) {
            CountedRect *a = addCounted(m_scene.get(), QRectF(100, 100, 40, 50));
            CountedRect *b = addCounted(m_scene.get(), QRectF(160, 100, 40, 50));
            watched = {m_scene->createGroup({a, b}), a, b};
        } else {
            watched = {addCounted(m_scene.get(), QRectF(100, 100, 100, 50), 2)};
            shapeObject(watched.first())->setObjectName(QStringLiteral("rect_1"));
        }
        QGraphicsItem *item = watched.first();
        const QStringList before = state(watched);
        // The resize gesture.
        auto gesture = [&](auto *shape) {
            shape->scaleFromHandle(handle, scale.x(), scale.y(),
                                   shape->oppositeHandlePosition(handle));
            shape->normalizeGeometry();
        };
        if (grouped)
            gesture(static_cast<GraphicsItemGroup *>(item));
        else
            gesture(static_cast<CountedRect *>(item));
        QCOMPARE(box(sceneBox(item)), box(resized));
        const QStringList after = state(watched);
        auto *command = new ResizeShapeCommand(item, handle, scale);
        command->setOppositeHandle(opposite);
        push(command);
        QCOMPARE(stack()->text(0), QStringLiteral("调整对象大小"));
        QCOMPARE(state(watched), after);
        stack()->undo();
        QCOMPARE(state(watched), before);
        stack()->redo();
        QCOMPARE(state(watched), after);
    }

    void rotate()
    {
        CountedRect *rect = addCounted(m_scene.get(), QRectF(100, 100, 100, 50));
        rect->setRotation(90);
        push(new RotateShapeCommand(rect, 0));
        rect->setRotation(45);
        push(new RotateShapeCommand(rect, 90));
        QCOMPARE(stack()->text(1), QStringLiteral("旋转对象"));
        stack()->undo();
        QCOMPARE(rect->rotation(), 90.0);
        // Turned about its centre.
        QCOMPARE(box(sceneBox(rect)), box(QRectF(125, 75, 50, 100)));
        stack()->undo();
        QCOMPARE(box(sceneBox(rect)), box(QRectF(100, 100, 100, 50)));
        stack()->redo();
        stack()->redo();
        QCOMPARE(rect->rotation(), 45.0);
    }

    void control()
    {
        auto *shape = new GraphicsRoundrectItem(QRect(0, 0, 1, 1));
        m_scene->addItem(shape);
        placeRect(shape, QRectF(100, 100, 200, 100));
        // The handle on the top edge sets the horizontal radius.
        const QPointF lastPos = shape->mapToScene(shape->handlePosition(10));
        const QPointF radii(shape->radiusX(), shape->radiusY());
        shape->moveControlPoint(10, QPointF(250, 100));
        shape->normalizeGeometry();
        const QPointF changed(shape->radiusX(), shape->radiusY());
        QCOMPARE(changed, QPointF(50, radii.y()));
        push(new ControlShapeCommand(shape, 10, QPointF(250, 100), lastPos));
        QCOMPARE(stack()->text(0), QStringLiteral("调整对象形状"));
        QCOMPARE(QPointF(shape->radiusX(), shape->radiusY()), changed);
        stack()->undo();
        QCOMPARE(QPointF(shape->radiusX(), shape->radiusY()), radii);
        stack()->redo();
        QCOMPARE(QPointF(shape->radiusX(), shape->radiusY()), changed);
    }

    void groupAndUngroup()
    {
        QList<QGraphicsItem *> items;
        for (int i = 0; i < 3; ++i) {
            items.append(addCounted(m_scene.get(), QRectF(100 + 80 * i, 100 + 30 * i, 50, 40), i));
            m_scene->assignItemName(items.last());
            items.last()->setSelected(true);
        }
        auto boxes = [&] {
            QStringList result;
            for (QGraphicsItem *item : qAsConst(items))
                result << box(sceneBox(item));
            return result;
        };
        const QStringList members = state(items);
        GraphicsItemGroup *formed = m_scene->createGroup(m_scene->selectedItems());
        push(new GroupShapeCommand(formed, m_scene.get()));
        QCOMPARE(stack()->text(0), QStringLiteral("组合"));
        const QStringList grouped = state({formed});
        const QList<QGraphicsItem *> justTheGroup {formed};
        QCOMPARE(m_scene->selectedItems(), justTheGroup);
        // Ungrouping a turned group leaves every member where it is on screen.
        formed->setRotation(90);
        push(new RotateShapeCommand(formed, 0));
        const QStringList turned = boxes();
        push(new UnGroupShapeCommand(formed, m_scene.get()));
        QCOMPARE(stack()->text(2), QStringLiteral("取消组合"));
        QCOMPARE(formed->scene(), nullptr);
        QCOMPARE(items.at(0)->parentItem(), nullptr);
        QCOMPARE(m_scene->selectedItems().size(), 3);
        QCOMPARE(boxes(), turned);
        stack()->undo();
        QCOMPARE(formed->members(), items);
        QCOMPARE(m_scene->selectedItems(), justTheGroup);
        QCOMPARE(boxes(), turned);
        stack()->undo();
        // Undone, the group keeps its object out of the scene; redone, the same
        // object holds the same members.
        stack()->undo();
        QCOMPARE(formed->scene(), nullptr);
        QVERIFY(formed->members().isEmpty());
        QCOMPARE(m_scene->selectedItems().size(), 3);
        QCOMPARE(state(items), members);
        stack()->redo();
        QCOMPARE(formed->members(), items);
        QCOMPARE(m_scene->selectedItems(), justTheGroup);
        QCOMPARE(state({formed}), grouped);
        QCOMPARE(state(items), members);
    }

    void modify_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("renames");
        QTest::newRow("name") << "objectName"
                              << "修改对象objectName属性" << true;
        QTest::newRow("width") << "width"
                               << "修改对象width属性" << false;
        // Every registered property. The box moves and grows in one step, so the
        // position must be written after the size.
        QTest::newRow("all") << ""
                             << "修改对象属性" << true;
    }

    void modify()
    {
        QFETCH(QString, property);
        QFETCH(QString, text);
        QFETCH(bool, renames);
        CountedRect *rect = addCounted(m_scene.get(), QRectF(100, 100, 100, 50));
        rect->setObjectName(QStringLiteral("rectangle_1"));
        const QStringList before = state({rect});
        auto *command = new ModifyCommand(rect, property);
        QCOMPARE(command->text(), text);
        QCOMPARE(command->changesObjectName(), renames);
        if (property != QLatin1String("width"))
            rect->setObjectName(QStringLiteral("pump"));
        if (property != QLatin1String("objectName"))
            rect->setProperty("width", 300.0);
        if (property.isEmpty())
            rect->setProperty("pos", QPointF(20, 30));
        const QStringList after = state({rect});
        push(command);
        QCOMPARE(state({rect}), after);
        stack()->undo();
        QCOMPARE(state({rect}), before);
        stack()->redo();
        QCOMPARE(state({rect}), after);
    }

    void limitIsPerForm()
    {
        CountedRect *rect = addCounted(m_scene.get(), QRectF(100, 100, 100, 50));
        QWidget other;
        QUndoStack *mine = stack();
        QUndoStack *theirs = undo()->stackFor(&other);
        QVERIFY(theirs && theirs != mine);
        QCOMPARE(stack(), mine); // creating a stack does not activate it
        undo()->setActiveForm(&other);
        push(new RotateShapeCommand(rect, 0));
        undo()->setActiveForm(m_form.get());
        for (int angle = 1; angle <= 25; ++angle) {
            const qreal old = rect->rotation();
            rect->setRotation(angle);
            push(new RotateShapeCommand(rect, old));
        }
        QCOMPARE(mine->count(), 20);
        QCOMPARE(theirs->count(), 1);
        while (mine->canUndo())
            mine->undo();
        QCOMPARE(rect->rotation(), 5.0); // the five oldest entries were dropped
    }

    void formStackLifetime()
    {
        auto form = std::make_unique<QWidget>();
        QPointer<QUndoStack> history = undo()->stackFor(form.get());
        QCOMPARE(undo()->stacks().size(), 2);
        QCOMPARE(undo()->stackFor(form.get()), history.data());
        undo()->removeForm(form.get());
        QVERIFY(!history);
        QCOMPARE(undo()->stacks().size(), 1);
        // A form that comes back gets a fresh history; destroying it takes the
        // history along.
        history = undo()->stackFor(form.get());
        undo()->setActiveForm(form.get());
        form.reset();
        QVERIFY(!history);
        QCOMPARE(stack(), nullptr);
        QCOMPARE(undo()->stacks().size(), 1);
    }

    void ownership_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("liveAfterSteps");
        QTest::addColumn<int>("liveWithoutStack");
        QTest::addColumn<bool>("sceneFirst");
        // Three counted shapes and an uncounted one that is only rotated. "paste"
        // adds two, "discard" one not applied, "detached" one with no active form;
        // "fill" pushes twenty rotations so the oldest entries drop off.
        auto row = [](const char *name, const QStringList &steps, int afterSteps,
                      int withoutStack) {
            QTest::newRow(name) << steps << afterSteps << withoutStack << false;
            QTest::newRow(qPrintable(QString::fromUtf8(name) + QStringLiteral(", scene first")))
                << steps << afterSteps << withoutStack << true;
        };
        row("paste not applied", {"discard"}, 3, 3);
        row("paste with no active form", {"detached"}, 3, 3);
        row("undone creation replaced", {"paste", "undo", "rotate"}, 3, 3);
        row("removal done", {"select", "remove"}, 3, 0);
        row("removal dropped", {"select", "remove", "fill"}, 0, 0);
        row("pasted, removed, both undone", {"paste", "select", "remove", "undo", "undo"}, 5, 3);
        row("group undone and replaced", {"select", "group", "undo", "rotate"}, 3, 3);
        row("ungrouped then removed", {"select", "group", "ungroup", "remove"}, 3, 0);
        row("ungroup undone", {"select", "group", "ungroup", "undo"}, 3, 3);
    }

    void ownership()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, liveAfterSteps);
        QFETCH(int, liveWithoutStack);
        QFETCH(bool, sceneFirst);
        DrawScene *scene = m_scene.get();
        for (int i = 0; i < 3; ++i)
            addCounted(scene, QRectF(100 + 100 * i, 100, 50, 50));
        GraphicsRectItem *spare = scenetest::addRect(scene, QRectF(600, 400, 20, 20));
        QList<QPointer<GraphicsItemGroup>> groups;
        auto countedInScene = [scene] {
            int n = 0;
            for (QGraphicsItem *item : scene->userItems())
                n += dynamic_cast<CountedRect *>(item) ? 1 : 0;
            return n;
        };
        for (const QString &step : qAsConst(steps)) {
            if (step == QLatin1String("paste")) {
                push(new AddShapeCommand({new CountedRect(QRectF(100, 300, 30, 30)),
                                          new CountedRect(QRectF(200, 300, 30, 30))},
                                         scene));
            } else if (step == QLatin1String("discard")) {
                undo()->push(new AddShapeCommand(QList<QGraphicsItem *> {new CountedRect}, scene),
                             false);
            } else if (step == QLatin1String("detached")) {
                undo()->setActiveForm(nullptr);
                push(new AddShapeCommand(QList<QGraphicsItem *> {new CountedRect}, scene));
                undo()->setActiveForm(m_form.get());
            } else if (step == QLatin1String("select")) {
                for (QGraphicsItem *item : scene->items()) {
                    if (!item->parentItem() && item != spare)
                        item->setSelected(true);
                }
            } else if (step == QLatin1String("remove")) {
                push(new RemoveShapeCommand(scene));
            } else if (step == QLatin1String("group")) {
                GraphicsItemGroup *formed = scene->createGroup(scene->selectedItems());
                groups.append(formed);
                push(new GroupShapeCommand(formed, scene));
            } else if (step == QLatin1String("ungroup")) {
                push(new UnGroupShapeCommand(groups.last(), scene));
            } else if (step == QLatin1String("rotate")) {
                push(new RotateShapeCommand(spare, 0));
            } else if (step == QLatin1String("fill")) {
                for (int i = 0; i < 20; ++i)
                    push(new RotateShapeCommand(spare, 0));
            } else if (step == QLatin1String("undo")) {
                stack()->undo();
            } else if (step == QLatin1String("redo")) {
                stack()->redo();
            }
        }
        QCOMPARE(CountedRect::live, liveAfterSteps);
        if (sceneFirst) {
            m_scene.reset();
            undo()->removeForm(m_form.get());
        } else {
            undo()->removeForm(m_form.get());
            QCOMPARE(CountedRect::live, liveWithoutStack);
            QCOMPARE(countedInScene(), liveWithoutStack);
            m_scene.reset();
        }
        QCOMPARE(CountedRect::live, 0);
        for (const QPointer<GraphicsItemGroup> &g : qAsConst(groups))
            QVERIFY2(!g, "a group outlived its screen and its history");
    }

    void mimeData()
    {
        CountedRect *a = addCounted(m_scene.get(), QRectF(100, 100, 40, 20), 1);
        CountedRect *b = addCounted(m_scene.get(), QRectF(300, 200, 60, 30));
        CountedRect *c = addCounted(m_scene.get(), QRectF(400, 250, 40, 20));
        GraphicsItemGroup *source = m_scene->createGroup({b, c});
        auto *helper = new QGraphicsRectItem(0, 0, 5, 5);
        m_scene->addItem(helper);
        // The helper cannot be copied and leaves no entry.
        auto payload = std::make_unique<ShapeMimeData>(QList<QGraphicsItem *> {a, helper, source});
        QVERIFY(payload->formats().isEmpty());
        QCOMPARE(payload->items().size(), 2);
        QGraphicsItem *single = payload->items().at(0);
        auto *copy = dynamic_cast<GraphicsItemGroup *>(payload->items().at(1));
        QVERIFY(single != a && copy && copy != source);
        QCOMPARE(single->scene(), nullptr);
        QCOMPARE(box(sceneBox(single)), box(QRectF(100, 100, 40, 20)));
        QCOMPARE(single->zValue(), 1.1);
        const QList<QGraphicsItem *> members = copy->members();
        QCOMPARE(members.size(), 2);
        QVERIFY(!members.contains(b) && !members.contains(c));
        QCOMPARE(box(sceneBox(members.at(0))), box(QRectF(300, 200, 60, 30)));
        QCOMPARE(box(sceneBox(members.at(1))), box(QRectF(400, 250, 40, 20)));
        const QList<QPointer<QObject>> watched {
            shapeObject(single), copy, shapeObject(members.at(0)), shapeObject(members.at(1))};
        payload.reset();
        for (const QPointer<QObject> &object : watched)
            QVERIFY(!object);
        QCOMPARE(source->members(), (QList<QGraphicsItem *> {b, c}));
        QCOMPARE(CountedRect::live, 3); // the originals
    }

private:
    UserOptGroup *undo() const { return UserOptGroup::instance(); }
    QUndoStack *stack() const { return undo()->activeStack(); }
    void push(QUndoCommand *command) { undo()->push(command, true); }

    std::unique_ptr<DrawScene> m_scene;
    std::unique_ptr<QWidget> m_form;
};

QTEST_MAIN(TestShapeCommands)
#include "tst_shapecommands.moc"
