// Scenario files. Besides not crashing or running past the bounds: a file
// read is written and read again to the same steps, and a file refused is
// refused with a message.

#include "fuzzsupport.h"

#include "simulation/scenario.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::countInput();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    Scenario first;
    QString error;
    if (!Scenario::parse(bytes, &first, &error)) {
        if (error.isEmpty())
            abort();
        return 0;
    }
    if (first.steps.size() > Scenario::MaxSteps)
        abort();
    qint64 previous = 0;
    for (const Scenario::Step &step : qAsConst(first.steps)) {
        if (step.msec < previous || step.msec > Scenario::MaxMsec || step.line < 2)
            abort();
        previous = step.msec;
    }
    Scenario second;
    if (!Scenario::parse(first.bytes(), &second, &error)
        || second.steps.size() != first.steps.size())
        abort();
    for (int i = 0; i < first.steps.size(); ++i) {
        const Scenario::Step &a = first.steps.at(i);
        const Scenario::Step &b = second.steps.at(i);
        if (a.msec != b.msec || a.action != b.action || a.target != b.target || a.value != b.value)
            abort();
    }
    return 0;
}
