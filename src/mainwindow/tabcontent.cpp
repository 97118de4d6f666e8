#include "tabcontent.h"

#include <QTabBar>
#include <QTabWidget>

TabContent::TabContent(QWidget *parent)
    : QSplitter(Qt::Vertical, parent)
{
    m_current = new QTabWidget(this);
    m_current->setObjectName(QStringLiteral("mdiArea"));
    m_current->setTabsClosable(true);
    m_current->setTabShape(QTabWidget::Triangular);
    m_current->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_current->tabBar(), &QTabBar::tabBarClicked, this, &TabContent::currentChanged);
    addWidget(m_current);
}

QWidget *TabContent::currentWidget() const
{
    return m_current->currentWidget();
}

void TabContent::activateWidget(QWidget *widget)
{
    if (!widget)
        return;
    const int index = m_current->indexOf(widget);
    if (index >= 0)
        m_current->setCurrentIndex(index);
    else
        addTabForm(widget);
}

void TabContent::addTabForm(QWidget *widget)
{
    m_current->setCurrentIndex(m_current->addTab(widget, widget->windowTitle()));
}

void TabContent::removeTabContent(QWidget *widget)
{
    const int index = m_current->indexOf(widget);
    if (index < 0)
        return;
    m_current->removeTab(index);
    widget->setParent(nullptr);
}

void TabContent::tabTextChanged(QWidget *widget)
{
    const int index = m_current->indexOf(widget);
    if (index >= 0)
        m_current->setTabText(index, widget->windowTitle());
}
