#include "app/editorcommandline.h"
#include "services/commandlinehelp.h"
#include "support/clirun.h"

#include <QtTest>

namespace {

// The environment of a machine without any display, speaking locale.
QProcessEnvironment withoutDisplay(const QString &locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LANG", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    return environment;
}

} // namespace

// The command lines of the editor and the columns of both programs' help.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void displayWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("ASCII") << "--screen <name>" << 15;
        QTest::newRow("Chinese") << "--screen <名称>" << 15;
        QTest::newRow("full-width punctuation") << "（.mvprg）：" << 12;
        QTest::newRow("combining accent") << QString::fromUtf8("e\xcc\x81t\xc3\xa9") << 3;
        QTest::newRow("outside the basic plane") << QString::fromUtf8("\xf0\xa0\x80\x80x") << 3;
    }

    void displayWidth()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QCOMPARE(CommandLineHelp::displayWidth(text), width);
    }

    // Entries of mixed widths put their descriptions in one screen column;
    // one too wide for the column puts its description below, indented; a
    // second form of the usage stands under the first.
    void columnsLineUp()
    {
        CommandLineHelp help("x\ny");
        help.addSection("S:", {{"--a <文件夹>", "one"}, {"--bb", "two\nthree"},
                               {QString(40, 'w'), "four"}});
        const QStringList lines = help.text().split('\n');
        // No catalogue here: the heading is "用法：", six columns wide.
        QCOMPARE(lines.mid(0, 2), QStringList({"用法：x", "      y"}));
        const int s = lines.indexOf("S:");
        QVERIFY(s > 0);
        // "--a <文件夹>" takes 12 columns in 9 characters.
        QCOMPARE(lines.mid(s + 1, 5),
                 QStringList({"  --a <文件夹>  one", "  --bb          two", "                three",
                              "  " + QString(40, 'w'), "                four"}));
    }

    // Answered on stdout before any window, where no display exists at all
    // or the one named cannot start.
    void editorAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform"); // empty: none set
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("start"); // how stdout starts
        const QString version = QStringLiteral("marovin " MAROVIN_VERSION "\n");
        QTest::newRow("--help") << QStringList {"--help"} << QString() << "C" << "Usage: marovin";
        QTest::newRow("-h, Chinese") << QStringList {"-h"} << QString() << "zh_CN.UTF-8"
                                     << "用法：marovin";
        QTest::newRow("--version") << QStringList {"--version"} << QString() << "C" << version;
        QTest::newRow("--version after a project")
            << QStringList {"p.mvprg", "--version"} << QString() << "C" << version;
        QTest::newRow("--help, platform that cannot start")
            << QStringList {"--help"} << "xcb" << "C" << "Usage: marovin";
        QTest::newRow("-style's value is no option")
            << QStringList {"-style", "fusion", "-v"} << "xcb" << "C" << version;
    }

    void editorAnswersWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(QString, locale);
        QFETCH(QString, start);
        QProcessEnvironment environment = withoutDisplay(locale);
        if (!platform.isEmpty())
            environment.insert("QT_QPA_PLATFORM", platform);
        const CliRun run = runProgram(MAROVIN_EDITOR, arguments, environment);
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QString out = QString::fromUtf8(run.out);
        QVERIFY2(out.startsWith(start), qPrintable(out));
        if (start.contains("marovin "))
            QCOMPARE(out, start);
        else
            QVERIFY2(out.contains("--screenshot") && out.contains("--version"), qPrintable(out));
    }

    // A picture named relative goes where the user started the editor, not
    // to the program's own folder it moves to.
    void screenshotRelativeToTheUser()
    {
        QProcessEnvironment environment = withoutDisplay("C");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QTemporaryDir home;
        QTemporaryDir user;
        environment.insert("MAROVIN_APP_DIR", home.path());
        environment.insert("HOME", home.path());
        const QString before = QDir::currentPath();
        QDir::setCurrent(user.path());
        const CliRun run = runProgram(MAROVIN_EDITOR, {"--screenshot", "shot.png"}, environment);
        QDir::setCurrent(before);
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY(QFileInfo::exists(user.filePath("shot.png")));
        QVERIFY(!QFileInfo::exists(home.filePath("shot.png")));
    }

    // An option neither ours nor the toolkit's, or ours without its value,
    // is refused before the application object, which would abort where
    // there is no display; the toolkit's own options still pass.
    void editorRefusesBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("error"); // empty: accepted
        QTest::newRow("unknown") << QStringList {"--bogus"} << "C" << "Unknown option “bogus”.";
        QTest::newRow("unknown, Chinese") << QStringList {"p.mvprg", "-x"} << "zh_CN.UTF-8"
                                          << "未知选项“x”。";
        QTest::newRow("no value") << QStringList {"--screenshot"} << "C"
                                  << "The option “--screenshot” needs a value.";
        QTest::newRow("toolkit value is no option")
            << QStringList {"-style", "--bogus", "--title=x"} << "C" << "Unknown option “title”.";
        QTest::newRow("toolkit options")
            << QStringList {"--platformtheme", "none", "-style=fusion", "-reverse", "--screenshot", "s.png"}
            << "C" << QString();
    }

    void editorRefusesBadOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, locale);
        QFETCH(QString, error);
        if (error.isEmpty()) {
            // Accepted: only the options that are bad are at stake here.
            QCOMPARE(EditorCommandLine::request(QStringList {"marovin"} + arguments),
                     EditorCommandLine::Start);
            return;
        }
        const CliRun run = runProgram(MAROVIN_EDITOR, arguments, withoutDisplay(locale));
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.isEmpty(), run.out.constData());
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith("marovin: " + error + "\n"), qPrintable(err));
        QVERIFY2(err.contains("marovin --help"), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
