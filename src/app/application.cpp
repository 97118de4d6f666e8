#include "application.h"

#include "document/crashfilter.h"
#include "mainwindow/mainwindow.h"
#include "services/apppaths.h"
#include "services/messagedialog.h"
#include "services/nativestore.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QMutex>
#include <QMutexLocker>
#include <QTextCodec>
#include <QTextStream>

namespace {

QString &startFolder()
{
    static QString folder;
    return folder;
}

const QString ProjectSuffix = QStringLiteral(".mvprg");

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

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("ZEL"));
    setApplicationName(QStringLiteral("Marovin"));
    setApplicationVersion(QStringLiteral(MAROVIN_VERSION));
    // Ties our windows to the installed launcher and its icon.
    setDesktopFileName(QStringLiteral("marovin"));
    setWindowIcon(QIcon(QStringLiteral(":/resources/images/app/marovin.png")));

    // A project named relative to where the user started us must be found
    // there, not in the executable's folder we are about to move to.
    startFolder() = QDir::currentPath();
    const QString folder = applicationFolder();
    AppPaths::setup(folder);
    QDir::setCurrent(folder);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    QFile style(QStringLiteral(":/win_style"));
    if (style.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = style.readAll();
        const int nul = bytes.indexOf('\0');
        setStyleSheet(QString::fromLatin1(nul < 0 ? bytes : bytes.left(nul)));
    }

    setFont(applicationFont());

    qInstallMessageHandler(&Application::messageHandler);
    QFile log(AppPaths::logFile());
    if (log.open(QIODevice::WriteOnly))
        log.close();

    CrashFilter::install();

    qDebug() << "Application Init done.";
}

QString Application::applicationFolder()
{
    const QString override = qEnvironmentVariable("MAROVIN_APP_DIR");
    return override.isEmpty() ? applicationDirPath() : override;
}

void Application::messageHandler(QtMsgType type, const QMessageLogContext &context,
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
    // A time stamp and level make a user's log useful when they send it in.
    const QString time = QDateTime::currentDateTime().toString(
        QStringLiteral("yyyy-MM-dd hh:mm:ss ddd"));
    const QString level = levelWord(type);
    stream << time << ' ';
    if (!level.isEmpty())
        stream << level << ' ';
    stream << message << "\r\n";
    stream.flush();
}

QString Application::startupFolder()
{
    return startFolder().isEmpty() ? QDir::currentPath() : startFolder();
}

QString Application::projectArgument(const QStringList &arguments, const QString &startup)
{
    if (arguments.size() < 2)
        return QString();
    QString path = arguments.at(1);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    qDebug() << path;
    return QDir::cleanPath(QDir(startup).absoluteFilePath(path));
}

void Application::openStartupProject(MainWindow *window, const QStringList &arguments)
{
    openCommandLineOrRecovery(window, arguments);
    window->scheduleNewProject();
}

void Application::openCommandLineOrRecovery(MainWindow *window, const QStringList &arguments)
{
    if (arguments.size() > 1) {
        const QString path = projectArgument(arguments, startupFolder());
        if (!path.isEmpty() && !window->openProject(path))
            qDebug() << "Open prgfile error";
        return;
    }

    const QString crashed = nativeStore().value(QStringLiteral("exception")).toString();
    // A crash now records its recovery copy; an older version recorded the
    // project itself.
    // Any case of the suffix, as a project named at start may have it.
    if (!crashed.endsWith(ProjectSuffix, Qt::CaseInsensitive)
        && !CrashFilter::recoveredProjectFile(crashed).endsWith(ProjectSuffix,
                                                                Qt::CaseInsensitive)) {
        return;
    }
    // A copy that is gone (recovered and saved, or removed) has nothing left
    // to offer, now or at any later start.
    if (!QFileInfo::exists(crashed)) {
        updateNativeStore({{QStringLiteral("exception"), QVariant()}});
        return;
    }
    const int answer = MessageDialog::showMessage(
        nullptr, QMessageBox::Question, tr("提示"),
        tr("检测到软件上次异常崩溃，是否打开之前工程文件？\n%1").arg(crashed) + QStringLiteral("\n")
            + tr("选择“否”将保留该恢复文件，下次启动时再次询问。"),
        {tr("是(&Y)"), tr("否(&N)")});
    if (answer != QMessageBox::Yes)
        return;
    if (window->openRecoveryCopy(crashed))
        updateNativeStore({{QStringLiteral("exception"), QVariant()}});
    else
        qDebug() << "Open prgfile error";
}

QFont Application::applicationFont()
{
    return QFont(tr("微软雅黑"), 10, QFont::Normal, false);
}
