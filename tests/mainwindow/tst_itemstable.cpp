#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/useroptgroup.h"
#include "mainwindow/itemstable.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/projecttree.h"
#include "property/propertydialog.h"
#include "property/propertytreebrowser.h"
#include "project/drawmanager.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicsrectitem.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using scenetest::addRect;

namespace {

QStringList rowsOf(const ItemsTable &table)
{
    const QStandardItemModel *model = table.itemModel();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + QLatin1Char(' ')
                    + model->index(row, 1).data().toString();
    return rows;
}

void clickRow(ItemsTable &table, int row)
{
    mouseclicks::click(table.viewport(), table.visualRect(table.model()->index(row, 0)).center());
}

} // namespace

class TestItemsTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void init()
    {
        ProcessFixture::start(800, 600);
        m_table = std::make_unique<ItemsTable>();
        m_table->resize(300, 400);
        m_table->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_table.get()));
    }

    void cleanup()
    {
        m_table.reset();
        ProcessFixture::finish();
    }

    void rowsFollowTheScreen()
    {
        DrawScene scene;
        GraphicsRectItem *rect = addRect(&scene, QRectF(0, 0, 20, 20));
        scene.assignItemName(rect);
        auto *ellipse = new GraphicsEllipseItem(QRect(0, 0, 10, 10));
        scene.addItem(ellipse);
        ellipse->setZValue(1);
        scene.assignItemName(ellipse);
        m_table->fill(&scene);
        QCOMPARE(rowsOf(*m_table), QStringList({"rectangle_1 rectangle", "ellipse_1 ellipse"}));
        QVERIFY(!m_table->headerSorting());
        QCOMPARE(m_table->itemModel()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("名称"));

        // A group of two rectangles: the members and the group.
        GraphicsRectItem *a = addRect(&scene, QRectF(50, 0, 10, 10), 2);
        GraphicsRectItem *b = addRect(&scene, QRectF(70, 0, 10, 10), 3);
        scene.assignItemName(a);
        scene.assignItemName(b);
        scene.createGroup({a, b});
        m_table->fill(&scene);
        const QStringList rows = rowsOf(*m_table);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows.filter(QStringLiteral(" group")), QStringList("group_1 group"));
        QVERIFY(rows.contains(QStringLiteral("rectangle_2 rectangle")));
        QVERIFY(rows.contains(QStringLiteral("rectangle_3 rectangle")));

        // Fewer shapes: surplus rows go.
        delete ellipse;
        m_table->fill(&scene);
        QCOMPARE(rowsOf(*m_table).size(), 4);
        QVERIFY(!rowsOf(*m_table).contains(QStringLiteral("ellipse_1 ellipse")));
    }

    void clickSelectsTheShape()
    {
        DrawScene scene;
        GraphicsRectItem *rect = addRect(&scene, QRectF(0, 0, 20, 20));
        scene.assignItemName(rect);
        GraphicsRectItem *other = addRect(&scene, QRectF(40, 0, 20, 20), 1);
        scene.assignItemName(other);
        m_table->fill(&scene);
        QSignalSpy selection(&scene, &QGraphicsScene::selectionChanged);
        rect->setSelected(true);
        clickRow(*m_table, 1);
        QCOMPARE(scene.selectedItems(), QList<QGraphicsItem *>({other}));
        QVERIFY(selection.count() >= 2);
        clickRow(*m_table, 0);
        QCOMPARE(scene.selectedItems(), QList<QGraphicsItem *>({rect}));
        // A row whose shape has gone since the fill selects nothing.
        delete other;
        clickRow(*m_table, 1);
        QVERIFY(scene.selectedItems().isEmpty());
    }

    void deletedScreenIsForgotten_data()
    {
        QTest::addColumn<bool>("throughManager");
        QTest::newRow("scene deleted") << false;
        QTest::newRow("screen removed") << true;
    }
    void deletedScreenIsForgotten()
    {
        QFETCH(bool, throughManager);
        DrawView *view = throughManager ? DrawManager::instance()->createScreen(1, nullptr)
                                        : nullptr;
        QPointer<DrawScene> scene = view ? view->drawScene() : new DrawScene;
        GraphicsRectItem *rect = addRect(scene, QRectF(0, 0, 20, 20));
        scene->assignItemName(rect);
        m_table->fill(scene);
        QCOMPARE(m_table->itemModel()->rowCount(), 1);
        if (throughManager)
            QVERIFY(DrawManager::instance()->removeForm(view));
        else
            delete scene.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!scene);
        QVERIFY(!m_table->scene());
        QCOMPARE(m_table->itemModel()->rowCount(), 0);
        // A click where the row was, or on a stale index, reaches nothing.
        clickRow(*m_table, 0);
        m_table->selectRow(m_table->itemModel()->index(0, 0));
    }

    void projectClosed()
    {
        DrawView *view = DrawManager::instance()->createScreen(1, nullptr);
        m_table->fill(view->drawScene());
        DrawManager::instance()->clear();
        QVERIFY(!m_table->scene());
        QCOMPARE(m_table->itemModel()->rowCount(), 0);
        m_table->fill(nullptr);
        QCOMPARE(m_table->itemModel()->rowCount(), 0);
    }

    // In the main window: a rename through the property dialog, its undo
    // and redo refresh the row; a click shows the shape's properties.
    void renameUndoRedoInTheMainWindow()
    {
        auto window = std::make_unique<MainWindow>();
        window->setCentralPage(false);
        auto *view = qobject_cast<DrawView *>(window->projectTree()->addForm(1));
        QVERIFY(view);
        DrawScene *scene = view->drawScene();
        GraphicsRectItem *rect = addRect(scene, QRectF(10, 10, 40, 40));
        scene->assignItemName(rect);
        GraphicsRectItem *other = addRect(scene, QRectF(100, 10, 40, 40), 1);
        scene->assignItemName(other);
        ItemsTable *table = window->itemsTable();
        table->fill(scene);
        QCOMPARE(rowsOf(*table),
                 QStringList({"rectangle_1 rectangle", "rectangle_2 rectangle"}));

        table->resize(300, 300);
        table->show();
        clickRow(*table, 1);
        QCOMPARE(scene->selectedItems(), QList<QGraphicsItem *>({other}));
        auto *browser = window->findChild<PropertyTreeBrowser *>();
        QVERIFY(browser);
        QCOMPARE(browser->currentObject(), static_cast<QObject *>(other));

        PropertyDialog dialog;
        dialog.setItemTarget(other);
        dialog.nameEdit()->setText(QStringLiteral("阀门"));
        QVERIFY(dialog.on_apply_clicked());
        QCOMPARE(rowsOf(*table), QStringList({"rectangle_1 rectangle", "阀门 rectangle"}));
        QUndoStack *stack = UserOptGroup::instance()->activeStack();
        stack->undo();
        QCOMPARE(rowsOf(*table),
                 QStringList({"rectangle_1 rectangle", "rectangle_2 rectangle"}));
        stack->redo();
        QCOMPARE(rowsOf(*table), QStringList({"rectangle_1 rectangle", "阀门 rectangle"}));
        table->hide();
        ProcessFixture::close(window);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ItemsTable> m_table;
};

QTEST_MAIN(TestItemsTable)
#include "tst_itemstable.moc"
