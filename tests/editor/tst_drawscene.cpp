#include "editor/drawscene.h"
#include "shapes/graphicsitemgroup.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>

#include <cmath>

using scenetest::addRect;
using scenetest::placeRect;
using scenetest::sceneBox;

class TestDrawScene : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(800, 480); }

    void alignItems_data()
    {
        // Selected boxes, the reference first; an empty box after the edit
        // means unchanged. Reports read "index dx,dy" for a move and
        // "index handle sx,sy" for a resize.
        QTest::addColumn<DrawScene::Alignment>("how");
        QTest::addColumn<QList<QRectF>>("boxes");
        QTest::addColumn<QList<QRectF>>("after");
        QTest::addColumn<QStringList>("reports");
        using Boxes = QList<QRectF>;
        // Reference centre (35.3, 35.7).
        const QRectF ref(10.3, 20.7, 50, 30), other(200, 100, 100, 60);
        // Left edges meet at the reference's left edge cut to a whole unit
        // (centre 35.3 cut to 35, less half its width).
        QTest::newRow("left") << DrawScene::AlignLeft << Boxes {ref, other}
                              << Boxes {{10, 20.7, 50, 30}, {10, 100, 100, 60}}
                              << QStringList {"0 -0.3,0", "1 -190,0"};
        // Centres meet at the reference's centre, not cut.
        QTest::newRow("vertical centre")
            << DrawScene::AlignHCenter << Boxes {ref, other} << Boxes {{}, {200, 5.7, 100, 60}}
            << QStringList {"1 0,-94.3"};
        // Ordered by centre, not by start; the gap is negative.
        QTest::newRow("distribute overlapping")
            << DrawScene::DistributeHorizontally
            << Boxes {{-10, 0, 20, 30}, {0, 0, 200, 30}, {45, 0, 10, 30}}
            << Boxes {{}, {}, {0, 0, 10, 30}} << QStringList {"2 -45,0"};
        const QRectF box(10, 10, 100, 50), small(200, 100, 50, 20);
        QTest::newRow("equal size") << DrawScene::SameSize << Boxes {box, small}
                                    << Boxes {{}, {200, 100, 100, 50}} << QStringList {"1 5 2,2.5"};
        QTest::newRow("equal height, zero-width shape")
            << DrawScene::SameHeight << Boxes {box, {200, 100, 0, 20}} << Boxes {{}, {}}
            << QStringList();
        QTest::newRow("equal width, zero-height reference")
            << DrawScene::SameWidth << Boxes {{10, 10, 100, 0}, small} << Boxes {{}, {}}
            << QStringList();
    }

    void alignItems()
    {
        QFETCH(DrawScene::Alignment, how);
        QFETCH(QList<QRectF>, boxes);
        QFETCH(QList<QRectF>, after);
        QFETCH(QStringList, reports);
        DrawScene scene(1);
        scene.setSceneRect(-1000, -1000, 3000, 3000);
        for (const QRectF &box : boxes)
            addRect(&scene, box)->setSelected(true);
        // The first of selectedItems() is the reference: the boxes follow that order.
        const QList<QGraphicsItem *> items = scene.selectedItems();
        for (int i = 0; i < items.size(); ++i)
            placeRect(static_cast<GraphicsRectItem *>(items.at(i)), boxes.at(i));
        QList<QRectF> expected;
        for (int i = 0; i < items.size(); ++i)
            expected << (after.at(i).isNull() ? sceneBox(items.at(i)) : after.at(i));
        QStringList seen;
        auto text = [](double v) { return QString::number(std::round(v * 1e6) / 1e6 + 0.0); };
        connect(&scene, &DrawScene::itemMoved, [&](QGraphicsItem *item, const QPointF &d) {
            seen << QStringLiteral("%1 %2,%3")
                        .arg(items.indexOf(item))
                        .arg(text(d.x()), text(d.y()));
        });
        connect(&scene, &DrawScene::itemResize,
                [&](QGraphicsItem *item, int handle, const QPointF &scale) {
                    seen << QStringLiteral("%1 %2 %3,%4")
                                .arg(items.indexOf(item))
                                .arg(handle)
                                .arg(text(scale.x()), text(scale.y()));
                });
        scene.alignItems(how);
        QCOMPARE(seen, reports);
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(sceneBox(items.at(i)), expected.at(i));
    }
};

QTEST_MAIN(TestDrawScene)
#include "tst_drawscene.moc"
