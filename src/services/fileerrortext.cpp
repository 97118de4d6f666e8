#include "fileerrortext.h"

#include <QFileDevice>

#include <cerrno>
#include <cstring>

namespace {

// The causes we name ourselves. EISDIR stands for the toolkit's own
// texts about folders as well.
const int NamedErrors[] = {ENOENT, EACCES, EPERM, ENOSPC, EDQUOT, EISDIR, EROFS, EFBIG};

// What the toolkit says in its own words, in English whatever the locale:
// for a folder in place of a file, and for the causes it does not leave to
// the system to describe.
const struct {
    const char *text;
    int error;
} ToolkitTexts[] = {
    {"file to open is a directory", EISDIR},
    {"Filename refers to a directory", EISDIR},
    {"No such file or directory", ENOENT},
    {"Permission denied", EACCES},
    {"No space left on device", ENOSPC},
};

QString systemText(int error)
{
    // The toolkit takes its texts from the same call in the same locale, so
    // they compare equal.
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString FileErrorText::sentence(int systemError)
{
    switch (systemError) {
    case ENOENT:
        return tr("文件或文件夹不存在");
    case EACCES:
    case EPERM:
        return tr("没有访问权限");
    case ENOSPC:
    case EDQUOT:
        return tr("磁盘已满");
    case EISDIR:
        return tr("这是一个文件夹，不是文件");
    case EROFS:
        return tr("文件系统是只读的");
    case EFBIG:
        return tr("文件超出了允许的大小");
    default:
        return QString();
    }
}

QString FileErrorText::reason(const QString &systemText, int systemError)
{
    QString ours = sentence(systemError);
    if (!ours.isEmpty())
        return ours;
    for (const auto &known : ToolkitTexts) {
        if (systemText.contains(QLatin1String(known.text), Qt::CaseInsensitive))
            return sentence(known.error);
    }
    for (int error : NamedErrors) {
        const QString text = ::systemText(error);
        if (!text.isEmpty() && systemText.contains(text, Qt::CaseInsensitive))
            return sentence(error);
    }
    return systemText;
}

QString FileErrorText::reason(const QFileDevice &file)
{
    return reason(file.errorString());
}
