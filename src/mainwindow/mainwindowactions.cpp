// The actions, menus and tool bars of MainWindow: their table, their
// texts, and which of them the start page shows.

#include "mainwindow.h"

#include "editcommands.h"
#include "projectcontroller.h"
#include "zoombox.h"

#include "dockmanager.h"
#include "editor/useroptgroup.h"
#include "firstpage.h"
#include "optionsetdialog.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "tabcontent.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QToolBar>
#include <QUndoView>

namespace {

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

enum ToolBarIndex { ProjectBar, EditBar, ViewBar, AlignBar, OptionBar, CompileBar };
enum MenuIndex { ProjectMenu, EditMenu, FormatMenu, CompileMenu, OptionMenu, HelpMenu };

const int MaxRecentFiles = 10;

} // namespace

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
    // Find works on the whole project, so Ctrl+F must reach it wherever
    // the focus is.
    for (const char *key : {"download", "upload"})
        m_actions.value(QString::fromLatin1(key))->setShortcutContext(Qt::WidgetShortcut);

    // Our own actions rather than the undo group's: theirs word the menu
    // entry in the toolkit's English, whatever the interface language.
    UserOptGroup *group = UserOptGroup::instance(this);
    auto *undo = new QAction(this);
    undo->setObjectName(QStringLiteral("undo"));
    undo->setIcon(QIcon(QStringLiteral(":/resources/images/edit/undo.png")));
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, group, &QUndoGroup::undo);
    auto *redo = new QAction(this);
    redo->setObjectName(QStringLiteral("redo"));
    redo->setIcon(QIcon(QStringLiteral(":/resources/images/edit/redo.png")));
    redo->setShortcut(QKeySequence::Redo);
    redo->setEnabled(false);
    connect(redo, &QAction::triggered, group, &QUndoGroup::redo);
    connect(group, &QUndoGroup::undoTextChanged, this, &MainWindow::updateUndoTexts);
    connect(group, &QUndoGroup::redoTextChanged, this, &MainWindow::updateUndoTexts);
    m_actions.insert(QStringLiteral("undo"), undo);
    m_actions.insert(QStringLiteral("redo"), redo);
    m_actionOrder.insert(m_actionOrder.indexOf(QStringLiteral("copy")), QStringLiteral("redo"));
    m_actionOrder.insert(m_actionOrder.indexOf(QStringLiteral("redo")), QStringLiteral("undo"));

    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *action = new QAction(this);
        action->setVisible(false);
        connect(action, &QAction::triggered, m_projectController, &ProjectController::openRecentFile);
        m_recentFileActions.append(action);
    }

    connect(action(QStringLiteral("new")), &QAction::triggered, m_projectController, &ProjectController::newFile);
    connect(action(QStringLiteral("open")), &QAction::triggered, m_projectController, &ProjectController::openFile);
    connect(action(QStringLiteral("clear")), &QAction::triggered, m_projectController,
            &ProjectController::clearRecentfile);
    connect(action(QStringLiteral("close")), &QAction::triggered, m_projectController, &ProjectController::closeFile);
    connect(action(QStringLiteral("save")), &QAction::triggered, m_projectController, &ProjectController::save);
    connect(action(QStringLiteral("saveAs")), &QAction::triggered, m_projectController, &ProjectController::saveAs);
    connect(action(QStringLiteral("openDir")), &QAction::triggered, m_projectController, &ProjectController::openDir);
    connect(action(QStringLiteral("exit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("find")), &QAction::triggered, this, &MainWindow::on_find);
    EditCommands *edit = m_editCommands;
    connect(action(QStringLiteral("copy")), &QAction::triggered, edit, &EditCommands::copy);
    connect(action(QStringLiteral("paste")), &QAction::triggered, edit, &EditCommands::paste);
    connect(action(QStringLiteral("cut")), &QAction::triggered, edit, &EditCommands::cut);
    connect(action(QStringLiteral("delete")), &QAction::triggered, edit, &EditCommands::remove);
    for (const char *key : {"align_left", "align_right", "align_top", "align_bottom",
                            "align_vcenter", "align_hcenter", "align_horzeven", "align_verteven",
                            "align_height", "align_width", "align_all"}) {
        QAction *align = action(QString::fromLatin1(key));
        connect(align, &QAction::triggered, edit,
                [edit, align] { edit->align(align->objectName(), align->text()); });
    }
    connect(action(QStringLiteral("toPrev")), &QAction::triggered, edit,
            &EditCommands::moveForward);
    connect(action(QStringLiteral("toNext")), &QAction::triggered, edit,
            &EditCommands::moveBackward);
    connect(action(QStringLiteral("toFront")), &QAction::triggered, edit,
            &EditCommands::bringToFront);
    connect(action(QStringLiteral("toBack")), &QAction::triggered, edit,
            &EditCommands::sendToBack);
    connect(action(QStringLiteral("group")), &QAction::triggered, edit, &EditCommands::group);
    connect(action(QStringLiteral("unGroup")), &QAction::triggered, edit, &EditCommands::ungroup);
    connect(action(QStringLiteral("zoomIn")), &QAction::triggered, m_zoomBox, &ZoomBox::zoomIn);
    connect(action(QStringLiteral("zoomOut")), &QAction::triggered, m_zoomBox, &ZoomBox::zoomOut);
    connect(action(QStringLiteral("setup")), &QAction::triggered, this, [this] {
        OptionSetDialog dialog(this);
        dialog.run();
    });
    connect(action(QStringLiteral("config")), &QAction::triggered, m_projectConfigDialog,
            &ProjectConfigDialog::run);
    // Devices, languages and protection are saved with the project.
    connect(m_projectConfigDialog, &ProjectConfigDialog::configChanged, this,
            [this] { setModified(true); });
    connect(action(QStringLiteral("textLib")), &QAction::triggered, m_textLibDialog,
            [this] { m_textLibDialog->showLibrary(QString()); });
    // Tags are project data: losing them to a close that did not ask is
    // losing work.
    connect(m_textLibDialog, &TextLibDialog::libraryChanged, this, [this] { setModified(true); });
    // Through the seam like every other dialog, so that no test blocks on it.
    connect(action(QStringLiteral("addressLib")), &QAction::triggered, m_addressLibDialog,
            [this] { m_addressLibDialog->showLibrary(false, -1); });
    // The address list edits the library in place, so every change counts,
    // whichever button closes the dialog.
    connect(m_addressLibDialog, &AddressLibDialog::libraryChanged, this,
            [this] { setModified(true); });
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

    m_zoomBox = new ZoomBox(this);
    m_toolBars.at(ViewBar)->addActions({act("zoomIn"), act("zoomOut")});
    m_toolBars.at(ViewBar)->addWidget(m_zoomBox);

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

void MainWindow::retranslate()
{
    for (const ActionText &entry : actionTexts) {
        if (QAction *a = action(QString::fromLatin1(entry.key)))
            a->setText(tr(entry.text));
    }
    updateUndoTexts();
    if (m_undoView)
        m_undoView->setEmptyLabel(tr("<空>"));
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

void MainWindow::updateUndoTexts()
{
    UserOptGroup *group = UserOptGroup::instance(this);
    const QString undo = group->undoText();
    const QString redo = group->redoText();
    action(QStringLiteral("undo"))->setText(undo.isEmpty() ? tr("撤销") : tr("撤销 %1").arg(undo));
    action(QStringLiteral("redo"))->setText(redo.isEmpty() ? tr("恢复") : tr("恢复 %1").arg(redo));
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
