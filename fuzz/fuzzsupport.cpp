#include "fuzzsupport.h"

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "model/builtintables.h"
#include "model/config.h"
#include "shapes/graphicsitem.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Damaged input makes Qt warn on almost every run; printing it would cost
// more than the run itself. Fatal messages still end the process, so the
// fuzzer sees them as crashes.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        fprintf(stderr, "%s\n", qPrintable(message));
        abort();
    }
}

QElapsedTimer &started()
{
    static QElapsedTimer timer;
    return timer;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::temp().filePath(QStringLiteral("marovin-fuzz-%1").arg(getuid()));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                           | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    qInstallMessageHandler(quietMessages);
    // Not the fuzzer's own arguments: Qt would take some of them for its
    // own options.
    static int argc = 1;
    static char name[] = "marovin-fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    Q_UNUSED(app)
    // The tables are read once here rather than inside the first input.
    BuiltinTables::instance();
    Config::instance();
    started().start();
    return 0;
}

namespace fuzzsupport {

QString inputFile(const QString &name, const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        return QString();
    return path;
}

void countInput()
{
    static quint64 inputs = 0;
    if (++inputs % 100000 == 0) {
        fprintf(stderr, "marovin-fuzz: %llu inputs in %lld s\n",
                static_cast<unsigned long long>(inputs),
                static_cast<long long>(started().elapsed() / 1000));
    }
}

void startInput()
{
    countInput();
    DrawManager::instance()->clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DrawScene::resetScreenCounters();
    Config *config = Config::instance();
    config->reset();
    config->screenWidth = 800;
    config->screenHeight = 480;
    GraphicsItem::seedRandom(1);
}

} // namespace fuzzsupport
