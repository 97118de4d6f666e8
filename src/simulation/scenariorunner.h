#pragma once

#include "scenario.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>

class QGraphicsItem;
class Simulation;

// Plays a scenario on a simulation, step after step, on a clock of its own:
// a step's time is when it happens as far as the panel can tell (its date
// and time registers), however fast the run goes. Stops at the first step
// that fails: an expectation that does not hold, or an action that cannot
// be carried out (a target nothing answers to, a button that is hidden).
class ScenarioRunner
{
    Q_DECLARE_TR_FUNCTIONS(ScenarioRunner)

public:
    struct Result
    {
        bool ok = true;
        int line = 0; // of the failed step
        QString expected; // what a failed expectation wanted, as the file says it
        QString actual; // what there was, written as the source's format writes it
        QString message; // the whole story, for a person
    };

    explicit ScenarioRunner(Simulation *simulation);

    // Where snapshot steps write their pictures; without one they fail.
    void setOutputFolder(const QString &folder) { m_folder = folder; }
    // What the panel's clock reads at the scenario's time 0: the start of
    // 2000 unless told, so that a run reads the same time on any day.
    void setStartTime(const QDateTime &start) { m_start = start; }

    // Starts the simulation on its first base screen unless it is running,
    // then plays the steps. The memory's clock is the runner's for the run
    // and the host's again afterwards.
    Result run(const Scenario &scenario);

    // Of the last run: the steps carried out (a failed one included), the
    // expectations checked, the pictures written (paths).
    int stepsRun() const { return m_stepsRun; }
    int expectationsChecked() const { return m_expectations; }
    QStringList snapshots() const { return m_snapshots; }

private:
    Result runStep(const Scenario::Step &step);
    Result set(const Scenario::Step &step);
    Result operate(const Scenario::Step &step);
    Result expect(const Scenario::Step &step);
    // A shape's text as shown, for a target that names no register.
    Result expectShown(const Scenario::Step &step, const QString &notRegister);
    Result expectScreen(const Scenario::Step &step);
    Result snapshot(const Scenario::Step &step);
    // The shown shape called name, with what the shapes look like now.
    QGraphicsItem *shownShape(const QString &name) const;
    static Result failure(const Scenario::Step &step, const QString &why);

    Simulation *m_simulation;
    QString m_folder;
    QDateTime m_start;
    qint64 m_now = 0;
    int m_stepsRun = 0;
    int m_expectations = 0;
    QStringList m_snapshots;
};
