#include "scenariorecorder.h"

#include "registermemory.h"
#include "registertext.h"
#include "simulation.h"

#include "model/addresspara.h"

ScenarioRecorder::ScenarioRecorder(Simulation *simulation, QObject *parent)
    : QObject(parent)
    , m_simulation(simulation)
{
    m_timer.start();
    m_clock = [this] { return m_timer.elapsed(); };
    connect(simulation, &Simulation::operatorInput, this, &ScenarioRecorder::record);
}

void ScenarioRecorder::setClock(std::function<qint64()> elapsed)
{
    m_clock = std::move(elapsed);
}

void ScenarioRecorder::recordSet(const QString &target, const QString &value)
{
    record(QStringLiteral("set"), target, value);
}

void ScenarioRecorder::record(const QString &action, const QString &target, const QString &value)
{
    Scenario::Step step;
    if (!Scenario::actionFromKey(action, &step.action) || target.isEmpty()
        || m_scenario.steps.size() >= Scenario::MaxSteps)
        return;
    step.msec = now();
    step.target = target;
    // Only set carries a value; the file refuses one elsewhere.
    if (step.action == Scenario::Set)
        step.value = value;
    m_scenario.steps.append(step);
}

qint64 ScenarioRecorder::now() const
{
    // Never before the step already written, never past what a file holds.
    const qint64 last = m_scenario.steps.isEmpty() ? 0 : m_scenario.steps.last().msec;
    return qBound(last, m_clock(), Scenario::MaxMsec);
}

Scenario ScenarioRecorder::finish(const QStringList &watched) const
{
    Scenario result = m_scenario;
    if (!m_simulation)
        return result;
    const qint64 end = now();
    QStringList screens = m_simulation->openWindows();
    screens.prepend(m_simulation->currentScreen());
    for (const QString &screen : qAsConst(screens)) {
        if (screen.isEmpty())
            continue;
        Scenario::Step step;
        step.msec = end;
        step.action = Scenario::ExpectScreen;
        step.target = screen;
        result.steps.append(step);
    }
    const RegisterMemory *memory = m_simulation->memory();
    for (const QString &name : watched) {
        AddressPara para;
        if (!memory->resolveName(name, &para))
            continue;
        const QVariant value = memory->read(para);
        if (!value.isValid())
            continue;
        Scenario::Step step;
        step.msec = end;
        step.action = Scenario::Expect;
        step.target = name.trimmed();
        step.value = RegisterText::text(para.format, value);
        result.steps.append(step);
    }
    return result;
}
