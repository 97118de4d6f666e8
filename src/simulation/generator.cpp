#include "generator.h"

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

const char *const kindKeys[] = {"constant", "ramp", "sine", "square", "random", "list"};

// Mixes seed and step into 64 well spread bits (the finaliser of a
// splitting generator): step n's value needs no steps before it.
quint64 mix(quint32 seed, qint64 step)
{
    quint64 z = (quint64(seed) << 32 ^ quint64(step)) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

double Generator::valueAt(qint64 msec) const
{
    if (kind == Constant || !(period > 0) || !std::isfinite(period))
        return minimum;
    const double seconds = double(qMax<qint64>(0, msec)) / 1000;
    const double phase = std::fmod(seconds, period) / period; // [0, 1)
    const double span = maximum - minimum;
    switch (kind) {
    case Ramp:
        return minimum + span * phase;
    case Sine:
        return minimum + span * (1 + std::sin(2 * Pi * phase)) / 2;
    case Square:
        return phase < 0.5 ? maximum : minimum;
    case Random: {
        const qint64 step = qint64(std::floor(seconds * 10 / period));
        // 53 bits over 2^53 - 1: both ends can be drawn.
        const double unit = double(mix(seed, step) >> 11) / double((quint64(1) << 53) - 1);
        return minimum + span * unit;
    }
    case List: {
        if (values.isEmpty())
            return minimum;
        const qint64 step = qint64(std::floor(seconds / period));
        return values.at(int(step % values.size()));
    }
    default:
        return minimum;
    }
}

bool Generator::operator==(const Generator &other) const
{
    return kind == other.kind && minimum == other.minimum && maximum == other.maximum
        && period == other.period && seed == other.seed && values == other.values;
}

QString Generator::kindKey(Kind kind)
{
    return kind >= Constant && kind <= List ? QLatin1String(kindKeys[kind]) : QString();
}

bool Generator::kindFromKey(const QString &key, Kind *kind)
{
    for (int i = 0; i <= List; ++i) {
        if (key == QLatin1String(kindKeys[i])) {
            *kind = Kind(i);
            return true;
        }
    }
    return false;
}

QString Generator::kindName(Kind kind)
{
    switch (kind) {
    case Constant:
        return tr("常数");
    case Ramp:
        return tr("斜坡");
    case Sine:
        return tr("正弦");
    case Square:
        return tr("方波");
    case Random:
        return tr("随机");
    case List:
        return tr("列表");
    }
    return QString();
}
