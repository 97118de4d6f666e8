#include "valuetext.h"

#include "model/binding.h"
#include "model/config.h"

#include <algorithm>
#include <cmath>

namespace {

// The binding file caps decimals and digits far above what a panel shows;
// a number printed with more is noise.
constexpr int MaxDecimals = 15;

} // namespace

QString ValueText::format(const Binding &binding, const QVariant &value, int dataFormat)
{
    if (!value.isValid())
        return QString();
    if (dataFormat == Config::String)
        return value.toString();
    if (dataFormat == Config::Bool)
        return value.toDouble() != 0 ? QStringLiteral("1") : QStringLiteral("0");

    const double shown = value.toDouble() * binding.scale + binding.offset;
    if (!std::isfinite(shown))
        return QString::number(shown);
    const int decimals = qBound(0, binding.decimals, MaxDecimals);
    QString text = QString::number(std::fabs(shown), 'f', decimals);
    const int point = text.indexOf(QLatin1Char('.'));
    const int whole = point < 0 ? text.size() : point;
    if (binding.digits > whole)
        text.prepend(QString(binding.digits - whole, QLatin1Char('0')));
    // A value that rounds to zero shows no sign.
    const bool zero = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('.');
    });
    if (shown < 0 && !zero)
        text.prepend(QLatin1Char('-'));
    if (!binding.unit.isEmpty())
        text += QLatin1Char(' ') + binding.unit;
    return text;
}

bool ValueText::parse(const Binding &binding, const QString &text, int dataFormat,
                      QVariant *value, QString *error)
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (dataFormat == Config::String) {
        *value = text;
        return true;
    }
    QString entered = text.trimmed();
    if (dataFormat == Config::Bool) {
        if (entered != QLatin1String("0") && entered != QLatin1String("1"))
            return fail(tr("只能输入 0 或 1"));
        *value = entered == QLatin1String("1");
        return true;
    }
    if (!binding.unit.isEmpty() && entered.endsWith(binding.unit))
        entered = entered.left(entered.size() - binding.unit.size()).trimmed();
    bool ok = false;
    const double shown = entered.toDouble(&ok);
    if (!ok || !std::isfinite(shown))
        return fail(tr("“%1”不是数字").arg(text));
    if (binding.maximum > binding.minimum
        && (shown < binding.minimum || shown > binding.maximum))
        return fail(tr("%1 不在 %2 到 %3 之间").arg(shown).arg(binding.minimum).arg(binding.maximum));
    if (binding.scale == 0)
        return fail(tr("比例为 0，输入的值无法换算"));
    const double raw = (shown - binding.offset) / binding.scale;
    if (!std::isfinite(raw))
        return fail(tr("“%1”换算后超出范围").arg(text));
    *value = raw;
    return true;
}
