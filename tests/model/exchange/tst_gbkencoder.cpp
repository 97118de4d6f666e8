#include "model/exchange/gbkencoder.h"

#include <QRandomGenerator>
#include <QTextCodec>
#include <QtTest>

namespace {

QTextCodec *gbk()
{
    return QTextCodec::codecForName("GBK");
}

// What the codec says of text whole: whether it could encode every
// character, its bytes, and whether each character reads back.
struct CodecVerdict
{
    bool encodable = true;
    QByteArray bytes;
    bool readsBack = true;
};

CodecVerdict codecVerdict(const QString &text)
{
    CodecVerdict verdict;
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    verdict.bytes = gbk()->fromUnicode(text.constData(), text.size(), &state);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            continue;
        if (c.isSurrogate()) {
            verdict.encodable = false;
            continue;
        }
        QTextCodec::ConverterState one(QTextCodec::ConvertInvalidToNull);
        const QByteArray bytes = gbk()->fromUnicode(&c, 1, &one);
        if (one.invalidChars > 0 || bytes == QByteArray(1, '\0'))
            verdict.encodable = false;
        else if (gbk()->toUnicode(bytes) != QString(c))
            verdict.readsBack = false;
    }
    verdict.encodable = verdict.encodable && state.invalidChars == 0;
    return verdict;
}

void compareWithCodec(const QString &text)
{
    GbkEncoder encoder;
    // In pieces, as a writer appends fields.
    encoder.append(text.constData(), text.size() / 2);
    encoder.append(text.constData() + text.size() / 2, text.size() - text.size() / 2);
    const CodecVerdict codec = codecVerdict(text);
    QCOMPARE(encoder.isEncodable(), codec.encodable);
    if (!codec.encodable)
        return;
    QCOMPARE(encoder.readsBack(), codec.readsBack);
    QCOMPARE(encoder.take(), codec.bytes);
}

} // namespace

class TestGbkEncoder : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithTheCodec_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ascii") << "Motor,LW 100\r\n";
        QTest::newRow("chinese") << "电机温度,本地";
        QTest::newRow("euro sign, one byte") << "€5";
        QTest::newRow("symbols") << "±×÷≤℃";
        QTest::newRow("no gbk") << "a\u0E01b"; // Thai
        QTest::newRow("surrogate pair") << "温度😀";
        QTest::newRow("lone surrogate") << QString(QChar(0xD800));
        QTest::newRow("private use") << QString(QChar(0xE000));
        QTest::newRow("nul") << QString(QChar(0)) + "x";
    }
    void agreesWithTheCodec()
    {
        QFETCH(QString, text);
        compareWithCodec(text);
    }

    // Every character of the basic plane the table is filled from, in
    // random texts, gives the codec's bytes; a text holding one the codec
    // cannot encode is handed back.
    void randomTextsAgree()
    {
        QRandomGenerator random(20261208);
        for (int round = 0; round < 300; ++round) {
            QString text;
            const int size = random.bounded(1, 40);
            for (int i = 0; i < size; ++i) {
                const int pick = random.bounded(4);
                const ushort u = pick == 0 ? ushort(random.bounded(0x80))
                    : pick == 1            ? ushort(0x4E00 + random.bounded(0x5200))
                                           : ushort(random.bounded(0x80, 0x10000));
                text.append(QChar(u));
            }
            compareWithCodec(text);
        }
    }

    // A field holding what a comma file must quote is left to the quoting
    // writer whole: nothing of it is appended.
    void unquotedStopsAtQuoting_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("appended");
        QTest::newRow("plain") << "温度 LW 100" << true;
        QTest::newRow("comma") << "温度,LW" << false;
        QTest::newRow("quote") << "温\"度" << false;
        QTest::newRow("line feed") << "温度\n" << false;
        QTest::newRow("carriage return") << "\r温度" << false;
        QTest::newRow("other controls") << "温\t度;" << true;
    }
    void unquotedStopsAtQuoting()
    {
        QFETCH(QString, field);
        QFETCH(bool, appended);
        GbkEncoder encoder;
        encoder += QLatin1String("a,");
        QCOMPARE(encoder.appendUnquoted(field.constData(), field.size()), appended);
        QCOMPARE(encoder.take(), gbk()->fromUnicode(QStringLiteral("a,") + (appended ? field : QString())));
    }

    // take() empties the encoder, which can be filled again.
    void takeStartsAfresh()
    {
        GbkEncoder encoder;
        encoder.reserve(4);
        encoder += QLatin1String("ab");
        encoder += QStringLiteral("温度");
        encoder += QLatin1Char(',');
        QCOMPARE(encoder.take(), gbk()->fromUnicode(QStringLiteral("ab温度,")));
        encoder += QLatin1Char('x');
        QCOMPARE(encoder.take(), QByteArray("x"));
    }
};

QTEST_GUILESS_MAIN(TestGbkEncoder)
#include "tst_gbkencoder.moc"
