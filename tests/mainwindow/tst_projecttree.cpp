#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "mainwindow/formwidgets.h"
#include "mainwindow/projecttree.h"
#include "mainwindow/tabcontent.h"
#include "model/config.h"
#include "support/menuscript.h"
#include "support/processfixture.h"

#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include <memory>

// The tree wired to a tab area and the manager as the main window does.
class TestProjectTree : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ProcessFixture::start(800, 480);
        m_tabs = std::make_unique<TabContent>();
        m_tree = std::make_unique<ProjectTree>();
        m_widgets = std::make_unique<FormWidgets>();
        TabContent *tabs = m_tabs.get();
        FormWidgets *widgets = m_widgets.get();
        connect(m_tree.get(), &ProjectTree::showTabContent, tabs, [tabs, widgets](QObject *form) {
            tabs->activateWidget(widgets->widgetFor(form));
            if (auto *scene = qobject_cast<DrawScene *>(form))
                DrawManager::instance()->setCurrentScene(scene);
        });
        connect(m_tree.get(), &ProjectTree::removeTabContent, tabs, [tabs, widgets](QObject *form) {
            tabs->removeTabContent(widgets->existingWidget(form));
            DrawManager::instance()->removeForm(form);
        });
        m_tree->resize(300, 600);
        m_tree->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
        m_menus = std::make_unique<MenuScript>();
    }

    void cleanup()
    {
        m_menus.reset();
        m_tree.reset();
        m_widgets.reset();
        m_tabs.reset();
        ProcessFixture::finish();
    }

    // Fixed entries get no menu and cannot be deleted even when asked
    // directly; the entries of forms go with them, without asking the tabs.
    void entriesGoOnlyWithTheirForms()
    {
        QSignalSpy removed(m_tree.get(), &ProjectTree::removeTabContent);
        m_tree->addForm(1);
        m_tree->addForm(4);
        QVERIFY(!menuOn(entry(QStringLiteral("添加基础画面")), {}));
        m_tree->deleteItem(m_tree->categoryItem(1));
        m_tree->deleteItem(m_tree->categoryItem(1)->child(0));
        QCOMPARE(m_tree->topLevelItemCount(), 2);
        QCOMPARE(m_tree->categoryItem(1)->childCount(), 2);
        DrawManager::instance()->clear();
        QCOMPARE(childTexts(1) + childTexts(4), (QStringList {"添加基础画面", "添加脚本"}));
        QCOMPARE(removed.count(), 0);
        QCOMPARE(m_tabs->currentGroup()->count(), 0);
    }

    // A screen outlives its view: a view closed by itself leaves the screen
    // and its entry in the project, and showing the screen makes a new one.
    void closedViewIsMadeAgain()
    {
        auto *scene = qobject_cast<DrawScene *>(m_tree->addForm(1));
        QPointer<QWidget> view = m_widgets->existingWidget(scene);
        QVERIFY(view);
        view->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!view);
        QCOMPARE(DrawManager::instance()->scenes(), QList<DrawScene *>({scene}));
        QVERIFY(m_tree->findItem(scene));
        emit m_tree->showTabContent(scene);
        QVERIFY(scene->view());
        QCOMPARE(m_tabs->currentWidget(), m_widgets->existingWidget(scene));
    }

private:
    QStringList childTexts(int kind) const
    {
        QStringList texts;
        QTreeWidgetItem *category = m_tree->categoryItem(kind);
        for (int i = 0; i < category->childCount(); ++i)
            texts << category->child(i)->text(0);
        return texts;
    }

    QTreeWidgetItem *entry(const QString &text) const
    {
        const QList<QTreeWidgetItem *> found
            = m_tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.first() : nullptr;
    }

    // Right-clicks item and picks choice, if any; false when no menu came up.
    bool menuOn(QTreeWidgetItem *item, const QString &choice)
    {
        const int before = m_menus->shown().size();
        if (!choice.isEmpty())
            m_menus->choose(choice);
        emit m_tree->customContextMenuRequested(m_tree->visualItemRect(item).center());
        return m_menus->shown().size() > before && m_menus->pending() == 0;
    }

    std::unique_ptr<TabContent> m_tabs;
    std::unique_ptr<ProjectTree> m_tree;
    std::unique_ptr<FormWidgets> m_widgets;
    std::unique_ptr<MenuScript> m_menus;
};

QTEST_MAIN(TestProjectTree)
#include "tst_projecttree.moc"
