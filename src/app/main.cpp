#include "application.h"
#include "editorcommandline.h"
#include "mainwindow/mainwindow.h"
#include "services/safefile.h"

#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <csignal>
#include <iostream>

int main(int argc, char *argv[])
{
    // Past a file-size limit a write fails and is reported, as on a full
    // disk, instead of ending the editor with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);

    // Answered, or refused, before the application object, which needs a
    // display and aborts without one.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const EditorCommandLine::Request request = EditorCommandLine::request(raw);
    if (request != EditorCommandLine::Start)
        return EditorCommandLine::answer(request, argc, argv);

    auto *app = new Application(argc, argv);
    // Read once the application has taken the toolkit's options out.
    EditorCommandLine commandLine;
    if (!commandLine.parse(QCoreApplication::arguments())) {
        std::cerr << "marovin: " << commandLine.error().toLocal8Bit().constData() << std::endl;
        delete app;
        return 1;
    }
    // Named relative to where the user started us, as the project is, not to
    // the executable's folder the application has moved to.
    const QString screenshot = commandLine.screenshot().isEmpty()
        ? QString()
        : QDir(Application::startupFolder()).absoluteFilePath(commandLine.screenshot());

    auto *window = new MainWindow;
    window->showMaximized();
    QStringList startup {QCoreApplication::arguments().value(0)};
    if (!commandLine.project().isEmpty())
        startup << commandLine.project();
    Application::openStartupProject(window, startup);

    if (!screenshot.isEmpty()) {
        // Without a window manager nothing maximises the window: give it the
        // whole screen ourselves so the picture shows what users see.
        if (QScreen *screen = window->screen())
            window->setGeometry(screen->availableGeometry());
        QTimer::singleShot(1500, window, [window, screenshot] {
            const QPixmap picture = window->grab();
            const bool ok = SafeFile::write(screenshot, [&picture](QIODevice *device, QString *) {
                return picture.save(device, "PNG");
            });
            std::cout << (ok ? "Screenshot written to " : "Could not write screenshot ")
                      << screenshot.toLocal8Bit().constData() << std::endl;
            QCoreApplication::exit(ok ? 0 : 1);
        });
    }

    const int result = app->exec();
    delete window;
    delete app;
    return result;
}
