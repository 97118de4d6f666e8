#include "shapes/shapeattributes.h"

#include <QRandomGenerator>
#include <QXmlStreamWriter>
#include <QtTest>

#include <cmath>

// Coordinates are written through a fast path for whole pixels and
// hundredths; its text must be the general formatter's, byte for byte, or
// saving a project that was just opened would change it.
class TestShapeAttributes : public QObject
{
    Q_OBJECT

    // The general path: the value in fixed notation to 13 significant
    // digits, trailing zeros and a bare point dropped.
    static QString general(double value)
    {
        if (!std::isfinite(value) || std::abs(value) < 1e-9)
            return QStringLiteral("0");
        const int integerDigits = int(std::floor(std::log10(std::abs(value)))) + 1;
        return fixedText(value, qMax(0, 13 - integerDigits));
    }

private slots:
    void coordinatesReadAsTheGeneralFormatterWrites_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 100.0 << "100";
        QTest::newRow("negative whole") << -7.0 << "-7";
        QTest::newRow("one decimal") << 12.5 << "12.5";
        QTest::newRow("a tenth, not exact in binary") << 0.1 << "0.1";
        QTest::newRow("negative below one") << -0.05 << "-0.05";
        QTest::newRow("hundredths") << 12.34 << "12.34";
        QTest::newRow("trailing zero of the hundredths") << -100.1 << "-100.1";
        QTest::newRow("sum off by a unit in the last place") << 0.1 + 0.2 << "0.3";
        QTest::newRow("large") << 99999999.99 << "99999999.99";
        QTest::newRow("beyond the fast range") << 123456789012.5 << "123456789012.5";
        QTest::newRow("thousandths") << 12.125 << "12.125";
        QTest::newRow("a third") << 1.0 / 3 << "0.3333333333333";
        QTest::newRow("below a billionth") << -1e-10 << "0";
        QTest::newRow("a billionth") << 2e-9 << "0.000000002";
    }

    void coordinatesReadAsTheGeneralFormatterWrites()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(coordinateText(value), text);
        QCOMPARE(coordinateText(value), general(value));
    }

    // Many values near the fast path's edges: hundredths of every size, the
    // same a unit in the last place away, and values that are none of these.
    void coordinatesAgreeOverManyValues()
    {
        QRandomGenerator random(20261208);
        for (int i = 0; i < 20000; ++i) {
            const double scale = std::pow(10.0, random.bounded(12));
            const double hundredths
                = std::round((random.generateDouble() - 0.5) * scale * 100) / 100;
            const double values[] = {hundredths, std::nextafter(hundredths, 1e300),
                                     std::nextafter(hundredths, -1e300),
                                     (random.generateDouble() - 0.5) * scale};
            for (double value : values) {
                if (coordinateText(value) != general(value))
                    QFAIL(qPrintable(QStringLiteral("%1: %2 against %3")
                                         .arg(value, 0, 'g', 17)
                                         .arg(coordinateText(value), general(value))));
            }
        }
    }

    // Sizes, angles and opacities take two decimals through a fast path of
    // their own; it must give what the formatter gives, ties included.
    void decimalsAgreeWithTheFormatter()
    {
        auto written = [](double value) {
            QString xml;
            QXmlStreamWriter writer(&xml);
            writer.writeStartElement(QStringLiteral("e"));
            writeAttributeValue(&writer, QStringLiteral("v"), value);
            writer.writeEndElement();
            return xml.section(QLatin1Char('"'), 1, 1);
        };
        auto formatted = [](double value) {
            QString text = QString::number(value, 'f', 2);
            return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
        };
        QRandomGenerator random(20261209);
        QVector<double> values {0.0, -0.0, 0.125, -0.125, 2.675, 1e-3, -4e-3, 1.005, 0.3};
        for (int i = 0; i < 20000; ++i) {
            const double scale = std::pow(10.0, random.bounded(10));
            const double hundredths
                = std::round((random.generateDouble() - 0.5) * scale * 100) / 100;
            values << hundredths << std::nextafter(hundredths, 1e300)
                   << std::nextafter(hundredths, -1e300) << hundredths + 0.005
                   << (random.generateDouble() - 0.5) * scale;
        }
        for (double value : values) {
            if (written(value) != formatted(value))
                QFAIL(qPrintable(QStringLiteral("%1: %2 against %3")
                                     .arg(value, 0, 'g', 17)
                                     .arg(written(value), formatted(value))));
        }
    }
};

QTEST_MAIN(TestShapeAttributes)
#include "tst_shapeattributes.moc"
