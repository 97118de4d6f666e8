#include "safefile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// A value as the INI form gives it back: one text, or a list of texts.
bool sameSetting(const QVariant &stored, const QVariant &wanted)
{
    if (wanted.userType() == QMetaType::QStringList)
        return stored.toStringList() == wanted.toStringList();
    return stored.toString() == wanted.toString();
}

} // namespace

bool SafeFile::writeAll(QIODevice *device, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = device->write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

bool SafeFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    // Unbuffered: a buffered write that fails while commit() flushes is not
    // noticed by QSaveFile (Qt 5.15), which then replaces path with a
    // cut-short file. An uncommitted QSaveFile removes its temporary file.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && writeAll(&file, bytes)
        && file.commit()) {
        return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}

bool SafeFile::write(const QString &path, const Producer &produce, QString *error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString reason;
    if (!produce(&buffer, &reason)) {
        if (error)
            *error = reason.isEmpty() ? buffer.errorString() : reason;
        return false;
    }
    buffer.close();
    // The settings class makes the folder of a new file; so must we.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return write(path, bytes, error);
}

QString SafeFile::failureMessage(const QString &path, const QString &reason)
{
    return tr("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(path), reason);
}

bool SafeFile::updateSettings(const QString &path, const QVariantMap &changes, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    // The settings class writes through a buffered file and misses a failed
    // last flush, so it works on a scratch copy, whose result is checked
    // before it replaces the real file.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(scratch.errorString());
    const QString working = scratch.filePath(QStringLiteral("settings.ini"));
    if (QFileInfo::exists(path)) {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly))
            return fail(old.errorString());
        QString reason;
        if (!write(working, old.readAll(), &reason))
            return fail(reason);
    }
    QVariantMap wanted;
    {
        QSettings settings(working, QSettings::IniFormat);
        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            if (it.value().isValid())
                settings.setValue(it.key(), it.value());
            else
                settings.remove(it.key());
        }
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return fail(tr("设置无法写入"));
        const QStringList keys = settings.allKeys();
        for (const QString &key : keys)
            wanted.insert(key, settings.value(key));
    }
    QFile result(working);
    if (!result.open(QIODevice::ReadOnly))
        return fail(result.errorString());
    const QByteArray bytes = result.readAll();
    // Read back under a name the settings class has not seen, so that what
    // it still holds in memory for the first cannot stand in for the file.
    const QString check = scratch.filePath(QStringLiteral("check.ini"));
    QString reason;
    if (!write(check, bytes, &reason))
        return fail(reason);
    const QSettings written(check, QSettings::IniFormat);
    bool whole = written.status() == QSettings::NoError && written.allKeys().size() == wanted.size();
    for (auto it = wanted.cbegin(); whole && it != wanted.cend(); ++it)
        whole = sameSetting(written.value(it.key()), it.value());
    if (!whole)
        return fail(tr("设置无法完整写入"));
    // The settings class makes the folder of a new file; so must we.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return write(path, bytes, error);
}
