#pragma once

#include <QObject>

#include <memory>

class MainWindow;
class ProjectDocument;

// The project commands of the editor: new, open (also a recovery copy),
// recent files, close and save. It asks before unsaved work is dropped,
// reports every failure once, and keeps the window's title, pages and
// recent list in step with the open project. Owned by the window.
class ProjectController : public QObject
{
    Q_OBJECT
public:
    explicit ProjectController(MainWindow *window);

    // Asks whether to save a modified project, then closes it; false when
    // the user cancelled or the save failed (the project stays open).
    bool maybeSave();
    // The question alone: the project stays open either way, for a command
    // that replaces it only once its replacement has been read.
    bool askToSave();
    void closeProject();
    bool openProject(const QString &path);
    // Opens a copy saved by the crash filter as the project it was saved
    // from: Save then writes that project's own file, and the project is
    // modified until it does. Other names open as openProject() does.
    bool openRecoveryCopy(const QString &copy);
    bool saveProjectFile(const QString &path);
    // The project file wrapped with the user-facing messages.
    bool writeProjectFile(const QString &path);
    bool loadProjectFile(const QString &path);
    // Puts filename first in the recent list (when given) and refreshes the
    // menu and the start page from the stored list.
    void updateRecentFiles(QString filename = QString());

public slots:
    void newFile();
    void openFile();
    void openRecentFile();
    void closeFile();
    void save();
    void saveAs();
    void openDir();
    void clearRecentfile();

private:
    // Closes the open project and makes document (null: an empty one) the
    // project edited.
    void adopt(std::unique_ptr<ProjectDocument> document);
    // Puts the current document's history in the Edit menu.
    void followDocument();
    // Reads file as the project stored at project (the same file but for a
    // recovery copy).
    bool openProjectFile(const QString &file, const QString &project);
    // Copies the pictures the project uses beside file, for a "save as";
    // false, with a message, when that would replace another picture or
    // fails.
    bool copyPicturesFor(const QString &file);

    MainWindow *m_window;
    // Whether a project is open, as opposed to the empty one left by
    // closing (or none opened yet).
    bool m_open = false;
    // While a command runs that has asked about unsaved changes already.
    bool m_saveAsked = false;
};
