#include "editor/drawview.h"

#include "editor/qtcornerbox.h"
#include "editor/qtrulebar.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QScrollBar>
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

    void wheel()
    {
        showView(300, 200, QRectF(0, 0, 400, 2400));
        QScrollBar *bar = m_view->verticalScrollBar();
        QSignalSpy in(m_view.get(), &DrawView::zoomIn);
        QSignalSpy out(m_view.get(), &DrawView::zoomOut);
        // Ctrl alone zooms (1 in, -1 out); with Shift or without Ctrl the view
        // scrolls (the sign of the scroll bar's change).
        const struct
        {
            int delta;
            Qt::KeyboardModifiers modifiers;
            int zooms, scroll;
        } rows[] = {{120, Qt::ControlModifier, 1, 0},
                    {-120, Qt::ControlModifier, -1, 0},
                    {120, Qt::ControlModifier | Qt::ShiftModifier, 0, -1},
                    {-120, Qt::NoModifier, 0, 1}};
        for (const auto &row : rows) {
            bar->setValue(1000);
            in.clear();
            out.clear();
            const QPoint pos(100, 100);
            QWheelEvent event(pos, m_view->viewport()->mapToGlobal(pos), QPoint(),
                              QPoint(0, row.delta), Qt::NoButton, row.modifiers, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(m_view->viewport(), &event);
            QCOMPARE(in.count() - out.count(), row.zooms);
            QCOMPARE(in.count() + out.count(), qAbs(row.zooms));
            QCOMPARE((bar->value() > 1000) - (bar->value() < 1000), row.scroll);
        }
    }

    void rulerLabelsAndTicks()
    {
        QCOMPARE(QtRuleBar::labelText(10000), QString("10k"));
        QCOMPARE(QtRuleBar::labelText(-3000), QString("-3k"));
        QCOMPARE(QtRuleBar::labelText(1500), QString("1500"));
        // The label room is digits x font height x 2 + 2 pixels.
        QCOMPARE(QtRuleBar::scaleIndex(1, 9.2, 10), 5); // ceil makes "10": 50 > 42
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
        // Scale 2 subdivides in whole units; labels 24 px apart keep every fourth.
        QCOMPARE(ticks(0, 7, 84),
                 QStringLiteral("1:0@0 1:1@12 1:2@24 1:3@36 1:4@48 1:5@60 1:6@72 "
                                "1:7@84 0:0@0[0] 0:2@24 0:4@48 0:6@72 0:8@96[8]"));
        // Labels 50 px apart keep every second, counted from the first tick, and
        // 0; ticks exactly 5 px apart (level 2) are left out.
        QCOMPARE(ticks(-10, 40, 100),
                 QStringLiteral("1:-10@0 1:-5@10 1:0@20 1:5@30 1:10@40 1:15@50 1:20@60 1:25@70 "
                                "1:30@80 1:35@90 1:40@100 0:-25@-30[-25] 0:0@20[0] 0:25@70[25] "
                                "0:50@120"));
        QCOMPARE(ticks(5, 5, 100), QString());
    }

    void rulersFollowViewAndZoom()
    {
        showView(640, 480);
        QCOMPARE(m_view->viewport()->geometry(), QRect(24, 24, 616, 456));
        QCOMPARE(m_view->cornerBox()->geometry(), QRect(0, 0, 25, 25));
        QtRuleBar *h = m_view->horizontalRuler();
        QtRuleBar *v = m_view->verticalRuler();
        QCOMPARE(v->geometry(), QRect(0, 25, 25, 454));
        // Viewport 1000 x 744: the 400 x 240 screen sits 300 px in and 252 px down.
        m_view->resize(1024, 768);
        QCOMPARE(h->geometry(), QRect(25, 0, 998, 25));
        QCOMPARE(h->lower(), -300.0);
        QCOMPARE(h->maxSize(), 999.0);
        QCOMPARE(v->lower(), -252.0);
        m_view->setZoom(2.0);
        QCOMPARE(h->lower(), -50.0);
        QCOMPARE(h->upper(), 449.5);
        QCOMPARE(v->maxSize(), 371.5);
        // At 500 % the screen overflows; scrolling moves the ruler with it.
        m_view->setZoom(5.0);
        m_view->horizontalScrollBar()->setValue(500);
        QCOMPARE(h->lower(), 100.0);
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

    void rulerPaintsTicksAndCursor()
    {
        const QColor background("#F5F5F5");
        QWidget parent;
        for (int orientation : {int(Qt::Horizontal), int(Qt::Vertical)}) {
            const bool horizontal = orientation == Qt::Horizontal;
            QtRuleBar bar(orientation, &parent);
            bar.resize(horizontal ? QSize(400, 25) : QSize(25, 400));
            bar.setRange(0, 400, 400); // ticks every 10, 20 and 100 pixels
            bar.updatePosition(QPoint(137, 137));
            QImage image(bar.size(), QImage::Format_ARGB32);
            image.fill(Qt::white);
            bar.render(&image);
            // A pixel by (distance along the ruler, distance across it).
            auto at = [&](int along, int across) {
                return horizontal ? image.pixelColor(along, across)
                                  : image.pixelColor(across, along);
            };
            QCOMPARE(at(137, 3), QColor(Qt::red));
            QCOMPARE(at(150, 3), background);
            QCOMPARE(at(10, 22), QColor(Qt::black)); // 4 px tick of the 10s
            QCOMPARE(at(10, 20), background);
            QCOMPARE(at(100, 10), QColor(Qt::black)); // 16 px tick of the 100s
            QCOMPARE(at(15, 24), QColor(Qt::black)); // edge facing the view
        }
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
