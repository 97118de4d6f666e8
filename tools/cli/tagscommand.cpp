#include "tagscommand.h"

#include "clihelp.h"
#include "cliproject.h"
#include "document/projectdocument.h"
#include "document/projectfile.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "model/taglib/taglibrarycheck.h"
#include "model/taglib/textlib.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QStandardItemModel>

#include <algorithm>

namespace {

// The same file under two names, symbolic links followed; false when
// either does not exist.
bool sameFile(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

// The check of 确定 names at most this many rows; the count tells the rest.
const int ReportedProblems = 20;

} // namespace

int TagsCommand::run(const QStringList &arguments)
{
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QString());
    QCommandLineParser parser;
    parser.addOption(helpOption);
    parser.addOptions(CliHelp::options(QStringLiteral("tags")));

    if (!parser.parse(arguments))
        return CliProject::failWith(CliProject::parseError(parser));
    if (parser.isSet(helpOption)) {
        CliProject::writeOut(CliHelp::commandHelp(QStringLiteral("tags")));
        return 0;
    }
    const QString addressOption = QStringLiteral("address");
    const QString textOption = QStringLiteral("text");
    const QString outputOption = QStringLiteral("o");

    // The first positional argument is "tags" itself.
    const QStringList positional = parser.positionalArguments().mid(1);
    if (positional.isEmpty())
        return CliProject::failWith(tr("tags 需要 export、import 或 usage，用“marovin-cli help tags”查看用法"));
    const QString command = positional.first();
    const bool exporting = command == QLatin1String("export");
    if (command == QLatin1String("usage")) {
        if (positional.size() < 2)
            return CliProject::failWith(tr("tags usage 需要项目文件"));
        if (positional.size() > 2)
            return CliProject::failWith(tr("多余的参数：%1").arg(positional.mid(2).join(QLatin1Char(' '))));
        QString password;
        if (!CliProject::password(parser, &password) || !load(positional.at(1), password))
            return 1;
        return usage(parser.isSet(QStringLiteral("json")));
    }
    if (!exporting && command != QLatin1String("import"))
        return CliProject::failWith(tr("未知的 tags 命令：%1").arg(command));
    const int wanted = exporting ? 2 : 3;
    if (positional.size() < wanted)
        return CliProject::failWith(exporting ? tr("tags export 需要项目文件")
                                  : tr("tags import 需要项目文件和标签文件"));
    if (positional.size() > wanted)
        return CliProject::failWith(tr("多余的参数：%1").arg(positional.mid(wanted).join(QLatin1Char(' '))));

    const bool address = parser.isSet(addressOption);
    if (address == parser.isSet(textOption))
        return CliProject::failWith(tr("请给出 --address 或 --text 中的一个"));
    const QString output = parser.value(outputOption);
    if (output.isEmpty())
        return CliProject::failWith(tr("tags %1 需要 -o").arg(command));

    // The file kinds are checked before the project is loaded, so that a
    // mistyped name fails at once and says why.
    const QString tagFile = exporting ? output : positional.at(2);
    const TagExchange::FileKind kind = TagExchange::fileKind(tagFile);
    if (kind == TagExchange::UnknownFile || (exporting && kind == TagExchange::XlsFile))
        return CliProject::failWith(exporting ? tr("只能导出为 .xlsx、.csv 或 .txt 文件：%1").arg(tagFile)
                                  : tr("只能导入 .xlsx、.xls、.csv 或 .txt 文件：%1").arg(tagFile));

    // Writing over a file the command reads would lose it: the export
    // over its own project, the import over its tag file or project.
    const QString project = positional.at(1);
    if (sameFile(output, project) || (!exporting && sameFile(output, tagFile)))
        return CliProject::failWith(tr("输出文件 %1 不能是输入文件").arg(output));
    if (!exporting && !output.endsWith(QLatin1String(".mvprg"), Qt::CaseInsensitive))
        return CliProject::failWith(tr("项目只能另存为 .mvprg 文件：%1").arg(output));

    QString password;
    if (!CliProject::password(parser, &password))
        return 1;
    if (!load(project, password))
        return 1;
    return exporting ? exportTags(output, address) : importTags(tagFile, address, output);
}

bool TagsCommand::load(const QString &file, const QString &password)
{
    return CliProject::load(file, password);
}

int TagsCommand::exportTags(const QString &output, bool address)
{
    QString error;
    const bool written
        = address ? TagExchange::exportAddressTags(output, TagExchange::addressHeader(),
                                                   TagExchange::addressRows(), &error)
                  : TagExchange::exportTextTags(output, TagExchange::textHeader(),
                                                Config::instance()->textLib()->records(), &error);
    return written ? 0 : CliProject::failWith(error);
}

int TagsCommand::importTags(const QString &input, bool address, const QString &output)
{
    Config *config = Config::instance();
    QString error;
    QStringList warnings;
    QVector<TagLibraryCheck::Problem> problems;
    // One more than is named, to tell whether there are more.
    const int limit = ReportedProblems + 1;
    if (address) {
        TagExchange::AddressImport imported;
        if (!TagExchange::importAddressTags(input, &imported, &error))
            return CliProject::failWith(error);
        warnings = imported.warnings;
        // Nothing is written when the check fails, so the rows may go in
        // first: the check reads them where the dialog's 确定 does.
        QStandardItemModel tags(0, Config::TagColumnCount);
        TagExchange::setAddressRows(&tags, imported.rows);
        ProjectDocument::current()->replaceAddressTags(tags);
        problems = TagLibraryCheck::addressLibrary(limit);
    } else {
        QVector<TextTagRecord> imported;
        if (!TagExchange::importTextTags(input, &imported, &error, &warnings))
            return CliProject::failWith(error);
        ProjectDocument::current()->replaceTextTags(
            TextLib::fromRecords(imported, config->languages.size()));
        problems = TagLibraryCheck::textLibrary(*config->textLib(), limit);
    }
    for (const QString &warning : qAsConst(warnings))
        CliProject::tellUser(tr("警告：%1").arg(warning));
    if (!problems.isEmpty()) {
        for (int i = 0; i < std::min(int(problems.size()), ReportedProblems); ++i)
            CliProject::tellUser(problems.at(i).message);
        const QString more = problems.size() > ReportedProblems ? tr("（只列出前 %1 处）").arg(ReportedProblems)
                                                                 : QString();
        return CliProject::failWith(
            tr("%1 中的标签通不过标签库的检查，未写入 %2%3").arg(input, output, more));
    }
    QString reason;
    if (!ProjectFile::write(output, nullptr, &reason))
        return CliProject::failWith(tr("无法写入 %1：%2").arg(output, reason));
    return 0;
}
