#pragma once

#include "model/projectplace.h"

#include <QMainWindow>

class AddressLibDialog;
class AutoSaver;
class CheckPanel;
class DockManager;
class DrawScene;
class EditCommands;
class FindPanel;
class FormWidgets;
class FirstPage;
class HelpCommands;
class ItemsTable;
class MainActions;
class NewProjectDialog;
class ProjectConfigDialog;
class ProjectController;
class ProjectTree;
class PropertyDialog;
class PropertyTreeBrowser;
class QAction;
class QGraphicsItem;
class QLabel;
class QMenu;
class QStackedWidget;
class QTextBrowser;
class QTranslator;
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

    // The actions, menus and tool bars.
    MainActions *mainActions() const { return m_mainActions; }
    // mainActions()->action(key): null for an unknown key.
    QAction *action(const QString &key) const;
    // The entries of 最近工程, which the project controller fills.
    QList<QAction *> recentFileActions() const;
    QMenu *recentMenu() const;
    DockManager *dockManager() const { return m_dockManager; }
    ZoomBox *zoomBox() const { return m_zoomBox; }
    QLabel *positionLabel() const { return m_positionLabel; }
    FirstPage *firstPage() const { return m_firstPage; }
    TabContent *tabContent() const { return m_tabContent; }
    // The views and script editors of the open project's forms.
    FormWidgets *formWidgets() const { return m_formWidgets; }
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

public slots:
    void currentItemChanged(QGraphicsItem *item = nullptr);
    void currentSceneChanged();
    void showTabContent(QWidget *widget);
    // Shows the tab of form (a screen's scene or a script), making its
    // widget when it has none yet. Null shows nothing new.
    void showForm(QObject *form);
    // Deletes form from the project, with its tab, widget and history.
    void removeForm(QObject *form);
    void tabContentTitleChanged(QString title);
    void setModified(bool enable);
    // Shows the built-in table failures not shown before, if any.
    void reportTableErrors();
    void updateActions();
    void changeLanguage(int language);
    void setApplicationTitle(QString name);
    void userDrawShape(int shape);
    void itemSelected();
    // A screen's note (DrawScene::statusMessage) in the status bar for a
    // few seconds.
    void showSceneMessage(const QString &text);
    void on_build();
    void on_find();
    void on_property();

signals:
    // The project was changed (marked modified), by any editing path.
    void projectEdited();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // What each action of MainActions does.
    void connectActions();
    void createStatusBar();
    void createDockWindows();
    void setupConnections();
    // After tabs were closed: the screen edited is the one whose tab is
    // shown now, or none; unlike a click on a tab this changes nothing in
    // the project.
    void followShownTab();
    // Makes the screen of view (null: none) the edited one; a view whose
    // screen was not current takes the shared zoom.
    void makeCurrent(QWidget *shown);
    void setPosition(int x, int y);
    // Shows the output dock holding browser, in front of the docks it
    // shares its tabs with.
    void showOutputDock(QTextBrowser *browser);
    void selectShapeAt(const ProjectPlace &place);

    MainActions *m_mainActions = nullptr;
    HelpCommands *m_helpCommands = nullptr;
    DockManager *m_dockManager = nullptr;
    FirstPage *m_firstPage = nullptr;
    TabContent *m_tabContent = nullptr;
    FormWidgets *m_formWidgets = nullptr;
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

    CheckPanel *m_checkPanel = nullptr;
    FindPanel *m_findPanel = nullptr;
    QUndoView *m_undoView = nullptr;
    QStackedWidget *m_central = nullptr;
    QTranslator *m_translator = nullptr; // owned through the parent chain
};
