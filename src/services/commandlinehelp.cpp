#include "commandlinehelp.h"

#include <algorithm>

namespace {

// An entry wider than this puts its description on the next line, so one
// long synopsis does not push every description off to the right.
const int WidestColumn = 30;
const int Indent = 2;
const int Gap = 2;

bool isWide(uint c)
{
    return (c >= 0x1100 && c <= 0x115F) || c == 0x2329 || c == 0x232A
        || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3040 && c <= 0xA4CF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFE10 && c <= 0xFE19) || (c >= 0xFE30 && c <= 0xFE6F)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6)
        || (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x1F900 && c <= 0x1F9FF)
        || (c >= 0x20000 && c <= 0x3FFFD);
}

QString spaces(int n)
{
    return QString(std::max(n, 0), QLatin1Char(' '));
}

} // namespace

CommandLineHelp::CommandLineHelp(const QString &usage, const QString &description)
    : m_usage(usage)
    , m_description(description)
{
}

void CommandLineHelp::addSection(const QString &title, const QVector<Entry> &entries)
{
    m_sections.append({title, entries});
}

void CommandLineHelp::addOptions(const QList<QCommandLineOption> &options)
{
    QVector<Entry> entries;
    for (const QCommandLineOption &option : options) {
        if (!(option.flags() & QCommandLineOption::HiddenFromHelp))
            entries.append({optionNames(option), option.description()});
    }
    addSection(tr("选项："), entries);
}

void CommandLineHelp::addNote(const QString &text)
{
    m_notes.append(text);
}

QString CommandLineHelp::optionNames(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QStringLiteral(" <%1>").arg(option.valueName());
    return text;
}

QString CommandLineHelp::text() const
{
    int column = 0;
    for (const Section &section : m_sections) {
        for (const Entry &entry : section.entries) {
            const int width = displayWidth(entry.first);
            if (width <= WidestColumn)
                column = std::max(column, width);
        }
    }
    const QString continuation = spaces(Indent + column + Gap);

    // Further forms of the usage line up under the first, behind the
    // translated heading.
    const QString indent = spaces(displayWidth(tr("用法：%1").arg(QString())));
    QString usage = m_usage;
    usage.replace(QLatin1Char('\n'), QLatin1Char('\n') + indent);
    QString out = tr("用法：%1").arg(usage) + QLatin1Char('\n');
    if (!m_description.isEmpty())
        out += m_description + QLatin1Char('\n');
    for (const Section &section : m_sections) {
        out += QLatin1Char('\n') + section.title + QLatin1Char('\n');
        for (const Entry &entry : section.entries) {
            const int width = displayWidth(entry.first);
            out += spaces(Indent) + entry.first;
            if (entry.second.isEmpty()) {
                out += QLatin1Char('\n');
                continue;
            }
            const QStringList lines = entry.second.split(QLatin1Char('\n'));
            if (width > column) {
                out += QLatin1Char('\n');
                for (const QString &line : lines)
                    out += continuation + line + QLatin1Char('\n');
                continue;
            }
            out += spaces(column - width + Gap) + lines.first() + QLatin1Char('\n');
            for (int i = 1; i < lines.size(); ++i)
                out += continuation + lines.at(i) + QLatin1Char('\n');
        }
    }
    for (const QString &note : m_notes)
        out += QLatin1Char('\n') + note + QLatin1Char('\n');
    return out;
}

int CommandLineHelp::displayWidth(const QString &text)
{
    int width = 0;
    for (const uint c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing
            || category == QChar::Other_Format) {
            continue;
        }
        width += isWide(c) ? 2 : 1;
    }
    return width;
}

bool CommandLineHelp::wantsChinese(const QProcessEnvironment &environment)
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QString::fromLatin1(name));
        if (!value.isEmpty())
            return value.startsWith(QLatin1String("zh"));
    }
    return false;
}
