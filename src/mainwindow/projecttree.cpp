#include "projecttree.h"

#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectscript.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/xmlsafetext.h"
#include "services/menuseam.h"
#include "services/messagedialog.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyleFactory>

namespace {

QString iconFile(int kind)
{
    switch (kind) {
    case BaseScreen:
        return QStringLiteral("standardForm.png");
    case WindowScreen:
        return QStringLiteral("dialogForm.png");
    case TemplateScreen:
        return QStringLiteral("templateForm.png");
    case ScriptScreen:
        return QStringLiteral("scriptForm.png");
    case ProjectTree::AddBase:
        return QStringLiteral("standardAdd.png");
    case ProjectTree::AddWindow:
        return QStringLiteral("dialogAdd.png");
    case ProjectTree::AddTemplate:
        return QStringLiteral("templateAdd.png");
    case ProjectTree::AddScript:
        return QStringLiteral("scriptAdd.png");
    default:
        return QStringLiteral("addForm.png");
    }
}

QIcon iconOf(const QString &file)
{
    return QIcon(QStringLiteral("%1%2").arg(QStringLiteral(":/resources/images/tool/"), file));
}

} // namespace

ProjectTree::ProjectTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("ProjectTree"));
    setColumnCount(1);
    setHeaderHidden(true);
    setFrameShape(QFrame::NoFrame);
    if (QStyle *style = QStyleFactory::create(QStringLiteral("windows"))) {
        style->setParent(this);
        setStyle(style);
    }
    setContextMenuPolicy(Qt::CustomContextMenu);
    // A double click opens a document; renaming is the menu's or F2's.
    setEditTriggers(QAbstractItemView::EditKeyPressed);

    m_screensRoot = addFixedEntry(nullptr, Category, QStringLiteral("standardForm.png"));
    m_categories[BaseScreen] = addFixedEntry(m_screensRoot, Category, iconFile(BaseScreen));
    m_addEntries[BaseScreen] = addFixedEntry(m_categories[BaseScreen], AddBase, iconFile(AddBase));
    m_categories[WindowScreen] = addFixedEntry(m_screensRoot, Category, iconFile(WindowScreen));
    m_addEntries[WindowScreen]
        = addFixedEntry(m_categories[WindowScreen], AddWindow, iconFile(AddWindow));
    m_categories[TemplateScreen] = addFixedEntry(m_screensRoot, Category, iconFile(TemplateScreen));
    m_addEntries[TemplateScreen]
        = addFixedEntry(m_categories[TemplateScreen], AddTemplate, iconFile(AddTemplate));
    m_categories[ScriptScreen] = addFixedEntry(nullptr, Category, iconFile(ScriptScreen));
    m_addEntries[ScriptScreen]
        = addFixedEntry(m_categories[ScriptScreen], AddScript, iconFile(AddScript));

    m_menu = new QMenu(this);
    m_renameAction = m_menu->addAction(QString(), this, &ProjectTree::onRenameTriggered);
    m_copyAction = m_menu->addAction(QString(), this, &ProjectTree::onCopyTriggered);
    m_deleteAction = m_menu->addAction(QString(), this, &ProjectTree::onDeleteTriggered);
    // The entry clicked, not the screen shown: the menu makes it current.
    m_propertyAction = m_menu->addAction(QString(), this, [this] {
        if (QObject *form = formOf(currentItem()))
            emit propertyRequested(form);
    });

    retranslate();
    expandAll();

    connect(this, &QTreeWidget::itemChanged, this, &ProjectTree::onItemChanged);
    connect(this, &QWidget::customContextMenuRequested, this,
            &ProjectTree::onCustomContextMenuRequested);
}

QTreeWidgetItem *ProjectTree::addFixedEntry(QTreeWidgetItem *parent, int kind, const QString &icon)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    if (kind != Category)
        item->setData(0, KindRole, kind);
    item->setIcon(0, iconOf(icon));
    return item;
}

void ProjectTree::retranslate()
{
    const QScopedValueRollback<bool> updating(m_updating, true);
    m_screensRoot->setText(0, tr("画面"));
    m_categories[BaseScreen]->setText(0, tr("基础画面"));
    m_addEntries[BaseScreen]->setText(0, tr("添加基础画面"));
    m_categories[WindowScreen]->setText(0, tr("窗口画面"));
    m_addEntries[WindowScreen]->setText(0, tr("添加窗口画面"));
    m_categories[TemplateScreen]->setText(0, tr("模板画面"));
    m_addEntries[TemplateScreen]->setText(0, tr("添加模板画面"));
    m_categories[ScriptScreen]->setText(0, tr("脚本"));
    m_addEntries[ScriptScreen]->setText(0, tr("添加脚本"));
    m_renameAction->setText(tr("重命名"));
    m_copyAction->setText(tr("创建副本"));
    m_deleteAction->setText(tr("删除"));
    m_propertyAction->setText(tr("属性"));
}

QObject *ProjectTree::addForm(int kind, QObject *copyFrom, bool show)
{
    if (!m_categories.contains(kind))
        return nullptr;
    QObject *form = DrawManager::instance()->createForm(kind, copyFrom);
    if (!form)
        return nullptr;
    addEntry(kind, form);
    if (show) {
        emit formAdded(form);
        emit showTabContent(form);
    }
    return form;
}

QTreeWidgetItem *ProjectTree::findItem(QObject *form) const
{
    if (!form)
        return nullptr;
    const QList<QTreeWidgetItem *> items = documentItems();
    for (QTreeWidgetItem *item : items) {
        if (formOf(item) == form)
            return item;
    }
    return nullptr;
}

int ProjectTree::kindOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, KindRole).toInt() : Category;
}

QObject *ProjectTree::formOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, FormRole).value<QObject *>() : nullptr;
}

bool ProjectTree::isDocument(const QTreeWidgetItem *item)
{
    const int kind = kindOf(item);
    return kind != Category && !(kind & AddFlag);
}

QList<QTreeWidgetItem *> ProjectTree::documentItems() const
{
    QList<QTreeWidgetItem *> items;
    for (QTreeWidgetItem *category : m_categories) {
        for (int i = 0; i < category->childCount(); ++i) {
            if (isDocument(category->child(i)))
                items.append(category->child(i));
        }
    }
    return items;
}

void ProjectTree::deleteItem(QTreeWidgetItem *item)
{
    if (!isDocument(item))
        return;
    QObject *form = formOf(item);
    // The entry goes first: answering the signal may delete the form, and
    // the form's end removes any entry still referring to it.
    delete item;
    if (form) {
        disconnect(form, nullptr, this, nullptr);
        emit removeTabContent(form);
    }
}

void ProjectTree::addEntry(int kind, QObject *form)
{
    QTreeWidgetItem *category = m_categories.value(kind);
    // Filled in before it joins the tree, so itemChanged never sees a
    // half-made entry.
    auto *item = new QTreeWidgetItem;
    item->setIcon(0, iconOf(iconFile(kind)));
    item->setText(0, form->objectName());
    item->setData(0, KindRole, kind);
    item->setData(0, FormRole, QVariant::fromValue(static_cast<QObject *>(form)));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    {
        const QScopedValueRollback<bool> updating(m_updating, true);
        category->addChild(item);
    }
    category->setExpanded(true);

    connect(form, &QObject::objectNameChanged, this,
            [this, form](const QString &name) { renameForm(form, name); });
    connect(form, &QObject::destroyed, this, [this, form] {
        // Only the address is compared: the form is half destroyed.
        const QList<QTreeWidgetItem *> items = documentItems();
        for (QTreeWidgetItem *entry : items) {
            if (entry->data(0, FormRole).value<QObject *>() == form)
                delete entry;
        }
    });

}

void ProjectTree::addDocuments(DrawManager *screens)
{
    for (DrawScene *scene : screens->scenes()) {
        if (m_categories.contains(scene->type()))
            addEntry(scene->type(), scene);
    }
    for (ProjectScript *script : screens->scripts())
        addEntry(ScriptScreen, script);
}

void ProjectTree::closeAll()
{
    const QList<QTreeWidgetItem *> items = documentItems();
    for (QTreeWidgetItem *item : items)
        deleteItem(item);
}

void ProjectTree::selectForm(QObject *form)
{
    if (QTreeWidgetItem *item = findItem(form))
        setCurrentItem(item);
}

void ProjectTree::renameForm(QObject *form, const QString &title)
{
    QTreeWidgetItem *item = findItem(form);
    if (!item || item->text(0) == title)
        return;
    const QScopedValueRollback<bool> updating(m_updating, true);
    item->setText(0, title);
}

void ProjectTree::onItemChanged(QTreeWidgetItem *item, int column)
{
    if (m_updating || column != 0 || !isDocument(item))
        return;
    QObject *form = formOf(item);
    if (!form)
        return;
    const QString name = xmlSafeText(item->text(0));
    if (name.trimmed().isEmpty()) {
        renameForm(form, form->objectName());
        return;
    }
    ProjectDocument *document = ProjectDocument::current();
    if (document->screenNameTaken(form, name)) {
        renameForm(form, form->objectName());
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("重命名"),
                                   tr("已有名为“%1”的画面，请换一个名称。").arg(name), {tr("确定")});
        return;
    }
    // The form's name is what the project file stores and the property
    // browser shows; its tab follows it. One step of the project's history.
    if (document->renameForm(form, name))
        emit formRenamed(form);
}

void ProjectTree::onCustomContextMenuRequested(const QPoint &pos)
{
    QTreeWidgetItem *item = itemAt(pos);
    if (!isDocument(item))
        return;
    setCurrentItem(item);
    // Scripts have no properties to edit.
    m_propertyAction->setEnabled(kindOf(item) != ScriptScreen);
    const QPoint globalPos = viewport()->mapToGlobal(pos);
    MenuSeam::exec(m_menu, globalPos);
}

void ProjectTree::onRenameTriggered()
{
    QTreeWidgetItem *item = currentItem();
    if (isDocument(item))
        editItem(item, 0);
}

void ProjectTree::onCopyTriggered()
{
    QTreeWidgetItem *item = currentItem();
    if (isDocument(item))
        addForm(kindOf(item), formOf(item));
}

void ProjectTree::onDeleteTriggered()
{
    QTreeWidgetItem *item = currentItem();
    if (!isDocument(item))
        return;
    // A deleted screen cannot be brought back: its shapes go with it.
    const int answer = MessageDialog::showMessage(this, QMessageBox::Question, tr("删除"),
                                                  tr("确定要删除 %1 吗?").arg(item->text(0)),
                                                  {tr("是(&Y)"), tr("否(&N)")});
    if (answer == QMessageBox::Yes)
        deleteItem(item);
}

void ProjectTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidgetItem *item = itemAt(event->pos());
    const int kind = kindOf(item);
    if (kind == Category) {
        QTreeWidget::mouseDoubleClickEvent(event);
        return;
    }
    if (kind & AddFlag)
        addForm(kind & ~AddFlag, nullptr);
    else
        emit showTabContent(formOf(item));
    event->accept();
}
