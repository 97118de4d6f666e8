#include "mainwindow/tabcontent.h"

#include "app/menuseam.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <vector>

namespace {
const QString SplitH = QStringLiteral("生成新的水平选项卡组");
const QString SplitV = QStringLiteral("生成新的垂直选项卡组");
const QString Next = QStringLiteral("移动到后一选项卡");
const QString Previous = QStringLiteral("移动到前一选项卡");
const QStringList CloseActions = {"关闭标签页", "关闭所有标签页", "关闭其他标签页"};

QStringList titles(const QTabWidget *group)
{
    QStringList result;
    for (int i = 0; i < group->count(); ++i)
        result << group->tabText(i);
    return result;
}
} // namespace

// Pages stand in for screen views: plain widgets the test owns, as
// DrawManager owns the real ones.
class TestTabContent : public QObject
{
    Q_OBJECT

    std::vector<std::unique_ptr<QWidget>> m_pages;
    std::unique_ptr<TabContent> m_tabs;
    QMenu *m_shownMenu = nullptr;

    QWidget *page(int i) const { return m_pages.at(i).get(); }

    // Right-clicks a tab and returns the texts of the visible menu actions.
    QStringList openMenu(QTabWidget *group, int index)
    {
        m_shownMenu = nullptr;
        QTabBar *bar = group->tabBar();
        emit bar->customContextMenuRequested(bar->tabRect(index).center());
        QStringList visible;
        for (QAction *action : m_shownMenu ? m_shownMenu->actions() : QList<QAction *>()) {
            if (action->isVisible())
                visible << action->text();
        }
        return visible;
    }

    // Right-clicks a tab and picks a visible action by its text.
    void command(QTabWidget *group, int index, const QString &text)
    {
        QVERIFY2(openMenu(group, index).contains(text), qPrintable(text));
        for (QAction *action : m_shownMenu->actions()) {
            if (action->text() == text)
                action->trigger();
        }
        // Emptied groups are deleted once control is back in the loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void addPages(int count)
    {
        for (int i = 0; i < count; ++i)
            m_tabs->addTabForm(page(i));
    }

    // A, B | C: three pages, the last split off into a second group.
    QTabWidget *splitThree(const QString &split = SplitV)
    {
        addPages(3);
        QTabWidget *first = m_tabs->currentGroup();
        command(first, 2, split);
        return first;
    }

private slots:
    void init()
    {
        m_pages.clear();
        for (const char *title : {"A", "B", "C", "D"}) {
            m_pages.push_back(std::make_unique<QWidget>());
            m_pages.back()->setWindowTitle(QString::fromLatin1(title));
        }
        m_tabs = std::make_unique<TabContent>();
        m_tabs->resize(800, 600);
        m_shownMenu = nullptr;
        MenuSeam::setHandler([this](QMenu *menu, const QPoint &) -> QAction * {
            m_shownMenu = menu;
            return nullptr;
        });
    }

    void cleanup()
    {
        MenuSeam::setHandler({});
        m_tabs.reset();
        m_pages.clear();
    }

    void splitThenCloseRemovesGroup()
    {
        QTabWidget *first = splitThree();
        QCOMPARE(m_tabs->groups().size(), 2);
        QCOMPARE(m_tabs->orientation(), Qt::Vertical);
        QPointer<QTabWidget> second = m_tabs->groups().at(1);
        QCOMPARE(m_tabs->currentGroup(), second.data());
        QCOMPARE(titles(first), (QStringList {"A", "B"}));
        QCOMPARE(titles(second), QStringList {"C"});
        // Splits are offered only in the direction taken and to a group of
        // two tabs or more; moves only toward a neighbour group.
        QCOMPARE(openMenu(second, 0), (CloseActions + QStringList {Previous}));
        QCOMPARE(openMenu(first, 0), (CloseActions + QStringList {SplitV, Next}));
        // The right-clicked tab becomes the current one.
        QCOMPARE(m_tabs->currentGroup(), first);
        QCOMPARE(m_tabs->currentWidget(), page(0));

        emit second->tabCloseRequested(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull());
        QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
        QCOMPARE(m_tabs->currentGroup(), first);
        QCOMPARE(m_tabs->currentWidget(), page(0));
        QCOMPARE(openMenu(first, 0), (CloseActions + QStringList {SplitH, SplitV}));
        // Closing only detaches: the document stays alive for the project.
        QCOMPARE(page(2)->parent(), nullptr);
        // Nor does the tab area take its documents along when it goes.
        m_tabs.reset();
        QCOMPARE(page(0)->parent(), nullptr);
    }

    void closeCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<int>("shownIndex");
        QTest::newRow("this") << "关闭标签页" << QStringList {"A", "C", "D"} << 1;
        QTest::newRow("others") << "关闭其他标签页" << QStringList {"B"} << 0;
        QTest::newRow("all") << "关闭所有标签页" << QStringList() << -1;
    }

    // Each command on the second of four tabs.
    void closeCommands()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, remaining);
        QFETCH(int, shownIndex);
        addPages(4);
        QSignalSpy clicked(m_tabs.get(), &TabContent::currentChanged);
        QSignalSpy closed(m_tabs.get(), &TabContent::tabsClosed);

        this->command(m_tabs->currentGroup(), 1, command);
        QCOMPARE(titles(m_tabs->currentGroup()), remaining);
        for (int i = 0; i < 4; ++i) {
            if (!remaining.contains(page(i)->windowTitle()))
                QCOMPARE(page(i)->parent(), nullptr);
        }
        // The last group stays, even empty.
        QCOMPARE(m_tabs->groups().size(), 1);
        // One report per command; closing is not a click on a tab.
        QCOMPARE(closed.count(), 1);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(m_tabs->currentGroup()->currentIndex(), shownIndex);
        if (remaining.size() == 1) // nothing to split off
            QCOMPARE(openMenu(m_tabs->currentGroup(), 0), CloseActions);
    }

    void moveBetweenGroups()
    {
        QTabWidget *first = splitThree();
        QTabWidget *second = m_tabs->groups().at(1);
        command(first, 0, Next);
        QCOMPARE(titles(first), QStringList {"B"});
        QCOMPARE(titles(second), (QStringList {"C", "A"}));
        QCOMPARE(m_tabs->currentGroup(), second);
        QCOMPARE(m_tabs->currentWidget(), page(0));

        command(second, 0, Previous);
        QCOMPARE(titles(first), (QStringList {"B", "C"}));
        QCOMPARE(titles(second), QStringList {"A"});
        QCOMPARE(m_tabs->currentGroup(), first);
        QCOMPARE(m_tabs->currentWidget(), page(2));

        // Moving the only tab of a group away takes the group with it.
        QPointer<QTabWidget> emptied = second;
        command(second, 0, Previous);
        QVERIFY(emptied.isNull());
        QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
        QCOMPARE(titles(first), (QStringList {"B", "C", "A"}));
        QCOMPARE(m_tabs->currentWidget(), page(0));
    }

    void otherGroupClickedRemovedOrDeleted()
    {
        QTabWidget *first = splitThree(SplitH);
        QCOMPARE(m_tabs->orientation(), Qt::Horizontal);
        QPointer<QTabWidget> second = m_tabs->groups().at(1);
        m_tabs->activateWidget(page(0));
        QCOMPARE(m_tabs->currentGroup(), first);

        QSignalSpy changed(m_tabs.get(), &TabContent::currentChanged);
        emit second->tabBar()->tabBarClicked(0);
        QCOMPARE(m_tabs->currentGroup(), second.data());
        QCOMPARE(m_tabs->currentWidget(), page(2));
        QCOMPARE(changed.count(), 1);

        m_tabs->removeTabContent(page(1));
        QCOMPARE(titles(first), QStringList {"A"});
        QCOMPARE(page(1)->parent(), nullptr);

        // A document deleted elsewhere takes its emptied group along.
        m_pages.at(2).reset();
        QTRY_VERIFY(second.isNull());
        QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
        QCOMPARE(m_tabs->currentGroup(), first);
    }
};

QTEST_MAIN(TestTabContent)
#include "tst_tabcontent.moc"
