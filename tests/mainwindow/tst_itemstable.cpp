#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "mainwindow/itemstable.h"
#include "shapes/graphicsrectitem.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using scenetest::addRect;

namespace {

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

    // A click selects the row's shape, or nothing once that shape has gone.
    void clickSelectsTheRowsShape()
    {
        DrawScene scene;
        GraphicsRectItem *rect = addRect(&scene, QRectF(0, 0, 20, 20));
        scene.assignItemName(rect);
        m_table->fill(&scene);
        clickRow(*m_table, 0);
        QCOMPARE(scene.selectedItems(), QList<QGraphicsItem *>({rect}));
        delete rect;
        clickRow(*m_table, 0);
        QVERIFY(scene.selectedItems().isEmpty());
    }

    // A click where the row was, or on a stale index, then reaches nothing.
    void goneScreenIsForgotten_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("scene deleted") << "delete";
        QTest::newRow("screen removed") << "remove";
        QTest::newRow("project closed") << "close";
    }
    void goneScreenIsForgotten()
    {
        QFETCH(QString, how);
        QPointer<DrawScene> scene
            = how == "delete" ? new DrawScene : DrawManager::instance()->createScreen(1);
        scene->assignItemName(addRect(scene, QRectF(0, 0, 20, 20)));
        m_table->fill(scene);
        QCOMPARE(m_table->itemModel()->rowCount(), 1);
        if (how == "remove")
            QVERIFY(DrawManager::instance()->removeForm(scene));
        else if (how == "close")
            DrawManager::instance()->clear();
        else
            delete scene.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!scene);
        QVERIFY(!m_table->scene());
        QCOMPARE(m_table->itemModel()->rowCount(), 0);
        clickRow(*m_table, 0);
        m_table->selectRow(m_table->itemModel()->index(0, 0));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ItemsTable> m_table;
};

QTEST_MAIN(TestItemsTable)
#include "tst_itemstable.moc"
