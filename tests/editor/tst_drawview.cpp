#include "editor/drawview.h"

#include <QGraphicsScene>
#include <QScrollBar>
#include <QtTest>

class TestDrawView : public QObject
{
    Q_OBJECT

private slots:
    void setZoom()
    {
        // From 200 %, so an ignored factor is not mistaken for a reset to 100 %;
        // only a positive, finite factor is taken, and a new view follows it.
        QGraphicsScene scene;
        DrawView view(&scene);
        for (double factor : {0.1, 0.0, qQNaN(), qInf()}) {
            const double expected = factor == 0.1 ? 0.1 : 2.0;
            view.setZoom(2.0);
            view.setZoom(factor);
            QCOMPARE(view.transform().m22(), expected);
            DrawView other(&scene);
            other.applyZoom();
            QCOMPARE(other.transform().m22(), expected);
        }
    }

    // A screen larger than its view is first shown from its top-left
    // corner, where its origin and rulers start, not scrolled to its middle.
    void firstShownAtTheOrigin()
    {
        QGraphicsScene scene(0, 0, 800, 480);
        DrawView view(&scene);
        view.setAttribute(Qt::WA_DeleteOnClose, false);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.horizontalScrollBar()->maximum() > 0);
        QCOMPARE(view.horizontalScrollBar()->value(), view.horizontalScrollBar()->minimum());
        QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->minimum());
    }
};

QTEST_MAIN(TestDrawView)
#include "tst_drawview.moc"
