#include "mainwindow/mainwindow.h"

#include "app/editorsettings.h"
#include "app/modalseam.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/toolboxform.h"
#include "editor/useroptgroup.h"
#include "mainwindow/itemstable.h"
#include "mainwindow/optionsetdialog.h"
#include "mainwindow/projecttree.h"
#include "mainwindow/tabcontent.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "property/propertytreebrowser.h"
#include "project/projectfile.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicspolyline.h"
#include "shapes/graphicsrectitem.h"
#include "support/menuscript.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

// Editing through the main window: gestures, keys and menu commands land on
// the current screen's own undo history.
class TestEditing : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;

    DrawView *addScreen(int type = 1)
    {
        auto *view = qobject_cast<DrawView *>(m_window->projectTree()->addForm(type));
        if (view)
            view->resize(1000, 700);
        return view;
    }

    QUndoStack *stack() const { return UserOptGroup::instance()->activeStack(); }

    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; stack() && i < stack()->count(); ++i)
            texts << stack()->text(i);
        return texts;
    }

    int tableRows() const { return m_window->itemsTable()->itemModel()->rowCount(); }
    PropertyTreeBrowser *browser() const { return m_window->findChild<PropertyTreeBrowser *>(); }

    void send(DrawView *view, QEvent::Type type, const QPointF &scenePoint,
              Qt::MouseButtons buttons)
    {
        const QPoint local = view->mapFromScene(scenePoint);
        QMouseEvent event(type, local, view->viewport()->mapToGlobal(local), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }

    // Pressed at the first point, moved through the others, released at the last.
    void gesture(DrawView *view, const QList<QPointF> &points)
    {
        send(view, QEvent::MouseButtonPress, points.first(), Qt::LeftButton);
        for (const QPointF &p : points)
            send(view, QEvent::MouseMove, p, Qt::LeftButton);
        send(view, QEvent::MouseButtonRelease, points.last(), Qt::NoButton);
    }

    // Three clicks and a double click on the last.
    void threePoints(DrawView *view, const QPointF &base)
    {
        for (const QPointF &p : {base, base + QPointF(150, 20), base + QPointF(80, 100)})
            gesture(view, {p});
        send(view, QEvent::MouseButtonDblClick, base + QPointF(80, 100), Qt::LeftButton);
        send(view, QEvent::MouseButtonRelease, base + QPointF(80, 100), Qt::NoButton);
    }

    // A named rectangle, as the rectangle tool leaves it.
    GraphicsRectItem *addRect(DrawScene *scene, const QRectF &box)
    {
        GraphicsRectItem *item = scenetest::addRect(scene, box);
        scene->assignItemName(item);
        return item;
    }

    static GraphicsPolygonItem *addTriangle(DrawScene *scene, const QPointF &corner, double w,
                                            double h, bool open)
    {
        GraphicsPolygonItem *shape = open ? new GraphicsPolyline : new GraphicsPolygonItem;
        scene->addItem(shape);
        for (const QPointF &p : {corner, corner + QPointF(w, 0), corner + QPointF(w / 3, h)})
            shape->appendPoint(p);
        shape->finishPoints(QPointF());
        shape->normalizeGeometry();
        return shape;
    }

    // Where each shape lies on screen (its points for a point-list shape,
    // else its box), its z value appended as a last point.
    static QList<QPolygonF> looks(const QList<QGraphicsItem *> &items)
    {
        QList<QPolygonF> result;
        for (const QGraphicsItem *item : items) {
            const auto *shape = dynamic_cast<const GraphicsPolygonItem *>(item);
            result << (shape ? shape->mapToScene(shape->points())
                             : QPolygonF(scenetest::sceneBox(item)));
            result.last() << QPointF(item->zValue(), 0);
        }
        return result;
    }
    // How many shapes look different.
    static int changes(const QList<QPolygonF> &a, const QList<QPolygonF> &b)
    {
        int count = 0;
        for (int i = 0; i < a.size(); ++i) {
            bool same = a.at(i).size() == b.at(i).size();
            for (int p = 0; same && p < a.at(i).size(); ++p)
                same = QLineF(a.at(i).at(p), b.at(i).at(p)).length() <= 1e-6;
            count += same ? 0 : 1;
        }
        return count;
    }

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void init()
    {
        ProcessFixture::start(800, 480);
        m_window = std::make_unique<MainWindow>();
        m_window->setCentralPage(false);
        m_window->resize(1400, 900);
    }

    void cleanup()
    {
        ProcessFixture::close(m_window);
        ProcessFixture::finish();
    }

    // Each kind drawn with the mouse is one named entry and one table row,
    // shows on screen, and goes and comes back with undo and redo.
    void everyKindDrawnWithTheMouse()
    {
        DrawView *view = addScreen();
        view->resize(900, 600);
        DrawScene *scene = view->drawScene();
        scene->setProperty("brushColor", QColor(Qt::white));
        const QList<int> boxKinds = {RectangleKind,   RoundrectKind, EllipseKind,    TextKind,
                                     ImageKind,       LabelKind,     PushButtonKind, ComboBoxKind,
                                     RadioButtonKind, CheckBoxKind,  LineEditKind,   TextEditKind};
        QList<QRectF> boxes;
        QRectF first;
        for (int i = 0; i < boxKinds.size(); ++i) {
            boxes << QRectF(20 + (i % 4) * 190, 20 + (i / 4) * 110, 160, 80);
            DrawTool::currentShape = boxKinds.at(i);
            gesture(view,
                    {boxes.last().topLeft(), boxes.last().center(), boxes.last().bottomRight()});
            if (i == 0) {
                first = scene->userItems().first()->sceneBoundingRect();
                QCOMPARE(shapeObject(scene->userItems().first())->objectName(), "rectangle_1");
            }
        }
        for (int i = 0; i < 3; ++i) {
            DrawTool::currentShape = QList<int> {PolygonKind, PolylineKind, BezierKind}.at(i);
            threePoints(view, QPointF(20 + i * 190, 350));
        }
        DrawTool::currentShape = LineKind;
        gesture(view, {QPointF(600, 350), QPointF(680, 400), QPointF(760, 450)});
        const int count = boxKinds.size() + 4;
        QCOMPARE(scene->userItems().size(), count);
        QCOMPARE(entries().count("创建对象"), count);
        QCOMPARE(tableRows(), count);
        QVERIFY(m_window->isModified());
        QCOMPARE(DrawTool::currentShape, 0);

        // The image box is an empty placeholder.
        scene->clearSelection();
        const QImage shot = view->grab().toImage();
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

        while (stack()->canUndo())
            stack()->undo();
        QVERIFY(scene->userItems().isEmpty());
        QCOMPARE(tableRows(), 0);
        stack()->redo();
        QCOMPARE(scene->userItems().size(), 1);
        QCOMPARE(scene->userItems().first()->sceneBoundingRect(), first);
    }

    // The editor hands the resize it records the handle that stayed put.
    void flippedResizeUndoesExactly()
    {
        DrawView *view = addScreen();
        GraphicsPolygonItem *shape = addTriangle(view->drawScene(), {100, 100}, 100, 60, false);
        shape->setSelected(true);
        const QPolygonF before = shape->mapToScene(shape->points());
        send(view, QEvent::MouseMove, QPointF(200, 130), Qt::NoButton);
        gesture(view, {QPointF(200, 130), QPointF(50, 145)});
        const QPolygonF after = shape->mapToScene(shape->points());
        QVERIFY(after != before);
        QCOMPARE(entries(), QStringList {"调整对象大小"});
        stack()->undo();
        QCOMPARE(shape->mapToScene(shape->points()), before);
        stack()->redo();
        QCOMPARE(shape->mapToScene(shape->points()), after);
    }

    void lockSetInDialogRefusesDragsWithANote()
    {
        DrawView *view = addScreen();
        GraphicsRectItem *shape = addRect(view->drawScene(), QRectF(100, 100, 100, 50));
        shape->setSelected(true);
        // The next window would read the lock back from the settings file.
        const auto unlock = qScopeGuard([] {
            EditorSettings::instance()->setValues(EditorSettings::Values());
            EditorSettings::instance()->store();
        });
        ModalSeam::setHandler([this](const ModalRequest &) {
            auto *dialog = m_window->findChild<OptionSetDialog *>();
            if (dialog)
                dialog->lockBox()->setChecked(true);
            ModalAnswer answer;
            answer.accepted = dialog != nullptr;
            return answer;
        });
        m_window->action("setup")->trigger();
        ModalSeam::setHandler({});
        QVERIFY(DrawScene::shapesLocked());

        m_window->statusBar()->clearMessage();
        gesture(view, {QPointF(150, 125), QPointF(180, 160), QPointF(250, 200)});
        QCOMPARE(scenetest::sceneBox(shape), QRectF(100, 100, 100, 50));
        QVERIFY(entries().isEmpty());
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 QString("元件已锁定：不能移动、缩放、变形或旋转。"));
    }

    // One command is one undo step however many shapes it changes (more
    // than the history holds entries), and one that changes nothing records
    // nothing. Point-list shapes must come back exactly: their box handles
    // lie on the stroke, so no handle marks the fixed point.
    void commandIsOneUndoStep_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("changed"); // at least this many shapes change; 0: none
        const int many = UserOptGroup::UndoLimit + 1;
        QTest::newRow("align left") << "align_left" << "scattered" << many;
        QTest::newRow("distribute horizontally") << "align_horzeven" << "scattered" << many;
        QTest::newRow("equal size") << "align_all" << "scattered" << many;
        QTest::newRow("equal size, point shapes") << "align_all" << "points" << many;
        QTest::newRow("equal height, point shapes") << "align_height" << "points" << many;
        QTest::newRow("align left, aligned") << "align_left" << "column" << 0;
        QTest::newRow("equal size, equal") << "align_all" << "column" << 0;
        QTest::newRow("distribute vertically, even") << "align_verteven" << "column" << 0;
        QTest::newRow("bring forward") << "toPrev" << "pile" << 1;
        QTest::newRow("send backward") << "toNext" << "pile" << 1;
        QTest::newRow("bring to front") << "toFront" << "pile" << 1;
        QTest::newRow("send to back") << "toBack" << "pile" << 1;
        QTest::newRow("send a lone shape to back") << "toBack" << "lone" << 0;
    }

    void commandIsOneUndoStep()
    {
        QFETCH(QString, command);
        QFETCH(QString, layout);
        QFETCH(int, changed);
        DrawScene *scene = addScreen()->drawScene();
        QList<QGraphicsItem *> shapes;
        if (layout == "scattered" || layout == "points") {
            // No two alike in place or size.
            for (int i = 0; i < 25; ++i) {
                const QPointF corner(20 + 29 * i, 30 + 11 * i);
                const double w = 20 + i, h = 15 + i;
                if (layout == "points" && i % 5 != 0)
                    shapes << addTriangle(scene, corner, w, h, i % 2 == 1);
                else
                    shapes << addRect(scene, QRectF(corner, QSizeF(w, h)));
                shapes.last()->setSelected(true);
            }
        } else if (layout == "column") {
            for (int i = 0; i < 3; ++i) {
                shapes << addRect(scene, QRectF(100, 100 + 50 * i, 40, 30));
                shapes.last()->setSelected(true);
            }
        } else {
            // Three at z 0.25, 1, 2, overlapping unless lone; the middle one
            // selected. 0.25 is a z the scene never hands out, so undo must
            // restore it, not renumber.
            for (int i = 0; i < 3; ++i) {
                const double x = layout == "lone" && i == 1 ? 500 : 100 + 20 * i;
                shapes << addRect(scene, QRectF(x, 100, 60, 40));
                shapes.last()->setZValue(i == 0 ? 0.25 : i);
            }
            shapes.at(1)->setSelected(true);
        }
        const QList<QPolygonF> before = looks(shapes);
        m_window->setModified(false);

        m_window->action(command)->trigger();
        const QList<QPolygonF> after = looks(shapes);
        const int seen = changes(before, after);
        QVERIFY2(changed ? seen >= changed : seen == 0, qPrintable(QString::number(seen)));
        QCOMPARE(entries(), changed ? QStringList {m_window->action(command)->text()}
                                    : QStringList());
        QCOMPARE(m_window->isModified(), changed > 0);
        if (!changed)
            return;
        stack()->undo();
        QCOMPARE(changes(looks(shapes), before), 0);
        stack()->redo();
        QCOMPARE(changes(looks(shapes), after), 0);
    }

    // Copies land at +(10, 10) with new names; text from another program
    // is offered but pastes nothing.
    void cutUndoPasteTwice()
    {
        DrawScene *scene = addScreen()->drawScene();
        GraphicsRectItem *original = addRect(scene, QRectF(100, 100, 50, 30));
        original->setSelected(true);
        m_window->on_cut();
        QVERIFY(scene->userItems().isEmpty());
        QCOMPARE(entries(), QStringList {"删除对象"});
        stack()->undo();
        QCOMPARE(scene->userItems(), QList<QGraphicsItem *> {original});

        m_window->on_paste();
        m_window->on_paste();
        QCOMPARE(entries(), (QStringList {"复制对象", "复制对象"}));
        QStringList names;
        for (QGraphicsItem *item : scene->userItems()) {
            if (item == original)
                continue;
            names << shapeObject(item)->objectName();
            QCOMPARE(shapeObject(item)->property("pos").toPointF(), QPointF(110, 110));
        }
        names.sort();
        QCOMPARE(names, (QStringList {"rectangle_2", "rectangle_3"}));

        QApplication::clipboard()->setText("text from elsewhere");
        QVERIFY(m_window->action("paste")->isEnabled());
        m_window->on_paste();
        QCOMPARE(scene->userItems().size(), 3);
        QCOMPARE(entries().size(), 2);
    }

    // A screen renamed in the tree marks the project modified and shows in
    // the browser; names pasted there or in the browser lose the control
    // characters a file cannot hold.
    void renamesKeepOnlyVisibleCharacters()
    {
        DrawView *view = addScreen();
        QCOMPARE(browser()->currentObject(), static_cast<QObject *>(view->drawScene()));
        m_window->setModified(false);
        QTreeWidgetItem *entry = m_window->projectTree()->findItem(view);
        QVERIFY(entry);
        entry->setText(0, QString("主\v画面\u0001")); // as the tree's editor commits it
        const QString name("主 画面 ");
        QVERIFY(m_window->isModified());
        QCOMPARE(view->drawScene()->objectName(), name);
        QCOMPARE(view->windowTitle(), name);
        QCOMPARE(entry->text(0), name);
        QCOMPARE(browser()->propertyModel()->data(browser()->valueIndex("objectName")).toString(),
                 name);

        GraphicsRectItem *a = addRect(view->drawScene(), QRectF(100, 100, 50, 30));
        a->setSelected(true);
        browser()->propertyModel()->setData(browser()->valueIndex("objectName"), "pump\u0001\v2",
                                            Qt::EditRole);
        QCOMPARE(a->objectName(), QString("pump  2"));
    }

    void historiesArePerScreen()
    {
        DrawView *first = addScreen();
        for (int i = 0; i < 3; ++i)
            addRect(first->drawScene(), QRectF(50 + 100 * i, 50, 40, 40))->setSelected(true);
        m_window->on_copy();

        DrawView *second = addScreen(2);
        m_window->on_paste();
        QCOMPARE(second->drawScene()->userItems().size(), 3);
        QCOMPARE(entries(), QStringList {"批量复制对象"});
        QCOMPARE(UserOptGroup::instance()->stackFor(first)->count(), 0);
        m_window->showTabContent(first);
        QCOMPARE(stack(), UserOptGroup::instance()->stackFor(first));
        QVERIFY(!m_window->action("undo")->isEnabled());
    }

    // Also: the rotate tool is offered for a single plain shape only.
    void groupAndUngroupThroughActions()
    {
        DrawScene *scene = addScreen()->drawScene();
        QPushButton *rotate = m_window->toolBox()->rotateButton();
        GraphicsRectItem *a = addRect(scene, QRectF(100, 100, 50, 30));
        a->setSelected(true);
        QVERIFY(rotate->isEnabled());
        addRect(scene, QRectF(200, 150, 50, 30))->setSelected(true);
        m_window->action("group")->trigger();
        QVERIFY(a->parentItem() && a->parentItem()->isSelected());
        QVERIFY(!rotate->isEnabled());
        m_window->action("unGroup")->trigger();
        QCOMPARE(entries(), (QStringList {"组合", "取消组合"}));
        QVERIFY(!a->parentItem());
    }

    // A group nested deeper than a project file may hold could be saved
    // but never opened again.
    void groupingStopsAtTheFileNestingLimit_data()
    {
        QTest::addColumn<int>("levels");
        QTest::addColumn<bool>("grouped");
        QTest::newRow("one level to spare") << ProjectFile::MaxNestingDepth - 1 << true;
        QTest::newRow("at the limit") << ProjectFile::MaxNestingDepth << false;
    }

    void groupingStopsAtTheFileNestingLimit()
    {
        QFETCH(int, levels);
        QFETCH(bool, grouped);
        DrawScene *scene = addScreen()->drawScene();
        QGraphicsItem *nest = addRect(scene, QRectF(100, 100, 50, 30));
        for (int i = 0; i < levels; ++i)
            nest = scene->createGroup({nest});
        GraphicsRectItem *other = addRect(scene, QRectF(300, 100, 50, 30));
        nest->setSelected(true);
        other->setSelected(true);
        m_window->action("group")->trigger();
        QCOMPARE(other->parentItem() != nullptr, grouped);
        QCOMPARE(m_window->statusBar()->currentMessage().startsWith("组合最多嵌套"), !grouped);
    }

    // The removed shape is held by the history, which goes with its screen.
    void deleteThenCloseProject()
    {
        QPointer<DrawView> view = addScreen();
        QPointer<DrawScene> scene = view->drawScene();
        addRect(scene, QRectF(100, 100, 50, 30))->setSelected(true);
        m_window->action("delete")->trigger();
        QVERIFY(scene->userItems().isEmpty());
        QCOMPARE(tableRows(), 0);
        stack()->undo();
        stack()->redo();
        m_window->closeProject();
        QVERIFY(!view && !scene);
        QVERIFY(DrawManager::instance()->scenes().isEmpty());
        QCOMPARE(DrawManager::instance()->currentScene(), nullptr);
    }

    // The view has no menu of its own: a right click pops up the one the
    // window installed, whose commands edit the screen.
    void rightClickRunsTheWindowsSceneMenu()
    {
        DrawView *view = addScreen();
        DrawScene *scene = view->drawScene();
        GraphicsRectItem *a = addRect(scene, QRectF(100, 100, 50, 30));
        GraphicsRectItem *b = addRect(scene, QRectF(300, 200, 50, 30));
        MenuScript menus;
        auto rightClick = [view] {
            const QPoint local = view->mapFromScene(QPointF(500, 400));
            QContextMenuEvent event(QContextMenuEvent::Mouse, local,
                                    view->viewport()->mapToGlobal(local));
            QApplication::sendEvent(view->viewport(), &event);
        };
        // Nothing selected: deleting is offered but disabled.
        menus.choose("删除(&D)");
        rightClick();
        QCOMPARE(menus.shown(), QList<QMenu *> {MainWindow::sceneContextMenu()});
        QCOMPARE(scene->userItems().size(), 2);

        a->setSelected(true);
        b->setSelected(true);
        menus.choose("左对齐");
        rightClick();
        QCOMPARE(menus.pending(), 0);
        QCOMPARE(a->sceneBoundingRect().left(), b->sceneBoundingRect().left());
        QCOMPARE(entries().size(), 1);
    }

    // An edit in the browser is one step of this screen's history, and undo
    // brings the rows back with it.
    void propertyBrowserFollowsSelection()
    {
        DrawScene *scene = addScreen()->drawScene();
        GraphicsRectItem *a = addRect(scene, QRectF(100, 100, 50, 30));
        a->setSelected(true);
        QCOMPARE(browser()->currentObject(), static_cast<QObject *>(a));
        scene->clearSelection();
        QCOMPARE(browser()->currentObject(), static_cast<QObject *>(scene));

        a->setSelected(true);
        m_window->setModified(false);
        const QModelIndex width = browser()->valueIndex("width");
        browser()->propertyModel()->setData(width, 90.0, Qt::EditRole);
        QCOMPARE(a->width(), 90.0);
        QCOMPARE(entries(), QStringList {"修改对象width属性"});
        QVERIFY(m_window->isModified());
        stack()->undo();
        QCOMPARE(a->width(), 50.0);
        QCOMPARE(browser()->propertyModel()->data(width, Qt::EditRole).toDouble(), 50.0);
    }

    // Closing tabs: the screen edited becomes the one whose tab is shown
    // now, or none, and the project is not changed by it.
    void closingTabsFollowsShownTab_data()
    {
        QTest::addColumn<int>("screens");
        QTest::addColumn<QString>("how"); // "button" on tab `closed`, "this", "all"
        QTest::addColumn<int>("closed");
        QTest::addColumn<int>("current"); // screen edited afterwards; -1 none
        QTest::newRow("only tab, its close button") << 1 << "button" << 0 << -1;
        QTest::newRow("all of three") << 3 << "all" << 0 << -1;
        QTest::newRow("shown of two") << 2 << "button" << 1 << 0;
        QTest::newRow("hidden of two") << 2 << "button" << 0 << 1;
        QTest::newRow("shown of three") << 3 << "this" << 2 << 1;
    }

    void closingTabsFollowsShownTab()
    {
        QFETCH(int, screens);
        QFETCH(QString, how);
        QFETCH(int, closed);
        QFETCH(int, current);
        QList<DrawView *> views;
        for (int i = 0; i < screens; ++i) {
            views << addScreen();
            GraphicsRectItem *item = addRect(views.last()->drawScene(), QRectF(20, 20, 60, 40));
            emit views.last()->drawScene()->itemAdded(item);
            item->setSelected(true);
        }
        m_window->setModified(false);
        TabContent *tabs = m_window->tabContent();
        if (how == "button")
            emit tabs->currentGroup()->tabCloseRequested(closed);
        else if (how == "this")
            tabs->closeThisTab();
        else
            tabs->closeAllTab();

        QVERIFY(!m_window->isModified());
        DrawView *expected = current < 0 ? nullptr : views.at(current);
        QCOMPARE(DrawManager::instance()->currentView(), expected);
        QCOMPARE(tabs->currentWidget(), expected);
        QCOMPARE(UserOptGroup::instance()->activeStack(),
                 expected ? UserOptGroup::instance()->stackFor(expected) : nullptr);
        // A screen that stops being edited loses its selection, so only the
        // screen-wide actions come back with the shown one.
        for (const char *key : {"zoomIn", "property", "undo"})
            QVERIFY2(m_window->action(key)->isEnabled() == (expected != nullptr), key);
        QCOMPARE(m_window->zoomBox()->isEnabled(), expected != nullptr);
        QCOMPARE(tableRows(), expected ? 1 : 0);
        if (expected)
            return;
        for (const char *key : {"copy", "cut", "delete", "toFront", "group", "align_left"})
            QVERIFY2(!m_window->action(key)->isEnabled(), key);
        // With no screen shown, deleting and undoing reach no screen.
        m_window->on_delete();
        UserOptGroup::instance()->undo();
        for (DrawView *view : qAsConst(views))
            QCOMPARE(view->drawScene()->userItems().size(), 1);
        QVERIFY(!m_window->isModified());
    }

    // Also after a save made while another tab was shown.
    void changedScriptMarksProjectModified()
    {
        DrawView *view = addScreen();
        auto *script = qobject_cast<CodeEditor *>(m_window->projectTree()->addForm(4));
        QVERIFY(view && script);
        m_window->setModified(false);
        script->insert(QStringLiteral("a = 1;"));
        QVERIFY(m_window->isModified());

        m_window->showTabContent(view);
        m_window->setModified(false); // as a save does
        QTabWidget *group = m_window->tabContent()->currentGroup();
        emit group->tabCloseRequested(group->indexOf(view));
        QCOMPARE(m_window->tabContent()->currentWidget(), script);
        QVERIFY(!m_window->isModified());
        script->insert(QStringLiteral("b = 2;"));
        QVERIFY(m_window->isModified());
    }

    // A drawing tool that hands back to the select tool hands back its
    // highlight in the tool box too.
    void toolBoxHighlightFollowsTool_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("continuous");
        QTest::newRow("rectangle drawn") << int(RectangleKind) << "drag" << false;
        QTest::newRow("ellipse clicked without drag") << int(EllipseKind) << "click" << false;
        QTest::newRow("polygon finished") << int(PolygonKind) << "points" << false;
        QTest::newRow("line left with Escape") << int(LineKind) << "escape" << false;
        QTest::newRow("continuous insert keeps it") << int(RectangleKind) << "drag" << true;
    }

    void toolBoxHighlightFollowsTool()
    {
        QFETCH(int, kind);
        QFETCH(QString, how);
        QFETCH(bool, continuous);
        const int after = continuous ? kind : 0;
        DrawView *view = addScreen();
        ToolBoxForm *box = m_window->toolBox();
        if (continuous)
            box->continousButton()->click();
        QListWidgetItem *entry = nullptr;
        for (QListWidget *list : box->lists()) {
            for (int i = 0; i < list->count(); ++i) {
                if (list->item(i)->data(Qt::UserRole).toInt() == kind)
                    entry = list->item(i);
            }
        }
        QVERIFY(entry);
        emit entry->listWidget()->itemClicked(entry);
        QCOMPARE(DrawTool::currentShape, kind);
        QVERIFY(!box->selectButton()->isChecked());

        if (how == "drag")
            gesture(view, {QPointF(100, 100), QPointF(150, 130), QPointF(200, 160)});
        else if (how == "click")
            gesture(view, {QPointF(100, 100)});
        else if (how == "points")
            threePoints(view, QPointF(100, 100));
        else
            QTest::keyClick(view->viewport(), Qt::Key_Escape);

        QCOMPARE(DrawTool::currentShape, after);
        QCOMPARE(box->selectButton()->isChecked(), after == SelectKind);
        QVERIFY(!box->rotateButton()->isChecked());
        for (QListWidget *list : box->lists()) {
            QListWidgetItem *current = list->currentItem();
            QCOMPARE(current, list == entry->listWidget() && after == kind ? entry : nullptr);
            QCOMPARE(list->selectedItems().size(), current ? 1 : 0);
        }
        if (continuous)
            box->continousButton()->click();
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
