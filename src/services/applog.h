#pragma once

#include <QtGlobal>

class QMessageLogContext;
class QString;

// The log file (AppPaths::logFile()): every message of the process, one line
// each with time and level, so a user's log is useful when they send it in.
class AppLog
{
public:
    // Empties the log and sends every message there from now on.
    static void install();
    // Appends message to the log file; safe to call from any thread.
    static void messageHandler(QtMsgType type, const QMessageLogContext &context,
                               const QString &message);
};
