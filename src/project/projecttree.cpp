#include "projecttree.h"

#include <QHeaderView>
#include <QMenu>

ProjectTree::ProjectTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("ProjectTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_menu = new QMenu(this);

    QTreeWidgetItem *screens = addEntry(nullptr, Category, QStringLiteral("standardForm.png"));
    QTreeWidgetItem *base = addEntry(screens, Category, QStringLiteral("standardForm.png"));
    addEntry(base, AddBase, QStringLiteral("standardAdd.png"));
    QTreeWidgetItem *window = addEntry(screens, Category, QStringLiteral("dialogForm.png"));
    addEntry(window, AddWindow, QStringLiteral("dialogAdd.png"));
    QTreeWidgetItem *templ = addEntry(screens, Category, QStringLiteral("templateForm.png"));
    addEntry(templ, AddTemplate, QStringLiteral("templateAdd.png"));
    QTreeWidgetItem *scripts = addEntry(nullptr, Category, QStringLiteral("scriptForm.png"));
    addEntry(scripts, AddScript, QStringLiteral("scriptAdd.png"));

    retranslate();
    expandAll();
}

QTreeWidgetItem *ProjectTree::addEntry(QTreeWidgetItem *parent, int kind, const QString &icon)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setData(0, Qt::UserRole, kind);
    item->setIcon(0, QIcon(QStringLiteral("%1%2").arg(QStringLiteral(":/resources/images/tool/"), icon)));
    m_fixed.append(item);
    return item;
}

void ProjectTree::retranslate()
{
    const QStringList texts = {tr("画面"),     tr("基础画面"),     tr("添加基础画面"),
                               tr("窗口画面"), tr("添加窗口画面"), tr("模板画面"),
                               tr("添加模板画面"), tr("脚本"),     tr("添加脚本")};
    for (int i = 0; i < m_fixed.size() && i < texts.size(); ++i)
        m_fixed[i]->setText(0, texts.at(i));
}
