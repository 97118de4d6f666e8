#include "tabcontent.h"

#include "services/menuseam.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>

TabContent::TabContent(QWidget *parent)
    : QSplitter(Qt::Vertical, parent)
{
    addTabGroup(Qt::Vertical, nullptr);

    m_menu = new QMenu(this);
    m_closeThis = m_menu->addAction(QString());
    m_closeAll = m_menu->addAction(QString());
    m_closeOthers = m_menu->addAction(QString());
    m_newHorizontal = m_menu->addAction(QString());
    m_newVertical = m_menu->addAction(QString());
    m_movePrevious = m_menu->addAction(QString());
    m_moveNext = m_menu->addAction(QString());
    retranslate();

    connect(m_closeThis, &QAction::triggered, this, &TabContent::closeThisTab);
    connect(m_closeAll, &QAction::triggered, this, &TabContent::closeAllTab);
    connect(m_closeOthers, &QAction::triggered, this, &TabContent::closeAllButThisTab);
    connect(m_newHorizontal, &QAction::triggered, this,
            [this] { addTabGroup(Qt::Horizontal, currentWidget()); });
    connect(m_newVertical, &QAction::triggered, this,
            [this] { addTabGroup(Qt::Vertical, currentWidget()); });
    connect(m_movePrevious, &QAction::triggered, this,
            [this] { moveToNeighbourGroup(currentWidget(), -1); });
    connect(m_moveNext, &QAction::triggered, this,
            [this] { moveToNeighbourGroup(currentWidget(), 1); });
}

TabContent::~TabContent()
{
    // The documents belong to DrawManager and must survive the window.
    for (QTabWidget *group : qAsConst(m_groups)) {
        while (group->count() > 0)
            detach(group, group->widget(0));
    }
}

void TabContent::retranslate()
{
    m_closeThis->setText(tr("关闭标签页"));
    m_closeAll->setText(tr("关闭所有标签页"));
    m_closeOthers->setText(tr("关闭其他标签页"));
    m_newHorizontal->setText(tr("生成新的水平选项卡组"));
    m_newVertical->setText(tr("生成新的垂直选项卡组"));
    m_movePrevious->setText(tr("移动到前一选项卡"));
    m_moveNext->setText(tr("移动到后一选项卡"));
}

QWidget *TabContent::currentWidget() const
{
    return m_current ? m_current->currentWidget() : nullptr;
}

void TabContent::activateWidget(QWidget *widget)
{
    if (!widget)
        return;
    if (QTabWidget *group = groupOf(widget)) {
        m_current = group;
        group->setCurrentWidget(widget);
    } else {
        addTabForm(widget);
    }
}

void TabContent::addTabForm(QWidget *widget)
{
    if (!widget)
        return;
    QTabWidget *holder = groupOf(widget);
    if (holder == m_current) {
        m_current->setCurrentWidget(widget);
        return;
    }
    if (holder) {
        detach(holder, widget);
        removeEmptyGroup(holder);
    }
    addToGroup(m_current, widget);
}

void TabContent::removeTabContent(QWidget *widget)
{
    if (QTabWidget *group = groupOf(widget)) {
        detach(group, widget);
        removeEmptyGroup(group);
    }
}

void TabContent::tabTextChanged(QWidget *widget)
{
    if (QTabWidget *group = groupOf(widget))
        group->setTabText(group->indexOf(widget), widget->windowTitle());
}

void TabContent::closeTab(int index)
{
    closeTabOf(m_current, index);
}

void TabContent::closeThisTab()
{
    closeTab(m_current->currentIndex());
}

void TabContent::closeAllTab()
{
    QTabWidget *group = m_current;
    QSignalBlocker blocker(this);
    for (int index = group->count() - 1; index >= 0; --index)
        closeTabOf(group, index);
    blocker.unblock();
    emit tabsClosed();
}

void TabContent::closeAllButThisTab()
{
    QTabWidget *group = m_current;
    const int keep = group->currentIndex();
    QSignalBlocker blocker(this);
    for (int index = group->count() - 1; index >= 0; --index) {
        if (index != keep)
            closeTabOf(group, index);
    }
    blocker.unblock();
    emit tabsClosed();
}

void TabContent::on_customContextMenuRequested(const QPoint &pos)
{
    QTabWidget *group = m_current;
    if (auto *bar = qobject_cast<QTabBar *>(sender())) {
        for (QTabWidget *candidate : qAsConst(m_groups)) {
            if (candidate->tabBar() == bar)
                group = candidate;
        }
    }
    m_current = group;
    const int tab = group->tabBar()->tabAt(pos);
    if (tab >= 0)
        group->setCurrentIndex(tab);

    const bool splittable = group->count() >= 2;
    if (m_groups.size() == 1) {
        m_newHorizontal->setVisible(splittable);
        m_newVertical->setVisible(splittable);
        m_movePrevious->setVisible(false);
        m_moveNext->setVisible(false);
    } else {
        // Groups share the splitter's one orientation, so only a split
        // along it is offered.
        m_newHorizontal->setVisible(splittable && orientation() == Qt::Horizontal);
        m_newVertical->setVisible(splittable && orientation() == Qt::Vertical);
        m_movePrevious->setVisible(group != m_groups.first());
        m_moveNext->setVisible(group != m_groups.last());
    }

    MenuSeam::exec(m_menu, QCursor::pos());
}

bool TabContent::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange && watched->isWidgetType())
        tabTextChanged(static_cast<QWidget *>(watched));
    return QSplitter::eventFilter(watched, event);
}

void TabContent::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QSplitter::changeEvent(event);
}

QTabWidget *TabContent::addTabGroup(Qt::Orientation orientation, QWidget *widget)
{
    setOrientation(orientation);
    QTabWidget *previous = m_current;
    const int previousIndex = previous ? indexOf(previous) : -1;

    auto *group = new QTabWidget;
    group->setObjectName(QStringLiteral("mdiArea"));
    group->setTabsClosable(true);
    group->setTabShape(QTabWidget::Triangular);
    group->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(group->tabBar(), &QTabBar::tabBarClicked, this,
            [this, group](int index) { tabBarClicked(group, index); });
    connect(group, &QTabWidget::tabCloseRequested, this,
            [this, group](int index) { closeTabOf(group, index); });
    connect(group->tabBar(), &QTabBar::customContextMenuRequested, this,
            &TabContent::on_customContextMenuRequested);

    if (previous && widget && detach(previous, widget))
        addToGroup(group, widget);
    m_current = group;

    QList<int> sizes = this->sizes();
    addWidget(group);
    m_groups.append(group);
    // The new group takes half of the space of the group it was split from;
    // the splitter settles the rest.
    if (previousIndex >= 0 && previousIndex < sizes.size()) {
        const int half = sizes.at(previousIndex) / 2;
        sizes[previousIndex] -= half;
        sizes.append(half);
        setSizes(sizes);
    }
    return group;
}

QTabWidget *TabContent::groupOf(QWidget *widget) const
{
    if (!widget)
        return nullptr;
    for (QTabWidget *group : m_groups) {
        if (group->indexOf(widget) >= 0)
            return group;
    }
    return nullptr;
}

bool TabContent::detach(QTabWidget *group, QWidget *widget)
{
    const int index = group->indexOf(widget);
    if (index < 0)
        return false;
    widget->removeEventFilter(this);
    disconnect(widget, &QObject::destroyed, this, &TabContent::pruneEmptyGroups);
    group->removeTab(index);
    widget->setParent(nullptr);
    return true;
}

void TabContent::addToGroup(QTabWidget *group, QWidget *widget)
{
    widget->installEventFilter(this);
    // Queued: while the widget is being destroyed its tab is still there.
    connect(widget, &QObject::destroyed, this, &TabContent::pruneEmptyGroups, Qt::QueuedConnection);
    group->setCurrentIndex(group->addTab(widget, widget->windowTitle()));
}

void TabContent::closeTabOf(QTabWidget *group, int index)
{
    if (!group || index < 0 || index >= group->count())
        return;
    detach(group, group->widget(index));
    removeEmptyGroup(group);
    emit tabsClosed();
}

void TabContent::removeEmptyGroup(QTabWidget *group)
{
    if (m_groups.size() <= 1 || group->count() > 0)
        return;
    const int i = m_groups.indexOf(group);
    if (i < 0)
        return;
    m_groups.removeAt(i);
    m_current = m_groups.at(qMax(0, i - 1));
    // The group may be the sender of the signal being handled (its close
    // button or its tab bar's menu), so it goes once control returns to the
    // event loop.
    group->hide();
    group->deleteLater();
}

void TabContent::pruneEmptyGroups()
{
    const QList<QTabWidget *> groups = m_groups;
    for (QTabWidget *group : groups)
        removeEmptyGroup(group);
}

void TabContent::moveToNeighbourGroup(QWidget *widget, int step)
{
    const int target = m_groups.indexOf(m_current) + step;
    if (!widget || target < 0 || target >= m_groups.size())
        return;
    moveWidgetToGroup(m_groups.at(target), widget);
}

void TabContent::moveWidgetToGroup(QTabWidget *target, QWidget *widget)
{
    if (target->indexOf(widget) >= 0)
        return;
    QTabWidget *holder = groupOf(widget);
    if (holder)
        detach(holder, widget);
    addToGroup(target, widget);
    if (holder)
        removeEmptyGroup(holder);
    activateWidget(widget);
}

void TabContent::tabBarClicked(QTabWidget *group, int index)
{
    m_current = group;
    if (index >= 0)
        group->setCurrentIndex(index);
    emit currentChanged(group->currentIndex());
}
