#include "simulationwindow.h"

#include "simulationview.h"
#include "watchmodel.h"
#include "watchpanel.h"

#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "editor/useroptgroup.h"
#include "model/config.h"
#include "services/filedialog.h"
#include "simulation/scenario.h"
#include "simulation/scenariorecorder.h"
#include "simulation/simulation.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

SimulationWindow::SimulationWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_view(new SimulationView(this))
    , m_watch(new WatchPanel(this))
    , m_watchDock(new QDockWidget(this))
{
    setObjectName(QStringLiteral("simulationWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setCentralWidget(m_view);
    m_watchDock->setObjectName(QStringLiteral("watchDock"));
    m_watchDock->setWidget(m_watch);
    m_watchDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::BottomDockWidgetArea, m_watchDock);
    buildTools();
    statusBar();

    connect(m_view, &SimulationView::message, this, &SimulationWindow::showMessage);

    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(ReloadDelayMsec);
    connect(&m_reloadTimer, &QTimer::timeout, this, &SimulationWindow::reload);
    m_blinkTimer.setInterval(BlinkMsec);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] {
        if (m_simulation)
            m_simulation->setBlinkPhase(!m_simulation->blinkPhase());
    });

    // Every edit of a screen is a step on a screen's history; every change
    // of the project's data is one on the document's and announces itself.
    connect(UserOptGroup::instance(), &UserOptGroup::historyChanged, this,
            &SimulationWindow::projectEdited);
    retranslate();
}

SimulationWindow::~SimulationWindow()
{
    // The watch table and the view hold the simulation's memory and stage.
    m_watch->setSimulation(nullptr);
    m_view->setSimulation(nullptr);
}

void SimulationWindow::buildTools()
{
    QToolBar *tools = addToolBar(QString());
    tools->setObjectName(QStringLiteral("simulationTools"));
    tools->setMovable(false);
    m_startChoice = new QComboBox(tools);
    m_startChoice->addItems({QString(), QString()});
    tools->addWidget(m_startChoice);
    m_restartAction = tools->addAction(QString(), this, [this] {
        QString error;
        if (!start(&error))
            showMessage(error);
    });
    tools->addSeparator();
    m_languageChoice = new QComboBox(tools);
    tools->addWidget(m_languageChoice);
    tools->addSeparator();
    m_recordAction = tools->addAction(QString());
    m_recordAction->setCheckable(true);
    connect(m_recordAction, &QAction::triggered, this, [this](bool on) {
        if (on)
            startRecording();
        else
            stopRecording();
    });
    connect(m_startChoice, QOverload<int>::of(&QComboBox::activated), this, [this] {
        QString error;
        if (!start(&error))
            showMessage(error);
    });
    connect(m_languageChoice, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        if (m_simulation)
            m_simulation->setLanguage(index);
    });
}

bool SimulationWindow::start(QString *error)
{
    if (isRecording())
        stopRecording();
    m_reloadTimer.stop();
    m_blinkTimer.stop();
    m_watch->setSimulation(nullptr);
    m_view->setSimulation(nullptr);
    delete m_simulation;
    m_simulation = nullptr;

    m_screens = DrawManager::instance();
    followDocument();
    auto *simulation = new Simulation(m_screens, this);
    QString base;
    QString window;
    startScreens(&base, &window);
    if (!simulation->start(base) && !simulation->start()) {
        delete simulation;
        if (error)
            *error = tr("工程没有基本画面，无法仿真。");
        updateTitle();
        return false;
    }
    if (!window.isEmpty())
        simulation->openWindow(window);
    m_simulation = simulation;
    connect(simulation, &Simulation::screenChanged, this, &SimulationWindow::updateTitle);
    fillLanguages();
    m_view->setSimulation(simulation);
    m_watch->setSimulation(simulation);
    simulation->setBlinkPhase(true);
    m_blinkTimer.start();
    updateTitle();
    fitToPanel();
    return true;
}

void SimulationWindow::followDocument()
{
    for (const QMetaObject::Connection &connection : qAsConst(m_documentConnections))
        disconnect(connection);
    m_documentConnections.clear();
    ProjectDocument *document = ProjectDocument::current();
    for (auto changed : {&ProjectDocument::settingsChanged, &ProjectDocument::languagesChanged,
                         &ProjectDocument::devicesChanged, &ProjectDocument::textTagsChanged,
                         &ProjectDocument::addressTagsChanged})
        m_documentConnections << connect(document, changed, this, &SimulationWindow::projectEdited);
}

void SimulationWindow::fitToPanel()
{
    // The panel shows whole at scale 1 as far as the screen allows, the
    // watch dock taking what is left; a larger panel scrolls.
    const QRect available = (screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768));
    const QSize room = available.size() - QSize(MinimumDockRoom, MinimumDockRoom);
    m_view->setMinimumSize(m_view->sizeHint().boundedTo(room).expandedTo(QSize(100, 100)));
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(sizeHint().expandedTo(size()).boundedTo(available.size() - frame));
}

void SimulationWindow::startScreens(QString *base, QString *window) const
{
    if (m_startChoice->currentIndex() != EditedScreen)
        return;
    const DrawScene *scene = DrawManager::instance()->currentScene();
    if (!scene)
        return;
    if (scene->type() == BaseScreen)
        *base = scene->objectName();
    else if (scene->type() == WindowScreen)
        *window = scene->objectName();
}

void SimulationWindow::projectEdited()
{
    if (m_simulation)
        m_reloadTimer.start();
}

void SimulationWindow::reload()
{
    m_reloadTimer.stop();
    if (!m_simulation)
        return;
    if (DrawManager::instance() != m_screens) {
        // Another project: nothing of the one running still holds.
        QString error;
        if (!start(&error))
            showMessage(error);
        return;
    }
    m_view->detach();
    m_simulation->reload(m_screens);
    if (m_simulation->currentScreen().isEmpty() && !m_simulation->start())
        showMessage(tr("工程没有基本画面，无法仿真。"));
    m_view->reattach();
    fillLanguages();
    m_watch->followScreens();
    updateTitle();
}

void SimulationWindow::startRecording()
{
    if (!m_simulation || isRecording())
        return;
    m_recorder = std::make_unique<ScenarioRecorder>(m_simulation);
    connect(m_watch->model(), &WatchModel::valueSet, m_recorder.get(),
            &ScenarioRecorder::recordSet);
    m_recordAction->setChecked(true);
    showMessage(tr("正在录制操作。"));
}

bool SimulationWindow::stopRecording()
{
    if (!isRecording())
        return false;
    const std::unique_ptr<ScenarioRecorder> recorder = std::move(m_recorder);
    m_recordAction->setChecked(false);
    recorder->disconnect();
    const Scenario scenario
        = recorder->finish(m_watch->model() ? m_watch->model()->names() : QStringList());
    const QString path = FileDialog::getSaveFileName(this, tr("保存仿真场景"), QString(),
                                                     tr("仿真场景 (*.csv)"));
    if (path.isEmpty()) {
        showMessage(tr("录制的操作未保存。"));
        return false;
    }
    QString error;
    if (!scenario.write(path, &error)) {
        showMessage(tr("无法保存“%1”：%2").arg(path, error));
        return false;
    }
    showMessage(tr("已保存仿真场景“%1”。").arg(path));
    return true;
}

void SimulationWindow::closeEvent(QCloseEvent *event)
{
    // A recording in progress goes with the window, unsaved: the operator
    // closed it rather than stopping.
    m_recorder.reset();
    m_reloadTimer.stop();
    m_blinkTimer.stop();
    m_watch->pause();
    QMainWindow::closeEvent(event);
}

void SimulationWindow::fillLanguages()
{
    const QList<LanguagePara> &languages = Config::instance()->languages;
    QStringList names;
    for (int i = 0; i < languages.size(); ++i)
        names << (languages.at(i).name.isEmpty() ? tr("语言%1").arg(i + 1) : languages.at(i).name);
    QStringList shown;
    for (int i = 0; i < m_languageChoice->count(); ++i)
        shown << m_languageChoice->itemText(i);
    if (shown != names) {
        m_languageChoice->clear();
        m_languageChoice->addItems(names);
    }
    if (m_simulation)
        m_languageChoice->setCurrentIndex(m_simulation->language());
    m_languageChoice->setEnabled(names.size() > 1);
}

void SimulationWindow::showMessage(const QString &text)
{
    statusBar()->showMessage(text, 5000);
}

void SimulationWindow::updateTitle()
{
    const QString screen = m_simulation ? m_simulation->currentScreen() : QString();
    setWindowTitle(screen.isEmpty() ? tr("离线仿真") : tr("离线仿真 - %1").arg(screen));
}

void SimulationWindow::retranslate()
{
    m_startChoice->setItemText(FirstBaseScreen, tr("从第一个基本画面开始"));
    m_startChoice->setItemText(EditedScreen, tr("从正在编辑的画面开始"));
    m_restartAction->setText(tr("重新开始"));
    m_restartAction->setToolTip(tr("重新开始仿真，寄存器清零"));
    m_recordAction->setText(tr("录制"));
    m_recordAction->setToolTip(tr("录制操作，停止时保存为仿真场景"));
    m_languageChoice->setToolTip(tr("显示语言"));
    m_watchDock->setWindowTitle(tr("监视"));
    updateTitle();
}
