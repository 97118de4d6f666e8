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
    void pointTextsWithoutExponent_data();
    void pointTextsWithoutExponent();
    void edgePositionsReloadInPlace_data();
    void edgePositionsReloadInPlace();
    void damagedValuesKeepProperty_data();
    void damagedValuesKeepProperty();
    void selectionOutlineDrawn();
    void handlesStayEightPixels();
    void handleHitTest();
    void handleHitAreaIsTheDrawnSquare_data();
    void handleHitAreaIsTheDrawnSquare();
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

void TestShapeBase::pointTextsWithoutExponent_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("readBack");
    QTest::newRow("edge remainder")
        << QPointF(7.105427357601002e-15, 100) << "(0,100)" << QPointF(0, 100);
    QTest::newRow("below 1e-9") << QPointF(-9e-10, 5) << "(0,5)" << QPointF(0, 5);
    QTest::newRow("just above 1e-9")
        << QPointF(2.5e-9, -1) << "(0.0000000025,-1)" << QPointF(2.5e-9, -1);
    QTest::newRow("last-bit errors")
        << QPointF(0.1 + 0.2, 100.00000000000001) << "(0.3,100)" << QPointF(0.3, 100);
    QTest::newRow("large") << QPointF(1234567.25, -0.125) << "(1234567.25,-0.125)"
                           << QPointF(1234567.25, -0.125);
    // Written in full, but no screen reaches that far: reading it back is
    // damage, and the property keeps what it had.
    QTest::newRow("beyond 1e15") << QPointF(2e20, 3) << "(200000000000000000000,3)"
                                 << QPointF(-1, -1);
}

void TestShapeBase::pointTextsWithoutExponent()
{
    QFETCH(QPointF, point);
    QFETCH(QString, text);
    QFETCH(QPointF, readBack);
    QObject object;
    object.setProperty("pos", point);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.writeStartElement("shape");
    writeShapeAttributes(&writer, &object, {"pos"});
    writer.writeEndElement();
    const QString xml = QString::fromUtf8(buffer.data());
    QCOMPARE(xml, QStringLiteral("<shape pos=\"%1\"/>").arg(text));

    QObject loaded;
    loaded.setProperty("pos", QPointF(-1, -1));
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    readShapeAttributes(&reader, &loaded, {"pos"});
    QCOMPARE(loaded.property("pos").toPointF(), readBack);
}

void TestShapeBase::edgePositionsReloadInPlace_data()
{
    // Sizes whose halves leave a remainder when a drag or a nudge is held at an
    // edge; "file" rows are texts older saves wrote with an exponent.
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<QPointF>("dragTo");
    QTest::addColumn<QPointF>("nudge");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPointF>("expected");
    QTest::newRow("left") << QSizeF(33.3, 20) << QPointF(-40, 100.7) << QPointF(-1, 0) << QString()
                          << QPointF(0, 100.7 - 10);
    QTest::newRow("top") << QSizeF(20, 0.7) << QPointF(100, -3) << QPointF(0, -1) << QString()
                         << QPointF(90, 0);
    QTest::newRow("right") << QSizeF(100.1, 30) << QPointF(900, 50) << QPointF(1, 0) << QString()
                           << QPointF(800 - 100.1, 35);
    QTest::newRow("bottom") << QSizeF(12, 66.6) << QPointF(30, 600) << QPointF(0, 1) << QString()
                            << QPointF(24, 480 - 66.6);
    QTest::newRow("old file") << QSizeF(50, 50) << QPointF() << QPointF() << "(7.10543e-15,100)"
                              << QPointF(7.10543e-15, 100);
    QTest::newRow("old file, signed exponents")
        << QSizeF(50, 50) << QPointF() << QPointF() << "(1.5E+2,-2.5e-1)" << QPointF(150, -0.25);
}

void TestShapeBase::edgePositionsReloadInPlace()
{
    QFETCH(QSizeF, size);
    QFETCH(QPointF, dragTo);
    QFETCH(QPointF, nudge);
    QFETCH(QString, file);
    QFETCH(QPointF, expected);
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = addRect(&scene, QRectF(QPointF(200, 200), size));
    QString xml;
    if (file.isEmpty()) {
        // As the select tool drags (item positions) and the arrow keys nudge.
        item->setPos(dragTo);
        item->moveBy(nudge.x(), nudge.y());
        QVERIFY(QLineF(item->boxPos(), expected).length() < 1e-9);
        xml = attributesOf(item);
        // An exponent always carries its sign; the random hex colours
        // ("#e818e0") must not count as one.
        QVERIFY2(!xml.contains(QRegularExpression("[0-9][eE][+-]")), qPrintable(xml));
    } else {
        xml = QStringLiteral("<r width=\"%1\" height=\"%2\" pos=\"%3\"/>")
                  .arg(size.width())
                  .arg(size.height())
                  .arg(file);
    }
    GraphicsRectItem loaded(QRect(0, 0, 1, 1));
    loaded.setPos(-300, -300);
    readAttributes(&loaded, xml);
    QVERIFY2(QLineF(loaded.boxPos(), expected).length() < 1e-9, qPrintable(xml));
    QCOMPARE(QSizeF(loaded.width(), loaded.height()), size);
}

void TestShapeBase::damagedValuesKeepProperty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    // Invalid when the property must keep what it had.
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("width NaN") << "width" << "nan" << QVariant();
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

void TestShapeBase::handleHitAreaIsTheDrawnSquare_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("10 %") << 0.1;
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("500 %") << 5.0;
}

void TestShapeBase::handleHitAreaIsTheDrawnSquare()
{
    // Offsets in screen pixels from the centre of the right-bottom handle,
    // at (200, 150) on screen, whatever the zoom.
    QFETCH(double, zoom);
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = addRect(&scene, QRectF(100, 100, 100, 50));
    QGraphicsView view(&scene);
    view.setTransform(QTransform::fromScale(zoom, zoom));
    SizeHandleRect *corner = item->handles().at(4);
    const QPointF centre(200, 150);
    auto hits = [&](const QPointF &pixels) { return corner->hitTest(centre + pixels / zoom); };
    // Before it is first shown, and once it is.
    for (bool shown : {false, true}) {
        item->setSelected(shown);
        QVERIFY(hits(QPointF(0, 0)));
        QVERIFY(hits(QPointF(3.5, -3.5)));
        QVERIFY(hits(QPointF(-3.5, 3.5)));
        QVERIFY(!hits(QPointF(5, 0)));
        QVERIFY(!hits(QPointF(0, -5)));
        QVERIFY(!hits(QPointF(8, 8)));
    }
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
