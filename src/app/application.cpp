#include "application.h"

#include "document/crashfilter.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/projectcontroller.h"
#include "model/config.h"
#include "services/applog.h"
#include "services/apppaths.h"
#include "services/appsettings.h"
#include "services/interfacefont.h"
#include "services/messagedialog.h"
#include "services/nativestore.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QTextCodec>
#include <QTimer>

namespace {

QString &startFolder()
{
    static QString folder;
    return folder;
}

const QString ProjectSuffix = QStringLiteral(".mvprg");

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

    setFont(InterfaceFont::font());
    AppLog::install();

    CrashFilter::install();

    qDebug() << "Application Init done.";
}

QString Application::applicationFolder()
{
    const QString override = qEnvironmentVariable("MAROVIN_APP_DIR");
    return override.isEmpty() ? applicationDirPath() : override;
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
    // Armed only now that the start-up project and every box it raised are
    // done: fired inside one of them, the dialog would share the screen with
    // the recovery question and a project opened afterwards would be read
    // into the new one.
    if (AppSettings::instance()->showNew())
        QTimer::singleShot(200, window->projectController(), &ProjectController::newFile);
}

void Application::openCommandLineOrRecovery(MainWindow *window, const QStringList &arguments)
{
    if (arguments.size() > 1) {
        const QString path = projectArgument(arguments, startupFolder());
        if (!path.isEmpty() && !window->projectController()->openProject(path))
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
    if (window->projectController()->openRecoveryCopy(crashed))
        updateNativeStore({{QStringLiteral("exception"), QVariant()}});
    else
        qDebug() << "Open prgfile error";
}
