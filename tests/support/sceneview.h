#pragma once

#include "editor/drawscene.h"
#include "editor/drawview.h"

#include <QObject>

// A view for a screen made without the window, as the window makes one when
// the screen is shown, for tests that click on it or paint it. The scene's
// view, if it has one, is reused; a view made here goes with its scene.
inline DrawView *viewForScene(DrawScene *scene)
{
    if (DrawView *view = scene->view())
        return view;
    auto *view = new DrawView(scene);
    view->setWindowTitle(scene->objectName());
    scene->setView(view);
    QObject::connect(scene, &QObject::destroyed, view, [view] { delete view; });
    return view;
}
