#include "crashfilter.h"

#include "app/nativestore.h"
#include "mainwindow/messagedialog.h"
#include "project/config.h"
#include "project/projectfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QSysInfo>
#include <QTextStream>

#include <dlfcn.h>
#include <execinfo.h>
#include <sys/uio.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

const char *const ReportVersion = "1.0.1.200116";
const int FatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};

QString hex8(quint64 value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

// Reads memory of our own process without faulting: a bad address makes
// the call fail instead of crashing the crash handler.
bool readOwnMemory(quintptr address, void *buffer, size_t size)
{
    iovec local {buffer, size};
    iovec remote {reinterpret_cast<void *>(address), size};
    return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == ssize_t(size);
}

void handler(int signal, siginfo_t *info, void *context)
{
    // A second fault while reporting must end the process, not loop.
    for (int s : FatalSignals)
        std::signal(s, SIG_DFL);
    CrashFilter::crashFilter(signal, info, context);
    std::raise(signal);
}

} // namespace

void CrashFilter::install()
{
    struct sigaction action = {};
    action.sa_sigaction = &handler;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (int s : FatalSignals)
        sigaction(s, &action, nullptr);
}

quint32 CrashFilter::exceptionCode(int signal)
{
    switch (signal) {
    case SIGSEGV:
    case SIGBUS:
        return 0xC0000005u;
    case SIGFPE:
        return 0xC0000094u;
    case SIGILL:
        return 0xC000001Du;
    default:
        return 0xC0000000u | quint32(signal);
    }
}

QString CrashFilter::moduleOf(quintptr address, quintptr *base)
{
    Dl_info found = {};
    if (!dladdr(reinterpret_cast<void *>(address), &found) || !found.dli_fname) {
        if (base)
            *base = 0;
        return QString();
    }
    if (base)
        *base = quintptr(found.dli_fbase);
    return QFile::decodeName(found.dli_fname);
}

QString CrashFilter::crashReportText(int signal, const siginfo_t *info, const void *context)
{
    QString text;
    QTextStream out(&text);
    out << QStringLiteral("System:  %1 %2, Kernel %3\n")
               .arg(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture(),
                    QSysInfo::kernelVersion());
    out << "Process:  " << QCoreApplication::applicationFilePath() << "\n";

    quintptr pc = 0;
    const auto *uc = static_cast<const ucontext_t *>(context);
#if defined(__x86_64__)
    if (uc)
        pc = quintptr(uc->uc_mcontext.gregs[REG_RIP]);
#endif
    out << "Exception Addr:  " << hex8(pc) << "  ";
    const QString module = moduleOf(pc);
    if (!module.isEmpty())
        out << " Module: " << module;
    const quint32 code = exceptionCode(signal);
    out << "\nException Code:  " << hex8(code) << "\n";
    if (code == 0xC0000005u && info) {
        bool write = false;
#if defined(__x86_64__)
        if (uc)
            write = (uc->uc_mcontext.gregs[REG_ERR] & 2) != 0;
#endif
        out << (write ? "Write" : "Read") << " Address:  " << hex8(quintptr(info->si_addr)) << "\n";
    }
    out << "Instruction: ";
    unsigned char bytes[16];
    if (pc && readOwnMemory(pc, bytes, sizeof bytes)) {
        for (unsigned char b : bytes)
            out << QStringLiteral(" %1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    }
    out << "\nRegisters: ";
#if defined(__x86_64__)
    if (uc) {
        const auto &g = uc->uc_mcontext.gregs;
        out << "\nEAX: " << hex8(quint64(g[REG_RAX])) << "  EBX: " << hex8(quint64(g[REG_RBX]))
            << "  ECX: " << hex8(quint64(g[REG_RCX])) << "  EDX: " << hex8(quint64(g[REG_RDX]));
        out << "\nESI: " << hex8(quint64(g[REG_RSI])) << "  EDI: " << hex8(quint64(g[REG_RDI]))
            << "  ESP: " << hex8(quint64(g[REG_RSP])) << "  EBP: " << hex8(quint64(g[REG_RBP]));
        out << "\nEIP: " << hex8(quint64(g[REG_RIP])) << "  EFlags: " << hex8(quint64(g[REG_EFL]));
    }
#endif
    out << "\nCall Stack:";
    void *frames[64];
    const int count = backtrace(frames, 64);
    for (int i = 0; i < count; ++i) {
        const quintptr address = quintptr(frames[i]);
        out << "\n" << hex8(address) << "  " << moduleOf(address);
    }
    out << "\n";
    out.flush();
    return text;
}

void CrashFilter::crashFilter(int signal, siginfo_t *info, void *context)
{
    const QString name
        = QStringLiteral("crash_%1.log")
              .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd_hh_mm_ss")));
    const QString text = QStringLiteral("Version:  %1\n").arg(QLatin1String(ReportVersion))
        + crashReportText(signal, info, context);
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write(text.toUtf8());
        file.close();
    }

    const QString address
        = QRegularExpression(QStringLiteral("Exception Addr:\\s*(\\w+)")).match(text).captured(1);
    const QString code
        = QRegularExpression(QStringLiteral("Exception Code:\\s*(\\w+)")).match(text).captured(1);
    const int answer = MessageDialog::showMessage(
        nullptr, QMessageBox::Question, QCoreApplication::translate("CrashFilter", "程序异常崩溃"),
        QCoreApplication::translate(
            "CrashFilter",
            "<FONT "
            "size=4><div>对于发生的未知错误，表示诚挚的歉意。<br/></div><div>错误代码：%1</div>"
            "<div>错误地址：%2</div><div>是否保存当前工程文件？</div></FONT>")
            .arg(code, address),
        {QCoreApplication::translate("CrashFilter", "是"),
         QCoreApplication::translate("CrashFilter", "否")});
    if (answer != QMessageBox::Yes)
        return;
    const QString path = Config::instance()->projectFile();
    {
        QSettings store = nativeStore();
        store.setValue(QStringLiteral("exception"), path);
    }
    QString error;
    if (!ProjectFile::write(path, &error))
        MessageDialog::showMessage(nullptr, QMessageBox::Critical,
                                   QCoreApplication::translate("CrashFilter", "错误"), error,
                                   {QCoreApplication::translate("CrashFilter", "确定")});
}
