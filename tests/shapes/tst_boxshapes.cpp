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
    void roundrectRadiusWrite_data();
    void roundrectRadiusWrite();
    void roundrectHandleDrag_data();
    void roundrectHandleDrag();
    void ellipseHandles();
    void ellipseDrag_data();
    void ellipseDrag();
    void ellipsePainting_data();
    void ellipsePainting();
    void ellipseHitArea_data();
    void ellipseHitArea();
    void imageDrawsOnlySelection();
    void xmlAndCloneKeepWhatWasSet_data();
    void xmlAndCloneKeepWhatWasSet();
    void imageXmlKeepsBox();
    void registeredPropertiesExist_data();
    void registeredPropertiesExist();
};

void TestBoxShapes::roundrectRadiusWrite_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("property");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QPointF>("handle");

    // Handle 9 is on the right edge at y + h * ratioY, handle 10 on the top
    // edge at x + w - w * ratioX.
    const QRect box(0, 0, 100, 50);
    QTest::newRow("X clamped to half") << box << "radiusX" << 80.0 << 0.5 << QPointF(50, 0);
    QTest::newRow("X negative") << box << "radiusX" << -5.0 << 0.0 << QPointF(100, 0);
    QTest::newRow("Y inside") << box << "radiusY" << 10.0 << 0.2 << QPointF(100, 10);
    QTest::newRow("X on zero width")
        << QRect(10, 10, 0, 50) << "radiusX" << 30.0 << 0.0 << QPointF(10, 10);
}

void TestBoxShapes::roundrectRadiusWrite()
{
    QFETCH(QRect, rect);
    QFETCH(QString, property);
    QFETCH(double, value);
    QFETCH(double, ratio);
    QFETCH(QPointF, handle);

    GraphicsRoundrectItem shape(rect);
    QVERIFY(shape.setProperty(property.toLatin1(), value));
    const bool horizontal = property == QLatin1String("radiusX");
    QCOMPARE(horizontal ? shape.radiusRatioX() : shape.radiusRatioY(), ratio);
    const double length = horizontal ? rect.width() : rect.height();
    QCOMPARE(shape.property(property.toLatin1()).toDouble(), ratio * length);
    QCOMPARE(shape.handlePosition(horizontal ? 10 : 9), handle);
}

void TestBoxShapes::roundrectHandleDrag_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("handle");
    QTest::addColumn<QPointF>("local");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QPointF>("handlePos");

    const QRect box(-50, -25, 100, 50);
    QTest::newRow("10 to the middle") << box << 10 << QPointF(0, -25) << 0.5 << QPointF(0, -25);
    QTest::newRow("10 past the right") << box << 10 << QPointF(80, -25) << 0.0 << QPointF(50, -25);
    QTest::newRow("10 past the middle") << box << 10 << QPointF(-60, 9) << 0.5 << QPointF(0, -25);
    QTest::newRow("10 rounded") << box << 10 << QPointF(25.4, -25) << 0.25 << QPointF(25, -25);
    QTest::newRow("9 to the top") << box << 9 << QPointF(50, -25) << 0.0 << QPointF(50, -25);
    QTest::newRow("9 below the box") << box << 9 << QPointF(50, 100) << 0.5 << QPointF(50, 0);
    QTest::newRow("9 inside") << box << 9 << QPointF(50, -15) << 0.2 << QPointF(50, -15);
    // An empty box divides by 1, not 0.
    QTest::newRow("10 on an empty box")
        << QRect(10, 10, 0, 0) << 10 << QPointF(40, 10) << 0.0 << QPointF(10, 10);
    QTest::newRow("9 on an empty box")
        << QRect(10, 10, 0, 0) << 9 << QPointF(10, 0) << 0.0 << QPointF(10, 10);
}

void TestBoxShapes::roundrectHandleDrag()
{
    QFETCH(QRect, rect);
    QFETCH(int, handle);
    QFETCH(QPointF, local);
    QFETCH(double, ratio);
    QFETCH(QPointF, handlePos);

    GraphicsRoundrectItem shape(rect);
    // The dragged point arrives in scene coordinates.
    shape.setPos(200, 100);
    shape.moveControlPoint(handle, local + QPointF(200, 100));
    QCOMPARE(handle == 10 ? shape.radiusRatioX() : shape.radiusRatioY(), ratio);
    QCOMPARE(shape.handlePosition(handle), handlePos);
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
    // Box handles stay on the whole ellipse's box though only a sector is
    // drawn (and bounds the item).
    QCOMPARE(shape.handlePosition(3), QPointF(50, -25));
    QCOMPARE(shape.handlePosition(7), QPointF(-50, 25));
}

void TestBoxShapes::ellipseDrag_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("handle");
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("newFirst");
    QTest::addColumn<int>("newSecond");

    // Fractional angles keep the truncation clear of rounding noise.
    QTest::newRow("9 straight up") << 0 << 360 << 9 << 90.0 << 90 << 360;
    QTest::newRow("9 truncated") << 0 << 360 << 9 << 30.5 << 30 << 360;
    QTest::newRow("9 truncated toward zero") << 0 << 300 << 9 << -30.5 << -30 << 300;
    QTest::newRow("9 past the second") << 0 << 90 << 9 << 135.4 << -225 << 90;
    QTest::newRow("10 below the first") << 90 << 360 << 10 << 0.0 << -270 << 0;
    QTest::newRow("10 to the left") << 0 << 360 << 10 << 180.0 << -360 << -180;
    QTest::newRow("swapped") << 0 << -600 << 9 << 0.0 << -600 << -360;
    QTest::newRow("over a turn resets") << 0 << 400 << 9 << 0.0 << 0 << 360;
}

void TestBoxShapes::ellipseDrag()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, handle);
    QFETCH(double, angle);
    QFETCH(int, newFirst);
    QFETCH(int, newSecond);

    GraphicsEllipseItem shape(QRect(-50, -25, 100, 50));
    shape.setPos(300, 200);
    shape.setStartAngle(first);
    shape.setSpanAngle(second);
    const double a = angle * M_PI / 180;
    shape.moveControlPoint(handle, QPointF(300 + 40 * std::cos(a), 200 - 40 * std::sin(a)));
    QCOMPARE(shape.startAngle(), newFirst);
    QCOMPARE(shape.spanAngle(), newSecond);
}

namespace {
enum Probe { Fill, Background, Outline };
}

void TestBoxShapes::ellipsePainting_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("radius");
    QTest::addColumn<int>("probe");

    const int pie = GraphicsItem::Pie;
    const int arc = GraphicsItem::Arc;
    const int chord = GraphicsItem::Chord;
    // radius is a fraction of the ellipse's radius; 1 is on the outline.
    QTest::newRow("pie 30-120 inside") << 30 << 120 << pie << 75.0 << 0.6 << int(Fill);
    QTest::newRow("pie 30-120 at 0") << 30 << 120 << pie << 0.0 << 0.6 << int(Background);
    QTest::newRow("pie 30-120 at 270") << 30 << 120 << pie << 270.0 << 0.6 << int(Background);
    QTest::newRow("pie 120-30 inside") << 120 << 30 << pie << 75.0 << 0.6 << int(Fill);
    QTest::newRow("pie 120-30 at 0") << 120 << 30 << pie << 0.0 << 0.6 << int(Background);
    QTest::newRow("pie -90-0") << -90 << 0 << pie << 300.0 << 0.6 << int(Fill);
    QTest::newRow("arc inside") << 30 << 120 << arc << 75.0 << 0.6 << int(Background);
    QTest::newRow("arc outline") << 30 << 120 << arc << 75.0 << 1.0 << int(Outline);
    QTest::newRow("arc no outline at 0") << 30 << 120 << arc << 0.0 << 1.0 << int(Background);
    QTest::newRow("chord near centre") << 30 << 120 << chord << 75.0 << 0.6 << int(Background);
    QTest::newRow("chord near rim") << 30 << 120 << chord << 75.0 << 0.9 << int(Fill);
    QTest::newRow("0-360 arc is full") << 0 << 360 << arc << 200.0 << 0.6 << int(Fill);
    QTest::newRow("equal angles full") << 45 << 45 << pie << 200.0 << 0.6 << int(Fill);
    QTest::newRow("over a turn full") << -30 << 400 << chord << 200.0 << 0.6 << int(Fill);
}

void TestBoxShapes::ellipsePainting()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, kind);
    QFETCH(double, angle);
    QFETCH(double, radius);
    QFETCH(int, probe);

    GraphicsEllipseItem shape(QRect(0, 0, 100, 100));
    shape.setBrushColor(Qt::red);
    shape.setBrushStyle(GraphicsItem::SolidPattern);
    shape.setStartAngle(first);
    shape.setSpanAngle(second);
    shape.setEshape(GraphicsItem::EllispseType(kind));
    const QImage image = render(&shape, QSize(110, 110), 5, 5);

    const double a = angle * M_PI / 180;
    const int x = qRound(55 + 50 * radius * std::cos(a));
    const int y = qRound(55 - 50 * radius * std::sin(a));
    if (probe == Outline) {
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                found = found || isDark(image.pixel(x + dx, y + dy));
        }
        QVERIFY(found);
    } else {
        QCOMPARE(QColor(image.pixel(x, y)), QColor(probe == Fill ? Qt::red : Qt::white));
    }
}

void TestBoxShapes::ellipseHitArea_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("hit");

    // A quarter from 0 to 90 degrees; arcs and chords are hit like their pie.
    const QRect box(-50, -50, 100, 100);
    const QRectF quarter(0, -50, 50, 50);
    QTest::newRow("arc near the centre")
        << box << int(GraphicsItem::Arc) << quarter << QPointF(10, -10) << true;
    QTest::newRow("pie, other quarter")
        << box << int(GraphicsItem::Pie) << quarter << QPointF(-10, -10) << false;
    QTest::newRow("empty box") << QRect(5, 5, 0, 0) << int(GraphicsItem::Pie) << QRectF()
                               << QPointF(5, 5) << false;
}

void TestBoxShapes::ellipseHitArea()
{
    QFETCH(QRect, rect);
    QFETCH(int, kind);
    QFETCH(QRectF, bounds);
    QFETCH(QPointF, point);
    QFETCH(bool, hit);

    GraphicsEllipseItem shape(rect);
    shape.setSpanAngle(90);
    shape.setEshape(GraphicsItem::EllispseType(kind));
    QCOMPARE(shape.boundingRect(), bounds);
    QCOMPARE(shape.contains(point), hit);
}

void TestBoxShapes::imageDrawsOnlySelection()
{
    GraphicsImageItem shape(QRect(0, 0, 60, 40));
    QImage blank(QSize(80, 60), QImage::Format_ARGB32);
    blank.fill(Qt::white);
    QCOMPARE(render(&shape, blank.size(), 10, 10), blank);

    shape.setSelected(true);
    QImage image = blank;
    QPainter painter(&image);
    painter.translate(10, 10);
    QStyleOptionGraphicsItem option;
    option.state |= QStyle::State_Selected;
    shape.paint(&painter, &option, nullptr);
    painter.end();
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
                               << QVariantMap {{"objectName", "corner"},
                                               {"radiusX", 30.0},
                                               {"radiusY", 5.0},
                                               {"penStyle", int(GraphicsItem::DashLine)},
                                               {"penColor", QColor(Qt::blue)},
                                               {"brushStyle", 16}};
    QTest::newRow("rotated roundrect")
        << "roundrect" << 0
        << QVariantMap {{"rotation", 30.0}, {"zValue", 2.0}, {"fixe", true}, {"opacity", 0.5}};
    QTest::newRow("chord") << "ellipse" << 0
                           << QVariantMap {{"startAngle", 30},
                                           {"spanAngle", 120},
                                           {"eshape", int(GraphicsItem::Chord)},
                                           {"penSize", 3}};
    QTest::newRow("rotated arc") << "ellipse" << 0
                                 << QVariantMap {{"startAngle", -45},
                                                 {"spanAngle", 10},
                                                 {"eshape", int(GraphicsItem::Arc)},
                                                 {"rotation", 45.0}};
    QTest::newRow("text") << "textitem" << 0
                          << QVariantMap {{"text", "Motor 1 running"},
                                          {"font", font},
                                          {"alignHor", int(GraphicsItem::AlignRight)},
                                          {"alignVer", int(GraphicsItem::AlignBottom)},
                                          {"penColor", QColor(200, 0, 0)},
                                          {"brushStyle", int(GraphicsItem::SolidPattern)},
                                          {"rotation", 90.0}};
    QTest::newRow("push button") << "widget" << int(PushButtonKind)
                                 << QVariantMap {{"objectName", "start"}, {"fixe", true}};
    QTest::newRow("combo box") << "widget" << int(ComboBoxKind)
                               << QVariantMap {{"opacity", 0.25}, {"zValue", 4.0}};
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
    if (name == QLatin1String("widget"))
        QCOMPARE(attributesOf(xml).value(QStringLiteral("type")).toInt(), kind);
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
    // No registered properties (the property browser shows none), yet a
    // saved image box must come back where the user put it.
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

void TestBoxShapes::registeredPropertiesExist_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"roundrect", "ellipse", "textitem", "widget"})
        QTest::newRow(name) << name;
}

void TestBoxShapes::registeredPropertiesExist()
{
    QFETCH(QString, name);
    std::unique_ptr<GraphicsItem> shape(makeShape(name, QRect(0, 0, 80, 40), LabelKind));
    QCOMPARE(shape->typeName(), name);
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

QTEST_MAIN(TestBoxShapes)
#include "tst_boxshapes.moc"
