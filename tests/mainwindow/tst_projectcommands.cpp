#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"

#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "document/projectscript.h"
#include "editor/drawscene.h"
#include "editor/codeeditor.h"
#include "editor/drawview.h"
#include "editor/useroptgroup.h"
#include "mainwindow/formwidgets.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/projecttree.h"
#include "mainwindow/tabcontent.h"
#include "model/config.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsrectitem.h"
#include "support/filebytes.h"
#include "support/modalscript.h"
#include "support/newprojectscript.h"
#include "support/processfixture.h"
#include "support/projectgenerator.h"
#include "support/testpictures.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

// New, open, save, save as and close as the user runs them from the menus.
class TestProjectCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    int m_made = 0; // projects made so far, for unique names

    DrawScene *currentScene() const { return DrawManager::instance()->currentScene(); }
    int screenCount() const { return DrawManager::instance()->scenes().size(); }

    // A new project made quietly in the test folder; its file, or nothing.
    QString newProject(const QString &name)
    {
        ModalScript quiet;
        runNewProject(m_window.get(), name, m_dir.path());
        return quiet.requests().isEmpty() ? Config::instance()->projectFile() : QString();
    }

private slots:
    void initTestCase() { ProcessFixture::enterBinFolder(m_dir); }

    void init()
    {
        ProcessFixture::forgetSettings();
        ProcessFixture::start();
        m_window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        ProcessFixture::close(m_window);
        ProcessFixture::finish();
    }

    void saveQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("viaClose"); // "关闭工程" rather than new or open
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << int(QMessageBox::Yes) << false << true << true << true;
        QTest::newRow("no") << int(QMessageBox::No) << false << true << true << false;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << true << false << false;
        QTest::newRow("failed save keeps work")
            << int(QMessageBox::Yes) << false << false << false << false;
        QTest::newRow("close asks before discarding")
            << int(QMessageBox::Cancel) << true << true << false << false;
    }

    void saveQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, viaClose);
        QFETCH(bool, writable);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString name = QString("asked %1").arg(QTest::currentDataTag());
        const QString file = newProject(name);
        QVERIFY(!file.isEmpty());
        m_window->projectTree()->addForm(TemplateScreen);
        if (!writable) {
            // The project's folder becomes a plain file: nothing can be written there.
            const QString folder = Config::instance()->projectPath();
            QVERIFY(QDir(folder).removeRecursively());
            QVERIFY(writeFileBytes(folder, QByteArray()));
        }
        const QByteArray before = fileBytes(file);

        ModalScript script;
        script.pressButton(answer);
        if (viaClose)
            m_window->projectController()->closeFile();
        else
            QCOMPARE(m_window->projectController()->maybeSave(), closed);
        QCOMPARE(m_window->isModified(), !closed);
        QCOMPARE(screenCount() == 0, closed);
        QCOMPARE(fileBytes(file) != before, saved);
        if (viaClose)
            QCOMPARE(m_window->centralPages()->currentIndex(), closed ? 0 : 1);
        const QStringList texts = script.texts();
        // A failed save is one message, not one per layer that saw it fail.
        QCOMPARE(texts.size(), writable ? 1 : 2);
        QCOMPARE(texts.first(), QString("是否将改动保存到 %1 工程?").arg(name));
        if (!writable)
            QVERIFY(texts.at(1).startsWith("写入文件失败 " + file));
    }

    // Save as adds the suffix only when the typed name lacks it in every
    // letter case; a file opened under any name (through "All files") is
    // saved back to itself. Later saves go to that very file, and to no other.
    void saveGoesToTheNamedFile_data()
    {
        QTest::addColumn<bool>("opened"); // else typed in "另存为"
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("typed without suffix") << false << "copy" << "copy.mvprg";
        QTest::newRow("typed with upper-case suffix") << false << "copy.MVPRG" << "copy.MVPRG";
        QTest::newRow("opened with other suffix") << true << "opened.xml" << "opened.xml";
    }

    void saveGoesToTheNamedFile()
    {
        QFETCH(bool, opened);
        QFETCH(QString, name);
        QFETCH(QString, written);
        const QString made = newProject(QStringLiteral("first%1").arg(++m_made));
        QVERIFY(!made.isEmpty());
        const QDir folder(m_dir.filePath(QStringLiteral("saved%1").arg(m_made)));
        QVERIFY(folder.mkpath("."));
        const QString file = folder.filePath(written);
        ModalScript script;
        if (opened) {
            QVERIFY(QFile::copy(made, file));
            m_window->projectController()->closeProject();
            QVERIFY(m_window->projectController()->openProject(file));
        } else {
            script.chooseText(folder.filePath(name));
            m_window->projectController()->saveAs();
            QCOMPARE(m_window->recentFileActions().first()->data().toString(), file);
            QVERIFY(QFile::remove(file));
        }
        auto *shape = new GraphicsRectItem(QRect(0, 0, 50, 50));
        currentScene()->addItem(shape);
        shape->setProperty("brushColor", QColor("#123456"));
        m_window->setModified(true);
        m_window->projectController()->save();
        QCOMPARE(folder.entryList(QDir::Files), QStringList {written});
        QVERIFY(fileBytes(file).contains("#123456"));
        QCOMPARE(Config::instance()->projectFile(), file);
    }

    // "另存为" into another folder takes the pictures the shapes use along,
    // to the same relative places; it never replaces a different file
    // there, and writes nothing outside the folder chosen.
    void saveAsTakesPictures_data()
    {
        QTest::addColumn<QByteArray>("there"); // images/a.png in the new folder before
        QTest::addColumn<bool>("saved");
        const QByteArray other = testpictures::halves(QSize(4, 4), Qt::green, Qt::green);
        QTest::newRow("copied") << QByteArray() << true;
        QTest::newRow("same picture there") << QByteArray("A") << true;
        QTest::newRow("other picture there") << other << false;
    }
    void saveAsTakesPictures()
    {
        QFETCH(QByteArray, there);
        QFETCH(bool, saved);
        const QString old = newProject(QString("pictures%1").arg(++m_made));
        QVERIFY(!old.isEmpty());
        const QDir from(Config::instance()->projectPath());
        const QByteArray a = testpictures::halves(QSize(4, 4), Qt::red, Qt::blue);
        const QByteArray b = testpictures::halvesSvg(Qt::red, Qt::blue);
        QVERIFY(from.mkpath("images/sub"));
        QVERIFY(writeFileBytes(from.filePath("images/a.png"), a));
        QVERIFY(writeFileBytes(from.filePath("images/sub/b.svg"), b));
        QVERIFY(writeFileBytes(from.filePath("../outside.png"), a));
        QVERIFY(writeFileBytes(from.filePath("unused.png"), a));
        for (const char *picture :
             {"images/a.png", "images/sub/b.svg", "images/a.png", "images/gone.png", "../outside.png"}) {
            auto *image = new GraphicsImageItem(QRect(0, 0, 10, 10));
            image->setPicture(picture);
            currentScene()->addItem(image);
        }
        // A picture binding's states travel as well.
        QVERIFY(writeFileBytes(from.filePath("images/sub/c.png"), a));
        auto *stateShape = new GraphicsRectItem(QRect(0, 0, 10, 10));
        Binding states;
        states.kind = Binding::Picture;
        states.tag = "温度";
        states.pictures = {{"images/a.png", {}}, {"images/sub/c.png", {}}};
        stateShape->setBindings({states});
        currentScene()->addItem(stateShape);

        const QDir to(m_dir.filePath(QString("moved%1/deep").arg(m_made)));
        QVERIFY(to.mkpath("images"));
        if (!there.isEmpty())
            QVERIFY(writeFileBytes(to.filePath("images/a.png"), there == "A" ? a : there));
        const QString file = to.filePath("after.mvprg");
        ModalScript script;
        script.chooseText(file);
        m_window->projectController()->saveAs();

        QCOMPARE(QFileInfo::exists(file), saved);
        QCOMPARE(Config::instance()->projectFile(), saved ? file : old);
        QStringList messages;
        for (const ModalRequest &request : script.requests()) {
            if (request.kind == ModalRequest::Message)
                messages << request.text;
        }
        QCOMPARE(messages.size(), saved ? 0 : 1);
        QVERIFY(!QFileInfo::exists(to.filePath("../outside.png")));
        QVERIFY(!QFileInfo::exists(to.filePath("unused.png")));
        if (!saved) {
            QVERIFY2(messages.first().contains("images/a.png"), qPrintable(messages.first()));
            QCOMPARE(fileBytes(to.filePath("images/a.png")), there);
            QVERIFY(!QFileInfo::exists(to.filePath("images/sub/b.svg")));
            QVERIFY(!QFileInfo::exists(to.filePath("images/sub/c.png")));
            return;
        }
        QCOMPARE(fileBytes(to.filePath("images/a.png")), a);
        QCOMPARE(fileBytes(to.filePath("images/sub/b.svg")), b);
        QCOMPARE(fileBytes(to.filePath("images/sub/c.png")), a);
        QCOMPARE(QDir(to.filePath("images")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"a.png", "sub"}));
    }

    // The file "另存为" writes names the project as the file it is: the same
    // bytes a later save writes there. A save that fails keeps the old file.
    void saveAsWritesTheNewName_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("written") << true;
        QTest::newRow("refused") << false;
    }
    void saveAsWritesTheNewName()
    {
        QFETCH(bool, writable);
        const QString old = newProject(QString("before%1").arg(++m_made));
        QVERIFY(!old.isEmpty());
        const QDir folder(m_dir.filePath(QString("elsewhere%1").arg(m_made)));
        QVERIFY(folder.mkpath("."));
        const QString file = folder.filePath("after.mvprg");
        if (!writable)
            QVERIFY(folder.mkpath("after.mvprg")); // a folder where the file should go
        m_window->setModified(true);
        ModalScript script;
        script.chooseText(file);
        m_window->projectController()->saveAs();
        QCOMPARE(Config::instance()->projectFile(), writable ? file : old);
        QCOMPARE(m_window->isModified(), !writable);
        if (!writable)
            return;
        const QByteArray saved = fileBytes(file);
        QVERIFY(saved.contains("name=\"after\""));
        QVERIFY(saved.contains(QString("path=\"%1\"").arg(folder.path()).toUtf8()));
        QVERIFY(!saved.contains("before"));
        m_window->setModified(true);
        m_window->projectController()->save();
        QCOMPARE(fileBytes(file), saved);
    }

    void openFailures_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::newRow("missing recent entry names its path") << QByteArray();
        QTest::newRow("other xml") << QByteArray("<?xml version=\"1.0\"?>\n<Notes/>\n");
    }

    void openFailures()
    {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(QString("bad_%1.mvprg").arg(QTest::currentDataTag()));
        ModalScript script;
        if (content.isNull()) {
            m_window->projectController()->updateRecentFiles(path);
            m_window->recentFileActions().first()->trigger();
            // The entry stays: the file may come back (a network drive).
            QCOMPARE(m_window->recentFileActions().first()->data().toString(), path);
        } else {
            QVERIFY(writeFileBytes(path, content));
            QVERIFY(!m_window->projectController()->openProject(path));
        }
        const QStringList texts = script.texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts.first().startsWith("读取文件失败 " + path + "。\n"),
                 qPrintable(texts.first()));
        // The reason ends once: the message adds its own full stop.
        QVERIFY2(!texts.first().contains("。.") && !texts.first().contains(".."),
                 qPrintable(texts.first()));
        QCOMPARE(screenCount(), 0);
        QCOMPARE(m_window->centralPages()->currentIndex(), 0);
    }

    // A file read in part opens only when the user says so; one holding
    // what this version does not know opens with a warning that says so.
    void partlyReadFileIsReported_data()
    {
        QTest::addColumn<bool>("cut"); // else holding unknown elements
        QTest::newRow("damaged") << true;
        QTest::newRow("unknown element") << false;
    }

    void partlyReadFileIsReported()
    {
        QFETCH(bool, cut);
        const QString file = newProject(QString("partly %1").arg(QTest::currentDataTag()));
        QVERIFY(!file.isEmpty());
        m_window->projectController()->closeProject();
        QByteArray bytes = fileBytes(file);
        const int window = bytes.indexOf("<Window ");
        QVERIFY(window > 0);
        const int tagEnd = bytes.indexOf('>', window);
        if (bytes.at(tagEnd - 1) == '/') // the new screen is empty
            bytes.replace(tagEnd - 1, 2, "></Window>");
        if (!cut)
            bytes.insert(bytes.indexOf('>', window) + 1, "<circle r=\"2\"/><dial/>");
        if (cut)
            bytes.truncate(bytes.indexOf("</Window>"));
        QVERIFY(writeFileBytes(file, bytes));

        ModalScript script;
        script.pressButton(QMessageBox::Yes);
        QVERIFY(m_window->projectController()->openProject(file));
        QCOMPARE(script.requests().size(), 1);
        QCOMPARE(script.requests().first().icon, int(QMessageBox::Warning));
        const QString text = script.texts().first();
        QVERIFY(text.contains(file));
        QCOMPARE(text.contains("行"), cut);
        QCOMPARE(text.contains("circle、dial"), !cut);
        QCOMPARE(screenCount(), 1);
    }

    // Opening a project shows its first screen and makes a view for it
    // alone; another screen or a script gets its widget when it is shown
    // and keeps it, and every widget goes with the project.
    void widgetsAreMadeWhenShown()
    {
        QVERIFY(!newProject(QString("widgets%1").arg(++m_made)).isEmpty());
        ProjectGenerator::Options options;
        options.screens = 3;
        options.shapesPerScreen = 5;
        {
            ModalScript quiet;
            ProjectGenerator(m_made).build(options);
        }
        DrawManager::instance()->createScript()->setText(QStringLiteral("x = 1;"));
        Config::instance()->projectPw.clear(); // opened without a prompt
        const QString file = m_dir.filePath(QString("widgets%1.mvprg").arg(m_made));
        QVERIFY(ProjectFile::write(file));
        m_window->setModified(false);
        {
            ModalScript quiet;
            QVERIFY(m_window->projectController()->openProject(file));
        }
        const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
        QCOMPARE(scenes.size(), 4);
        FormWidgets *widgets = m_window->formWidgets();
        QCOMPARE(widgets->widgets().size(), 1);
        QPointer<QWidget> first = scenes.first()->view();
        QVERIFY(first);
        QCOMPARE(m_window->tabContent()->currentWidget(), first.data());
        QCOMPARE(currentScene(), scenes.first());
        for (int i = 1; i < scenes.size(); ++i)
            QVERIFY(!scenes.at(i)->view());

        m_window->showForm(scenes.at(2));
        QPointer<QWidget> third = scenes.at(2)->view();
        QVERIFY(third);
        QCOMPARE(m_window->tabContent()->currentWidget(), third.data());
        QCOMPARE(currentScene(), scenes.at(2));
        ProjectScript *script = DrawManager::instance()->scripts().first();
        m_window->showForm(script);
        QPointer<QWidget> editor = widgets->existingWidget(script);
        QVERIFY(qobject_cast<CodeEditor *>(editor.data()));
        QCOMPARE(qobject_cast<CodeEditor *>(editor.data())->text(), QStringLiteral("x = 1;"));
        QCOMPARE(editor->windowTitle(), script->name());
        m_window->showForm(scenes.first());
        QCOMPARE(scenes.first()->view(), first.data());
        QCOMPARE(widgets->widgets().size(), 3);
        QVERIFY(!m_window->isModified());

        m_window->projectController()->closeFile();
        QVERIFY(!first && !third && !editor);
        QVERIFY(widgets->widgets().isEmpty());
    }

    // A file that cannot be opened, or whose readable part the user
    // declines, leaves the project open as it was, unsaved changes and all.
    void failedOpenKeepsTheOpenProject_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<int>("answer"); // to the first question asked
        QTest::addColumn<int>("messages");
        QTest::newRow("missing") << QByteArray() << int(QMessageBox::Yes) << 1;
        QTest::newRow("other xml") << QByteArray("<?xml version=\"1.0\"?>\n<Notes/>\n")
                                   << int(QMessageBox::Yes) << 1;
        QTest::newRow("damaged, declined")
            << QByteArray("<?xml version=\"1.0\"?>\n<Project><Config name=\"other\"/>"
                          "<Form><Window type=\"1\"><rectangle")
            << int(QMessageBox::No) << 1;
        QTest::newRow("password refused")
            << QByteArray("<?xml version=\"1.0\"?>\n<Project><Config name=\"other\" "
                          "projectPw=\"secret\"/><Form><Window type=\"1\"/></Form></Project>\n")
            << int(QMessageBox::Cancel) << 2; // the prompt, then its failure
    }

    void failedOpenKeepsTheOpenProject()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, answer);
        QFETCH(int, messages);
        const QString file = newProject(QString("kept%1").arg(++m_made));
        QVERIFY(!file.isEmpty());
        ProjectGenerator::Options options;
        options.screens = 2;
        options.shapesPerScreen = 4;
        {
            ModalScript quiet;
            ProjectGenerator(m_made).build(options);
        }
        m_window->setModified(true);
        const QByteArray before = ProjectFile::projectBytes();
        const int screens = screenCount();
        const QString title = m_window->windowTitle();
        const Config *config = Config::instance();

        const QString bad = m_dir.filePath(QString("bad%1.mvprg").arg(m_made));
        if (!content.isNull())
            QVERIFY(writeFileBytes(bad, content));
        ModalScript script;
        script.pressButton(answer);
        QVERIFY(!m_window->projectController()->openProject(bad));
        QCOMPARE(script.requests().size(), messages);
        QCOMPARE(Config::instance(), config);
        QCOMPARE(ProjectFile::projectBytes(), before);
        QCOMPARE(screenCount(), screens);
        QVERIFY(m_window->projectTree()->findItem(DrawManager::instance()->scenes().first()));
        QCOMPARE(m_window->windowTitle(), title);
        QVERIFY(m_window->isModified());
        QCOMPARE(m_window->centralPages()->currentIndex(), 1);
    }

    // 新建工程 asks about unsaved changes first; a new-project dialog then
    // cancelled leaves the open project open, changes and all, whatever the
    // answer was.
    void cancelledNewProjectKeepsTheOpenProject_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("saved first") << int(QMessageBox::Yes);
        QTest::newRow("not saved") << int(QMessageBox::No);
    }

    void cancelledNewProjectKeepsTheOpenProject()
    {
        QFETCH(int, answer);
        const QString file = newProject(QString("cancelnew%1").arg(++m_made));
        QVERIFY(!file.isEmpty());
        DevicePara device;
        device.name = QStringLiteral("Press");
        QList<DevicePara> devices = Config::instance()->devices;
        QVERIFY(ProjectDocument::current()->setDevices(devices << device));
        QVERIFY(m_window->isModified());
        const QByteArray before = ProjectFile::projectBytes();
        const Config *config = Config::instance();
        const int screens = screenCount();

        auto *dialog = m_window->findChild<NewProjectDialog *>();
        QVERIFY(dialog);
        QTimer::singleShot(0, dialog, [dialog] { dialog->on_cancel_clicked(); });
        ModalScript script;
        script.pressButton(answer);
        m_window->projectController()->newFile();
        QCOMPARE(script.requests().size(), 1);
        QCOMPARE(Config::instance(), config);
        QCOMPARE(ProjectFile::projectBytes(), before);
        QCOMPARE(screenCount(), screens);
        QCOMPARE(m_window->isModified(), answer == QMessageBox::No);
        QCOMPARE(m_window->centralPages()->currentIndex(), 1);
        QCOMPARE(ProjectDocument::current()->undoStack()->count(), 1);
    }

    // Screen edits and project changes are one history in time, whichever
    // screen is shown: Ctrl+Z takes back the step done last, Ctrl+Y brings
    // back the step undone last.
    void historyRunsInTimeOrder()
    {
        QVERIFY(!newProject(QString("timeline%1").arg(++m_made)).isEmpty());
        DrawScene *first = DrawManager::instance()->currentScene();
        QVERIFY(first);
        UserOptGroup *group = UserOptGroup::instance();
        QAction *undo = m_window->action("undo");
        QAction *redo = m_window->action("redo");
        const auto run = [](QAction *action) {
            QStringList texts;
            while (action->isEnabled() && texts.size() < 6) {
                texts << action->text();
                action->trigger();
            }
            return texts;
        };
        const auto addDevice = [] {
            DevicePara device;
            device.name = QStringLiteral("Scale");
            QList<DevicePara> devices = Config::instance()->devices;
            return ProjectDocument::current()->setDevices(devices << device);
        };

        group->push(new QUndoCommand(QStringLiteral("甲")));
        QVERIFY(addDevice());
        group->push(new QUndoCommand(QStringLiteral("乙")));
        QCOMPARE(run(undo), (QStringList {"撤销 乙", "撤销 添加设备", "撤销 甲"}));
        QCOMPARE(run(redo), (QStringList {"恢复 甲", "恢复 添加设备", "恢复 乙"}));

        // A change made on another screen is still reached from the first.
        m_window->projectTree()->addForm(BaseScreen);
        DrawScene *second = DrawManager::instance()->currentScene();
        QVERIFY(second && second != first);
        QVERIFY(addDevice());
        m_window->showForm(first);
        group->push(new QUndoCommand(QStringLiteral("丙")));
        QCOMPARE(run(undo).mid(0, 3), (QStringList {"撤销 丙", "撤销 添加设备", "撤销 乙"}));
    }

    // A change of the project's data is taken back from the Edit menu, even
    // with a screen open, and marks the project modified; the history goes
    // with the project when another is opened.
    void projectChangesUndoFromTheEditMenu()
    {
        const QString file = newProject(QString("history%1").arg(++m_made));
        QVERIFY(!file.isEmpty());
        QVERIFY(DrawManager::instance()->currentScene());
        // An edit of the shown screen, made before the project change.
        QObject *shown = DrawManager::instance()->currentScene();
        UserOptGroup::instance()->pushFor(shown, new QUndoCommand(QStringLiteral("画矩形")));
        const QByteArray before = ProjectFile::projectBytes();
        DevicePara device;
        device.name = QStringLiteral("Scale");
        QList<DevicePara> devices = Config::instance()->devices;
        QVERIFY(ProjectDocument::current()->setDevices(devices << device));
        m_window->setModified(false);

        QAction *undo = m_window->action("undo");
        QVERIFY(undo->isEnabled());
        // Both redo keys engineers use.
        const QList<QKeySequence> redoKeys = m_window->action("redo")->shortcuts();
        QVERIFY(redoKeys.contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
        QVERIFY(redoKeys.contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
        QCOMPARE(undo->text(), QStringLiteral("撤销 添加设备"));
        undo->trigger();
        QCOMPARE(ProjectFile::projectBytes(), before);
        QVERIFY(m_window->isModified());
        // With the project's steps all taken back, Ctrl+Z goes on with the
        // screen's own history.
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("撤销 画矩形"));
        // An edit of the screen goes into the screen's history, not the
        // project's active one, and is the next to be taken back.
        UserOptGroup::instance()->push(new QUndoCommand(QStringLiteral("移动对象")));
        QCOMPARE(ProjectDocument::current()->undoStack()->count(), 1);
        QCOMPARE(undo->text(), QStringLiteral("撤销 移动对象"));

        m_window->setModified(false);
        ModalScript script;
        QVERIFY(m_window->projectController()->openProject(file));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!m_window->action("redo")->isEnabled());
    }

    // What was just read is what the file holds: nothing to save, nothing
    // to ask on close, whatever the project holds.
    void openingLeavesTheProjectUnmodified_data()
    {
        QTest::addColumn<quint32>("seed"); // 0: a new, empty project
        QTest::newRow("new project") << 0u;
        for (quint32 seed : {3u, 8u, 21u})
            QTest::addRow("generated, seed %u", seed) << seed;
    }
    void openingLeavesTheProjectUnmodified()
    {
        QFETCH(quint32, seed);
        QString file = newProject(QStringLiteral("opened%1").arg(seed));
        QVERIFY(!file.isEmpty());
        m_window->projectController()->closeProject();
        if (seed != 0) {
            ProjectGenerator::Options options;
            options.screens = 2;
            options.shapesPerScreen = 6;
            options.encoded = seed % 2 == 0;
            ProjectGenerator(seed).build(options);
            Config::instance()->setProjectFile(file);
            QVERIFY(ProjectFile::write(file));
            m_window->projectController()->closeProject();
        }
        const QByteArray before = fileBytes(file);

        ModalScript script;
        QVERIFY(m_window->projectController()->openProject(file));
        QCoreApplication::processEvents();
        QVERIFY2(script.requests().isEmpty(), qPrintable(script.texts().join('\n')));
        QVERIFY(screenCount() > 0);
        QVERIFY(!m_window->isModified());
        QVERIFY(!m_window->action("save")->isEnabled());
        m_window->projectController()->closeFile();
        QVERIFY(script.requests().isEmpty());
        QCOMPARE(fileBytes(file), before);
    }

    // Screens added or removed are changes to save; showing another one is not.
    void screenChangesMarkTheProjectModified_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("modified");
        QTest::newRow("show the other screen") << "show" << false;
        QTest::newRow("add a screen") << "add" << true;
        QTest::newRow("remove the shown screen") << "remove" << true;
        QTest::newRow("remove a screen not shown") << "remove hidden" << true;
    }
    void screenChangesMarkTheProjectModified()
    {
        QFETCH(QString, change);
        QFETCH(bool, modified);
        const QString file = newProject(QString("screens %1").arg(QTest::currentDataTag()));
        QVERIFY(!file.isEmpty());
        QObject *first = DrawManager::instance()->currentScene();
        QObject *second = m_window->projectTree()->addForm(TemplateScreen);
        QVERIFY(first && second);
        m_window->projectController()->save();
        QVERIFY(!m_window->isModified());
        if (change == "show") {
            m_window->showForm(first);
        } else if (change == "add") {
            m_window->projectTree()->addForm(WindowScreen);
        } else {
            m_window->removeForm(change == "remove hidden" ? first : second);
        }
        QCOMPARE(m_window->isModified(), modified);
    }

    // Nothing is listed that was not written, and the failure is told once.
    void newProjectNotWrittenIsNotListed()
    {
        const QString file = m_dir.filePath("blocked/blocked.mvprg");
        QVERIFY(QDir().mkpath(file)); // a folder where the file should go
        ModalScript script;
        script.pressButton(QMessageBox::Yes); // use the existing project folder
        runNewProject(m_window.get(), "blocked", m_dir.path());
        const QStringList texts = script.texts();
        QCOMPARE(texts.size(), 2);
        QVERIFY2(texts.last().startsWith("写入文件失败 " + file), qPrintable(texts.last()));
        QVERIFY(!m_window->recentFileActions().first()->isVisible());
        // Still open, and unsaved, for "另存为".
        QCOMPARE(screenCount(), 1);
        QVERIFY(m_window->isModified());
    }

    // Tags and settings are project data: changing them through a library or
    // the project settings must make closing ask, and the answer "yes" must
    // put them in the file.
    void tagEditsMarkTheProjectModified_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<bool>("change");
        QTest::newRow("text tag added") << "textLib" << true;
        QTest::newRow("address tag pasted") << "addressLib" << true;
        QTest::newRow("address library unchanged") << "addressLib" << false;
        QTest::newRow("language added") << "config" << true;
    }
    void tagEditsMarkTheProjectModified()
    {
        QFETCH(QString, library);
        QFETCH(bool, change);
        const QString file = newProject(QString("tags %1").arg(QTest::currentDataTag()));
        QVERIFY(!file.isEmpty());
        m_window->setModified(false); // as a save leaves it
        QTimer::singleShot(0, m_window.get(), [this, library, change] {
            if (library == "textLib") {
                auto *dialog = m_window->findChild<TextLibDialog *>();
                if (change)
                    dialog->addLabel("门状态", 2);
                dialog->on_ok_clicked();
            } else if (library == "config") {
                auto *dialog = m_window->findChild<ProjectConfigDialog *>();
                auto *count = dialog->findChild<QComboBox *>("lanNum");
                if (change)
                    count->setCurrentIndex(count->currentIndex() + 1);
                dialog->on_ok_clicked();
            } else {
                auto *dialog = m_window->findChild<AddressLibDialog *>();
                if (change)
                    dialog->pasteRows("泵_1\t本地\tLW 10\tInt16\t2\t主泵");
                dialog->on_ok_clicked();
            }
        });
        m_window->action(library)->trigger();
        QCOMPARE(m_window->isModified(), change);

        ModalScript script;
        script.pressButton(QMessageBox::Yes);
        m_window->projectController()->closeFile();
        QCOMPARE(script.requests().size(), change ? 1 : 0);
        const QByteArray added = library == "textLib" ? "门状态"
            : library == "config"                     ? "<lan1 "
                                                      : "泵_1";
        QCOMPARE(fileBytes(file).contains(added), change);
    }
};

QTEST_MAIN(TestProjectCommands)
#include "tst_projectcommands.moc"
