#include "mainwindow.h"

#include "device/projectconfigdialog.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawtool.h"
#include "editor/drawview.h"
#include "editor/toolboxform.h"
#include "editor/useroptgroup.h"
#include "mainwindow/dockmanager.h"
#include "mainwindow/firstpage.h"
#include "mainwindow/itemstable.h"
#include "mainwindow/messagedialog.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/optionsetdialog.h"
#include "mainwindow/tabcontent.h"
#include "project/config.h"
#include "project/drawmanager.h"
#include "project/projecttree.h"
#include "property/propertydialog.h"
#include "property/propertytreebrowser.h"
#include "taglib/addresslibdialog.h"
#include "taglib/textlibdialog.h"

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
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QUndoView>

namespace {

QPointer<QMenu> &sceneMenuSlot()
{
    static QPointer<QMenu> menu;
    return menu;
}

// Untranslated action texts; retranslate() passes them through tr().
struct ActionText {
    const char *key;
    const char *text;
};

const ActionText actionTexts[] = {
    {"new", QT_TRANSLATE_NOOP("MainWindow", "新建工程(&N)")},
    {"open", QT_TRANSLATE_NOOP("MainWindow", "打开工程(&O)")},
    {"clear", QT_TRANSLATE_NOOP("MainWindow", "清除")},
    {"close", QT_TRANSLATE_NOOP("MainWindow", "关闭工程(&C)")},
    {"save", QT_TRANSLATE_NOOP("MainWindow", "保存(&S)")},
    {"saveAs", QT_TRANSLATE_NOOP("MainWindow", "另存为(&A)")},
    {"openDir", QT_TRANSLATE_NOOP("MainWindow", "打开工程目录")},
    {"exit", QT_TRANSLATE_NOOP("MainWindow", "退出(&Q)")},
    {"undo", QT_TRANSLATE_NOOP("MainWindow", "撤销")},
    {"redo", QT_TRANSLATE_NOOP("MainWindow", "恢复")},
    {"copy", QT_TRANSLATE_NOOP("MainWindow", "复制(&C)")},
    {"paste", QT_TRANSLATE_NOOP("MainWindow", "粘贴(&P)")},
    {"cut", QT_TRANSLATE_NOOP("MainWindow", "剪切(&T)")},
    {"delete", QT_TRANSLATE_NOOP("MainWindow", "删除(&D)")},
    {"find", QT_TRANSLATE_NOOP("MainWindow", "查找(&F)")},
    {"zoomIn", QT_TRANSLATE_NOOP("MainWindow", "放大")},
    {"zoomOut", QT_TRANSLATE_NOOP("MainWindow", "缩小")},
    {"align_left", QT_TRANSLATE_NOOP("MainWindow", "左对齐")},
    {"align_right", QT_TRANSLATE_NOOP("MainWindow", "右对齐")},
    {"align_top", QT_TRANSLATE_NOOP("MainWindow", "上对齐")},
    {"align_bottom", QT_TRANSLATE_NOOP("MainWindow", "下对齐")},
    {"align_vcenter", QT_TRANSLATE_NOOP("MainWindow", "垂直居中对齐")},
    {"align_hcenter", QT_TRANSLATE_NOOP("MainWindow", "水平居中对齐")},
    {"align_horzeven", QT_TRANSLATE_NOOP("MainWindow", "水平均分")},
    {"align_verteven", QT_TRANSLATE_NOOP("MainWindow", "垂直均分")},
    {"align_height", QT_TRANSLATE_NOOP("MainWindow", "等高")},
    {"align_width", QT_TRANSLATE_NOOP("MainWindow", "等宽")},
    {"align_all", QT_TRANSLATE_NOOP("MainWindow", "等尺寸")},
    {"toPrev", QT_TRANSLATE_NOOP("MainWindow", "上移一层")},
    {"toNext", QT_TRANSLATE_NOOP("MainWindow", "下移一层")},
    {"toFront", QT_TRANSLATE_NOOP("MainWindow", "置于顶层")},
    {"toBack", QT_TRANSLATE_NOOP("MainWindow", "置于底层")},
    {"group", QT_TRANSLATE_NOOP("MainWindow", "组合")},
    {"unGroup", QT_TRANSLATE_NOOP("MainWindow", "取消组合")},
    {"setup", QT_TRANSLATE_NOOP("MainWindow", "设置(&S)")},
    {"config", QT_TRANSLATE_NOOP("MainWindow", "工程配置")},
    {"textLib", QT_TRANSLATE_NOOP("MainWindow", "文本标签库")},
    {"addressLib", QT_TRANSLATE_NOOP("MainWindow", "地址标签库")},
    {"build", QT_TRANSLATE_NOOP("MainWindow", "编译")},
    {"offlineSim", QT_TRANSLATE_NOOP("MainWindow", "离线仿真")},
    {"onlineSim", QT_TRANSLATE_NOOP("MainWindow", "在线仿真")},
    {"download", QT_TRANSLATE_NOOP("MainWindow", "下载")},
    {"upload", QT_TRANSLATE_NOOP("MainWindow", "上载")},
    {"property", QT_TRANSLATE_NOOP("MainWindow", "属性")},
    {"help", QT_TRANSLATE_NOOP("MainWindow", "帮助(&H)")},
    {"about", QT_TRANSLATE_NOOP("MainWindow", "关于(&A)")},
};

const char *const menuTitles[] = {
    QT_TRANSLATE_NOOP("MainWindow", "工程(&P)"), QT_TRANSLATE_NOOP("MainWindow", "编辑(&E)"),
    QT_TRANSLATE_NOOP("MainWindow", "格式(&F)"), QT_TRANSLATE_NOOP("MainWindow", "编译(&M)"),
    QT_TRANSLATE_NOOP("MainWindow", "选项(&O)"), QT_TRANSLATE_NOOP("MainWindow", "帮助(&H)"),
};

const char *const toolBarTitles[] = {
    QT_TRANSLATE_NOOP("MainWindow", "工程"), QT_TRANSLATE_NOOP("MainWindow", "编辑"),
    QT_TRANSLATE_NOOP("MainWindow", "视图"), QT_TRANSLATE_NOOP("MainWindow", "对齐"),
    QT_TRANSLATE_NOOP("MainWindow", "选项"), QT_TRANSLATE_NOOP("MainWindow", "编译"),
};

const char *const dockTitles[] = {
    QT_TRANSLATE_NOOP("DockManager", "工程"),     QT_TRANSLATE_NOOP("DockManager", "元件"),
    QT_TRANSLATE_NOOP("DockManager", "工具箱"),   QT_TRANSLATE_NOOP("DockManager", "属性浏览"),
    QT_TRANSLATE_NOOP("DockManager", "编译输出"), QT_TRANSLATE_NOOP("DockManager", "查找输出"),
    QT_TRANSLATE_NOOP("DockManager", "应用输出"),
};

enum ToolBarIndex { ProjectBar, EditBar, ViewBar, AlignBar, OptionBar, CompileBar };
enum MenuIndex { ProjectMenu, EditMenu, FormatMenu, CompileMenu, OptionMenu, HelpMenu };

const int MaxRecentFiles = 10;

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

    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    createDockWindows();
    setupConnections();

    updateRecentFiles();
    setCentralPage(true);
    setApplicationTitle(QString());
    readSettings();
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

QAction *MainWindow::addAction(const QString &key, const QString &icon)
{
    auto *action = new QAction(this);
    action->setObjectName(key);
    if (!icon.isEmpty())
        action->setIcon(QIcon(QStringLiteral(":/resources/images/") + icon));
    m_actions.insert(key, action);
    m_actionOrder.append(key);
    return action;
}

void MainWindow::createActions()
{
    struct ActionDef {
        const char *key;
        const char *icon;
        QKeySequence shortcut;
        bool enabled;
    };
    const ActionDef definitions[] = {
        {"new", "edit/new.png", QKeySequence::New, true},
        {"open", "edit/open.png", QKeySequence::Open, true},
        {"clear", "", QKeySequence(), true},
        {"close", "", QKeySequence::Close, false},
        {"save", "edit/save.png", QKeySequence::Save, false},
        {"saveAs", "edit/asave.png", QKeySequence::SaveAs, false},
        {"openDir", "", QKeySequence(), true},
        {"exit", "edit/exit.png", QKeySequence::Quit, true},
        {"copy", "edit/copy.png", QKeySequence::Copy, false},
        {"paste", "edit/paste.png", QKeySequence::Paste, false},
        {"cut", "edit/cut.png", QKeySequence::Cut, false},
        {"delete", "edit/delete.png", QKeySequence::Delete, false},
        {"find", "edit/find.png", QKeySequence::Find, false},
        {"zoomIn", "edit/zoomin.png", QKeySequence::ZoomIn, false},
        {"zoomOut", "edit/zoomout.png", QKeySequence::ZoomOut, false},
        {"align_left", "align/align_left.png", QKeySequence(), false},
        {"align_right", "align/align_right.png", QKeySequence(), false},
        {"align_top", "align/align_top.png", QKeySequence(), false},
        {"align_bottom", "align/align_bottom.png", QKeySequence(), false},
        {"align_vcenter", "align/align_vcenter.png", QKeySequence(), false},
        {"align_hcenter", "align/align_hcenter.png", QKeySequence(), false},
        {"align_horzeven", "align/align_horzeven.png", QKeySequence(), false},
        {"align_verteven", "align/align_verteven.png", QKeySequence(), false},
        {"align_height", "align/align_height.png", QKeySequence(), false},
        {"align_width", "align/align_width.png", QKeySequence(), false},
        {"align_all", "align/align_all.png", QKeySequence(), false},
        {"toPrev", "align/bringtoprev.png", QKeySequence(), false},
        {"toNext", "align/sendtonext.png", QKeySequence(), false},
        {"toFront", "align/bringtofront.png", QKeySequence(), false},
        {"toBack", "align/sendtoback.png", QKeySequence(), false},
        {"group", "align/group.png", QKeySequence(), false},
        {"unGroup", "align/ungroup.png", QKeySequence(), false},
        {"setup", "tool/setup.png", QKeySequence(), true},
        {"config", "tool/config.png", QKeySequence(), true},
        {"textLib", "tool/textlib.png", QKeySequence(QStringLiteral("Ctrl+1")), true},
        {"addressLib", "tool/addresslib.png", QKeySequence(QStringLiteral("Ctrl+2")), true},
        {"build", "tool/build.png", QKeySequence(QStringLiteral("F7")), false},
        {"offlineSim", "tool/offlineSim.png", QKeySequence(QStringLiteral("F5")), false},
        {"onlineSim", "tool/onlineSim.png", QKeySequence(QStringLiteral("F6")), false},
        {"download", "tool/download.png", QKeySequence(QStringLiteral("F8")), false},
        {"upload", "tool/upload.png", QKeySequence(QStringLiteral("F9")), false},
        {"property", "tool/property.png", QKeySequence(), false},
        {"help", "edit/help.png", QKeySequence(QStringLiteral("F1")), true},
        {"about", "edit/about.png", QKeySequence(), true},
    };
    for (const ActionDef &def : definitions) {
        QAction *action = addAction(QString::fromLatin1(def.key), QString::fromLatin1(def.icon));
        action->setShortcut(def.shortcut);
        action->setEnabled(def.enabled);
    }
    for (const char *key : {"find", "download", "upload"})
        m_actions.value(QString::fromLatin1(key))->setShortcutContext(Qt::WidgetShortcut);

    UserOptGroup *group = UserOptGroup::instance(this);
    QAction *undo = group->createUndoAction(this);
    undo->setObjectName(QStringLiteral("undo"));
    undo->setIcon(QIcon(QStringLiteral(":/resources/images/edit/undo.png")));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = group->createRedoAction(this);
    redo->setObjectName(QStringLiteral("redo"));
    redo->setIcon(QIcon(QStringLiteral(":/resources/images/edit/redo.png")));
    redo->setShortcut(QKeySequence::Redo);
    m_actions.insert(QStringLiteral("undo"), undo);
    m_actions.insert(QStringLiteral("redo"), redo);
    m_actionOrder.insert(m_actionOrder.indexOf(QStringLiteral("copy")), QStringLiteral("redo"));
    m_actionOrder.insert(m_actionOrder.indexOf(QStringLiteral("redo")), QStringLiteral("undo"));

    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *action = new QAction(this);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, &MainWindow::openRecentFile);
        m_recentFileActions.append(action);
    }

    connect(action(QStringLiteral("new")), &QAction::triggered, this, &MainWindow::newFile);
    connect(action(QStringLiteral("open")), &QAction::triggered, this, &MainWindow::openFile);
    connect(action(QStringLiteral("clear")), &QAction::triggered, this,
            &MainWindow::clearRecentfile);
    connect(action(QStringLiteral("close")), &QAction::triggered, this, &MainWindow::closeFile);
    connect(action(QStringLiteral("save")), &QAction::triggered, this, &MainWindow::save);
    connect(action(QStringLiteral("saveAs")), &QAction::triggered, this, &MainWindow::saveAs);
    connect(action(QStringLiteral("openDir")), &QAction::triggered, this, &MainWindow::openDir);
    connect(action(QStringLiteral("exit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("find")), &QAction::triggered, this, &MainWindow::on_find);
    connect(action(QStringLiteral("copy")), &QAction::triggered, this, &MainWindow::on_copy);
    connect(action(QStringLiteral("paste")), &QAction::triggered, this, &MainWindow::on_paste);
    connect(action(QStringLiteral("cut")), &QAction::triggered, this, &MainWindow::on_cut);
    connect(action(QStringLiteral("delete")), &QAction::triggered, this, &MainWindow::on_delete);
    for (const char *key : {"align_left", "align_right", "align_top", "align_bottom",
                            "align_vcenter", "align_hcenter", "align_horzeven", "align_verteven",
                            "align_height", "align_width", "align_all"})
        connect(action(QString::fromLatin1(key)), &QAction::triggered, this,
                &MainWindow::on_aglin_triggered);
    connect(action(QStringLiteral("toPrev")), &QAction::triggered, this,
            &MainWindow::on_toPrev_triggered);
    connect(action(QStringLiteral("toNext")), &QAction::triggered, this,
            &MainWindow::on_toNext_triggered);
    connect(action(QStringLiteral("toFront")), &QAction::triggered, this,
            &MainWindow::on_toFront_triggered);
    connect(action(QStringLiteral("toBack")), &QAction::triggered, this,
            &MainWindow::on_toBack_triggered);
    connect(action(QStringLiteral("group")), &QAction::triggered, this,
            &MainWindow::on_group_triggered);
    connect(action(QStringLiteral("unGroup")), &QAction::triggered, this,
            &MainWindow::on_unGroup_triggered);
    connect(action(QStringLiteral("zoomIn")), &QAction::triggered, this, &MainWindow::zoomIn);
    connect(action(QStringLiteral("zoomOut")), &QAction::triggered, this, &MainWindow::zoomOut);
    connect(action(QStringLiteral("setup")), &QAction::triggered, this, [this] {
        OptionSetDialog dialog(this);
        dialog.run();
    });
    connect(action(QStringLiteral("config")), &QAction::triggered, m_projectConfigDialog,
            &QDialog::exec);
    connect(action(QStringLiteral("textLib")), &QAction::triggered, m_textLibDialog,
            &QDialog::exec);
    connect(action(QStringLiteral("addressLib")), &QAction::triggered, m_addressLibDialog,
            &QDialog::exec);
    connect(action(QStringLiteral("build")), &QAction::triggered, this, &MainWindow::on_build);
    connect(action(QStringLiteral("offlineSim")), &QAction::triggered, this,
            &MainWindow::on_offlineSim);
    connect(action(QStringLiteral("onlineSim")), &QAction::triggered, this,
            &MainWindow::on_onlineSim);
    connect(action(QStringLiteral("download")), &QAction::triggered, this,
            &MainWindow::on_download);
    connect(action(QStringLiteral("upload")), &QAction::triggered, this, &MainWindow::on_upload);
    connect(action(QStringLiteral("property")), &QAction::triggered, this,
            &MainWindow::on_property);
    connect(action(QStringLiteral("help")), &QAction::triggered, this, &MainWindow::help);
    connect(action(QStringLiteral("about")), &QAction::triggered, this, &MainWindow::about);
}

void MainWindow::createMenus()
{
    auto act = [this](const char *key) { return action(QString::fromLatin1(key)); };

    for (int i = 0; i < 6; ++i)
        m_menus.append(menuBar()->addMenu(QString()));

    QMenu *project = m_menus.at(ProjectMenu);
    project->addActions({act("new"), act("open"), act("close"), act("save"), act("saveAs")});
    project->addSeparator();
    m_recentMenu = project->addMenu(QIcon(QStringLiteral(":/resources/images/edit/recentfile.png")),
                                    QString());
    m_recentMenu->addActions(m_recentFileActions);
    project->addAction(act("openDir"));
    project->addSeparator();
    project->addAction(act("exit"));

    m_menus.at(EditMenu)->addActions({act("undo"), act("redo"), act("copy"), act("cut"),
                                      act("paste"), act("delete"), act("find")});

    QMenu *format = m_menus.at(FormatMenu);
    m_alignMenu = format->addMenu(QIcon(QStringLiteral(":/resources/images/align/align_left.png")),
                                  QString());
    m_alignMenu->addActions({act("align_left"), act("align_right"), act("align_top"),
                             act("align_bottom"), act("align_hcenter"), act("align_vcenter")});
    m_layoutMenu = format->addMenu(
        QIcon(QStringLiteral(":/resources/images/align/align_horzeven.png")), QString());
    m_layoutMenu->addActions({act("align_horzeven"), act("align_verteven")});
    m_sizeMenu = format->addMenu(QIcon(QStringLiteral(":/resources/images/align/align_all.png")),
                                 QString());
    m_sizeMenu->addActions({act("align_height"), act("align_width"), act("align_all")});
    m_orderMenu = format->addMenu(
        QIcon(QStringLiteral(":/resources/images/align/bringtoprev.png")), QString());
    m_orderMenu->addActions({act("toPrev"), act("toNext"), act("toFront"), act("toBack")});
    m_groupMenu = format->addMenu(QIcon(QStringLiteral(":/resources/images/align/group.png")),
                                  QString());
    m_groupMenu->addActions({act("group"), act("unGroup")});
    format->addSeparator();
    format->addActions({act("zoomIn"), act("zoomOut")});

    m_menus.at(CompileMenu)->addActions({act("build"), act("offlineSim"), act("onlineSim"),
                                         act("download"), act("upload")});
    m_menus.at(OptionMenu)->addActions({act("setup"), act("config"), act("textLib"),
                                        act("addressLib")});
    m_menus.at(HelpMenu)->addActions({act("help"), act("about")});
}

void MainWindow::createToolBars()
{
    auto act = [this](const char *key) { return action(QString::fromLatin1(key)); };
    const char *const names[] = {"projectToolBar", "editToolBar",   "viewToolBar",
                                 "alignToolBar",   "optionToolBar", "compileToolBar"};
    for (int i = 0; i < 6; ++i) {
        if (i == OptionBar)
            addToolBarBreak(Qt::TopToolBarArea);
        QToolBar *bar = addToolBar(QString());
        bar->setObjectName(QString::fromLatin1(names[i]));
        m_toolBars.append(bar);
    }
    m_toolBars.at(ProjectBar)->addActions({act("new"), act("open"), act("save"), act("saveAs")});
    m_toolBars.at(EditBar)->addActions({act("copy"), act("cut"), act("paste"), act("delete"),
                                        act("find"), act("undo"), act("redo")});

    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("zoomBox"));
    m_zoomBox->setEditable(true);
    m_zoomBox->addItems({QStringLiteral("10%"), QStringLiteral("50%"), QStringLiteral("100%"),
                         QStringLiteral("200%"), QStringLiteral("300%"), QStringLiteral("400%"),
                         QStringLiteral("500%")});
    m_zoomBox->setCurrentIndex(2);
    m_zoomBox->setEnabled(false);
    m_toolBars.at(ViewBar)->addActions({act("zoomIn"), act("zoomOut")});
    m_toolBars.at(ViewBar)->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::currentTextChanged, this, &MainWindow::zoomTextChanged);

    QToolBar *align = m_toolBars.at(AlignBar);
    align->addActions({act("align_left"), act("align_right"), act("align_top"),
                       act("align_bottom"), act("align_hcenter"), act("align_vcenter"),
                       act("align_horzeven"), act("align_verteven"), act("align_height"),
                       act("align_width"), act("align_all")});
    align->addSeparator();
    align->addActions({act("toPrev"), act("toNext"), act("toFront"), act("toBack"),
                       act("group"), act("unGroup")});

    m_toolBars.at(OptionBar)->addActions({act("setup"), act("config"), act("textLib"),
                                          act("addressLib")});
    m_toolBars.at(CompileBar)->addActions({act("build"), act("offlineSim"), act("onlineSim"),
                                           act("download"), act("upload")});
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
    m_compileOutput = new QTextBrowser(compile);
    compile->setWidget(m_compileOutput);

    QDockWidget *find = m_dockManager->createDock(Qt::BottomDockWidgetArea, dockTitles[5]);
    m_findOutput = new QTextBrowser(find);
    find->setWidget(m_findOutput);
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

    m_firstPage->setNewAction(action(QStringLiteral("new")));
    m_firstPage->setOpenAction(action(QStringLiteral("open")));
    m_firstPage->setClearAction(action(QStringLiteral("clear")));

    auto act = [this](const char *key) { return action(QString::fromLatin1(key)); };
    if (!sceneMenuSlot()) {
        auto *menu = new QMenu(this);
        menu->addMenu(m_alignMenu);
        menu->addMenu(m_layoutMenu);
        menu->addMenu(m_sizeMenu);
        menu->addMenu(m_orderMenu);
        menu->addMenu(m_groupMenu);
        menu->addActions({act("undo"), act("redo"), act("copy"), act("cut"), act("paste"),
                          act("delete"), act("find"), act("property")});
        sceneMenuSlot() = menu;
    }
    m_projectTree->contextMenu()->addAction(act("property"));

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { action(QStringLiteral("paste"))->setEnabled(true); });

    connect(m_projectTree, &ProjectTree::removeTabContent, this, &MainWindow::removeTabContent);
    connect(m_projectTree, &ProjectTree::showTabContent, this, &MainWindow::showTabContent);
    // The name is saved with the project and shown by the property browser.
    connect(m_projectTree, &ProjectTree::formRenamed, this, [this] {
        setModified(true);
        currentItemChanged(nullptr);
    });
    connect(m_toolBox, &ToolBoxForm::userDrawShape, this, &MainWindow::userDrawShape);

    connect(Config::instance(), &Config::languageChanged, this, &MainWindow::changeLanguage);

    UserOptGroup *group = UserOptGroup::instance(this);
    connect(group, &QUndoGroup::canUndoChanged, this, &MainWindow::updateActions);
    connect(group, &QUndoGroup::canRedoChanged, this, &MainWindow::updateActions);
    // Undo and redo add, remove and rename shapes: the object list and the
    // property rows follow.
    connect(group, &QUndoGroup::indexChanged, this, [this] {
        currentSceneChanged();
        // Property edits are pushed by the browser itself; any move of the
        // history changes the project.
        if (DrawManager::instance()->currentScene())
            setModified(true);
    });
}

void MainWindow::retranslate()
{
    for (const ActionText &entry : actionTexts) {
        if (QAction *a = action(QString::fromLatin1(entry.key)))
            a->setText(tr(entry.text));
    }
    for (int i = 0; i < m_menus.size(); ++i)
        m_menus[i]->setTitle(tr(menuTitles[i]));
    m_recentMenu->setTitle(tr("最近工程(&J)"));
    m_alignMenu->setTitle(tr("对齐(&A)"));
    m_layoutMenu->setTitle(tr("布置(&P)"));
    m_sizeMenu->setTitle(tr("尺寸(&S)"));
    m_orderMenu->setTitle(tr("排列(&N)"));
    m_groupMenu->setTitle(tr("组合(&G)"));
    for (int i = 0; i < m_toolBars.size(); ++i) {
        m_toolBars[i]->setWindowTitle(tr(toolBarTitles[i]));
        m_toolBars[i]->toggleViewAction()->setText(tr(toolBarTitles[i]));
    }
}

void MainWindow::setCentralPage(bool startPage)
{
    if (!m_central) {
        m_central = new QStackedWidget(this);
        setCentralWidget(m_central);
    }
    if (m_central->count() == 0) {
        m_central->addWidget(m_firstPage);
        m_central->addWidget(m_tabContent);
    }
    m_central->setCurrentIndex(startPage ? 0 : 1);

    for (int bar : {ViewBar, AlignBar, OptionBar, CompileBar})
        m_toolBars.at(bar)->setVisible(!startPage);
    m_toolBars.at(ProjectBar)->setVisible(true);
    m_toolBars.at(EditBar)->setVisible(true);

    m_menus.at(FormatMenu)->setEnabled(!startPage);
    m_menus.at(CompileMenu)->setEnabled(!startPage);

    m_dockManager->setDocksEnabled(!startPage);
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
    // A script keeps its own modified mark in step with the project's,
    // unless the change came from that script itself.
    if (auto *editor = qobject_cast<CodeEditor *>(m_tabContent->currentWidget())) {
        if (sender() != editor)
            editor->setModified(enable);
        return;
    }
    if (enable) {
        if (DrawView *view = DrawManager::instance()->currentView())
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
    if (DrawScene *scene = DrawManager::instance()->currentScene())
        m_itemsTable->fill(scene);
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
    action(QStringLiteral("undo"))->setEnabled(group->canUndo());
    action(QStringLiteral("redo"))->setEnabled(group->canRedo());

    for (const char *key : {"copy", "cut", "delete", "toPrev", "toNext", "toFront", "toBack",
                            "group"})
        action(QString::fromLatin1(key))->setEnabled(n >= 1);
    // Groups are identified by their item type code (UserType + 3).
    action(QStringLiteral("unGroup"))
        ->setEnabled(n >= 1 && selected.first()->type() == QGraphicsItem::UserType + 3);
    for (const char *key : {"align_left", "align_right", "align_top", "align_bottom",
                            "align_hcenter", "align_vcenter", "align_height", "align_width",
                            "align_all"})
        action(QString::fromLatin1(key))->setEnabled(n >= 2);
    for (const char *key : {"align_horzeven", "align_verteven"})
        action(QString::fromLatin1(key))->setEnabled(n >= 3);
}

void MainWindow::zoomIn()
{
    stepZoom(10);
}

void MainWindow::zoomOut()
{
    stepZoom(-10);
}

void MainWindow::stepZoom(int delta)
{
    QString text = m_zoomBox->currentText();
    text.remove(QLatin1Char('%'));
    const int z = text.toInt() + delta;
    if (z > 500 || z < 10)
        return;
    m_zoomBox->setCurrentText(QStringLiteral("%1%").arg(z));
}

void MainWindow::zoomTextChanged(const QString &text)
{
    QString number = text;
    number.remove(QLatin1Char('%'));
    bool ok = false;
    const double percent = number.trimmed().toDouble(&ok);
    // A typed text that is not a zoom from 10 to 500 % is ignored, so no
    // factor of zero or less ever reaches a view.
    if (!ok || percent < 10 || percent > 500)
        return;
    if (DrawView *view = DrawManager::instance()->currentView())
        view->setZoom(percent / 100.0);
}

void MainWindow::setPosition(int x, int y)
{
    m_positionLabel->setText(positionText(x, y));
}

void MainWindow::help()
{
}

void MainWindow::about()
{
    MessageDialog::showMessage(this, QMessageBox::Information, tr("关于"),
                               tr("Marovin 操作面板组态编辑器\n版本 %1")
                                   .arg(QCoreApplication::applicationVersion()),
                               {tr("确定")});
}

void MainWindow::on_build()
{
    qDebug() << "build";
}

void MainWindow::on_find()
{
}

void MainWindow::on_offlineSim()
{
}

void MainWindow::on_onlineSim()
{
}

void MainWindow::on_download()
{
}

void MainWindow::on_upload()
{
}

void MainWindow::on_property()
{
    DrawScene *scene = DrawManager::instance()->currentScene();
    if (!scene)
        return;
    if (scene->selectedItems().size() <= 1)
        m_propertyDialog->exec();
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
        const QString local = QStringLiteral("../language/") + fileName;
        if (QFileInfo::exists(local))
            sources << local;
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

    Config::instance()->retranslate();
    retranslate();
    m_projectTree->retranslate();
    m_dockManager->retranslateDocks();
    m_toolBox->retranslate();
    m_propertyBrowser->retranslate();
    m_itemsTable->retranslate();
}

QString MainWindow::settingsFile()
{
    return QStringLiteral("../config/config.ini");
}

void MainWindow::readSettings()
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    Config *config = Config::instance();
    config->uiLanguage = quint8(settings.value(QStringLiteral("language"), 0).toInt());
    config->showNew = settings.value(QStringLiteral("showNew"), false).toBool();
    changeLanguage(config->uiLanguage);
    if (config->showNew)
        QTimer::singleShot(200, this, &MainWindow::newFile);
}

void MainWindow::writeSettings()
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    Config *config = Config::instance();
    settings.setValue(QStringLiteral("language"), int(config->uiLanguage));
    settings.setValue(QStringLiteral("showNew"), config->showNew);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_modified && !maybeSave()) {
        event->ignore();
        return;
    }
    writeSettings();
    event->accept();
}
