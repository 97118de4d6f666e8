#include "document/drawmanager.h"
#include "document/projectfile.h"
#include "document/projectscript.h"
#include "editor/drawscene.h"
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

    // A copy keeps the screen's type, size, colours and frame (not its
    // name), and group members are copied once, inside the copied group,
    // where they were.
    void copyScreen()
    {
        DrawScene *source = manager()->createScreen(2);
        source->setWidth(800);
        source->setHeight(480);
        source->setBrushColor(QColor(Qt::red));
        source->setPenColor(QColor(Qt::blue));
        GraphicsRectItem *a = addRect(source, QRectF(100, 100, 20, 20), 1);
        GraphicsRectItem *b = addRect(source, QRectF(150, 120, 30, 30), 2);
        GraphicsItemGroup *group = source->createGroup({a, b});

        auto *copy = qobject_cast<DrawScene *>(manager()->createForm(2, source));
        QVERIFY(copy);
        QCOMPARE(copy->type(), 2);
        QCOMPARE(QSizeF(copy->width(), copy->height()), QSizeF(800, 480));
        QCOMPARE(copy->brushColor(), QColor(Qt::red));
        QCOMPARE(copy->penColor(), QColor(Qt::blue));
        QVERIFY(copy->objectName() != source->objectName());
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

    // Deleting a screen or a script takes it out of the project: the next
    // save no longer holds it, a current screen gives way to the last one
    // left, and new scripts are numbered on.
    void removedFormsLeaveTheProject_data()
    {
        QTest::addColumn<bool>("screen");
        QTest::newRow("screen") << true;
        QTest::newRow("script") << false;
    }
    void removedFormsLeaveTheProject()
    {
        QFETCH(bool, screen);
        DrawScene *first = manager()->createScreen(1);
        DrawScene *second = manager()->createScreen(1);
        ProjectScript *script = manager()->createScript();
        script->setText(QStringLiteral("a = 1;"));
        manager()->createScript();
        QPointer<QObject> removed = screen ? static_cast<QObject *>(second) : script;
        const QByteArray name = removed->objectName().toUtf8();
        QVERIFY(ProjectFile::projectBytes().contains(name));

        QVERIFY(manager()->removeForm(removed));
        QVERIFY(!removed);
        DrawScene stray;
        QVERIFY(!manager()->removeForm(&stray)); // not the manager's to delete
        const QByteArray saved = ProjectFile::projectBytes();
        QVERIFY(!saved.contains(name));
        QCOMPARE(saved.contains("a = 1;"), screen);
        QCOMPARE(manager()->scenes().size(), screen ? 1 : 2);
        QCOMPARE(manager()->scripts().size(), screen ? 2 : 1);
        QCOMPARE(manager()->currentScene(), screen ? first : second);
        QCOMPARE(manager()->createScript()->name(), QStringLiteral("脚本_3"));
    }

private:
    static DrawManager *manager() { return DrawManager::instance(); }
};

QTEST_MAIN(TestDrawManager)
#include "tst_drawmanager.moc"
