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

// The width of a terminal that has not been told otherwise: no line of the
// help is wider.
const int LineWidth = 80;

// Punctuation that must not begin a line, and punctuation that must not
// end one.
bool closesPhrase(uint c)
{
    static const QString closing = QStringLiteral("，。、；：？！）」』》〉”’…");
    return c < 0x10000 && closing.contains(QChar(ushort(c)));
}

bool opensPhrase(uint c)
{
    static const QString opening = QStringLiteral("（「『《〈“‘");
    return c < 0x10000 && opening.contains(QChar(ushort(c)));
}

// line broken into lines of at most width columns: at spaces, and between
// wide characters, which Chinese writes without spaces. A word wider than
// width keeps its own line whole.
QStringList wrapped(const QString &line, int width)
{
    QStringList lines;
    QString current;
    int breakAt = -1; // where current may be broken
    bool breakDropsSpace = false;
    const QVector<uint> characters = line.toUcs4();
    uint previous = 0;
    // "[选项]" and "<文件>" are one word, however they are written.
    int bracketed = 0;
    for (const uint c : characters) {
        const QString character = QString::fromUcs4(&c, 1);
        if (c == '[' || c == '<')
            ++bracketed;
        else if ((c == ']' || c == '>') && bracketed > 0)
            --bracketed;
        if (bracketed > 0 && c != '[' && c != '<') {
            // no break inside
        } else if (c == ' ') {
            breakAt = current.size();
            breakDropsSpace = true;
        } else if (!current.isEmpty() && previous != ' ' && !opensPhrase(previous)
                   && ((isWide(c) && !closesPhrase(c))
                       || (isWide(previous) && QChar::isLetterOrNumber(c)))) {
            breakAt = current.size();
            breakDropsSpace = false;
        }
        current += character;
        previous = c;
        if (CommandLineHelp::displayWidth(current) > width && breakAt > 0) {
            const QString head = current.left(breakAt);
            // Spaces at the end of a line are nothing a terminal shows.
            int end = head.size();
            while (end > 0 && head.at(end - 1) == QLatin1Char(' '))
                --end;
            lines << head.left(end);
            current = current.mid(breakAt + (breakDropsSpace ? 1 : 0));
            breakAt = -1;
        }
    }
    lines << current;
    return lines;
}

// Every line of text wrapped to width.
QStringList wrappedLines(const QString &text, int width)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        lines += wrapped(line, width);
    return lines;
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
    // translated heading; a form too long for the line goes on indented.
    const int indent = displayWidth(tr("用法：%1").arg(QString()));
    QStringList usageLines;
    for (const QString &form : m_usage.split(QLatin1Char('\n'))) {
        const QStringList pieces = wrapped(form, LineWidth - indent - Indent);
        usageLines << pieces.first();
        for (int i = 1; i < pieces.size(); ++i)
            usageLines << spaces(Indent) + pieces.at(i);
    }
    QString out = tr("用法：%1").arg(usageLines.join(QLatin1Char('\n') + spaces(indent)))
        + QLatin1Char('\n');
    if (!m_description.isEmpty())
        out += wrappedLines(m_description, LineWidth).join(QLatin1Char('\n')) + QLatin1Char('\n');
    for (const Section &section : m_sections) {
        out += QLatin1Char('\n') + section.title + QLatin1Char('\n');
        for (const Entry &entry : section.entries) {
            const int width = displayWidth(entry.first);
            out += spaces(Indent) + entry.first;
            if (entry.second.isEmpty()) {
                out += QLatin1Char('\n');
                continue;
            }
            const QStringList lines = wrappedLines(entry.second, LineWidth - continuation.size());
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
        out += QLatin1Char('\n') + wrappedLines(note, LineWidth).join(QLatin1Char('\n'))
            + QLatin1Char('\n');
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
