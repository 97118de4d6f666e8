#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "shapes/graphicsitemgroup.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>

using scenetest::addRect;
using scenetest::sceneBox;

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
        GraphicsRectItem *a = addRect(source, QRectF(100, 100, 20, 20), 1);
        GraphicsRectItem *b = addRect(source, QRectF(150, 120, 30, 30), 2);
        GraphicsItemGroup *group = source->createGroup({a, b});

        auto *copyView = qobject_cast<DrawView *>(manager()->createForm(2, sourceView));
        QVERIFY(copyView);
        DrawScene *copy = copyView->drawScene();
        QCOMPARE(copy->type(), 2);
        QCOMPARE(copy->userItems().size(), 3);
        QMap<qreal, QGraphicsItem *> byWidth;
        for (QGraphicsItem *item : copy->userItems())
            byWidth.insert(sceneBox(item).width(), item);
        QCOMPARE(sceneBox(byWidth.value(80)), sceneBox(group));
        QCOMPARE(byWidth.value(20)->parentItem(), byWidth.value(80));
        QCOMPARE(sceneBox(byWidth.value(20)), sceneBox(a));
        QCOMPARE(byWidth.value(30)->parentItem(), byWidth.value(80));
        QCOMPARE(sceneBox(byWidth.value(30)), sceneBox(b));
    }

private:
    static DrawManager *manager() { return DrawManager::instance(); }
};

QTEST_MAIN(TestDrawManager)
#include "tst_drawmanager.moc"
