#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QVector>

#include <memory>

class DrawManager;
class QAction;
class QComboBox;
class QDockWidget;
class ScenarioRecorder;
class Simulation;
class SimulationView;
class WatchPanel;

// The offline simulation's window: the project as it is in the editor,
// saved or not, running at the panel's size, with the watch dock beside it.
// Edits made in the editor while it runs reach it within a second, the
// registers keeping their values. The editor's screens are only read.
//
// A child of the editor's window so that it goes with it, but a window of
// its own; it deletes itself when closed.
class SimulationWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum StartAt { FirstBaseScreen, EditedScreen };
    // How long edits are gathered before the simulation copies the screens.
    static constexpr int ReloadDelayMsec = 300;
    static constexpr int BlinkMsec = 500;
    // What the view leaves of the screen for the tools and the watch dock.
    static constexpr int MinimumDockRoom = 240;

    explicit SimulationWindow(QWidget *parent = nullptr);
    ~SimulationWindow() override;

    // Runs the project of DrawManager::instance() from the screen the start
    // choice names; a running simulation is dropped, registers and all.
    // False with the reason when the project has no base screen.
    bool start(QString *error = nullptr);

    Simulation *simulation() const { return m_simulation; }
    SimulationView *view() const { return m_view; }
    WatchPanel *watchPanel() const { return m_watch; }
    QComboBox *startChoice() const { return m_startChoice; }
    QComboBox *languageChoice() const { return m_languageChoice; }
    QAction *restartAction() const { return m_restartAction; }
    QAction *recordAction() const { return m_recordAction; }
    bool isRecording() const { return m_recorder != nullptr; }

public slots:
    // Something in the project changed: the simulation copies it again
    // once the edits pause (ReloadDelayMsec).
    void projectEdited();
    // Copies the project now, keeping registers, screen and windows.
    void reload();
    // Starts recording operator input and watch-table entries.
    void startRecording();
    // Stops recording and asks where to write the scenario; false when
    // nothing was written.
    bool stopRecording();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildTools();
    void fillLanguages();
    void fitToPanel();
    // Changes of the current project's data reach the simulation.
    void followDocument();
    // The base screen to start at (empty: the first) and a window screen
    // to open over it.
    void startScreens(QString *base, QString *window) const;
    void showMessage(const QString &text);
    void retranslate();
    void updateTitle();

    Simulation *m_simulation = nullptr; // child
    QPointer<DrawManager> m_screens;
    SimulationView *m_view;
    WatchPanel *m_watch;
    QDockWidget *m_watchDock;
    QComboBox *m_startChoice = nullptr;
    QComboBox *m_languageChoice = nullptr;
    QAction *m_restartAction = nullptr;
    QAction *m_recordAction = nullptr;
    QTimer m_reloadTimer;
    QTimer m_blinkTimer;
    std::unique_ptr<ScenarioRecorder> m_recorder;
    QVector<QMetaObject::Connection> m_documentConnections;
};
