#include "boxshapetesting.h"

#include "project/propertyregistry.h"

#include <QMetaProperty>
#include <QtTest>

#include <cmath>

using namespace boxtest;

class TestBoxShapes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { GraphicsItem::seedRandom(11); }
    // Deleted widget shapes leave their proxies to the event loop.
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void roundrectRadiusWrite();
    void roundrectHandleDrag();
    void ellipseHandles();
    void ellipseDrag();
    void ellipsePainting();
    void ellipseHitArea();
    void imageDrawsOnlySelection();
    void xmlAndCloneKeepWhatWasSet_data();
    void xmlAndCloneKeepWhatWasSet();
    void imageXmlKeepsBox();
    void registeredPropertiesExist();
};

void TestBoxShapes::roundrectRadiusWrite()
{
    // Handle 9 is on the right edge at y + h * ratioY, 10 on the top at x + w - w * ratioX.
    const struct { QRect rect; const char *property; double value, ratio; QPointF handle; } rows[] = {
        {{0, 0, 100, 50}, "radiusX", 80, 0.5, {50, 0}},   // clamped to half
        {{0, 0, 100, 50}, "radiusX", -5, 0, {100, 0}},
        {{0, 0, 100, 50}, "radiusY", 10, 0.2, {100, 10}},
        {{10, 10, 0, 50}, "radiusX", 30, 0, {10, 10}},    // zero width
    };
    for (const auto &r : rows) {
        GraphicsRoundrectItem shape(r.rect);
        QVERIFY(shape.setProperty(r.property, r.value));
        const bool horizontal = QByteArray(r.property) == "radiusX";
        QCOMPARE(horizontal ? shape.radiusRatioX() : shape.radiusRatioY(), r.ratio);
        const double length = horizontal ? r.rect.width() : r.rect.height();
        QCOMPARE(shape.property(r.property).toDouble(), r.ratio * length);
        QCOMPARE(shape.handlePosition(horizontal ? 10 : 9), r.handle);
    }
}

void TestBoxShapes::roundrectHandleDrag()
{
    const QRect box(-50, -25, 100, 50), empty(10, 10, 0, 0);
    const struct { QRect rect; int handle; QPointF local; double ratio; QPointF pos; } rows[] = {
        {box, 10, {80, -25}, 0, {50, -25}},      // past the right
        {box, 10, {-60, 9}, 0.5, {0, -25}},      // past the middle
        {box, 10, {25.4, -25}, 0.25, {25, -25}}, // rounded
        {box, 9, {50, 100}, 0.5, {50, 0}},       // below the box
        {box, 9, {50, -15}, 0.2, {50, -15}},
        {empty, 10, {40, 10}, 0, {10, 10}},      // an empty box divides by 1, not 0
        {empty, 9, {10, 0}, 0, {10, 10}},
    };
    for (const auto &r : rows) {
        GraphicsRoundrectItem shape(r.rect);
        shape.setPos(200, 100); // the dragged point arrives in scene coordinates
        shape.moveControlPoint(r.handle, r.local + QPointF(200, 100));
        QCOMPARE(r.handle == 10 ? shape.radiusRatioX() : shape.radiusRatioY(), r.ratio);
        QCOMPARE(shape.handlePosition(r.handle), r.pos);
    }
}

static bool near(const QPointF &a, const QPointF &b)
{
    return std::abs(a.x() - b.x()) < 1e-9 && std::abs(a.y() - b.y()) < 1e-9;
}

void TestBoxShapes::ellipseHandles()
{
    GraphicsEllipseItem shape(QRect(-50, -25, 100, 50));
    QVERIFY(near(shape.handlePosition(9), QPointF(50, 0)));
    QVERIFY(near(shape.handlePosition(10), QPointF(50, 0)));
    // Angles run counter-clockwise on screen: 90 is at the top.
    shape.setProperty("startAngle", 90);
    shape.setProperty("spanAngle", -135);
    QVERIFY(near(shape.handlePosition(9), QPointF(0, -25)));
    QVERIFY(near(shape.handlePosition(10), QPointF(-50 * std::sqrt(0.5), 25 * std::sqrt(0.5))));
    // Box handles stay on the whole ellipse's box.
    QCOMPARE(shape.handlePosition(3), QPointF(50, -25));
    QCOMPARE(shape.handlePosition(7), QPointF(-50, 25));
}

void TestBoxShapes::ellipseDrag()
{
    // Fractional angles keep the truncation clear of rounding noise.
    const struct { int first, second, handle; double angle; int newFirst, newSecond; } rows[] = {
        {0, 360, 9, 30.5, 30, 360},      {0, 300, 9, -30.5, -30, 300},
        {0, 90, 9, 135.4, -225, 90},     {90, 360, 10, 0, -270, 0},
        {0, 360, 10, 180, -360, -180},   {0, -600, 9, 0, -600, -360}, // swapped
        {0, 400, 9, 0, 0, 360},          // over a turn resets
    };
    for (const auto &r : rows) {
        GraphicsEllipseItem shape(QRect(-50, -25, 100, 50));
        shape.setPos(300, 200);
        shape.setStartAngle(r.first);
        shape.setSpanAngle(r.second);
        const double a = r.angle * M_PI / 180;
        shape.moveControlPoint(r.handle, QPointF(300 + 40 * std::cos(a), 200 - 40 * std::sin(a)));
        QCOMPARE(shape.startAngle(), r.newFirst);
        QCOMPARE(shape.spanAngle(), r.newSecond);
    }
}

void TestBoxShapes::ellipsePainting()
{
    enum Probe { Fill, Background, Outline };
    const auto pie = GraphicsItem::Pie, arc = GraphicsItem::Arc, chord = GraphicsItem::Chord;
    // radius is a fraction of the ellipse's radius; 1 is on the outline.
    const struct { int first, second; GraphicsItem::EllispseType kind; double angle, radius;
                   Probe probe; } rows[] = {
        {30, 120, pie, 75, 0.6, Fill},        {30, 120, pie, 0, 0.6, Background},
        {120, 30, pie, 75, 0.6, Fill},        {120, 30, pie, 0, 0.6, Background},
        {-90, 0, pie, 300, 0.6, Fill},        {30, 120, arc, 75, 0.6, Background},
        {30, 120, arc, 75, 1.0, Outline},     {30, 120, arc, 0, 1.0, Background},
        {30, 120, chord, 75, 0.6, Background}, {30, 120, chord, 75, 0.9, Fill},
        {0, 360, arc, 200, 0.6, Fill},        {45, 45, pie, 200, 0.6, Fill},
        {-30, 400, chord, 200, 0.6, Fill},
    };
    for (const auto &r : rows) {
        GraphicsEllipseItem shape(QRect(0, 0, 100, 100));
        shape.setBrushColor(Qt::red);
        shape.setBrushStyle(GraphicsItem::SolidPattern);
        shape.setStartAngle(r.first);
        shape.setSpanAngle(r.second);
        shape.setEshape(r.kind);
        const QImage image = render(&shape, QSize(110, 110), 5, 5);
        const double a = r.angle * M_PI / 180;
        const int x = qRound(55 + 50 * r.radius * std::cos(a));
        const int y = qRound(55 - 50 * r.radius * std::sin(a));
        if (r.probe == Outline) {
            QVERIFY(!darkBounds(image.copy(x - 1, y - 1, 3, 3)).isEmpty());
        } else {
            QCOMPARE(QColor(image.pixel(x, y)), QColor(r.probe == Fill ? Qt::red : Qt::white));
        }
    }
}

void TestBoxShapes::ellipseHitArea()
{
    // A quarter from 0 to 90 degrees; arcs are hit like their pie.
    const QRect box(-50, -50, 100, 100);
    const QRectF quarter(0, -50, 50, 50);
    const struct { QRect rect; GraphicsItem::EllispseType kind; QRectF bounds; QPointF point;
                   bool hit; } rows[] = {
        {box, GraphicsItem::Arc, quarter, {10, -10}, true},
        {box, GraphicsItem::Pie, quarter, {-10, -10}, false},
        {QRect(5, 5, 0, 0), GraphicsItem::Pie, QRectF(), {5, 5}, false},
    };
    for (const auto &r : rows) {
        GraphicsEllipseItem shape(r.rect);
        shape.setSpanAngle(90);
        shape.setEshape(r.kind);
        QCOMPARE(shape.boundingRect(), r.bounds);
        QCOMPARE(shape.contains(r.point), r.hit);
    }
}

void TestBoxShapes::imageDrawsOnlySelection()
{
    GraphicsImageItem shape(QRect(0, 0, 60, 40));
    QImage blank(QSize(80, 60), QImage::Format_ARGB32);
    blank.fill(Qt::white);
    QCOMPARE(render(&shape, blank.size(), 10, 10), blank);

    shape.setSelected(true);
    const QImage image = render(&shape, blank.size(), 10, 10, true);
    // A frame along the box edge and nothing inside it.
    QVERIFY(image.copy(0, 8, 80, 4) != blank.copy(0, 8, 80, 4));
    QCOMPARE(image.copy(12, 12, 56, 36), blank.copy(12, 12, 56, 36));
}

void TestBoxShapes::xmlAndCloneKeepWhatWasSet_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariantMap>("values");

    QFont font(QStringLiteral("DejaVu Serif"), 14);
    font.setBold(true);
    QTest::newRow("roundrect") << "roundrect" << 0
        << QVariantMap {{"objectName", "corner"}, {"radiusX", 30.0}, {"radiusY", 5.0},
                        {"penStyle", int(GraphicsItem::DashLine)}, {"penColor", QColor(Qt::blue)},
                        {"brushStyle", 16}, {"rotation", 30.0}, {"zValue", 2.0}, {"fixe", true},
                        {"opacity", 0.5}};
    QTest::newRow("chord") << "ellipse" << 0
        << QVariantMap {{"startAngle", -45}, {"spanAngle", 120},
                        {"eshape", int(GraphicsItem::Chord)}, {"penSize", 3}, {"rotation", 45.0}};
    QTest::newRow("text") << "textitem" << 0
        << QVariantMap {{"text", "Motor 1 running"}, {"font", font},
                        {"alignHor", int(GraphicsItem::AlignRight)},
                        {"alignVer", int(GraphicsItem::AlignBottom)},
                        {"penColor", QColor(200, 0, 0)},
                        {"brushStyle", int(GraphicsItem::SolidPattern)}, {"rotation", 90.0}};
    QTest::newRow("push button") << "widget" << int(PushButtonKind)
        << QVariantMap {{"objectName", "start"}, {"fixe", true}, {"opacity", 0.25},
                        {"zValue", 4.0}};
}

void TestBoxShapes::xmlAndCloneKeepWhatWasSet()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QVariantMap, values);

    std::unique_ptr<GraphicsItem> shape(makeShape(name, QRect(10, 20, 100, 50), kind));
    shape->normalizeGeometry();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        QVERIFY2(shape->setProperty(it.key().toLatin1(), it.value()), qPrintable(it.key()));

    const QByteArray xml = xmlOf(shape.get());
    if (name == QLatin1String("widget")) {
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        QCOMPARE(reader.attributes().value(QStringLiteral("type")).toInt(), kind);
    }
    std::unique_ptr<GraphicsItem> loaded = readBack(xml);
    QVERIFY(loaded);
    QCOMPARE(QString::fromUtf8(xmlOf(loaded.get())), QString::fromUtf8(xml));
    QCOMPARE(loaded->boxPos(), QPointF(10, 20));

    std::unique_ptr<GraphicsItem> copy(dynamic_cast<GraphicsItem *>(shape->clone()));
    QVERIFY(copy);
    QVERIFY(!copy->parentItem());
    QCOMPARE(copy->zValue(), shape->zValue() + 0.1);

    // A clone is renamed by the scene that receives it, and raised.
    const QStringList notCloned = {QStringLiteral("objectName"), QStringLiteral("zValue")};
    for (GraphicsItem *other : {loaded.get(), copy.get()}) {
        QCOMPARE(other->metaObject(), shape->metaObject());
        QCOMPARE(other->sceneBoundingRect(), shape->sceneBoundingRect());
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const QByteArray key = it.key().toLatin1();
            if (other == loaded.get() || !notCloned.contains(it.key()))
                QCOMPARE(other->property(key), shape->property(key));
        }
        if (auto *widget = dynamic_cast<GraphicsWidgetItem *>(other)) {
            QCOMPARE(widget->widgetKind(), kind);
            QCOMPARE(widget->proxy()->geometry(), widget->boundingRect());
        }
    }
}

void TestBoxShapes::imageXmlKeepsBox()
{
    // No registered properties, yet a saved image box must come back in place.
    GraphicsImageItem shape(QRect(10, 20, 100, 50));
    shape.normalizeGeometry();
    shape.setObjectName("imageitem_2");
    shape.setRotation(30);
    QVERIFY(propertyNamesOf(&shape).isEmpty());
    const QByteArray xml = xmlOf(&shape);
    const std::unique_ptr<GraphicsItem> loaded = readBack(xml);
    QVERIFY(loaded);
    QCOMPARE(loaded->typeName(), QStringLiteral("imageitem"));
    QCOMPARE(loaded->objectName(), QStringLiteral("imageitem_2"));
    QCOMPARE(loaded->sceneBoundingRect(), shape.sceneBoundingRect());
    QCOMPARE(xmlOf(loaded.get()), xml);

    // A bare element, as older files have it, keeps the loader's 1 x 1 box.
    const std::unique_ptr<GraphicsItem> bare = readBack("<imageitem/>");
    QVERIFY(bare);
    QCOMPARE(bare->sceneBoundingRect(), QRectF(0, 0, 1, 1));
}

void TestBoxShapes::registeredPropertiesExist()
{
    for (const char *name : {"roundrect", "ellipse", "textitem", "widget"}) {
        std::unique_ptr<GraphicsItem> shape(makeShape(name, QRect(0, 0, 80, 40), LabelKind));
        QCOMPARE(shape->typeName(), QString(name));
        const QStringList names = propertyNamesOf(shape.get());
        QVERIFY(!names.isEmpty());
        const QMetaObject *meta = shape->metaObject();
        for (const QString &property : names) {
            const QMetaProperty p = meta->property(meta->indexOfProperty(property.toLatin1()));
            QVERIFY2(p.isReadable() && p.isWritable(), qPrintable(property));
            QVERIFY2(shape->setProperty(p.name(), shape->property(p.name())), qPrintable(property));
            // Enumerations must be the shapes' own, so keys can be shown.
            if (property == QLatin1String("eshape") || property.startsWith(QLatin1String("align")))
                QCOMPARE(p.enumerator().scope(), "GraphicsItem");
        }
    }
}

QTEST_MAIN(TestBoxShapes)
#include "tst_boxshapes.moc"
