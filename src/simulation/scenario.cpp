#include "scenario.h"

#include "model/exchange/csvtable.h"
#include "services/fileerrortext.h"
#include "services/safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QByteArray Utf8Mark("\xEF\xBB\xBF");

struct ActionWord
{
    Scenario::Action action;
    const char *key;
};

const ActionWord ActionWords[] = {
    {Scenario::Set, "set"},
    {Scenario::Press, "press"},
    {Scenario::Release, "release"},
    {Scenario::Click, "click"},
    {Scenario::Wait, "wait"},
    {Scenario::Expect, "expect"},
    {Scenario::ExpectScreen, "expect-screen"},
    {Scenario::Snapshot, "snapshot"},
};

const QStringList &headerCells()
{
    static const QStringList cells {QStringLiteral("time"), QStringLiteral("action"),
                                    QStringLiteral("target"), QStringLiteral("value")};
    return cells;
}

// A spreadsheet pads a row to the widest one with empty cells.
QStringList withoutEmptyTail(QStringList cells)
{
    while (!cells.isEmpty() && cells.last().trimmed().isEmpty())
        cells.removeLast();
    return cells;
}

// The name must stay a name inside the output folder: no separator, no
// leading dot (hidden, or a way up), nothing a listing would not show.
bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.toUtf8().size() > 255)
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20
            || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

// Seconds as written in the time column, in milliseconds; -1 for anything
// else. Digits only: no sign, no exponent, nothing a locale would read
// differently.
qint64 parseTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,9})(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return -1;
    qint64 msec = match.captured(1).toLongLong() * 1000;
    // Rounded half up at the millisecond; what lies beyond is read only
    // for that.
    const QString fraction = (match.captured(2) + QStringLiteral("0000")).left(4);
    msec += fraction.left(3).toInt() + (fraction.at(3) >= QLatin1Char('5') ? 1 : 0);
    return msec;
}

} // namespace

QString Scenario::actionKey(Action action)
{
    for (const ActionWord &word : ActionWords) {
        if (word.action == action)
            return QString::fromLatin1(word.key);
    }
    return QString();
}

bool Scenario::actionFromKey(const QString &key, Action *action)
{
    for (const ActionWord &word : ActionWords) {
        if (key.compare(QLatin1String(word.key), Qt::CaseInsensitive) == 0) {
            *action = word.action;
            return true;
        }
    }
    return false;
}

QStringList Scenario::actionKeys()
{
    QStringList keys;
    for (const ActionWord &word : ActionWords)
        keys << QString::fromLatin1(word.key);
    return keys;
}

QString Scenario::timeText(qint64 msec)
{
    QString text = QString::number(msec / 1000);
    const qint64 rest = msec % 1000;
    if (rest != 0) {
        QString fraction = QStringLiteral("%1").arg(rest, 3, 10, QLatin1Char('0'));
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
        text += QLatin1Char('.') + fraction;
    }
    return text;
}

QString Scenario::snapshotFile(const Step &step)
{
    return step.value.isEmpty() ? QStringLiteral("snapshot-%1.png").arg(step.line) : step.value;
}

bool Scenario::read(const QString &path, Scenario *scenario, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("无法打开 %1：%2").arg(path, FileErrorText::reason(file));
        return false;
    }
    // The file may grow between a look at its size and the read.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) {
        *error = tr("%1 太大（最多 %2 MB）").arg(path).arg(MaxFileBytes / (1024 * 1024));
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        *error = tr("无法读取 %1：%2").arg(path, FileErrorText::reason(file));
        return false;
    }
    QString why;
    if (!parse(bytes, scenario, &why)) {
        *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}

bool Scenario::parse(const QByteArray &bytes, Scenario *scenario, QString *error)
{
    if (bytes.size() > MaxFileBytes) {
        *error = tr("文件太大（最多 %1 MB）").arg(MaxFileBytes / (1024 * 1024));
        return false;
    }
    bool undecodable = false;
    const QString text = CsvTable::decode(bytes, &undecodable);
    if (undecodable) {
        *error = tr("文件既不是 UTF-8 也不是 GBK 文本");
        return false;
    }

    Scenario result;
    QVector<CsvTable::Field> fields;
    qsizetype position = 0;
    int line = 1;
    bool headerSeen = false;
    qint64 previous = 0;
    while (position < text.size()) {
        const int rowLine = line;
        int lineEnds = 0;
        if (!CsvTable::readRecord(text, &position, &fields, &lineEnds)) {
            *error = tr("第 %1 行：引号没有闭合").arg(rowLine + lineEnds);
            return false;
        }
        line += lineEnds;
        QStringList cells;
        for (const CsvTable::Field &field : qAsConst(fields))
            cells << field.text;
        cells = withoutEmptyTail(cells);
        if (cells.isEmpty() || cells.first().trimmed().startsWith(QLatin1Char('#')))
            continue;
        if (!headerSeen) {
            QStringList words;
            for (const QString &cell : qAsConst(cells))
                words << cell.trimmed().toLower();
            if (words != headerCells()) {
                *error = tr("第 %1 行：第一行应为标题行“%2”")
                             .arg(rowLine)
                             .arg(headerCells().join(QLatin1Char(',')));
                return false;
            }
            headerSeen = true;
            continue;
        }
        if (result.steps.size() == MaxSteps) {
            *error = tr("第 %1 行：步骤太多（最多 %2 步）").arg(rowLine).arg(MaxSteps);
            return false;
        }
        Step step;
        if (!readStep(cells, rowLine, previous, &step, error))
            return false;
        previous = step.msec;
        result.steps.append(step);
    }
    if (!headerSeen) {
        *error = tr("文件是空的，缺少标题行“%1”").arg(headerCells().join(QLatin1Char(',')));
        return false;
    }
    *scenario = std::move(result);
    return true;
}

bool Scenario::readStep(const QStringList &cells, int line, qint64 previous, Step *step,
                        QString *error)
{
    const auto fail = [error, line](const QString &message) {
        *error = tr("第 %1 行：%2").arg(line).arg(message);
        return false;
    };
    if (cells.size() > headerCells().size())
        return fail(tr("多余的列：%1").arg(cells.mid(headerCells().size()).join(QLatin1Char(','))));

    step->line = line;
    const QString timeCell = cells.value(0).trimmed();
    if (timeCell.isEmpty()) {
        step->msec = previous;
    } else {
        step->msec = parseTime(timeCell);
        if (step->msec < 0)
            return fail(tr("时间“%1”不是秒数").arg(timeCell));
        if (step->msec > MaxMsec)
            return fail(tr("时间 %1 超过上限 %2 秒").arg(timeCell).arg(MaxMsec / 1000));
        if (step->msec < previous)
            return fail(tr("时间 %1 早于上一行的 %2").arg(timeCell, timeText(previous)));
    }

    const QString actionCell = cells.value(1).trimmed();
    if (!actionFromKey(actionCell, &step->action))
        return fail(actionCell.isEmpty()
                        ? tr("缺少动作（%1）").arg(actionKeys().join(QStringLiteral(", ")))
                        : tr("未知动作“%1”（可用的动作：%2）")
                              .arg(actionCell, actionKeys().join(QStringLiteral(", "))));
    step->target = cells.value(2).trimmed();
    step->value = cells.value(3);

    // A value where none is taken most likely means the columns slipped;
    // refused rather than ignored.
    const QString key = actionKey(step->action);
    switch (step->action) {
    case Set:
    case Expect:
        if (step->target.isEmpty())
            return fail(tr("%1 需要目标").arg(key));
        break;
    case Press:
    case Release:
    case Click:
    case ExpectScreen:
        if (step->target.isEmpty())
            return fail(tr("%1 需要目标").arg(key));
        if (!step->value.trimmed().isEmpty())
            return fail(tr("%1 不接受值").arg(key));
        step->value.clear();
        break;
    case Wait:
        if (!step->target.isEmpty() || !step->value.trimmed().isEmpty())
            return fail(tr("wait 不接受目标和值"));
        step->value.clear();
        break;
    case Snapshot:
        if (!step->target.isEmpty())
            return fail(tr("snapshot 不接受目标，图片文件名写在值一列"));
        step->value = step->value.trimmed();
        if (!step->value.isEmpty() && !isPlainFileName(step->value))
            return fail(tr("图片文件名“%1”不能含路径，也不能以点开头").arg(step->value));
        break;
    }
    return true;
}

QByteArray Scenario::bytes() const
{
    QString text = headerCells().join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (const Step &step : steps) {
        text += timeText(step.msec) + QLatin1Char(',') + actionKey(step.action) + QLatin1Char(',');
        CsvTable::appendField(&text, step.target);
        text += QLatin1Char(',');
        CsvTable::appendField(&text, step.value);
        text += QLatin1String("\r\n");
    }
    return Utf8Mark + text.toUtf8();
}

bool Scenario::write(const QString &path, QString *error) const
{
    QString why;
    if (!SafeFile::write(path, bytes(), &why)) {
        *error = SafeFile::failureMessage(path, why);
        return false;
    }
    return true;
}
