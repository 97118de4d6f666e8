#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"

#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "document/projectscript.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/useroptgroup.h"
#include "mainwindow/editcommands.h"
#include "mainwindow/formwidgets.h"
#include "mainwindow/itemstable.h"
#include "mainwindow/projecttree.h"
#include "mainwindow/tabcontent.h"
#include "model/nestinglimit.h"
#include "panels/property/propertydialog.h"
#include "panels/property/propertytreebrowser.h"
#include "services/modalseam.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicsrectitem.h"
#include "support/filebytes.h"
#include "support/menuscript.h"
#include "support/modalscript.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"
#include "support/testpictures.h"

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

    // A new screen, shown, as the tree's add entry makes it; its view.
    DrawView *addScreen(int type = 1)
    {
        auto *scene = qobject_cast<DrawScene *>(m_window->projectTree()->addForm(type));
        DrawView *view = scene ? scene->view() : nullptr;
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

    // A named rectangle, as the rectangle tool leaves it.
    GraphicsRectItem *addRect(DrawScene *scene, const QRectF &box, double z = 0)
    {
        GraphicsRectItem *item = scenetest::addRect(scene, box, z);
        scene->assignItemName(item);
        return item;
    }

    // Where each shape lies on screen, and its z.
    static QList<QRectF> looks(const QList<QGraphicsItem *> &items)
    {
        QList<QRectF> result;
        for (const QGraphicsItem *item : items)
            result << scenetest::sceneBox(item) << QRectF(item->zValue(), 0, 1, 1);
        return result;
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

    // The editor hands the resize it records the handle that stayed put; a
    // triangle's box handles lie on its stroke, so no handle marks that point.
    void flippedResizeUndoesExactly()
    {
        DrawView *view = addScreen();
        auto *shape = new GraphicsPolygonItem;
        view->drawScene()->addItem(shape);
        for (const QPointF &p : {QPointF(100, 100), QPointF(200, 100), QPointF(133, 160)})
            shape->appendPoint(p);
        shape->finishPoints(QPointF());
        shape->normalizeGeometry();
        shape->setSelected(true);
        const QPolygonF before = shape->mapToScene(shape->points());
        const QPoint from = view->mapFromScene(200, 130), to = view->mapFromScene(50, 145);
        QMouseEvent hover(QEvent::MouseMove, from, view->viewport()->mapToGlobal(from),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &hover); // shows the handle it grabs
        mouseclicks::send(view->viewport(), QEvent::MouseButtonPress, from);
        mouseclicks::send(view->viewport(), QEvent::MouseMove, to);
        mouseclicks::send(view->viewport(), QEvent::MouseButtonRelease, to);
        const QPolygonF after = shape->mapToScene(shape->points());
        QVERIFY(after != before);
        QCOMPARE(entries(), QStringList {"调整对象大小"});
        stack()->undo();
        QCOMPARE(shape->mapToScene(shape->points()), before);
        stack()->redo();
        QCOMPARE(shape->mapToScene(shape->points()), after);
    }

    // One command is one undo step however many shapes it changes (more
    // than the history holds entries), named as its menu entry in the
    // interface language, and one that changes nothing records nothing.
    void commandIsOneUndoStep_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("changed"); // at least this many boxes or z change; 0: none
        QTest::addColumn<int>("language");
        const int many = UserOptGroup::UndoLimit + 1;
        QTest::newRow("align left") << "align_left" << "scattered" << many << 0;
        QTest::newRow("align left, aligned") << "align_left" << "column" << 0 << 0;
        QTest::newRow("send backward") << "toNext" << "pile" << 1 << 0;
        QTest::newRow("bring forward, English") << "toPrev" << "pile" << 1 << 1;
        QTest::newRow("send a lone shape to back") << "toBack" << "lone" << 0 << 0;
    }

    void commandIsOneUndoStep()
    {
        QFETCH(QString, command);
        QFETCH(QString, layout);
        QFETCH(int, changed);
        QFETCH(int, language);
        m_window->changeLanguage(language);
        const auto restore = qScopeGuard([this] { m_window->changeLanguage(0); });
        DrawScene *scene = addScreen()->drawScene();
        // Scattered: no two alike in place or size. Pile: z 0.25, 1, 2,
        // overlapping unless lone, the middle one selected; 0.25 is a z the
        // scene never hands out, so undo must restore it, not renumber.
        QList<QGraphicsItem *> shapes;
        const bool pile = layout == "pile" || layout == "lone";
        for (int i = 0; i < (layout == "scattered" ? 25 : 3); ++i) {
            const QRectF box = layout == "scattered" ? QRectF(20 + 29 * i, 30 + 11 * i, 20 + i, 15 + i)
                : layout == "column"                 ? QRectF(100, 100 + 50 * i, 40, 30)
                : QRectF(layout == "lone" && i == 1 ? 500 : 100 + 20 * i, 100, 60, 40);
            shapes << addRect(scene, box, pile ? (i == 0 ? 0.25 : i) : 0);
            shapes.last()->setSelected(!pile || i == 1);
        }
        const QList<QRectF> before = looks(shapes);
        m_window->setModified(false);

        m_window->action(command)->trigger();
        const QList<QRectF> after = looks(shapes);
        int seen = 0; // boxes and z values that differ
        for (int i = 0; i < before.size(); ++i)
            seen += before.at(i) == after.at(i) ? 0 : 1;
        QVERIFY2(changed ? seen >= changed : seen == 0, qPrintable(QString::number(seen)));
        QCOMPARE(entries(), changed ? QStringList {m_window->action(command)->text()}
                                    : QStringList());
        QCOMPARE(m_window->isModified(), changed > 0);
        if (!changed)
            return;
        stack()->undo();
        QCOMPARE(looks(shapes), before);
        stack()->redo();
        QCOMPARE(looks(shapes), after);
    }

    // The table follows undo; copies land at +(10, 10); text from another
    // program pastes nothing.
    // 属性 on a project tree entry edits the screen clicked, not the one
    // shown, and the rename is one step of the project's history, as a
    // rename in the tree is: undone, the tree and the file have the old name.
    void treePropertyEditsClickedScreen()
    {
        DrawView *clicked = addScreen();
        DrawView *shown = addScreen();
        const QByteArray saved = ProjectFile::projectBytes();
        QUndoStack *project = ProjectDocument::current()->undoStack();
        const QString clickedName = clicked->drawScene()->objectName();
        const QString shownName = shown->drawScene()->objectName();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QString offered;
        ModalSeam::setHandler([&](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind == ModalRequest::Dialog) {
                auto *dialog = m_window->findChild<PropertyDialog *>();
                offered = dialog->nameEdit()->text();
                dialog->nameEdit()->setText(QStringLiteral("泵站"));
                answer.accepted = true;
            }
            return answer;
        });
        {
            MenuScript menus;
            menus.choose(QStringLiteral("属性"));
            ProjectTree *tree = m_window->projectTree();
            const QRect entry = tree->visualItemRect(tree->findItem(clicked->drawScene()));
            emit tree->customContextMenuRequested(entry.center());
        }
        ModalSeam::setHandler({});
        QCOMPARE(offered, clickedName);
        QCOMPARE(clicked->drawScene()->objectName(), QStringLiteral("泵站"));
        QCOMPARE(shown->drawScene()->objectName(), shownName);
        QTreeWidgetItem *entry = m_window->projectTree()->findItem(clicked->drawScene());
        QCOMPARE(entry->text(0), QStringLiteral("泵站"));
        QCOMPARE(clicked->windowTitle(), QStringLiteral("泵站"));
        QVERIFY(m_window->isModified());
        QCOMPARE(project->count(), 1);
        QCOMPARE(UserOptGroup::instance()->stackFor(clicked->drawScene())->count(), 0);
        QCOMPARE(m_window->action("undo")->text(), QStringLiteral("撤销 重命名 泵站"));
        m_window->action("undo")->trigger();
        QCOMPARE(entry->text(0), clickedName);
        QCOMPARE(clicked->windowTitle(), clickedName);
        QCOMPARE(ProjectFile::projectBytes(), saved);
        project->redo();
        QCOMPARE(entry->text(0), QStringLiteral("泵站"));
        QVERIFY(ProjectFile::projectBytes() != saved);
    }

    void cutUndoPasteTwice()
    {
        DrawScene *scene = addScreen()->drawScene();
        GraphicsRectItem *original = addRect(scene, QRectF(100, 100, 50, 30));
        const QRectF box = original->sceneBoundingRect();
        original->setSelected(true);
        m_window->editCommands()->cut();
        QCOMPARE(tableRows(), 0);
        stack()->undo();
        QCOMPARE(tableRows(), 1);

        m_window->editCommands()->paste();
        m_window->editCommands()->paste();
        QCOMPARE(entries(), (QStringList {"复制对象", "复制对象"}));
        for (QGraphicsItem *item : scene->userItems())
            QVERIFY(item == original || item->sceneBoundingRect() == box.translated(10, 10));

        QApplication::clipboard()->setText("text from elsewhere");
        m_window->editCommands()->paste();
        QCOMPARE(scene->userItems().size(), 3);
        QCOMPARE(entries().size(), 2);
    }

    // Copies keep what their shapes are bound to, the members of a group
    // and the group itself alike, wherever they are pasted: the same
    // screen, another one, or a screen of another project.
    void pastedCopiesKeepBindings_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("same screen") << "same screen";
        QTest::newRow("another screen") << "another screen";
        QTest::newRow("another project") << "another project";
    }

    void pastedCopiesKeepBindings()
    {
        QFETCH(QString, target);
        const QString other = m_dir.filePath(QStringLiteral("other.mvprg"));
        QFile::remove(other);
        QVERIFY(QFile::copy(QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + "/golden.mvprg", other));
        QFile(other).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

        DrawScene *scene = addScreen()->drawScene();
        Binding value;
        value.tag = QStringLiteral("温度");
        value.unit = QStringLiteral("°C");
        Binding action;
        action.kind = Binding::Action;
        action.action = Binding::OpenWindow;
        action.screen = QStringLiteral("报警");
        Binding colours;
        colours.kind = Binding::Colours;
        colours.device = QStringLiteral("PLC1");
        colours.address = QStringLiteral("D 20");
        colours.ranges.append(Binding::Range());
        colours.ranges.last().fill = QColor(Qt::red);
        GraphicsRectItem *single = addRect(scene, QRectF(100, 100, 50, 30));
        single->setBindings({value, action});
        GraphicsRectItem *a = addRect(scene, QRectF(300, 100, 50, 30));
        GraphicsRectItem *b = addRect(scene, QRectF(400, 100, 50, 30));
        a->setBindings({colours});
        GraphicsItemGroup *group = scene->createGroup({a, b});
        group->setBindings({action});
        single->setSelected(true);
        group->setSelected(true);
        m_window->editCommands()->copy();

        if (target == "another screen") {
            scene = addScreen()->drawScene();
        } else if (target == "another project") {
            m_window->setModified(false);
            ModalScript quiet;
            QVERIFY(m_window->projectController()->openProject(other));
            scene = addScreen()->drawScene();
        }
        const int before = scene->userItems().size();
        m_window->editCommands()->paste();
        const QList<QGraphicsItem *> pasted = scene->selectedItems();
        QCOMPARE(pasted.size(), 2);
        QCOMPARE(scene->userItems().size(), before + 4);
        QGraphicsItem *pastedSingle = pasted.at(0)->type() == GroupItemType ? pasted.at(1)
                                                                             : pasted.at(0);
        auto *pastedGroup = dynamic_cast<GraphicsItemGroup *>(
            pastedSingle == pasted.at(0) ? pasted.at(1) : pasted.at(0));
        QVERIFY(pastedGroup);
        QCOMPARE(shapeBindings(pastedSingle), (QVector<Binding> {value, action}));
        QCOMPARE(pastedGroup->bindings(), QVector<Binding> {action});
        QCOMPARE(shapeBindings(pastedGroup->members().at(0)), QVector<Binding> {colours});
        QVERIFY(shapeBindings(pastedGroup->members().at(1)).isEmpty());
        // Every shape on the screen, pasted members included, has a name of
        // its own: scripts and the check know shapes by name.
        QSet<QString> names;
        for (QGraphicsItem *item : scene->userItems()) {
            const QString name = shapeObject(item)->objectName();
            QVERIFY2(!name.isEmpty() && !names.contains(name), qPrintable(name));
            names.insert(name);
        }
    }

    // A picture travels with a copy pasted into another project, under a
    // free name there; within one project the copy names the same file.
    void pasteBringsPictures_data()
    {
        QTest::addColumn<bool>("anotherProject");
        QTest::newRow("same project") << false;
        QTest::newRow("another project") << true;
    }
    void pasteBringsPictures()
    {
        QFETCH(bool, anotherProject);
        const QByteArray picture = testpictures::halves(QSize(4, 2), Qt::blue, Qt::green);
        QTemporaryDir source;
        QVERIFY(QDir(source.path()).mkpath("images"));
        QVERIFY(writeFileBytes(source.filePath("images/pic.png"), picture));
        Config::instance()->setPictureFolder(source.path());
        DrawScene *scene = addScreen()->drawScene();
        auto *image = new GraphicsImageItem(QRect(100, 100, 40, 40));
        scene->addItem(image);
        image->setPicture("images/pic.png");
        image->setSelected(true);
        m_window->editCommands()->copy();

        QTemporaryDir target;
        if (anotherProject) {
            const QString other = target.filePath("other.mvprg");
            QVERIFY(QFile::copy(QString::fromUtf8(MAROVIN_TEST_DATA_DIR) + "/golden.mvprg", other));
            QFile(other).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            QVERIFY(QDir(target.path()).mkpath("images"));
            QVERIFY(writeFileBytes(target.filePath("images/pic.png"), "another picture"));
            m_window->setModified(false);
            ModalScript quiet;
            QVERIFY(m_window->projectController()->openProject(other));
            QCOMPARE(QDir(Config::instance()->pictureFolder()), QDir(target.path()));
            scene = addScreen()->drawScene();
        }
        m_window->editCommands()->paste();
        const QList<QGraphicsItem *> pasted = scene->selectedItems();
        QCOMPARE(pasted.size(), 1);
        auto *copy = dynamic_cast<GraphicsImageItem *>(pasted.first());
        QVERIFY(copy);
        if (anotherProject) {
            QCOMPARE(copy->picture(), QStringLiteral("images/pic-2.png"));
            QCOMPARE(fileBytes(target.filePath("images/pic-2.png")), picture);
        } else {
            QCOMPARE(copy->picture(), QStringLiteral("images/pic.png"));
            QCOMPARE(QDir(source.path() + "/images").entryList(QDir::Files),
                     QStringList {"pic.png"});
        }
    }

    // What belongs to the group itself would go with it: ungrouping one
    // that holds bindings or unknown content asks first; 否 leaves it whole
    // and records nothing, 是 ungroups as one step that undo takes back
    // with everything. A plain group is ungrouped without a question.
    void ungroupAsksForWhatGoesWithTheGroup_data()
    {
        QTest::addColumn<bool>("binding");
        QTest::addColumn<bool>("unknown");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::newRow("plain group") << false << false << -1;
        QTest::newRow("binding, no") << true << false << int(QMessageBox::No);
        QTest::newRow("binding, yes") << true << false << int(QMessageBox::Yes);
        QTest::newRow("unknown content, no") << false << true << int(QMessageBox::No);
    }
    void ungroupAsksForWhatGoesWithTheGroup()
    {
        QFETCH(bool, binding);
        QFETCH(bool, unknown);
        QFETCH(int, answer);
        DrawScene *scene = addScreen()->drawScene();
        GraphicsRectItem *a = addRect(scene, QRectF(100, 100, 50, 30));
        GraphicsRectItem *b = addRect(scene, QRectF(200, 100, 50, 30));
        GraphicsItemGroup *group = scene->createGroup({a, b});
        GraphicsItemGroup::StoredAttributes stored;
        stored.objectName = group->objectName();
        if (binding) {
            stored.bindings.append(Binding());
            stored.bindings.last().tag = QStringLiteral("温度");
        }
        if (unknown) {
            QXmlStreamReader reader(QStringLiteral("<group later=\"1\"/>"));
            reader.readNextStartElement();
            stored.kept.keepAttributes(reader, {});
        }
        group->applyStoredAttributes(stored);
        const QByteArray before = ProjectFile::projectBytes();
        group->setSelected(true);

        ModalScript script;
        if (answer >= 0)
            script.pressButton(answer);
        m_window->editCommands()->ungroup();
        QCOMPARE(script.requests().size(), answer < 0 ? 0 : 1);
        if (answer >= 0)
            QVERIFY2(script.texts().first().contains(binding ? "数据绑定" : "不认识"),
                     qPrintable(script.texts().first()));
        const bool ungrouped = answer != int(QMessageBox::No);
        QCOMPARE(a->parentItem() == nullptr, ungrouped);
        QCOMPARE(entries(), ungrouped ? QStringList {"取消组合"} : QStringList());
        if (ungrouped) {
            stack()->undo();
            QCOMPARE(ProjectFile::projectBytes(), before);
        }
    }

    // A screen renamed in the tree marks the project modified and shows in
    // the browser; names pasted there or in the browser lose the control
    // characters a file cannot hold.
    void renamesKeepOnlyVisibleCharacters()
    {
        DrawView *view = addScreen();
        m_window->setModified(false);
        QTreeWidgetItem *entry = m_window->projectTree()->findItem(view->drawScene());
        QVERIFY(entry);
        entry->setText(0, QString("主\v画面\u0001")); // as the tree's editor commits it
        const QString name("主 画面 ");
        QVERIFY(m_window->isModified());
        QCOMPARE(view->drawScene()->objectName(), name);
        QCOMPARE(browser()->propertyModel()->data(browser()->valueIndex("objectName")).toString(),
                 name);
        // One step of the project's history, taken back from the Edit menu.
        const QString before = m_window->action("undo")->text();
        QCOMPARE(before, QStringLiteral("撤销 重命名 ") + name);
        m_window->action("undo")->trigger();
        QVERIFY(view->drawScene()->objectName() != name);
        QCOMPARE(entry->text(0), view->windowTitle());
        QCOMPARE(view->drawScene()->objectName(), view->windowTitle());
        m_window->action("redo")->trigger();
        QCOMPARE(view->drawScene()->objectName(), name);
        QCOMPARE(entry->text(0), name);

        GraphicsRectItem *a = addRect(view->drawScene(), QRectF(100, 100, 50, 30));
        a->setSelected(true);
        browser()->propertyModel()->setData(browser()->valueIndex("objectName"), "pump\u0001\v2",
                                            Qt::EditRole);
        QCOMPARE(a->objectName(), QString("pump  2"));
    }

    // The browser's name row of a screen renames it as the tree does: one
    // step of the project's history, none of the screen's; a blank name is
    // refused and the row shows the name again.
    void browserRenamesScreenInTheProjectHistory_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name"); // empty: the generated one stays
        QTest::newRow("name") << " 泵房 " << "泵房";
        QTest::newRow("blank") << "  " << "";
    }
    void browserRenamesScreenInTheProjectHistory()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        DrawView *view = addScreen();
        DrawScene *scene = view->drawScene();
        const QString generated = scene->objectName();
        QUndoStack *project = ProjectDocument::current()->undoStack();
        const int steps = project->count();
        m_window->currentItemChanged(nullptr);
        const QModelIndex row = browser()->valueIndex("objectName");
        QVERIFY(row.isValid());
        browser()->propertyModel()->setData(row, typed, Qt::EditRole);
        const QString expected = name.isEmpty() ? generated : name;
        QCOMPARE(scene->objectName(), expected);
        QCOMPARE(m_window->projectTree()->findItem(scene)->text(0), expected);
        QCOMPARE(view->windowTitle(), expected);
        QCOMPARE(browser()->propertyModel()->data(browser()->valueIndex("objectName")).toString(),
                 expected);
        QCOMPARE(project->count(), steps + (name.isEmpty() ? 0 : 1));
        QCOMPARE(UserOptGroup::instance()->stackFor(scene)->count(), 0);
        if (name.isEmpty())
            return;
        project->undo();
        QCOMPARE(m_window->projectTree()->findItem(scene)->text(0), generated);
    }

    // A group nested deeper than a project file may hold could be saved
    // but never opened again.
    void groupingStopsAtTheFileNestingLimit_data()
    {
        QTest::addColumn<int>("levels");
        QTest::addColumn<bool>("grouped");
        QTest::newRow("one level to spare") << NestingLimit::MaxDepth - 1 << true;
        QTest::newRow("at the limit") << NestingLimit::MaxDepth << false;
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

    // Closing tabs: the screen edited becomes the one whose tab is shown
    // now, or none, and the project is not changed by it.
    void closingTabsFollowsShownTab_data()
    {
        QTest::addColumn<int>("screens");
        QTest::addColumn<int>("closed");
        QTest::addColumn<int>("current"); // screen edited afterwards; -1 none
        QTest::newRow("only tab") << 1 << 0 << -1;
        QTest::newRow("shown of two") << 2 << 1 << 0;
        QTest::newRow("hidden of two") << 2 << 0 << 1;
    }

    void closingTabsFollowsShownTab()
    {
        QFETCH(int, screens);
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
        emit tabs->currentGroup()->tabCloseRequested(closed);

        QVERIFY(!m_window->isModified());
        DrawScene *expected = current < 0 ? nullptr : views.at(current)->drawScene();
        QCOMPARE(DrawManager::instance()->currentScene(), expected);
        // With no screen shown, the Edit menu takes back the project's changes.
        UserOptGroup *group = UserOptGroup::instance();
        QCOMPARE(group->activeStack(), expected ? group->stackFor(expected) : group->projectStack());
        QVERIFY(group->projectStack());
        QCOMPARE(tableRows(), expected ? 1 : 0);
        if (expected)
            return;
        QVERIFY(!m_window->action("delete")->isEnabled());
        // With no screen shown, deleting and undoing reach no screen.
        m_window->editCommands()->remove();
        UserOptGroup::instance()->undo();
        for (DrawView *view : qAsConst(views))
            QCOMPARE(view->drawScene()->userItems().size(), 1);
        QVERIFY(!m_window->isModified());
    }

    // Also after a save made while another tab was shown. What is typed
    // reaches the script itself, so a save needs no editor.
    void changedScriptMarksProjectModified()
    {
        DrawView *view = addScreen();
        auto *script = qobject_cast<ProjectScript *>(m_window->projectTree()->addForm(4));
        QVERIFY(view && script);
        auto *editor = qobject_cast<CodeEditor *>(m_window->formWidgets()->existingWidget(script));
        QVERIFY(editor);
        m_window->showTabContent(view);
        m_window->setModified(false); // as a save does
        QTabWidget *group = m_window->tabContent()->currentGroup();
        emit group->tabCloseRequested(group->indexOf(view));
        editor->insert(QStringLiteral("b = 2;"));
        QVERIFY(m_window->isModified());
        QCOMPARE(script->text(), QStringLiteral("b = 2;"));
        QVERIFY(ProjectFile::projectBytes().contains(">b = 2;</Window>"));
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
