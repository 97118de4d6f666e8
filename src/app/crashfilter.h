#pragma once

#include <QString>

#include <csignal>

// Last words of a crashing process: a report beside the executable, the
// error code and address shown to the user, and the offer to save the open
// project, which the next start then offers to reopen. Installed once by
// the application for the fatal signals.
class CrashFilter
{
public:
    static void install();

    // The report after its version line: system, process, fault address and
    // code, the instruction bytes, registers and call stack. context is the
    // signal handler's ucontext_t (may be null).
    static QString crashReportText(int signal, const siginfo_t *info, const void *context);

    // The code the report and the question show for a signal, in the form
    // of the program's other platforms (an access violation reads C0000005).
    static quint32 exceptionCode(int signal);

    // The file of the loaded module holding address, and its base address;
    // empty when none does.
    static QString moduleOf(quintptr address, quintptr *base = nullptr);

    // Runs the whole filter: report file, question, optional save. Public
    // for the handler only.
    static void crashFilter(int signal, siginfo_t *info, void *context);
};
