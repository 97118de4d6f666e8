#pragma once

#include <QObject>
#include <QPointer>

class DrawScene;
class DrawView;

// The screens and scripts of the open project and which of them is current.
// One instance per process, created on first use.
class DrawManager : public QObject
{
    Q_OBJECT
public:
    static DrawManager *instance();

    // The current screen and its view; null when no screen is current.
    DrawScene *currentScene() const;
    DrawView *currentView() const;
    void setCurrentView(DrawView *view);

private:
    DrawManager() = default;

    QPointer<DrawView> m_currentView;
};
