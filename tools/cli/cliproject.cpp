#include "cliproject.h"

#include <cstdio>

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

bool CliProject::load(const QString &file, const QString &password,
                      ProjectFile::LoadResult *loaded)
{
    ProjectFile::LoadHooks hooks;
    bool asked = false;
    hooks.checkPassword = [&password, &asked](const QString &projectPassword) {
        asked = true;
        return projectPassword.isEmpty() || projectPassword == password;
    };
    const ProjectFile::LoadResult result = ProjectFile::load(file, hooks);
    if (loaded)
        *loaded = result;
    switch (result.status) {
    case ProjectFile::Loaded:
        // Widget shapes settle their geometry through posted events.
        QCoreApplication::processEvents();
        return true;
    case ProjectFile::OpenFailed:
        failWith(tr("无法打开 %1：%2").arg(file, result.error));
        return false;
    case ProjectFile::NotAProject:
        // The reader's reason already says what the file is not.
        failWith(result.error.isEmpty() ? tr("%1 不是项目文件").arg(file)
                                        : tr("无法读取 %1：%2").arg(file, result.error));
        return false;
    case ProjectFile::Damaged:
        // The reason names the line and column.
        failWith(tr("%1 已损坏：%2").arg(file, result.error));
        return false;
    case ProjectFile::PasswordRefused:
        failWith(password.isEmpty() || !asked
                     ? tr("%1 受密码保护，请用 --password 给出项目密码").arg(file)
                     : tr("%1 的项目密码错误").arg(file));
        return false;
    }
    failWith(tr("无法读取 %1").arg(file));
    return false;
}
