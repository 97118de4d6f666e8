// Generators: the shape of each kind over time, and random sequences that
// a seed fixes.

#include "simulation/generator.h"

#include <QSet>
#include <QtTest>

class TestGenerator : public QObject
{
    Q_OBJECT

private slots:
    void shape_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("period");
        QTest::addColumn<qint64>("msec");
        QTest::addColumn<double>("expected");
        // Between 0 and 100 unless a list; a list of 3, 1, 4.
        auto row = [](const char *tag, Generator::Kind kind, double period, qint64 msec,
                      double expected) {
            QTest::newRow(tag) << int(kind) << period << msec << expected;
        };
        row("constant", Generator::Constant, 10, 123456, 0);
        row("ramp quarter", Generator::Ramp, 10, 2500, 25);
        row("ramp end", Generator::Ramp, 10, 9999, 99.99);
        row("ramp again", Generator::Ramp, 10, 12500, 25);
        row("ramp before the start", Generator::Ramp, 10, -5000, 0);
        row("sine start", Generator::Sine, 4, 0, 50);
        row("sine top", Generator::Sine, 4, 1000, 100);
        row("sine middle", Generator::Sine, 4, 2000, 50);
        row("sine bottom", Generator::Sine, 4, 3000, 0);
        row("square high", Generator::Square, 2, 0, 100);
        row("square high to the half", Generator::Square, 2, 999, 100);
        row("square low", Generator::Square, 2, 1000, 0);
        row("square high again", Generator::Square, 2, 2000, 100);
        row("half-second period", Generator::Square, 0.5, 300, 0);
        row("list first", Generator::List, 1, 0, 3);
        row("list second", Generator::List, 1, 1000, 1);
        row("list third", Generator::List, 1, 2500, 4);
        row("list round again", Generator::List, 1, 3000, 3);
        row("no period holds the minimum", Generator::Sine, 0, 1000, 0);
        row("negative period holds the minimum", Generator::Ramp, -1, 1000, 0);
    }

    void shape()
    {
        QFETCH(int, kind);
        QFETCH(double, period);
        QFETCH(qint64, msec);
        QFETCH(double, expected);
        Generator generator;
        generator.kind = Generator::Kind(kind);
        generator.minimum = 0;
        generator.maximum = 100;
        generator.period = period;
        generator.values = {3, 1, 4};
        const double actual = generator.valueAt(msec);
        QVERIFY2(qAbs(actual - expected) < 1e-9,
                 qPrintable(QStringLiteral("%1 instead of %2").arg(actual).arg(expected)));
    }

    void emptyListHoldsTheMinimum()
    {
        Generator generator;
        generator.kind = Generator::List;
        generator.minimum = 7;
        QCOMPARE(generator.valueAt(5000), 7.0);
    }

    // One value per tenth of the period, the same for the same seed, within
    // the bounds and reaching near both.
    void randomSteps()
    {
        Generator generator;
        generator.kind = Generator::Random;
        generator.minimum = -10;
        generator.maximum = 10;
        generator.period = 2; // a new value every 200 ms
        generator.seed = 7;
        Generator same = generator;
        Generator other = generator;
        other.seed = 8;

        QSet<double> values;
        double low = generator.maximum;
        double high = generator.minimum;
        int differing = 0;
        for (qint64 step = 0; step < 1000; ++step) {
            const double value = generator.valueAt(step * 200);
            QCOMPARE(generator.valueAt(step * 200 + 199), value);
            QCOMPARE(same.valueAt(step * 200 + 50), value);
            if (other.valueAt(step * 200) != value)
                ++differing;
            QVERIFY(value >= generator.minimum && value <= generator.maximum);
            low = qMin(low, value);
            high = qMax(high, value);
            values.insert(value);
        }
        QVERIFY(values.size() > 990);
        QVERIFY(differing > 990);
        QVERIFY(low < -9.5);
        QVERIFY(high > 9.5);
    }

    void keys()
    {
        QSet<QString> names;
        for (int i = Generator::Constant; i <= Generator::List; ++i) {
            const auto kind = Generator::Kind(i);
            Generator::Kind read = Generator::Constant;
            QVERIFY(Generator::kindFromKey(Generator::kindKey(kind), &read));
            QCOMPARE(read, kind);
            names.insert(Generator::kindName(kind));
        }
        QCOMPARE(names.size(), 6);
        Generator::Kind read = Generator::Ramp;
        QVERIFY(!Generator::kindFromKey(QStringLiteral("Ramp"), &read));
        QVERIFY(!Generator::kindFromKey(QString(), &read));
        QCOMPARE(read, Generator::Ramp);
    }
};

QTEST_MAIN(TestGenerator)
#include "tst_generator.moc"
