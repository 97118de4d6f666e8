#include "simulatecommand.h"

#include "clihelp.h"
#include "cliproject.h"
#include "document/drawmanager.h"
#include "model/config.h"
#include "simulation/scenario.h"
#include "simulation/scenariorunner.h"
#include "simulation/simulation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class SimulateCommand
{
    Q_DECLARE_TR_FUNCTIONS(SimulateCommand)

public:
    int run(const QStringList &arguments);

private:
    static void report(const ScenarioRunner &runner, const ScenarioRunner::Result &result,
                       bool json);
};

int SimulateCommand::run(const QStringList &arguments)
{
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QString());
    QCommandLineParser parser;
    parser.addOption(helpOption);
    parser.addOptions(CliHelp::options(QStringLiteral("simulate")));
    if (!parser.parse(arguments))
        return CliProject::failWith(CliProject::parseError(parser));
    if (parser.isSet(helpOption)) {
        CliProject::writeOut(CliHelp::commandHelp(QStringLiteral("simulate")));
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < 2)
        return CliProject::failWith(tr("缺少项目文件"));
    if (positional.size() < 3)
        return CliProject::failWith(tr("缺少场景文件"));
    if (positional.size() > 3)
        return CliProject::failWith(tr("多余的参数：%1").arg(positional.mid(3).join(QLatin1Char(' '))));
    const QString outputOption = QStringLiteral("o");
    if (parser.isSet(outputOption) && parser.value(outputOption).isEmpty())
        return CliProject::failWith(tr("-o 需要文件夹"));

    // The scenario first: a mistake in it is found without loading the
    // project, however large.
    Scenario scenario;
    QString error;
    if (!Scenario::read(positional.at(2), &scenario, &error))
        return CliProject::failWith(error);
    const QString folder = parser.value(outputOption);
    for (const Scenario::Step &step : qAsConst(scenario.steps)) {
        if (step.action == Scenario::Snapshot && folder.isEmpty())
            return CliProject::failWith(
                tr("%1 第 %2 行的 snapshot 需要 -o 文件夹").arg(positional.at(2)).arg(step.line));
    }

    QString password;
    if (!CliProject::password(parser, &password))
        return 1;
    if (!CliProject::load(positional.at(1), password))
        return 1;
    // System registers are found by name only once loaded.
    Config::instance()->loadSystemRegisters();
    if (!folder.isEmpty() && !QDir().mkpath(folder))
        return CliProject::failWith(tr("无法创建文件夹 %1").arg(folder));

    Simulation simulation(DrawManager::instance());
    if (!simulation.start())
        return CliProject::failWith(tr("%1 没有基本画面，无法运行").arg(positional.at(1)));
    ScenarioRunner runner(&simulation);
    runner.setOutputFolder(folder);
    const ScenarioRunner::Result result = runner.run(scenario);
    report(runner, result, parser.isSet(QStringLiteral("json")));
    return result.ok ? 0 : 2;
}

void SimulateCommand::report(const ScenarioRunner &runner, const ScenarioRunner::Result &result,
                             bool json)
{
    if (json) {
        QJsonObject root {
            {QStringLiteral("ok"), result.ok},
            {QStringLiteral("steps"), runner.stepsRun()},
            {QStringLiteral("expectations"), runner.expectationsChecked()},
            {QStringLiteral("snapshots"), QJsonArray::fromStringList(runner.snapshots())},
        };
        if (!result.ok) {
            root.insert(QStringLiteral("failure"),
                        QJsonObject {{QStringLiteral("line"), result.line},
                                     {QStringLiteral("expected"), result.expected},
                                     {QStringLiteral("actual"), result.actual},
                                     {QStringLiteral("message"), result.message}});
        }
        CliProject::writeOut(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
        return;
    }
    const QString counts = tr("%1，%2").arg(tr("%n 步", nullptr, runner.stepsRun()),
                                           tr("%n 项期望", nullptr, runner.expectationsChecked()));
    if (result.ok)
        CliProject::writeOut(tr("通过：%1").arg(counts) + QLatin1Char('\n'));
    else
        CliProject::writeOut(tr("失败：%1").arg(result.message) + QLatin1Char('\n'));
}

} // namespace

int runSimulateCommand(const QStringList &arguments)
{
    return SimulateCommand().run(arguments);
}
