#pragma once

#include "model/projectplace.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class AddressLibDialog;
class AutoSaver;
class CheckPanel;
class DockManager;
class DrawScene;
class EditCommands;
class FindPanel;
class FirstPage;
class HelpWindow;
class ItemsTable;
class NewProjectDialog;
class ProjectConfigDialog;
class ProjectController;
class ProjectTree;
class PropertyDialog;
class PropertyTreeBrowser;
class QAction;
class QComboBox;
class QGraphicsItem;
class QLabel;
class QMenu;
class QStackedWidget;
class QTextBrowser;
class QToolBar;
class QTranslator;
class QUndoCommand;
class QUndoView;
class TabContent;
class TextLibDialog;
class ToolBoxForm;
class ZoomBox;

// The program's only top-level window: menus, tool bars, docks, the central
// start page or tab area, and the switchboard between them.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The context menu every screen view pops up; null before the first
    // window has been built or after it has been destroyed.
    static QMenu *sceneContextMenu();

    // Actions by their internal key ("new", "open", "save", "align_left",
    // "build", ...); null for an unknown key.
    QAction *action(const QString &key) const { return m_actions.value(key); }
    QStringList actionKeys() const { return m_actionOrder; }
    QList<QMenu *> menus() const { return m_menus; }
    QList<QToolBar *> toolBars() const { return m_toolBars; }
    QList<QAction *> recentFileActions() const { return m_recentFileActions; }
    QMenu *recentMenu() const { return m_recentMenu; }
    DockManager *dockManager() const { return m_dockManager; }
    ZoomBox *zoomBox() const { return m_zoomBox; }
    QLabel *positionLabel() const { return m_positionLabel; }
    FirstPage *firstPage() const { return m_firstPage; }
    TabContent *tabContent() const { return m_tabContent; }
    ProjectTree *projectTree() const { return m_projectTree; }
    ItemsTable *itemsTable() const { return m_itemsTable; }
    ToolBoxForm *toolBox() const { return m_toolBox; }
    QStackedWidget *centralPages() const { return m_central; }
    bool isModified() const { return m_modified; }
    AutoSaver *autoSaver() const { return m_autoSaver; }
    // Clipboard, arrangement and the screen's gestures as undo steps.
    EditCommands *editCommands() const { return m_editCommands; }
    // New, open, save, close and the recent files.
    ProjectController *projectController() const { return m_projectController; }
    NewProjectDialog *newProjectDialog() const { return m_newProjectDialog; }
    // The read-only outputs of 编译 and 查找; each line is a link to its
    // place. Not owned.
    CheckPanel *checkPanel() const { return m_checkPanel; }
    FindPanel *findPanel() const { return m_findPanel; }
    // The long-lived dialogs a place may open. Not owned.
    TextLibDialog *textLibDialog() const { return m_textLibDialog; }
    AddressLibDialog *addressLibDialog() const { return m_addressLibDialog; }
    ProjectConfigDialog *projectConfigDialog() const { return m_projectConfigDialog; }

    // Opens a place of the project: a screen's tab with the shape selected,
    // the address or text tag library at the tag, the project settings on
    // the devices (or languages, or information) page. The dialogs run
    // modally through the modal seam.
    void openPlace(const ProjectPlace &place);

    void retranslate();
    void setCentralPage(bool startPage);

    void readSettings();
    void writeSettings();
    // When the settings ask for it, opens the new-project dialog 200 ms from
    // now. Armed only once the start-up project and every box it raised are
    // done: fired inside one of them, the dialog would share the screen with
    // the recovery question and a project opened afterwards would be read
    // into the new one.
    void scheduleNewProject();
    // The settings file (AppPaths::settingsFile()).
    static QString settingsFile();

public slots:
    void currentItemChanged(QGraphicsItem *item = nullptr);
    void currentSceneChanged();
    void showTabContent(QWidget *widget);
    void removeTabContent(QWidget *widget);
    void tabContentTitleChanged(QString title);
    void setModified(bool enable);
    // The local help window, in the interface language; not modal.
    void help();
    void about();
    // Shows the built-in table failures not shown before, if any.
    void reportTableErrors();
    void updateActions();
    // The undo and redo entries name the step they take back or make again.
    void updateUndoTexts();
    void changeLanguage(int language);
    void setApplicationTitle(QString name);
    void userDrawShape(int shape);
    void itemSelected();
    // A screen's note (DrawScene::statusMessage) in the status bar for a
    // few seconds.
    void showSceneMessage(const QString &text);
    void on_build();
    void on_find();
    void on_offlineSim();
    void on_onlineSim();
    void on_download();
    void on_upload();
    void on_property();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createDockWindows();
    void setupConnections();
    QAction *addAction(const QString &key, const QString &icon);
    // After tabs were closed: the screen edited is the one whose tab is
    // shown now, or none; unlike a click on a tab this changes nothing in
    // the project.
    void followShownTab();
    void setPosition(int x, int y);
    // Says in the status bar that the command of action key needs a panel.
    void needsPanel(const QString &key);
    static QString buildDate();
    // Shows the output dock holding browser, in front of the docks it
    // shares its tabs with.
    void showOutputDock(QTextBrowser *browser);
    void selectShapeAt(const ProjectPlace &place);

    DockManager *m_dockManager = nullptr;
    FirstPage *m_firstPage = nullptr;
    TabContent *m_tabContent = nullptr;
    bool m_modified = false;
    bool m_switchingHistory = false; // set while the active undo stack changes
    ProjectTree *m_projectTree = nullptr;
    ItemsTable *m_itemsTable = nullptr;
    ToolBoxForm *m_toolBox = nullptr;
    NewProjectDialog *m_newProjectDialog = nullptr;
    PropertyDialog *m_propertyDialog = nullptr;
    PropertyTreeBrowser *m_propertyBrowser = nullptr;
    ProjectConfigDialog *m_projectConfigDialog = nullptr;
    AutoSaver *m_autoSaver = nullptr;
    EditCommands *m_editCommands = nullptr;
    ProjectController *m_projectController = nullptr;
    TextLibDialog *m_textLibDialog = nullptr;
    AddressLibDialog *m_addressLibDialog = nullptr;
    ZoomBox *m_zoomBox = nullptr;
    QLabel *m_positionLabel = nullptr;

    QHash<QString, QAction *> m_actions;
    QStringList m_actionOrder;
    QList<QAction *> m_recentFileActions;
    QList<QMenu *> m_menus;
    QMenu *m_recentMenu = nullptr;
    QMenu *m_alignMenu = nullptr;
    QMenu *m_layoutMenu = nullptr;
    QMenu *m_sizeMenu = nullptr;
    QMenu *m_orderMenu = nullptr;
    QMenu *m_groupMenu = nullptr;
    QList<QToolBar *> m_toolBars;
    CheckPanel *m_checkPanel = nullptr;
    FindPanel *m_findPanel = nullptr;
    QUndoView *m_undoView = nullptr;
    QStackedWidget *m_central = nullptr;
    QTranslator *m_translator = nullptr; // owned through the parent chain
    HelpWindow *m_helpWindow = nullptr; // child, made when first asked for
};
