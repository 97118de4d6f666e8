#include "boxshapetesting.h"

#include "model/propertyregistry.h"
#include "support/scenetesting.h"

#include <QtTest>

#include <tuple>

using namespace boxtest;

class TestBoxShapes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { GraphicsItem::seedRandom(11); }
    // Deleted widget shapes leave their proxies to the event loop.
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void roundrectRadius();
    void xmlAndCloneKeepWhatWasSet();
    void cloneKeepsExactGeometry_data();
    void cloneKeepsExactGeometry();
};

void TestBoxShapes::roundrectRadius()
{
    // Written (clamped to half, negative, plain, zero width): handle 9 is on the right
    // edge at y + h * ratioY, 10 on the top at x + w - w * ratioX.
    const std::tuple<QRect, const char *, double, double, QPointF> writes[]
        = {{{0, 0, 100, 50}, "radiusX", 80, 0.5, {50, 0}},
           {{0, 0, 100, 50}, "radiusX", -5, 0, {100, 0}},
           {{0, 0, 100, 50}, "radiusY", 10, 0.2, {100, 10}},
           {{10, 10, 0, 50}, "radiusX", 30, 0, {10, 10}}};
    for (const auto &[rect, property, value, ratio, handle] : writes) {
        GraphicsRoundrectItem shape(rect);
        QVERIFY(shape.setProperty(property, value));
        const bool horizontal = QByteArray(property) == "radiusX";
        QCOMPARE(horizontal ? shape.radiusRatioX() : shape.radiusRatioY(), ratio);
        const double length = horizontal ? rect.width() : rect.height();
        QCOMPARE(shape.property(property).toDouble(), ratio * length);
        QCOMPARE(shape.handlePosition(horizontal ? 10 : 9), handle);
    }

    // Dragged past the edge the ratio stays at its bound; the point arrives in
    // scene coordinates; an empty box divides by 1, not 0.
    const std::tuple<QRect, int, QPointF, double, QPointF> drags[]
        = {{{-50, -25, 100, 50}, 10, {-60, 9}, 0.5, {0, -25}},
           {{10, 10, 0, 0}, 10, {40, 10}, 0, {10, 10}}};
    for (const auto &[rect, handle, local, ratio, pos] : drags) {
        GraphicsRoundrectItem shape(rect);
        shape.setPos(200, 100);
        shape.moveControlPoint(handle, local + QPointF(200, 100));
        QCOMPARE(shape.radiusRatioX(), ratio);
        QCOMPARE(shape.handlePosition(handle), pos);
    }
}

// What the user set must survive copy and paste; an image box has no
// registered properties, yet its place must survive save and open.
void TestBoxShapes::xmlAndCloneKeepWhatWasSet()
{
    // Property values as the property browser writes them.
    const std::pair<QByteArray, QString> rows[]
        = {{"<ellipse/>", "startAngle=-45;spanAngle=120;eshape=Chord;rotation=45;zValue=2"},
           {"<textitem/>",
            "text=Motor 1 running;font=DejaVu Serif,14,-1,5,75,0,0,0,0,0;"
            "alignHor=AlignRight;alignVer=AlignBottom;penColor=#c80000"},
           {"<imageitem/>", "objectName=imageitem_2;rotation=30"}};
    for (const auto &[element, values] : rows) {
        std::unique_ptr<GraphicsItem> shape = readBack(element, false);
        scenetest::placeRect(static_cast<GraphicsRectItem *>(shape.get()), QRectF(10, 20, 100, 50));
        for (const QString &value : values.split(';'))
            QVERIFY2(shape->setProperty(value.section('=', 0, 0).toLatin1(), value.section('=', 1)),
                     qPrintable(value));

        const QByteArray xml = xmlOf(shape.get());
        std::unique_ptr<GraphicsItem> loaded = readBack(xml);
        QCOMPARE(xmlOf(loaded.get()), xml);
        QCOMPARE(loaded->boxPos(), QPointF(10, 20));
        std::unique_ptr<GraphicsItem> copy(dynamic_cast<GraphicsItem *>(shape->clone()));
        QVERIFY(copy && !copy->parentItem());
        QCOMPARE(copy->zValue(), shape->zValue() + 0.1);

        // A clone is renamed by the scene that receives it, and raised.
        for (GraphicsItem *other : {loaded.get(), copy.get()}) {
            QCOMPARE(other->metaObject(), shape->metaObject());
            QCOMPARE(other->sceneBoundingRect(), shape->sceneBoundingRect());
            for (const QString &name : propertyNamesOf(shape.get())) {
                if (other == loaded.get() || (name != "objectName" && name != "zValue"))
                    QCOMPARE(other->property(name.toLatin1()), shape->property(name.toLatin1()));
            }
        }
    }
    // A bare element, as older files have it, still loads, at the origin.
    QCOMPARE(readBack("<imageitem/>")->sceneBoundingRect().topLeft(), QPointF());
}

void TestBoxShapes::cloneKeepsExactGeometry_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<double>("rotation");
    // Every box shape clones through one routine; a widget also places its proxy.
    for (const char *element : {"<rectangle/>", "<widget type=\"13\"/>"})
        QTest::addRow("%s odd", element) << QByteArray(element) << QSizeF(101, 51) << 0.0;
    QTest::newRow("odd, turned") << QByteArray("<ellipse/>") << QSizeF(77, 31) << 30.0;
}

void TestBoxShapes::cloneKeepsExactGeometry()
{
    QFETCH(QByteArray, element);
    QFETCH(QSizeF, size);
    QFETCH(double, rotation);
    std::unique_ptr<GraphicsItem> shape = readBack(element, false);
    scenetest::placeRect(static_cast<GraphicsRectItem *>(shape.get()),
                         QRectF(QPointF(100, 100), size));
    shape->setRotation(rotation);
    const QRectF box = shape->sceneBoundingRect();

    // Pasted as the edit menu pastes: a clone moved by (10, 10), copied again
    // from the copy each time.
    std::unique_ptr<GraphicsItem> copy = std::move(shape);
    for (int round = 1; round <= 5; ++round) {
        copy.reset(dynamic_cast<GraphicsItem *>(copy->clone()));
        copy->setPos(copy->pos() + QPointF(10, 10));
        QCOMPARE(copy->sceneBoundingRect(), box.translated(10 * round, 10 * round));
    }
    QCOMPARE(copy->boxPos(), QPointF(150, 150));
    QCOMPARE(QSizeF(copy->width(), copy->height()), size);
}

QTEST_MAIN(TestBoxShapes)
#include "tst_boxshapes.moc"
