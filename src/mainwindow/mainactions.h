#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;
class ZoomBox;

// The main window's actions, menus and tool bars: each action with its key,
// icon, shortcut and places, worded in the interface language, and the bars
// the start page hides. What an action does is wired by whoever does it;
// only undo and redo are bound here, to the undo group.
class MainActions : public QObject
{
    Q_OBJECT
public:
    // Builds everything into window: the actions and the zoom box are the
    // window's children, the menus and tool bars sit in its menu bar and
    // tool bar areas.
    explicit MainActions(QMainWindow *window);

    // Actions by their internal key ("new", "open", "save", "align_left",
    // "build", ...); null for an unknown key.
    QAction *action(const QString &key) const { return m_actions.value(key); }
    // Every key, in the order of the actions' table.
    QStringList keys() const { return m_order; }
    // 工程, 编辑, 格式, 编译, 选项, 帮助, 视图, in that order (视图 stands
    // after 格式 in the menu bar).
    QList<QMenu *> menus() const { return m_menus; }
    QList<QToolBar *> toolBars() const { return m_toolBars; }
    // The ten entries of 最近工程, hidden until filled.
    QList<QAction *> recentFileActions() const { return m_recentFileActions; }
    QMenu *recentMenu() const { return m_recentMenu; }
    ZoomBox *zoomBox() const { return m_zoomBox; }

    // A screen's context menu: the Format submenus and the editing actions.
    // parent owns it.
    QMenu *createSceneMenu(QWidget *parent) const;

    // The start page offers only the project and edit bars; the format and
    // compile menus wait for a project.
    void showStartPage(bool startPage);

    void retranslate();

public slots:
    // The undo and redo entries name the step they take back or make again.
    void updateUndoTexts();

private:
    QAction *addAction(const QString &key, const QString &icon);
    void createActions();
    void createMenus();
    void createToolBars();

    QMainWindow *m_window; // not owned: it owns us
    QHash<QString, QAction *> m_actions;
    QStringList m_order;
    QList<QAction *> m_recentFileActions;
    QList<QMenu *> m_menus;
    QList<QToolBar *> m_toolBars;
    QMenu *m_recentMenu = nullptr;
    QMenu *m_alignMenu = nullptr;
    QMenu *m_layoutMenu = nullptr;
    QMenu *m_sizeMenu = nullptr;
    QMenu *m_orderMenu = nullptr;
    QMenu *m_groupMenu = nullptr;
    ZoomBox *m_zoomBox = nullptr;
};
