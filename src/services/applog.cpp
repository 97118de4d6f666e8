#include "applog.h"

#include "apppaths.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QTextCodec>
#include <QTextStream>

namespace {

QString levelWord(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("Debug:");
    case QtWarningMsg:
        return QStringLiteral("Warning:");
    case QtCriticalMsg:
        return QStringLiteral("Critical:");
    case QtFatalMsg:
        return QStringLiteral("Fatal:");
    case QtInfoMsg:
        break;
    }
    return QString();
}

} // namespace

void AppLog::install()
{
    qInstallMessageHandler(&AppLog::messageHandler);
    QFile log(AppPaths::logFile());
    if (log.open(QIODevice::WriteOnly))
        log.close();
}

void AppLog::messageHandler(QtMsgType type, const QMessageLogContext &context,
                            const QString &message)
{
    Q_UNUSED(context)
    static QMutex mutex;
    QMutexLocker locker(&mutex);

    QFile file(AppPaths::logFile());
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return;
    QTextStream stream(&file);
    stream.setCodec(QTextCodec::codecForLocale());
    const QString time = QDateTime::currentDateTime().toString(
        QStringLiteral("yyyy-MM-dd hh:mm:ss ddd"));
    const QString level = levelWord(type);
    stream << time << ' ';
    if (!level.isEmpty())
        stream << level << ' ';
    stream << message << "\r\n";
    stream.flush();
}
