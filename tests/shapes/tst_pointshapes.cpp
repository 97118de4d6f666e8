#include "boxshapetesting.h"

#include <QGraphicsRectItem>
#include <QtTest>

#include <tuple>

using namespace boxtest;
using Points = QVector<QPointF>;

namespace {

// Draws a shape the way the tool does: placed at pos, points given in scene coordinates.
std::unique_ptr<GraphicsPolygonItem> drawn(const QString &kind, const QPointF &pos,
                                           const Points &scenePoints)
{
    std::unique_ptr<GraphicsPolygonItem> shape(dynamic_cast<GraphicsPolygonItem *>(
        readBack("<" + kind.toLatin1() + "/>", false).release()));
    shape->setPos(pos);
    for (const QPointF &p : scenePoints)
        shape->appendPoint(p);
    shape->finishPoints(QPointF());
    return shape;
}

Points scenePointsOf(const GraphicsPolygonItem *shape)
{
    return shape->sceneTransform().map(shape->points());
}

bool near(const Points &a, const Points &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](auto p, auto q) {
               return QLineF(p, q).length() < 1e-9;
           });
}

} // namespace

class TestPointShapes : public QObject
{
    Q_OBJECT

private slots:
    void bezierPath();
    void finishPoints();
    void movePointThenNormalize();
    void scaleFromHandle();
    void cloneKeepsShape();
    void gradientFillSurvivesSaveAndOpen_data();
    void gradientFillSurvivesSaveAndOpen();
};

void TestPointShapes::bezierPath()
{
    const Points p = {{0, 0}, {30, 60}, {90, 0}, {120, 30}, {150, 90}, {180, 30}, {210, 60}};
    // M move, L line, C curve, c curve data. A quadratic is stored as the cubic with
    // controls (s + 2c) / 3, (e + 2c) / 3.
    const std::tuple<int, QString, Points> rows[]
        = {{3, "MCcc", {{0, 0}, {20, 40}, {50, 40}, {90, 0}}},
           {4, "MCcc", p.mid(0, 4)},
           {5, "MCccL", p.mid(0, 5)},
           {7, "MCccCcc", p}};
    for (const auto &[count, elements, at] : rows) {
        const QPainterPath path = drawn("bezier", QPointF(), p.mid(0, count))->geometryPath();
        QString types;
        Points points;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            types += QString("MLCc").at(int(e.type));
            points.append(QPointF(e.x, e.y));
        }
        QCOMPARE(types, elements);
        QCOMPARE(points, at);
    }
}

void TestPointShapes::finishPoints()
{
    // The last point is dropped when it repeats the one before or still sits where
    // the tool put it, one unit right; never below two points.
    const Points three = {{0, 0}, {50, 10}, {20, 40}};
    const std::tuple<const char *, Points, int> rows[]
        = {{"polygon", three + Points {{20 + 1e-13, 40}}, 3},
           {"polyline", three + Points {{21, 40}}, 3},
           {"polygon", three + Points {{20, 40 + 1e-9}}, 4},
           {"polyline", {{5, 5}, {5, 5}}, 2},
           {"line", {{0, 0}, {9, 9}, {9, 9}}, 2}};
    for (const auto &[kind, points, kept] : rows) {
        auto shape = drawn(kind, QPointF(), points);
        const int boxHandles = QByteArray(kind) == "line" ? 0 : 8;
        QCOMPARE(shape->points(), QPolygonF(points.mid(0, kept)));
        QCOMPARE(shape->handles().size(), boxHandles + kept);
        QCOMPARE(shape->handles().last()->dir(), 8 + kept);
        // Drawn points show their handles, so they are child items; the
        // dropped point's handle is gone with it.
        QCOMPARE(shape->childItems().size(), kept);
    }
}

void TestPointShapes::movePointThenNormalize()
{
    // moved: index of the point that moves, -1 for none (box handle, handle without
    // point). Inside a group normalizing leaves the points as they are.
    const std::tuple<const char *, int, int, QPointF, bool> rows[]
        = {{"polygon", 9, 0, {3, -4}, false},
           {"bezier", 12, 3, {}, false},
           {"line", 10, 1, {}, true},
           {"polygon", 4, -1, {}, false},
           {"polyline", 13, -1, {}, false}};
    for (const auto &[kind, handle, moved, shift, parented] : rows) {
        QGraphicsRectItem parent;
        auto shape = drawn(kind, QPointF(100, 50), {{90, 40}, {140, 45}, {130, 90}, {95, 80}});
        if (parented)
            shape->setParentItem(&parent);
        shape->setTransform(QTransform::fromTranslate(shift.x(), shift.y()));
        shape->setTransformOriginPoint(12, -7);
        shape->setRotation(30);
        Points expected = scenePointsOf(shape.get());
        if (moved >= 0)
            expected[moved] = QPointF(160.5, 20.25);
        shape->moveControlPoint(handle, QPointF(160.5, 20.25));
        QVERIFY(near(scenePointsOf(shape.get()), expected));
        QCOMPARE(shape->width(), shape->points().boundingRect().width());
        if (moved >= 0)
            QCOMPARE(shape->handlePosition(handle), shape->points().at(moved));

        const QPolygonF itemPoints = shape->points();
        shape->normalizeGeometry();
        QVERIFY(near(scenePointsOf(shape.get()), expected));
        QCOMPARE(shape->referencePoints(), shape->points());
        if (parented) {
            QCOMPARE(shape->points(), itemPoints);
        } else {
            QCOMPARE(shape->points().boundingRect().center(), QPointF());
            QCOMPARE(shape->transformOriginPoint(), QPointF());
        }
    }
}

void TestPointShapes::scaleFromHandle()
{
    // Right-middle scales x only, a corner both.
    const std::tuple<int, double, double, QPointF, Points> rows[]
        = {{4, 2, 3, {-20, 0}, {{-20, -10}, {60, -10}, {80, 15}, {-20, 10}}},
           {5, 0.5, 2, {-20, -10}, {{-20, -10}, {0, -10}, {5, 40}, {-20, 30}}}};
    for (const auto &[handle, sx, sy, origin, expected] : rows) {
        auto polygon = drawn("polygon", QPointF(), {{-20, -10}, {20, -10}, {30, 15}, {-20, 10}});
        // An earlier move of the same drag must not compound.
        polygon->scaleFromHandle(handle, 3, 3, origin);
        polygon->scaleFromHandle(handle, sx, sy, origin);
        QCOMPARE(polygon->points(), QPolygonF(expected));
        QCOMPARE(polygon->width(), QPolygonF(expected).boundingRect().width());
        QCOMPARE(polygon->height(), QPolygonF(expected).boundingRect().height());
    }
}

void TestPointShapes::cloneKeepsShape()
{
    for (const QString kind : {"polygon", "polyline", "bezier", "line"}) {
        // Points in drawing order, not sorted, so a reordering would show.
        auto shape
            = drawn(kind, QPointF(150, 90), {{200.5, 100.25}, {120, 60}, {180, 140}, {110, 130}});
        shape->normalizeGeometry();
        shape->setRotation(30);
        shape->setZValue(2);
        std::unique_ptr<GraphicsPolygonItem> copy(
            dynamic_cast<GraphicsPolygonItem *>(shape->clone()));
        QCOMPARE(copy->zValue(), 2.1);
        QCOMPARE(copy->metaObject(), shape->metaObject());
        QCOMPARE(copy->points(), shape->points());
        QVERIFY(near(scenePointsOf(copy.get()), scenePointsOf(shape.get())));
        QCOMPARE(copy->handleCount(), shape->handleCount());
        QCOMPARE(copy->handles().last()->pos(), copy->points().last());
    }
}

void TestPointShapes::gradientFillSurvivesSaveAndOpen_data()
{
    QTest::addColumn<int>("style");
    for (int style = GraphicsItem::LinearGradient01Pattern;
         style <= GraphicsItem::ConicalGradient2Pattern; ++style)
        QTest::newRow(
            GraphicsItem::staticMetaObject
                .enumerator(GraphicsItem::staticMetaObject.indexOfEnumerator("BrushStyle"))
                .valueToKey(style))
            << style;
}

void TestPointShapes::gradientFillSurvivesSaveAndOpen()
{
    QFETCH(int, style);
    Points points {{200, 100}, {320, 160}, {260, 260}, {150, 210}};
    auto filled = [&] {
        auto shape = drawn("polygon", QPointF(200, 100), points);
        shape->normalizeGeometry();
        shape->setPenColor(QColor("#204080"));
        shape->setBrushColor(QColor("#f0c020"));
        shape->setBrushStyle(GraphicsItem::BrushStyle(style));
        return shape;
    };
    const auto shape = filled();
    const std::unique_ptr<GraphicsItem> loaded = readBack(xmlOf(shape.get()));
    QCOMPARE(loaded->brush().style(), shape->brush().style());
    QCOMPARE(*loaded->brush().gradient(), *shape->brush().gradient());
    QCOMPARE(render(loaded.get(), QSize(200, 200), 100, 100),
             render(shape.get(), QSize(200, 200), 100, 100));

    // A moved point spreads the gradient over the new box, as if the shape had
    // been drawn that way.
    auto *polygon = static_cast<GraphicsPolygonItem *>(loaded.get());
    polygon->moveControlPoint(10, QPointF(380, 120));
    polygon->normalizeGeometry();
    points[1] = QPointF(380, 120);
    QCOMPARE(*polygon->brush().gradient(), *filled()->brush().gradient());
}

QTEST_MAIN(TestPointShapes)
#include "tst_pointshapes.moc"
