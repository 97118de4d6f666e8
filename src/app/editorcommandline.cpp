#include "editorcommandline.h"

#include "services/commandlinehelp.h"

#include <QCommandLineParser>
#include <QProcessEnvironment>
#include <QTranslator>

#include <cstdio>

namespace {

const QString Program = QStringLiteral("marovin");

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              EditorCommandLine::tr("显示此帮助。"));
}

QCommandLineOption versionOption()
{
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                              EditorCommandLine::tr("显示版本信息。"));
}

QCommandLineOption screenshotOption()
{
    return QCommandLineOption(QStringLiteral("screenshot"),
                              EditorCommandLine::tr("窗口显示后把它的图片写入此 PNG 文件，然后退出。"),
                              EditorCommandLine::tr("文件"));
}

} // namespace

EditorCommandLine::Request EditorCommandLine::request(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-style" is one option of the toolkit's, not -s -t -y -l -e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({helpOption(), versionOption(), screenshotOption()});
    // Unknown options are the toolkit's business here: the answer only
    // depends on whether ours are present.
    parser.parse(arguments);
    if (parser.isSet(QStringLiteral("help")))
        return Help;
    if (parser.isSet(QStringLiteral("version")))
        return Version;
    return Start;
}

int EditorCommandLine::answer(Request request, int &argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (!CommandLineHelp::wantsChinese(QProcessEnvironment::systemEnvironment())) {
        auto *translator = new QTranslator(&application);
        if (translator->load(QStringLiteral(":/en_US_app")))
            QCoreApplication::installTranslator(translator);
    }
    const QByteArray text = (request == Version ? versionText() : helpText()).toUtf8();
    // Output that never arrived (a closed pipe, a full disk) is a failure.
    const bool written = std::fwrite(text.constData(), 1, size_t(text.size()), stdout)
            == size_t(text.size())
        && std::fflush(stdout) == 0;
    return written ? 0 : 1;
}

bool EditorCommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({helpOption(), versionOption(), screenshotOption()});
    if (!parser.parse(arguments)) {
        m_error = parser.errorText();
        return false;
    }
    m_screenshot = parser.value(QStringLiteral("screenshot"));
    m_project = parser.positionalArguments().value(0);
    return true;
}

QString EditorCommandLine::helpText()
{
    const QString project = tr("项目文件");
    CommandLineHelp help(tr("%1 [选项] [%2]").arg(Program, project),
                         tr("工业操作面板（HMI）的组态编辑器。"));
    help.addOptions({helpOption(), versionOption(), screenshotOption()});
    help.addSection(tr("参数："), {{project, tr("启动时打开的项目（.mvprg）。")}});
    help.addNote(tr("界面所用工具包的选项（如 -style、-platform）也可使用。"));
    return help.text();
}

QString EditorCommandLine::versionText()
{
    return QStringLiteral("%1 %2\n").arg(Program, QStringLiteral(MAROVIN_VERSION));
}
