#include "clihelp.h"

#include "cliproject.h"
#include "services/commandlinehelp.h"

namespace {

struct Command {
    QString name;
    // What follows "marovin-cli" and what it does, one entry per form.
    QVector<CommandLineHelp::Entry> forms;
    // What the command's own help says it does; its one form's text when empty.
    QString description;
};

QString program()
{
    return QStringLiteral("marovin-cli");
}

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              CliHelp::tr("显示此帮助。"));
}

// Built on each call, so that tr() runs once the translator is installed.
// The placeholders of the forms are words of the reader's language.
QVector<Command> commandTable()
{
    return {
        {QStringLiteral("info"), {{CliHelp::tr("info 文件"), CliHelp::tr("以 JSON 输出项目摘要")}}, {}},
        {QStringLiteral("render"),
         {{CliHelp::tr("render 文件 -o 文件夹"), CliHelp::tr("每个画面输出一个 PNG 文件（画面名.png）")}},
         CliHelp::tr("每个画面输出一个 PNG 文件，以画面名为文件名：路径分隔符、控制字符\n"
                     "和开头的点都换成 _，空名为 screen；过长的名称截短，使文件名连同 .png\n"
                     "不超过 255 字节（UTF-8）；同名的图片依次加 -2、-3……\n"
                     "某个画面无法输出时，其余画面照样输出，错误写到标准错误，退出码为 1。\n"
                     "给出 --set 或 --lang 时，画面按运行中的面板绘制：绑定显示设定的值，\n"
                     "文本用所选的语言，图片为面板大小；窗口画面打开在第一个基本画面之上，\n"
                     "模板画面不输出。")},
        {QStringLiteral("simulate"),
         {{CliHelp::tr("simulate 文件 场景文件"),
           CliHelp::tr("按场景文件模拟运行项目并检查结果")}},
         CliHelp::tr("在模拟的面板上运行项目，按场景文件逐行操作并检查结果。场景文件是逗号\n"
                     "分隔的表格，标题行为 time,action,target,value：time 是从开始算起的\n"
                     "秒数（可带小数，不能倒退），action 是 set、press、release、click、\n"
                     "wait、expect、expect-screen 或 snapshot，target 是标签、地址\n"
                     "（LW 100、LW 100(Float)、设备名:地址）、图形名称或画面名称，value 是\n"
                     "要写的值、期望的值（标签和地址比较数值，图形比较显示的文本）或\n"
                     "snapshot 的图片文件名（默认 snapshot-行号.png，写到 -o 文件夹）。\n"
                     "面板的时钟从 2000-01-01 00:00 开始按场景的时间走。\n"
                     "全部期望成立时退出码为 0；某一行失败时在标准输出写出行号、期望值和\n"
                     "实际值，退出码为 2；项目或场景无法读取时退出码为 1。")},
        {QStringLiteral("convert"),
         {{CliHelp::tr("convert 文件 -o 新文件"),
           CliHelp::tr("以明文或加密形式另存项目（默认保持原形式）")}},
         {}},
        {QStringLiteral("check"),
         {{CliHelp::tr("check 文件"),
           CliHelp::tr("检查项目：每个错误或警告一行，有错误时退出码为 2")}},
         {}},
        {QStringLiteral("tags"),
         {{CliHelp::tr("tags export 文件 (--address | --text) -o 标签文件"),
           CliHelp::tr("导出地址标签库或文本标签库（.xlsx、.csv 或 .txt）")},
          {CliHelp::tr("tags import 文件 标签文件 (--address | --text) -o 新文件"),
           CliHelp::tr("用标签文件（.xlsx、.xls、.csv 或 .txt）替换标签库，"
                       "并把项目另存为新文件（.mvprg）")},
          {CliHelp::tr("tags usage 文件"),
           CliHelp::tr("列出每个标签被哪些对象使用，以及没有对象使用的标签")}},
         CliHelp::tr("导入、导出项目的标签库，列出标签的使用之处。")},
    };
}

QString passwordNote()
{
    return CliHelp::tr("受密码保护的项目：密码最好用 --password-stdin 从标准输入给出，其次用\n"
                       "环境变量 MAROVIN_PASSWORD；--password 会让其他用户在进程列表中看到\n"
                       "密码，只作最后的选择。两个选项不能同时使用；给出其一时不看环境变量。");
}

} // namespace

QStringList CliHelp::commandNames()
{
    QStringList names;
    for (const Command &command : commandTable())
        names << command.name;
    return names;
}

QString CliHelp::commandList()
{
    QStringList names = commandNames() << QStringLiteral("help");
    const QString last = names.takeLast();
    return tr("%1 或 %2").arg(names.join(tr("、")), last);
}

QList<QCommandLineOption> CliHelp::options(const QString &command)
{
    // Each command that loads a project takes both, and MAROVIN_PASSWORD.
    const QList<QCommandLineOption> password {
        QCommandLineOption(QStringLiteral("password-stdin"),
                           tr("从标准输入读取项目密码（一行）；推荐的方式。")),
        QCommandLineOption(QStringLiteral("password"),
                           tr("项目密码。其他用户能在进程列表中看到它，"
                              "请改用 --password-stdin 或 MAROVIN_PASSWORD。"),
                           tr("密码"))};
    const QStringList output {QStringLiteral("o"), QStringLiteral("output")};
    if (command == QLatin1String("info"))
        return password;
    if (command == QLatin1String("render")) {
        return QList<QCommandLineOption> {
                   QCommandLineOption(output, tr("画面图片的输出文件夹。"), tr("文件夹")),
                   QCommandLineOption(QStringLiteral("screen"), tr("只绘制此画面。"), tr("名称")),
                   QCommandLineOption(QStringLiteral("set"),
                                      tr("先把值写入标签或地址（可重复），如 \"LW 100=42\"。"),
                                      tr("目标=值")),
                   QCommandLineOption(QStringLiteral("lang"),
                                      tr("文本使用的项目语言，从 0 数起。"), tr("序号"))}
            + password;
    }
    if (command == QLatin1String("convert")) {
        return QList<QCommandLineOption> {
                   QCommandLineOption(output, tr("另存的项目文件。"), tr("文件")),
                   QCommandLineOption(QStringLiteral("encrypt"), tr("以加密形式保存。")),
                   QCommandLineOption(QStringLiteral("plain"), tr("以明文形式保存。"))}
            + password;
    }
    if (command == QLatin1String("simulate")) {
        return QList<QCommandLineOption> {
                   QCommandLineOption(output, tr("snapshot 图片的输出文件夹。"), tr("文件夹")),
                   QCommandLineOption(QStringLiteral("json"), tr("以 JSON 输出结果。"))}
            + password;
    }
    if (command == QLatin1String("check"))
        return QList<QCommandLineOption> {QCommandLineOption(QStringLiteral("json"),
                                                             tr("以 JSON 数组输出检查结果。"))}
            + password;
    if (command == QLatin1String("tags")) {
        return QList<QCommandLineOption> {
                   QCommandLineOption(QStringLiteral("address"), tr("地址标签库。")),
                   QCommandLineOption(QStringLiteral("text"), tr("文本标签库。")),
                   QCommandLineOption(output, tr("导出的标签文件（export）或另存的项目（import）。"),
                                      tr("文件")),
                   QCommandLineOption(QStringLiteral("json"), tr("以 JSON 输出（usage）。"))}
            + password;
    }
    return {};
}

QList<QCommandLineOption> CliHelp::options(const QStringList &commands)
{
    QList<QCommandLineOption> all;
    QStringList seen;
    for (const QString &command : commands) {
        for (const QCommandLineOption &option : options(command)) {
            if (!seen.contains(option.names().first())) {
                seen << option.names().first();
                all << option;
            }
        }
    }
    return all;
}

QString CliHelp::overview()
{
    CommandLineHelp help(tr("%1 命令 [选项]").arg(program()),
                         tr("查看、绘制、检查、转换和模拟运行项目文件，导入和导出标签库。"));
    QVector<CommandLineHelp::Entry> entries;
    for (const Command &command : commandTable())
        entries += command.forms;
    entries.append({tr("help 命令"), tr("显示一个命令的用法和选项")});
    help.addSection(tr("命令："), entries);
    help.addOptions({helpOption(),
                     QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        tr("显示版本信息。"))});
    help.addNote(tr("用“%1 help 命令”查看一个命令的全部选项。").arg(program()));
    help.addNote(passwordNote());
    help.addNote(tr("项目密码和宏密码只是编辑器的锁，不是文件的锁：文件按原样存放密码，\n"
                    "“加密”形式只是任何人都能还原的编码。二者都不能阻止他人读取项目文件。"));
    return help.text();
}

QString CliHelp::commandHelp(const QString &name)
{
    for (const Command &command : commandTable()) {
        if (command.name != name)
            continue;
        QStringList usage;
        for (const CommandLineHelp::Entry &form : command.forms)
            usage << tr("%1 %2 [选项]").arg(program(), form.first);
        QString description = command.description.isEmpty() ? command.forms.first().second
                                                            : command.description;
        // The overview's summaries start in lower case in some languages.
        description[0] = description.at(0).toUpper();
        CommandLineHelp help(usage.join(QLatin1Char('\n')), description);
        help.addOptions(QList<QCommandLineOption> {helpOption()} + options(name));
        help.addNote(passwordNote());
        return help.text();
    }
    return QString();
}

int CliHelp::run(const QStringList &arguments)
{
    // arguments: the program, "help", then at most a command (and, for
    // tags, its subcommand).
    const QStringList rest = arguments.mid(2);
    // "help help" and "help --help" ask what help does: the overview says it.
    const QStringList aboutHelp {QStringLiteral("help"), QStringLiteral("--help"),
                                 QStringLiteral("-h")};
    if (rest.isEmpty() || (rest.size() == 1 && aboutHelp.contains(rest.first()))) {
        CliProject::writeOut(overview());
        return 0;
    }
    const QString text = commandHelp(rest.first());
    if (text.isEmpty())
        return CliProject::failWith(tr("未知命令：%1").arg(rest.first()));
    const bool tagsForm = rest.first() == QLatin1String("tags") && rest.size() == 2
        && (rest.at(1) == QLatin1String("export") || rest.at(1) == QLatin1String("import")
            || rest.at(1) == QLatin1String("usage"));
    if (rest.size() > 1 && !tagsForm)
        return CliProject::failWith(tr("多余的参数：%1").arg(rest.mid(1).join(QLatin1Char(' '))));
    CliProject::writeOut(text);
    return 0;
}
