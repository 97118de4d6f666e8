#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>

// Points the per-user settings store at a folder of this test process, so
// tests never touch the user's settings nor each other's when run in
// parallel. Runs as soon as the application object exists, before any
// settings are read.
inline void marovinIsolateSettings()
{
    static QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
}
Q_COREAPP_STARTUP_FUNCTION(marovinIsolateSettings)
