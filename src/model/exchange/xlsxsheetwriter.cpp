#include "xlsxsheetwriter.h"

#include "services/fileerrortext.h"
#include "services/safefile.h"
#include "xlsxsheetreader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>


#include <minizip/unzip.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// The library reports its failures by printing "[ERROR]" lines to the
// standard error itself, with no way to turn that off, while the failure
// also comes back as its result, which becomes our own message. While one
// of these lives, file descriptor 2 leads to /dev/null; the old one comes
// back when it ends, on every way out. Where /dev/null cannot be opened or
// the descriptor not be moved, the standard error is left as it is.
class QuietStandardError
{
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (sink < 0)
            return;
        m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (m_saved >= 0 && ::dup2(sink, STDERR_FILENO) < 0) {
            ::close(m_saved);
            m_saved = -1;
        }
        ::close(sink);
    }
    ~QuietStandardError()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
    QuietStandardError(const QuietStandardError &) = delete;
    QuietStandardError &operator=(const QuietStandardError &) = delete;

private:
    int m_saved = -1;
};

// A1-style name of a cell, for messages.
QString cellName(int row, int column)
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

// The library writes control characters as "_xHHHH_" but leaves a literal
// "_xHHHH_" alone, which every reader would then decode; escaping its
// underscore keeps the text as it was.
QByteArray cellText(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text.toUtf8();
    static const QRegularExpression escape(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    QString escaped = text;
    escaped.replace(escape, QStringLiteral("_x005F_\\1"));
    return escaped.toUtf8();
}

struct ZipCloser
{
    void operator()(void *zip) const { unzClose(zip); }
};

// Whether an XML part ends its document: after its root's start tag
// (found in head, the part's first bytes) the part's last bytes (tail)
// close that root, or the root is empty and nothing follows it.
bool endsItsDocument(const QByteArray &head, QByteArray tail)
{
    int open = -1;
    for (int i = head.indexOf('<'); i >= 0 && i + 1 < head.size(); i = head.indexOf('<', i + 1)) {
        if (head.at(i + 1) != '?' && head.at(i + 1) != '!') {
            open = i;
            break;
        }
    }
    if (open < 0)
        return false;
    int nameEnd = open + 1;
    while (nameEnd < head.size() && !std::isspace(static_cast<unsigned char>(head.at(nameEnd)))
           && head.at(nameEnd) != '>' && head.at(nameEnd) != '/')
        ++nameEnd;
    const QByteArray name = head.mid(open + 1, nameEnd - open - 1);
    if (name.isEmpty() || nameEnd >= head.size())
        return false;
    while (!tail.isEmpty() && std::isspace(static_cast<unsigned char>(tail.back())))
        tail.chop(1);
    if (tail.endsWith("</" + name + '>'))
        return true;
    const int close = head.indexOf('>', nameEnd);
    return close > 0 && head.at(close - 1) == '/' && tail.endsWith(head.left(close + 1));
}

// Whether every part of the workbook at path is whole. The library misses
// failed writes of its scratch parts and then packs a part cut short into a
// well-formed archive: its checksum is right, but a part cut short does not
// end its document. Reading each part through also proves the archive whole.
bool partsAreWhole(const QByteArray &path)
{
    const std::unique_ptr<void, ZipCloser> zip(unzOpen64(path.constData()));
    if (!zip)
        return false;
    int at = unzGoToFirstFile(zip.get());
    if (at != UNZ_OK)
        return false;
    constexpr int Kept = 4096;
    for (; at == UNZ_OK; at = unzGoToNextFile(zip.get())) {
        if (unzOpenCurrentFile(zip.get()) != UNZ_OK)
            return false;
        QByteArray head;
        QByteArray tail;
        char buffer[65536];
        int count = 0;
        while ((count = unzReadCurrentFile(zip.get(), buffer, sizeof buffer)) > 0) {
            if (head.size() < Kept)
                head.append(buffer, std::min(count, Kept - head.size()));
            tail.append(buffer, count);
            if (tail.size() > Kept)
                tail.remove(0, tail.size() - Kept);
        }
        if (unzCloseCurrentFile(zip.get()) != UNZ_OK || count < 0)
            return false;
        if (!endsItsDocument(head, tail))
            return false;
    }
    return at == UNZ_END_OF_LIST_OF_FILE;
}

// Why the library failed, in the interface language. Its own texts name
// its internals ("Error in zip file operation"); the system's error number
// it leaves behind says what the user can act on, a full disk above all.
// The library misses some failed writes and often leaves no error number
// behind; what fails them is a full disk or a limit on file sizes.
QString scratchCause(const QByteArray &folder, int systemError)
{
    const QString system = FileErrorText::sentence(systemError);
    if (!system.isEmpty())
        return system;
    struct statvfs disk {};
    if (::statvfs(folder.constData(), &disk) == 0
        && quint64(disk.f_bavail) * disk.f_frsize < 64 * 1024)
        return FileErrorText::sentence(ENOSPC);
    rlimit size {};
    if (::getrlimit(RLIMIT_FSIZE, &size) == 0 && size.rlim_cur != RLIM_INFINITY)
        return FileErrorText::sentence(EFBIG);
    return QString();
}

QString libraryReason(lxw_error code, const QByteArray &folder, int systemError)
{
    const QString cause = scratchCause(folder, systemError);
    if (!cause.isEmpty())
        return cause;
    switch (code) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return XlsxSheetWriter::tr("内存不足");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
        return XlsxSheetWriter::tr("无法创建临时文件");
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return XlsxSheetWriter::tr("无法写入临时文件");
    default:
        return QString::fromUtf8(lxw_strerror(code));
    }
}

// The library's part: sheet into a workbook at path. False when the
// workbook could not be made at all; otherwise *result holds the first
// failure, or LXW_NO_ERROR. *systemError: the error number the system left
// behind, 0 if none; it means something only where something failed.
bool buildWorkbook(const QByteArray &path, lxw_workbook_options *options, const Sheet &sheet,
                   lxw_error *result, int *systemError)
{
    errno = 0;
    const QuietStandardError quiet;
    lxw_workbook *workbook = workbook_new_opt(path.constData(), options);
    if (!workbook)
        return false;
    lxw_worksheet *worksheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format *format = workbook_add_format(workbook);
    if (!worksheet || !format) {
        workbook_close(workbook);
        return false;
    }
    format_set_align(format, LXW_ALIGN_LEFT);
    format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);

    *result = LXW_NO_ERROR;
    for (const Sheet::Range &range : sheet.merges) {
        if (range.firstRow == range.lastRow && range.firstColumn == range.lastColumn)
            continue;
        const QByteArray text = cellText(sheet.cell(range.firstRow, range.firstColumn));
        *result = worksheet_merge_range(worksheet, lxw_row_t(range.firstRow),
                                        lxw_col_t(range.firstColumn), lxw_row_t(range.lastRow),
                                        lxw_col_t(range.lastColumn), text.constData(), format);
        if (*result != LXW_NO_ERROR)
            break;
    }
    for (int row = 0; row < sheet.rowCount() && *result == LXW_NO_ERROR; ++row) {
        const QStringList &cells = sheet.rows.at(row);
        for (int column = 0; column < cells.size(); ++column) {
            const QByteArray text = cellText(cells.at(column));
            // An empty text is written as a blank, formatted cell.
            *result = worksheet_write_string(worksheet, lxw_row_t(row), lxw_col_t(column),
                                             text.constData(), format);
            if (*result != LXW_NO_ERROR)
                break;
        }
    }
    const lxw_error closed = workbook_close(workbook);
    *systemError = errno;
    if (*result == LXW_NO_ERROR)
        *result = closed;
    return true;
}

} // namespace

bool XlsxSheetWriter::writeFile(const QString &fileName, const Sheet &sheet, QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (sheet.rowCount() > XlsxSheetReader::MaxRows
        || sheet.columnCount() > XlsxSheetReader::MaxColumns)
        return fail(tr("表格超过%1行或%2列，无法写入xlsx文件。")
                        .arg(XlsxSheetReader::MaxRows)
                        .arg(XlsxSheetReader::MaxColumns));
    for (int row = 0; row < sheet.rowCount(); ++row) {
        const QStringList &cells = sheet.rows.at(row);
        for (int column = 0; column < cells.size(); ++column) {
            if (cells.at(column).size() > MaxCellText)
                return fail(tr("单元格%1的文字超过%2个字符，无法写入xlsx文件。")
                                .arg(cellName(row, column))
                                .arg(MaxCellText));
        }
    }

    // The library writes only to a named file of its own choosing, so it
    // works in a scratch folder and the result is copied over in one piece.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(tr("无法创建临时文件夹：%1").arg(FileErrorText::reason(scratch.errorString())));
    const QString scratchFile = scratch.filePath(QStringLiteral("sheet.xlsx"));
    const QByteArray scratchPath = QFile::encodeName(scratchFile);
    const QByteArray scratchFolder = QFile::encodeName(scratch.path());

    lxw_workbook_options options = {};
    options.tmpdir = const_cast<char *>(scratchFolder.constData());
    // Every library call sits in the quiet stretch; the messages are ours.
    lxw_error result = LXW_NO_ERROR;
    int systemError = 0;
    if (!buildWorkbook(scratchPath, &options, sheet, &result, &systemError))
        return fail(tr("无法写入xlsx工作簿：%1")
                        .arg(libraryReason(LXW_ERROR_CREATING_XLSX_FILE, scratchFolder, errno)));
    if (result != LXW_NO_ERROR)
        return fail(tr("无法写入xlsx工作簿：%1")
                        .arg(libraryReason(result, scratchFolder, systemError)));

    if (!partsAreWhole(scratchPath)) {
        // The write the library missed left its cause behind.
        const QString cause = scratchCause(scratchFolder, systemError);
        return fail(tr("无法写入xlsx工作簿：%1")
                        .arg(cause.isEmpty() ? tr("临时文件不完整") : cause));
    }
    QFile built(scratchFile);
    if (!built.open(QIODevice::ReadOnly))
        return fail(tr("无法写入xlsx工作簿：%1").arg(FileErrorText::reason(built)));
    const QByteArray bytes = built.readAll();
    // Read whole, or the copy would be cut short where the scratch file is.
    if (bytes.size() != built.size())
        return fail(tr("无法写入xlsx工作簿：%1").arg(FileErrorText::reason(built)));
    QString reason;
    if (!SafeFile::write(fileName, bytes, &reason))
        return fail(SafeFile::failureMessage(fileName, reason));
    return true;
}
