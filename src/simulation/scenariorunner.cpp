#include "scenariorunner.h"

#include "registermemory.h"
#include "registertext.h"
#include "simulation.h"

#include "model/addresspara.h"
#include "shapes/graphicsitem.h"
#include "services/safefile.h"

#include <QDir>
#include <QGraphicsItem>
#include <QImage>

ScenarioRunner::ScenarioRunner(Simulation *simulation)
    : m_simulation(simulation)
    , m_start(QDate(2000, 1, 1), QTime(0, 0))
{
}

ScenarioRunner::Result ScenarioRunner::run(const Scenario &scenario)
{
    m_now = 0;
    m_stepsRun = 0;
    m_expectations = 0;
    m_snapshots.clear();
    if (m_simulation->currentScreen().isEmpty() && !m_simulation->start()) {
        Result result;
        result.ok = false;
        result.message = tr("项目没有基本画面，无法运行");
        return result;
    }

    RegisterMemory *memory = m_simulation->memory();
    memory->setClock([this] { return m_start.addMSecs(m_now); });
    Result result;
    for (const Scenario::Step &step : scenario.steps) {
        m_now = step.msec;
        ++m_stepsRun;
        result = runStep(step);
        if (!result.ok)
            break;
    }
    memory->setClock([] { return QDateTime::currentDateTime(); });
    // What the last steps wrote shows, for whoever looks at the stage next.
    m_simulation->refresh();
    return result;
}

ScenarioRunner::Result ScenarioRunner::runStep(const Scenario::Step &step)
{
    switch (step.action) {
    case Scenario::Set:
        return set(step);
    case Scenario::Press:
    case Scenario::Release:
    case Scenario::Click:
        return operate(step);
    case Scenario::Wait:
        return Result();
    case Scenario::Expect:
        return expect(step);
    case Scenario::ExpectScreen:
        return expectScreen(step);
    case Scenario::Snapshot:
        return snapshot(step);
    }
    return Result();
}

ScenarioRunner::Result ScenarioRunner::set(const Scenario::Step &step)
{
    RegisterMemory *memory = m_simulation->memory();
    AddressPara para;
    QString why;
    // Tags and addresses first: they are what a scenario mostly sets. A
    // shape's name is input into that shape, as the operator would type it.
    if (memory->resolveName(step.target, &para, &why)) {
        QVariant value;
        if (!RegisterText::toValue(para.format, step.value, &value, &why)
            || !memory->write(para, value, &why))
            return failure(step, why);
        return Result();
    }
    if (QGraphicsItem *shape = shownShape(step.target)) {
        if (!m_simulation->enter(shape, step.value, &why))
            return failure(step, why);
        return Result();
    }
    return failure(step, tr("“%1”既不是标签或地址（%2），也不是显示的画面上的图形")
                             .arg(step.target, why));
}

ScenarioRunner::Result ScenarioRunner::operate(const Scenario::Step &step)
{
    QGraphicsItem *shape = shownShape(step.target);
    if (!shape)
        return failure(step, tr("显示的画面上没有名为“%1”的图形").arg(step.target));
    QString why;
    bool done = false;
    if (step.action == Scenario::Press)
        done = m_simulation->press(shape, &why);
    else if (step.action == Scenario::Release)
        done = m_simulation->release(shape, &why);
    else
        done = m_simulation->click(shape, &why);
    return done ? Result() : failure(step, why);
}

ScenarioRunner::Result ScenarioRunner::expect(const Scenario::Step &step)
{
    ++m_expectations;
    RegisterMemory *memory = m_simulation->memory();
    AddressPara para;
    QString why;
    if (!memory->resolveName(step.target, &para, &why))
        return expectShown(step, why);
    const QVariant actual = memory->read(para);
    if (!actual.isValid())
        return failure(step, tr("无法读取“%1”").arg(step.target));
    if (RegisterText::matches(para.format, actual, step.value, &why))
        return Result();
    Result result = failure(step, why);
    result.expected = step.value;
    result.actual = RegisterText::text(para.format, actual);
    if (why.isEmpty())
        result.message = failure(step, tr("期望 %1，实际为 %2").arg(result.expected, result.actual))
                             .message;
    return result;
}

ScenarioRunner::Result ScenarioRunner::expectShown(const Scenario::Step &step,
                                                   const QString &notRegister)
{
    auto *shape = dynamic_cast<GraphicsItem *>(shownShape(step.target));
    if (!shape)
        return failure(step, tr("“%1”既不是标签或地址（%2），也不是显示的画面上的图形")
                                 .arg(step.target, notRegister));
    const QString shown = shape->text();
    if (shown == step.value)
        return Result();
    Result result = failure(step, tr("期望显示“%1”，实际显示“%2”").arg(step.value, shown));
    result.expected = step.value;
    result.actual = shown;
    return result;
}

ScenarioRunner::Result ScenarioRunner::expectScreen(const Scenario::Step &step)
{
    ++m_expectations;
    const QString base = m_simulation->currentScreen();
    const QStringList windows = m_simulation->openWindows();
    if (base == step.target || windows.contains(step.target))
        return Result();
    Result result;
    result.ok = false;
    result.line = step.line;
    result.expected = step.target;
    result.actual = (QStringList {base} + windows).join(QStringLiteral(" + "));
    result.message = failure(step, windows.isEmpty()
                                       ? tr("期望画面 %1，显示的是 %2")
                                             .arg(result.expected, result.actual)
                                       : tr("期望画面 %1，显示的是 %2（基本画面 + 打开的窗口）")
                                             .arg(result.expected, result.actual))
                         .message;
    return result;
}

ScenarioRunner::Result ScenarioRunner::snapshot(const Scenario::Step &step)
{
    if (m_folder.isEmpty())
        return failure(step, tr("snapshot 需要输出文件夹"));
    m_simulation->refresh();
    const QImage image = m_simulation->snapshot();
    const QString path = QDir(m_folder).filePath(Scenario::snapshotFile(step));
    QString why;
    const auto png = [&image](QIODevice *device, QString *) { return image.save(device, "PNG"); };
    if (image.isNull() || !SafeFile::write(path, png, &why))
        return failure(step, tr("无法写入 %1：%2").arg(path, why));
    m_snapshots << path;
    return Result();
}

QGraphicsItem *ScenarioRunner::shownShape(const QString &name) const
{
    // The refresh after a write runs from the event loop, which a run does
    // not wait for; a shape a set just hid must be hidden before it is hit.
    m_simulation->refresh();
    return m_simulation->findShape(name);
}

ScenarioRunner::Result ScenarioRunner::failure(const Scenario::Step &step, const QString &why)
{
    Result result;
    result.ok = false;
    result.line = step.line;
    const QString what = step.target.isEmpty()
        ? Scenario::actionKey(step.action)
        : QStringLiteral("%1 %2").arg(Scenario::actionKey(step.action), step.target);
    result.message = tr("第 %1 行（%2）：%3").arg(step.line).arg(what, why);
    return result;
}
