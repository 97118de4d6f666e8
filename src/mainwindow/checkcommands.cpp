// MainWindow's 编译 and 查找 docks, and opening the place a line of either
// names.

#include "mainwindow.h"

#include "checkpanel.h"
#include "dockmanager.h"
#include "document/drawmanager.h"
#include "document/projectsearch.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "findpanel.h"
#include "formwidgets.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "services/modalseam.h"

#include <QDebug>
#include <QDockWidget>
#include <QGraphicsItem>
#include <QTabBar>
#include <QTextBrowser>

void MainWindow::on_build()
{
    qDebug() << "build";
    m_checkPanel->run();
    showOutputDock(m_checkPanel);
}

void MainWindow::on_find()
{
    if (m_findPanel->run())
        showOutputDock(m_findPanel);
}

void MainWindow::showOutputDock(QTextBrowser *browser)
{
    auto *dock = qobject_cast<QDockWidget *>(browser->parentWidget());
    if (!dock)
        return;
    m_dockManager->reorderDockWidget(m_dockManager->tabBar(Qt::BottomDockWidgetArea), dock, true);
}

void MainWindow::openPlace(const ProjectPlace &place)
{
    switch (place.kind) {
    case ProjectPlace::Screen:
    case ProjectPlace::Shape:
        selectShapeAt(place);
        return;
    case ProjectPlace::AddressTag:
        m_addressLibDialog->selectRow(false, place.index);
        ModalSeam::runDialog(m_addressLibDialog, [this] { m_addressLibDialog->on_ok_clicked(); },
                             [this] { m_addressLibDialog->on_cancel_clicked(); });
        return;
    case ProjectPlace::TextTag:
        m_textLibDialog->selectTag(place.index, place.name);
        ModalSeam::runDialog(m_textLibDialog, [this] { m_textLibDialog->on_ok_clicked(); },
                             [this] { m_textLibDialog->on_cancel_clicked(); });
        return;
    case ProjectPlace::Device:
        m_projectConfigDialog->runOnPage(ProjectConfigDialog::DevicePage, place.index);
        return;
    case ProjectPlace::Language:
        m_projectConfigDialog->runOnPage(ProjectConfigDialog::LanguagePage);
        return;
    case ProjectPlace::Project:
        m_projectConfigDialog->runOnPage(ProjectConfigDialog::InfoPage);
        return;
    }
}

void MainWindow::selectShapeAt(const ProjectPlace &place)
{
    // By position first: names may repeat, which is what some findings are
    // about. A position that now holds another name (the project changed
    // since) gives way to the first of that name.
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    DrawScene *scene = nullptr;
    if (place.screenIndex >= 0 && place.screenIndex < scenes.size()
        && scenes.at(place.screenIndex)->objectName() == place.screen)
        scene = scenes.at(place.screenIndex);
    for (int i = 0; !scene && i < scenes.size(); ++i) {
        if (scenes.at(i)->objectName() == place.screen)
            scene = scenes.at(i);
    }
    auto *view = qobject_cast<DrawView *>(m_formWidgets->widgetFor(scene));
    if (!view)
        return;
    showTabContent(view);
    if (place.kind != ProjectPlace::Shape)
        return;

    const QList<QGraphicsItem *> items = scene->userItems();
    QGraphicsItem *item = nullptr;
    if (place.index >= 0 && place.index < items.size()
        && ProjectSearch::shapeName(items.at(place.index)) == place.shape)
        item = items.at(place.index);
    for (int i = 0; !item && i < items.size(); ++i) {
        if (ProjectSearch::shapeName(items.at(i)) == place.shape)
            item = items.at(i);
    }
    if (!item)
        return;
    // Members of a group are edited through their group.
    item = item->topLevelItem();
    scene->clearSelection();
    item->setSelected(true);
    view->ensureVisible(item);
}
