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

// Draws a shape the way the tool does: placed at pos, points given in scene
// coordinates.
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
    for (int i = 0; i < a.size(); ++i) {
        if (QLineF(a.at(i), b.at(i)).length() > 1e-9)
            return false;
    }
    return true;
}

QString xmlOf(GraphicsPolygonItem *shape)
{
    QString text;
    QXmlStreamWriter writer(&text);
    shape->writeXml(&writer);
    return text;
}

void readInto(GraphicsPolygonItem *shape, const QString &xml)
{
    QXmlStreamReader reader(xml);
    QVERIFY(reader.readNextStartElement());
    QVERIFY(shape->readXml(&reader));
}

} // namespace

class TestPointShapes : public QObject
{
    Q_OBJECT

private slots:
    void joinedPath_data();
    void joinedPath();
    void finishPoints_data();
    void finishPoints();
    void lineHandles_data();
    void lineHandles();
    void moveControlPoint_data();
    void moveControlPoint();
    void scaleFromHandle_data();
    void scaleFromHandle();
    void normalizeGeometry_data();
    void normalizeGeometry();
    void painting_data();
    void painting();
    void clone_data();
    void clone();
    void xmlPolylineExample();
    void xmlRoundTrip_data();
    void xmlRoundTrip();
    void xmlReadingSkipsOtherChildren();
};

void TestPointShapes::joinedPath_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("elements"); // M move, L line, C curve, c curve data
    QTest::addColumn<Points>("coordinates");

    const Points p = {{0, 0}, {30, 60}, {90, 0}, {120, 30}, {150, 90}, {180, 30}, {210, 60}};
    // A quadratic curve is stored as the cubic with controls (s + 2c) / 3, (e + 2c) / 3.
    QTest::newRow("bezier 2: line") << "bezier" << 2 << "ML" << p.mid(0, 2);
    QTest::newRow("bezier 3: quadratic")
        << "bezier" << 3 << "MCcc" << Points {{0, 0}, {20, 40}, {50, 40}, {90, 0}};
    QTest::newRow("bezier 4: cubic") << "bezier" << 4 << "MCcc" << p.mid(0, 4);
    QTest::newRow("bezier 5: cubic, line") << "bezier" << 5 << "MCccL" << p.mid(0, 5);
    QTest::newRow("bezier 6: cubic, 2 lines") << "bezier" << 6 << "MCccLL" << p.mid(0, 6);
    QTest::newRow("bezier 7: 2 cubics") << "bezier" << 7 << "MCccCcc" << p;
    QTest::newRow("polyline 5: lines") << "polyline" << 5 << "MLLLL" << p.mid(0, 5);
}

void TestPointShapes::joinedPath()
{
    QFETCH(QString, kind);
    QFETCH(int, count);
    QFETCH(QString, elements);
    QFETCH(Points, coordinates);

    const Points p = {{0, 0}, {30, 60}, {90, 0}, {120, 30}, {150, 90}, {180, 30}, {210, 60}};
    auto shape = drawn(kind, QPointF(), p.mid(0, count));
    const QPainterPath path = shape->geometryPath();
    QString types;
    Points at;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        types += QString("MLCc").at(int(e.type));
        at.append(QPointF(e.x, e.y));
    }
    QCOMPARE(types, elements);
    QCOMPARE(at, coordinates);
}

void TestPointShapes::finishPoints_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Points>("points");
    QTest::addColumn<int>("kept");

    const Points three = {{0, 0}, {50, 10}, {20, 40}};
    QTest::newRow("repeated last") << "polygon" << three + Points {{20, 40}} << 3;
    QTest::newRow("last within 1e-13") << "polygon" << three + Points {{20 + 1e-13, 40}} << 3;
    QTest::newRow("last one unit right") << "polyline" << three + Points {{21, 40}} << 3;
    QTest::newRow("last one unit left kept") << "polygon" << three + Points {{19, 40}} << 4;
    QTest::newRow("last 1e-9 off kept") << "polygon" << three + Points {{20, 40 + 1e-9}} << 4;
    QTest::newRow("two equal points kept") << "polyline" << Points {{5, 5}, {5, 5}} << 2;
    QTest::newRow("two points one unit apart kept") << "line" << Points {{5, 5}, {6, 5}} << 2;
    QTest::newRow("line, repeated third") << "line" << Points {{0, 0}, {9, 9}, {9, 9}} << 2;
}

void TestPointShapes::finishPoints()
{
    QFETCH(QString, kind);
    QFETCH(Points, points);
    QFETCH(int, kept);

    auto shape = drawn(kind, QPointF(), points);
    const int boxHandles = kind == "line" ? 0 : 8;
    QCOMPARE(shape->points(), QPolygonF(points.mid(0, kept)));
    QCOMPARE(shape->referencePoints(), shape->points());
    QCOMPARE(shape->handles().size(), boxHandles + kept);
    QCOMPARE(shape->handles().last()->dir(), 8 + kept);
    QCOMPARE(shape->childItems().size(), boxHandles + kept); // the dropped handle is deleted
}

void TestPointShapes::lineHandles_data()
{
    QTest::addColumn<int>("dir");
    QTest::addColumn<QPointF>("opposite");

    for (int dir : {1, 2, 3, 4, 8})
        QTest::addRow("dir %d: second end", dir) << dir << QPointF(50, 60);
    for (int dir : {5, 6, 7})
        QTest::addRow("dir %d: first end", dir) << dir << QPointF(10, 20);
    for (int dir : {0, 9, 10})
        QTest::addRow("dir %d: none", dir) << dir << QPointF();
}

void TestPointShapes::lineHandles()
{
    QFETCH(int, dir);
    QFETCH(QPointF, opposite);

    auto line = drawn("line", QPointF(), {{10, 20}, {50, 60}});
    QCOMPARE(line->handleCount(), 10);
    QCOMPARE(line->handles().size(), 2);
    QCOMPARE(line->handles().at(0)->dir(), 9);
    QCOMPARE(line->handles().at(1)->dir(), 10);
    QCOMPARE(line->handles().at(0)->kind(), int(SizeHandleRect::BoxHandle));
    QCOMPARE(line->handles().at(1)->kind(), int(SizeHandleRect::ControlHandle));
    QCOMPARE(line->handles().at(1)->pos(), QPointF(50, 60));
    QCOMPARE(line->oppositeHandlePosition(dir), opposite);

    // Other point shapes keep their box handles in front of the point handles.
    auto polygon = drawn("polygon", QPointF(), {{10, 20}, {50, 60}, {10, 60}});
    QCOMPARE(polygon->handleCount(), 11);
    QCOMPARE(polygon->handles().at(10)->dir(), 11);
    QCOMPARE(polygon->handles().at(10)->pos(), QPointF(10, 60));
}

void TestPointShapes::moveControlPoint_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("handle");
    QTest::addColumn<int>("moved"); // index of the point that moves, -1 for none

    QTest::newRow("polygon first point") << "polygon" << 9 << 0;
    QTest::newRow("bezier last point") << "bezier" << 12 << 3;
    QTest::newRow("line second end") << "line" << 10 << 1;
    QTest::newRow("box handle ignored") << "polygon" << 4 << -1;
    QTest::newRow("handle without point ignored") << "polyline" << 13 << -1;
}

void TestPointShapes::moveControlPoint()
{
    QFETCH(QString, kind);
    QFETCH(int, handle);
    QFETCH(int, moved);

    auto shape = drawn(kind, QPointF(100, 50), {{90, 40}, {140, 45}, {130, 90}, {95, 80}});
    shape->setRotation(30);
    Points expected = scenePointsOf(shape.get());
    const QPointF target(160.5, 20.25);
    if (moved >= 0)
        expected[moved] = target;

    shape->moveControlPoint(handle, target);
    QVERIFY(near(scenePointsOf(shape.get()), expected));
    QCOMPARE(shape->width(), shape->points().boundingRect().width());
    if (moved >= 0)
        QCOMPARE(shape->handlePosition(handle), shape->points().at(moved));
}

void TestPointShapes::scaleFromHandle_data()
{
    QTest::addColumn<int>("handle");
    QTest::addColumn<QPointF>("factors");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<Points>("expected");

    // From the points (-20, -10), (20, -10), (30, 15), (-20, 10).
    QTest::newRow("right-middle scales x only")
        << 4 << QPointF(2, 3) << QPointF(-20, 0)
        << Points {{-20, -10}, {60, -10}, {80, 15}, {-20, 10}};
    QTest::newRow("bottom-middle scales y only")
        << 6 << QPointF(2, 0.5) << QPointF(0, -10)
        << Points {{-20, -10}, {20, -10}, {30, 2.5}, {-20, 0}};
    QTest::newRow("corner scales both") << 5 << QPointF(0.5, 2) << QPointF(-20, -10)
                                        << Points {{-20, -10}, {0, -10}, {5, 40}, {-20, 30}};
}

void TestPointShapes::scaleFromHandle()
{
    QFETCH(int, handle);
    QFETCH(QPointF, factors);
    QFETCH(QPointF, origin);
    QFETCH(Points, expected);

    auto polygon = drawn("polygon", QPointF(), {{-20, -10}, {20, -10}, {30, 15}, {-20, 10}});
    // An earlier move of the same drag must not compound.
    polygon->scaleFromHandle(handle, 3, 3, origin);
    polygon->scaleFromHandle(handle, factors.x(), factors.y(), origin);
    QCOMPARE(polygon->points(), QPolygonF(expected));
    QCOMPARE(polygon->width(), QPolygonF(expected).boundingRect().width());
    QCOMPARE(polygon->height(), QPolygonF(expected).boundingRect().height());
}

void TestPointShapes::normalizeGeometry_data()
{
    QTest::addColumn<double>("rotation");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("shift"); // translation of the item transform
    QTest::addColumn<bool>("parented");

    QTest::newRow("plain") << 0.0 << QPointF() << QPointF() << false;
    QTest::newRow("rotated") << 30.0 << QPointF() << QPointF() << false;
    QTest::newRow("rotated off-centre") << 45.0 << QPointF(12, -7) << QPointF() << false;
    QTest::newRow("rotated, transformed") << 60.0 << QPointF(5, 5) << QPointF(3, -4) << false;
    QTest::newRow("in a parent") << 30.0 << QPointF(12, -7) << QPointF() << true;
}

void TestPointShapes::normalizeGeometry()
{
    QFETCH(double, rotation);
    QFETCH(QPointF, origin);
    QFETCH(QPointF, shift);
    QFETCH(bool, parented);

    QGraphicsRectItem parent;
    auto polygon = drawn("polygon", QPointF(200, 100), {{210, 110}, {270, 120}, {250, 160}});
    if (parented)
        polygon->setParentItem(&parent);
    polygon->setTransform(QTransform::fromTranslate(shift.x(), shift.y()));
    polygon->setTransformOriginPoint(origin);
    polygon->setRotation(rotation);
    polygon->moveControlPoint(11, polygon->mapToScene(50, 70));
    const Points before = scenePointsOf(polygon.get());
    const QPolygonF itemPoints = polygon->points();

    polygon->normalizeGeometry();
    polygon->setParentItem(nullptr);
    QVERIFY(near(scenePointsOf(polygon.get()), before));
    QCOMPARE(polygon->referencePoints(), polygon->points());
    if (parented) {
        QCOMPARE(polygon->points(), itemPoints);
    } else {
        QCOMPARE(polygon->points().boundingRect(), QRectF(-30, -30, 60, 60));
        QCOMPARE(polygon->transformOriginPoint(), QPointF());
    }
}

void TestPointShapes::painting_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Points>("points");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QString>("colour"); // "fill" stands for the shape's brush colour

    const Points square = {{10, 10}, {90, 10}, {90, 90}, {10, 90}};
    Points star;
    for (int k = 0; k < 5; ++k) {
        const double a = qDegreesToRadians(-90.0 + 144.0 * k);
        star.append(QPointF(50 + 45 * std::cos(a), 50 + 45 * std::sin(a)));
    }
    const Points closed = square + Points {{10, 10}};
    QTest::newRow("polygon inside") << "polygon" << square << QPoint(50, 50) << "fill";
    QTest::newRow("polygon outside") << "polygon" << square << QPoint(5, 50) << "white";
    QTest::newRow("polygon edge") << "polygon" << square << QPoint(50, 10) << "black";
    QTest::newRow("star tip") << "polygon" << star << QPoint(50, 20) << "fill";
    QTest::newRow("star centre, odd-even") << "polygon" << star << QPoint(50, 50) << "white";
    QTest::newRow("polyline unfilled") << "polyline" << closed << QPoint(50, 50) << "white";
    QTest::newRow("polyline line") << "polyline" << closed << QPoint(50, 10) << "black";
    QTest::newRow("line") << "line" << square << QPoint(50, 10) << "black";
    QTest::newRow("line, first two points only") << "line" << square << QPoint(90, 50) << "white";
}

void TestPointShapes::painting()
{
    QFETCH(QString, kind);
    QFETCH(Points, points);
    QFETCH(QPoint, probe);
    QFETCH(QString, colour);

    auto shape = drawn(kind, QPointF(), points);
    const QColor fill(200, 40, 16);
    shape->setBrushColor(fill);
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    shape->paint(&painter, &option, nullptr);
    painter.end();
    QCOMPARE(image.pixelColor(probe), colour == "fill" ? fill : QColor(colour));
}

void TestPointShapes::clone_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"polygon", "polyline", "bezier", "line"})
        QTest::newRow(kind) << QString(kind);
}

void TestPointShapes::clone()
{
    QFETCH(QString, kind);

    auto shape = drawn(kind, QPointF(40, 30), {{20, 20}, {90, 35}, {60, 80}});
    shape->normalizeGeometry();
    shape->setRotation(15);
    shape->setZValue(2);
    std::unique_ptr<GraphicsPolygonItem> copy(dynamic_cast<GraphicsPolygonItem *>(shape->clone()));
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

void TestPointShapes::xmlRoundTrip_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("hasBrush");
    QTest::newRow("polygon") << "polygon" << true;
    QTest::newRow("polyline") << "polyline" << false;
    QTest::newRow("bezier") << "bezier" << false;
    QTest::newRow("line") << "line" << false;
}

void TestPointShapes::xmlRoundTrip()
{
    QFETCH(QString, kind);
    QFETCH(bool, hasBrush);

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
    readInto(loaded.get(), xml);
    QCOMPARE(loaded->points(), shape->points());
    QVERIFY(near(scenePointsOf(loaded.get()), scenePointsOf(shape.get())));
    QCOMPARE(loaded->handleCount(), shape->handleCount());
    QCOMPARE(xmlOf(loaded.get()), xml);

    QXmlStreamReader reader(xml);
    QVERIFY(reader.readNextStartElement());
    QCOMPARE(reader.name().toString(), kind);
    QCOMPARE(reader.attributes().hasAttribute("brushColor"), hasBrush);
    QCOMPARE(reader.attributes().value("penColor").toString(), QString("#1a2b3c"));
    for (const QString &name : propertyNamesOf(loaded.get()))
        QVERIFY2(loaded->metaObject()->indexOfProperty(name.toLatin1()) >= 0, qPrintable(name));
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
