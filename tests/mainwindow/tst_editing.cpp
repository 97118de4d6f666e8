#include "mainwindow/mainwindow.h"

#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/toolboxform.h"
#include "editor/useroptgroup.h"
#include "mainwindow/itemstable.h"
#include "property/propertytreebrowser.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "project/projecttree.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicsrectitem.h"
#include "support/isolatedsettings.h"
#include "support/modalscript.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <memory>

// Editing through the main window: gestures, keys and menu commands land on
// the current screen's own undo history.
class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void drawingRecordsOneEntry();
    void arrowKeyRunIsOneEntry();
    void pasteTwice();
    void pasteIntoOtherScreen();
    void cutUndoPaste();
    void foreignClipboardDoesNothing();
    void groupAndUngroupThroughActions();
    void deleteIsUndoable();
    void rotateButtonFollowsSelection();
    void historiesArePerScreen();
    void closingProjectFreesScreens();
    void everyKindDrawnWithTheMouse();
    void propertyBrowserFollowsSelection();

private:
    DrawView *addScreen(int type = 1);
    QUndoStack *stack() const;
    QStringList entries() const;
    void send(DrawView *view, QEvent::Type type, const QPointF &scenePoint,
              Qt::MouseButtons buttons);
    void drag(DrawView *view, const QPointF &from, const QPointF &to);
    GraphicsRectItem *addRect(DrawScene *scene, const QRectF &box);

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestEditing::initTestCase()
{
    QDir(m_dir.path()).mkpath("bin");
    QDir::setCurrent(QDir(m_dir.path()).filePath("bin"));
}

void TestEditing::init()
{
    Config::instance()->screenWidth = 800;
    Config::instance()->screenHeight = 480;
    m_window = std::make_unique<MainWindow>();
    m_window->setCentralPage(false);
    m_window->resize(1400, 900);
    DrawTool::currentShape = 0;
    DrawTool::continuousInsert = false;
}

void TestEditing::cleanup()
{
    m_window->closeProject();
    m_window.reset();
    QApplication::clipboard()->clear();
}

DrawView *TestEditing::addScreen(int type)
{
    QWidget *form = m_window->projectTree()->addForm(type);
    auto *view = qobject_cast<DrawView *>(form);
    if (view)
        view->resize(1000, 700);
    return view;
}

QUndoStack *TestEditing::stack() const
{
    return UserOptGroup::instance()->activeStack();
}

QStringList TestEditing::entries() const
{
    QStringList texts;
    if (QUndoStack *s = stack()) {
        for (int i = 0; i < s->count(); ++i)
            texts << s->text(i);
    }
    return texts;
}

void TestEditing::send(DrawView *view, QEvent::Type type, const QPointF &scenePoint,
                       Qt::MouseButtons buttons)
{
    const QPoint local = view->mapFromScene(scenePoint);
    QMouseEvent event(type, local, view->viewport()->mapToGlobal(local), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &event);
}

void TestEditing::drag(DrawView *view, const QPointF &from, const QPointF &to)
{
    send(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(view, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(view, QEvent::MouseMove, to, Qt::LeftButton);
    send(view, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

GraphicsRectItem *TestEditing::addRect(DrawScene *scene, const QRectF &box)
{
    auto *item = new GraphicsRectItem(QRect(0, 0, int(box.width()), int(box.height())));
    scene->addItem(item);
    item->normalizeGeometry();
    item->setProperty("pos", box.topLeft());
    scene->assignItemName(item);
    return item;
}

void TestEditing::drawingRecordsOneEntry()
{
    DrawView *view = addScreen();
    QVERIFY(view);
    DrawScene *scene = view->drawScene();
    QCOMPARE(DrawManager::instance()->currentScene(), scene);

    DrawTool::currentShape = RectangleKind;
    drag(view, QPointF(100, 100), QPointF(200, 150));
    QCOMPARE(scene->userItems().size(), 1);
    QGraphicsItem *shape = scene->userItems().first();
    QCOMPARE(shapeObject(shape)->objectName(), QString("rectangle_1"));
    QCOMPARE(entries(), QStringList{"创建对象"});
    QVERIFY(m_window->isModified());
    QCOMPARE(m_window->itemsTable()->itemModel()->rowCount(), 1);
    QCOMPARE(DrawTool::currentShape, 0);

    const QRectF box = shape->sceneBoundingRect();
    stack()->undo();
    QVERIFY(scene->userItems().isEmpty());
    QCOMPARE(m_window->itemsTable()->itemModel()->rowCount(), 0);
    stack()->redo();
    QCOMPARE(scene->userItems().size(), 1);
    QCOMPARE(scene->userItems().first()->sceneBoundingRect(), box);
    QVERIFY(m_window->action("undo")->isEnabled());
}

void TestEditing::arrowKeyRunIsOneEntry()
{
    DrawView *view = addScreen();
    DrawScene *scene = view->drawScene();
    QList<GraphicsRectItem *> shapes;
    for (int i = 0; i < 3; ++i) {
        shapes << addRect(scene, QRectF(100 + 60 * i, 100, 40, 40));
        shapes.last()->setSelected(true);
    }
    for (int i = 0; i < 3; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(scene, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(scene, &release);
    QCOMPARE(entries(), QStringList{"批量移动对象"});
    QCOMPARE(shapes.first()->property("pos").toPointF(), QPointF(160, 100));
    stack()->undo();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(shapes.at(i)->property("pos").toPointF(), QPointF(100 + 60 * i, 100));
}

void TestEditing::pasteTwice()
{
    DrawView *view = addScreen();
    DrawScene *scene = view->drawScene();
    GraphicsRectItem *original = addRect(scene, QRectF(100, 100, 50, 30));
    QCOMPARE(original->objectName(), QString("rectangle_1"));
    original->setSelected(true);
    m_window->on_copy();
    QVERIFY(m_window->action("paste")->isEnabled());
    m_window->on_paste();
    m_window->on_paste();

    QCOMPARE(entries(), (QStringList{"复制对象", "复制对象"}));
    QStringList names;
    for (QGraphicsItem *item : scene->userItems()) {
        if (item == original)
            continue;
        names << shapeObject(item)->objectName();
        QCOMPARE(shapeObject(item)->property("pos").toPointF(), QPointF(110, 110));
    }
    names.sort();
    QCOMPARE(names, (QStringList{"rectangle_2", "rectangle_3"}));
}

void TestEditing::pasteIntoOtherScreen()
{
    DrawView *first = addScreen();
    for (int i = 0; i < 3; ++i)
        addRect(first->drawScene(), QRectF(50 + 100 * i, 50, 40, 40))->setSelected(true);
    m_window->on_copy();

    DrawView *second = addScreen(2);
    QCOMPARE(DrawManager::instance()->currentView(), second);
    m_window->on_paste();
    QCOMPARE(second->drawScene()->userItems().size(), 3);
    QCOMPARE(entries(), QStringList{"批量复制对象"});
    QCOMPARE(UserOptGroup::instance()->stackFor(first)->count(), 0);
    QCOMPARE(first->drawScene()->userItems().size(), 3);
}

void TestEditing::cutUndoPaste()
{
    DrawView *view = addScreen();
    DrawScene *scene = view->drawScene();
    GraphicsRectItem *original = addRect(scene, QRectF(100, 100, 50, 30));
    original->setSelected(true);
    m_window->on_cut();
    QVERIFY(scene->userItems().isEmpty());
    QCOMPARE(entries(), QStringList{"删除对象"});
    stack()->undo();
    QCOMPARE(scene->userItems(), QList<QGraphicsItem *>{original});
    m_window->on_paste();
    QCOMPARE(scene->userItems().size(), 2);
    QCOMPARE(entries().last(), QString("复制对象"));
}

void TestEditing::foreignClipboardDoesNothing()
{
    DrawView *view = addScreen();
    QApplication::clipboard()->setText("text from elsewhere");
    QVERIFY(m_window->action("paste")->isEnabled());
    m_window->on_paste();
    QVERIFY(view->drawScene()->userItems().isEmpty());
    QVERIFY(entries().isEmpty());
}

void TestEditing::groupAndUngroupThroughActions()
{
    DrawView *view = addScreen();
    DrawScene *scene = view->drawScene();
    GraphicsRectItem *a = addRect(scene, QRectF(100, 100, 50, 30));
    GraphicsRectItem *b = addRect(scene, QRectF(200, 150, 50, 30));
    a->setSelected(true);
    b->setSelected(true);
    QVERIFY(m_window->action("group")->isEnabled());
    m_window->action("group")->trigger();
    QCOMPARE(entries(), QStringList{"组合"});
    auto *group = dynamic_cast<GraphicsItemGroup *>(a->parentItem());
    QVERIFY(group);
    QCOMPARE(group->objectName(), QString("group_1"));

    group->setSelected(true);
    QVERIFY(m_window->action("unGroup")->isEnabled());
    m_window->action("unGroup")->trigger();
    QCOMPARE(entries(), (QStringList{"组合", "取消组合"}));
    QVERIFY(!a->parentItem());
    QCOMPARE(a->sceneBoundingRect(), QRectF(100, 100, 50, 30));
    stack()->undo();
    QCOMPARE(a->parentItem(), static_cast<QGraphicsItem *>(group));
}

void TestEditing::deleteIsUndoable()
{
    DrawView *view = addScreen();
    DrawScene *scene = view->drawScene();
    addRect(scene, QRectF(100, 100, 50, 30))->setSelected(true);
    QVERIFY(m_window->action("delete")->isEnabled());
    m_window->action("delete")->trigger();
    QVERIFY(scene->userItems().isEmpty());
    QCOMPARE(m_window->itemsTable()->itemModel()->rowCount(), 0);
    stack()->undo();
    QCOMPARE(scene->userItems().size(), 1);
}

void TestEditing::rotateButtonFollowsSelection()
{
    DrawView *view = addScreen();
    DrawScene *scene = view->drawScene();
    GraphicsRectItem *a = addRect(scene, QRectF(100, 100, 50, 30));
    GraphicsRectItem *b = addRect(scene, QRectF(200, 150, 50, 30));
    QPushButton *rotate = m_window->toolBox()->rotateButton();
    a->setSelected(true);
    QVERIFY(rotate->isEnabled());
    scene->clearSelection();
    QVERIFY(!rotate->isEnabled());
    scene->createGroup({a, b}, true)->setSelected(true);
    QVERIFY(!rotate->isEnabled());
}

void TestEditing::historiesArePerScreen()
{
    DrawView *first = addScreen();
    DrawView *second = addScreen();
    for (int i = 0; i < 22; ++i) {
        GraphicsRectItem *item = addRect(second->drawScene(), QRectF(10, 10, 20, 20));
        m_window->itemAdded(item);
    }
    QCOMPARE(UserOptGroup::instance()->stackFor(second)->count(), 20);
    QCOMPARE(UserOptGroup::instance()->stackFor(first)->count(), 0);
    // Showing the first screen makes its history the one undo acts on.
    m_window->showTabContent(first);
    QCOMPARE(stack(), UserOptGroup::instance()->stackFor(first));
    QVERIFY(!m_window->action("undo")->isEnabled());
}

void TestEditing::closingProjectFreesScreens()
{
    QPointer<DrawView> view = addScreen();
    QPointer<DrawScene> scene = view->drawScene();
    addRect(scene, QRectF(100, 100, 50, 30))->setSelected(true);
    m_window->on_delete(); // a removed shape held by the history
    m_window->closeProject();
    QVERIFY(!view);
    QVERIFY(!scene);
    QVERIFY(DrawManager::instance()->scenes().isEmpty());
    QCOMPARE(DrawManager::instance()->currentScene(), nullptr);
}

void TestEditing::everyKindDrawnWithTheMouse()
{
    DrawView *view = addScreen();
    view->resize(900, 600);
    DrawScene *scene = view->drawScene();
    scene->setProperty("brushColor", QColor(Qt::white));

    // Box and widget kinds by dragging, point kinds by clicking.
    const QList<int> boxKinds = {RectangleKind, RoundrectKind, EllipseKind, TextKind,
                                 ImageKind,     LabelKind,     PushButtonKind, ComboBoxKind,
                                 RadioButtonKind, CheckBoxKind, LineEditKind, TextEditKind};
    QList<QRectF> boxes;
    for (int i = 0; i < boxKinds.size(); ++i) {
        const QPointF from(20 + (i % 4) * 190, 20 + (i / 4) * 110);
        const QPointF to = from + QPointF(160, 80);
        DrawTool::currentShape = boxKinds.at(i);
        drag(view, from, to);
        boxes << QRectF(from, to);
    }
    const QList<int> pointKinds = {PolygonKind, PolylineKind, BezierKind};
    for (int i = 0; i < pointKinds.size(); ++i) {
        DrawTool::currentShape = pointKinds.at(i);
        const QPointF base(20 + i * 190, 350);
        const QList<QPointF> points = {base, base + QPointF(150, 20), base + QPointF(80, 100),
                                       base + QPointF(20, 60)};
        for (const QPointF &p : points) {
            send(view, QEvent::MouseButtonPress, p, Qt::LeftButton);
            send(view, QEvent::MouseMove, p, Qt::LeftButton);
            send(view, QEvent::MouseButtonRelease, p, Qt::NoButton);
        }
        send(view, QEvent::MouseButtonDblClick, points.last(), Qt::LeftButton);
        send(view, QEvent::MouseButtonRelease, points.last(), Qt::NoButton);
    }
    DrawTool::currentShape = LineKind;
    drag(view, QPointF(600, 350), QPointF(760, 450));

    QCOMPARE(scene->userItems().size(), boxKinds.size() + pointKinds.size() + 1);
    QCOMPARE(entries().size(), 16);

    scene->clearSelection();
    const QImage shot = view->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("MAROVIN_SHOT"))
        shot.save(qEnvironmentVariable("MAROVIN_SHOT"));
    // Every visible kind leaves ink inside its box (the image box is an
    // empty placeholder and is left out).
    for (int i = 0; i < boxes.size(); ++i) {
        if (boxKinds.at(i) == ImageKind)
            continue;
        const QRect area = view->mapFromScene(boxes.at(i).adjusted(10, 10, -10, -10))
                               .boundingRect()
                               .translated(view->viewport()->pos());
        bool ink = false;
        for (int y = area.top(); y <= area.bottom() && !ink; y += 2) {
            for (int x = area.left(); x <= area.right() && !ink; x += 2)
                ink = shot.pixelColor(x, y) != QColor(Qt::white);
        }
        QVERIFY2(ink, qPrintable(QString("kind %1").arg(boxKinds.at(i))));
    }
}

void TestEditing::propertyBrowserFollowsSelection()
{
    DrawView *view = addScreen();
    DrawScene *scene = view->drawScene();
    PropertyTreeBrowser *browser = m_window->findChild<PropertyTreeBrowser *>();
    QVERIFY(browser);
    QCOMPARE(browser->currentObject(), static_cast<QObject *>(scene));

    GraphicsRectItem *a = addRect(scene, QRectF(100, 100, 50, 30));
    GraphicsRectItem *b = addRect(scene, QRectF(200, 100, 50, 30));
    a->setSelected(true);
    QCOMPARE(browser->currentObject(), static_cast<QObject *>(a));
    b->setSelected(true);
    QCOMPARE(browser->currentObject(), scene->selectedItems().last() == a
                                           ? static_cast<QObject *>(a)
                                           : static_cast<QObject *>(b));
    scene->clearSelection();
    QCOMPARE(browser->currentObject(), static_cast<QObject *>(scene));

    // An edit in the browser is one step of this screen's history, and undo
    // brings the rows back with it.
    a->setSelected(true);
    m_window->setModified(false);
    const QModelIndex width = browser->valueIndex("width");
    QVERIFY(width.isValid());
    browser->propertyModel()->setData(width, 90.0, Qt::EditRole);
    QCOMPARE(a->width(), 90.0);
    QCOMPARE(entries(), QStringList{"修改对象width属性"});
    QVERIFY(m_window->isModified());
    stack()->undo();
    QCOMPARE(a->width(), 50.0);
    QCOMPARE(browser->propertyModel()->data(browser->valueIndex("width"), Qt::EditRole).toDouble(),
             50.0);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
