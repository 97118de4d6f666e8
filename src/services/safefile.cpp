#include "safefile.h"

#include "fileerrortext.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QSettings>

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
        *error = FileErrorText::reason(file);
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
            *error = reason.isEmpty() ? FileErrorText::reason(buffer.errorString()) : reason;
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
    // The settings class writes through a temporary file of its own and
    // keeps the old file when that fails; it only has to be asked.
    QSettings settings(path, QSettings::IniFormat);
    settings.setAtomicSyncRequired(true);
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.value().isValid())
            settings.setValue(it.key(), it.value());
        else
            settings.remove(it.key());
    }
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    if (error)
        *error = tr("设置无法写入");
    return false;
}
