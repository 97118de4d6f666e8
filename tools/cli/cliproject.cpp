#include "cliproject.h"

#include "model/config.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace {

// Far beyond any password; bounds what a stray pipe can make us hold.
constexpr int MaxPasswordBytes = 4096;

bool &fromStdin()
{
    static bool read = false;
    return read;
}

} // namespace

void CliProject::tellUser(const QString &message)
{
    const QByteArray text = QStringLiteral("marovin-cli: %1\n").arg(message).toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

int CliProject::failWith(const QString &message)
{
    tellUser(message);
    return 1;
}

void CliProject::writeOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

bool CliProject::outputDelivered()
{
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

QString CliProject::parseError(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        QStringList names;
        for (const QString &name : unknown)
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        return tr("未知选项：%1").arg(names.join(QStringLiteral(", ")));
    }
    // The parser names the option only in its message, which no catalogue
    // of ours translates, so the message's form is known.
    const QString text = parser.errorText();
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression unexpected(
        QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    QRegularExpressionMatch match = missing.match(text);
    if (match.hasMatch())
        return tr("%1 后面缺少值").arg(match.captured(1));
    match = unexpected.match(text);
    if (match.hasMatch())
        return tr("%1 不接受值").arg(match.captured(1));
    return text;
}

bool CliProject::password(const QCommandLineParser &parser, QString *password)
{
    const auto refuse = [](const QString &message) {
        failWith(message);
        return false;
    };
    const QString stdinOption = QStringLiteral("password-stdin");
    const QString argumentOption = QStringLiteral("password");
    if (parser.isSet(stdinOption) && parser.isSet(argumentOption))
        return refuse(tr("--password 和 --password-stdin 不能同时使用"));
    if (parser.isSet(stdinOption)) {
        QByteArray line;
        int c = 0;
        bool ended = false;
        while ((c = std::fgetc(stdin)) != EOF) {
            if (c == '\n') {
                ended = true;
                break;
            }
            if (line.size() == MaxPasswordBytes)
                return refuse(tr("标准输入上的密码太长"));
            line.append(char(c));
        }
        if (!ended && line.isEmpty())
            return refuse(tr("--password-stdin：标准输入没有给出密码"));
        // A line typed into a file on another system ends in CR LF.
        if (line.endsWith('\r'))
            line.chop(1);
        *password = QString::fromUtf8(line);
        fromStdin() = true;
        return true;
    }
    if (parser.isSet(argumentOption)) {
        *password = parser.value(argumentOption);
        return true;
    }
    *password = qEnvironmentVariable("MAROVIN_PASSWORD");
    return true;
}

bool CliProject::passwordFromStdin()
{
    return fromStdin();
}

bool CliProject::load(const QString &file, const QString &password,
                      ProjectFile::LoadResult *loaded)
{
    ProjectFile::LoadHooks hooks;
    bool asked = false;
    hooks.checkPassword = [&password, &asked](const QString &projectPassword) {
        asked = true;
        return projectPassword.isEmpty() || projectPassword == password;
    };
    ProjectFile::LoadResult result = ProjectFile::load(file, hooks);
    const ProjectFile::LoadStatus status = result.status;
    const QString error = result.error;
    if (loaded)
        *loaded = std::move(result);
    switch (status) {
    case ProjectFile::Loaded:
        // Pictures lie beside the file read, wherever the file says it was
        // saved.
        Config::instance()->setPictureFolder(QFileInfo(file).absolutePath());
        // Widget shapes settle their geometry through posted events.
        QCoreApplication::processEvents();
        return true;
    case ProjectFile::OpenFailed:
        failWith(tr("无法打开 %1：%2").arg(file, error));
        return false;
    case ProjectFile::NotAProject:
        // The reader's reason already says what the file is not.
        failWith(error.isEmpty() ? tr("%1 不是项目文件").arg(file)
                                        : tr("无法读取 %1：%2").arg(file, error));
        return false;
    case ProjectFile::Damaged:
        // The reason names the line and column.
        failWith(tr("%1 已损坏：%2").arg(file, error));
        return false;
    case ProjectFile::PasswordRefused:
        if (asked && password.isEmpty() && passwordFromStdin())
            failWith(tr("%1 受密码保护，但从标准输入读到的一行是空的").arg(file));
        else if (password.isEmpty() || !asked)
            failWith(tr("%1 受密码保护，请用 --password-stdin 或环境变量 "
                        "MAROVIN_PASSWORD 给出项目密码")
                         .arg(file));
        else
            failWith(tr("%1 的项目密码错误").arg(file));
        return false;
    }
    failWith(tr("无法读取 %1").arg(file));
    return false;
}
