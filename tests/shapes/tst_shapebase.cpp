#include "boxshapetesting.h"

#include "project/config.h"
#include "shapes/shapeattributes.h"
#include "support/scenetesting.h"

#include <QGraphicsView>
#include <QRegularExpression>
#include <QtTest>

#include <tuple>

using scenetest::addRect;

namespace {

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
    void initTestCase() { Config::instance(); }
    void clampAtScreenEdges();
    void normalizeKeepsSceneBox();
    void resizeAboutOppositeHandle();
    void gradientFollowsColours();
    void attributeTextsAndReadingRules();
    void damagedValuesKeepProperty_data();
    void damagedValuesKeepProperty();
    void selectionOutlineDrawn();
    void handlesStayEightPixels();
    void handleHitTest();
    void seededFillsRepeat();
};

void TestShapeBase::clampAtScreenEdges()
{
    // On an 800 x 480 screen; wider than the screen, the right edge rule wins.
    const std::tuple<int, QPointF, QPointF> rows[]
        = {{100, {-30, 100}, {0, 100}}, {100, {750, 100}, {700, 100}}, {100, {10, -5}, {10, 0}},
           {100, {-10, 460}, {0, 430}}, {100, {300, 200}, {300, 200}}, {1000, {10, 0}, {-200, 0}}};
    for (const auto &[width, moveTo, expected] : rows) {
        QGraphicsScene scene(0, 0, 800, 480);
        GraphicsRectItem *item = addRect(&scene, QRectF(0, 0, width, 50));
        item->setProperty("pos", moveTo);
        QCOMPARE(item->property("pos").toPointF(), expected);
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
        GraphicsRectItem *item = addRect(&scene, QRectF(100, 100, 100, 50));
        item->scaleFromHandle(handle, 2.0, 2.0, item->oppositeHandlePosition(handle));
        item->normalizeGeometry();
        const QRectF &box = expected[handle - 1];
        QCOMPARE(item->sceneBoundingRect(), box);
        QCOMPARE(QSizeF(item->width(), item->height()), box.size());
    }
}

void TestShapeBase::gradientFollowsColours()
{
    // Stops at even spacing; L = line colour, F = fill colour.
    const std::pair<int, QString> rows[]
        = {{15, "LF"}, {17, "LFL"}, {20, "FL"}, {29, "FLF"}, {32, "FL"}, {33, "LF"}};
    for (const auto &[style, pattern] : rows) {
        GraphicsRectItem item(QRect(0, 0, 100, 40));
        item.setProperty("brushColor", QColor(Qt::yellow));
        item.setProperty("brushStyle", style);
        item.setProperty("penColor", QColor(Qt::red));
        const QGradient *gradient = item.brush().gradient();
        QVERIFY(gradient);
        const QGradientStops stops = gradient->stops();
        QCOMPARE(stops.size(), pattern.size());
        for (int i = 0; i < stops.size(); ++i) {
            QCOMPARE(stops.at(i).first, double(i) / (stops.size() - 1));
            QCOMPARE(stops.at(i).second,
                     pattern.at(i) == 'L' ? QColor(Qt::red) : QColor(Qt::yellow));
        }
        // The fill colour stays what the user chose, even under a gradient.
        QCOMPARE(item.property("brushColor").value<QColor>(), QColor(Qt::yellow));
    }
}

void TestShapeBase::attributeTextsAndReadingRules()
{
    GraphicsRectItem item(QRect(0, 0, 25, 40));
    item.normalizeGeometry();
    item.setObjectName("rectangle_1");
    item.setProperty("pos", QPointF(120, 80));
    QCOMPARE(item.pos(), QPointF(132.5, 100)); // "pos" is the box's top-left corner
    item.setProperty("opacity", 0.125);
    item.setProperty("penColor", QColor(255, 0, 0, 128));
    item.setProperty("brushColor", QColor("#00ff00"));
    item.setProperty("fixe", true);
    item.setZValue(12.5);
    const QString xml = attributesOf(&item);
    for (const char *text : {R"x(pos="(120,80)")x", R"x(zValue="12.50")x", R"x(width="25.00")x",
                             R"x(opacity="0.13")x", R"x(fixe="true")x", R"x(penColor="#80ff0000")x",
                             R"x(brushColor="#00ff00")x", R"x(objectName="rectangle_1")x"})
        QVERIFY2(xml.contains(QLatin1String(text)), text);
    // Position is written last: on reading it depends on the size.
    QVERIFY(xml.indexOf("pos=") > xml.indexOf("brushColor="));

    // Missing: bool false, numbers 0 (opacity never below 0.01), colours invalid,
    // points unchanged.
    readAttributes(&item, R"x(<r width="25.00" height="40.00"/>)x");
    QVERIFY(!item.property("fixe").toBool() && (item.flags() & QGraphicsItem::ItemIsMovable));
    QCOMPARE(item.property("penSize").toInt(), 0);
    QCOMPARE(item.opacity(), 0.01);
    QVERIFY(!item.property("penColor").value<QColor>().isValid());
    QCOMPARE(item.objectName(), QString());
    QCOMPARE(item.property("pos").toPointF(), QPointF(120, 80));

    // Malformed: only "true" is true, a point needs two numbers; negative positions
    // occur inside groups.
    const std::pair<QString, QPointF> rows[] = {{R"x(pos="(12.5,3)" fixe="TRUE")x", {12.5, 3}},
                                                {R"x(pos="(1,2,3)")x", {12.5, 3}},
                                                {R"x(pos="(-15.5,-2)")x", {-15.5, -2}}};
    for (const auto &[attributes, pos] : rows) {
        readAttributes(&item,
                       QStringLiteral("<r width=\"25.00\" height=\"40.00\" %1/>").arg(attributes));
        QCOMPARE(item.property("pos").toPointF(), pos);
        QVERIFY(!item.fixe());
    }
}

void TestShapeBase::damagedValuesKeepProperty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    // Invalid when the property must keep what it had.
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("width NaN") << "width" << "nan" << QVariant();
    QTest::newRow("width infinity") << "width" << "inf" << QVariant();
    QTest::newRow("width 1e308") << "width" << "1e308" << QVariant();
    QTest::newRow("height far negative") << "height" << "-1e9" << QVariant();
    QTest::newRow("rotation 1e300") << "rotation" << "1e300" << QVariant();
    QTest::newRow("position far away") << "pos" << "(99999999,5)" << QVariant();
    QTest::newRow("pen style past its enum") << "penStyle" << "99" << QVariant();
    QTest::newRow("brush style negative") << "brushStyle" << "-7" << QVariant();
    QTest::newRow("width large but sane") << "width" << "1e6" << QVariant(1e6);
    QTest::newRow("last pen style") << "penStyle" << "5" << QVariant(5);
}

// A damaged number in a file must neither reach painting code that converts
// it to int nor an enum that cannot hold it.
void TestShapeBase::damagedValuesKeepProperty()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QVariant, expected);
    GraphicsRectItem item(QRect(0, 0, 25, 40));
    item.normalizeGeometry();
    item.setProperty("pos", QPointF(120, 80));
    item.setProperty("rotation", 30.0);
    item.setProperty("penStyle", int(GraphicsItem::DashLine));
    const QVariant before = item.property(name.toLatin1().constData());

    QString xml = attributesOf(&item);
    const QRegularExpression attribute(QStringLiteral("\\b%1=\"[^\"]*\"").arg(name));
    QVERIFY(xml.contains(attribute));
    xml.replace(attribute, QStringLiteral("%1=\"%2\"").arg(name, value));
    readAttributes(&item, xml);

    const QVariant after = item.property(name.toLatin1().constData());
    if (expected.isValid())
        QCOMPARE(after.toDouble(), expected.toDouble());
    else
        QCOMPARE(after, before);
}

void TestShapeBase::selectionOutlineDrawn()
{
    GraphicsRectItem item(QRect(0, 0, 40, 20));
    item.setBrushStyle(GraphicsItem::NoBrush);
    // The frame lies half a unit outside the box, on the row above it.
    const QImage selected = boxtest::render(&item, QSize(60, 40), 10, 10, true);
    QVERIFY(selected.pixelColor(30, 9) != QColor(Qt::white));
    QCOMPARE(selected.pixelColor(30, 20), QColor(Qt::white));
    QCOMPARE(boxtest::render(&item, QSize(60, 40), 10, 10).pixelColor(30, 9), QColor(Qt::white));
}

void TestShapeBase::handlesStayEightPixels()
{
    const std::pair<double, double> rows[] = {{5.0, 0.0}, {0.1, 0.0}, {1.0, 45.0}};
    for (const auto &[zoom, rotation] : rows) {
        QGraphicsScene scene(0, 0, 800, 480);
        GraphicsRectItem *item = addRect(&scene, QRectF(100, 100, 100, 50));
        item->setRotation(rotation);
        item->setSelected(true);
        QGraphicsView view(&scene);
        view.setTransform(QTransform::fromScale(zoom, zoom));
        const QTransform device = item->handles().at(4)->deviceTransform(view.viewportTransform());
        QCOMPARE(device.mapRect(QRectF(-4, -4, 8, 8)).size(), QSizeF(8, 8));
        QCOMPARE(device.m12(), 0.0); // axis-aligned on screen
    }
}

void TestShapeBase::handleHitTest()
{
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = addRect(&scene, QRectF(100, 100, 100, 50));
    item->setRotation(90);
    SizeHandleRect *corner = item->handles().at(4); // right-bottom, rotated to (125, 175)
    // Never shown: outside the scene, yet hit where it will be drawn.
    QVERIFY(!corner->isAttached() && !corner->scene());
    QVERIFY(corner->hitTest(QPointF(126, 177)) && !corner->hitTest(QPointF(130, 175)));
    item->setRotation(0);

    item->setSelected(true);
    QVERIFY(corner->parentItem() == item && corner->scene() == &scene && corner->isVisible());
    QVERIFY(corner->hitTest(QPointF(203, 153)) && !corner->hitTest(QPointF(206, 150)));
    QCOMPARE(item->handleAt(QPointF(201, 149)), corner);
    item->setSelected(false);
    QVERIFY(!corner->isVisible());
    QCOMPARE(item->handleAt(QPointF(201, 149)), nullptr);
}

void TestShapeBase::seededFillsRepeat()
{
    GraphicsItem::seedRandom(42);
    const QColor first = GraphicsRectItem(QRect(0, 0, 1, 1)).brushColor();
    GraphicsItem::seedRandom(42);
    QCOMPARE(GraphicsRectItem(QRect(0, 0, 1, 1)).brushColor(), first);
}

QTEST_MAIN(TestShapeBase)
#include "tst_shapebase.moc"
