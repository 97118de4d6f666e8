#include "projectcontroller.h"

#include "autosaver.h"
#include "document/crashfilter.h"
#include "document/drawmanager.h"
#include "document/picturefiles.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "editor/useroptgroup.h"
#include "firstpage.h"
#include "formwidgets.h"
#include "mainwindow.h"
#include "model/config.h"
#include "newprojectdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "projecttree.h"
#include "services/filedialog.h"
#include "services/messagedialog.h"
#include "services/nativestore.h"
#include "services/verifypassword.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QUndoStack>
#include <QUrl>

namespace {

const int MaxRecentFiles = 10;
const QString ProjectSuffix = QStringLiteral(".mvprg");

// Wait cursor on the window for the duration of one file operation.
class WaitCursor
{
public:
    explicit WaitCursor(QWidget *window)
        : m_window(window)
    {
        m_window->setCursor(Qt::WaitCursor);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~WaitCursor() { m_window->setCursor(Qt::ArrowCursor); }

private:
    QWidget *m_window;
};

} // namespace

ProjectController::ProjectController(MainWindow *window)
    : QObject(window)
    , m_window(window)
{
    followDocument();
}

void ProjectController::followDocument()
{
    ProjectDocument *document = ProjectDocument::current();
    UserOptGroup *group = UserOptGroup::instance(m_window);
    group->setProjectStack(document->undoStack());
    // What a dialog has just changed is what Ctrl+Z takes back next, even
    // with a screen open; once the project's steps are all taken back,
    // Ctrl+Z goes on with the shown screen's (UserOptGroup::undoTarget()).
    connect(document->undoStack(), &QUndoStack::indexChanged, group, [group, document] {
        group->setActiveStack(document->undoStack());
    });
    // A change of the project's data, made, undone or made again, is one
    // the file does not hold yet.
    connect(document->undoStack(), &QUndoStack::indexChanged, m_window,
            [this] { m_window->setModified(true); });
}

bool ProjectController::maybeSave()
{
    if (!askToSave())
        return false;
    closeProject();
    return true;
}

bool ProjectController::askToSave()
{
    // Asked already by the command that is running (a recent project
    // picked in the new-project dialog).
    if (m_saveAsked)
        return true;
    if (m_window->isModified()) {
        Config *config = Config::instance();
        const int answer = MessageDialog::showMessage(
            m_window, QMessageBox::Question, tr("工程"),
            tr("是否将改动保存到 %1 工程?").arg(config->projectName()),
            {tr("是(&Y)"), tr("否(&N)"), tr("取消(&C)")});
        if (answer == QMessageBox::Cancel)
            return false;
        // Losing days of work because a save failed is never acceptable:
        // a failed save keeps the project open, as a cancel would.
        if (answer == QMessageBox::Yes && !saveProjectFile(config->projectFile()))
            return false;
        // Changes the user chose to drop must not come back as a recovery
        // offer the next time the project is opened.
        if (answer == QMessageBox::No)
            AutoSaver::removeCopy(config->projectFile());
    }
    return true;
}

void ProjectController::closeProject()
{
    adopt(nullptr);
    m_open = false;
}

void ProjectController::adopt(std::unique_ptr<ProjectDocument> document)
{
    // No screen is current while they go: none is shown on the way out,
    // which would make views for screens about to be deleted.
    DrawManager::instance()->setCurrentScene(nullptr);
    m_window->projectTree()->closeAll();
    m_window->formWidgets()->clear();
    // The project closed goes here, after its tabs, entries and widgets.
    ProjectDocument::adopt(std::move(document));
    followDocument();
    m_window->projectTree()->addDocuments(DrawManager::instance());
    // Edits left in the table of a closed project must not reach the next.
    m_window->textLibDialog()->reloadTable();
    m_window->setModified(false);
}

bool ProjectController::writeProjectFile(const QString &path)
{
    QString error;
    if (ProjectFile::write(path, &error))
        return true;
    MessageDialog::showMessage(m_window, QMessageBox::Critical, tr("错误"), error, {tr("确定")});
    return false;
}

bool ProjectController::loadProjectFile(const QString &path)
{
    ProjectFile::LoadHooks hooks;
    hooks.checkPassword = [](const QString &password) {
        return verifyPassword(password, tr("项目密码验证"));
    };
    ProjectFile::LoadResult result = ProjectFile::read(path, hooks);
    // Shapes of a newer version are kept and saved back, but they are not
    // shown: the user must not take the screen for all there is.
    QString unknown;
    if (!result.unknownElements.isEmpty())
        unknown = tr("工程文件 %1 含有本版本不认识的元素：%2。这些元素不会显示，但保存时会原样保留。")
                      .arg(path, result.unknownElements.join(QStringLiteral("、")));
    if (!result.unknownAttributes.isEmpty()) {
        if (!unknown.isEmpty())
            unknown += QLatin1Char('\n');
        unknown += tr("工程文件 %1 含有本版本不认识的属性：%2。这些属性不会显示，但保存时会原样保留。")
                       .arg(path, result.unknownAttributes.join(QStringLiteral("、")));
    }
    if (!result.clampedNumbers.isEmpty()) {
        if (!unknown.isEmpty())
            unknown += QLatin1Char('\n');
        unknown += tr("工程文件 %1 含有超出范围或不是数字的数值，已改为最接近的有效值或默认值：\n%2")
                       .arg(path, ProjectFile::firstLines(result.clampedPlaces)
                                      .join(QLatin1Char('\n')));
    }
    switch (result.status) {
    case ProjectFile::Loaded:
        if (!unknown.isEmpty())
            MessageDialog::showMessage(m_window, QMessageBox::Warning, tr("警告"), unknown,
                                       {tr("确定")});
        break;
    case ProjectFile::Damaged: {
        // Opening what could be read may save the rest of the work, but it
        // replaces the project open now: the user decides, knowing the file
        // is not whole before saving over it.
        QString text = tr("工程文件 %1 已损坏，只能读取其中一部分。\n%2").arg(path, result.error);
        if (!unknown.isEmpty())
            text += QLatin1Char('\n') + unknown;
        text += QLatin1Char('\n') + tr("是否打开能够读取的部分？");
        const int answer = MessageDialog::showMessage(m_window, QMessageBox::Warning, tr("警告"),
                                                      text, {tr("是"), tr("否")});
        if (answer != QMessageBox::Yes)
            return false;
        break;
    }
    case ProjectFile::OpenFailed:
    case ProjectFile::NotAProject:
        MessageDialog::showMessage(m_window, QMessageBox::Critical, tr("错误"),
                                   tr("读取文件失败 %1。\n%2.").arg(path, result.error),
                                   {tr("确定")});
        return false;
    case ProjectFile::PasswordRefused:
        // The prompt has said so.
        return false;
    }
    adopt(std::move(result.document));
    m_open = true;
    m_window->showForm(result.firstScreen);
    return true;
}

bool ProjectController::openProject(const QString &path)
{
    if (AutoSaver::hasNewerCopy(path)) {
        const QString copy = AutoSaver::copyPath(path);
        // Declining deletes the copy, so the question says so: it may hold
        // the only record of the work a crash interrupted.
        const int answer = MessageDialog::showMessage(
            m_window, QMessageBox::Question, tr("工程"),
            tr("发现自动保存的恢复文件（%1）。是否恢复？\n选择“否”将删除该恢复文件。")
                .arg(QDir::toNativeSeparators(copy)),
            {tr("是"), tr("否")});
        // The copy is read in place of the file but saved back to the file,
        // so the project stays modified until the user saves it.
        if (answer == QMessageBox::Yes) {
            if (!openProjectFile(copy, path))
                return false;
            // Recovered: a crash that recorded the copy has been answered.
            CrashFilter::forgetRecord(copy);
            return true;
        }
        AutoSaver::removeCopy(path);
    }
    return openProjectFile(path, path);
}

bool ProjectController::openRecoveryCopy(const QString &copy)
{
    const QString project = CrashFilter::recoveredProjectFile(copy);
    return openProjectFile(copy, project.isEmpty() ? copy : project);
}

bool ProjectController::openProjectFile(const QString &file, const QString &project)
{
    // The project and the recent list keep where the file really is, not
    // where it was relative to a working directory that may change.
    const QString path = file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
    const QString owner = project.isEmpty() ? project : QFileInfo(project).absoluteFilePath();
    WaitCursor wait(m_window);
    // A file that cannot be read leaves the project open as it was; the
    // failure has been reported where it was found.
    if (!loadProjectFile(path)) {
        if (!m_open) {
            m_window->setCentralPage(true);
            m_window->setApplicationTitle(QString());
        }
        return false;
    }
    Config *config = Config::instance();
    m_window->setCentralPage(false);
    m_window->reportTableErrors();
    config->setProjectFile(owner);
    m_window->textLibDialog()->reloadTable();
    m_window->setApplicationTitle(config->projectName());
    updateRecentFiles(owner);
    // What was read is not what the project file holds until it is saved.
    if (owner != path)
        m_window->setModified(true);
    return true;
}

bool ProjectController::saveProjectFile(const QString &path)
{
    WaitCursor wait(m_window);
    // writeProjectFile has said why it failed; once is enough.
    if (!writeProjectFile(path))
        return false;
    m_window->setModified(false);
    // The changes are in a project file now; the copies are outdated, also
    // that of the file a "save as" has left behind.
    AutoSaver::removeCopy(path);
    AutoSaver::removeCopy(Config::instance()->projectFile());
    return true;
}

void ProjectController::newFile()
{
    if (!askToSave())
        return;
    // The dialog fills a project of its own: the open one stays open, and
    // 取消 goes back to it with its changes.
    auto fresh = std::make_unique<ProjectDocument>();
    NewProjectDialog *dialog = m_window->newProjectDialog();
    dialog->setRecentMenu(m_window->recentMenu());
    m_saveAsked = true;
    const int result = dialog->run(fresh->config());
    m_saveAsked = false;
    if (result == NewProjectDialog::Cancelled) {
        if (!m_open)
            m_window->setCentralPage(true);
        return;
    }
    // A recent project picked from the dialog has opened itself already.
    if (result != NewProjectDialog::Created)
        return;
    adopt(std::move(fresh));
    Config *config = Config::instance();
    m_open = true;
    m_window->setCentralPage(false);
    config->loadSystemRegisters();
    m_window->reportTableErrors();
    m_window->projectTree()->addForm(BaseScreen);
    m_window->textLibDialog()->reloadTable();
    m_window->setApplicationTitle(config->projectName());
    // The new project exists on disk at once. One that cannot be written
    // stays open and unsaved, for "另存为", but is not listed.
    if (writeProjectFile(config->projectFile())) {
        updateRecentFiles(config->projectFile());
        m_window->setModified(false);
    }
}

void ProjectController::openFile()
{
    if (!askToSave())
        return;
    const QString path = FileDialog::getOpenFileName(
        m_window, tr("打开工程文件"), QString(),
        tr("工程文件(*%1);;All files(*.*)").arg(ProjectSuffix));
    if (!path.isEmpty())
        openProject(path);
}

void ProjectController::openRecentFile()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    const QString stored = action->data().toString();
    QString path = QFileInfo(stored).canonicalFilePath();
    // A vanished file has no canonical path; name the stored one so the
    // user learns which entry failed.
    if (path.isEmpty())
        path = stored;
    if (!askToSave())
        return;
    openProject(path);
}

void ProjectController::closeFile()
{
    // Closing must not throw away unsaved work without asking.
    if (!maybeSave())
        return;
    m_window->setCentralPage(true);
    m_window->setModified(false);
    m_window->setApplicationTitle(QString());
}

void ProjectController::save()
{
    saveProjectFile(Config::instance()->projectFile());
}

void ProjectController::saveAs()
{
    QString name = FileDialog::getSaveFileName(m_window, tr("工程另存为"), QString(),
                                               tr("保存为 (*%1)").arg(ProjectSuffix));
    if (name.isEmpty())
        return;
    // A name typed without the suffix gets it; one that has it in another
    // letter case ("x.MVPRG") is kept as typed.
    if (!name.endsWith(ProjectSuffix, Qt::CaseInsensitive))
        name += ProjectSuffix;
    // The file holds the project's own name and folder, so they must be the
    // new ones before it is written; a failed write leaves the old ones.
    Config *config = Config::instance();
    const QString previous = config->projectFile();
    if (!copyPicturesFor(name))
        return;
    config->setProjectFile(name);
    if (!saveProjectFile(name)) {
        config->setProjectFile(previous);
        return;
    }
    // The copy of the file left behind is outdated as well.
    AutoSaver::removeCopy(previous);
    m_window->setApplicationTitle(config->projectName());
    updateRecentFiles(name);
}

bool ProjectController::copyPicturesFor(const QString &file)
{
    // The shapes name their pictures relative to the project's folder; a
    // project saved elsewhere takes them along, or it shows none there.
    QStringList clashes;
    QString error;
    if (PictureFiles::copyForSaveAs(Config::instance()->pictureFolder(),
                                    QFileInfo(file).absolutePath(), &clashes, &error))
        return true;
    const QString text = clashes.isEmpty()
        ? tr("图片复制失败，工程没有保存：%1").arg(error)
        : tr("目标文件夹中已有同名但内容不同的图片，工程没有保存（请换一个文件夹）：\n%1")
              .arg(clashes.join(QLatin1Char('\n')));
    MessageDialog::showMessage(m_window, QMessageBox::Warning, tr("警告"), text, {tr("确定")});
    return false;
}

void ProjectController::openDir()
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Config::instance()->projectPath())))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::currentPath()));
}

void ProjectController::updateRecentFiles(QString filename)
{
    QStringList files = nativeStore().value(QStringLiteral("recentFiles")).toStringList();
    if (!filename.isEmpty()) {
        filename = QFileInfo(filename).absoluteFilePath();
        files.removeAll(filename);
        files.prepend(filename);
        while (files.size() > MaxRecentFiles)
            files.removeLast();
        updateNativeStore({{QStringLiteral("recentFiles"), files}});
    }

    const int n = qMin(int(files.size()), MaxRecentFiles);
    for (int i = 0; i < MaxRecentFiles; ++i) {
        QAction *action = m_window->recentFileActions().at(i);
        if (i < n) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i)));
            action->setData(files.at(i));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    m_window->firstPage()->updateRecent(m_window->recentMenu());
    m_window->action(QStringLiteral("openDir"))->setStatusTip(Config::instance()->projectPath());
}

void ProjectController::clearRecentfile()
{
    updateNativeStore({{QStringLiteral("recentFiles"), QStringList()}});
    updateRecentFiles();
}
