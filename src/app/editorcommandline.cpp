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

// The options the toolkit takes out of the command line when the
// application object is made, with one or two dashes.
const char *const ToolkitValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "session", "display", "name", "style",
    "stylesheet", "graphicssystem", "dialogs"};
const char *const ToolkitFlags[] = {"reverse", "testability", "widgetcount", "nograb", "dograb",
                                    "sync", "qdevel", "qdebug"};
// Taken with their value joined by "=" as well.
const char *const ToolkitJoinedOptions[] = {"style=", "stylesheet=", "qmljsdebugger="};

void prepare(QCommandLineParser &parser)
{
    // "-style" is one option of the toolkit's, not -s -t -y -l -e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({helpOption(), versionOption(), screenshotOption()});
}

// The arguments that are left once the toolkit's options are out, so that
// ours can be checked before there is an application object to take them.
QStringList withoutToolkitOptions(const QStringList &arguments)
{
    QStringList left;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i == 0 || !argument.startsWith('-')) {
            left << argument;
            continue;
        }
        const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        bool taken = false;
        for (const char *flag : ToolkitFlags)
            taken = taken || name == QLatin1String(flag);
        for (const char *option : ToolkitJoinedOptions)
            taken = taken || name.startsWith(QLatin1String(option));
        bool withValue = false;
        for (const char *option : ToolkitValueOptions)
            withValue = withValue || name == QLatin1String(option);
        // Without its value the toolkit leaves the option, and so do we.
        if (withValue && i + 1 < arguments.size()) {
            ++i;
            taken = true;
        }
        if (!taken)
            left << argument;
    }
    return left;
}

} // namespace

EditorCommandLine::Request EditorCommandLine::request(const QStringList &arguments)
{
    QCommandLineParser parser;
    prepare(parser);
    const bool parsed = parser.parse(withoutToolkitOptions(arguments));
    // Asked for help, the user gets it, whatever else is wrong.
    if (parser.isSet(QStringLiteral("help")))
        return Help;
    if (parser.isSet(QStringLiteral("version")))
        return Version;
    return parsed ? Start : Invalid;
}

QString EditorCommandLine::invalidText(const QStringList &arguments)
{
    QCommandLineParser parser;
    prepare(parser);
    const QStringList own = withoutToolkitOptions(arguments);
    if (parser.parse(own))
        return QString();
    QString problem;
    if (!parser.unknownOptionNames().isEmpty())
        problem = tr("未知选项“%1”。").arg(parser.unknownOptionNames().constFirst());
    else if (own.size() > 1 && own.constLast().startsWith('-'))
        problem = tr("选项“%1”缺少值。").arg(own.constLast());
    else
        problem = parser.errorText();
    return QStringLiteral("%1: %2\n%3\n")
        .arg(Program, problem, tr("用“%1 --help”查看可用的选项。").arg(Program));
}

int EditorCommandLine::answer(Request request, int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCoreApplication application(argc, argv);
    if (!CommandLineHelp::wantsChinese(QProcessEnvironment::systemEnvironment())) {
        auto *translator = new QTranslator(&application);
        if (translator->load(QStringLiteral(":/en_US_app")))
            QCoreApplication::installTranslator(translator);
    }
    if (request == Invalid) {
        const QByteArray text = invalidText(arguments).toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        return 1;
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
    prepare(parser);
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
