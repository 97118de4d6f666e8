#include "runtimefolder.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder's name where a signal handler can reach it: a handler may
// call rmdir() but may not allocate, so the bytes are laid out beforehand.
char removeOnSignal[4096];

const int CleanedSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void removeFolderAndDie(int signalNumber)
{
    if (removeOnSignal[0])
        rmdir(removeOnSignal);
    // Dies of the signal as it would have, so the shell sees what ended us.
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void installHandlers()
{
    struct sigaction action {};
    action.sa_handler = removeFolderAndDie;
    sigemptyset(&action.sa_mask);
    // Being interrupted while removing would leave the folder after all.
    for (const int number : CleanedSignals)
        sigaddset(&action.sa_mask, number);
    for (const int number : CleanedSignals) {
        struct sigaction previous {};
        // A signal ignored by whoever started us (nohup) stays ignored.
        if (sigaction(number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(number, &action, nullptr);
    }
}

} // namespace

RuntimeFolder::RuntimeFolder()
{
    if (isUsable(qgetenv("XDG_RUNTIME_DIR")))
        return;
    for (const QByteArray &parent : parentCandidates()) {
        QByteArray pattern = parent + "/marovin-cli-runtime-XXXXXX";
        if (size_t(pattern.size()) >= sizeof removeOnSignal || !mkdtemp(pattern.data()))
            continue;
        m_path = pattern;
        std::memcpy(removeOnSignal, m_path.constData(), size_t(m_path.size()) + 1);
        installHandlers();
        qputenv("XDG_RUNTIME_DIR", m_path);
        return;
    }
    // None could be made: the toolkit's own fallback, and its warning, remain.
}

RuntimeFolder::~RuntimeFolder()
{
    if (m_path.isEmpty())
        return;
    // A signal from here on finds nothing to remove.
    removeOnSignal[0] = '\0';
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

QList<QByteArray> RuntimeFolder::parentCandidates()
{
    QList<QByteArray> parents;
    // A relative TMPDIR would put the folder wherever we were started.
    const QByteArray chosen = qgetenv("TMPDIR");
    if (chosen.startsWith('/'))
        parents << chosen;
    for (const char *usual : {"/tmp", "/var/tmp", "/dev/shm"}) {
        if (!parents.contains(usual))
            parents << usual;
    }
    return parents;
}
