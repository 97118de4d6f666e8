#include "dockmanager.h"

#include <QCoreApplication>
#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <QTabBar>
#include <QToolBar>

DockManager::DockManager(QMainWindow *window)
    : QObject(window)
    , m_window(window)
{
    createDockWidgetBar(Qt::LeftDockWidgetArea);
    createDockWidgetBar(Qt::RightDockWidgetArea);
    createDockWidgetBar(Qt::BottomDockWidgetArea);
    connect(m_window, &QMainWindow::tabifiedDockWidgetActivated, this,
            [this](QDockWidget *dock) {
                reorderDockWidget(m_bars.value(m_areas.value(dock)), dock, true);
            });
}

void DockManager::createDockWidgetBar(Qt::DockWidgetArea area)
{
    if (m_bars.contains(area))
        return;

    Qt::ToolBarArea barArea = Qt::TopToolBarArea;
    Qt::Orientation orientation = Qt::Horizontal;
    QString name = QStringLiteral("HDockTabBar");
    QTabBar::Shape shape = QTabBar::RoundedNorth;
    switch (area) {
    case Qt::LeftDockWidgetArea:
        barArea = Qt::LeftToolBarArea;
        orientation = Qt::Vertical;
        name = QStringLiteral("VDockTabBar");
        shape = QTabBar::RoundedWest;
        break;
    case Qt::RightDockWidgetArea:
        barArea = Qt::RightToolBarArea;
        orientation = Qt::Vertical;
        name = QStringLiteral("VDockTabBar");
        shape = QTabBar::RoundedEast;
        break;
    case Qt::BottomDockWidgetArea:
        barArea = Qt::BottomToolBarArea;
        break;
    default:
        break;
    }

    auto *bar = new QToolBar(m_window);
    bar->setObjectName(name + QStringLiteral("Bar%1").arg(int(area)));
    bar->setFloatable(false);
    bar->setMovable(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->setOrientation(orientation);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    auto *tabs = new QTabBar(bar);
    tabs->setObjectName(name);
    tabs->setShape(shape);
    tabs->setDrawBase(false);
    bar->addWidget(tabs);
    m_window->addToolBar(barArea, bar);
    bar->hide();
    connect(tabs, &QTabBar::tabBarClicked, this, &DockManager::tabBarClicked);
    m_bars.insert(area, tabs);
    m_edgeBars.insert(area, bar);
}

QDockWidget *DockManager::createDock(Qt::DockWidgetArea area, const char *title)
{
    const QString text = tr(title);
    auto *dock = new QDockWidget(text, m_window);
    dock->setObjectName(QStringLiteral("dock%1").arg(m_counter));
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                      | QDockWidget::DockWidgetFloatable);
    dock->setAllowedAreas(area);

    if (!m_bars.contains(area))
        createDockWidgetBar(area);
    m_edgeBars.value(area)->show();
    QTabBar *tabs = m_bars.value(area);
    const int tab = tabs->addTab(text);
    tabs->setTabData(tab, m_counter);

    m_window->addDockWidget(area, dock, Qt::Vertical);
    m_areas.insert(dock, area);
    m_docks.insert(m_counter, dock);
    m_titles.insert(dock, title);
    ++m_counter;
    return dock;
}

void DockManager::tabBarClicked(int index)
{
    auto *tabs = qobject_cast<QTabBar *>(sender());
    if (!tabs || index < 0)
        return;
    QDockWidget *dock = m_docks.value(tabs->tabData(index).toInt());
    if (dock)
        reorderDockWidget(tabs, dock, dock->isHidden());
}

void DockManager::reorderDockWidget(QTabBar *bar, QDockWidget *dockWidget, bool enable)
{
    if (!dockWidget)
        return;
    dockWidget->raise();
    dockWidget->setVisible(enable);
    if (!bar || tabifiedWith(dockWidget).isEmpty())
        return;
    for (int i = 0; i < bar->count(); ++i) {
        QDockWidget *other = m_docks.value(bar->tabData(i).toInt());
        if (other && other != dockWidget)
            other->setVisible(!enable);
    }
}

void DockManager::tabifyDocks(QDockWidget *first, QDockWidget *second)
{
    m_window->tabifyDockWidget(first, second);
    if (!m_tabGroups.contains(first))
        m_tabGroups.insert(first, m_docks.key(first));
    m_tabGroups.insert(second, m_tabGroups.value(first));
}

QList<QDockWidget *> DockManager::tabifiedWith(QDockWidget *dock) const
{
    QList<QDockWidget *> result;
    if (!m_tabGroups.contains(dock))
        return result;
    const int group = m_tabGroups.value(dock);
    for (auto it = m_tabGroups.cbegin(); it != m_tabGroups.cend(); ++it) {
        if (it.key() != dock && it.value() == group)
            result.append(it.key());
    }
    return result;
}

void DockManager::setDocksEnabled(bool enable)
{
    for (QToolBar *bar : qAsConst(m_edgeBars))
        bar->setVisible(enable && m_bars.value(m_edgeBars.key(bar))->count() > 0);
    for (auto it = m_areas.cbegin(); it != m_areas.cend(); ++it) {
        if (!enable)
            it.key()->hide();
        else if (it.value() != Qt::BottomDockWidgetArea)
            it.key()->show();
    }
}

void DockManager::retranslateDocks()
{
    for (auto it = m_docks.cbegin(); it != m_docks.cend(); ++it) {
        QDockWidget *dock = it.value();
        const QString text = tr(m_titles.value(dock));
        dock->setWindowTitle(text);
        QTabBar *tabs = m_bars.value(m_areas.value(dock));
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabData(i).toInt() == it.key())
                tabs->setTabText(i, text);
        }
    }
    // A hidden tab bar only notes that its tabs changed; its bar must ask
    // for the new lengths all the same, or longer titles are cut short.
    for (QToolBar *bar : qAsConst(m_edgeBars)) {
        m_bars.value(m_edgeBars.key(bar))->updateGeometry();
        bar->updateGeometry();
    }
}
