#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/simulationview.h"
#include "mainwindow/simulationwindow.h"
#include "mainwindow/watchmodel.h"
#include "mainwindow/watchpanel.h"

#include "editor/setbindingscommand.h"
#include "editor/shapecommands.h"
#include "document/projectdocument.h"
#include "editor/useroptgroup.h"
#include "model/config.h"
#include "simulation/registermemory.h"
#include "simulation/scenario.h"
#include "simulation/scenariorunner.h"
#include "simulation/simulation.h"
#include "support/modalscript.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/simulationproject.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace simulationproject;

class TestSimulationWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    DrawScene *m_main = nullptr;

    // A window screen, then two base screens: "Main" with a button bound by
    // action to bit 0 of LW 100 and a label showing LW 100, and "Second".
    void makeProject(Binding::ActionKind buttonAction, int width = 400, int height = 300)
    {
        ProcessFixture::start(width, height);
        screen(WindowScreen, QStringLiteral("Popup"));
        m_main = screen(BaseScreen, QStringLiteral("Main"));
        widget(m_main, PushButtonKind, QStringLiteral("Button"), QRect(20, 20, 100, 40),
               {action(buttonAction, QStringLiteral("LW_Bit 100_0"))});
        widget(m_main, LabelKind, QStringLiteral("Shown"), QRect(20, 100, 100, 30),
               {value(QStringLiteral("LW 100"))});
        DrawScene *second = screen(BaseScreen, QStringLiteral("Second"));
        DrawManager::instance()->setCurrentScene(second);
        m_window->updateActions();
    }

    QList<SimulationWindow *> simulationWindows() const
    {
        return m_window->findChildren<SimulationWindow *>();
    }

    SimulationWindow *pressF5()
    {
        m_window->action(QStringLiteral("offlineSim"))->trigger();
        const QList<SimulationWindow *> windows = simulationWindows();
        return windows.size() == 1 ? windows.first() : nullptr;
    }

    static double number(Simulation *simulation, const QString &name)
    {
        AddressPara para;
        if (!simulation->memory()->resolveName(name, &para))
            return qQNaN();
        return simulation->memory()->number(para);
    }

    static QString shownText(Simulation *simulation, const QString &shape)
    {
        auto *item = qobject_cast<GraphicsWidgetItem *>(shapeObject(simulation->findShape(shape)));
        return item ? item->caption() : QStringLiteral("<none>");
    }

    static QPoint onView(SimulationWindow *window, const QString &shape)
    {
        QGraphicsItem *item = window->simulation()->findShape(shape);
        return item ? window->view()->mapFromScene(item->sceneBoundingRect().center()) : QPoint();
    }

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void init()
    {
        ProcessFixture::forgetSettings();
        ProcessFixture::start();
        m_window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        qDeleteAll(simulationWindows());
        ProcessFixture::close(m_window);
        m_main = nullptr;
        ProcessFixture::finish();
    }

    void f5OpensOneWindowAtPanelSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("startAt");
        QTest::addColumn<QString>("screen");
        QTest::newRow("first base screen") << 400 << 300 << int(SimulationWindow::FirstBaseScreen)
                                           << "Main";
        QTest::newRow("wide panel") << 640 << 320 << int(SimulationWindow::FirstBaseScreen)
                                    << "Main";
        QTest::newRow("screen being edited") << 400 << 300 << int(SimulationWindow::EditedScreen)
                                             << "Second";
    }
    void f5OpensOneWindowAtPanelSize()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, startAt);
        QFETCH(QString, screen);
        makeProject(Binding::SetBit, width, height);
        SimulationWindow *window = pressF5();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->simulation()->panelSize(), QSize(width, height));
        QCOMPARE(window->view()->sceneRect(), QRectF(0, 0, width, height));
        QCOMPARE(window->view()->transform(), QTransform());
        QTRY_VERIFY(window->view()->viewport()->width() >= width);
        QTRY_VERIFY(window->view()->viewport()->height() >= height);
        window->startChoice()->setCurrentIndex(startAt);
        window->restartAction()->trigger();
        QCOMPARE(window->simulation()->currentScreen(), screen);

        // F5 again raises the window open rather than opening another.
        QCOMPARE(pressF5(), window);
    }

    void f5WithoutBaseScreenOpensNothing()
    {
        ProcessFixture::start(400, 300);
        screen(WindowScreen, QStringLiteral("Popup"));
        m_window->updateActions();
        QVERIFY(!pressF5());
        QVERIFY(simulationWindows().isEmpty());
        QVERIFY(m_window->statusBar()->currentMessage().contains("基本画面"));
    }

    // A bound button, clicked with the mouse on the view: bit 0 of LW 100
    // while the button is held and after, and the label bound to LW 100
    // shows the word. The editor's shapes keep their look.
    void clickOperatesBoundButton_data()
    {
        QTest::addColumn<int>("buttonAction");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("after");
        QTest::newRow("set") << int(Binding::SetBit) << 0 << 1 << 1;
        QTest::newRow("reset") << int(Binding::ResetBit) << 1 << 0 << 0;
        QTest::newRow("toggle on") << int(Binding::ToggleBit) << 0 << 1 << 1;
        QTest::newRow("toggle off") << int(Binding::ToggleBit) << 1 << 0 << 0;
        QTest::newRow("momentary") << int(Binding::Momentary) << 0 << 1 << 0;
    }
    void clickOperatesBoundButton()
    {
        QFETCH(int, buttonAction);
        QFETCH(int, before);
        QFETCH(int, held);
        QFETCH(int, after);
        makeProject(Binding::ActionKind(buttonAction));
        SimulationWindow *window = pressF5();
        QVERIFY(window);
        Simulation *simulation = window->simulation();
        AddressPara bit;
        QVERIFY(simulation->memory()->resolveName("LW_Bit 100_0", &bit));
        QVERIFY(simulation->memory()->write(bit, before));
        QTRY_COMPARE(shownText(simulation, "Shown"), QString::number(before));

        QWidget *viewport = window->view()->viewport();
        const QPoint at = onView(window, "Button");
        mouseclicks::send(viewport, QEvent::MouseButtonPress, at);
        QCOMPARE(number(simulation, "LW_Bit 100_0"), double(held));
        QTRY_COMPARE(shownText(simulation, "Shown"), QString::number(held));
        mouseclicks::send(viewport, QEvent::MouseButtonRelease, at);
        QCOMPARE(number(simulation, "LW_Bit 100_0"), double(after));
        QTRY_COMPARE(shownText(simulation, "Shown"), QString::number(after));

        auto *editorLabel = qobject_cast<GraphicsWidgetItem *>(
            shapeObject(m_main->items(QPointF(30, 110)).value(0)));
        QVERIFY(editorLabel);
        QCOMPARE(editorLabel->text(), QString());
    }

    // A line edit with a value binding takes its value through the modal
    // seam's prompt; a cancelled or refused prompt writes nothing.
    void entryWidgetAsksForValue_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::newRow("typed") << true << "42" << 42.0;
        QTest::newRow("cancelled") << false << "42" << 0.0;
        QTest::newRow("above the maximum") << true << "500" << 0.0;
    }
    void entryWidgetAsksForValue()
    {
        QFETCH(bool, answer);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        makeProject(Binding::SetBit);
        Binding entry = value(QStringLiteral("LW 200"));
        entry.minimum = 0;
        entry.maximum = 100;
        widget(m_main, LineEditKind, QStringLiteral("Entry"), QRect(200, 20, 100, 30), {entry});
        SimulationWindow *window = pressF5();
        QVERIFY(window);
        ModalScript script;
        if (answer)
            script.chooseText(typed);
        mouseclicks::click(window->view()->viewport(), onView(window, "Entry"));
        QCOMPARE(script.requests().size(), 1);
        QCOMPARE(script.requests().first().kind, ModalRequest::TextInput);
        QCOMPARE(number(window->simulation(), "LW 200"), stored);
    }

    // Edits in the editor reach the running window within a second; the
    // registers keep their values and the screen stays.
    // The window follows the screens' histories itself, also without the
    // editor's window (standalone) telling it of edits.
    void editReachesRunningWindow_data()
    {
        QTest::addColumn<bool>("standalone");
        QTest::addColumn<bool>("addShape"); // else rebind the label
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("shown");
        QTest::newRow("label bound elsewhere") << false << false << "Shown" << "9";
        QTest::newRow("shape added") << false << true << "Added" << "7";
        QTest::newRow("standalone, label bound elsewhere") << true << false << "Shown" << "9";
        QTest::newRow("standalone, shape added") << true << true << "Added" << "7";
    }
    void editReachesRunningWindow()
    {
        QFETCH(bool, standalone);
        QFETCH(bool, addShape);
        QFETCH(QString, shape);
        QFETCH(QString, shown);
        makeProject(Binding::SetBit);
        std::unique_ptr<SimulationWindow> own;
        if (standalone) {
            own = std::make_unique<SimulationWindow>();
            QVERIFY(own->start());
        }
        SimulationWindow *window = standalone ? own.get() : pressF5();
        QVERIFY(window);
        Simulation *simulation = window->simulation();
        QVERIFY(simulation->switchScreen("Main"));
        for (const auto &[name, amount] :
             {qMakePair(QString("LW 100"), 7), qMakePair(QString("LW 101"), 9)}) {
            AddressPara para;
            QVERIFY(simulation->memory()->resolveName(name, &para));
            QVERIFY(simulation->memory()->write(para, amount));
        }
        if (addShape) {
            auto *added = new GraphicsWidgetItem(LabelKind, QRect(200, 100, 80, 30));
            added->setObjectName("Added");
            setShapeBindings(added, {value("LW 100")});
            UserOptGroup::instance()->pushFor(m_main, new AddShapeCommand(added, m_main));
        } else {
            QGraphicsItem *label = m_main->items(QPointF(30, 110)).value(0);
            QVERIFY(label);
            UserOptGroup::instance()->pushFor(
                m_main, new SetBindingsCommand(label, {value("LW 101")}));
        }
        QTRY_COMPARE_WITH_TIMEOUT(shownText(simulation, shape), shown, 1000);
        QCOMPARE(simulation->currentScreen(), QString("Main"));
        QCOMPARE(number(simulation, "LW 100"), 7.0);
        QCOMPARE(window->simulation(), simulation);
    }

    // A change of the project's languages, made through the document, reaches
    // the language choice of a window on its own; picking one shows the texts in it.
    void languagesFollowProject()
    {
        makeProject(Binding::SetBit);
        SimulationWindow own;
        QVERIFY(own.start());
        SimulationWindow *window = &own;
        QList<LanguagePara> languages = Config::instance()->languages;
        while (languages.size() < 2)
            languages.append(LanguagePara());
        languages[1].name = "English";
        QVERIFY(ProjectDocument::current()->setLanguages(languages));
        QTRY_COMPARE_WITH_TIMEOUT(window->languageChoice()->count(), 2, 1000);
        QCOMPARE(window->languageChoice()->itemText(1), QString("English"));
        window->languageChoice()->setCurrentIndex(1);
        emit window->languageChoice()->activated(1);
        QCOMPARE(window->simulation()->language(), 1);
    }

    // Closing the window ends the simulation; F5 then starts afresh.
    void closingEndsSimulation()
    {
        makeProject(Binding::SetBit);
        QPointer<SimulationWindow> window = pressF5();
        QVERIFY(window);
        QPointer<Simulation> simulation = window->simulation();
        AddressPara para;
        QVERIFY(simulation->memory()->resolveName("LW 100", &para));
        QVERIFY(simulation->memory()->write(para, 5));
        QVERIFY(window->close());
        QTRY_VERIFY(!window);
        QVERIFY(!simulation);
        SimulationWindow *again = pressF5();
        QVERIFY(again);
        QCOMPARE(number(again->simulation(), "LW 100"), 0.0);
    }

    // What a recording writes replays to the same end values.
    void recordingReplays()
    {
        makeProject(Binding::ToggleBit);
        SimulationWindow *window = pressF5();
        QVERIFY(window);
        QVERIFY(window->simulation()->switchScreen("Main"));
        window->recordAction()->trigger();
        QVERIFY(window->isRecording());
        QWidget *viewport = window->view()->viewport();
        mouseclicks::click(viewport, onView(window, "Button"));
        WatchModel *watch = window->watchPanel()->model();
        QVERIFY(watch->addName("LW 300"));
        QVERIFY(watch->setValue(watch->rowOf("LW 300"), "1234"));
        QTest::qWait(60);
        mouseclicks::click(viewport, onView(window, "Button"));
        mouseclicks::click(viewport, onView(window, "Button"));
        const double bit = number(window->simulation(), "LW_Bit 100_0");
        QCOMPARE(bit, 1.0);

        const QString path = m_dir.filePath("recorded.csv");
        ModalScript script;
        script.chooseText(path);
        window->recordAction()->trigger();
        QVERIFY(!window->isRecording());
        QCOMPARE(script.requests().size(), 1);
        QCOMPARE(script.requests().first().kind, ModalRequest::SaveFile);

        Scenario scenario;
        QString error;
        QVERIFY2(Scenario::read(path, &scenario, &error), qPrintable(error));
        Simulation replay(DrawManager::instance());
        QVERIFY(replay.start("Main"));
        ScenarioRunner runner(&replay);
        const ScenarioRunner::Result result = runner.run(scenario);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(number(&replay, "LW_Bit 100_0"), bit);
        QCOMPARE(number(&replay, "LW 300"), 1234.0);
    }

    void onlineSimulationNeedsPanel_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Chinese") << 0 << "需要连接的操作面板";
        QTest::newRow("English") << 1 << "connected";
    }
    void onlineSimulationNeedsPanel()
    {
        QFETCH(int, language);
        QFETCH(QString, expected);
        makeProject(Binding::SetBit);
        m_window->changeLanguage(language);
        const auto restore = qScopeGuard([this] { m_window->changeLanguage(0); });
        m_window->action(QStringLiteral("onlineSim"))->trigger();
        const QString shown = m_window->statusBar()->currentMessage();
        QVERIFY2(shown.contains(expected), qPrintable(shown));
        QVERIFY(simulationWindows().isEmpty());
    }
};

QTEST_MAIN(TestSimulationWindow)
#include "tst_simulationwindow.moc"
