#include "crashfilter.h"

#include "model/config.h"
#include "projectfile.h"
#include "services/apppaths.h"
#include "services/nativestore.h"
#include "services/safefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

const char *const ReportVersion = "1.0.1.200116";
// SIGABRT covers abort() and with it std::terminate, so an uncaught
// exception (std::bad_alloc among them) gets the report and the copy too.
const int FatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
const quint32 AccessViolation = 0xC0000005u;
const QString RecoveryPrefix = QStringLiteral("~");
const QString RecoverySuffix = QStringLiteral(".autosave");
// Serialising even a very large project takes a second or two; a copy that
// has not finished by then is stuck on a lock the crash left held.
const int RecoveryTimeLimitMs = 60000;
// Room for the handler when the crash was a stack overflow, which leaves
// no stack of its own to run on.
const size_t AlternateStackSize = 4 * 1024 * 1024;

// Everything the handler needs that would take allocation or locks to
// obtain, gathered while the program was still sound.
struct Prepared
{
    char system[512] = {};
    char process[PATH_MAX] = {};
    char folder[PATH_MAX] = {};
    long utcOffset = 0;   // seconds east of UTC when installed
    int probe[2] = {-1, -1};   // pipe that tests whether memory can be read
};

Prepared &prepared()
{
    static Prepared p;
    return p;
}

void copyText(char *target, size_t size, const QByteArray &text)
{
    const size_t length = qMin(size - 1, size_t(text.size()));
    std::memcpy(target, text.constData(), length);
    target[length] = '\0';
}

// Builds text in a fixed buffer and hands it to a file descriptor with
// write(): no allocation, no locks, no stdio.
class ReportWriter
{
public:
    explicit ReportWriter(int fd)
        : m_fd(fd)
    {
    }
    ~ReportWriter() { flush(); }
    ReportWriter(const ReportWriter &) = delete;
    ReportWriter &operator=(const ReportWriter &) = delete;

    void text(const char *s)
    {
        while (*s)
            put(*s++);
    }
    // Upper-case hexadecimal, at least digits wide, zero-filled.
    void hex(quint64 value, int digits = 8)
    {
        char reversed[16];
        int count = 0;
        do {
            reversed[count++] = "0123456789ABCDEF"[value & 0xF];
            value >>= 4;
        } while (value && count < 16);
        while (count < digits && count < 16)
            reversed[count++] = '0';
        while (count)
            put(reversed[--count]);
    }
    void flush()
    {
        size_t done = 0;
        while (done < m_used) {
            const ssize_t n = ::write(m_fd, m_buffer + done, m_used - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += size_t(n);
        }
        m_used = 0;
    }

private:
    void put(char c)
    {
        if (m_used == sizeof m_buffer)
            flush();
        m_buffer[m_used++] = c;
    }

    int m_fd;
    char m_buffer[1024];
    size_t m_used = 0;
};

// Copies size bytes from address without faulting: the kernel refuses to
// take bytes from an unmapped address (EFAULT) instead of raising a signal.
bool readMemory(quintptr address, void *buffer, size_t size)
{
    Prepared &p = prepared();
    if (p.probe[0] < 0 && pipe2(p.probe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    if (address == 0 || ::write(p.probe[1], reinterpret_cast<const void *>(address), size)
                            != ssize_t(size)) {
        return false;
    }
    return ::read(p.probe[0], buffer, size) == ssize_t(size);
}

struct Mapping
{
    quintptr start = 0;
    quintptr end = 0;
    quintptr base = 0;   // start of the first mapping of the same file
    bool executable = false;
    char path[PATH_MAX] = {};
};

quintptr parseHex(const char *&s)
{
    quintptr value = 0;
    for (;; ++s) {
        const char c = *s;
        if (c >= '0' && c <= '9')
            value = value * 16 + quintptr(c - '0');
        else if (c >= 'a' && c <= 'f')
            value = value * 16 + quintptr(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + quintptr(c - 'A' + 10);
        else
            return value;
    }
}

// One line of /proc/self/maps: "start-end perms offset dev inode   path".
bool parseMapping(const char *line, Mapping *out)
{
    const char *s = line;
    out->start = parseHex(s);
    if (*s++ != '-')
        return false;
    out->end = parseHex(s);
    if (*s++ != ' ')
        return false;
    out->executable = s[0] && s[1] && s[2] == 'x';
    for (int field = 0; field < 4 && *s; ++field) {   // perms, offset, dev, inode
        while (*s && *s != ' ')
            ++s;
        while (*s == ' ')
            ++s;
    }
    size_t length = 0;
    // Anonymous memory and the kernel's "[stack]", "[vdso]" are no files.
    if (*s == '/') {
        while (s[length] && s[length] != '\n' && length < sizeof out->path - 1)
            ++length;
        std::memcpy(out->path, s, length);
    }
    out->path[length] = '\0';
    return true;
}

// The mapping that holds address, read from the kernel's list of this
// process's mappings with plain system calls.
bool findMapping(quintptr address, Mapping *found)
{
    const int fd = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    static char chunk[4096];
    static char line[PATH_MAX + 256];
    size_t lineLength = 0;
    Mapping current;
    char previousPath[PATH_MAX] = {};
    quintptr previousBase = 0;
    bool result = false;
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n && !result; ++i) {
            if (chunk[i] != '\n') {
                if (lineLength < sizeof line - 1)
                    line[lineLength++] = chunk[i];
                continue;
            }
            line[lineLength] = '\0';
            lineLength = 0;
            if (!parseMapping(line, &current))
                continue;
            if (current.path[0] && std::strcmp(current.path, previousPath) == 0) {
                current.base = previousBase;
            } else {
                current.base = current.start;
                std::memcpy(previousPath, current.path, sizeof previousPath);
                previousBase = current.start;
            }
            if (address >= current.start && address < current.end) {
                *found = current;
                result = true;
            }
        }
        if (result)
            break;
    }
    ::close(fd);
    return result;
}

// "yyyy_MM_dd_hh_mm_ss" of local time, from the clock and the offset from
// UTC taken at installation (the time-zone functions are not safe here).
void appendTimeStamp(char *name, size_t size)
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long local = (long long) now.tv_sec + prepared().utcOffset;
    long long days = local / 86400;
    long long seconds = local % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01.
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra
        = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2);
    const long long parts[] = {year, month, day, seconds / 3600, seconds / 60 % 60, seconds % 60};
    size_t at = std::strlen(name);
    for (int i = 0; i < 6; ++i) {
        char digits[8];
        int count = 0;
        long long value = parts[i];
        do {
            digits[count++] = char('0' + value % 10);
            value /= 10;
        } while (value && count < 8);
        while (count < 2)
            digits[count++] = '0';
        if (i > 0 && at < size - 1)
            name[at++] = '_';
        while (count && at < size - 1)
            name[at++] = digits[--count];
    }
    name[at] = '\0';
}

void appendText(char *target, size_t size, const char *text)
{
    size_t at = std::strlen(target);
    while (*text && at < size - 1)
        target[at++] = *text++;
    target[at] = '\0';
}

void writeModule(ReportWriter &out, quintptr address)
{
    static Mapping mapping;
    if (findMapping(address, &mapping) && mapping.path[0])
        out.text(mapping.path);
}

// Lines 2 to 9 of the report (from "System:" to the call stack).
void writeReport(ReportWriter &out, int signal, const siginfo_t *info, const void *context)
{
    const Prepared &p = prepared();
    out.text(p.system);
    out.text("Process:  ");
    out.text(p.process);
    out.text("\n");

    quintptr pc = 0;
    quintptr frame = 0;
    const auto *uc = static_cast<const ucontext_t *>(context);
#if defined(__x86_64__)
    if (uc) {
        pc = quintptr(uc->uc_mcontext.gregs[REG_RIP]);
        frame = quintptr(uc->uc_mcontext.gregs[REG_RBP]);
    }
#else
    Q_UNUSED(uc)
#endif
    out.text("Exception Addr:  ");
    out.hex(pc);
    out.text("  ");
    static Mapping mapping;
    if (pc && findMapping(pc, &mapping) && mapping.path[0]) {
        out.text(" Module: ");
        out.text(mapping.path);
    }
    const quint32 code = CrashFilter::exceptionCode(signal);
    out.text("\nException Code:  ");
    out.hex(code);
    out.text("\n");
    if (code == AccessViolation && info) {
        bool write = false;
#if defined(__x86_64__)
        if (uc)
            write = (uc->uc_mcontext.gregs[REG_ERR] & 2) != 0;
#endif
        out.text(write ? "Write" : "Read");
        out.text(" Address:  ");
        out.hex(quintptr(info->si_addr));
        out.text("\n");
    }
    out.text("Instruction: ");
    unsigned char bytes[16];
    if (readMemory(pc, bytes, sizeof bytes)) {
        for (unsigned char b : bytes) {
            out.text(" ");
            out.hex(b, 2);
        }
    }
    out.text("\nRegisters: ");
#if defined(__x86_64__)
    if (uc) {
        const auto &g = uc->uc_mcontext.gregs;
        const struct {
            const char *label;
            int index;
        } registers[] = {{"\nEAX: ", REG_RAX}, {"  EBX: ", REG_RBX},  {"  ECX: ", REG_RCX},
                         {"  EDX: ", REG_RDX}, {"\nESI: ", REG_RSI},  {"  EDI: ", REG_RDI},
                         {"  ESP: ", REG_RSP}, {"  EBP: ", REG_RBP},  {"\nEIP: ", REG_RIP},
                         {"  EFlags: ", REG_EFL}};
        for (const auto &r : registers) {
            out.text(r.label);
            out.hex(quint64(g[r.index]));
        }
    }
#endif
    // The stack as the faulting code left it: its own instruction first,
    // then each caller found through the chain of saved frame pointers. The
    // chain ends where a record cannot be read, where a return address does
    // not lie in code, or where the next record would not be older (higher)
    // than this one, which is all that keeps a damaged stack from looping.
    out.text("\nCall Stack:");
    if (pc) {
        out.text("\n");
        out.hex(pc);
        out.text("  ");
        writeModule(out, pc);
    }
    while (frame && frame % sizeof(quintptr) == 0) {
        quintptr record[2];   // saved frame pointer, return address
        if (!readMemory(frame, record, sizeof record))
            break;
        if (!findMapping(record[1], &mapping) || !mapping.executable)
            break;
        out.text("\n");
        out.hex(record[1]);
        out.text("  ");
        out.text(mapping.path);
        if (record[0] <= frame)
            break;
        frame = record[0];
    }
    out.text("\n");
}

// In the forked copy: the project's bytes into a temporary file beside the
// project, renamed to the recovery copy once complete, then recorded for
// the next start. The project file itself is never opened.
bool writeRecoveryCopy()
{
    const QString copy = CrashFilter::recoveryCopyPath(Config::instance()->projectFile());
    return !copy.isEmpty() && SafeFile::write(copy, ProjectFile::projectBytes())
        && updateNativeStore({{QStringLiteral("exception"), copy}});
}

// Serialises the project in a forked copy of the process: whatever the
// damaged model does there, a fault or a deadlock ends the copy and not
// this report, and the wait is bounded.
bool saveRecoveryCopy()
{
    const pid_t child = _Fork();
    if (child == 0)
        _exit(writeRecoveryCopy() ? 0 : 1);
    if (child < 0)
        return false;
    int status = 0;
    for (int waited = 0;; waited += 20) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return false;
        if (waited >= RecoveryTimeLimitMs) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        const timespec pause {0, 20 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void handler(int signal, siginfo_t *info, void *context)
{
    // A second fault while reporting must end the process, not loop.
    for (int s : FatalSignals)
        std::signal(s, SIG_DFL);
    CrashFilter::crashFilter(signal, info, context);
    std::raise(signal);
}

void installAlternateStack()
{
    static bool done = false;
    if (done)
        return;
    void *memory = mmap(nullptr, AlternateStackSize, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return;
    stack_t stack {};
    stack.ss_sp = memory;
    stack.ss_size = AlternateStackSize;
    if (sigaltstack(&stack, nullptr) == 0)
        done = true;
    else
        munmap(memory, AlternateStackSize);
}

} // namespace

void CrashFilter::install()
{
    Prepared &p = prepared();
    copyText(p.system, sizeof p.system,
             QStringLiteral("System:  %1 %2, Kernel %3\n")
                 .arg(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture(),
                      QSysInfo::kernelVersion())
                 .toUtf8());
    QString process = QCoreApplication::instance() ? QCoreApplication::applicationFilePath()
                                                   : QFileInfo(QStringLiteral("/proc/self/exe"))
                                                         .canonicalFilePath();
    copyText(p.process, sizeof p.process, QFile::encodeName(process));
    copyText(p.folder, sizeof p.folder,
             QFile::encodeName(QDir(AppPaths::crashReportFolder()).absolutePath()));
    p.utcOffset = QDateTime::currentDateTime().offsetFromUtc();
    if (p.probe[0] < 0 && pipe2(p.probe, O_CLOEXEC | O_NONBLOCK) != 0)
        p.probe[0] = p.probe[1] = -1;
    installAlternateStack();

    struct sigaction action = {};
    action.sa_sigaction = &handler;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int s : FatalSignals)
        sigaction(s, &action, nullptr);
}

quint32 CrashFilter::exceptionCode(int signal)
{
    switch (signal) {
    case SIGSEGV:
    case SIGBUS:
        return AccessViolation;
    case SIGFPE:
        return 0xC0000094u;
    case SIGILL:
        return 0xC000001Du;
    case SIGABRT:
        return 0x40000015u;   // what an abort reports on the program's other platforms
    default:
        return 0xC0000000u | quint32(signal);
    }
}

QString CrashFilter::moduleOf(quintptr address, quintptr *base)
{
    Mapping mapping;
    const bool found = findMapping(address, &mapping) && mapping.path[0];
    if (base)
        *base = found ? mapping.base : 0;
    return found ? QFile::decodeName(mapping.path) : QString();
}

QString CrashFilter::crashReportText(int signal, const siginfo_t *info, const void *context)
{
    const int fd = memfd_create("crash-report", MFD_CLOEXEC);
    if (fd < 0)
        return QString();
    {
        ReportWriter out(fd);
        writeReport(out, signal, info, context);
    }
    QByteArray bytes;
    ::lseek(fd, 0, SEEK_SET);
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(fd, chunk, sizeof chunk)) > 0)
        bytes.append(chunk, int(n));
    ::close(fd);
    return QString::fromUtf8(bytes);
}

QString CrashFilter::recoveryCopyPath(const QString &projectFile)
{
    if (projectFile.isEmpty())
        return QString();
    const QFileInfo file(projectFile);
    return file.absolutePath() + QLatin1Char('/') + RecoveryPrefix + file.fileName()
        + RecoverySuffix;
}

QString CrashFilter::recoveredProjectFile(const QString &path)
{
    const QFileInfo file(path);
    const QString name = file.fileName();
    if (name.size() <= RecoveryPrefix.size() + RecoverySuffix.size()
        || !name.startsWith(RecoveryPrefix) || !name.endsWith(RecoverySuffix)) {
        return QString();
    }
    return file.absolutePath() + QLatin1Char('/')
        + name.mid(RecoveryPrefix.size(), name.size() - RecoveryPrefix.size()
                                              - RecoverySuffix.size());
}

void CrashFilter::forgetRecord(const QString &copy)
{
    if (copy.isEmpty())
        return;
    const QString key = QStringLiteral("exception");
    const QString recorded = nativeStore().value(key).toString();
    if (recorded.isEmpty())
        return;
    const QString path = QFileInfo(recorded).absoluteFilePath();
    if (path == QFileInfo(copy).absoluteFilePath() || path == recoveredProjectFile(copy))
        updateNativeStore({{key, QVariant()}});
}

void CrashFilter::crashFilter(int signal, siginfo_t *info, void *context)
{
    const Prepared &p = prepared();
    static char name[PATH_MAX + 64];
    name[0] = '\0';
    appendText(name, sizeof name, p.folder[0] ? p.folder : ".");
    appendText(name, sizeof name, "/crash_");
    appendTimeStamp(name, sizeof name);
    appendText(name, sizeof name, ".log");
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ReportWriter out(fd);
        out.text("Version:  ");
        out.text(ReportVersion);
        out.text("\n");
        writeReport(out, signal, info, context);
        out.flush();
        ::close(fd);
    }

    // The report is on disk. The copy needs the toolkit and the heap, which
    // the crash may have left in any state, so it is made in a forked
    // process, and the user is asked about it at the next start: an event
    // loop here would run the crashed program's timers (the autosave among
    // them) on its damaged state.
    saveRecoveryCopy();
}
