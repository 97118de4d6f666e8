#include "shapes/graphicsbezier.h"
#include "shapes/graphicslineitem.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicspolyline.h"
#include "support/isolatedsettings.h"

#include "project/propertyregistry.h"

#include <QGraphicsRectItem>
#include <QImage>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtMath>
#include <QtTest>

#include <memory>

using Points = QVector<QPointF>;

namespace {

const char *const allKinds[] = {"polygon", "polyline", "bezier", "line"};

GraphicsPolygonItem *create(const QString &kind)
{
    if (kind == "polyline")
        return new GraphicsPolyline;
    if (kind == "bezier")
        return new GraphicsBezier;
    if (kind == "line")
        return new GraphicsLineItem;
    return new GraphicsPolygonItem;
}

// Draws a shape the way the tool does: placed at pos, points given in scene coordinates.
std::unique_ptr<GraphicsPolygonItem> drawn(const QString &kind, const QPointF &pos,
                                           const Points &scenePoints)
{
    std::unique_ptr<GraphicsPolygonItem> shape(create(kind));
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
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (QLineF(a.at(i), b.at(i)).length() > 1e-9)
            return false;
    return true;
}

QString xmlOf(GraphicsPolygonItem *shape)
{
    QString text;
    QXmlStreamWriter writer(&text);
    shape->writeXml(&writer);
    return text;
}

} // namespace

class TestPointShapes : public QObject
{
    Q_OBJECT

private slots:
    void joinedPath();
    void finishPoints();
    void lineHandles();
    void moveControlPoint();
    void scaleFromHandle();
    void normalizeGeometry();
    void painting();
    void clone();
    void xmlPolylineExample();
    void xmlRoundTrip();
    void xmlReadingSkipsOtherChildren();
};

void TestPointShapes::joinedPath()
{
    const Points p = {{0, 0}, {30, 60}, {90, 0}, {120, 30}, {150, 90}, {180, 30}, {210, 60}};
    // M move, L line, C curve, c curve data. A quadratic is stored as the cubic with
    // controls (s + 2c) / 3, (e + 2c) / 3.
    const struct { const char *kind; int count; QString elements; Points at; } rows[] = {
        {"bezier", 2, "ML", p.mid(0, 2)},
        {"bezier", 3, "MCcc", {{0, 0}, {20, 40}, {50, 40}, {90, 0}}},
        {"bezier", 4, "MCcc", p.mid(0, 4)},
        {"bezier", 5, "MCccL", p.mid(0, 5)},
        {"bezier", 7, "MCccCcc", p},
        {"polyline", 5, "MLLLL", p.mid(0, 5)},
    };
    for (const auto &r : rows) {
        const QPainterPath path = drawn(r.kind, QPointF(), p.mid(0, r.count))->geometryPath();
        QString types;
        Points at;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            types += QString("MLCc").at(int(e.type));
            at.append(QPointF(e.x, e.y));
        }
        QCOMPARE(types, r.elements);
        QCOMPARE(at, r.at);
    }
}

void TestPointShapes::finishPoints()
{
    const Points three = {{0, 0}, {50, 10}, {20, 40}};
    const struct { const char *kind; Points points; int kept; } rows[] = {
        {"polygon", three + Points {{20, 40}}, 3},          // repeated last
        {"polygon", three + Points {{20 + 1e-13, 40}}, 3},
        {"polyline", three + Points {{21, 40}}, 3},         // one unit right
        {"polygon", three + Points {{19, 40}}, 4},          // one unit left kept
        {"polygon", three + Points {{20, 40 + 1e-9}}, 4},
        {"polyline", {{5, 5}, {5, 5}}, 2},                  // two equal points kept
        {"line", {{0, 0}, {9, 9}, {9, 9}}, 2},
    };
    for (const auto &r : rows) {
        auto shape = drawn(r.kind, QPointF(), r.points);
        const int boxHandles = QByteArray(r.kind) == "line" ? 0 : 8;
        QCOMPARE(shape->points(), QPolygonF(r.points.mid(0, r.kept)));
        QCOMPARE(shape->referencePoints(), shape->points());
        QCOMPARE(shape->handles().size(), boxHandles + r.kept);
        QCOMPARE(shape->handles().last()->dir(), 8 + r.kept);
        // Drawn points show their handles, so they are child items; the
        // dropped point's handle is gone with it.
        QCOMPARE(shape->childItems().size(), r.kept);
    }
}

void TestPointShapes::lineHandles()
{
    auto line = drawn("line", QPointF(), {{10, 20}, {50, 60}});
    QCOMPARE(line->handleCount(), 10);
    QCOMPARE(line->handles().size(), 2);
    QCOMPARE(line->handles().at(0)->dir(), 9);
    QCOMPARE(line->handles().at(1)->dir(), 10);
    QCOMPARE(line->handles().at(0)->kind(), int(SizeHandleRect::BoxHandle));
    QCOMPARE(line->handles().at(1)->kind(), int(SizeHandleRect::ControlHandle));
    QCOMPARE(line->handles().at(1)->pos(), QPointF(50, 60));
    for (int dir : {1, 2, 3, 4, 8})
        QCOMPARE(line->oppositeHandlePosition(dir), QPointF(50, 60));
    for (int dir : {5, 6, 7})
        QCOMPARE(line->oppositeHandlePosition(dir), QPointF(10, 20));
    for (int dir : {0, 9, 10})
        QCOMPARE(line->oppositeHandlePosition(dir), QPointF());

    // Other point shapes keep their box handles in front of the point handles.
    auto polygon = drawn("polygon", QPointF(), {{10, 20}, {50, 60}, {10, 60}});
    QCOMPARE(polygon->handleCount(), 11);
    QCOMPARE(polygon->handles().at(10)->dir(), 11);
    QCOMPARE(polygon->handles().at(10)->pos(), QPointF(10, 60));
}

void TestPointShapes::moveControlPoint()
{
    // moved: index of the point that moves, -1 for none (box handle, handle without point).
    const struct { const char *kind; int handle, moved; } rows[] = {
        {"polygon", 9, 0}, {"bezier", 12, 3}, {"line", 10, 1}, {"polygon", 4, -1},
        {"polyline", 13, -1},
    };
    for (const auto &r : rows) {
        auto shape = drawn(r.kind, QPointF(100, 50), {{90, 40}, {140, 45}, {130, 90}, {95, 80}});
        shape->setRotation(30);
        Points expected = scenePointsOf(shape.get());
        const QPointF target(160.5, 20.25);
        if (r.moved >= 0)
            expected[r.moved] = target;

        shape->moveControlPoint(r.handle, target);
        QVERIFY(near(scenePointsOf(shape.get()), expected));
        QCOMPARE(shape->width(), shape->points().boundingRect().width());
        if (r.moved >= 0)
            QCOMPARE(shape->handlePosition(r.handle), shape->points().at(r.moved));
    }
}

void TestPointShapes::scaleFromHandle()
{
    // Right-middle scales x only, bottom-middle y only, a corner both.
    const struct { int handle; double sx, sy; QPointF origin; Points expected; } rows[] = {
        {4, 2, 3, {-20, 0}, {{-20, -10}, {60, -10}, {80, 15}, {-20, 10}}},
        {6, 2, 0.5, {0, -10}, {{-20, -10}, {20, -10}, {30, 2.5}, {-20, 0}}},
        {5, 0.5, 2, {-20, -10}, {{-20, -10}, {0, -10}, {5, 40}, {-20, 30}}},
    };
    for (const auto &r : rows) {
        auto polygon = drawn("polygon", QPointF(), {{-20, -10}, {20, -10}, {30, 15}, {-20, 10}});
        // An earlier move of the same drag must not compound.
        polygon->scaleFromHandle(r.handle, 3, 3, r.origin);
        polygon->scaleFromHandle(r.handle, r.sx, r.sy, r.origin);
        QCOMPARE(polygon->points(), QPolygonF(r.expected));
        QCOMPARE(polygon->width(), QPolygonF(r.expected).boundingRect().width());
        QCOMPARE(polygon->height(), QPolygonF(r.expected).boundingRect().height());
    }
}

void TestPointShapes::normalizeGeometry()
{
    // shift: translation of the item transform.
    const struct { double rotation; QPointF origin, shift; bool parented; } rows[] = {
        {0, {}, {}, false},
        {45, {12, -7}, {}, false},
        {60, {5, 5}, {3, -4}, false},
        {30, {12, -7}, {}, true},
    };
    for (const auto &r : rows) {
        QGraphicsRectItem parent;
        auto polygon = drawn("polygon", QPointF(200, 100), {{210, 110}, {270, 120}, {250, 160}});
        if (r.parented)
            polygon->setParentItem(&parent);
        polygon->setTransform(QTransform::fromTranslate(r.shift.x(), r.shift.y()));
        polygon->setTransformOriginPoint(r.origin);
        polygon->setRotation(r.rotation);
        polygon->moveControlPoint(11, polygon->mapToScene(50, 70));
        const Points before = scenePointsOf(polygon.get());
        const QPolygonF itemPoints = polygon->points();

        polygon->normalizeGeometry();
        polygon->setParentItem(nullptr);
        QVERIFY(near(scenePointsOf(polygon.get()), before));
        QCOMPARE(polygon->referencePoints(), polygon->points());
        if (r.parented) {
            QCOMPARE(polygon->points(), itemPoints);
        } else {
            QCOMPARE(polygon->points().boundingRect(), QRectF(-30, -30, 60, 60));
            QCOMPARE(polygon->transformOriginPoint(), QPointF());
        }
    }
}

void TestPointShapes::painting()
{
    const Points square = {{10, 10}, {90, 10}, {90, 90}, {10, 90}};
    Points star;
    for (int k = 0; k < 5; ++k) {
        const double a = qDegreesToRadians(-90.0 + 144.0 * k);
        star.append(QPointF(50 + 45 * std::cos(a), 50 + 45 * std::sin(a)));
    }
    const QColor fill(200, 40, 16), white(Qt::white), black(Qt::black);
    // Star centre is white: odd-even fill. A line draws only its first two points.
    const struct { const char *kind; Points points; QVector<QPair<QPoint, QColor>> probes; } rows[] = {
        {"polygon", square, {{{50, 50}, fill}, {{5, 50}, white}, {{50, 10}, black}}},
        {"polygon", star, {{{50, 20}, fill}, {{50, 50}, white}}},
        {"polyline", square + Points {{10, 10}}, {{{50, 50}, white}, {{50, 10}, black}}},
        {"line", square, {{{50, 10}, black}, {{90, 50}, white}}},
    };
    for (const auto &r : rows) {
        auto shape = drawn(r.kind, QPointF(), r.points);
        shape->setBrushColor(fill);
        QImage image(100, 100, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionGraphicsItem option;
        shape->paint(&painter, &option, nullptr);
        painter.end();
        for (const auto &probe : r.probes)
            QCOMPARE(image.pixelColor(probe.first), probe.second);
    }
}

void TestPointShapes::clone()
{
    for (const char *kind : allKinds) {
        auto shape = drawn(kind, QPointF(40, 30), {{20, 20}, {90, 35}, {60, 80}});
        shape->normalizeGeometry();
        shape->setRotation(15);
        shape->setZValue(2);
        std::unique_ptr<GraphicsPolygonItem> copy(
            dynamic_cast<GraphicsPolygonItem *>(shape->clone()));
        QVERIFY(copy);
        QCOMPARE(copy->metaObject()->className(), shape->metaObject()->className());
        QCOMPARE(copy->points(), shape->points());
        QCOMPARE(copy->sceneTransform(), shape->sceneTransform());
        QCOMPARE(copy->zValue(), 2.1);
        QCOMPARE(copy->handleCount(), shape->handleCount());
        QCOMPARE(copy->brushColor(), shape->brushColor());
        const QVector<SizeHandleRect *> handles = copy->handles();
        QCOMPARE(handles.last()->kind(), int(SizeHandleRect::ControlHandle));
        QCOMPARE(handles.at(handles.size() - 3)->kind(), int(SizeHandleRect::ControlHandle));
        QCOMPARE(handles.last()->pos(), copy->points().last());
    }
}

void TestPointShapes::xmlPolylineExample()
{
    auto polyline = drawn("polyline", QPointF(100, 80), {{80, 80}, {120, 80}});
    QXmlStreamReader reader(xmlOf(polyline.get()));
    QVERIFY(reader.readNextStartElement());
    QCOMPARE(reader.name().toString(), QString("polyline"));
    QCOMPARE(reader.attributes().value("x").toString(), QString("100.00"));
    QCOMPARE(reader.attributes().value("y").toString(), QString("80.00"));
    QStringList points;
    while (reader.readNextStartElement()) {
        const QXmlStreamAttributes a = reader.attributes();
        points << QString("%1 %2 %3").arg(reader.name(), a.value("x"), a.value("y"));
        reader.skipCurrentElement();
    }
    QCOMPARE(points, QStringList({"point -20.00 0.00", "point 20.00 0.00"}));
}

void TestPointShapes::xmlRoundTrip()
{
    for (const QString kind : allKinds) {
        // Points in drawing order, not sorted, so a reordering would show.
        auto shape
            = drawn(kind, QPointF(150, 90), {{200.5, 100.25}, {120, 60}, {180, 140}, {110, 130}});
        shape->normalizeGeometry();
        shape->setRotation(30);
        shape->setObjectName("shape7");
        shape->setPenSize(3);
        shape->setPenColor(QColor("#1a2b3c"));
        const QString xml = xmlOf(shape.get());

        std::unique_ptr<GraphicsPolygonItem> loaded(create(kind));
        QXmlStreamReader in(xml);
        QVERIFY(in.readNextStartElement());
        QVERIFY(loaded->readXml(&in));
        QCOMPARE(loaded->points(), shape->points());
        QVERIFY(near(scenePointsOf(loaded.get()), scenePointsOf(shape.get())));
        QCOMPARE(loaded->handleCount(), shape->handleCount());
        QCOMPARE(xmlOf(loaded.get()), xml);

        QXmlStreamReader reader(xml);
        QVERIFY(reader.readNextStartElement());
        QCOMPARE(reader.name().toString(), kind);
        QCOMPARE(reader.attributes().hasAttribute("brushColor"), kind == "polygon");
        QCOMPARE(reader.attributes().value("penColor").toString(), QString("#1a2b3c"));
        for (const QString &name : propertyNamesOf(loaded.get()))
            QVERIFY2(loaded->metaObject()->indexOfProperty(name.toLatin1()) >= 0, qPrintable(name));
    }
}

void TestPointShapes::xmlReadingSkipsOtherChildren()
{
    GraphicsPolygonItem polygon;
    polygon.appendPoint(QPointF(1, 1)); // replaced by what is read
    QXmlStreamReader reader(QString("<screen><polygon><point x=\"-10\" y=\"-10\"/>"
                                    "<note x=\"99\" y=\"99\"><point x=\"7\" y=\"7\"/></note>"
                                    "<point x=\"10.5\" y=\"-10\"/><point x=\"0\" y=\"10\"/>"
                                    "</polygon><after/></screen>"));
    QVERIFY(reader.readNextStartElement());
    QVERIFY(reader.readNextStartElement());
    QVERIFY(polygon.readXml(&reader));
    QCOMPARE(polygon.points(), QPolygonF({{-10.25, -10}, {10.25, -10}, {-0.25, 10}}));
    QCOMPARE(polygon.pos(), QPointF(0.25, 0)); // no x/y attributes: from (0, 0)
    QCOMPARE(polygon.handles().size(), 11);
    QVERIFY(reader.readNextStartElement());
    QCOMPARE(reader.name().toString(), QString("after"));
}

QTEST_MAIN(TestPointShapes)
#include "tst_pointshapes.moc"
