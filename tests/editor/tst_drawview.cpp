#include "editor/drawview.h"

#include "editor/qtcornerbox.h"
#include "editor/qtrulebar.h"
#include "mainwindow/mainwindow.h"
#include "support/isolatedsettings.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>
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

void sendWheel(DrawView *view, int delta, Qt::KeyboardModifiers modifiers)
{
    const QPointF pos(100, 100);
    QWheelEvent event(pos, view->viewport()->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &event);
}

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
        DrawView::setMenuRunner({});
        m_view.reset();
        m_scene.reset();
    }

    void setZoomScalesBothDirections_data()
    {
        QTest::addColumn<double>("factor");
        QTest::addColumn<double>("expected");
        // The view starts at 200 %, so an ignored factor is not mistaken for a
        // reset to 100 %.
        QTest::newRow("10 %") << 0.1 << 0.1;
        QTest::newRow("zero") << 0.0 << 2.0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 2.0;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 2.0;
    }

    void setZoomScalesBothDirections()
    {
        QFETCH(double, factor);
        QFETCH(double, expected);
        m_view->setZoom(2.0);
        m_view->setZoom(factor);
        QCOMPARE(m_view->zoomFactor(), expected);
        QCOMPARE(m_view->transform().m22(), expected);
        QCOMPARE(DrawView::sharedZoom(), expected);
    }

    void applyZoomFollowsSharedFactor()
    {
        m_view->setZoom(3.0);
        DrawView other(m_scene.get());
        QCOMPARE(other.zoomFactor(), 1.0); // a new view waits for applyZoom
        other.scale(0.5, 0.5);
        other.applyZoom();
        QCOMPARE(other.zoomFactor(), 3.0);
        QCOMPARE(other.transform().m22(), 3.0);
    }

    void wheel_data()
    {
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("zoomIns");
        QTest::addColumn<int>("zoomOuts");
        QTest::addColumn<int>("scrollDirection"); // sign of the scroll bar's change
        QTest::newRow("ctrl up") << 120 << int(Qt::ControlModifier) << 1 << 0 << 0;
        QTest::newRow("ctrl down") << -120 << int(Qt::ControlModifier) << 0 << 1 << 0;
        QTest::newRow("ctrl+shift up")
            << 120 << int(Qt::ControlModifier | Qt::ShiftModifier) << 0 << 0 << -1;
        QTest::newRow("plain down") << -120 << int(Qt::NoModifier) << 0 << 0 << 1;
    }

    void wheel()
    {
        QFETCH(int, delta);
        QFETCH(int, modifiers);
        QFETCH(int, zoomIns);
        QFETCH(int, zoomOuts);
        QFETCH(int, scrollDirection);
        showView(300, 200, QRectF(0, 0, 400, 2400));
        QScrollBar *bar = m_view->verticalScrollBar();
        bar->setValue(1000);
        QSignalSpy in(m_view.get(), &DrawView::zoomIn);
        QSignalSpy out(m_view.get(), &DrawView::zoomOut);
        sendWheel(m_view.get(), delta, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(in.count(), zoomIns);
        QCOMPARE(out.count(), zoomOuts);
        const int change = bar->value() - 1000;
        QCOMPARE((change > 0) - (change < 0), scrollDirection);
    }

    void labelText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("10000") << 10000.0 << "10k";
        QTest::newRow("-3000") << -3000.0 << "-3k";
        QTest::newRow("1500") << 1500.0 << "1500";
        QTest::newRow("1000 stays") << 1000.0 << "1000";
        QTest::newRow("-0") << -0.0 << "0";
    }

    void labelText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QtRuleBar::labelText(value), text);
    }

    void scaleIndex_data()
    {
        QTest::addColumn<double>("increment");
        QTest::addColumn<double>("maxSize");
        QTest::addColumn<int>("fontHeight");
        QTest::addColumn<int>("index");
        // Text width = digits x height x 2 + 2.
        QTest::newRow("ceil adds a digit") << 1.0 << 9.2 << 10 << 5; // "10": 50 > 42
        QTest::newRow("mirrored") << -2.0 << 499.5 << 10 << 5; // 100 > 62
        QTest::newRow("exactly text width") << 1.0 << 5.0 << 4 << 4; // 10 is not > 10
        QTest::newRow("nothing fits") << 0.0001 << 1000.0 << 10 << 15;
    }

    void scaleIndex()
    {
        QFETCH(double, increment);
        QFETCH(double, maxSize);
        QFETCH(int, fontHeight);
        QFETCH(int, index);
        QCOMPARE(QtRuleBar::scaleIndex(increment, maxSize, fontHeight), index);
    }

    void tickLayout_data()
    {
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("ticks"); // level:value@position, labels in brackets
        // Scale 2 subdivides in whole units; labels 24 px apart keep every fourth.
        QTest::newRow("scale 2") << 0.0 << 9.0 << 108
                                 << "1:0@0 1:1@12 1:2@24 1:3@36 1:4@48 1:5@60 1:6@72 1:7@84 1:8@96 "
                                    "1:9@108 0:0@0[0] 0:2@24 0:4@48 0:6@72 0:8@96[8] 0:10@120";
        // Labels 50 px apart keep every second, counted from the first tick, and
        // 0; ticks exactly 5 px apart (level 2) are left out.
        QTest::newRow("scale 25")
            << -10.0 << 40.0 << 100
            << "1:-10@0 1:-5@10 1:0@20 1:5@30 1:10@40 1:15@50 1:20@60 1:25@70 "
               "1:30@80 1:35@90 1:40@100 0:-25@-30[-25] 0:0@20[0] 0:25@70[25] "
               "0:50@120";
        QTest::newRow("empty range") << 5.0 << 5.0 << 100 << "";
    }

    void tickLayout()
    {
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(int, length);
        QFETCH(QString, ticks);
        QStringList actual;
        for (const QtRuleBar::Tick &t :
             QtRuleBar::layoutTicks(lower, upper, upper - lower, length, 10)) {
            QString text = QStringLiteral("%1:%2@%3").arg(t.level).arg(t.value).arg(t.position);
            if (!t.label.isEmpty())
                text += QLatin1Char('[') + t.label + QLatin1Char(']');
            actual.append(text);
        }
        QCOMPARE(actual.join(QLatin1Char(' ')), ticks);
    }

    void rulerRangesFollowScreen()
    {
        // Viewport 1000 x 744: the 400 x 240 screen sits 300 px in and 252 px down.
        showView(1024, 768);
        QtRuleBar *h = m_view->horizontalRuler();
        QtRuleBar *v = m_view->verticalRuler();
        QCOMPARE(h->lower(), -300.0);
        QCOMPARE(h->upper(), 699.0);
        QCOMPARE(h->maxSize(), 999.0);
        QCOMPARE(v->lower(), -252.0);
        QCOMPARE(v->maxSize(), 743.0);
        m_view->setZoom(2.0);
        QCOMPARE(h->lower(), -50.0);
        QCOMPARE(h->upper(), 449.5);
        QCOMPARE(h->maxSize(), 499.5);
        QCOMPARE(v->lower(), -66.0);
        QCOMPARE(v->maxSize(), 371.5);
        // At 500 % the screen overflows; scrolling moves the ruler with it.
        m_view->setZoom(5.0);
        m_view->horizontalScrollBar()->setValue(500);
        QCOMPARE(h->lower(), 100.0);
    }

    void mouseMoveReportsTruncatedPosition_data()
    {
        QTest::addColumn<QPointF>("scenePoint");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("just above the screen") << QPointF(12.7, -0.4) << 12 << 0;
        QTest::newRow("both just outside") << QPointF(-0.9, -0.9) << 0 << 0;
    }

    void mouseMoveReportsTruncatedPosition()
    {
        QFETCH(QPointF, scenePoint);
        QFETCH(int, x);
        QFETCH(int, y);
        // At 1000 % a tenth of a scene unit is a whole pixel, so the point is hit exactly.
        showView(1024, 768, QRectF(-100, -100, 600, 440));
        m_view->setZoom(10.0);
        m_view->centerOn(0, 0);
        const QPoint pixel = m_view->mapFromScene(scenePoint);
        QCOMPARE(m_view->mapToScene(pixel), scenePoint);
        QSignalSpy spy(m_view.get(), &DrawView::positionChanged);
        QMouseEvent move(QEvent::MouseMove, pixel, m_view->viewport()->mapToGlobal(pixel),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &move);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), x);
        QCOMPARE(spy.at(0).at(1).toInt(), y);
        QCOMPARE(m_view->horizontalRuler()->cursorPos(), pixel);
        QCOMPARE(m_view->verticalRuler()->cursorPos(), pixel);
        // The scene still receives the move, for its tools.
        QCOMPARE(m_scene->moves.size(), 1);
        QCOMPARE(m_scene->moves.first(), scenePoint);
    }

    void resizeLaysOutRulers()
    {
        showView(640, 480);
        QCOMPARE(m_view->viewport()->geometry(), QRect(24, 24, 616, 456));
        QCOMPARE(m_view->horizontalRuler()->geometry(), QRect(25, 0, 614, 25));
        QCOMPARE(m_view->verticalRuler()->geometry(), QRect(0, 25, 25, 454));
        QCOMPARE(m_view->cornerBox()->geometry(), QRect(0, 0, 25, 25));
        m_view->resize(800, 600);
        QCOMPARE(m_view->horizontalRuler()->geometry(), QRect(25, 0, 774, 25));
        QCOMPARE(m_view->verticalRuler()->geometry(), QRect(0, 25, 25, 574));
        QCOMPARE(m_view->horizontalRuler()->maxSize(), 775.0);
    }

    void rulerPaintsTicksAndCursor()
    {
        const QColor background("#F5F5F5");
        QWidget parent;
        for (int orientation : {int(Qt::Horizontal), int(Qt::Vertical)}) {
            const bool horizontal = orientation == Qt::Horizontal;
            // Looks up a pixel by (distance along the ruler, distance across it).
            auto at = [horizontal](const QImage &image, int along, int across) {
                return horizontal ? image.pixelColor(along, across)
                                  : image.pixelColor(across, along);
            };
            QtRuleBar bar(orientation, &parent);
            bar.resize(horizontal ? QSize(400, 25) : QSize(25, 400));
            bar.setRange(0, 400, 400); // ticks every 10, 20 and 100 pixels
            bar.updatePosition(QPoint(137, 137));
            QImage image(bar.size(), QImage::Format_ARGB32);
            image.fill(Qt::white);
            bar.render(&image);
            QCOMPARE(at(image, 137, 3), QColor(Qt::red));
            QCOMPARE(at(image, 150, 3), background);
            QCOMPARE(at(image, 10, 22), QColor(Qt::black)); // 4 px tick of the 10s
            QCOMPARE(at(image, 10, 20), background);
            QCOMPARE(at(image, 100, 10), QColor(Qt::black)); // 16 px tick of the 100s
            QCOMPARE(at(image, 100, 8), background);
            QCOMPARE(at(image, 15, 24), QColor(Qt::black)); // edge facing the view
        }
    }

    void contextMenuPopsUpEditingMenu()
    {
        QList<QPair<QMenu *, QPoint>> runs;
        DrawView::setMenuRunner([&runs](QMenu *menu, const QPoint &pos) {
            runs.append({menu, pos});
        });
        auto rightClick = [this] {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 40), QPoint(350, 240));
            QApplication::sendEvent(m_view->viewport(), &event);
        };
        rightClick(); // no main window, no menu
        QCOMPARE(runs.size(), 0);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("bin");
        QDir::setCurrent(QDir(dir.path()).filePath("bin"));
        {
            MainWindow window;
            QVERIFY(MainWindow::sceneContextMenu());
            rightClick();
            QCOMPARE(runs.size(), 1);
            QCOMPARE(runs.first().first, MainWindow::sceneContextMenu());
            QCOMPARE(runs.first().second, QPoint(350, 240));
        }
        QDir::setCurrent(QDir::tempPath());
    }

private:
    // A 400 x 240 screen in a frameless view, so viewport geometry is exact.
    void showView(int width, int height, const QRectF &sceneRect = QRectF(0, 0, 400, 240));

    std::unique_ptr<RecordingScene> m_scene;
    std::unique_ptr<DrawView> m_view;
};

void TestDrawView::showView(int width, int height, const QRectF &sceneRect)
{
    m_scene->setSceneRect(sceneRect);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->resize(width, height);
    m_view->show();
}

QTEST_MAIN(TestDrawView)
#include "tst_drawview.moc"
