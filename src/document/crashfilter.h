#pragma once

#include <QString>

#include <csignal>

// Last words of a crashing process: a report in the crash report folder
// and a recovery copy of the open project beside its file, which the next
// start then offers to open. Installed once by the application for the
// fatal signals and for aborts (std::terminate, an uncaught exception).
//
// After a fatal signal the program's state is unknown: the report is
// written with async-signal-safe calls only, from texts prepared while the
// program was still sound. The copy is saved in a forked copy of the
// process, limited in time, and can only ever create the recovery copy,
// never write the project file itself. Nothing is asked and no event loop
// runs in the crashed process: its timers would run on the damaged state.
class CrashFilter
{
public:
    // Prepares the fixed parts of the report (system, process, report
    // folder taken from AppPaths) and installs the handler. Call again after
    // the report folder changes.
    static void install();

    // The report after its version line: system, process, fault address and
    // code, the instruction bytes, registers and call stack. context is the
    // signal handler's ucontext_t (may be null). Produced by the same
    // async-signal-safe writer the handler uses.
    static QString crashReportText(int signal, const siginfo_t *info, const void *context);

    // The code the report and the question show for a signal, in the form
    // of the program's other platforms (an access violation reads C0000005).
    static quint32 exceptionCode(int signal);

    // The full path of the loaded file mapped at address, and the address
    // its first mapping starts at; empty when none is.
    static QString moduleOf(quintptr address, quintptr *base = nullptr);

    // Where a crash saves the project stored at projectFile:
    // "~" + file name + ".autosave" in the same folder.
    static QString recoveryCopyPath(const QString &projectFile);
    // The project file a recovery copy was saved from; empty when path does
    // not have the form of a recovery copy.
    static QString recoveredProjectFile(const QString &path);

    // Drops the crash record of the native store when it names copy, or the
    // project copy was saved from (what older versions recorded): that
    // copy has been recovered or is gone, and no later start may offer it.
    static void forgetRecord(const QString &copy);

    // Runs the whole filter: report file, then the recovery copy, recorded
    // as "exception" in the native store. Public for the handler only.
    static void crashFilter(int signal, siginfo_t *info, void *context);
};
