#include "editcommands.h"

#include "document/drawmanager.h"
#include "document/picturefiles.h"
#include "editor/drawscene.h"
#include "editor/shapecommands.h"
#include "editor/shapemimedata.h"
#include "editor/stackingorder.h"
#include "editor/useroptgroup.h"
#include "itemstable.h"
#include "mainwindow.h"
#include "model/config.h"
#include "services/messagedialog.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"

#include <QApplication>
#include <QClipboard>
#include <QScopedValueRollback>

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

namespace {

// A copy is named by the screen it lands in, members of a copied group too:
// clone() leaves names out, and scripts and the check know shapes by name.
void nameCopy(DrawScene *scene, QGraphicsItem *copy)
{
    scene->assignItemName(copy);
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(copy)) {
        for (QGraphicsItem *member : group->members())
            nameCopy(scene, member);
    }
}

} // namespace

EditCommands::EditCommands(MainWindow *window)
    : QObject(window)
    , m_window(window)
{
}

void EditCommands::pushCommand(QUndoCommand *command)
{
    UserOptGroup::instance(m_window)->push(command, true);
    m_window->setModified(true);
}

void EditCommands::itemAdded(QGraphicsItem *item)
{
    DrawScene *scene = currentScene();
    if (!scene || !item)
        return;
    scene->assignItemName(item);
    pushCommand(new AddShapeCommand(item, scene, nullptr));
    m_window->itemsTable()->fill(scene);
}

void EditCommands::itemMoved(QGraphicsItem *item, QPointF oldPosition)
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
    m_window->itemSelected();
}

void EditCommands::itemRotate(QGraphicsItem *item, qreal oldAngle)
{
    pushCommand(new RotateShapeCommand(item, oldAngle, nullptr));
}

void EditCommands::itemResize(QGraphicsItem *item, int handle, QPointF scale, int oppositeHandle,
                            QPointF fixedPoint)
{
    auto *command = new ResizeShapeCommand(item, handle, scale, m_gatheringCommand);
    command->setOppositeHandle(oppositeHandle);
    command->setFixedPoint(fixedPoint);
    if (!m_gatheringCommand)
        pushCommand(command);
}

void EditCommands::itemControl(QGraphicsItem *item, int handle, QPointF newPos, QPointF lastPos)
{
    pushCommand(new ControlShapeCommand(item, handle, newPos, lastPos, nullptr));
}

void EditCommands::align(const QString &key, const QString &text)
{
    DrawScene *scene = currentScene();
    if (!scene)
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
    const auto code = codes.constFind(key);
    if (code == codes.constEnd())
        return;
    // One command is one undo step however many shapes it moves: the undo
    // history holds only so many entries, and a step per shape would push
    // the start of a large alignment out of reach.
    auto gathered = std::make_unique<QUndoCommand>(text);
    {
        const QScopedValueRollback<QUndoCommand *> gathering(m_gatheringCommand, gathered.get());
        scene->alignItems(code.value());
    }
    if (gathered->childCount() > 0)
        pushCommand(gathered.release());
}

void EditCommands::copy()
{
    DrawScene *scene = currentScene();
    if (!scene)
        return;
    QApplication::clipboard()->setMimeData(new ShapeMimeData(scene->selectedItems()));
}

void EditCommands::cut()
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
    m_window->itemsTable()->fill(scene);
}

void EditCommands::paste()
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
        nameCopy(scene, copy);
        copy->setPos(copy->pos() + QPointF(10, 10));
        pasted.append(copy);
    }
    if (pasted.isEmpty())
        return;
    // Pictures are named relative to their project's folder: copies taken
    // from another project would name files this one does not hold. The
    // files copied stay when the paste is undone, as an imported one does.
    QStringList failures;
    PictureFiles::adoptPictures(pasted, payload->sourceFolder(),
                                Config::instance()->pictureFolder(), &failures);
    if (!failures.isEmpty())
        MessageDialog::showMessage(m_window, QMessageBox::Warning, tr("粘贴"),
                                   tr("图片没有复制到本工程，粘贴的图形仍指向原来的文件：\n%1")
                                       .arg(failures.join(QLatin1Char('\n'))),
                                   {tr("确定")});
    pushCommand(new AddShapeCommand(pasted, scene, nullptr));
    for (QGraphicsItem *copy : qAsConst(pasted))
        copy->setSelected(true);
    m_window->itemsTable()->fill(scene);
}

void EditCommands::remove()
{
    DrawScene *scene = currentScene();
    if (!scene || scene->selectedItems().isEmpty())
        return;
    pushCommand(new RemoveShapeCommand(scene, nullptr));
    m_window->itemsTable()->fill(scene);
}

void EditCommands::restack(void (StackingOrder::*operation)(QGraphicsItem *), const char *text)
{
    DrawScene *scene = currentScene();
    QGraphicsItem *item = firstSelected(scene);
    if (!item)
        return;
    auto command = std::make_unique<StackOrderCommand>(scene, QString());
    // The menu's own text, worded where the menus are.
    command->setTextSource([text] { return QCoreApplication::translate("MainActions", text); });
    StackingOrder order(scene);
    (order.*operation)(item);
    if (command->recordNewOrder())
        pushCommand(command.release());
}

void EditCommands::moveForward()
{
    restack(&StackingOrder::moveForward, QT_TR_NOOP("上移一层"));
}

void EditCommands::moveBackward()
{
    restack(&StackingOrder::moveBackward, QT_TR_NOOP("下移一层"));
}

void EditCommands::bringToFront()
{
    restack(&StackingOrder::bringToFront, QT_TR_NOOP("置于顶层"));
}

void EditCommands::sendToBack()
{
    restack(&StackingOrder::sendToBack, QT_TR_NOOP("置于底层"));
}

void EditCommands::group()
{
    DrawScene *scene = currentScene();
    if (!scene || scene->selectedItems().size() < 2
        || scene->refuseTooDeepGroup(scene->selectedItems()))
        return;
    m_window->setModified(true);
    GraphicsItemGroup *group = scene->createGroup(scene->selectedItems(), true);
    pushCommand(new GroupShapeCommand(group, scene, nullptr));
    m_window->itemsTable()->fill(scene);
}

void EditCommands::ungroup()
{
    DrawScene *scene = currentScene();
    auto *group = dynamic_cast<GraphicsItemGroup *>(firstSelected(scene));
    if (!group || !confirmUngroup(group))
        return;
    m_window->setModified(true);
    pushCommand(new UnGroupShapeCommand(group, scene, nullptr));
    m_window->itemsTable()->fill(scene);
}

bool EditCommands::confirmUngroup(const GraphicsItemGroup *group)
{
    // What belongs to the group itself has no shape to go to: handing a
    // group's bindings to each member would multiply them and clash with
    // the members' own (two visibility conditions, two click actions), and
    // content this version does not know cannot be judged at all. So the
    // user decides; undo brings the group back whole either way.
    const int bindings = group->bindings().size();
    const bool kept = !group->keptContent().isEmpty();
    if (bindings == 0 && !kept)
        return true;
    QString text;
    if (bindings > 0 && kept)
        text = tr("组合对象带有 %n 个数据绑定和本版本不认识的内容，取消组合将删除它们。是否继续？",
                  nullptr, bindings);
    else if (bindings > 0)
        text = tr("组合对象带有 %n 个数据绑定，取消组合将删除它们。是否继续？", nullptr, bindings);
    else
        text = tr("组合对象带有本版本不认识的内容，取消组合将删除它们。是否继续？");
    return MessageDialog::showMessage(m_window, QMessageBox::Question, tr("取消组合"), text,
                                      {tr("是"), tr("否")})
        == QMessageBox::Yes;
}
