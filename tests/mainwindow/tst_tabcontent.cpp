#include "mainwindow/tabcontent.h"

#include "support/menuscript.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <vector>

namespace {
const QString SplitH = QStringLiteral("生成新的水平选项卡组");
const QString SplitV = QStringLiteral("生成新的垂直选项卡组");

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
    std::unique_ptr<MenuScript> m_menus;

    QWidget *page(int i) const { return m_pages.at(i).get(); }

    // Right-clicks a tab and picks choice.
    void menu(QTabWidget *group, int index, const QString &choice)
    {
        m_menus->choose(choice);
        QTabBar *bar = group->tabBar();
        emit bar->customContextMenuRequested(bar->tabRect(index).center());
        // Emptied groups are deleted once control is back in the loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void addPages(int count)
    {
        for (int i = 0; i < count; ++i)
            m_tabs->addTabForm(page(i));
    }

    // A, B | C: three pages, the last split off into a second group below.
    QTabWidget *splitThree()
    {
        addPages(3);
        QTabWidget *first = m_tabs->currentGroup();
        menu(first, 2, SplitV);
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
        m_menus = std::make_unique<MenuScript>();
    }

    void cleanup()
    {
        QCOMPARE(m_menus->pending(), 0);
        m_menus.reset();
        m_tabs.reset();
        m_pages.clear();
    }

    // A group lives as long as its last page, however that page leaves;
    // closing only detaches pages, which outlive the tab area too.
    void groupsGoWithTheirLastPage()
    {
        QTabWidget *first = splitThree();
        QPointer<QTabWidget> second = m_tabs->groups().at(1);
        m_tabs->activateWidget(page(0));
        QSignalSpy changed(m_tabs.get(), &TabContent::currentChanged);
        emit second->tabBar()->tabBarClicked(0);
        QCOMPARE(m_tabs->currentWidget(), page(2));
        QCOMPARE(changed.count(), 1);

        emit second->tabCloseRequested(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull());
        QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
        QCOMPARE(m_tabs->currentWidget(), page(0));
        QCOMPARE(page(2)->parent(), nullptr);

        // A document deleted elsewhere takes its emptied group along.
        menu(first, 1, SplitH);
        second = m_tabs->groups().at(1);
        m_pages.at(1).reset();
        QTRY_VERIFY(second.isNull());
        QCOMPARE(m_tabs->groups(), QList<QTabWidget *> {first});
        QCOMPARE(m_tabs->currentGroup(), first);
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
        menu(m_tabs->currentGroup(), 1, command);
        QCOMPARE(titles(m_tabs->currentGroup()), remaining);
        // The last group stays, even empty; one report per command, and
        // closing is not a click on a tab.
        QCOMPARE(m_tabs->groups().size(), 1);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(m_tabs->currentGroup()->currentIndex(), shownIndex);
    }
};

QTEST_MAIN(TestTabContent)
#include "tst_tabcontent.moc"
