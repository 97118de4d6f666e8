#pragma once

#include <QSettings>

// The per-user native settings store of the program ("ZEL" / "Marovin"):
// the recent projects and the project recorded by a crash. Named
// explicitly, so it is the same store whether or not the application
// object has set its names yet.
inline QSettings nativeStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZEL"),
                     QStringLiteral("Marovin"));
}
