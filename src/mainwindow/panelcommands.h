#pragma once

#include <QObject>
#include <QPointer>

class MainActions;
class QStatusBar;
class SimulationWindow;

// The 编译 menu's commands that work with an operator panel: offline and
// online simulation, download and upload. Offline simulation runs the
// project in a window of its own; no panel can be connected yet, so each
// of the others says in the status bar that it needs one.
class PanelCommands : public QObject
{
    Q_OBJECT
public:
    // Takes over the four actions of actions; statusBar shows the notes.
    // Neither is owned.
    PanelCommands(MainActions *actions, QStatusBar *statusBar, QObject *parent = nullptr);

public slots:
    // Runs the project on this computer in the simulation window, or
    // raises the one open.
    void simulateOffline();
    void simulateOnline();
    void download();
    void upload();
    // Something in the project changed: the open simulation follows.
    void projectEdited();

private:
    // Says in the status bar that the command of action key needs a panel.
    void needsPanel(const QString &key);

    MainActions *m_actions;
    QStatusBar *m_statusBar;
    QPointer<SimulationWindow> m_simulationWindow;
};
