#pragma once

// Timing shared by the benchmarks: a step against its bare baseline.

#include <QByteArray>
#include <QString>
#include <QElapsedTimer>
#include <QtGlobal>

#include <cstdio>
#include <ctime>

#include <algorithm>
#include <functional>
#include <vector>

namespace benchtiming {

// A line of the report, out at once: a bench that stops half-way still
// shows what it measured.
inline void print(const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

// A step and its baseline, timed in alternate rounds (after one untimed
// round of each) so that both see the same state of a machine whose speed
// drifts; the ratio is the median of the rounds' ratios.
struct Timing
{
    double measured;
    double baseline;
    double ratio;
};

// MAROVIN_BENCH_CLOCK=cpu times the processor time of the calling thread
// instead of the wall clock: on a machine busy with other work, a step
// that waits for a core then does not count the wait. Page faults and
// system calls still count; waiting for a disk does not.
inline bool processorClock()
{
    static const bool cpu = qgetenv("MAROVIN_BENCH_CLOCK") == "cpu";
    return cpu;
}

inline double threadProcessorMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline Timing timePair(int repeat, const std::function<void()> &step,
                       const std::function<void()> &baseline,
                       const std::function<void()> &before = nullptr)
{
    auto timeOnce = [](const std::function<void()> &run) {
        if (processorClock()) {
            const double start = threadProcessorMs();
            run();
            return threadProcessorMs() - start;
        }
        QElapsedTimer timer;
        timer.start();
        run();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    baseline();
    if (before)
        before();
    step();
    std::vector<double> steps;
    std::vector<double> baselines;
    std::vector<double> ratios;
    for (int i = 0; i < repeat; ++i) {
        const double base = timeOnce(baseline);
        if (before)
            before();
        const double measured = timeOnce(step);
        steps.push_back(measured);
        baselines.push_back(base);
        ratios.push_back(measured / base);
    }
    return {median(steps), median(baselines), median(ratios)};
}

} // namespace benchtiming
