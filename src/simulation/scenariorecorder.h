#pragma once

#include "scenario.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class Simulation;

// Writes down what the operator does to a simulation, with the time since
// the recording began, as a scenario that plays the same: the presses,
// releases, clicks and entries the simulation reports, and the values set
// by hand in a watch list. finish() closes it with expectations of how
// things ended, so that playing it back checks the panel still gets there.
class ScenarioRecorder : public QObject
{
    Q_OBJECT

public:
    // Starts recording at once.
    explicit ScenarioRecorder(Simulation *simulation, QObject *parent = nullptr);

    // Milliseconds since the recording began; a monotonic clock by default.
    void setClock(std::function<qint64()> elapsed);

    // A value set by hand outside the panel (a watch list): a set step.
    // Only written down; the caller writes the value.
    void recordSet(const QString &target, const QString &value);

    // The steps so far.
    const Scenario &scenario() const { return m_scenario; }

    // The recording, closed at the time now with expectations of the base
    // screen and each window shown and one of each of the watched tags or addresses (those
    // that name a register) at its value now.
    Scenario finish(const QStringList &watched) const;

private:
    void record(const QString &action, const QString &target, const QString &value);
    qint64 now() const;

    QPointer<Simulation> m_simulation;
    Scenario m_scenario;
    QElapsedTimer m_timer;
    std::function<qint64()> m_clock;
};
