#pragma once

#include <QString>

#include <csignal>

// Last words of a crashing process: a report in the crash report folder,
// the error code and address shown to the user, and the offer to save the
// open project to a recovery copy beside it, which the next start then
// offers to open. Installed once by the application for the fatal signals.
//
// After a fatal signal the program's state is unknown: the report is
// written with async-signal-safe calls only, from texts prepared while the
// program was still sound. The question and the save come after the report
// is on disk; the save runs in a forked copy of the process, limited in
// time, and can only ever create the recovery copy (through a temporary
// file), never write the project file itself.
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

    // Runs the whole filter: report file, question, optional recovery save.
    // Public for the handler only.
    static void crashFilter(int signal, siginfo_t *info, void *context);
};
