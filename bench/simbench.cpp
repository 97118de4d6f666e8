// simbench: the offline simulation's cost on a busy screen. A base screen of
// 500 shapes, 200 of them bound to ten panel registers, runs in a
// Simulation. Timed:
//  - one register written, the bound shapes brought up to date and the
//    panel drawn, against drawing a bare QGraphicsScene holding copies of
//    the same shapes (target: within 2x);
//  - ten ramp generators writing their registers at 20 Hz with a view of the
//    panel repainting what changed: the processor time a second of that
//    takes, as a share of one core (target: under a tenth).

#include "benchtiming.h"
#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/shapemimedata.h"
#include "model/addresspara.h"
#include "model/binding.h"
#include "model/config.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicstextitem.h"
#include "simulation/generator.h"
#include "simulation/registermemory.h"
#include "simulation/simulation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>

#include <cstdio>

using benchtiming::Timing;
using benchtiming::print;
using benchtiming::timePair;

namespace {

constexpr int Shapes = 500;
constexpr int BoundEvery = 5; // two of every five shapes bound: 200 in all
constexpr int Registers = 10;
constexpr double RepaintRatioTarget = 2.0;
constexpr int TickHz = 20;
constexpr double CoreShareTarget = 0.1;

Binding source(Binding::Kind kind, int reg)
{
    Binding binding;
    binding.kind = kind;
    binding.device = QStringLiteral("本地");
    binding.address = QStringLiteral("LW %1").arg(reg);
    binding.format = QStringLiteral("Int16");
    return binding;
}

// Values shown as text on every fifth shape, colours by range on the next.
void buildScreen()
{
    Config::instance()->screenWidth = 800;
    Config::instance()->screenHeight = 480;
    DrawScene *scene = DrawManager::instance()->createScreen(1);
    scene->setObjectName(QStringLiteral("Busy"));
    for (int i = 0; i < Shapes; ++i) {
        const QRect box((i % 25) * 32, (i / 25) * 24, 30, 22);
        QGraphicsItem *item = nullptr;
        if (i % 2 == 0) {
            auto *text = new GraphicsTextItem(box);
            text->setText(QStringLiteral("%1").arg(i));
            item = text;
        } else {
            item = new GraphicsRectItem(box);
        }
        scene->addItem(item);
        const int reg = (i / BoundEvery) % Registers;
        if (i % BoundEvery == 0) {
            Binding value = source(Binding::Value, reg);
            value.decimals = 1;
            value.scale = 0.1;
            setShapeBindings(item, {value});
        } else if (i % BoundEvery == 1) {
            Binding colours = source(Binding::Colours, reg);
            for (int r = 0; r < 4; ++r) {
                Binding::Range range;
                range.from = r * 250;
                range.to = r * 250 + 249;
                range.fill = QColor::fromHsv(r * 90, 200, 220);
                colours.ranges.append(range);
            }
            setShapeBindings(item, {colours});
        }
    }
}

void draw(QGraphicsScene *scene, QImage *image)
{
    QPainter painter(image);
    const QRectF area(QPointF(0, 0), image->size());
    scene->render(&painter, area, area);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times the offline simulation on a 500-shape screen."));
    parser.addHelpOption();
    const QCommandLineOption repeatOption(QStringLiteral("repeat"),
                                          QStringLiteral("Rounds (default 15)."),
                                          QStringLiteral("N"), QStringLiteral("15"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"),
                                           QStringLiteral("Simulated seconds of generators (default 10)."),
                                           QStringLiteral("S"), QStringLiteral("10"));
    parser.addOption(repeatOption);
    parser.addOption(secondsOption);
    parser.process(app);
    const int repeat = qMax(1, parser.value(repeatOption).toInt());
    const int seconds = qMax(1, parser.value(secondsOption).toInt());
    QStringList missed;

    buildScreen();
    Simulation simulation(DrawManager::instance());
    if (!simulation.start())
        qFatal("the simulation did not start");
    // What is timed must be the screen: every shape on the stage, drawn.
    if (simulation.stage()->items().size() < Shapes)
        qFatal("the stage holds %d items", int(simulation.stage()->items().size()));
    if (!qEnvironmentVariableIsEmpty("SIMBENCH_PICTURE"))
        simulation.snapshot().save(qEnvironmentVariable("SIMBENCH_PICTURE"));
    RegisterMemory *memory = simulation.memory();
    QVector<AddressPara> registers;
    for (int reg = 0; reg < Registers; ++reg) {
        AddressPara para;
        QString error;
        if (!memory->resolveName(QStringLiteral("LW %1").arg(reg), &para, &error))
            qFatal("%s", qPrintable(error));
        registers.append(para);
    }

    // The same shapes, copied as the clipboard copies them, in a scene that
    // knows nothing of bindings.
    QGraphicsScene bare(QRectF(QPointF(0, 0), simulation.panelSize()));
    ShapeMimeData copies(DrawManager::instance()->scenes().first()->userItems());
    for (QGraphicsItem *item : copies.items())
        bare.addItem(item);

    QImage image(simulation.panelSize(), QImage::Format_ARGB32_Premultiplied);
    int value = 0;
    const Timing repaint = timePair(
        repeat,
        [&] {
            value = (value + 137) % 1000;
            memory->write(registers.first(), value);
            simulation.refresh();
            draw(simulation.stage(), &image);
        },
        [&] { draw(&bare, &image); });
    if (repaint.ratio > RepaintRatioTarget)
        missed.append(QStringLiteral("repaint after a change: ratio %1 > %2")
                          .arg(repaint.ratio, 0, 'f', 2)
                          .arg(RepaintRatioTarget));
    // The copies belong to the clipboard payload, which deletes them.
    for (QGraphicsItem *item : copies.items())
        bare.removeItem(item);

    // Ten ramps at 20 Hz for the simulated seconds, as fast as they go: the
    // processor time they take, spread over the seconds they stand for.
    QGraphicsView view(simulation.stage());
    view.resize(simulation.panelSize() + QSize(4, 4));
    view.show();
    QCoreApplication::processEvents();
    QVector<Generator> ramps(Registers);
    for (int g = 0; g < Registers; ++g) {
        ramps[g].kind = Generator::Ramp;
        ramps[g].minimum = 0;
        ramps[g].maximum = 999;
        ramps[g].period = 2 + g;
    }
    const int ticks = seconds * TickHz;
    const double start = benchtiming::threadProcessorMs();
    for (int tick = 0; tick < ticks; ++tick) {
        const qint64 msec = qint64(tick) * 1000 / TickHz;
        for (int g = 0; g < Registers; ++g)
            memory->write(registers.at(g), qRound(ramps.at(g).valueAt(msec)));
        // The memory's change reaches the shapes through the event loop, and
        // the view repaints what they changed, as in the window.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    const double busyMs = benchtiming::threadProcessorMs() - start;
    const double share = busyMs / (seconds * 1000.0);
    if (share > CoreShareTarget)
        missed.append(QStringLiteral("ten ramps at %1 Hz: %2 of a core > %3")
                          .arg(TickHz)
                          .arg(share, 0, 'f', 3)
                          .arg(CoreShareTarget));

    print(QStringLiteral("%1 shapes, %2 bound to %3 registers; medians of %4 rounds, timed "
                         "alternately with the baseline")
              .arg(Shapes)
              .arg(2 * Shapes / BoundEvery)
              .arg(Registers)
              .arg(repeat));
    print(QStringLiteral("%1 %2 %3 %4")
              .arg(QStringLiteral("step"), -34)
              .arg(QStringLiteral("ms"), 8)
              .arg(QStringLiteral("baseline ms"), 12)
              .arg(QStringLiteral("ratio"), 8));
    print(QStringLiteral("%1 %2 %3 %4")
              .arg(QStringLiteral("one register, refresh and repaint"), -34)
              .arg(repaint.measured, 8, 'f', 2)
              .arg(repaint.baseline, 12, 'f', 2)
              .arg(repaint.ratio, 8, 'f', 2));
    print(QStringLiteral("ten ramps at %1 Hz for %2 s: %3 ms of processor time, %4 of a core "
                         "(target under %5)")
              .arg(TickHz)
              .arg(seconds)
              .arg(busyMs, 0, 'f', 1)
              .arg(share, 0, 'f', 3)
              .arg(CoreShareTarget));
    if (!missed.isEmpty()) {
        print(QStringLiteral("targets missed: ") + missed.join(QStringLiteral("; ")));
        return 1;
    }
    print(QStringLiteral("all targets met"));
    return 0;
}
