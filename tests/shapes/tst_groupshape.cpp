#include "editor/drawscene.h"
#include "project/config.h"
#include "shapes/graphicsitemgroup.h"
#include "support/scenetesting.h"

#include <QPointer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

namespace {

// Screen boxes of every single shape inside item, sorted.
QList<QRectF> leafBoxes(QGraphicsItem *item)
{
    QList<QRectF> boxes;
    auto *group = dynamic_cast<GraphicsItemGroup *>(item);
    for (QGraphicsItem *member : group ? group->members() : QList<QGraphicsItem *>())
        boxes += leafBoxes(member);
    if (!group)
        boxes << sceneBox(item);
    std::sort(boxes.begin(), boxes.end(), [](const QRectF &a, const QRectF &b) {
        return std::make_pair(a.x(), a.y()) < std::make_pair(b.x(), b.y());
    });
    return boxes;
}

} // namespace

class TestGroupShape : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void createAndDestroyKeepPositions();
    void selection();
    void positionClamp();
    void resizeFromHandle();
    void cloneCopiesMembers();
    void writeNestsMembersInScreenCoordinates();
    void loadTakesBackStoredAttributes();

private:
    // Members (100, 100, 50, 50) and (300, 200, 100, 40): box (100, 100, 300, 140).
    GraphicsItemGroup *makeGroup()
    {
        m_a = addRect(m_scene.get(), QRectF(100, 100, 50, 50));
        m_b = addRect(m_scene.get(), QRectF(300, 200, 100, 40));
        return m_scene->createGroup({m_a, m_b});
    }

    std::unique_ptr<DrawScene> m_scene;
    GraphicsRectItem *m_a = nullptr;
    GraphicsRectItem *m_b = nullptr;
};

void TestGroupShape::init()
{
    Config::instance()->screenWidth = 800;
    Config::instance()->screenHeight = 480;
    m_scene = std::make_unique<DrawScene>(BaseScreen);
}

void TestGroupShape::createAndDestroyKeepPositions()
{
    m_a = addRect(m_scene.get(), QRectF(100, 100, 50, 50), 2);
    m_b = addRect(m_scene.get(), QRectF(300, 200, 100, 40), 3);
    m_a->setSelected(true);
    QPointer<GraphicsItemGroup> group = m_scene->createGroup({m_a, m_b});
    QCOMPARE(group->scene(), m_scene.get());
    QCOMPARE(m_a->parentItem(), group.data());
    QVERIFY(!m_a->isSelected());
    QCOMPARE(group->objectName(), QStringLiteral("group_1"));
    QCOMPARE(group->zValue(), 3.0);
    QVERIFY(group->property("fixe").toBool());
    QCOMPARE(leafBoxes(group),
             (QList<QRectF> {QRectF(100, 100, 50, 50), QRectF(300, 200, 100, 40)}));
    QCOMPARE(sceneBox(group), QRectF(100, 100, 300, 140));
    QCOMPARE(group->property("pos").toPointF(), QPointF(100, 100));

    GraphicsRectItem *c = addRect(m_scene.get(), QRectF(500, 300, 50, 50));
    QPointer<GraphicsItemGroup> outer = m_scene->createGroup({group, c});
    QCOMPARE(outer->objectName(), QStringLiteral("group_2"));
    QCOMPARE(group->parentItem(), outer.data());
    QCOMPARE(sceneBox(outer), QRectF(100, 100, 450, 250));
    QCOMPARE(leafBoxes(outer),
             (QList<QRectF> {QRectF(100, 100, 50, 50), QRectF(300, 200, 100, 40),
                             QRectF(500, 300, 50, 50)}));

    m_scene->destroyGroup(outer);
    QVERIFY(!outer);
    QVERIFY(!group->parentItem() && group->isSelected() && c->isSelected());
    QCOMPARE(sceneBox(c), QRectF(500, 300, 50, 50));
    m_scene->destroyGroup(group);
    QVERIFY(!group);
    QVERIFY(!m_a->parentItem() && m_a->isSelected());
    QCOMPARE(sceneBox(m_a), QRectF(100, 100, 50, 50));
    QCOMPARE(sceneBox(m_b), QRectF(300, 200, 100, 40));

    // The screen loader forms groups outside the scene and adds them later.
    GraphicsItemGroup *loose = m_scene->createGroup({m_a, m_b}, false);
    QVERIFY(!loose->scene());
    m_scene->addItem(loose);
    QCOMPARE(leafBoxes(loose),
             (QList<QRectF> {QRectF(100, 100, 50, 50), QRectF(300, 200, 100, 40)}));
}

void TestGroupShape::selection()
{
    GraphicsItemGroup *group = makeGroup();
    m_a->setSelected(true);
    QVERIFY(!m_a->isSelected());

    group->setSelected(true);
    QVERIFY(group->isSelected());
    const QPointF expected[] = {{100, 100}, {250, 100}, {400, 100}, {400, 170},
                                {400, 240}, {250, 240}, {100, 240}, {100, 170}};
    for (SizeHandleRect *handle : group->handles()) {
        QVERIFY(handle->isVisible());
        QCOMPARE(handle->scenePos(), expected[handle->dir() - 1]);
    }
    group->setSelected(false);
    for (SizeHandleRect *handle : group->handles())
        QVERIFY(!handle->isVisible());

    GraphicsItemGroup *outer
        = m_scene->createGroup({group, addRect(m_scene.get(), QRectF(500, 300, 50, 50))});
    group->setSelected(true);
    QVERIFY(!group->isSelected());
    outer->setSelected(true);
    QCOMPARE(m_scene->selectedItems(), (QList<QGraphicsItem *> {outer}));
}

void TestGroupShape::positionClamp()
{
    // The group box is 100 x 60 around the item position; its centre stays on screen.
    const struct { QPointF proposed, result; } rows[] = {
        {{30, 200}, {30, 200}},   {{800, 200}, {800, 200}}, {{-10, 200}, {50, 200}},
        {{800.5, 200}, {750, 200}}, {{200, 500}, {200, 450}}, {{-5, -5}, {50, 30}},
    };
    for (const auto &r : rows) {
        GraphicsItemGroup *group
            = m_scene->createGroup({addRect(m_scene.get(), QRectF(150, 170, 40, 60)),
                                    addRect(m_scene.get(), QRectF(210, 170, 40, 60))});
        QCOMPARE(group->pos(), QPointF(200, 200));
        group->setPos(r.proposed);
        QCOMPARE(group->pos(), r.result);
    }
}

void TestGroupShape::resizeFromHandle()
{
    // Right middle ignores the y factor, bottom middle the x factor.
    const struct { int handle; double sx, sy; QRectF boxA, boxB, groupBox; } rows[] = {
        {4, 2, 3, {100, 100, 100, 50}, {500, 200, 200, 40}, {100, 100, 600, 140}},
        {6, 5, 2, {100, 100, 50, 100}, {300, 300, 100, 80}, {100, 100, 300, 280}},
        {5, 2, 2, {100, 100, 100, 100}, {500, 300, 200, 80}, {100, 100, 600, 280}},
    };
    for (const auto &r : rows) {
        init();
        GraphicsItemGroup *group = makeGroup();
        group->scaleFromHandle(r.handle, r.sx, r.sy, group->oppositeHandlePosition(r.handle));
        QCOMPARE(sceneBox(m_a), r.boxA);
        QCOMPARE(sceneBox(m_b), r.boxB);
        QCOMPARE(sceneBox(group), r.groupBox);

        group->normalizeGeometry();
        QCOMPARE(sceneBox(m_a), r.boxA);
        QCOMPARE(sceneBox(m_b), r.boxB);
        QCOMPARE(group->property("pos").toPointF(), r.groupBox.topLeft());
        QCOMPARE(QSizeF(group->width(), group->height()), r.groupBox.size());
    }
}

void TestGroupShape::cloneCopiesMembers()
{
    GraphicsItemGroup *inner = makeGroup();
    GraphicsItemGroup *outer
        = m_scene->createGroup({inner, addRect(m_scene.get(), QRectF(500, 300, 50, 50))});
    outer->setZValue(3);
    outer->setFixe(false);

    auto *copy = dynamic_cast<GraphicsItemGroup *>(outer->clone());
    QVERIFY(copy);
    QVERIFY(!copy->scene() && !copy->parentItem());
    QCOMPARE(copy->zValue(), 3.1);
    QVERIFY(!copy->fixe());
    QCOMPARE(copy->members().size(), 2);
    m_scene->addItem(copy);
    // Two groups and three rectangles, each copied once; originals untouched.
    QCOMPARE(m_scene->userItems().size(), 10);
    QCOMPARE(m_a->parentItem(), inner);
    QCOMPARE(sceneBox(copy), sceneBox(outer));
    QCOMPARE(leafBoxes(copy), leafBoxes(outer));
    QCOMPARE(leafBoxes(copy).size(), 3);
}

void TestGroupShape::writeNestsMembersInScreenCoordinates()
{
    GraphicsItemGroup *inner = makeGroup();
    GraphicsRectItem *c = addRect(m_scene.get(), QRectF(500, 300, 50, 50));
    GraphicsItemGroup *outer = m_scene->createGroup({inner, c});
    m_a->setObjectName(QStringLiteral("a"));
    m_b->setObjectName(QStringLiteral("b"));
    c->setObjectName(QStringLiteral("c"));
    // Child order follows z: c before the inner group.
    c->setZValue(1);
    inner->setZValue(2);
    outer->setZValue(4);
    outer->setPos(outer->pos() + QPointF(10, 20));
    const QList<QRectF> before = leafBoxes(outer);

    QString text;
    QXmlStreamWriter writer(&text);
    QVERIFY(outer->writeXml(&writer));

    QStringList elements;
    QXmlStreamReader reader(text);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            elements << QStringLiteral("%1 %2 %3 %4")
                            .arg(depth)
                            .arg(reader.name())
                            .arg(attributes.value("objectName"))
                            .arg(attributes.value("pos"));
            if (depth == 0)
                QCOMPARE(attributes.value("zValue"), QStringLiteral("4.00"));
            ++depth;
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    QCOMPARE(elements,
             (QStringList {"0 group group_2 (110,120)", "1 rectangle c (510,320)",
                           "1 group group_1 (110,120)", "2 rectangle a (110,120)",
                           "2 rectangle b (310,220)"}));

    // Every member is back in its group, in the same place and order.
    QCOMPARE(m_a->parentItem(), inner);
    QCOMPARE(outer->members(), (QList<QGraphicsItem *> {c, inner}));
    QCOMPARE(inner->members(), (QList<QGraphicsItem *> {m_a, m_b}));
    QCOMPARE(leafBoxes(outer), before);
}

void TestGroupShape::loadTakesBackStoredAttributes()
{
    GraphicsItemGroup *group = makeGroup();
    group->setObjectName(QStringLiteral("panel"));
    group->setZValue(4.5);
    group->setFixe(false);
    QString text;
    QXmlStreamWriter writer(&text);
    group->writeXml(&writer);
    const QList<QRectF> boxes = leafBoxes(group);

    // Read back as the loader does: attributes first, then members.
    DrawScene screen(BaseScreen);
    QXmlStreamReader reader(text);
    reader.readNextStartElement();
    const GraphicsItemGroup::StoredAttributes stored
        = GraphicsItemGroup::readStoredAttributes(&reader);
    QList<QGraphicsItem *> members;
    while (reader.readNextStartElement()) {
        auto *shape = new GraphicsRectItem(QRect(0, 0, 1, 1));
        shape->readXml(&reader);
        screen.addItem(shape);
        members << shape;
    }
    GraphicsItemGroup *loaded = screen.createGroup(members, false);
    loaded->applyStoredAttributes(stored);
    screen.addItem(loaded);
    QCOMPARE(loaded->objectName(), QStringLiteral("panel"));
    QCOMPARE(loaded->zValue(), 4.5);
    QVERIFY(!loaded->fixe());
    QCOMPARE(leafBoxes(loaded), boxes);

    // The stored set leaves rotation and position alone; readXml applies all and
    // leaves the members to the loader.
    QXmlStreamReader element(
        QStringLiteral("<group objectName=\"g\" zValue=\"1.50\" fixe=\"true\" rotation=\"30.00\" "
                       "pos=\"(10,20)\"><rectangle/></group>"));
    element.readNextStartElement();
    loaded->applyStoredAttributes(GraphicsItemGroup::readStoredAttributes(&element));
    QCOMPARE(loaded->rotation(), 0.0);
    QCOMPARE(leafBoxes(loaded), boxes);
    QVERIFY(loaded->fixe());
    QVERIFY(loaded->readXml(&element));
    QVERIFY(element.isStartElement() && element.name() == QLatin1String("group"));
    QCOMPARE(loaded->rotation(), 30.0);
    QCOMPARE(loaded->zValue(), 1.5);
}

QTEST_MAIN(TestGroupShape)
#include "tst_groupshape.moc"
