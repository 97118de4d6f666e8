#include "drawmanager.h"

#include "editor/drawscene.h"
#include "editor/drawview.h"

DrawManager *DrawManager::instance()
{
    static DrawManager *manager = new DrawManager;
    return manager;
}

DrawScene *DrawManager::currentScene() const
{
    return m_currentView ? m_currentView->drawScene() : nullptr;
}

DrawView *DrawManager::currentView() const
{
    return m_currentView;
}

void DrawManager::setCurrentView(DrawView *view)
{
    m_currentView = view;
}
