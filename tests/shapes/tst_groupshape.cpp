#include "boxshapetesting.h"

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "model/config.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicswidgetitem.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

namespace {

// The screen outline of every single shape inside item, by name.
QHash<QString, QPolygonF> leafOutlines(QGraphicsItem *item)
{
    QHash<QString, QPolygonF> outlines;
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
        for (QGraphicsItem *member : group->members())
            outlines.insert(leafOutlines(member));
    } else {
        outlines.insert(shapeObject(item)->objectName(), item->mapToScene(item->boundingRect()));
    }
    return outlines;
}

// Whether the outlines are the same within 0.01 at every corner.
bool sameOutlines(const QHash<QString, QPolygonF> &a, const QHash<QString, QPolygonF> &b)
{
    bool same = a.size() == b.size();
    for (auto it = a.cbegin(); same && it != a.cend(); ++it) {
        const QPolygonF other = b.value(it.key());
        same = other.size() == it.value().size();
        for (int i = 0; same && i < other.size(); ++i)
            same = QLineF(other.at(i), it.value().at(i)).length() < 0.01;
    }
    return same;
}

// The placement and geometry of item and everything inside it, to the last
// bit: QPointF, QRectF and QPolygonF compare with a tolerance.
QString exactState(const QGraphicsItem *item)
{
    const QTransform t = item->transform();
    const QRectF box = item->boundingRect();
    const double values[] = {item->pos().x(),
                             item->pos().y(),
                             item->rotation(),
                             item->scale(),
                             item->transformOriginPoint().x(),
                             item->transformOriginPoint().y(),
                             t.m11(),
                             t.m12(),
                             t.m21(),
                             t.m22(),
                             t.dx(),
                             t.dy(),
                             box.x(),
                             box.y(),
                             box.width(),
                             box.height()};
    QString text;
    for (double value : values)
        text += QString::number(value, 'g', 17) + QLatin1Char(' ');
    text += QLatin1Char('\n');
    if (const auto *group = dynamic_cast<const GraphicsItemGroup *>(item)) {
        for (const QGraphicsItem *member : group->members())
            text += exactState(member);
    }
    return text;
}

// The group read from saved on a fresh screen, as the screen loader reads it.
GraphicsItemGroup *reloaded(const QByteArray &saved)
{
    DrawManager *manager = DrawManager::instance();
    manager->clear();
    manager->createForm(BaseScreen, nullptr);
    QXmlStreamReader reader(saved);
    reader.readNextStartElement();
    GraphicsItemGroup *loaded = manager->loadGroup(&reader);
    manager->currentScene()->addItem(loaded);
    return loaded;
}

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
    void loadTakesBackStoredAttributes();
    void turnedGroupKeepsPictureThroughSaveAndOpen_data();
    void turnedGroupKeepsPictureThroughSaveAndOpen();
    void posPropertyMovesBoxAndMembers_data();
    void posPropertyMovesBoxAndMembers();
    void turnRefusedWhileHoldingWidget_data();
    void turnRefusedWhileHoldingWidget();

private:
    // Members (100, 100, 50, 50) and (300, 200, 100, 40): box (100, 100, 300, 140).
    GraphicsItemGroup *makeGroup()
    {
        return m_scene->createGroup({addRect(m_scene.get(), QRectF(100, 100, 50, 50), 2),
                                     addRect(m_scene.get(), QRectF(300, 200, 100, 40), 3)});
    }

    std::unique_ptr<DrawScene> m_scene;
};

void TestGroupShape::init()
{
    ProcessFixture::start(800, 480);
    m_scene = std::make_unique<DrawScene>(BaseScreen);
}

void TestGroupShape::loadTakesBackStoredAttributes()
{
    // Members are stored in screen coordinates with the group's rotation already
    // applied, so only name, z and the fixed flag may act again; an unknown
    // element inside is passed over.
    GraphicsItemGroup *loaded = reloaded(
        "<group objectName=\"panel\" zValue=\"4.50\" fixe=\"false\" rotation=\"30.00\" "
        "pos=\"(10,20)\"><rectangle width=\"50.00\" height=\"50.00\" pos=\"(100,100)\"/>"
        "<note/><rectangle width=\"100.00\" height=\"40.00\" pos=\"(300,200)\"/></group>");
    QCOMPARE(loaded->objectName(), QStringLiteral("panel"));
    QCOMPARE(loaded->zValue(), 4.5);
    QVERIFY(!loaded->fixe());
    QCOMPARE(loaded->rotation(), 0.0);
    QCOMPARE(leafBoxes(loaded),
             (QList<QRectF> {QRectF(100, 100, 50, 50), QRectF(300, 200, 100, 40)}));
}

void TestGroupShape::turnedGroupKeepsPictureThroughSaveAndOpen_data()
{
    QTest::addColumn<double>("turn");
    QTest::addColumn<double>("outerTurn"); // of each group around it
    QTest::addColumn<int>("outerGroups");
    QTest::addColumn<QPointF>("shift");
    QTest::addColumn<double>("stretch");
    QTest::newRow("30°") << 30.0 << 0.0 << 0 << QPointF() << 1.0;
    QTest::newRow("45° inside a group turned 30°") << 45.0 << 30.0 << 1 << QPointF() << 1.0;
    // Only a group's centre is held on screen, so its members may overlap the
    // edge; writing takes them out of the group, where they must not be pulled in.
    QTest::newRow("over the left and top edges") << 0.0 << 0.0 << 0 << QPointF(-300, -170) << 1.0;
    // Stretching a group leaves its members' boxes off their origins, which
    // writing re-centres while they are out of the group; writing a group
    // re-centres the groups inside it too.
    QTest::newRow("stretched, turned, two turned groups around it, over the edges")
        << 37.3 << 21.7 << 2 << QPointF(-290, -160) << 1.37;
}

void TestGroupShape::turnedGroupKeepsPictureThroughSaveAndOpen()
{
    QFETCH(double, turn);
    QFETCH(double, outerTurn);
    QFETCH(int, outerGroups);
    QFETCH(QPointF, shift);
    QFETCH(double, stretch);
    DrawManager *manager = DrawManager::instance();
    manager->createForm(BaseScreen, nullptr);
    DrawScene *scene = manager->currentScene();
    GraphicsRectItem *rect = addRect(scene, QRectF(200, 150, 120, 60), 1);
    rect->setObjectName("rect");
    rect->setRotation(20);
    auto *ellipse = new GraphicsEllipseItem(QRect());
    scene->addItem(ellipse);
    scenetest::placeRect(ellipse, QRectF(360, 200, 81, 47));
    ellipse->setObjectName("ellipse");
    auto *polygon = new GraphicsPolygonItem();
    scene->addItem(polygon);
    for (const QPointF &p : {QPointF(230, 260), QPointF(310, 250), QPointF(290, 330),
                             QPointF(240, 310)})
        polygon->appendPoint(p);
    polygon->finishPoints(QPointF());
    polygon->normalizeGeometry();
    polygon->setObjectName("polygon");
    GraphicsItemGroup *group = scene->createGroup({rect, ellipse, polygon});
    group->setProperty("rotation", turn); // as the property browser turns it
    group->setFixe(false);
    group->setPos(group->pos() + shift);
    if (stretch != 1) {
        // As a drag on the right handle ends.
        group->scaleFromHandle(SizeHandleRect::Right, stretch, 1,
                               group->oppositeHandlePosition(SizeHandleRect::Right));
        group->normalizeGeometry();
    }
    QCOMPARE(sceneBox(group).left() < 0 && sceneBox(group).top() < 0, !shift.isNull());
    GraphicsItemGroup *top = group;
    for (int level = 0; level < outerGroups; ++level) {
        GraphicsRectItem *other = addRect(scene, QRectF(480, 300 + 40 * level, 40, 30), 3);
        other->setObjectName(QStringLiteral("other %1").arg(level));
        top = scene->createGroup({top, other});
        top->setProperty("rotation", outerTurn);
    }
    const QHash<QString, QPolygonF> before = leafOutlines(top);
    const QString state = exactState(top);
    const QByteArray saved = boxtest::xmlOf(top);
    // Saving leaves the group as it was, to the bit, so saving again gives
    // the same text however often it is done.
    for (int save = 2; save <= 4; ++save) {
        QCOMPARE(exactState(top), state);
        QCOMPARE(boxtest::xmlOf(top), saved);
    }

    GraphicsItemGroup *loaded = reloaded(saved);
    QVERIFY(sameOutlines(leafOutlines(loaded), before));
    QCOMPARE(boxtest::xmlOf(loaded), saved);
}

// Widgets stand upright: a group holding one, however deep, keeps its turn
// at zero, since a turned widget could not be saved as it is shown.
void TestGroupShape::turnRefusedWhileHoldingWidget_data()
{
    QTest::addColumn<bool>("widget");
    QTest::addColumn<bool>("nested");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("expected");
    QTest::newRow("shapes only") << false << false << 30.0 << 30.0;
    QTest::newRow("widget in inner group") << true << true << 45.0 << 0.0;
    QTest::newRow("whole turn") << true << false << 360.0 << 360.0;
}

void TestGroupShape::turnRefusedWhileHoldingWidget()
{
    QFETCH(bool, widget);
    QFETCH(bool, nested);
    QFETCH(double, angle);
    QFETCH(double, expected);
    QGraphicsItem *extra = addRect(m_scene.get(), QRectF(500, 300, 50, 50));
    if (widget) {
        extra = new GraphicsWidgetItem(PushButtonKind, QRect(500, 300, 80, 30));
        m_scene->addItem(extra);
    }
    QGraphicsItem *other = nested ? static_cast<QGraphicsItem *>(makeGroup())
                                  : addRect(m_scene.get(), QRectF(100, 100, 50, 50));
    GraphicsItemGroup *group = m_scene->createGroup({extra, other});
    GraphicsItemGroup *turned
        = nested ? m_scene->createGroup({group, addRect(m_scene.get(), QRectF(0, 0, 20, 20))})
                 : group;
    QVERIFY(turned->setProperty("rotation", angle));
    QCOMPARE(turned->rotation(), expected);
}

// The property browser and the undo of a group edit write `pos`: the top
// left of the group's box, in screen coordinates, moving every member.
void TestGroupShape::posPropertyMovesBoxAndMembers_data()
{
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<QList<QRectF>>("members"); // every single shape, sorted

    QTest::newRow("left and up") << QPointF(20, 30) << QRectF(20, 30, 300, 140)
                                 << QList<QRectF> {{20, 30, 50, 50}, {220, 130, 100, 40}};
    // Only the centre is held on screen.
    QTest::newRow("held on screen") << QPointF(700, 100) << QRectF(500, 100, 300, 140)
                                    << QList<QRectF> {{500, 100, 50, 50}, {700, 200, 100, 40}};
}

void TestGroupShape::posPropertyMovesBoxAndMembers()
{
    QFETCH(QPointF, pos);
    QFETCH(QRectF, box);
    QFETCH(QList<QRectF>, members);
    GraphicsItemGroup *group = makeGroup();
    QVERIFY(group->setProperty("pos", pos));
    QCOMPARE(sceneBox(group), box);
    QCOMPARE(leafBoxes(group), members);
}

QTEST_MAIN(TestGroupShape)
#include "tst_groupshape.moc"
