#include "project/config.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/shapeattributes.h"
#include "shapes/shapepainting.h"

#include <QBuffer>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

#include <memory>

namespace {

// A rectangle whose box is (x, y, w, h) on the screen, re-centred as the
// tools leave every shape.
GraphicsRectItem *placedRect(QGraphicsScene *scene, double x, double y, double w, double h)
{
    auto *item = new GraphicsRectItem(QRect(0, 0, int(w), int(h)));
    if (scene)
        scene->addItem(item);
    item->normalizeGeometry();
    item->setProperty("pos", QPointF(x, y));
    return item;
}

QString attributesOf(QObject *shape)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.writeStartElement("shape");
    writeShapeAttributes(&writer, shape);
    writer.writeEndElement();
    return QString::fromUtf8(buffer.data());
}

void readAttributes(QObject *shape, const QString &element)
{
    QXmlStreamReader reader(element);
    reader.readNextStartElement();
    readShapeAttributes(&reader, shape);
}

} // namespace

class TestShapeBase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void posIsTopLeftCorner();
    void clampAtScreenEdges_data();
    void clampAtScreenEdges();
    void normalizeKeepsSceneBox_data();
    void normalizeKeepsSceneBox();
    void resizeAboutOppositeHandle_data();
    void resizeAboutOppositeHandle();
    void opacityAndFixe();
    void gradientFollowsColours_data();
    void gradientFollowsColours();
    void attributeTexts();
    void attributeReadingRules();
    void roundTripKeepsGeometry();
    void selectionOutlineDrawn();
    void handlesStayEightPixels_data();
    void handlesStayEightPixels();
    void handleHitTest();
    void cloneCopiesAndRaises();
    void seededFillsRepeat();
};

void TestShapeBase::initTestCase()
{
    Config::instance();
}

void TestShapeBase::posIsTopLeftCorner()
{
    std::unique_ptr<GraphicsRectItem> item(new GraphicsRectItem(QRect(0, 0, 100, 100)));
    item->normalizeGeometry();
    readAttributes(item.get(), R"x(<r pos="(10,20)" width="100.00" height="100.00"/>)x");
    QCOMPARE(item->pos(), QPointF(60, 70));
    QCOMPARE(item->property("pos").toPointF(), QPointF(10, 20));
    QCOMPARE(item->mapToScene(item->boundingRect()).boundingRect(), QRectF(10, 20, 100, 100));
}

void TestShapeBase::clampAtScreenEdges_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<QPointF>("moveTo");
    QTest::addColumn<QPointF>("expectedTopLeft");

    QTest::newRow("left") << QRectF(0, 0, 100, 50) << QPointF(-30, 100) << QPointF(0, 100);
    QTest::newRow("right") << QRectF(0, 0, 100, 50) << QPointF(750, 100) << QPointF(700, 100);
    QTest::newRow("top") << QRectF(0, 0, 100, 50) << QPointF(10, -5) << QPointF(10, 0);
    QTest::newRow("bottom") << QRectF(0, 0, 100, 50) << QPointF(10, 470) << QPointF(10, 430);
    QTest::newRow("corner") << QRectF(0, 0, 100, 50) << QPointF(-10, 460) << QPointF(0, 430);
    QTest::newRow("inside") << QRectF(0, 0, 100, 50) << QPointF(300, 200) << QPointF(300, 200);
    // Wider than the screen: the right edge rule wins over the left.
    QTest::newRow("too wide") << QRectF(0, 0, 1000, 50) << QPointF(10, 0) << QPointF(-200, 0);
}

void TestShapeBase::clampAtScreenEdges()
{
    QFETCH(QRectF, box);
    QFETCH(QPointF, moveTo);
    QFETCH(QPointF, expectedTopLeft);
    QGraphicsScene scene(0, 0, 800, 480);
    auto *item = new GraphicsRectItem(box.toRect());
    item->normalizeGeometry();
    scene.addItem(item);
    item->setProperty("pos", moveTo);
    QCOMPARE(item->property("pos").toPointF(), expectedTopLeft);
}

void TestShapeBase::normalizeKeepsSceneBox_data()
{
    QTest::addColumn<double>("rotation");
    QTest::newRow("plain") << 0.0;
    QTest::newRow("rotated") << 30.0;
}

void TestShapeBase::normalizeKeepsSceneBox()
{
    QFETCH(double, rotation);
    GraphicsRectItem item(QRect(10, 20, 100, 50));
    item.setTransformOriginPoint(60, 45);
    item.setRotation(rotation);
    item.setPos(5, 7);
    // Stretch from the left-top handle: the box is no longer centred.
    item.scaleFromHandle(5, 1.5, 2.0, QPointF(10, 20));
    const QPolygonF before = item.mapToScene(item.localRect());
    item.normalizeGeometry();
    const QPolygonF after = item.mapToScene(item.localRect());
    QCOMPARE(item.localRect(), QRectF(-75, -50, 150, 100));
    QCOMPARE(item.transformOriginPoint(), QPointF(0, 0));
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(QLineF(before.at(i), after.at(i)).length() < 1e-9,
                 qPrintable(QString("corner %1").arg(i)));
    }
}

void TestShapeBase::resizeAboutOppositeHandle_data()
{
    QTest::addColumn<int>("handle");
    QTest::addColumn<QRectF>("expected");
    // A 100 x 50 box at (100, 100) dragged so that its size doubles; the
    // opposite handle stays put, top and bottom never change the width and
    // left and right never change the height.
    QTest::newRow("left-top") << 1 << QRectF(0, 50, 200, 100);
    QTest::newRow("top") << 2 << QRectF(100, 50, 100, 100);
    QTest::newRow("right-top") << 3 << QRectF(100, 50, 200, 100);
    QTest::newRow("right") << 4 << QRectF(100, 100, 200, 50);
    QTest::newRow("right-bottom") << 5 << QRectF(100, 100, 200, 100);
    QTest::newRow("bottom") << 6 << QRectF(100, 100, 100, 100);
    QTest::newRow("left-bottom") << 7 << QRectF(0, 100, 200, 100);
    QTest::newRow("left") << 8 << QRectF(0, 100, 200, 50);
}

void TestShapeBase::resizeAboutOppositeHandle()
{
    QFETCH(int, handle);
    QFETCH(QRectF, expected);
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = placedRect(&scene, 100, 100, 100, 50);
    const QPointF origin = item->oppositeHandlePosition(handle);
    item->scaleFromHandle(handle, 2.0, 2.0, origin);
    item->normalizeGeometry();
    QCOMPARE(item->sceneBoundingRect(), expected);
    QCOMPARE(item->width(), expected.width());
    QCOMPARE(item->height(), expected.height());
}

void TestShapeBase::opacityAndFixe()
{
    GraphicsRectItem item(QRect(0, 0, 10, 10));
    for (double value : {0.0, -1.0}) {
        item.setProperty("opacity", value);
        QCOMPARE(item.opacity(), 0.01);
    }
    item.setProperty("opacity", 0.5);
    QCOMPARE(item.opacity(), 0.5);

    QVERIFY(!item.property("fixe").toBool());
    item.setProperty("fixe", true);
    QVERIFY(!(item.flags() & QGraphicsItem::ItemIsMovable));
    QVERIFY(item.property("fixe").toBool());
}

void TestShapeBase::gradientFollowsColours_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QList<double>>("stops");
    QTest::addColumn<QString>("pattern"); // L = line colour, F = fill colour
    QTest::newRow("01 horizontal") << 15 << QList<double>{0, 1} << "LF";
    QTest::newRow("03 three stops") << 17 << QList<double>{0, 0.5, 1} << "LFL";
    QTest::newRow("06 reversed") << 20 << QList<double>{0, 1} << "FL";
    QTest::newRow("15 diagonal") << 29 << QList<double>{0, 0.5, 1} << "FLF";
    QTest::newRow("radial 2") << 32 << QList<double>{0, 1} << "FL";
    QTest::newRow("conical 1") << 33 << QList<double>{0, 1} << "LF";
}

void TestShapeBase::gradientFollowsColours()
{
    QFETCH(int, style);
    QFETCH(QList<double>, stops);
    QFETCH(QString, pattern);
    GraphicsRectItem item(QRect(0, 0, 100, 40));
    item.setProperty("brushColor", QColor(Qt::yellow));
    item.setProperty("brushStyle", style);
    item.setProperty("penColor", QColor(Qt::red));

    const QGradient *gradient = item.brush().gradient();
    QVERIFY(gradient);
    const QGradientStops actual = gradient->stops();
    QCOMPARE(actual.size(), stops.size());
    for (int i = 0; i < stops.size(); ++i) {
        QCOMPARE(actual.at(i).first, stops.at(i));
        const QColor expected = pattern.at(i) == 'L' ? QColor(Qt::red) : QColor(Qt::yellow);
        QCOMPARE(actual.at(i).second, expected);
    }
    // The fill colour stays what the user chose, even under a gradient.
    QCOMPARE(item.property("brushColor").value<QColor>(), QColor(Qt::yellow));
}

void TestShapeBase::attributeTexts()
{
    std::unique_ptr<GraphicsRectItem> item(new GraphicsRectItem(QRect(0, 0, 25, 40)));
    item->normalizeGeometry();
    item->setObjectName("rectangle_1");
    item->setProperty("pos", QPointF(120, 80));
    item->setProperty("opacity", 0.125);
    item->setProperty("penColor", QColor(255, 0, 0, 128));
    item->setProperty("brushColor", QColor("#00ff00"));
    item->setZValue(12.5);
    const QString xml = attributesOf(item.get());
    QVERIFY(xml.contains(R"x(pos="(120,80)")x"));
    QVERIFY(xml.contains(R"x(zValue="12.50")x"));
    QVERIFY(xml.contains(R"x(width="25.00")x"));
    QVERIFY(xml.contains(R"x(opacity="0.13")x"));
    QVERIFY(xml.contains(R"x(fixe="false")x"));
    QVERIFY(xml.contains(R"x(penStyle="0")x"));
    QVERIFY(xml.contains(R"x(penColor="#80ff0000")x"));
    QVERIFY(xml.contains(R"x(brushColor="#00ff00")x"));
    QVERIFY(xml.contains(R"x(objectName="rectangle_1")x"));
    // Position is written last: on reading it depends on the size.
    QVERIFY(xml.indexOf("pos=") > xml.indexOf("brushColor="));
}

void TestShapeBase::attributeReadingRules()
{
    GraphicsRectItem item(QRect(0, 0, 10, 10));
    item.normalizeGeometry();
    item.setProperty("fixe", true);
    item.setProperty("penSize", 3);
    item.setProperty("pos", QPointF(5, 6));
    readAttributes(&item, R"x(<r width="10.00" height="10.00"/>)x");
    QCOMPARE(item.property("fixe").toBool(), false);
    QCOMPARE(item.property("penSize").toInt(), 0);
    QCOMPARE(item.property("zValue").toDouble(), 0.0);
    QVERIFY(!item.property("penColor").value<QColor>().isValid());
    QCOMPARE(item.objectName(), QString());
    QCOMPARE(item.property("pos").toPointF(), QPointF(5, 6)); // points keep their value

    readAttributes(&item, R"x(<r width="10.00" height="10.00" pos="(12.5,3)" fixe="TRUE"/>)x");
    QCOMPARE(item.property("pos").toPointF(), QPointF(12.5, 3));
    QCOMPARE(item.property("fixe").toBool(), false); // only "true" is true

    readAttributes(&item, R"x(<r width="10.00" height="10.00" pos="(1,2,3)"/>)x");
    QCOMPARE(item.property("pos").toPointF(), QPointF(12.5, 3));

    // What the writer produces, the reader reads back: negative positions
    // occur inside groups.
    readAttributes(&item, R"x(<r width="10.00" height="10.00" pos="(-15.5,-2)"/>)x");
    QCOMPARE(item.property("pos").toPointF(), QPointF(-15.5, -2));
}

void TestShapeBase::roundTripKeepsGeometry()
{
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = placedRect(&scene, 30, 40, 120, 60);
    item->setObjectName("rectangle_7");
    item->setRotation(15);
    item->setProperty("penStyle", 2);
    item->setProperty("brushStyle", 23);
    const QString first = attributesOf(item);

    auto *copy = new GraphicsRectItem(QRect(0, 0, 1, 1));
    scene.addItem(copy);
    readAttributes(copy, first);
    copy->normalizeGeometry();
    QCOMPARE(attributesOf(copy), first);
    QCOMPARE(copy->sceneBoundingRect(), item->sceneBoundingRect());
    QCOMPARE(copy->objectName(), QString("rectangle_7"));
}

void TestShapeBase::selectionOutlineDrawn()
{
    GraphicsRectItem item(QRect(0, 0, 40, 20));
    item.setBrushStyle(GraphicsItem::NoBrush);
    QImage image(60, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(10, 10);
    QStyleOptionGraphicsItem option;
    option.state |= QStyle::State_Selected;
    item.paint(&painter, &option, nullptr);
    painter.end();
    // The frame lies half a unit outside the box: on the box's first row
    // above, at x = 20.
    QVERIFY(image.pixelColor(30, 9) != QColor(Qt::white));
    QCOMPARE(image.pixelColor(30, 20), QColor(Qt::white));

    QImage plain(60, 40, QImage::Format_ARGB32);
    plain.fill(Qt::white);
    QPainter p2(&plain);
    p2.translate(10, 10);
    QStyleOptionGraphicsItem unselected;
    item.paint(&p2, &unselected, nullptr);
    p2.end();
    QCOMPARE(plain.pixelColor(30, 9), QColor(Qt::white));
}

void TestShapeBase::handlesStayEightPixels_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("rotation");
    QTest::newRow("500%") << 5.0 << 0.0;
    QTest::newRow("10%") << 0.1 << 0.0;
    QTest::newRow("rotated 45") << 1.0 << 45.0;
}

void TestShapeBase::handlesStayEightPixels()
{
    QFETCH(double, zoom);
    QFETCH(double, rotation);
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = placedRect(&scene, 100, 100, 100, 50);
    item->setRotation(rotation);
    QGraphicsView view(&scene);
    view.setTransform(QTransform::fromScale(zoom, zoom));
    SizeHandleRect *handle = item->handles().at(4);
    const QTransform device = handle->deviceTransform(view.viewportTransform());
    QCOMPARE(device.mapRect(QRectF(-4, -4, 8, 8)).size(), QSizeF(8, 8));
    QVERIFY(device.isScaling() == false || qFuzzyCompare(device.m11(), 1.0));
    QCOMPARE(device.m12(), 0.0); // axis-aligned on screen
}

void TestShapeBase::handleHitTest()
{
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = placedRect(&scene, 100, 100, 100, 50);
    item->setSelected(true);
    SizeHandleRect *corner = item->handles().at(4); // right-bottom at (200, 150)
    QVERIFY(corner->isVisible());
    QVERIFY(corner->hitTest(QPointF(203, 153)));
    QVERIFY(!corner->hitTest(QPointF(206, 150)));
    QCOMPARE(item->handleAt(QPointF(201, 149)), corner);
    item->setSelected(false);
    QVERIFY(!corner->isVisible());
    QCOMPARE(item->handleAt(QPointF(201, 149)), nullptr);
}

void TestShapeBase::cloneCopiesAndRaises()
{
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = placedRect(&scene, 10, 20, 80, 30);
    item->setZValue(2);
    item->setRotation(30);
    item->setProperty("penSize", 4);
    std::unique_ptr<QGraphicsItem> copy(item->clone());
    auto *rect = dynamic_cast<GraphicsRectItem *>(copy.get());
    QVERIFY(rect);
    QCOMPARE(rect->zValue(), 2.1);
    QCOMPARE(rect->rotation(), 30.0);
    QCOMPARE(rect->penSize(), 4);
    QCOMPARE(rect->brushColor(), item->brushColor());
    QCOMPARE(rect->mapToScene(rect->localRect()).boundingRect(),
             item->mapToScene(item->localRect()).boundingRect());
}

void TestShapeBase::seededFillsRepeat()
{
    GraphicsItem::seedRandom(42);
    const QColor first = GraphicsRectItem(QRect(0, 0, 1, 1)).brushColor();
    GraphicsItem::seedRandom(42);
    const QColor again = GraphicsRectItem(QRect(0, 0, 1, 1)).brushColor();
    QCOMPARE(first, again);
    QCOMPARE(first.red() % 8, 0);
    QCOMPARE(first.alpha(), 255);
}

QTEST_MAIN(TestShapeBase)
#include "tst_shapebase.moc"
