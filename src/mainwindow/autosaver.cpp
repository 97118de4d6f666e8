#include "autosaver.h"

#include "document/crashfilter.h"
#include "document/projectfile.h"
#include "model/config.h"
#include "services/editorsettings.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

AutoSaver::AutoSaver(std::function<bool()> modified, QObject *parent)
    : QObject(parent)
    , m_modified(std::move(modified))
{
    connect(&m_timer, &QTimer::timeout, this, &AutoSaver::saveNow);
    connect(EditorSettings::instance(), &EditorSettings::changed, this, &AutoSaver::applySettings);
    applySettings();
}

void AutoSaver::applySettings()
{
    const EditorSettings::Values &values = EditorSettings::instance()->values();
    if (!values.autoSave) {
        m_timer.stop();
        return;
    }
    const int interval = values.autoSaveMinutes * 60 * 1000;
    // Restarting on every settings change would put the next copy off
    // forever for a user who keeps adjusting the grid.
    if (!m_timer.isActive() || m_timer.interval() != interval)
        m_timer.start(interval);
}

bool AutoSaver::saveNow()
{
    const QString projectFile = Config::instance()->projectFile();
    if (projectFile.isEmpty() || !m_modified || !m_modified())
        return false;
    const QString copy = copyPath(projectFile);
    QString error;
    if (!ProjectFile::write(copy, &error)) {
        qWarning().noquote() << "autosave failed:" << error;
        emit statusMessage(tr("自动保存失败：%1").arg(error));
        return false;
    }
    qInfo().noquote() << "autosave:" << copy;
    emit statusMessage(tr("已自动保存到 %1").arg(copy));
    return true;
}

QString AutoSaver::copyPath(const QString &projectFile)
{
    return CrashFilter::recoveryCopyPath(projectFile);
}

bool AutoSaver::hasNewerCopy(const QString &projectFile)
{
    const QFileInfo copy(copyPath(projectFile));
    const QFileInfo file(projectFile);
    return copy.isFile() && file.isFile() && copy.lastModified() > file.lastModified();
}

void AutoSaver::removeCopy(const QString &projectFile)
{
    const QString copy = copyPath(projectFile);
    if (!copy.isEmpty() && QFile::exists(copy) && !QFile::remove(copy)) {
        qWarning().noquote() << "cannot remove the recovery copy" << copy;
        return;
    }
    // A crash may have recorded this copy for the next start to offer.
    CrashFilter::forgetRecord(copy);
}
