// The table of the main window's actions, their menus and tool bars, and
// their texts.

#include "mainactions.h"

#include "editor/useroptgroup.h"
#include "services/editorsettings.h"
#include "zoombox.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

// Untranslated action texts; retranslate() passes them through tr().
struct ActionText {
    const char *key;
    const char *text;
};

const ActionText actionTexts[] = {
    {"new", QT_TRANSLATE_NOOP("MainActions", "新建工程(&N)")},
    {"open", QT_TRANSLATE_NOOP("MainActions", "打开工程(&O)")},
    {"clear", QT_TRANSLATE_NOOP("MainActions", "清除")},
    {"close", QT_TRANSLATE_NOOP("MainActions", "关闭工程(&C)")},
    {"save", QT_TRANSLATE_NOOP("MainActions", "保存(&S)")},
    {"saveAs", QT_TRANSLATE_NOOP("MainActions", "另存为(&A)")},
    {"openDir", QT_TRANSLATE_NOOP("MainActions", "打开工程目录")},
    {"exit", QT_TRANSLATE_NOOP("MainActions", "退出(&Q)")},
    {"undo", QT_TRANSLATE_NOOP("MainActions", "撤销")},
    {"redo", QT_TRANSLATE_NOOP("MainActions", "恢复")},
    {"copy", QT_TRANSLATE_NOOP("MainActions", "复制(&C)")},
    {"paste", QT_TRANSLATE_NOOP("MainActions", "粘贴(&P)")},
    {"cut", QT_TRANSLATE_NOOP("MainActions", "剪切(&T)")},
    {"delete", QT_TRANSLATE_NOOP("MainActions", "删除(&D)")},
    {"find", QT_TRANSLATE_NOOP("MainActions", "查找(&F)")},
    {"zoomIn", QT_TRANSLATE_NOOP("MainActions", "放大")},
    {"zoomOut", QT_TRANSLATE_NOOP("MainActions", "缩小")},
    {"align_left", QT_TRANSLATE_NOOP("MainActions", "左对齐")},
    {"align_right", QT_TRANSLATE_NOOP("MainActions", "右对齐")},
    {"align_top", QT_TRANSLATE_NOOP("MainActions", "上对齐")},
    {"align_bottom", QT_TRANSLATE_NOOP("MainActions", "下对齐")},
    {"align_vcenter", QT_TRANSLATE_NOOP("MainActions", "垂直居中对齐")},
    {"align_hcenter", QT_TRANSLATE_NOOP("MainActions", "水平居中对齐")},
    {"align_horzeven", QT_TRANSLATE_NOOP("MainActions", "水平均分")},
    {"align_verteven", QT_TRANSLATE_NOOP("MainActions", "垂直均分")},
    {"align_height", QT_TRANSLATE_NOOP("MainActions", "等高")},
    {"align_width", QT_TRANSLATE_NOOP("MainActions", "等宽")},
    {"align_all", QT_TRANSLATE_NOOP("MainActions", "等尺寸")},
    {"toPrev", QT_TRANSLATE_NOOP("MainActions", "上移一层")},
    {"toNext", QT_TRANSLATE_NOOP("MainActions", "下移一层")},
    {"toFront", QT_TRANSLATE_NOOP("MainActions", "置于顶层")},
    {"toBack", QT_TRANSLATE_NOOP("MainActions", "置于底层")},
    {"group", QT_TRANSLATE_NOOP("MainActions", "组合")},
    {"unGroup", QT_TRANSLATE_NOOP("MainActions", "取消组合")},
    {"setup", QT_TRANSLATE_NOOP("MainActions", "设置(&S)")},
    {"config", QT_TRANSLATE_NOOP("MainActions", "工程配置")},
    {"textLib", QT_TRANSLATE_NOOP("MainActions", "文本标签库")},
    {"addressLib", QT_TRANSLATE_NOOP("MainActions", "地址标签库")},
    {"build", QT_TRANSLATE_NOOP("MainActions", "编译")},
    {"offlineSim", QT_TRANSLATE_NOOP("MainActions", "离线仿真")},
    {"onlineSim", QT_TRANSLATE_NOOP("MainActions", "在线仿真")},
    {"download", QT_TRANSLATE_NOOP("MainActions", "下载")},
    {"upload", QT_TRANSLATE_NOOP("MainActions", "上载")},
    {"property", QT_TRANSLATE_NOOP("MainActions", "属性")},
    {"bindingMarkers", QT_TRANSLATE_NOOP("MainActions", "显示数据标记")},
    {"help", QT_TRANSLATE_NOOP("MainActions", "帮助(&H)")},
    {"about", QT_TRANSLATE_NOOP("MainActions", "关于(&A)")},
};

const char *const menuTitles[] = {
    QT_TRANSLATE_NOOP("MainActions", "工程(&P)"), QT_TRANSLATE_NOOP("MainActions", "编辑(&E)"),
    QT_TRANSLATE_NOOP("MainActions", "格式(&F)"), QT_TRANSLATE_NOOP("MainActions", "编译(&M)"),
    QT_TRANSLATE_NOOP("MainActions", "选项(&O)"), QT_TRANSLATE_NOOP("MainActions", "帮助(&H)"),
    QT_TRANSLATE_NOOP("MainActions", "视图(&V)"),
};

const char *const toolBarTitles[] = {
    QT_TRANSLATE_NOOP("MainActions", "工程"), QT_TRANSLATE_NOOP("MainActions", "编辑"),
    QT_TRANSLATE_NOOP("MainActions", "视图"), QT_TRANSLATE_NOOP("MainActions", "对齐"),
    QT_TRANSLATE_NOOP("MainActions", "选项"), QT_TRANSLATE_NOOP("MainActions", "编译"),
};

enum ToolBarIndex { ProjectBar, EditBar, ViewBar, AlignBar, OptionBar, CompileBar };
// The View menu came last; it stands after 格式 in the menu bar.
enum MenuIndex { ProjectMenu, EditMenu, FormatMenu, CompileMenu, OptionMenu, HelpMenu, ViewMenu };

const int MaxRecentFiles = 10;

} // namespace

MainActions::MainActions(QMainWindow *window)
    : QObject(window)
    , m_window(window)
{
    createActions();
    createMenus();
    createToolBars();
}

QAction *MainActions::addAction(const QString &key, const QString &icon)
{
    auto *action = new QAction(m_window);
    action->setObjectName(key);
    if (!icon.isEmpty())
        action->setIcon(QIcon(QStringLiteral(":/resources/images/") + icon));
    m_actions.insert(key, action);
    m_order.append(key);
    return action;
}

void MainActions::createActions()
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
    for (const char *key : {"download", "upload"})
        m_actions.value(QString::fromLatin1(key))->setShortcutContext(Qt::WidgetShortcut);

    // Our own actions rather than the undo group's: theirs word the menu
    // entry in the toolkit's English, whatever the interface language.
    UserOptGroup *group = UserOptGroup::instance(m_window);
    auto *undo = new QAction(m_window);
    undo->setObjectName(QStringLiteral("undo"));
    undo->setIcon(QIcon(QStringLiteral(":/resources/images/edit/undo.png")));
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, group, &UserOptGroup::undoLatest);
    auto *redo = new QAction(m_window);
    redo->setObjectName(QStringLiteral("redo"));
    redo->setIcon(QIcon(QStringLiteral(":/resources/images/edit/redo.png")));
    // Ctrl+Y as well: the platform's redo key here is Ctrl+Shift+Z, and
    // engineers coming from other desktops reach for Ctrl+Y.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    if (!redoKeys.contains(ctrlY))
        redoKeys.append(ctrlY);
    redo->setShortcuts(redoKeys);
    redo->setEnabled(false);
    connect(redo, &QAction::triggered, group, &UserOptGroup::redoLatest);
    connect(group, &QUndoGroup::undoTextChanged, this, &MainActions::updateUndoTexts);
    connect(group, &QUndoGroup::redoTextChanged, this, &MainActions::updateUndoTexts);
    connect(group, &UserOptGroup::historyChanged, this, &MainActions::updateUndoTexts);
    m_actions.insert(QStringLiteral("undo"), undo);
    m_actions.insert(QStringLiteral("redo"), redo);
    m_order.insert(m_order.indexOf(QStringLiteral("copy")), QStringLiteral("redo"));
    m_order.insert(m_order.indexOf(QStringLiteral("redo")), QStringLiteral("undo"));

    // Kept between runs at once, as the other editor settings are.
    QAction *markers = addAction(QStringLiteral("bindingMarkers"), QString());
    markers->setCheckable(true);
    markers->setChecked(EditorSettings::instance()->values().bindingMarkers);
    connect(markers, &QAction::toggled, this, [](bool shown) {
        EditorSettings *settings = EditorSettings::instance();
        EditorSettings::Values values = settings->values();
        if (values.bindingMarkers == shown)
            return;
        values.bindingMarkers = shown;
        settings->setValues(values);
        QString error;
        if (!settings->store(&error))
            qWarning("The settings were not kept: %s", qPrintable(error));
    });
    connect(EditorSettings::instance(), &EditorSettings::changed, markers, [markers] {
        markers->setChecked(EditorSettings::instance()->values().bindingMarkers);
    });

    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *action = new QAction(m_window);
        action->setVisible(false);
        m_recentFileActions.append(action);
    }
}

void MainActions::createMenus()
{
    auto act = [this](const char *key) { return action(QString::fromLatin1(key)); };

    for (int i = 0; i < 6; ++i)
        m_menus.append(m_window->menuBar()->addMenu(QString()));

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

    QMenu *view = new QMenu(m_window->menuBar());
    m_window->menuBar()->insertMenu(m_menus.at(CompileMenu)->menuAction(), view);
    view->addAction(act("bindingMarkers"));
    m_menus.append(view);
}

void MainActions::createToolBars()
{
    auto act = [this](const char *key) { return action(QString::fromLatin1(key)); };
    const char *const names[] = {"projectToolBar", "editToolBar",   "viewToolBar",
                                 "alignToolBar",   "optionToolBar", "compileToolBar"};
    for (int i = 0; i < 6; ++i) {
        if (i == OptionBar)
            m_window->addToolBarBreak(Qt::TopToolBarArea);
        QToolBar *bar = m_window->addToolBar(QString());
        bar->setObjectName(QString::fromLatin1(names[i]));
        m_toolBars.append(bar);
    }
    m_toolBars.at(ProjectBar)->addActions({act("new"), act("open"), act("save"), act("saveAs")});
    m_toolBars.at(EditBar)->addActions({act("copy"), act("cut"), act("paste"), act("delete"),
                                        act("find"), act("undo"), act("redo")});

    m_zoomBox = new ZoomBox(m_window);
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

void MainActions::retranslate()
{
    for (const ActionText &entry : actionTexts) {
        if (QAction *a = action(QString::fromLatin1(entry.key)))
            a->setText(tr(entry.text));
    }
    updateUndoTexts();
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

void MainActions::updateUndoTexts()
{
    UserOptGroup *group = UserOptGroup::instance(m_window);
    const QUndoStack *target = group->undoTarget();
    const QString undo = target ? target->undoText() : QString();
    const QUndoStack *redoTarget = group->redoTarget();
    const QString redo = redoTarget ? redoTarget->redoText() : QString();
    action(QStringLiteral("undo"))->setText(undo.isEmpty() ? tr("撤销") : tr("撤销 %1").arg(undo));
    action(QStringLiteral("redo"))->setText(redo.isEmpty() ? tr("恢复") : tr("恢复 %1").arg(redo));
}

QMenu *MainActions::createSceneMenu(QWidget *parent) const
{
    auto act = [this](const char *key) { return action(QString::fromLatin1(key)); };
    auto *menu = new QMenu(parent);
    menu->addMenu(m_alignMenu);
    menu->addMenu(m_layoutMenu);
    menu->addMenu(m_sizeMenu);
    menu->addMenu(m_orderMenu);
    menu->addMenu(m_groupMenu);
    menu->addActions({act("undo"), act("redo"), act("copy"), act("cut"), act("paste"),
                      act("delete"), act("find"), act("property")});
    return menu;
}

void MainActions::showStartPage(bool startPage)
{
    for (int bar : {ViewBar, AlignBar, OptionBar, CompileBar})
        m_toolBars.at(bar)->setVisible(!startPage);
    m_toolBars.at(ProjectBar)->setVisible(true);
    m_toolBars.at(EditBar)->setVisible(true);

    m_menus.at(FormatMenu)->setEnabled(!startPage);
    m_menus.at(CompileMenu)->setEnabled(!startPage);
}
