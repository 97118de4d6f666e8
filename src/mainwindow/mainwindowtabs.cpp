// MainWindow's routing between the tab area, the project tree and the
// current screen: which screen is edited, and what its signals reach.

#include "mainwindow.h"

#include "document/drawmanager.h"
#include "editcommands.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/toolboxform.h"
#include "editor/useroptgroup.h"
#include "projecttree.h"
#include "shapes/graphicsitem.h"
#include "tabcontent.h"
#include "zoombox.h"

#include <QScopedValueRollback>
#include <QStatusBar>

void MainWindow::showTabContent(QWidget *widget)
{
    if (widget) {
        m_tabContent->activateWidget(widget);
        m_projectTree->selectForm(widget);
        // Looking at a screen changes nothing in the project, its history
        // becoming the active one included.
        const QScopedValueRollback<bool> switching(m_switchingHistory, true);
        UserOptGroup::instance(this)->setActiveForm(widget);
    }

    if (auto *view = qobject_cast<DrawView *>(widget)) {
        DrawManager::instance()->setCurrentView(view);
        currentSceneChanged();
        if (DrawScene *scene = view->drawScene()) {
            connect(scene, &QGraphicsScene::selectionChanged, this, &MainWindow::itemSelected,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemAdded, m_editCommands, &EditCommands::itemAdded,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemMoved, m_editCommands, &EditCommands::itemMoved,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemRotate, m_editCommands, &EditCommands::itemRotate,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemResize, m_editCommands, &EditCommands::itemResize,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemControl, m_editCommands, &EditCommands::itemControl,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemDoubleClicked, this, &MainWindow::on_property,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::currentViewChanged, this, &MainWindow::showTabContent,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::currentToolChanged, m_toolBox,
                    &ToolBoxForm::showCurrentTool, Qt::UniqueConnection);
            connect(scene, &DrawScene::statusMessage, this, &MainWindow::showSceneMessage,
                    Qt::UniqueConnection);
        }
        connect(view, &QWidget::windowTitleChanged, this, &MainWindow::tabContentTitleChanged,
                Qt::UniqueConnection);
        connect(view, &DrawView::zoomIn, m_zoomBox, &ZoomBox::zoomIn, Qt::UniqueConnection);
        connect(view, &DrawView::zoomOut, m_zoomBox, &ZoomBox::zoomOut, Qt::UniqueConnection);
        connect(view, &DrawView::positionChanged, this, &MainWindow::setPosition,
                Qt::UniqueConnection);
    } else if (auto *editor = qobject_cast<CodeEditor *>(widget)) {
        connect(editor, &CodeEditor::modificationChanged, this, &MainWindow::setModified,
                Qt::UniqueConnection);
    }
    updateActions();
}

void MainWindow::followShownTab()
{
    QWidget *shown = m_tabContent->currentWidget();
    DrawManager::instance()->setCurrentView(qobject_cast<DrawView *>(shown));
    // The history of a document nobody sees must not be undone blindly.
    {
        const QScopedValueRollback<bool> switching(m_switchingHistory, true);
        UserOptGroup::instance(this)->setActiveForm(shown);
    }
    if (shown)
        m_projectTree->selectForm(shown);
    currentSceneChanged();
    updateActions();
}

void MainWindow::removeTabContent(QWidget *widget)
{
    if (!widget)
        return;
    UserOptGroup::instance(this)->removeForm(widget);
    m_tabContent->removeTabContent(widget);
    DrawManager::instance()->removeForm(widget);
    showTabContent(DrawManager::instance()->currentView());
    setModified(true);
    updateActions();
}

void MainWindow::tabContentTitleChanged(QString title)
{
    auto *widget = qobject_cast<QWidget *>(sender());
    if (!widget)
        return;
    m_tabContent->tabTextChanged(widget);
    m_projectTree->renameForm(widget, title);
}

void MainWindow::itemSelected()
{
    DrawView *view = DrawManager::instance()->currentView();
    if (!view || !view->updatesEnabled())
        return;
    QGraphicsItem *last = nullptr;
    if (DrawScene *scene = DrawManager::instance()->currentScene()) {
        const QList<QGraphicsItem *> selected = scene->selectedItems();
        if (!selected.isEmpty())
            last = selected.last();
    }
    const bool plainShape = last && last->type() == ShapeItemType;
    currentItemChanged(nullptr);
    updateActions();
    m_toolBox->setToolsEnabled(plainShape);
}

void MainWindow::userDrawShape(int shape)
{
    Q_UNUSED(shape)
    if (DrawScene *scene = DrawManager::instance()->currentScene())
        scene->clearSelection();
}

void MainWindow::showSceneMessage(const QString &text)
{
    statusBar()->showMessage(text, 5000);
}
