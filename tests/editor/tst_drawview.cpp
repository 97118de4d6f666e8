#include "editor/drawview.h"

#include <QGraphicsScene>
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
};

QTEST_MAIN(TestDrawView)
#include "tst_drawview.moc"
