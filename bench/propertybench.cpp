// propertybench: how long the property browser takes to switch from one
// shape to the next, as when the user clicks through a crowded screen.
// Switches between 1,000 shapes of four kinds one after another (every
// switch rebuilds the rows) and prints the mean and worst time per switch,
// once for the switch alone and once including layout and painting of the
// shown browser.

#include "editor/drawscene.h"
#include "model/config.h"
#include "panels/property/propertytreebrowser.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicstextitem.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int ShapeCount = 1000;

QGraphicsItem *makeShape(int i)
{
    const QRect box(10 + i % 50 * 10, 10 + i / 50 * 20, 40, 30);
    switch (i % 4) {
    case 0:
        return new GraphicsRectItem(box);
    case 1:
        return new GraphicsRoundrectItem(box);
    case 2:
        return new GraphicsEllipseItem(box);
    default:
        return new GraphicsTextItem(box);
    }
}

void report(const char *what, const std::vector<double> &ms)
{
    double sum = 0;
    for (double t : ms)
        sum += t;
    std::printf("%-24s mean %.3f ms, worst %.3f ms over %zu switches\n", what, sum / ms.size(),
                *std::max_element(ms.begin(), ms.end()), ms.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Config::instance()->screenWidth = 800;
    Config::instance()->screenHeight = 600;

    DrawScene scene;
    std::vector<QGraphicsItem *> shapes;
    for (int i = 0; i < ShapeCount; ++i) {
        shapes.push_back(makeShape(i));
        scene.addItem(shapes.back());
    }

    PropertyTreeBrowser browser;
    browser.resize(320, 640);
    browser.show();
    QApplication::processEvents();

    std::vector<double> switchOnly;
    std::vector<double> withPaint;
    QElapsedTimer timer;
    for (QGraphicsItem *shape : shapes) {
        timer.start();
        browser.currentItemChanged(shape);
        switchOnly.push_back(timer.nsecsElapsed() / 1e6);
    }
    for (QGraphicsItem *shape : shapes) {
        timer.start();
        browser.currentItemChanged(shape);
        browser.repaint();
        QApplication::processEvents();
        withPaint.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("switch", switchOnly);
    report("switch + layout + paint", withPaint);
    return 0;
}
