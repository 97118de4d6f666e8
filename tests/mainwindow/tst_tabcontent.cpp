#include "mainwindow/tabcontent.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>
#include <vector>

// Pages stand in for screen views: plain widgets the test owns, as
// DrawManager owns the real ones.
class TestTabContent : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void splitThenCloseRemovesGroup();
    void menuVisibility_data();
    void menuVisibility();
    void closeCommands_data();
    void closeCommands();
    void moveBetweenGroups();
    void otherGroupClickedOrRemoved();
    void widgetDeletedElsewhere();

private:
    QWidget *page(int i) const { return m_pages.at(i).get(); }
    QStringList titles(const QTabWidget *group) const;
    // Right-clicks tab index of group and returns the texts of the actions
    // the menu would show.
    QStringList openMenu(QTabWidget *group, int index);
    void trigger(const QString &text);
    void split(Qt::Orientation orientation, QTabWidget *group, int index);

    std::vector<std::unique_ptr<QWidget>> m_pages;
    std::unique_ptr<TabContent> m_tabs;
    QMenu *m_shownMenu = nullptr;
};

void TestTabContent::init()
{
    m_pages.clear();
    for (const char *title : {"A", "B", "C", "D"}) {
        auto widget = std::make_unique<QWidget>();
        widget->setWindowTitle(QString::fromLatin1(title));
        m_pages.push_back(std::move(widget));
    }
    m_tabs = std::make_unique<TabContent>();
    m_tabs->resize(800, 600);
    m_shownMenu = nullptr;
    TabContent::setMenuRunner([this](QMenu *menu, const QPoint &) { m_shownMenu = menu; });
}

void TestTabContent::cleanup()
{
    TabContent::setMenuRunner({});
    m_tabs.reset();
    m_pages.clear();
}

QStringList TestTabContent::titles(const QTabWidget *group) const
{
    QStringList result;
    for (int i = 0; i < group->count(); ++i)
        result << group->tabText(i);
    return result;
}

QStringList TestTabContent::openMenu(QTabWidget *group, int index)
{
    m_shownMenu = nullptr;
    QTabBar *bar = group->tabBar();
    emit bar->customContextMenuRequested(bar->tabRect(index).center());
    if (!m_shownMenu)
        return {};
    QStringList visible;
    const QList<QAction *> actions = m_shownMenu->actions();
    for (QAction *action : actions) {
        if (action->isVisible())
            visible << action->text();
    }
    return visible;
}

void TestTabContent::trigger(const QString &text)
{
    QVERIFY(m_shownMenu);
    const QList<QAction *> actions = m_shownMenu->actions();
    for (QAction *action : actions) {
        if (action->text() == text && action->isVisible()) {
            action->trigger();
            // Emptied groups are deleted once control is back in the loop.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no visible action %1").arg(text)));
}

void TestTabContent::split(Qt::Orientation orientation, QTabWidget *group, int index)
{
    openMenu(group, index);
    trigger(orientation == Qt::Horizontal ? QStringLiteral("生成新的水平选项卡组")
                                          : QStringLiteral("生成新的垂直选项卡组"));
}

void TestTabContent::splitThenCloseRemovesGroup()
{
    m_tabs->addTabForm(page(0));
    m_tabs->addTabForm(page(1));
    QTabWidget *first = m_tabs->currentGroup();

    split(Qt::Vertical, first, 1);
    QCOMPARE(m_tabs->groups().size(), 2);
    QCOMPARE(m_tabs->orientation(), Qt::Vertical);
    QPointer<QTabWidget> second = m_tabs->groups().at(1);
    QCOMPARE(m_tabs->currentGroup(), second.data());
    QCOMPARE(titles(first), QStringList {"A"});
    QCOMPARE(titles(second), QStringList {"B"});
    QCOMPARE(second->objectName(), QStringLiteral("mdiArea"));

    emit second->tabCloseRequested(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(second.isNull());
    QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
    QCOMPARE(m_tabs->currentGroup(), first);
    QCOMPARE(m_tabs->currentWidget(), page(0));
    // Closing only detaches: the document stays alive for the project.
    QCOMPARE(page(1)->parent(), nullptr);

    // Nor does the tab area take its documents along when it goes.
    m_tabs.reset();
    QCOMPARE(page(0)->parent(), nullptr);
}

void TestTabContent::menuVisibility_data()
{
    QTest::addColumn<int>("tabCount");
    QTest::addColumn<int>("splitOrientation"); // 0: no split
    QTest::addColumn<int>("askedGroup");
    QTest::addColumn<QStringList>("extraActions");

    QTest::newRow("one group, one tab") << 1 << 0 << 0 << QStringList();
    QTest::newRow("one group, two tabs")
        << 2 << 0 << 0 << QStringList {"生成新的水平选项卡组", "生成新的垂直选项卡组"};
    QTest::newRow("vertical split, first group")
        << 3 << int(Qt::Vertical) << 0 << QStringList {"生成新的垂直选项卡组", "移动到后一选项卡"};
    QTest::newRow("horizontal split, first group")
        << 3 << int(Qt::Horizontal) << 0
        << QStringList {"生成新的水平选项卡组", "移动到后一选项卡"};
    QTest::newRow("vertical split, one-tab last group")
        << 3 << int(Qt::Vertical) << 1 << QStringList {"移动到前一选项卡"};
}

void TestTabContent::menuVisibility()
{
    QFETCH(int, tabCount);
    QFETCH(int, splitOrientation);
    QFETCH(int, askedGroup);
    QFETCH(QStringList, extraActions);

    for (int i = 0; i < tabCount; ++i)
        m_tabs->addTabForm(page(i));
    if (splitOrientation)
        split(Qt::Orientation(splitOrientation), m_tabs->currentGroup(), tabCount - 1);

    QTabWidget *group = m_tabs->groups().at(askedGroup);
    const QStringList expected
        = QStringList {"关闭标签页", "关闭所有标签页", "关闭其他标签页"} + extraActions;
    QCOMPARE(openMenu(group, 0), expected);
    QCOMPARE(m_tabs->currentGroup(), group);
}

void TestTabContent::closeCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("shownIndex");

    QTest::newRow("this") << "关闭标签页" << QStringList {"A", "C", "D"} << 1;
    QTest::newRow("others") << "关闭其他标签页" << QStringList {"B"} << 0;
    QTest::newRow("all") << "关闭所有标签页" << QStringList() << -1;
}

// Each command on the second of four tabs.
void TestTabContent::closeCommands()
{
    QFETCH(QString, command);
    QFETCH(QStringList, remaining);
    QFETCH(int, shownIndex);
    for (int i = 0; i < 4; ++i)
        m_tabs->addTabForm(page(i));
    QSignalSpy changed(m_tabs.get(), &TabContent::currentChanged);

    openMenu(m_tabs->currentGroup(), 1);
    QCOMPARE(m_tabs->currentWidget(), page(1));
    trigger(command);

    QCOMPARE(titles(m_tabs->currentGroup()), remaining);
    for (int i = 0; i < 4; ++i) {
        if (!remaining.contains(page(i)->windowTitle()))
            QCOMPARE(page(i)->parent(), nullptr);
    }
    // The last group stays, even empty.
    QCOMPARE(m_tabs->groups().size(), 1);
    // One report per command, naming what is shown now.
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), shownIndex);
}

void TestTabContent::moveBetweenGroups()
{
    for (int i = 0; i < 3; ++i)
        m_tabs->addTabForm(page(i));
    QTabWidget *first = m_tabs->currentGroup();
    split(Qt::Vertical, first, 2);
    QTabWidget *second = m_tabs->groups().at(1);

    openMenu(first, 0);
    trigger(QStringLiteral("移动到后一选项卡"));
    QCOMPARE(titles(first), QStringList {"B"});
    QCOMPARE(titles(second), (QStringList {"C", "A"}));
    QCOMPARE(m_tabs->currentGroup(), second);
    QCOMPARE(m_tabs->currentWidget(), page(0));

    openMenu(second, 0);
    trigger(QStringLiteral("移动到前一选项卡"));
    QCOMPARE(titles(first), (QStringList {"B", "C"}));
    QCOMPARE(titles(second), QStringList {"A"});
    QCOMPARE(m_tabs->currentGroup(), first);
    QCOMPARE(m_tabs->currentWidget(), page(2));

    // Moving the only tab of a group away takes the group with it.
    QPointer<QTabWidget> emptied = second;
    openMenu(second, 0);
    trigger(QStringLiteral("移动到前一选项卡"));
    QVERIFY(emptied.isNull());
    QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
    QCOMPARE(titles(first), (QStringList {"B", "C", "A"}));
    QCOMPARE(m_tabs->currentWidget(), page(0));
}

void TestTabContent::otherGroupClickedOrRemoved()
{
    for (int i = 0; i < 3; ++i)
        m_tabs->addTabForm(page(i));
    QTabWidget *first = m_tabs->currentGroup();
    split(Qt::Horizontal, first, 2);
    QTabWidget *second = m_tabs->groups().at(1);
    m_tabs->activateWidget(page(0));
    QCOMPARE(m_tabs->currentGroup(), first);

    QSignalSpy changed(m_tabs.get(), &TabContent::currentChanged);
    emit second->tabBar()->tabBarClicked(0);
    QCOMPARE(m_tabs->currentGroup(), second);
    QCOMPARE(m_tabs->currentWidget(), page(2));
    QCOMPARE(changed.count(), 1);

    m_tabs->removeTabContent(page(1));
    QCOMPARE(titles(first), QStringList {"A"});
    QCOMPARE(page(1)->parent(), nullptr);
}

void TestTabContent::widgetDeletedElsewhere()
{
    for (int i = 0; i < 3; ++i)
        m_tabs->addTabForm(page(i));
    QTabWidget *first = m_tabs->currentGroup();
    split(Qt::Vertical, first, 2);
    QPointer<QTabWidget> second = m_tabs->groups().at(1);

    m_pages.at(2).reset();
    QTRY_VERIFY(second.isNull());
    QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
    QCOMPARE(m_tabs->currentGroup(), first);
    QCOMPARE(titles(first), (QStringList {"A", "B"}));
}

QTEST_MAIN(TestTabContent)
#include "tst_tabcontent.moc"
