#include "boxshapetesting.h"

#include "model/config.h"
#include "shapes/shapeattributes.h"
#include "support/scenetesting.h"

#include <QGraphicsView>
#include <QRegularExpression>
#include <QtTest>

using scenetest::addRect;

namespace {

// The shape's attributes (only those named, when any are) on a "shape" element.
QString attributesOf(QObject *shape, const QStringList &names = {})
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.writeStartElement("shape");
    names.isEmpty() ? writeShapeAttributes(&writer, shape)
                    : writeShapeAttributes(&writer, shape, names);
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
    void missingAttributesFollowReadingRules();
    void attributeNumbers_data();
    void attributeNumbers();
    void handlesAreEightScreenPixels_data();
    void handlesAreEightScreenPixels();
    void seededFillsRepeat();
};

void TestShapeBase::missingAttributesFollowReadingRules()
{
    // Missing: bool false, numbers 0 (opacity never below 0.01), colours invalid,
    // points unchanged.
    GraphicsRectItem item(QRect(0, 0, 25, 40));
    item.normalizeGeometry();
    item.setObjectName("rectangle_1");
    item.setProperty("pos", QPointF(120, 80));
    item.setProperty("fixe", true);
    readAttributes(&item, R"x(<r width="25.00" height="40.00"/>)x");
    QVERIFY(!item.property("fixe").toBool() && (item.flags() & QGraphicsItem::ItemIsMovable));
    QCOMPARE(item.property("penSize").toInt(), 0);
    QCOMPARE(item.opacity(), 0.01);
    QVERIFY(!item.property("penColor").value<QColor>().isValid());
    QCOMPARE(item.objectName(), QString());
    QCOMPARE(item.property("pos").toPointF(), QPointF(120, 80));
}

void TestShapeBase::attributeNumbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value"); // written when given
    QTest::addColumn<QString>("text");   // as written, or as found in a file
    QTest::addColumn<QVariant>("read");  // none: the property keeps what it had
    const auto point = [](double x, double y) { return QVariant(QPointF(x, y)); };
    // Written without exponent, magnitudes below 1e-9 as 0.
    QTest::newRow("edge remainder")
        << "pos" << point(7.105427357601002e-15, 100) << "(0,100)" << point(0, 100);
    QTest::newRow("just above 1e-9")
        << "pos" << point(2.5e-9, -1) << "(0.0000000025,-1)" << point(2.5e-9, -1);
    // Older saves wrote exponents.
    QTest::newRow("old file") << "pos" << QVariant() << "(7.10543e-15,100)"
                              << point(7.10543e-15, 100);
    // A damaged number must not reach painting code that converts it to int;
    // one merely too far keeps the nearest that painting takes.
    QTest::newRow("width NaN") << "width" << QVariant() << "nan" << QVariant();
    QTest::newRow("position far away") << "pos" << QVariant() << "(99999999,5)"
                                       << point(1e7, 5);
    QTest::newRow("width large but sane") << "width" << QVariant() << "1e6" << QVariant(1e6);
    // Malformed: a point needs two numbers; negative positions occur inside groups.
    QTest::newRow("three numbers") << "pos" << QVariant() << "(1,2,3)" << QVariant();
    QTest::newRow("negative") << "pos" << QVariant() << "(-15.5,-2)" << point(-15.5, -2);
}

void TestShapeBase::attributeNumbers()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QFETCH(QVariant, read);
    if (value.isValid()) {
        QObject object;
        object.setProperty(name.toLatin1(), value);
        QCOMPARE(attributesOf(&object, {name}),
                 QStringLiteral("<shape %1=\"%2\"/>").arg(name, text));
    }
    GraphicsRectItem item(QRect(0, 0, 25, 40));
    item.normalizeGeometry();
    item.setProperty("pos", QPointF(120, 80));
    const QVariant before = item.property(name.toLatin1());
    QString xml = attributesOf(&item);
    const QRegularExpression attribute(QStringLiteral("\\b%1=\"[^\"]*\"").arg(name));
    QVERIFY(xml.contains(attribute));
    xml.replace(attribute, QStringLiteral("%1=\"%2\"").arg(name, text));
    readAttributes(&item, xml);

    const QVariant after = item.property(name.toLatin1());
    if (!read.isValid())
        QCOMPARE(after, before);
    else if (name == "pos")
        QVERIFY2(QLineF(after.toPointF(), read.toPointF()).length() < 1e-9, qPrintable(xml));
    else
        QCOMPARE(after.toDouble(), read.toDouble());
}

void TestShapeBase::handlesAreEightScreenPixels_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("turn");
    QTest::newRow("10 %") << 0.1 << 0.0;
    QTest::newRow("100 %, turned") << 1.0 << 45.0;
    QTest::newRow("500 %") << 5.0 << 0.0;
}

// A handle is drawn and hit as an upright 8 x 8 screen-pixel square whatever
// the zoom and turn. Until first shown it stays out of the scene, yet is hit
// where it will be drawn.
void TestShapeBase::handlesAreEightScreenPixels()
{
    QFETCH(double, zoom);
    QFETCH(double, turn);
    QGraphicsScene scene(0, 0, 800, 480);
    GraphicsRectItem *item = addRect(&scene, QRectF(100, 100, 100, 50));
    item->setRotation(turn);
    QGraphicsView view(&scene);
    view.setTransform(QTransform::fromScale(zoom, zoom));
    SizeHandleRect *corner = item->handles().at(4); // right-bottom
    QVERIFY(!corner->isAttached() && !corner->scene());
    const QPointF centre = item->mapToScene(item->localRect().bottomRight());
    auto hits = [&](double x, double y) { return corner->hitTest(centre + QPointF(x, y) / zoom); };
    for (bool shown : {false, true}) {
        item->setSelected(shown);
        QVERIFY(hits(0, 0) && hits(3.5, -3.5) && hits(-3.5, 3.5));
        QVERIFY(!hits(5, 0) && !hits(0, -5) && !hits(8, 8));
    }
    QVERIFY(corner->parentItem() == item && corner->scene() == &scene && corner->isVisible());
    const QTransform device = corner->deviceTransform(view.viewportTransform());
    QCOMPARE(device.mapRect(QRectF(-4, -4, 8, 8)).size(), QSizeF(8, 8));
    QCOMPARE(device.m12(), 0.0);
    QCOMPARE(item->handleAt(centre + QPointF(3, 3) / zoom), corner);
    item->setSelected(false);
    QCOMPARE(item->handleAt(centre), nullptr);
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
