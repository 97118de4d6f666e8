// MainWindow's routing of the editing commands: the tab area and the current
// screen, the scene's gesture signals turned into undo commands, clipboard
// and arrangement.

#include "mainwindow.h"

#include "document/drawmanager.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/shapecommands.h"
#include "editor/shapemimedata.h"
#include "editor/toolboxform.h"
#include "editor/useroptgroup.h"
#include "itemstable.h"
#include "panels/property/propertydialog.h"
#include "projecttree.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"
#include "tabcontent.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QScopedValueRollback>
#include <QStatusBar>

#include <memory>

namespace {

DrawScene *currentScene()
{
    return DrawManager::instance()->currentScene();
}

QGraphicsItem *firstSelected(DrawScene *scene)
{
    if (!scene)
        return nullptr;
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

} // namespace

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
            connect(scene, &DrawScene::itemAdded, this, &MainWindow::itemAdded,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemMoved, this, &MainWindow::itemMoved,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemRotate, this, &MainWindow::itemRotate,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemResize, this, &MainWindow::itemResize,
                    Qt::UniqueConnection);
            connect(scene, &DrawScene::itemControl, this, &MainWindow::itemControl,
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
        connect(view, &DrawView::zoomIn, this, &MainWindow::zoomIn, Qt::UniqueConnection);
        connect(view, &DrawView::zoomOut, this, &MainWindow::zoomOut, Qt::UniqueConnection);
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
    if (DrawScene *scene = currentScene()) {
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
    if (DrawScene *scene = currentScene())
        scene->clearSelection();
}

void MainWindow::pushCommand(QUndoCommand *command)
{
    UserOptGroup::instance(this)->push(command, true);
    setModified(true);
}

void MainWindow::itemAdded(QGraphicsItem *item)
{
    DrawScene *scene = currentScene();
    if (!scene || !item)
        return;
    scene->assignItemName(item);
    pushCommand(new AddShapeCommand(item, scene, nullptr));
    m_itemsTable->fill(scene);
}

void MainWindow::itemMoved(QGraphicsItem *item, QPointF oldPosition)
{
    DrawScene *scene = currentScene();
    if (!scene)
        return;
    if (item && m_gatheringCommand)
        new MoveShapeCommand(item, oldPosition, m_gatheringCommand);
    else if (item)
        pushCommand(new MoveShapeCommand(item, oldPosition, nullptr));
    else
        pushCommand(new MoveShapeCommand(scene, oldPosition, nullptr));
    itemSelected();
}

void MainWindow::itemRotate(QGraphicsItem *item, qreal oldAngle)
{
    pushCommand(new RotateShapeCommand(item, oldAngle, nullptr));
}

void MainWindow::itemResize(QGraphicsItem *item, int handle, QPointF scale, int oppositeHandle,
                            QPointF fixedPoint)
{
    auto *command = new ResizeShapeCommand(item, handle, scale, m_gatheringCommand);
    command->setOppositeHandle(oppositeHandle);
    command->setFixedPoint(fixedPoint);
    if (!m_gatheringCommand)
        pushCommand(command);
}

void MainWindow::itemControl(QGraphicsItem *item, int handle, QPointF newPos, QPointF lastPos_)
{
    pushCommand(new ControlShapeCommand(item, handle, newPos, lastPos_, nullptr));
}

void MainWindow::showSceneMessage(const QString &text)
{
    statusBar()->showMessage(text, 5000);
}

void MainWindow::on_aglin_triggered()
{
    DrawScene *scene = currentScene();
    auto *action = qobject_cast<QAction *>(sender());
    if (!scene || !action)
        return;
    static const QHash<QString, DrawScene::Alignment> codes
        = {{QStringLiteral("align_top"), DrawScene::AlignTop},
           {QStringLiteral("align_hcenter"), DrawScene::AlignHCenter},
           {QStringLiteral("align_vcenter"), DrawScene::AlignVCenter},
           {QStringLiteral("align_bottom"), DrawScene::AlignBottom},
           {QStringLiteral("align_left"), DrawScene::AlignLeft},
           {QStringLiteral("align_right"), DrawScene::AlignRight},
           {QStringLiteral("align_horzeven"), DrawScene::DistributeHorizontally},
           {QStringLiteral("align_verteven"), DrawScene::DistributeVertically},
           {QStringLiteral("align_width"), DrawScene::SameWidth},
           {QStringLiteral("align_height"), DrawScene::SameHeight},
           {QStringLiteral("align_all"), DrawScene::SameSize}};
    const auto code = codes.constFind(action->objectName());
    if (code == codes.constEnd())
        return;
    // One command is one undo step however many shapes it moves: the undo
    // history holds only so many entries, and a step per shape would push
    // the start of a large alignment out of reach.
    auto gathered = std::make_unique<QUndoCommand>(action->text());
    {
        const QScopedValueRollback<QUndoCommand *> gathering(m_gatheringCommand, gathered.get());
        scene->alignItems(code.value());
    }
    if (gathered->childCount() > 0)
        pushCommand(gathered.release());
}

void MainWindow::on_copy()
{
    DrawScene *scene = currentScene();
    if (!scene)
        return;
    QApplication::clipboard()->setMimeData(new ShapeMimeData(scene->selectedItems()));
}

void MainWindow::on_cut()
{
    DrawScene *scene = currentScene();
    if (!scene || scene->selectedItems().isEmpty())
        return;
    // The payload holds its own copies; the originals go through an undoable
    // removal, so undo brings them back while the clipboard keeps the copies.
    auto *payload = new ShapeMimeData(scene->selectedItems());
    if (payload->items().isEmpty()) {
        delete payload;
        return;
    }
    pushCommand(new RemoveShapeCommand(scene, nullptr));
    QApplication::clipboard()->setMimeData(payload);
    m_itemsTable->fill(scene);
}

void MainWindow::on_paste()
{
    DrawScene *scene = currentScene();
    if (!scene)
        return;
    const auto *payload = qobject_cast<const ShapeMimeData *>(QApplication::clipboard()->mimeData());
    if (!payload)
        return;
    scene->clearSelection();
    QList<QGraphicsItem *> pasted;
    for (QGraphicsItem *item : payload->items()) {
        QGraphicsItem *copy = nullptr;
        if (auto *shape = singleShape(item))
            copy = shape->clone();
        else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
            copy = group->clone();
        if (!copy)
            continue;
        scene->assignItemName(copy);
        copy->setPos(copy->pos() + QPointF(10, 10));
        pasted.append(copy);
    }
    if (pasted.isEmpty())
        return;
    pushCommand(new AddShapeCommand(pasted, scene, nullptr));
    for (QGraphicsItem *copy : qAsConst(pasted))
        copy->setSelected(true);
    m_itemsTable->fill(scene);
}

void MainWindow::on_delete()
{
    DrawScene *scene = currentScene();
    if (!scene || scene->selectedItems().isEmpty())
        return;
    pushCommand(new RemoveShapeCommand(scene, nullptr));
    m_itemsTable->fill(scene);
}

void MainWindow::restack(void (DrawScene::*operation)(QGraphicsItem *), const char *text)
{
    DrawScene *scene = currentScene();
    QGraphicsItem *item = firstSelected(scene);
    if (!item)
        return;
    auto command = std::make_unique<StackOrderCommand>(scene, QString());
    command->setTextSource([text] { return tr(text); });
    (scene->*operation)(item);
    if (command->recordNewOrder())
        pushCommand(command.release());
}

void MainWindow::on_toPrev_triggered()
{
    restack(&DrawScene::moveForward, QT_TR_NOOP("上移一层"));
}

void MainWindow::on_toNext_triggered()
{
    restack(&DrawScene::moveBackward, QT_TR_NOOP("下移一层"));
}

void MainWindow::on_toFront_triggered()
{
    restack(&DrawScene::bringToFront, QT_TR_NOOP("置于顶层"));
}

void MainWindow::on_toBack_triggered()
{
    restack(&DrawScene::sendToBack, QT_TR_NOOP("置于底层"));
}

void MainWindow::on_group_triggered()
{
    DrawScene *scene = currentScene();
    if (!scene || scene->selectedItems().size() < 2
        || scene->refuseTooDeepGroup(scene->selectedItems()))
        return;
    setModified(true);
    GraphicsItemGroup *group = scene->createGroup(scene->selectedItems(), true);
    pushCommand(new GroupShapeCommand(group, scene, nullptr));
    m_itemsTable->fill(scene);
}

void MainWindow::on_unGroup_triggered()
{
    DrawScene *scene = currentScene();
    auto *group = dynamic_cast<GraphicsItemGroup *>(firstSelected(scene));
    if (!group)
        return;
    setModified(true);
    pushCommand(new UnGroupShapeCommand(group, scene, nullptr));
    m_itemsTable->fill(scene);
}
