#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVariant>

class Binding;

// The text a value binding shows for a register value, and the value an
// operator's text stands for. The shown number is value * scale + offset
// with the binding's decimals, its whole part zero-filled to the binding's
// digits when they are above 0, then its unit after a blank. Bool shows
// "0" or "1" and String its text, both without scale or unit.
class ValueText
{
    Q_DECLARE_TR_FUNCTIONS(ValueText)

public:
    // dataFormat: Config::DataFormat of the source. An invalid value (a
    // source outside every register) shows as the empty text.
    static QString format(const Binding &binding, const QVariant &value, int dataFormat);
    // The register value for text: the shown number back through scale and
    // offset (a trailing unit may be typed), refused outside [minimum,
    // maximum] when maximum > minimum; a Bool takes 0 or 1, a String any
    // text. Numbers come back as double: the memory fits them to the format.
    static bool parse(const Binding &binding, const QString &text, int dataFormat,
                      QVariant *value, QString *error);
};
