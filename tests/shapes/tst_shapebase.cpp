#include "project/config.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/shapeattributes.h"
#include "shapes/shapepainting.h"

#include <QBuffer>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

#include <memory>

namespace {

// A rectangle with screen box (x, y, w, h), re-centred as the tools leave every shape.
GraphicsRectItem *placedRect(QGraphicsScene *scene, double x, double y, double w, double h)
{
    auto *item = new GraphicsRectItem(QRect(0, 0, int(w), int(h)));
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

QImage paintAt10(GraphicsItem *item, bool selected)
{
    QImage image(60, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(10, 10);
    QStyleOptionGraphicsItem option;
    if (selected)
        option.state |= QStyle::State_Selected;
    item->paint(&painter, &option, nullptr);
    return image;
}

} // namespace

class TestShapeBase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Config::instance(); }
    void posIsTopLeftCorner();
    void clampAtScreenEdges();
    void normalizeKeepsSceneBox();
    void resizeAboutOppositeHandle();
    void opacityAndFixe();
    void gradientFollowsColours();
    void attributeTexts();
    void attributeReadingRules();
    void roundTripKeepsGeometry();
    void selectionOutlineDrawn();
    void handlesStayEightPixels();
    void handleHitTest();
    void cloneCopiesAndRaises();
    void seededFillsRepeat();
};

void TestShapeBase::posIsTopLeftCorner()
{
    GraphicsRectItem item(QRect(0, 0, 100, 100));
    item.normalizeGeometry();
    readAttributes(&item, R"x(<r pos="(10,20)" width="100.00" height="100.00"/>)x");
    QCOMPARE(item.pos(), QPointF(60, 70));
    QCOMPARE(item.property("pos").toPointF(), QPointF(10, 20));
    QCOMPARE(item.mapToScene(item.boundingRect()).boundingRect(), QRectF(10, 20, 100, 100));
}

void TestShapeBase::clampAtScreenEdges()
{
    // On an 800 x 480 screen; wider than the screen, the right edge rule wins.
    const struct
    {
        int width;
        QPointF moveTo, expected;
    } rows[] = {
        {100, {-30, 100}, {0, 100}}, {100, {750, 100}, {700, 100}}, {100, {10, -5}, {10, 0}},
        {100, {-10, 460}, {0, 430}}, {100, {300, 200}, {300, 200}}, {1000, {10, 0}, {-200, 0}},
    };
    for (const auto &r : rows) {
        QGraphicsScene scene(0, 0, 800, 480);
        GraphicsRectItem *item = placedRect(&scene, 0, 0, r.width, 50);
        item->setProperty("pos", r.moveTo);
        QCOMPARE(item->property("pos").toPointF(), r.expected);
    }
}

void TestShapeBase::normalizeKeepsSceneBox()
{
    for (double rotation : {0.0, 30.0}) {
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
        for (int i = 0; i < 4; ++i)
            QVERIFY(QLineF(before.at(i), after.at(i)).length() < 1e-9);
    }
}

void TestShapeBase::resizeAboutOppositeHandle()
{
    // A 100 x 50 box at (100, 100) doubled; the opposite handle stays put, top and
    // bottom never change the width, left and right never the height.
    const QRectF expected[]
        = {{0, 50, 200, 100},    {100, 50, 100, 100},  {100, 50, 200, 100}, {100, 100, 200, 50},
           {100, 100, 200, 100}, {100, 100, 100, 100}, {0, 100, 200, 100},  {0, 100, 200, 50}};
    for (int handle = 1; handle <= 8; ++handle) {
        QGraphicsScene scene(0, 0, 800, 480);
        GraphicsRectItem *item = placedRect(&scene, 100, 100, 100, 50);
        item->scaleFromHandle(handle, 2.0, 2.0, item->oppositeHandlePosition(handle));
        item->normalizeGeometry();
        const QRectF &box = expected[handle - 1];
        QCOMPARE(item->sceneBoundingRect(), box);
        QCOMPARE(QSizeF(item->width(), item->height()), box.size());
    }
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

void TestShapeBase::gradientFollowsColours()
{
    // Stops at even spacing; L = line colour, F = fill colour.
    const struct
    {
        int style;
        QString pattern;
    } rows[] = {
        {15, "LF"}, {17, "LFL"}, {20, "FL"}, {29, "FLF"}, {32, "FL"}, {33, "LF"},
    };
    for (const auto &r : rows) {
        GraphicsRectItem item(QRect(0, 0, 100, 40));
        item.setProperty("brushColor", QColor(Qt::yellow));
        item.setProperty("brushStyle", r.style);
        item.setProperty("penColor", QColor(Qt::red));
        const QGradient *gradient = item.brush().gradient();
        QVERIFY(gradient);
        const QGradientStops stops = gradient->stops();
        QCOMPARE(stops.size(), r.pattern.size());
        for (int i = 0; i < stops.size(); ++i) {
            QCOMPARE(stops.at(i).first, double(i) / (stops.size() - 1));
            QCOMPARE(stops.at(i).second,
                     r.pattern.at(i) == 'L' ? QColor(Qt::red) : QColor(Qt::yellow));
        }
        // The fill colour stays what the user chose, even under a gradient.
        QCOMPARE(item.property("brushColor").value<QColor>(), QColor(Qt::yellow));
    }
}

void TestShapeBase::attributeTexts()
{
    GraphicsRectItem item(QRect(0, 0, 25, 40));
    item.normalizeGeometry();
    item.setObjectName("rectangle_1");
    item.setProperty("pos", QPointF(120, 80));
    item.setProperty("opacity", 0.125);
    item.setProperty("penColor", QColor(255, 0, 0, 128));
    item.setProperty("brushColor", QColor("#00ff00"));
    item.setZValue(12.5);
    const QString xml = attributesOf(&item);
    for (const char *text :
         {R"x(pos="(120,80)")x", R"x(zValue="12.50")x", R"x(width="25.00")x", R"x(opacity="0.13")x",
          R"x(fixe="false")x", R"x(penStyle="0")x", R"x(penColor="#80ff0000")x",
          R"x(brushColor="#00ff00")x", R"x(objectName="rectangle_1")x"})
        QVERIFY2(xml.contains(QLatin1String(text)), text);
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

    // Negative positions occur inside groups.
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
    // The frame lies half a unit outside the box, on the row above it.
    const QImage selected = paintAt10(&item, true);
    QVERIFY(selected.pixelColor(30, 9) != QColor(Qt::white));
    QCOMPARE(selected.pixelColor(30, 20), QColor(Qt::white));
    QCOMPARE(paintAt10(&item, false).pixelColor(30, 9), QColor(Qt::white));
}

void TestShapeBase::handlesStayEightPixels()
{
    const struct
    {
        double zoom, rotation;
    } rows[] = {{5.0, 0.0}, {0.1, 0.0}, {1.0, 45.0}};
    for (const auto &r : rows) {
        QGraphicsScene scene(0, 0, 800, 480);
        GraphicsRectItem *item = placedRect(&scene, 100, 100, 100, 50);
        item->setRotation(r.rotation);
        item->setSelected(true);
        QGraphicsView view(&scene);
        view.setTransform(QTransform::fromScale(r.zoom, r.zoom));
        const QTransform device = item->handles().at(4)->deviceTransform(view.viewportTransform());
        QCOMPARE(device.mapRect(QRectF(-4, -4, 8, 8)).size(), QSizeF(8, 8));
        QVERIFY(device.isScaling() == false || qFuzzyCompare(device.m11(), 1.0));
        QCOMPARE(device.m12(), 0.0); // axis-aligned on screen
    }
}

void TestShapeBase::handleHitTest()
{
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = placedRect(&scene, 100, 100, 100, 50);
    item->setRotation(90);
    SizeHandleRect *corner = item->handles().at(4); // right-bottom, rotated to (125, 175)
    // Never shown: outside the scene, yet hit where it will be drawn.
    QVERIFY(!corner->isAttached() && !corner->scene());
    QVERIFY(corner->hitTest(QPointF(126, 177)));
    QVERIFY(!corner->hitTest(QPointF(130, 175)));
    item->setRotation(0);

    item->setSelected(true);
    QCOMPARE(corner->parentItem(), item);
    QCOMPARE(corner->scene(), &scene);
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
    QCOMPARE(GraphicsRectItem(QRect(0, 0, 1, 1)).brushColor(), first);
    QCOMPARE(first.red() % 8, 0);
    QCOMPARE(first.alpha(), 255);
}

QTEST_MAIN(TestShapeBase)
#include "tst_shapebase.moc"
