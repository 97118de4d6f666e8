// Help texts fit a terminal of 80 columns in either language, broken where
// a reader expects a line to break.

#include "services/commandlinehelp.h"

#include <QtTest>

namespace {

// The description of entry "e" in the section "S:", one string per line as
// printed, without the column's indentation.
QStringList descriptionLines(const QString &help)
{
    QStringList lines = help.split('\n');
    lines = lines.mid(lines.indexOf("S:") + 1);
    QStringList description;
    for (const QString &line : qAsConst(lines)) {
        if (!line.startsWith("  "))
            break;
        description << (line.startsWith("  e ") ? line.mid(4) : line).trimmed();
    }
    return description;
}

} // namespace

class TestCommandLineHelp : public QObject
{
    Q_OBJECT

private slots:
    void wrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("joiner"); // what a break took away
        const QString english = "Writes one PNG file per screen, named after the screen: path "
                                "separators and control characters become _, and a long name "
                                "is cut so that the file name takes at most 255 bytes.";
        QTest::newRow("words") << english << " ";
        QTest::newRow("a word wider than the line")
            << "see " + QString(100, 'x') + " and more" << " ";
        // Chinese is written without spaces; no line may begin with a comma
        // or end with an opening bracket.
        QTest::newRow("Chinese") << QString("每个画面输出一个文件，以画面名为文件名：路径分隔符、"
                                            "控制字符和开头的点都换成下划线，空名为画面；过长的"
                                            "名称截短（不超过二百五十五字节），同名的图片依次加"
                                            "编号。某个画面无法输出时，其余画面照样输出。")
                                 << "";
        QTest::newRow("Chinese and words") << QString("用标签文件（xlsx、xls、csv 或 txt）替换"
                                                      "标签库，并把项目另存为新文件（mvprg），"
                                                      "再用 --password-stdin 给出密码，"
                                                      "不用 MAROVIN_PASSWORD 环境变量。")
                                           << "";
    }

    void wrapping()
    {
        QFETCH(QString, text);
        QFETCH(QString, joiner);
        CommandLineHelp help("prog");
        help.addSection("S:", {{"e", text}});
        const QString out = help.text();
        // Only a word that alone is too wide may pass the edge.
        for (const QString &line : out.split('\n'))
            QVERIFY2(CommandLineHelp::displayWidth(line) <= 80 || !line.trimmed().contains(' '),
                     qPrintable(line));
        const QStringList lines = descriptionLines(out);
        QVERIFY2(lines.size() > 1, qPrintable(out));
        // Nothing lost, nothing cut inside a word.
        QCOMPARE(lines.join(joiner), text);
        for (int i = 1; i < lines.size(); ++i) {
            QVERIFY2(!QString("，。、；：）").contains(lines.at(i).front()), qPrintable(out));
            QVERIFY2(lines.at(i - 1).back() != QChar(0xFF08), qPrintable(out));
        }
    }

    // A usage form too long for the line goes on below, indented, and a
    // bracketed word stays whole.
    void longUsage()
    {
        const QString form = "marovin-cli tags import 文件 标签文件 (--address | --text) -o 新文件 [选项]";
        const QString out = CommandLineHelp("one\n" + form).text();
        const QStringList lines = out.split('\n');
        for (const QString &line : lines)
            QVERIFY2(CommandLineHelp::displayWidth(line) <= 80, qPrintable(out));
        QVERIFY2(lines.size() > 3 && lines.at(2).trimmed() == "[选项]", qPrintable(out));
    }
};

QTEST_APPLESS_MAIN(TestCommandLineHelp)
#include "tst_commandlinehelp.moc"
