#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/shapecommands.h"
#include "editor/setbindingscommand.h"
#include "editor/shapemimedata.h"
#include "editor/useroptgroup.h"
#include "model/builtintables.h"
#include "services/appsettings.h"
#include "shapes/graphicsitemgroup.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QPointer>
#include <QRegularExpression>
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
    explicit CountedRect(const QRectF &box = QRectF(100, 100, 40, 20),
                         QGraphicsScene *scene = nullptr, double z = 0)
        : GraphicsRectItem(QRect(0, 0, 1, 1))
    {
        ++live;
        if (scene)
            scene->addItem(this);
        placeRect(this, box);
        setZValue(z);
    }
    ~CountedRect() override { --live; }

    static int live;
};

int CountedRect::live = 0;

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

// The element item is saved as, without what a copy may change: its name
// and its z.
QString savedWithoutNameAndZ(QGraphicsItem *item)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
        group->writeXml(&writer);
    else if (auto *shape = singleShape(item))
        shape->writeXml(&writer);
    return xml.remove(QRegularExpression(QStringLiteral(" (objectName|zValue)=\"[^\"]*\"")));
}

} // namespace

class TestShapeCommands : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ProcessFixture::start(800, 480);
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

    void undoRedo_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::newRow("paste") << "paste";
        QTest::newRow("delete") << "delete";
        // Every registered property. The box moves and grows in one step, so the
        // position must be written after the size.
        QTest::newRow("all properties") << "";
        QTest::newRow("resize group") << "resize group";
    }

    // Three named shapes, the first two selected; the edit is made, then
    // recorded, as the editor does.
    void undoRedo()
    {
        QFETCH(QString, edit);
        QList<CountedRect *> shapes;
        for (int i = 0; i < 3; ++i) {
            shapes << new CountedRect(QRectF(50 + 100 * i, 60, 30 + i, 40), m_scene.get(), i);
            m_scene->assignItemName(shapes.last());
            shapes.last()->setSelected(i < 2);
        }
        CountedRect *a = shapes.first();
        GraphicsItemGroup *group = edit == "resize group" ? m_scene->createGroup({a, shapes.at(1)})
                                                          : nullptr;
        const QStringList before = state(m_scene->userItems());
        QUndoCommand *command = nullptr;
        QList<QGraphicsItem *> added;
        if (edit == "paste") {
            added = {new CountedRect(QRectF(500, 300, 40, 20), nullptr, 5),
                     new CountedRect(QRectF(600, 300, 40, 21), nullptr, 6)};
            command = new AddShapeCommand(added, m_scene.get());
        } else if (edit == "delete") {
            command = new RemoveShapeCommand(m_scene.get());
        } else if (group) {
            // The resize gesture, about the point opposite the handle.
            group->scaleFromHandle(5, 2, 3, group->oppositeHandlePosition(5));
            group->normalizeGeometry();
            command = new ResizeShapeCommand(group, 5, QPointF(2, 3));
        } else {
            command = new ModifyCommand(a, edit);
            a->setProperty("width", 300.0);
            a->setObjectName(QStringLiteral("pump"));
            a->setProperty("pos", QPointF(20, 30));
        }
        const QStringList edited = state(m_scene->userItems());
        push(command);
        const QStringList after = state(m_scene->userItems());
        if (edit != "paste" && edit != "delete")
            QCOMPARE(after, edited); // the first redo does not repeat the edit
        const int live = CountedRect::live;
        stack()->undo();
        QCOMPARE(state(m_scene->userItems()), before);
        // Whatever happens to an undone shape, redo puts it back where it was.
        for (QGraphicsItem *item : qAsConst(added))
            item->setPos(item->pos() + QPointF(33, 44));
        stack()->redo();
        QCOMPARE(state(m_scene->userItems()), after);
        QCOMPARE(CountedRect::live, live); // nothing freed while its entry is on the stack
    }

    void groupAndUngroup()
    {
        QList<QGraphicsItem *> items;
        for (int i = 0; i < 3; ++i) {
            items << new CountedRect(QRectF(100 + 80 * i, 100 + 30 * i, 50, 40), m_scene.get(), i);
            items.last()->setSelected(true);
        }
        auto boxes = [&] {
            QStringList result;
            for (QGraphicsItem *item : qAsConst(items))
                result << box(sceneBox(item));
            return result;
        };
        const QStringList apart = state(m_scene->userItems());
        GraphicsItemGroup *formed = m_scene->createGroup(m_scene->selectedItems());
        push(new GroupShapeCommand(formed, m_scene.get()));
        const QStringList grouped = state(m_scene->userItems());
        // Ungrouping a turned group leaves every member where it is on screen.
        formed->setRotation(90);
        push(new RotateShapeCommand(formed, 0));
        const QStringList turned = boxes();
        push(new UnGroupShapeCommand(formed, m_scene.get()));
        QCOMPARE(boxes(), turned);
        stack()->undo();
        QCOMPARE(boxes(), turned);
        // Undone, the group keeps its object out of the scene; redone, the same
        // object holds the same members.
        stack()->undo();
        stack()->undo();
        QCOMPARE(formed->scene(), nullptr);
        QVERIFY(formed->members().isEmpty());
        QCOMPARE(state(m_scene->userItems()), apart);
        stack()->redo();
        QCOMPARE(formed->members(), items);
        QCOMPARE(state(m_scene->userItems()), grouped);
    }

    // A change of bindings is one step on the screen's history; undo and
    // redo give back exactly the lists before and after. The same list
    // again is no step.
    void setBindingsUndoRedo_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<bool>("startBound");
        QTest::addColumn<bool>("endBound");
        QTest::newRow("single shape, add") << "single" << false << true;
        QTest::newRow("single shape, replace") << "single" << true << true;
        QTest::newRow("single shape, clear") << "single" << true << false;
        QTest::newRow("group") << "group" << true << true;
        QTest::newRow("member of a group") << "member" << false << true;
    }

    void setBindingsUndoRedo()
    {
        QFETCH(QString, shape);
        QFETCH(bool, startBound);
        QFETCH(bool, endBound);
        auto *a = new CountedRect(QRectF(100, 100, 40, 20), m_scene.get());
        auto *b = new CountedRect(QRectF(200, 100, 40, 20), m_scene.get());
        QGraphicsItem *target = a;
        if (shape != "single") {
            GraphicsItemGroup *group = m_scene->createGroup({a, b});
            if (shape == "group")
                target = group;
        }
        Binding first;
        first.tag = QStringLiteral("a");
        first.kind = Binding::Colours;
        first.ranges.append(Binding::Range());
        Binding second;
        second.kind = Binding::Action;
        second.action = Binding::Momentary;
        second.device = QStringLiteral("PLC");
        second.address = QStringLiteral("M 1");
        const QVector<Binding> before = startBound ? QVector<Binding> {first} : QVector<Binding>();
        const QVector<Binding> after
            = endBound ? QVector<Binding> {second, first} : QVector<Binding>();
        QVERIFY(setShapeBindings(target, before));
        b->setBindings({second});

        QVERIFY(SetBindingsCommand::apply(undo(), m_form.get(), target, after));
        QCOMPARE(stack()->count(), 1);
        QCOMPARE(stack()->text(0), QStringLiteral("修改对象数据"));
        QCOMPARE(shapeBindings(target), after);
        QVERIFY(!SetBindingsCommand::apply(undo(), m_form.get(), target, after));
        QCOMPARE(stack()->count(), 1);
        stack()->undo();
        QCOMPARE(shapeBindings(target), before);
        stack()->redo();
        QCOMPARE(shapeBindings(target), after);
        QCOMPARE(b->bindings(), QVector<Binding> {second});
    }

    // Forming and dissolving groups, done and undone, leaves every shape
    // its own bindings; a group dissolved and brought back has its own.
    void groupingKeepsBindings()
    {
        QList<QGraphicsItem *> items;
        QVector<QVector<Binding>> own;
        for (int i = 0; i < 3; ++i) {
            auto *rect = new CountedRect(QRectF(100 + 80 * i, 100, 50, 40), m_scene.get(), i);
            Binding binding;
            binding.tag = QStringLiteral("tag %1").arg(i);
            binding.digits = i;
            rect->setBindings(QVector<Binding>(i, binding));
            own << rect->bindings();
            items << rect;
            rect->setSelected(true);
        }
        const auto members = [&] {
            QVector<QVector<Binding>> result;
            for (QGraphicsItem *item : qAsConst(items))
                result << shapeBindings(item);
            return result;
        };
        GraphicsItemGroup *formed = m_scene->createGroup(m_scene->selectedItems());
        push(new GroupShapeCommand(formed, m_scene.get()));
        Binding visible;
        visible.kind = Binding::Visible;
        visible.tag = QStringLiteral("shown");
        QVERIFY(SetBindingsCommand::apply(undo(), m_form.get(), formed, {visible}));
        push(new UnGroupShapeCommand(formed, m_scene.get()));
        QCOMPARE(members(), own);
        stack()->undo();
        QCOMPARE(formed->bindings(), QVector<Binding> {visible});
        QCOMPARE(members(), own);
        while (stack()->canUndo())
            stack()->undo();
        QCOMPARE(members(), own);
        while (stack()->canRedo())
            stack()->redo();
        QCOMPARE(members(), own);
    }

    void historyPerForm()
    {
        auto *rect = new CountedRect(QRectF(100, 100, 100, 50), m_scene.get());
        auto other = std::make_unique<QWidget>();
        QUndoStack *mine = stack();
        // Creating a stack does not activate it.
        QPointer<QUndoStack> theirs = undo()->stackFor(other.get());
        for (int angle = 1; angle <= 25; ++angle) {
            const qreal old = rect->rotation();
            rect->setRotation(angle);
            push(new RotateShapeCommand(rect, old));
        }
        QCOMPARE(theirs->count(), 0);
        while (mine->canUndo())
            mine->undo();
        QCOMPARE(rect->rotation(), 5.0); // the five oldest entries were dropped
        // A form removed by hand loses its history; a destroyed form takes
        // its history along.
        undo()->removeForm(other.get());
        QVERIFY(!theirs);
        theirs = undo()->stackFor(other.get());
        undo()->setActiveForm(other.get());
        other.reset();
        QVERIFY(!theirs);
        QCOMPARE(stack(), nullptr);
        QCOMPARE(undo()->stacks().size(), 1);
    }

    void ownership_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("liveAfterSteps");
        QTest::addColumn<int>("liveWithoutStack");
        QTest::addColumn<bool>("sceneFirst");
        // Three counted shapes and an uncounted one that is only rotated;
        // "paste" adds two.
        auto row = [](const char *name, const QStringList &steps, int afterSteps,
                      int withoutStack, bool sceneFirst) {
            QTest::newRow(name) << steps << afterSteps << withoutStack << sceneFirst;
        };
        row("removal done, scene first", {"select", "remove"}, 3, 0, true);
        row("pasted, removed, both undone", {"paste", "select", "remove", "undo", "undo"}, 5, 3,
            false);
        row("group undone and replaced, scene first", {"select", "group", "undo", "rotate"}, 3, 3,
            true);
        row("ungrouped then removed", {"select", "group", "ungroup", "remove"}, 3, 0, false);
    }

    void ownership()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, liveAfterSteps);
        QFETCH(int, liveWithoutStack);
        QFETCH(bool, sceneFirst);
        DrawScene *scene = m_scene.get();
        for (int i = 0; i < 3; ++i)
            new CountedRect(QRectF(100 + 100 * i, 100, 50, 50), scene);
        GraphicsRectItem *spare = scenetest::addRect(scene, QRectF(600, 400, 20, 20));
        QPointer<GraphicsItemGroup> group;
        for (const QString &step : qAsConst(steps)) {
            if (step == "paste") {
                push(new AddShapeCommand({new CountedRect(QRectF(100, 300, 30, 30)),
                                          new CountedRect(QRectF(200, 300, 30, 30))},
                                         scene));
            } else if (step == "select") {
                for (QGraphicsItem *item : scene->items())
                    item->setSelected(!item->parentItem() && item != spare);
            } else if (step == "remove") {
                push(new RemoveShapeCommand(scene));
            } else if (step == "group") {
                group = scene->createGroup(scene->selectedItems());
                push(new GroupShapeCommand(group, scene));
            } else if (step == "ungroup") {
                push(new UnGroupShapeCommand(group, scene));
            } else if (step == "rotate") {
                push(new RotateShapeCommand(spare, 0));
            } else if (step == "undo") {
                stack()->undo();
            }
        }
        QCOMPARE(CountedRect::live, liveAfterSteps);
        if (sceneFirst)
            m_scene.reset();
        undo()->removeForm(m_form.get());
        if (!sceneFirst) {
            QCOMPARE(CountedRect::live, liveWithoutStack);
            int inScene = 0;
            for (QGraphicsItem *item : scene->userItems())
                inScene += dynamic_cast<CountedRect *>(item) ? 1 : 0;
            QCOMPARE(inScene, liveWithoutStack);
            m_scene.reset();
        }
        QCOMPARE(CountedRect::live, 0);
        QVERIFY2(!group, "a group outlived its screen and its history");
    }

    // The undo menu names a property edit as the property browser names the
    // property, never by the name the code uses for it.
    void propertyEditTexts_data()
    {
        QTest::addColumn<bool>("screen"); // else a rectangle
        QTest::addColumn<QStringList>("properties"); // empty: all of them
        QTest::addColumn<QString>("text");
        QTest::newRow("shape renamed") << false << QStringList {"objectName"} << "修改对象名称属性";
        QTest::newRow("fill colour") << false << QStringList {"brushColor"} << "修改对象颜色属性";
        QTest::newRow("screen renamed") << true << QStringList {"objectName"} << "修改对象名称属性";
        QTest::newRow("screen background") << true << QStringList {"brushColor"}
                                           << "修改对象背景颜色属性";
        QTest::newRow("size and place at once")
            << false << QStringList {"width", "height", "pos"} << "修改对象属性";
        QTest::newRow("every property") << false << QStringList() << "修改对象属性";
        QTest::newRow("property nobody lists") << false << QStringList {"visible"} << "修改对象属性";
    }
    void propertyEditTexts()
    {
        QFETCH(bool, screen);
        QFETCH(QStringList, properties);
        QFETCH(QString, text);
        DrawScene scene;
        CountedRect rect(QRectF(10, 10, 40, 20), &scene);
        QObject *object = screen ? static_cast<QObject *>(&scene) : &rect;
        std::unique_ptr<ModifyCommand> command;
        if (properties.size() == 1)
            command = std::make_unique<ModifyCommand>(object, properties.first());
        else if (properties.isEmpty())
            command = std::make_unique<ModifyCommand>(object, QString());
        else
            command = std::make_unique<ModifyCommand>(object, properties);
        QCOMPARE(command->text(), text);
    }

    // Texts recorded in one language read in the other after a switch, on
    // the active stack and on another one, also for a shape since deleted,
    // and the menus hear of it.
    void undoTextsFollowLanguage()
    {
        auto *rect = new CountedRect(QRectF(10, 10, 40, 20), m_scene.get());
        auto *gone = new CountedRect(QRectF(90, 10, 40, 20), m_scene.get());
        auto other = std::make_unique<QWidget>();
        push(new ModifyCommand(gone, QStringLiteral("brushColor")));
        delete gone;
        push(new ModifyCommand(rect, QStringLiteral("brushColor")));
        rect->setRotation(10);
        push(new RotateShapeCommand(rect, 0));
        undo()->pushFor(other.get(), new AddShapeCommand(QList<QGraphicsItem *>(), nullptr));
        QUndoStack *theirs = undo()->stackFor(other.get());
        auto texts = [&] {
            return QStringList {stack()->text(0), stack()->text(1), undo()->undoText(),
                                theirs->text(0)};
        };
        const QStringList chinese = texts();
        QCOMPARE(chinese, QStringList({"修改对象颜色属性", "修改对象颜色属性", "旋转对象", "复制对象"}));

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QSignalSpy menu(undo(), &QUndoGroup::undoTextChanged);
        // As the editor switches: the catalogue, then the built-in tables.
        QCoreApplication::installTranslator(&english);
        AppSettings::instance()->setLanguage(1);
        BuiltinTables::instance()->retranslate();
        QCoreApplication::sendPostedEvents();
        const QStringList switched = texts();
        const bool told = !menu.isEmpty() && menu.constLast().value(0).toString() == switched.at(2);
        QCoreApplication::removeTranslator(&english);
        AppSettings::instance()->setLanguage(0);
        BuiltinTables::instance()->retranslate();
        QCoreApplication::sendPostedEvents();

        QCOMPARE(switched,
                 QStringList({"Change Color", "Change Color", "Rotate object", "Copy object"}));
        QVERIFY(told);
        QCOMPARE(texts(), chinese);
    }

    void mimeData()
    {
        auto *a = new CountedRect(QRectF(100, 100, 40, 20), m_scene.get());
        const QList<QGraphicsItem *> members {
            new CountedRect(QRectF(300, 200, 60, 30), m_scene.get()),
            new CountedRect(QRectF(400, 250, 40, 20), m_scene.get())};
        GraphicsItemGroup *source = m_scene->createGroup(members);
        auto *helper = new QGraphicsRectItem(0, 0, 5, 5);
        m_scene->addItem(helper);
        // Copies of the shapes and groups only, in no scene, freed with the payload.
        auto payload = std::make_unique<ShapeMimeData>(QList<QGraphicsItem *> {a, helper, source});
        QCOMPARE(payload->items().size(), 2);
        QGraphicsItem *single = payload->items().at(0);
        auto *copy = dynamic_cast<GraphicsItemGroup *>(payload->items().at(1));
        QVERIFY(copy && copy != source);
        QCOMPARE(single->scene(), nullptr);
        QCOMPARE(box(sceneBox(copy)), box(sceneBox(source)));
        QCOMPARE(copy->members().size(), 2);
        const QList<QPointer<QObject>> watched {shapeObject(single), copy,
                                                shapeObject(copy->members().at(0)),
                                                shapeObject(copy->members().at(1))};
        payload.reset();
        for (const QPointer<QObject> &object : watched)
            QVERIFY(!object);
        QCOMPARE(source->members(), members);
        QCOMPARE(CountedRect::live, 3); // the originals
    }

    // A copy of a shape from a newer version is that shape too: what the
    // original kept of its element goes onto the clipboard and into the
    // paste, and saves the same.
    void copiesCarryKeptContent_data()
    {
        QTest::addColumn<QByteArray>("shapes");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("rectangle")
            << QByteArray("<rectangle height=\"10\" pos=\"(5,5)\" width=\"10\" zoom=\"2\">"
                          "<shadow/></rectangle>")
            << QStringList {"zoom=\"2\"", "<shadow/>"};
        QTest::newRow("points") << QByteArray(
            "<polyline x=\"100\" y=\"100\" zoom=\"2\"><point smooth=\"1\" x=\"-5\" y=\"-5\"/>"
            "<anchor/><point x=\"5\" y=\"5\"><tension/></point></polyline>")
                                << QStringList {"zoom=\"2\"", "smooth=\"1\"", "<anchor/>",
                                                "<tension/>"};
        QTest::newRow("groups in a group") << QByteArray(
            "<group layer=\"2\"><badge/><rectangle height=\"10\" pos=\"(5,5)\" width=\"10\"/>"
            "<group layer=\"3\"><ellipse height=\"10\" pos=\"(50,5)\" width=\"10\"/><seal/>"
            "</group></group>")
                                           << QStringList {"layer=\"2\"", "<badge/>",
                                                           "layer=\"3\"", "<seal/>"};
        QTest::newRow("bindings") << QByteArray(
            "<rectangle height=\"10\" pos=\"(5,5)\" width=\"10\"><shadow/>"
            "<binding kind=\"colours\" tag=\"t\" fade=\"1\"><range from=\"0\" to=\"1\"/>"
            "</binding></rectangle>")
                                  << QStringList {"<binding kind=\"colours\" tag=\"t\" fade=\"1\">",
                                                  "<range blink=\"0\" from=\"0\" to=\"1\"/>",
                                                  "<shadow/>"};
        QTest::newRow("bindings of a group and its members") << QByteArray(
            "<group><binding kind=\"action\" action=\"open\" screen=\"w\"/>"
            "<rectangle height=\"10\" pos=\"(5,5)\" width=\"10\">"
            "<binding kind=\"value\" tag=\"m\"/></rectangle>"
            "<polyline x=\"100\" y=\"100\"><binding kind=\"picture\" tag=\"p\">"
            "<picture file=\"a.png\"/></binding><point x=\"-5\" y=\"-5\"/>"
            "<point x=\"5\" y=\"5\"/></polyline></group>")
            << QStringList {"<binding kind=\"action\" device=\"\" address=\"\" format=\"\" "
                            "action=\"open\"",
                            "<binding kind=\"value\" tag=\"m\"", "<picture file=\"a.png\"/>"};
    }

    void copiesCarryKeptContent()
    {
        QFETCH(QByteArray, shapes);
        QFETCH(QStringList, kept);
        DrawManager *manager = DrawManager::instance();
        manager->clear();
        manager->createForm(BaseScreen, nullptr);
        DrawScene *scene = manager->currentScene();
        QXmlStreamReader reader("<Window type=\"1\">" + shapes + "</Window>");
        reader.readNextStartElement();
        QVERIFY(!manager->loadScreen(&reader));
        QGraphicsItem *original = scene->userItems().value(0);
        while (original && original->parentItem())
            original = original->parentItem();
        QVERIFY(original);

        const ShapeMimeData payload({original});
        QCOMPARE(payload.items().size(), 1);
        // Pasted as the edit menu pastes: a clone of the clipboard's copy.
        QGraphicsItem *pasted = nullptr;
        if (auto *group = dynamic_cast<GraphicsItemGroup *>(payload.items().first()))
            pasted = group->clone();
        else
            pasted = singleShape(payload.items().first())->clone();
        scene->addItem(pasted);

        const QString saved = savedWithoutNameAndZ(original);
        for (const QString &part : kept)
            QVERIFY2(saved.contains(part), qPrintable(part + ": " + saved));
        QCOMPARE(savedWithoutNameAndZ(pasted), saved);
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
