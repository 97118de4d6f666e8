#include "model/config.h"
#include "model/exchange/addresstextfile.h"
#include "model/exchange/csvtable.h"

#include <QTextCodec>
#include <QtTest>

namespace {

QTextCodec *gbk()
{
    return QTextCodec::codecForName("GBK");
}

// The reading every shortcut must agree with: UTF-16 behind its mark; UTF-8
// when the whole text decodes as UTF-8 (or carries its mark); else GBK,
// sound when the reading encodes back to the same bytes.
QString fullReading(const QByteArray &bytes, bool *undecodable)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QTextCodec::ConverterState state;
        const QString text = QTextCodec::codecForName("UTF-16")->toUnicode(
            bytes.constData(), bytes.size(), &state);
        *undecodable = state.invalidChars != 0 || state.remainingChars != 0;
        return text;
    }
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    const int skip = marked ? 3 : 0;
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(
        bytes.constData() + skip, bytes.size() - skip, &state);
    const bool valid = state.invalidChars == 0 && state.remainingChars == 0;
    if (valid || marked) {
        *undecodable = !valid;
        return text;
    }
    const QString gbkText = gbk()->toUnicode(bytes);
    *undecodable = gbk()->fromUnicode(gbkText) != bytes;
    return gbkText;
}

} // namespace

class TestCsvTable : public QObject
{
    Q_OBJECT

private slots:
    // The reader settles the encoding from the first bytes that rule UTF-8
    // out and finds GBK faults without encoding the text back; it must
    // still say what the full reading says, at the edges of both.
    void decodeAgreesWithFullReading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray chinese = gbk()->fromUnicode(QStringLiteral("温度,LW1\r\n"));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("ascii") << QByteArray("a,b\r\n");
        QTest::newRow("gbk") << chinese;
        QTest::newRow("gbk, lead byte at the end") << chinese + "x\xB0";
        QTest::newRow("gbk, lead byte after a whole pair at the end") << chinese + "\xB0\xA1\xB0";
        QTest::newRow("gbk, lead byte before a line end") << chinese + "x\x81\r\n";
        QTest::newRow("gbk, lead byte before a comma") << QByteArray("x\x81,y\n");
        QTest::newRow("gbk, pair of lead bytes at the end") << chinese + "\xB0\xB0";
        QTest::newRow("gbk, single byte 0x80") << QByteArray("a\x80" "b");
        QTest::newRow("gbk, 0xFF") << chinese + "\xFF\n";
        // 一 in GBK is D2 BB, which is UTF-8 as well.
        QTest::newRow("gbk bytes that are utf-8") << gbk()->fromUnicode(QStringLiteral("一"));
        QTest::newRow("utf-8") << QStringLiteral("温度,😀\n").toUtf8();
        QTest::newRow("utf-8 cut short") << QStringLiteral("温度").toUtf8().chopped(1);
        QTest::newRow("utf-8 with mark, then a fault") << QByteArray("\xEF\xBB\xBF" "a\xB0\xA1");
        QTest::newRow("overlong utf-8") << QByteArray("a\xC0\x80" "b");
        QTest::newRow("utf-8 surrogate") << QByteArray("a\xED\xA0\x80" "b");
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80");
        QTest::newRow("utf-16") << QByteArray("\xFF\xFE" "a\0", 4);
        QTest::newRow("utf-16 cut short") << QByteArray("\xFE\xFF\0", 3);
    }
    void decodeAgreesWithFullReading()
    {
        QFETCH(QByteArray, bytes);
        bool expectedFault = false;
        const QString expected = fullReading(bytes, &expectedFault);
        bool fault = !expectedFault;
        QCOMPARE(CsvTable::decode(bytes, &fault), expected);
        QCOMPARE(fault, expectedFault);
    }

    // A variable list goes out in GBK unless a reader would take its bytes
    // for something else; then it goes out as UTF-8 with its mark. Either
    // way the name reads back as written.
    void exportReadsBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("ascii") << "Motor";
        QTest::newRow("chinese") << "电机温度";
        QTest::newRow("gbk bytes that are utf-8") << "一";
        QTest::newRow("utf-8 pairs, then more") << "一一温";
        QTest::newRow("euro sign") << "€5";
        QTest::newRow("symbols") << "±×÷≤℃";
    }
    void exportReadsBack()
    {
        QFETCH(QString, name);
        QByteArray bytes;
        QString error;
        QVERIFY2(AddressTextFile::format({{name, "本地", "LW 1", "Int16", "2", ""}}, &bytes, &error),
                 qPrintable(error));
        bool fault = false;
        const QByteArray encoded = gbk()->fromUnicode(name);
        QCOMPARE(CsvTable::gbkReadsBack(encoded, name), fullReading(encoded, &fault) == name);
        // The whole file: in GBK exactly when its GBK bytes read back.
        const bool marked = bytes.startsWith("\xEF\xBB\xBF");
        const QString text = marked ? QString::fromUtf8(bytes.mid(3)) : gbk()->toUnicode(bytes);
        QCOMPARE(marked, fullReading(gbk()->fromUnicode(text), &fault) != text);
        const AddressTextFile::Import read = AddressTextFile::parse(bytes);
        QVERIFY(!read.undecodable);
        QCOMPARE(read.rows.value(0).value(Config::NameColumn), name);
    }
};

QTEST_GUILESS_MAIN(TestCsvTable)
#include "tst_csvtable.moc"
