#pragma once

#include "safefile.h"

#include <QDebug>
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

// Sets (or, with an invalid value, removes) keys of the native store
// through SafeFile; a failure is logged and leaves the store as it was.
inline bool updateNativeStore(const QVariantMap &changes)
{
    const QString path = nativeStore().fileName();
    QString error;
    if (SafeFile::updateSettings(path, changes, &error))
        return true;
    qWarning().noquote() << SafeFile::failureMessage(path, error);
    return false;
}
