#pragma once

#include <QObject>

class MainActions;
class QStatusBar;

// The 编译 menu's commands that work with an operator panel: offline and
// online simulation, download and upload. No panel can be connected yet, so
// each says in the status bar that it needs one.
class PanelCommands : public QObject
{
    Q_OBJECT
public:
    // Takes over the four actions of actions; statusBar shows the notes.
    // Neither is owned.
    PanelCommands(MainActions *actions, QStatusBar *statusBar, QObject *parent = nullptr);

public slots:
    // Runs the project on this computer; the one command here that will
    // not need a panel once it is built.
    void simulateOffline();
    void simulateOnline();
    void download();
    void upload();

private:
    // Says in the status bar that the command of action key needs a panel.
    void needsPanel(const QString &key);

    MainActions *m_actions;
    QStatusBar *m_statusBar;
};
