#include "boxshapetesting.h"

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

} // namespace

class TestPointShapes : public QObject
{
    Q_OBJECT

private slots:
    void finishPoints();
    void cloneKeepsShape();
    void gradientFillSurvivesSaveAndOpen_data();
    void gradientFillSurvivesSaveAndOpen();
};

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

void TestPointShapes::cloneKeepsShape()
{
    for (const QString kind : {"polygon", "polyline", "bezier", "line"}) {
        // Points in drawing order, not sorted, so a reordering would show.
        auto shape
            = drawn(kind, QPointF(150, 90), {{200.5, 100.25}, {120, 60}, {180, 140}, {110, 130}});
        shape->normalizeGeometry();
        shape->setRotation(30);
        std::unique_ptr<GraphicsPolygonItem> copy(
            dynamic_cast<GraphicsPolygonItem *>(shape->clone()));
        QCOMPARE(copy->metaObject(), shape->metaObject());
        QCOMPARE(copy->points(), shape->points());
        QCOMPARE(copy->sceneTransform().map(copy->points()),
                 shape->sceneTransform().map(shape->points()));
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
