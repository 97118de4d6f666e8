#include "runtimefolder.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

RuntimeFolder::RuntimeFolder()
{
    if (isUsable(qgetenv("XDG_RUNTIME_DIR")))
        return;
    QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/marovin-cli-runtime-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return; // the toolkit's own fallback, and its warning, remain
    m_path = pattern;
    qputenv("XDG_RUNTIME_DIR", m_path);
}

RuntimeFolder::~RuntimeFolder()
{
    if (m_path.isEmpty())
        return;
    qunsetenv("XDG_RUNTIME_DIR");
    // Does not follow symbolic links out of the folder.
    QDir(QFile::decodeName(m_path)).removeRecursively();
}

bool RuntimeFolder::isUsable(const QByteArray &folder)
{
    struct stat info {};
    return !folder.isEmpty() && stat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == geteuid() && (info.st_mode & 07777) == 0700;
}
