#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVariant>

// A register value as scenarios, the command line and recordings write it,
// by the value's data format (Config::DataFormat): whole numbers as such,
// Bool as 0 or 1, Float and Double in their shortest exact form, String as
// it is.
class RegisterText
{
    Q_DECLARE_TR_FUNCTIONS(RegisterText)

public:
    // value as RegisterMemory::read gives it for format.
    static QString text(int format, const QVariant &value);
    // What text asks to write to a register of format, for
    // RegisterMemory::write: String takes it as it is; the other formats a
    // number, "true" or "false". False with a message otherwise.
    static bool toValue(int format, const QString &text, QVariant *value, QString *error);
    // Whether actual (as read for format) is what expected says: text
    // exactly; numbers as numbers, a Float at the precision it is stored
    // in, so "0.1" matches the Float nearest 0.1. False with a message when
    // expected is no number for a number format.
    static bool matches(int format, const QVariant &actual, const QString &expected,
                        QString *error = nullptr);
};
