#include "simulatedrender.h"

#include "clipictures.h"
#include "cliproject.h"
#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/addresspara.h"
#include "model/config.h"
#include "simulation/registermemory.h"
#include "simulation/registertext.h"
#include "simulation/simulation.h"

#include <QDir>

namespace {

class SimulatedRenderer
{
    Q_DECLARE_TR_FUNCTIONS(CliTool)

public:
    static bool applySets(RegisterMemory *memory, const QStringList &sets)
    {
        for (const QString &set : sets) {
            const int equals = set.indexOf(QLatin1Char('='));
            const QString target = set.left(equals).trimmed();
            if (equals < 0 || target.isEmpty()) {
                CliProject::tellUser(tr("--set 需要“目标=值”：%1").arg(set));
                return false;
            }
            AddressPara para;
            QVariant value;
            QString why;
            if (!memory->resolveName(target, &para, &why)
                || !RegisterText::toValue(para.format, set.mid(equals + 1), &value, &why)
                || !memory->write(para, value, &why)) {
                CliProject::tellUser(tr("--set %1：%2").arg(set, why));
                return false;
            }
        }
        return true;
    }

    // Shows scene on the simulation: a base screen alone, a window over
    // the first base screen, firstBase.
    static bool show(Simulation *simulation, const DrawScene *scene, const QString &firstBase,
                     QString *reason)
    {
        const QString name = scene->objectName();
        const bool window = scene->type() == WindowScreen;
        const QString base = window ? firstBase : name;
        if (base.isEmpty()) {
            *reason = tr("窗口画面 %1 需要一个基本画面作背景，项目却没有").arg(name);
            return false;
        }
        // Switching closes the windows open over the screen left.
        const bool shown = simulation->currentScreen().isEmpty() ? simulation->start(base)
                                                                 : simulation->switchScreen(base);
        if (!shown) {
            *reason = tr("无法显示画面 %1").arg(base);
            return false;
        }
        while (simulation->closeWindow()) {
        }
        if (window && !simulation->openWindow(name)) {
            *reason = tr("无法打开窗口画面 %1").arg(name);
            return false;
        }
        return true;
    }

    static int run(const SimulatedRender &request)
    {
        const QList<DrawScene *> all = DrawManager::instance()->scenes();
        QList<DrawScene *> scenes;
        QString firstBase;
        for (DrawScene *scene : all) {
            if (firstBase.isEmpty() && scene->type() == BaseScreen)
                firstBase = scene->objectName();
        }
        for (DrawScene *scene : all) {
            const bool shown = scene->type() == BaseScreen || scene->type() == WindowScreen;
            if (!request.screen.isEmpty() && scene->objectName() == request.screen) {
                if (!shown)
                    return CliProject::failWith(
                        tr("画面 %1 不是基本画面或窗口画面，面板上不会单独显示").arg(request.screen));
                scenes = {scene};
                break;
            }
            if (request.screen.isEmpty() && shown)
                scenes << scene;
        }
        if (!request.screen.isEmpty() && scenes.isEmpty())
            return CliProject::failWith(tr("没有名为 %1 的画面").arg(request.screen));
        const int languages = Config::instance()->languages.size();
        if (request.language >= languages)
            return CliProject::failWith(
                tr("没有序号为 %1 的语言（项目有 %2 种语言，从 0 数起）")
                    .arg(request.language)
                    .arg(languages));
        // The panel's own registers are found by name only once loaded.
        Config::instance()->loadSystemRegisters();
        Simulation simulation(DrawManager::instance());
        if (!applySets(simulation.memory(), request.sets))
            return 1;
        if (request.language >= 0)
            simulation.setLanguage(request.language);
        if (!QDir().mkpath(request.directory))
            return CliProject::failWith(tr("无法创建文件夹 %1").arg(request.directory));

        QStringList names;
        for (const DrawScene *scene : qAsConst(scenes))
            names << scene->objectName();
        const QStringList files = CliPictures::fileNames(names);
        const QDir out(request.directory);
        // As without the simulation: one screen that fails costs the others
        // nothing.
        bool failed = false;
        for (int i = 0; i < scenes.size(); ++i) {
            QString reason;
            if (show(&simulation, scenes.at(i), firstBase, &reason)) {
                simulation.refresh();
                const QImage image = simulation.snapshot();
                if (image.isNull())
                    reason = QStringLiteral("%1: %2").arg(names.at(i), tr("画面太大，无法输出图片"));
                else if (CliPictures::write(image, out.filePath(files.at(i)), &reason))
                    continue;
            }
            CliProject::tellUser(reason);
            failed = true;
        }
        return failed ? 1 : 0;
    }
};

} // namespace

int renderSimulated(const SimulatedRender &request)
{
    return SimulatedRenderer::run(request);
}
