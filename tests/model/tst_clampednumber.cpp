#include "model/clampednumber.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <cstring>

// Plain decimals are read without the general parser; every text must give
// the very double the parser gives, or a project would change on opening.
class TestClampedNumber : public QObject
{
    Q_OBJECT

    static bool sameDouble(double a, double b)
    {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }

    static void compareWithParser(const QString &text)
    {
        double read = 0;
        const ClampedNumber::Reading reading = ClampedNumber::readDouble(QStringRef(&text), &read);
        bool ok = false;
        const double parsed = QStringRef(&text).trimmed().toDouble(&ok);
        if (ok && !std::isinf(parsed)) {
            if (reading != ClampedNumber::Fits || !sameDouble(read, parsed))
                QFAIL(qPrintable(QStringLiteral("\"%1\": %2 against %3")
                                     .arg(text)
                                     .arg(read, 0, 'g', 17)
                                     .arg(parsed, 0, 'g', 17)));
        }
    }

private slots:
    void readsAsTheParser_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("reading");
        const int fits = ClampedNumber::Fits;
        QTest::newRow("whole") << "100" << 100.0 << fits;
        QTest::newRow("negative decimal") << "-12.5" << -12.5 << fits;
        QTest::newRow("minus zero keeps its sign") << "-0" << -0.0 << fits;
        QTest::newRow("leading zeros") << "007.250" << 7.25 << fits;
        QTest::newRow("no whole part") << ".5" << 0.5 << fits;
        QTest::newRow("point without decimals") << "5." << 5.0 << fits;
        QTest::newRow("blanks around") << " 3.75\t" << 3.75 << fits;
        QTest::newRow("fifteen digits") << "123456789.012345" << 123456789.012345 << fits;
        QTest::newRow("more digits than exact") << "0.12345678901234567891"
                                                << 0.12345678901234567891 << fits;
        QTest::newRow("exponent") << "7.1e-15" << 7.1e-15 << fits;
        QTest::newRow("plus sign") << "+4" << 4.0 << fits;
        QTest::newRow("letters") << "12px" << 0.0 << int(ClampedNumber::NotANumber);
        QTest::newRow("empty") << "" << 0.0 << int(ClampedNumber::Missing);
        QTest::newRow("overflow") << "1e400" << qInf() << int(ClampedNumber::OutOfRange);
    }

    void readsAsTheParser()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, reading);
        double read = 1;
        QCOMPARE(int(ClampedNumber::readDouble(QStringRef(&text), &read)), reading);
        QVERIFY2(sameDouble(read, value), qPrintable(QString::number(read, 'g', 17)));
        compareWithParser(text);
    }

    // Random decimals of every length and scale, ties and near-ties of the
    // rounding included.
    void agreesOverManyTexts()
    {
        QRandomGenerator random(20261208);
        for (int i = 0; i < 100000; ++i) {
            QString text;
            if (random.bounded(2))
                text += QLatin1Char('-');
            const int whole = int(random.bounded(17));
            for (int d = 0; d < whole; ++d)
                text += QLatin1Char(char('0' + random.bounded(10)));
            const int decimals = int(random.bounded(25));
            if (decimals || !whole) {
                text += QLatin1Char('.');
                for (int d = 0; d < decimals; ++d)
                    text += QLatin1Char(char('0' + random.bounded(10)));
            }
            compareWithParser(text);
        }
    }
};

QTEST_MAIN(TestClampedNumber)
#include "tst_clampednumber.moc"
