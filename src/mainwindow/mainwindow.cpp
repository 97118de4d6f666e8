#include "mainwindow.h"

#include "autosaver.h"
#include "checkpanel.h"
#include "dockmanager.h"
#include "document/drawmanager.h"
#include "editcommands.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/toolboxform.h"
#include "editor/useroptgroup.h"
#include "findpanel.h"
#include "firstpage.h"
#include "formwidgets.h"
#include "helpcommands.h"
#include "itemstable.h"
#include "mainactions.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "newprojectdialog.h"
#include "panelcommands.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/property/propertydialog.h"
#include "panels/property/propertytreebrowser.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "projectcontroller.h"
#include "projecttree.h"
#include "services/apppaths.h"
#include "services/appsettings.h"
#include "services/editorsettings.h"
#include "services/messagedialog.h"
#include "shapes/shapekind.h"
#include "tabcontent.h"
#include "windowsettings.h"
#include "zoombox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QDockWidget>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QTranslator>
#include <QUndoView>

namespace {

QPointer<QMenu> &sceneMenuSlot()
{
    static QPointer<QMenu> menu;
    return menu;
}

const char *const dockTitles[] = {
    QT_TRANSLATE_NOOP("DockManager", "工程"),     QT_TRANSLATE_NOOP("DockManager", "元件"),
    QT_TRANSLATE_NOOP("DockManager", "工具箱"),   QT_TRANSLATE_NOOP("DockManager", "属性浏览"),
    QT_TRANSLATE_NOOP("DockManager", "编译输出"), QT_TRANSLATE_NOOP("DockManager", "查找输出"),
    QT_TRANSLATE_NOOP("DockManager", "应用输出"),
};

QString positionText(int x, int y)
{
    return QStringLiteral("X:%1, Y:%2").arg(x, 4).arg(y, 4);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    m_dockManager = new DockManager(this);
    m_firstPage = new FirstPage;
    m_tabContent = new TabContent;
    m_formWidgets = new FormWidgets(this);
    m_modified = false;
    m_projectTree = new ProjectTree;
    m_itemsTable = new ItemsTable;
    m_toolBox = new ToolBoxForm;
    m_newProjectDialog = new NewProjectDialog(this);
    DrawTool::createTools();
    m_propertyDialog = new PropertyDialog(this);
    m_propertyBrowser = new PropertyTreeBrowser;
    m_projectConfigDialog = new ProjectConfigDialog(this);
    m_textLibDialog = new TextLibDialog(this);
    m_addressLibDialog = new AddressLibDialog(this);
    m_autoSaver = new AutoSaver([this] { return m_modified; }, this);
    m_editCommands = new EditCommands(this);
    m_projectController = new ProjectController(this);
    m_mainActions = new MainActions(this);
    m_zoomBox = m_mainActions->zoomBox();
    m_helpCommands = new HelpCommands(this);

    connectActions();
    createStatusBar();
    auto *panelCommands = new PanelCommands(m_mainActions, statusBar(), this);
    connect(this, &MainWindow::projectEdited, panelCommands, &PanelCommands::projectEdited);
    createDockWindows();
    setupConnections();

    m_projectController->updateRecentFiles();
    setCentralPage(true);
    setApplicationTitle(QString());
    WindowSettings::read();
    changeLanguage(AppSettings::instance()->uiLanguage());
    // Once the window is up: a built-in table that did not load.
    QTimer::singleShot(0, this, &MainWindow::reportTableErrors);
}

MainWindow::~MainWindow()
{
    // The start page and the tab area live in the central stack and die with
    // it; the dialogs and docks are children of the window.
}

QMenu *MainWindow::sceneContextMenu()
{
    return sceneMenuSlot();
}

QAction *MainWindow::action(const QString &key) const
{
    return m_mainActions->action(key);
}

QList<QAction *> MainWindow::recentFileActions() const
{
    return m_mainActions->recentFileActions();
}

QMenu *MainWindow::recentMenu() const
{
    return m_mainActions->recentMenu();
}

void MainWindow::createStatusBar()
{
    m_positionLabel = new QLabel(this);
    m_positionLabel->setObjectName(QStringLiteral("positionLabel"));
    m_positionLabel->setFrameShape(QFrame::WinPanel);
    m_positionLabel->setFrameShadow(QFrame::Sunken);
    m_positionLabel->setText(positionText(0, 0));
    const QFontMetrics metrics(m_positionLabel->font());
    m_positionLabel->setFixedSize(12 * metrics.horizontalAdvance(QLatin1Char('X')) + 5,
                                  metrics.height());
    statusBar()->addPermanentWidget(m_positionLabel);
    connect(m_autoSaver, &AutoSaver::statusMessage, this,
            [this](const QString &text) { statusBar()->showMessage(text, 10000); });
}

void MainWindow::createDockWindows()
{
    QDockWidget *project = m_dockManager->createDock(Qt::LeftDockWidgetArea, dockTitles[0]);
    project->setWidget(m_projectTree);
    project->layout()->setContentsMargins(0, 0, 0, 0);

    QDockWidget *element = m_dockManager->createDock(Qt::LeftDockWidgetArea, dockTitles[1]);
    element->setWidget(m_itemsTable);

    QDockWidget *toolBox = m_dockManager->createDock(Qt::RightDockWidgetArea, dockTitles[2]);
    toolBox->setWidget(m_toolBox);

    QDockWidget *property = m_dockManager->createDock(Qt::RightDockWidgetArea, dockTitles[3]);
    property->setWidget(m_propertyBrowser);

    QDockWidget *compile = m_dockManager->createDock(Qt::BottomDockWidgetArea, dockTitles[4]);
    m_checkPanel = new CheckPanel(compile);
    compile->setWidget(m_checkPanel);

    QDockWidget *find = m_dockManager->createDock(Qt::BottomDockWidgetArea, dockTitles[5]);
    m_findPanel = new FindPanel(find);
    find->setWidget(m_findPanel);
    for (PlaceList *list : {static_cast<PlaceList *>(m_checkPanel), static_cast<PlaceList *>(m_findPanel)})
        connect(list, &PlaceList::placeActivated, this, &MainWindow::openPlace);
    m_dockManager->tabifyDocks(compile, find);

    QDockWidget *output = m_dockManager->createDock(Qt::BottomDockWidgetArea, dockTitles[6]);
    m_undoView = new QUndoView(UserOptGroup::instance(this), output);
    output->setWidget(m_undoView);
    m_dockManager->tabifyDocks(find, output);
    output->raise();

    compile->hide();
    find->hide();
    output->hide();
}

void MainWindow::setupConnections()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    setAttribute(Qt::WA_QuitOnClose);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(true);

    connect(m_tabContent, &TabContent::currentChanged, this,
            [this] { showTabContent(m_tabContent->currentWidget()); });
    connect(m_tabContent, &TabContent::tabsClosed, this, &MainWindow::followShownTab);

    m_firstPage->setNewAction(action(QStringLiteral("new")));
    m_firstPage->setOpenAction(action(QStringLiteral("open")));
    m_firstPage->setClearAction(action(QStringLiteral("clear")));

    if (!sceneMenuSlot())
        sceneMenuSlot() = m_mainActions->createSceneMenu(this);
    DrawView::setContextMenuProvider(&MainWindow::sceneContextMenu);
    m_projectTree->propertyAction()->setIcon(action(QStringLiteral("property"))->icon());
    connect(m_projectTree, &ProjectTree::propertyRequested, this, [this](QObject *form) {
        if (auto *scene = qobject_cast<DrawScene *>(form))
            m_propertyDialog->showForScreen(scene);
    });

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { action(QStringLiteral("paste"))->setEnabled(true); });

    connect(m_projectTree, &ProjectTree::removeTabContent, this, &MainWindow::removeForm);
    connect(m_projectTree, &ProjectTree::showTabContent, this, &MainWindow::showForm);
    connect(m_projectTree, &ProjectTree::formAdded, this, [this] { setModified(true); });
    // The name is saved with the project and shown by the property browser.
    connect(m_projectTree, &ProjectTree::formRenamed, this, [this] {
        setModified(true);
        currentItemChanged(nullptr);
    });
    connect(m_propertyDialog, &PropertyDialog::formRenamed, this, [this] {
        setModified(true);
        currentItemChanged(nullptr);
    });
    connect(m_toolBox, &ToolBoxForm::userDrawShape, this, &MainWindow::userDrawShape);

    connect(AppSettings::instance(), &AppSettings::languageChanged, this,
            &MainWindow::changeLanguage);

    UserOptGroup *group = UserOptGroup::instance(this);
    connect(group, &QUndoGroup::canUndoChanged, this, &MainWindow::updateActions);
    connect(group, &QUndoGroup::canRedoChanged, this, &MainWindow::updateActions);
    connect(group, &UserOptGroup::historyChanged, this, &MainWindow::updateActions);
    // Undo and redo add, remove and rename shapes: the object list and the
    // property rows follow.
    connect(group, &QUndoGroup::indexChanged, this, [this] {
        currentSceneChanged();
        // Property edits are pushed by the browser itself; any move of the
        // history changes the project, but merely switching to another
        // document's history does not.
        if (!m_switchingHistory && DrawManager::instance()->currentScene())
            setModified(true);
    });
}

void MainWindow::setApplicationTitle(QString name)
{
    const QString app = QStringLiteral("Marovin");
    setWindowTitle(name.isEmpty() ? app : QStringLiteral("%1 : %2").arg(app, name));
}

void MainWindow::setModified(bool enable)
{
    m_modified = enable;
    action(QStringLiteral("save"))->setEnabled(enable);
    if (enable)
        emit projectEdited();
    // Saved or closed: every script now matches the file, so its next
    // change must report itself again, whichever tab is shown.
    if (!enable) {
        const QList<QWidget *> widgets = m_formWidgets->widgets();
        for (QWidget *widget : widgets) {
            auto *script = qobject_cast<CodeEditor *>(widget);
            if (script && script != sender() && script->isModified())
                script->setModified(false);
        }
    }
    // A script keeps its own modified mark in step with the project's,
    // unless the change came from that script itself.
    if (auto *editor = qobject_cast<CodeEditor *>(m_tabContent->currentWidget())) {
        if (sender() != editor)
            editor->setModified(enable);
        return;
    }
    if (enable) {
        DrawScene *scene = DrawManager::instance()->currentScene();
        if (DrawView *view = scene ? scene->view() : nullptr)
            view->applyZoom();
    }
}

void MainWindow::currentItemChanged(QGraphicsItem *item)
{
    DrawScene *scene = DrawManager::instance()->currentScene();
    if (!item && scene && !scene->selectedItems().isEmpty())
        item = scene->selectedItems().last();
    if (item)
        m_propertyBrowser->currentItemChanged(item);
    else
        m_propertyBrowser->currentItemChanged(static_cast<QObject *>(scene));
}

void MainWindow::currentSceneChanged()
{
    currentItemChanged(nullptr);
    // Without a screen the list empties rather than naming shapes nobody sees.
    m_itemsTable->fill(DrawManager::instance()->currentScene());
}

void MainWindow::updateActions()
{
    DrawScene *scene = DrawManager::instance()->currentScene();
    const bool hasScene = scene != nullptr;
    const QList<QGraphicsItem *> selected = scene ? scene->selectedItems()
                                                  : QList<QGraphicsItem *>();
    const int n = selected.size();

    for (const char *key : {"saveAs", "close", "find", "zoomIn", "zoomOut", "property", "build",
                            "offlineSim", "onlineSim", "download", "upload"})
        action(QString::fromLatin1(key))->setEnabled(hasScene);
    m_zoomBox->setEnabled(hasScene);

    UserOptGroup *group = UserOptGroup::instance(this);
    const QUndoStack *undoTarget = group->undoTarget();
    action(QStringLiteral("undo"))->setEnabled(undoTarget && undoTarget->canUndo());
    const QUndoStack *redoTarget = group->redoTarget();
    action(QStringLiteral("redo"))->setEnabled(redoTarget && redoTarget->canRedo());

    for (const char *key : {"copy", "cut", "delete", "toPrev", "toNext", "toFront", "toBack",
                            "group"})
        action(QString::fromLatin1(key))->setEnabled(n >= 1);
    action(QStringLiteral("unGroup"))
        ->setEnabled(n >= 1 && selected.first()->type() == GroupItemType);
    for (const char *key : {"align_left", "align_right", "align_top", "align_bottom",
                            "align_hcenter", "align_vcenter", "align_height", "align_width",
                            "align_all"})
        action(QString::fromLatin1(key))->setEnabled(n >= 2);
    for (const char *key : {"align_horzeven", "align_verteven"})
        action(QString::fromLatin1(key))->setEnabled(n >= 3);
}

void MainWindow::setPosition(int x, int y)
{
    m_positionLabel->setText(positionText(x, y));
}

void MainWindow::reportTableErrors()
{
    const QStringList errors = BuiltinTables::instance()->takeTableErrors();
    if (errors.isEmpty())
        return;
    MessageDialog::showMessage(this, QMessageBox::Critical, tr("错误"),
                               tr("内置表有错误，相关的选项可能缺失：\n%1")
                                   .arg(errors.join(QLatin1Char('\n'))),
                               {tr("确定")});
}

void MainWindow::on_property()
{
    DrawScene *scene = DrawManager::instance()->currentScene();
    if (!scene)
        return;
    m_propertyDialog->showFor(scene);
}

void MainWindow::changeLanguage(int language)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator);
        m_translator->deleteLater();
    }
    m_translator = new QTranslator(this);

    QString fileName;
    QString resource;
    if (language == 0) {
        fileName = QStringLiteral("zh_CN_qt.ts");
        resource = QStringLiteral(":/zh_CN_qt");
    } else if (language == 1) {
        fileName = QStringLiteral("en_US_app.ts");
        resource = QStringLiteral(":/en_US_app");
    }
    if (!fileName.isEmpty()) {
        QStringList sources;
        const QStringList folders = AppPaths::languageFolders();
        for (const QString &folder : folders) {
            const QString local = folder + QLatin1Char('/') + fileName;
            if (QFileInfo::exists(local))
                sources << local;
        }
        // A file in the language folder that does not load (for example an
        // uncompiled catalogue) must not cost the user the built-in one.
        sources << resource;
        for (const QString &source : qAsConst(sources)) {
            if (m_translator->load(source)) {
                QCoreApplication::installTranslator(m_translator);
                break;
            }
        }
    }

    BuiltinTables::instance()->retranslate();
    retranslate();
    m_projectTree->retranslate();
    m_dockManager->retranslateDocks();
    m_toolBox->retranslate();
    m_propertyBrowser->retranslate();
    m_itemsTable->retranslate();
    m_helpCommands->followLanguage(language);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_modified && !m_projectController->maybeSave()) {
        event->ignore();
        return;
    }
    WindowSettings::write();
    event->accept();
}
