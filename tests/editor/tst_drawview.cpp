#include "editor/drawview.h"

#include "editor/qtrulebar.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QtTest>

#include <memory>

namespace {

// Records where the view's mouse moves arrive in the scene.
class RecordingScene : public QGraphicsScene
{
public:
    QVector<QPointF> moves;

protected:
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override
    {
        moves.append(event->scenePos());
        QGraphicsScene::mouseMoveEvent(event);
    }
};

} // namespace

class TestDrawView : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_scene = std::make_unique<RecordingScene>();
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

    void rulerLabelsAndTicks()
    {
        QCOMPARE(QtRuleBar::labelText(10000), QString("10k"));
        QCOMPARE(QtRuleBar::labelText(-3000), QString("-3k"));
        QCOMPARE(QtRuleBar::labelText(1500), QString("1500"));
        // The label room is digits x font height x 2 + 2 pixels.
        QCOMPARE(QtRuleBar::scaleIndex(-2, 499.5, 10), 5); // mirrored: 100 > 62
        QCOMPARE(QtRuleBar::scaleIndex(1, 5, 4), 4); // 10 is not > 10
        QCOMPARE(QtRuleBar::scaleIndex(0.0001, 1000, 10), 15); // nothing fits
        // level:value@position, labels in brackets.
        auto ticks = [](double lower, double upper, int length) {
            QStringList result;
            for (const QtRuleBar::Tick &t :
                 QtRuleBar::layoutTicks(lower, upper, upper - lower, length, 10)) {
                result << QStringLiteral("%1:%2@%3").arg(t.level).arg(t.value).arg(t.position)
                        + (t.label.isEmpty() ? QString() : '[' + t.label + ']');
            }
            return result.join(' ');
        };
        // Labels 50 px apart keep every second, counted from the first tick, and
        // 0; ticks exactly 5 px apart (level 2) are left out.
        QCOMPARE(ticks(-10, 40, 100),
                 QStringLiteral("1:-10@0 1:-5@10 1:0@20 1:5@30 1:10@40 1:15@50 1:20@60 1:25@70 "
                                "1:30@80 1:35@90 1:40@100 0:-25@-30[-25] 0:0@20[0] 0:25@70[25] "
                                "0:50@120"));
        QCOMPARE(ticks(5, 5, 100), QString());
    }

    void mouseMoveReportsTruncatedPosition()
    {
        // At 1000 % a tenth of a scene unit is a whole pixel, so the point is hit exactly.
        showView(1024, 768, QRectF(-100, -100, 600, 440));
        m_view->setZoom(10.0);
        m_view->centerOn(0, 0);
        const QPointF scenePoint(12.7, -0.4);
        const QPoint pixel = m_view->mapFromScene(scenePoint);
        QSignalSpy spy(m_view.get(), &DrawView::positionChanged);
        QMouseEvent move(QEvent::MouseMove, pixel, m_view->viewport()->mapToGlobal(pixel),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &move);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 12);
        QCOMPARE(spy.at(0).at(1).toInt(), 0);
        QCOMPARE(m_view->horizontalRuler()->cursorPos(), pixel);
        // The scene still receives the move, for its tools.
        QCOMPARE(m_scene->moves, QVector<QPointF> {scenePoint});
    }

private:
    // A frameless view, so viewport geometry is exact.
    void showView(int width, int height, const QRectF &sceneRect = QRectF(0, 0, 400, 240))
    {
        m_scene->setSceneRect(sceneRect);
        m_view->setFrameShape(QFrame::NoFrame);
        m_view->resize(width, height);
        m_view->show();
    }

    std::unique_ptr<RecordingScene> m_scene;
    std::unique_ptr<DrawView> m_view;
};

QTEST_MAIN(TestDrawView)
#include "tst_drawview.moc"
