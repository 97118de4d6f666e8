#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QVariant>

#include <functional>

class QIODevice;

// The one way the program puts a file on disk. The new contents go to a
// temporary file beside the target, written unbuffered so that a full disk
// or a size limit fails the write itself, and replace the target only once
// every byte is there; on any failure the target stays exactly as it was
// and the caller gets a reason to show.
class SafeFile
{
    Q_DECLARE_TR_FUNCTIONS(SafeFile)

public:
    // Puts what it writes into device, which is open for writing; false
    // (with a reason in *error, when it has one) gives the write up.
    using Producer = std::function<bool(QIODevice *device, QString *error)>;

    // Replaces path with bytes. False with the system's reason in *error
    // (when given) unless every byte reached the file.
    static bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);
    // Replaces path with what produce writes, which is gathered whole first.
    static bool write(const QString &path, const Producer &produce, QString *error = nullptr);

    // Writes every byte of bytes to device; false at the first write that
    // takes none (a short write is retried, as the next attempt says why).
    static bool writeAll(QIODevice *device, const QByteArray &bytes);

    // "无法写入文件“path”：reason", the message a caller shows.
    static QString failureMessage(const QString &path, const QString &reason);

    // Sets the keys of changes in the INI settings file at path (an invalid
    // value removes its key) and keeps the rest. False with a reason in
    // *error (when given) when the file could not be written; it then stays
    // as it was.
    static bool updateSettings(const QString &path, const QVariantMap &changes,
                               QString *error = nullptr);
};
