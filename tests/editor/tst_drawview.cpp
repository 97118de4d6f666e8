#include "editor/drawview.h"

#include <QGraphicsScene>
#include <QtTest>

#include <memory>

class TestDrawView : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_scene = std::make_unique<QGraphicsScene>();
        m_view = std::make_unique<DrawView>(m_scene.get());
        m_view->setZoom(1.0);
    }

    void cleanup()
    {
        m_view.reset();
        m_scene.reset();
    }

    void setZoom()
    {
        // From 200 %, so an ignored factor is not mistaken for a reset to 100 %;
        // only a positive, finite factor is taken, and a new view follows it.
        for (double factor : {0.1, 0.0, qQNaN(), qInf()}) {
            const double expected = factor == 0.1 ? 0.1 : 2.0;
            m_view->setZoom(2.0);
            m_view->setZoom(factor);
            QCOMPARE(m_view->transform().m22(), expected);
            DrawView other(m_scene.get());
            other.applyZoom();
            QCOMPARE(other.transform().m22(), expected);
        }
    }

private:
    std::unique_ptr<QGraphicsScene> m_scene;
    std::unique_ptr<DrawView> m_view;
};

QTEST_MAIN(TestDrawView)
#include "tst_drawview.moc"
