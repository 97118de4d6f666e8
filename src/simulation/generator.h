#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>
#include <QtGlobal>

// What a watched register is fed with while the simulation runs: a value
// that is a pure function of the time since the generator started, so a
// run replays the same for the same times.
//
// Constant: minimum. Ramp: minimum rising towards maximum over each period,
// then minimum again. Sine: between minimum and maximum, rising from their middle at 0.
// Square: maximum for the first half of each period, minimum for the other.
// Random: a new value in [minimum, maximum] every tenth of the period, held
// in between, the sequence fixed by the seed. List: values in turn, one per
// period, starting again after the last.
class Generator
{
    Q_DECLARE_TR_FUNCTIONS(Generator)

public:
    enum Kind { Constant, Ramp, Sine, Square, Random, List };

    Kind kind = Constant;
    double minimum = 0;
    double maximum = 100;
    double period = 10; // seconds; a generator with none holds minimum
    quint32 seed = 1;
    QVector<double> values; // List

    // Before the start (msec < 0) the value of the start.
    double valueAt(qint64 msec) const;

    bool operator==(const Generator &other) const;
    bool operator!=(const Generator &other) const { return !(*this == other); }

    // The kind's word for files and scenarios ("ramp").
    static QString kindKey(Kind kind);
    static bool kindFromKey(const QString &key, Kind *kind);
    // The kind for people ("斜坡").
    static QString kindName(Kind kind);
};
