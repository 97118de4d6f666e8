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

    // A copy keeps the screen's type, and group members are copied once,
    // inside the copied group, where they were.
    void copyScreen()
    {
        DrawView *sourceView = manager()->createScreen(2, nullptr);
        DrawScene *source = sourceView->drawScene();
        GraphicsRectItem *single = addRect(source, QRectF(10, 20, 30, 40), 1);
        GraphicsRectItem *a = addRect(source, QRectF(100, 100, 20, 20), 2);
        GraphicsRectItem *b = addRect(source, QRectF(150, 120, 20, 30), 3);
        GraphicsItemGroup *group = source->createGroup({a, b});
        const QList<QGraphicsItem *> originals {single, a, b, group};
        for (int i = 0; i < originals.size(); ++i)
            shapeObject(originals.at(i))->setObjectName(QString::number(i));

        auto *copyView = qobject_cast<DrawView *>(manager()->createForm(2, sourceView));
        QVERIFY(copyView);
        DrawScene *copy = copyView->drawScene();
        QCOMPARE(copy->type(), 2);
        QMap<QString, QGraphicsItem *> byName;
        for (QGraphicsItem *item : copy->userItems())
            byName.insert(shapeObject(item)->objectName(), item);
        QCOMPARE(byName.keys(), (QStringList {"0", "1", "2", "3"}));
        QCOMPARE(copy->userItems().size(), 4);
        const QList<QGraphicsItem *> parents {nullptr, byName["3"], byName["3"], nullptr};
        for (int i = 0; i < originals.size(); ++i) {
            QCOMPARE(byName[QString::number(i)]->parentItem(), parents.at(i));
            QCOMPARE(sceneBox(byName[QString::number(i)]), sceneBox(originals.at(i)));
        }
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
        QCOMPARE(copy->text(), QStringLiteral("x = 1\n"));

        // Closing the project deletes every document and starts numbering anew.
        QPointer<DrawView> view = manager()->createScreen(1, nullptr);
        QPointer<DrawScene> scene = view->drawScene();
        manager()->clear();
        QVERIFY(second.isNull() && view.isNull() && scene.isNull());
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
        QCOMPARE(manager()->currentScene(), nullptr);
    }

private:
    static DrawManager *manager() { return DrawManager::instance(); }
};

QTEST_MAIN(TestDrawManager)
#include "tst_drawmanager.moc"
