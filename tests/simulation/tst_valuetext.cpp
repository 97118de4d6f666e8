// What a value binding shows for a register value, and what an operator's
// entry writes back.

#include "model/binding.h"
#include "model/config.h"
#include "simulation/valuetext.h"

#include <QtTest>

class TestValueText : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("offset");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("format");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        const int int16 = Config::Int16;
        QTest::newRow("plain") << 1.0 << 0.0 << 0 << 0 << "" << int16 << QVariant(42) << "42";
        QTest::newRow("scaled") << 0.1 << 0.0 << 1 << 0 << "" << int16 << QVariant(123) << "12.3";
        QTest::newRow("offset after scale")
            << 0.5 << -40.0 << 0 << 0 << "" << int16 << QVariant(100) << "10";
        QTest::newRow("decimals round")
            << 1.0 << 0.0 << 2 << 0 << "" << int(Config::Float) << QVariant(2.345678) << "2.35";
        QTest::newRow("digits fill") << 1.0 << 0.0 << 0 << 4 << "" << int16 << QVariant(42) << "0042";
        QTest::newRow("digits fill the whole part")
            << 1.0 << 0.0 << 2 << 4 << "" << int16 << QVariant(-5) << "-0005.00";
        QTest::newRow("digits fewer than the number")
            << 1.0 << 0.0 << 0 << 2 << "" << int16 << QVariant(12345) << "12345";
        QTest::newRow("no sign on a rounded zero")
            << 1.0 << 0.0 << 2 << 0 << "" << int(Config::Float) << QVariant(-0.004) << "0.00";
        QTest::newRow("unit") << 1.0 << 0.0 << 1 << 0 << "℃" << int16 << QVariant(21) << "21.0 ℃";
        QTest::newRow("Uint32 top") << 1.0 << 0.0 << 0 << 0 << "" << int(Config::Uint32)
                                    << QVariant(qint64(4294967295)) << "4294967295";
        QTest::newRow("Bool unscaled")
            << 10.0 << 5.0 << 2 << 3 << "h" << int(Config::Bool) << QVariant(true) << "1";
        QTest::newRow("String as is")
            << 2.0 << 1.0 << 2 << 5 << "kg" << int(Config::String) << QVariant("a 1") << "a 1";
        QTest::newRow("nothing read") << 1.0 << 0.0 << 0 << 0 << "" << int16 << QVariant() << "";
    }

    void format()
    {
        QFETCH(double, scale);
        QFETCH(double, offset);
        QFETCH(int, decimals);
        QFETCH(int, digits);
        QFETCH(QString, unit);
        QFETCH(int, format);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        Binding binding;
        binding.scale = scale;
        binding.offset = offset;
        binding.decimals = decimals;
        binding.digits = digits;
        binding.unit = unit;
        QCOMPARE(ValueText::format(binding, value, format), expected);
    }

    void parse_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("offset");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected"); // invalid: refused
        const int int16 = Config::Int16;
        const QVariant refused;
        QTest::newRow("plain") << 1.0 << 0.0 << 0.0 << 0.0 << "" << int16 << "42" << QVariant(42.0);
        QTest::newRow("back through scale")
            << 0.1 << 0.0 << 0.0 << 0.0 << "" << int16 << "12.3" << QVariant(123.0);
        QTest::newRow("back through offset")
            << 0.5 << -40.0 << 0.0 << 0.0 << "" << int16 << "10" << QVariant(100.0);
        QTest::newRow("unit typed") << 1.0 << 0.0 << 0.0 << 0.0 << "℃" << int16 << " 21 ℃"
                                    << QVariant(21.0);
        QTest::newRow("no limits") << 1.0 << 0.0 << 0.0 << 0.0 << "" << int16 << "-5000"
                                   << QVariant(-5000.0);
        QTest::newRow("at the maximum")
            << 1.0 << 0.0 << 0.0 << 100.0 << "" << int16 << "100" << QVariant(100.0);
        QTest::newRow("above the maximum")
            << 1.0 << 0.0 << 0.0 << 100.0 << "" << int16 << "100.5" << refused;
        // The limits are what the operator sees, before the scale.
        QTest::newRow("limits on the shown value")
            << 10.0 << 0.0 << 0.0 << 100.0 << "" << int16 << "90" << QVariant(9.0);
        QTest::newRow("not a number") << 1.0 << 0.0 << 0.0 << 0.0 << "" << int16 << "4x" << refused;
        QTest::newRow("scale 0") << 0.0 << 0.0 << 0.0 << 0.0 << "" << int16 << "1" << refused;
        QTest::newRow("Bool 1") << 1.0 << 0.0 << 0.0 << 0.0 << "" << int(Config::Bool) << "1"
                                << QVariant(true);
        QTest::newRow("Bool 2") << 1.0 << 0.0 << 0.0 << 0.0 << "" << int(Config::Bool) << "2"
                                << refused;
        QTest::newRow("String as typed") << 1.0 << 0.0 << 1.0 << 2.0 << "" << int(Config::String)
                                         << " a b " << QVariant(" a b ");
    }

    void parse()
    {
        QFETCH(double, scale);
        QFETCH(double, offset);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(QString, unit);
        QFETCH(int, format);
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        Binding binding;
        binding.scale = scale;
        binding.offset = offset;
        binding.minimum = minimum;
        binding.maximum = maximum;
        binding.unit = unit;
        QVariant value;
        QString error;
        const bool ok = ValueText::parse(binding, text, format, &value, &error);
        QCOMPARE(ok, expected.isValid());
        QCOMPARE(error.isEmpty(), ok);
        if (!ok)
            return;
        QCOMPARE(value.type(), expected.type());
        if (expected.type() == QVariant::Double)
            QVERIFY2(qFuzzyCompare(value.toDouble(), expected.toDouble()),
                     qPrintable(value.toString()));
        else
            QCOMPARE(value, expected);
    }
};

QTEST_MAIN(TestValueText)
#include "tst_valuetext.moc"
