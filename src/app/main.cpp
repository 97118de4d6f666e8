#include "app/application.h"
#include "app/safefile.h"
#include "mainwindow/mainwindow.h"

#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <iostream>
#include <vector>

namespace {

// Removes "--screenshot FILE" from the arguments before anything else sees
// them and returns FILE (empty when absent).
QString takeScreenshotOption(int &argc, char **argv)
{
    QString file;
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            file = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        argv[out++] = argv[i];
    }
    argc = out;
    argv[argc] = nullptr;
    return file;
}

} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit a write fails and is reported, as on a full
    // disk, instead of ending the editor with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);

    const QString screenshot = takeScreenshotOption(argc, argv);

    auto *app = new Application(argc, argv);
    auto *window = new MainWindow;
    window->showMaximized();
    Application::openStartupProject(window, QCoreApplication::arguments());

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
