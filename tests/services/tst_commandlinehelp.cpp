// Help texts fit a terminal of 80 columns, broken where a reader expects a
// line to break, Chinese included.

#include "services/commandlinehelp.h"

#include <QtTest>

class TestCommandLineHelp : public QObject
{
    Q_OBJECT

private slots:
    // Chinese is written without spaces: nothing may be lost or cut inside
    // a word, no line may begin with a comma or end with an opening bracket.
    void wrapsChinese()
    {
        const QString text = "用标签文件（xlsx、xls、csv 或 txt）替换标签库，并把项目另存为新文件"
                             "（mvprg），再用 --password-stdin 给出密码，不用 MAROVIN_PASSWORD "
                             "环境变量。某个画面无法输出时，其余画面照样输出。";
        CommandLineHelp help("prog");
        help.addSection("S:", {{"e", text}});
        QStringList lines = help.text().split('\n');
        lines = lines.mid(lines.indexOf("S:") + 1, 3);
        QString joined;
        for (int i = 0; i < lines.size(); ++i) {
            QVERIFY2(CommandLineHelp::displayWidth(lines.at(i)) <= 80, qPrintable(lines.at(i)));
            const QString part = lines.at(i).mid(5);
            QVERIFY2(i == 0 || !QString("，。、；：）").contains(part.front()), qPrintable(part));
            QVERIFY2(part.back() != QChar(0xFF08), qPrintable(part));
            joined += part;
        }
        QCOMPARE(joined, text);
    }

    // A usage form too long for the line goes on below, indented, and a
    // bracketed word stays whole.
    void longUsage()
    {
        const QString form = "marovin-cli tags import 文件 标签文件 (--address | --text) -o 新文件 [选项]";
        const QStringList lines = CommandLineHelp("one\n" + form).text().split('\n');
        for (const QString &line : lines)
            QVERIFY2(CommandLineHelp::displayWidth(line) <= 80, qPrintable(line));
        QCOMPARE(lines.value(2).trimmed(), QString("[选项]"));
    }
};

QTEST_APPLESS_MAIN(TestCommandLineHelp)
#include "tst_commandlinehelp.moc"
