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
#include "formwidgets.h"
#include "projecttree.h"
#include "shapes/graphicsitem.h"
#include "tabcontent.h"
#include "zoombox.h"

#include <QScopedValueRollback>
#include <QStatusBar>

void MainWindow::makeCurrent(QWidget *shown)
{
    auto *view = qobject_cast<DrawView *>(shown);
    DrawScene *scene = view ? view->drawScene() : nullptr;
    DrawManager *screens = DrawManager::instance();
    if (scene == screens->currentScene())
        return;
    screens->setCurrentScene(scene);
    if (view)
        view->applyZoom();
}

void MainWindow::showForm(QObject *form)
{
    showTabContent(m_formWidgets->widgetFor(form));
}

void MainWindow::showTabContent(QWidget *widget)
{
    if (widget) {
        QObject *form = m_formWidgets->formOf(widget);
        m_tabContent->activateWidget(widget);
        m_projectTree->selectForm(form);
        // Looking at a screen changes nothing in the project, its history
        // becoming the active one included.
        const QScopedValueRollback<bool> switching(m_switchingHistory, true);
        UserOptGroup::instance(this)->setActiveForm(form);
    }

    if (auto *view = qobject_cast<DrawView *>(widget)) {
        makeCurrent(view);
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
    QObject *form = m_formWidgets->formOf(shown);
    makeCurrent(shown);
    // The history of a document nobody sees must not be undone blindly.
    {
        const QScopedValueRollback<bool> switching(m_switchingHistory, true);
        UserOptGroup::instance(this)->setActiveForm(form);
    }
    if (form)
        m_projectTree->selectForm(form);
    currentSceneChanged();
    updateActions();
}

void MainWindow::removeForm(QObject *form)
{
    if (!form)
        return;
    UserOptGroup::instance(this)->removeForm(form);
    if (QWidget *widget = m_formWidgets->existingWidget(form))
        m_tabContent->removeTabContent(widget);
    // The form's widget goes with it.
    DrawManager::instance()->removeForm(form);
    showForm(DrawManager::instance()->currentScene());
    setModified(true);
    updateActions();
}

void MainWindow::tabContentTitleChanged(QString title)
{
    Q_UNUSED(title)
    // The tree follows the form's name by itself.
    if (auto *widget = qobject_cast<QWidget *>(sender()))
        m_tabContent->tabTextChanged(widget);
}

void MainWindow::itemSelected()
{
    DrawScene *current = DrawManager::instance()->currentScene();
    DrawView *view = current ? current->view() : nullptr;
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
