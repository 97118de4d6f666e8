#include "panelcommands.h"

#include "mainactions.h"
#include "simulationwindow.h"

#include <QAction>
#include <QStatusBar>

PanelCommands::PanelCommands(MainActions *actions, QStatusBar *statusBar, QObject *parent)
    : QObject(parent)
    , m_actions(actions)
    , m_statusBar(statusBar)
{
    connect(actions->action(QStringLiteral("offlineSim")), &QAction::triggered, this,
            &PanelCommands::simulateOffline);
    connect(actions->action(QStringLiteral("onlineSim")), &QAction::triggered, this,
            &PanelCommands::simulateOnline);
    connect(actions->action(QStringLiteral("download")), &QAction::triggered, this,
            &PanelCommands::download);
    connect(actions->action(QStringLiteral("upload")), &QAction::triggered, this,
            &PanelCommands::upload);
}

void PanelCommands::simulateOffline()
{
    if (m_simulationWindow) {
        m_simulationWindow->showNormal();
        m_simulationWindow->raise();
        m_simulationWindow->activateWindow();
        return;
    }
    // A child of the editor's window, so that it closes with it.
    auto *window = new SimulationWindow(m_statusBar->window());
    QString error;
    if (!window->start(&error)) {
        delete window;
        m_statusBar->showMessage(error, 5000);
        return;
    }
    window->show();
    m_simulationWindow = window;
}

void PanelCommands::projectEdited()
{
    if (m_simulationWindow)
        m_simulationWindow->projectEdited();
}

void PanelCommands::simulateOnline()
{
    needsPanel(QStringLiteral("onlineSim"));
}

void PanelCommands::download()
{
    needsPanel(QStringLiteral("download"));
}

void PanelCommands::upload()
{
    needsPanel(QStringLiteral("upload"));
}

void PanelCommands::needsPanel(const QString &key)
{
    m_statusBar->showMessage(
        tr("“%1”需要连接的操作面板，当前没有连接。").arg(m_actions->action(key)->iconText()), 5000);
}
