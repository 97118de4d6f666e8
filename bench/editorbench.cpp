// editorbench: what a user waits for in the editor. Opens the benchmark
// project in a real main window until its first screen is painted, against
// reading the same file alone; then switches between screens of 500 shapes
// until the screen shown is painted, against a bare graphics view painting
// copies of the same items. Prints the medians and exits 1 on a missed
// target.

#include "benchtiming.h"
#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "mainwindow/formwidgets.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/tabcontent.h"
#include "model/config.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicswidgetitem.h"
#include "support/isolatedsettings.h"
#include "support/modalscript.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QTemporaryDir>
#include <QTextCodec>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using benchtiming::Timing;
using benchtiming::print;
using benchtiming::timePair;

namespace {

const ProjectGenerator::Options BenchProject = ProjectGenerator::benchmarkOptions();
// Opening may take this many times reading the file alone.
const double OpenRatioLimit = 1.5;
// A switch between screens is done within this many milliseconds.
const double SwitchLimitMs = 50;
// The window's size: a common desktop the editor is used on.
const QSize WindowSize(1920, 1080);

// Runs what the event loop has left over (deleted views, late layouts and
// paints), outside every timing, and hands freed memory back so that each
// round starts from the same heap.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    malloc_trim(0);
}

DrawView *shownView(MainWindow *window)
{
    return qobject_cast<DrawView *>(window->tabContent()->currentWidget());
}

// Counts the paints of screen views, so that a step that painted nothing
// cannot pass for a fast one.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<DrawView *>(watched->parent()))
            ++paints;
        return false;
    }
};
PaintCounter *paintCounter = nullptr;

// The first paint the user sees: the layouts the new tab asked for, then
// the screen's viewport painted at once rather than on the next turn of
// the event loop. False when the screen shown is not expected (null: any
// screen of the open project).
bool paintShown(MainWindow *window, DrawScene *expected = nullptr)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    DrawView *view = shownView(window);
    if (!view)
        return false;
    const int paintsBefore = paintCounter->paints;
    view->viewport()->repaint();
    if (paintCounter->paints == paintsBefore)
        return false;
    return expected ? view->drawScene() == expected
                    : DrawManager::instance()->scenes().contains(view->drawScene());
}

// A plain scene of the same size holding copies of screen's shapes, groups
// copied whole, widget shapes with their widgets.
std::unique_ptr<QGraphicsScene> bareCopy(DrawScene *screen)
{
    auto scene = std::make_unique<QGraphicsScene>(screen->sceneRect());
    const QList<QGraphicsItem *> items = screen->userItems();
    for (QGraphicsItem *item : items) {
        if (item->parentItem())
            continue;
        QGraphicsItem *copy = nullptr;
        if (auto *shape = dynamic_cast<GraphicsItem *>(item))
            copy = shape->clone();
        else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
            copy = group->clone();
        if (copy)
            scene->addItem(copy);
    }
    // A widget shape makes its widget on first use; the copies hold theirs
    // already, so that the baseline is painting alone.
    const QList<QGraphicsItem *> copies = scene->items();
    for (QGraphicsItem *item : copies) {
        if (item->type() == WidgetItemType)
            static_cast<GraphicsWidgetItem *>(item)->proxy();
    }
    return scene;
}

int countItems(QGraphicsScene *scene)
{
    return scene ? scene->items().size() : 0;
}

// The headless platform says on every new view that it keeps no size
// hints; the table should not drown in that.
QtMessageHandler defaultHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")))
        defaultHandler(type, context, message);
}

struct Row
{
    QString name;
    Timing timing;
    // Either a limit on the ratio or on the milliseconds.
    double ratioLimit;
    double msLimit;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    defaultHandler = qInstallMessageHandler(quietHandler);
    PaintCounter counter;
    paintCounter = &counter;
    app.installEventFilter(&counter);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times opening a project of %1 screens x %2 shapes in the editor's window "
                       "up to its first painted screen against reading the file alone, and "
                       "switching between two screens up to the first paint against a bare "
                       "graphics view painting the same items.")
            .arg(BenchProject.screens)
            .arg(BenchProject.shapesPerScreen));
    parser.addHelpOption();
    const QCommandLineOption repeatOption(QStringLiteral("repeat"),
                                          QStringLiteral("Rounds per measurement (default 9)."),
                                          QStringLiteral("n"), QStringLiteral("9"));
    parser.addOption(repeatOption);
    parser.process(app);
    // Every first-show round needs a screen not shown before.
    const int repeat
        = std::clamp(parser.value(repeatOption).toInt(), 1, BenchProject.screens - 3);

    // The window keeps its settings and recent list in this folder, not the
    // user's.
    QTemporaryDir temporary;
    ProcessFixture::enterBinFolder(temporary);
    ProcessFixture::start();
    const QString path = temporary.filePath(QStringLiteral("bench.mvprg"));

    ProjectGenerator(1).build(BenchProject);
    QString error;
    if (!ProjectFile::write(path, &error)) {
        print(QStringLiteral("save failed: %1").arg(error));
        return 1;
    }
    ProcessFixture::start();
    settle();

    // Any question or message the window asks is answered "cancel" and
    // counted: a bench run that needed one did not time an ordinary open.
    ModalScript modals;
    MainWindow window;
    // The window starts maximized, and the headless screen is smaller than
    // a desktop: a normal window of a desktop's size paints as much.
    window.setWindowState(Qt::WindowNoState);
    window.show();
    window.resize(WindowSize);
    settle();

    // Phase 1: opening, up to the first screen painted.
    bool opened = true;
    ProjectFile::LoadResult read;
    const Timing open = timePair(
        repeat,
        [&] {
            opened = window.projectController()->openProject(path) && opened;
            opened = paintShown(&window) && opened;
        },
        [&] { read = ProjectFile::read(path); },
        [&] {
            // What the read made and the window's project go outside the
            // timing, as does the next round's start from an empty window.
            read = ProjectFile::LoadResult();
            window.projectController()->closeProject();
            settle();
        });
    read = ProjectFile::LoadResult();
    opened = opened && window.projectController()->openProject(path);
    settle();

    const QList<DrawScene *> screens = DrawManager::instance()->scenes();
    DrawView *firstView = shownView(&window);
    if (!opened || !firstView || screens.size() != BenchProject.screens
        || !modals.requests().isEmpty()) {
        print(QStringLiteral("opening failed: %1 screens, %2 questions asked")
                  .arg(screens.size())
                  .arg(modals.requests().size()));
        return 1;
    }

    // The bare baseline: one plain view of the same size, switching between
    // plain scenes holding copies of the same items.
    QGraphicsView bare;
    bare.setFrameShape(QFrame::NoFrame);
    bare.resize(firstView->viewport()->size());
    bare.show();
    std::vector<std::unique_ptr<QGraphicsScene>> bareScenes;
    for (DrawScene *screen : screens)
        bareScenes.push_back(bareCopy(screen));
    settle();
    auto showBare = [&](int index) {
        bare.setScene(bareScenes[size_t(index)].get());
        bare.viewport()->repaint();
    };

    // Phase 2a: screens shown for the first time, their view made then.
    bool switched = true;
    int nextFirst = 2;
    int nextBareFirst = 2;
    const Timing firstShow = timePair(
        repeat,
        [&] {
            DrawScene *next = screens.at(nextFirst++);
            // A screen with a view already would time a plain switch.
            switched = !window.formWidgets()->existingWidget(next) && switched;
            window.showForm(next);
            switched = paintShown(&window, next) && switched;
        },
        [&] { showBare(nextBareFirst++); }, settle);

    // Phase 2b: back and forth between two screens already open.
    window.showForm(screens.at(0));
    window.showForm(screens.at(1));
    showBare(0);
    showBare(1);
    settle();
    int shownIndex = 1;
    int bareIndex = 1;
    const Timing between = timePair(
        repeat,
        [&] {
            shownIndex = 1 - shownIndex;
            window.showForm(screens.at(shownIndex));
            switched = paintShown(&window, screens.at(shownIndex)) && switched;
        },
        [&] {
            bareIndex = 1 - bareIndex;
            showBare(bareIndex);
        },
        settle);

    // Both shown screens hold their widgets now: their copies must hold
    // exactly as many items, or the baseline paints less than the editor.
    const int shapeItems = countItems(screens.at(0));
    const int bareItems = countItems(bareScenes.front().get());
    const bool sameItems = shapeItems == bareItems
        && countItems(screens.at(1)) == countItems(bareScenes.at(1).get());
    print(QStringLiteral("project: %1 screens x %2 shapes; a screen holds %3 scene items, its "
                         "bare copy %4; window %5x%6, screen view %7x%8")
              .arg(screens.size())
              .arg(BenchProject.shapesPerScreen)
              .arg(shapeItems)
              .arg(bareItems)
              .arg(WindowSize.width())
              .arg(WindowSize.height())
              .arg(firstView->viewport()->width())
              .arg(firstView->viewport()->height()));
    print(QStringLiteral("medians of %1 rounds, each step timed alternately with its baseline "
                         "(open: reading the file; switch: a bare view painting copies)")
              .arg(repeat));

    const QList<Row> rows = {
        {QStringLiteral("open"), open, OpenRatioLimit, 0},
        {QStringLiteral("switch, first"), firstShow, 0, SwitchLimitMs},
        {QStringLiteral("switch, again"), between, 0, SwitchLimitMs},
    };
    print(QStringLiteral("%1 %2 %3 %4 %5")
              .arg(QStringLiteral("step"), -14)
              .arg(QStringLiteral("ms"), 10)
              .arg(QStringLiteral("baseline ms"), 12)
              .arg(QStringLiteral("ratio"), 8)
              .arg(QStringLiteral("target"), 10));
    QStringList missed;
    for (const Row &row : rows) {
        const Timing &t = row.timing;
        QString target;
        if (row.ratioLimit > 0) {
            target = QStringLiteral("<= %1x").arg(row.ratioLimit);
            if (t.ratio > row.ratioLimit)
                missed.append(QStringLiteral("%1: ratio %2 > %3")
                                  .arg(row.name)
                                  .arg(t.ratio, 0, 'f', 2)
                                  .arg(row.ratioLimit));
        } else {
            target = QStringLiteral("<= %1 ms").arg(row.msLimit);
            if (t.measured > row.msLimit)
                missed.append(QStringLiteral("%1: %2 ms > %3 ms")
                                  .arg(row.name)
                                  .arg(t.measured, 0, 'f', 1)
                                  .arg(row.msLimit));
        }
        print(QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(row.name, -14)
                  .arg(t.measured, 10, 'f', 1)
                  .arg(t.baseline, 12, 'f', 1)
                  .arg(t.ratio, 8, 'f', 2)
                  .arg(target, 10));
    }
    const bool complete = opened && switched && sameItems && modals.requests().isEmpty();
    print(complete ? QStringLiteral("every screen shown and painted")
                   : QStringLiteral("INCOMPLETE: a screen was not shown, a question was asked or "
                                    "a bare copy differs"));
    print(missed.isEmpty() ? QStringLiteral("all targets met") : QStringLiteral("targets missed"));
    for (const QString &miss : qAsConst(missed))
        print(QStringLiteral("missed: %1").arg(miss));

    bare.setScene(nullptr);
    window.projectController()->closeProject();
    ProcessFixture::finish();
    return complete && missed.isEmpty() ? 0 : 1;
}
