#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "shapes/graphicsitemgroup.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QPointer>
#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

// Deleting through the project tree, script numbering after a delete and
// screen naming are checked in tst_projecttree.
class TestDrawManager : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(800, 480); }
    void cleanup() { ProcessFixture::finish(); }

    void unknownTypeMakesNothing()
    {
        for (int type : {0, 5})
            QCOMPARE(manager()->createForm(type, nullptr), nullptr);
        QVERIFY(manager()->scenes().isEmpty() && manager()->scripts().isEmpty());
    }

    void copyScreen()
    {
        const int type = 2; // not a base screen: the copy must keep the type
        DrawView *sourceView = manager()->createScreen(type, nullptr);
        DrawScene *source = sourceView->drawScene();
        GraphicsRectItem *single = addRect(source, QRectF(10, 20, 30, 40), 1);
        GraphicsRectItem *a = addRect(source, QRectF(100, 100, 20, 20), 2);
        GraphicsRectItem *b = addRect(source, QRectF(150, 120, 20, 30), 3);
        single->setObjectName(QStringLiteral("alone"));
        a->setObjectName(QStringLiteral("a"));
        b->setObjectName(QStringLiteral("b"));
        GraphicsItemGroup *group = source->createGroup({a, b});
        group->setObjectName(QStringLiteral("pair"));

        auto *copyView = qobject_cast<DrawView *>(manager()->createForm(type, sourceView));
        QVERIFY(copyView);
        DrawScene *copy = copyView->drawScene();
        QCOMPARE(copy->type(), type);
        QCOMPARE(copy->objectName(), QStringLiteral("窗口画面_2"));
        QCOMPARE(source->userItems().size(), 4);

        // Group members are copied once, inside the copied group.
        QMap<QString, QGraphicsItem *> byName;
        const QList<QGraphicsItem *> items = copy->userItems();
        for (QGraphicsItem *item : items)
            byName.insert(shapeObject(item)->objectName(), item);
        QCOMPARE(items.size(), 4);
        QCOMPARE(byName.keys(), (QStringList {"a", "alone", "b", "pair"}));
        QCOMPARE(byName.value("alone")->parentItem(), nullptr);
        QCOMPARE(byName.value("pair")->parentItem(), nullptr);
        QCOMPARE(byName.value("a")->parentItem(), byName.value("pair"));
        QCOMPARE(byName.value("b")->parentItem(), byName.value("pair"));
        for (QGraphicsItem *original : QList<QGraphicsItem *> {single, a, b, group})
            QCOMPARE(sceneBox(byName.value(shapeObject(original)->objectName())),
                     sceneBox(original));
    }

    void removeOnlyOwnScreens()
    {
        QPointer<DrawView> a = manager()->createScreen(1, nullptr);
        QPointer<DrawScene> sceneA = a->drawScene();
        DrawScene foreignScene;
        DrawView foreign(&foreignScene);
        QVERIFY(!manager()->removeForm(&foreign));
        QVERIFY(!manager()->removeForm(manager()->createScript()));
        QCOMPARE(manager()->currentView(), a.data());

        QVERIFY(manager()->removeForm(a));
        QVERIFY(a.isNull() && sceneA.isNull());
        QCOMPARE(manager()->currentView(), nullptr);
        QCOMPARE(manager()->currentScene(), nullptr);
    }

    void currentViewTakesZoomAndDropsSelection()
    {
        DrawView *a = manager()->createScreen(1, nullptr);
        a->setZoom(2.0);
        GraphicsRectItem *rect = addRect(a->drawScene(), QRectF(0, 0, 10, 10));
        rect->setSelected(true);

        DrawView *b = manager()->createScreen(1, nullptr);
        QCOMPARE(b->zoomFactor(), 2.0);
        QVERIFY(!rect->isSelected());

        b->setZoom(3.0);
        rect->setSelected(true);
        manager()->setCurrentView(a);
        QCOMPARE(a->zoomFactor(), 3.0);
        QVERIFY(rect->isSelected());

        manager()->setCurrentView(nullptr);
        QCOMPARE(manager()->currentScene(), nullptr);
        QVERIFY(!rect->isSelected());
    }

    void scriptNumbering()
    {
        QPointer<CodeEditor> first = manager()->createScript();
        QPointer<CodeEditor> second = manager()->createScript();
        // Even an editor deleted behind the manager's back keeps its number.
        delete first.data();
        CodeEditor *third = manager()->createScript();
        QCOMPARE(manager()->scripts(), (QList<CodeEditor *> {second.data(), third}));

        third->setText(QStringLiteral("x = 1\n"));
        auto *copy = qobject_cast<CodeEditor *>(manager()->createForm(4, third));
        QVERIFY(copy);
        QCOMPARE(copy->windowTitle(), QStringLiteral("脚本_4"));
        QCOMPARE(copy->text(), QStringLiteral("x = 1\n"));
        QVERIFY(!copy->isModified());

        // Closing the project deletes every document and starts numbering anew.
        QPointer<DrawView> view = manager()->createScreen(1, nullptr);
        QPointer<DrawScene> scene = view->drawScene();
        manager()->clear();
        QVERIFY(second.isNull() && view.isNull() && scene.isNull());
        QCOMPARE(manager()->currentView(), nullptr);
        QCOMPARE(manager()->createScript()->windowTitle(), QStringLiteral("脚本_1"));
    }

    void viewClosedElsewhere()
    {
        DrawView *kept = manager()->createScreen(1, nullptr);
        QPointer<DrawView> closed = manager()->createScreen(1, nullptr);
        QPointer<DrawScene> scene = closed->drawScene();
        closed->close();
        QTRY_VERIFY(closed.isNull());
        QVERIFY(scene.isNull());
        QCOMPARE(manager()->scenes(), QList<DrawScene *> {kept->drawScene()});
        QCOMPARE(manager()->currentView(), nullptr);
        QCOMPARE(manager()->currentScene(), nullptr);
    }

private:
    static DrawManager *manager() { return DrawManager::instance(); }
};

QTEST_MAIN(TestDrawManager)
#include "tst_drawmanager.moc"
