#include "csvtable.h"

#include <QTextCodec>

namespace {

bool isFormulaStart(QChar c)
{
    const ushort u = c.unicode();
    return u == '=' || u == '+' || u == '-' || u == '@';
}

} // namespace

namespace {

const QByteArray utf8Mark("\xEF\xBB\xBF");

bool hasUtf16Mark(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QTextCodec *gbkCodec()
{
    static QTextCodec *const codec = QTextCodec::codecForName("GBK");
    return codec;
}

// Decoded in pieces, GBK gives what it gives decoded whole wherever a
// piece starts after a byte below 0x40: such a byte is a character of its
// own, never part of a two-byte one.
int lastSyncPoint(const QByteArray &bytes)
{
    for (int i = bytes.size() - 1; i >= 0; --i) {
        if (uchar(bytes.at(i)) < 0x40)
            return i;
    }
    return -1;
}

} // namespace

bool CsvTable::mayBeUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const auto *const end = p + bytes.size();
    while (p < end) {
        const uchar c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        const int length = c >= 0xF5 ? 0 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (length == 0 || end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += length;
    }
    return true;
}

QString CsvTable::decode(const QByteArray &bytes, bool *undecodable)
{
    // "Unicode text" as spreadsheet programs save it: UTF-16 behind its mark.
    if (hasUtf16Mark(bytes)) {
        QTextCodec::ConverterState state;
        const QString text = QTextCodec::codecForName("UTF-16")->toUnicode(
            bytes.constData(), bytes.size(), &state);
        *undecodable = state.invalidChars != 0 || state.remainingChars != 0;
        return text;
    }
    const bool marked = bytes.startsWith(utf8Mark);
    // A GBK file shows itself at its first Chinese character; decoding the
    // rest of it as UTF-8 would only count the faults.
    if (marked || mayBeUtf8(bytes)) {
        const int skip = marked ? utf8Mark.size() : 0;
        QTextCodec::ConverterState state;
        const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(
            bytes.constData() + skip, bytes.size() - skip, &state);
        const bool valid = state.invalidChars == 0 && state.remainingChars == 0;
        if (valid || marked) {
            *undecodable = !valid;
            return text;
        }
    }
    // The GBK decoder reports nothing of what it could not read: a byte
    // sequence it cannot read becomes U+FFFD, which no GBK text holds, and
    // a lead byte at the very end is dropped, which only a reading that
    // encodes back to the same bytes shows.
    QTextCodec *gbk = gbkCodec();
    const QString gbkText = gbk->toUnicode(bytes);
    bool bad = gbkText.contains(QChar::ReplacementCharacter);
    if (!bad) {
        const QByteArray tail = bytes.mid(lastSyncPoint(bytes) + 1);
        bad = !tail.isEmpty() && gbk->fromUnicode(gbk->toUnicode(tail)) != tail;
    }
    *undecodable = bad;
    return gbkText;
}

bool CsvTable::gbkReadsBack(const QByteArray &bytes, const QString &text)
{
    bool undecodable = false;
    if (hasUtf16Mark(bytes) || bytes.startsWith(utf8Mark) || mayBeUtf8(bytes))
        return decode(bytes, &undecodable) == text;
    // Read as GBK. Its characters are one or two bytes each, so the bytes
    // of text that GBK encodes read back as text exactly when each distinct
    // character of it does.
    static const int BitsPerWord = 64;
    QVector<quint64> seen(0x10000 / BitsPerWord, 0);
    QString distinct;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x80)
            continue;
        if (c.isSurrogate())
            return decode(bytes, &undecodable) == text;
        quint64 &word = seen[u / BitsPerWord];
        const quint64 bit = quint64(1) << (u % BitsPerWord);
        if (!(word & bit)) {
            word |= bit;
            distinct.append(c);
        }
    }
    QTextCodec *gbk = gbkCodec();
    return gbk->toUnicode(gbk->fromUnicode(distinct)) == distinct;
}

bool CsvTable::needsGuard(QStringView cell)
{
    qsizetype i = 0;
    while (i < cell.size() && cell.at(i) == QLatin1Char('\''))
        ++i;
    return i < cell.size() && isFormulaStart(cell.at(i));
}

QStringView CsvTable::unguarded(QStringView cell)
{
    if (!cell.isEmpty() && cell.at(0) == QLatin1Char('\'') && needsGuard(cell.mid(1)))
        return cell.mid(1);
    return cell;
}

bool CsvTable::readRecord(QStringView text, qsizetype *position, QVector<Field> *fields,
                          int *lineEnds)
{
    fields->clear();
    *lineEnds = 0;
    const QChar *const begin = text.data();
    const QChar *const end = begin + text.size();
    const QChar *p = begin + *position;
    Field field;
    bool fieldStart = true;
    bool inQuotes = false;
    int lineEndsBeforeQuote = 0;
    const auto finishField = [&]() {
        if (!field.text.isEmpty()) {
            const QStringView bare = unguarded(field.text);
            if (bare.size() != field.text.size())
                field.text.remove(0, 1);
        }
        fields->append(std::move(field));
        field = Field();
        fieldStart = true;
    };
    while (p < end) {
        if (inQuotes) {
            const QChar *run = p;
            while (p < end && *p != QLatin1Char('"')) {
                if (*p == QLatin1Char('\n'))
                    ++*lineEnds;
                ++p;
            }
            field.text.append(run, int(p - run));
            if (p == end)
                break;
            if (p + 1 < end && p[1] == QLatin1Char('"')) {
                field.text.append(QLatin1Char('"'));
                p += 2;
            } else {
                inQuotes = false;
                ++p;
            }
            continue;
        }
        const QChar c = *p;
        if (c == QLatin1Char('"') && fieldStart) {
            inQuotes = true;
            lineEndsBeforeQuote = *lineEnds;
            field.quoted = true;
            fieldStart = false;
            ++p;
        } else if (c == QLatin1Char(',')) {
            finishField();
            ++p;
        } else if (c == QLatin1Char('\n')
                   || (c == QLatin1Char('\r') && p + 1 < end && p[1] == QLatin1Char('\n'))) {
            p += c == QLatin1Char('\r') ? 2 : 1;
            ++*lineEnds;
            finishField();
            *position = p - begin;
            return true;
        } else {
            // Up to the next character that could end the field; a quote
            // inside it is text.
            const QChar *run = p++;
            while (p < end && *p != QLatin1Char(',') && *p != QLatin1Char('\n')
                   && *p != QLatin1Char('\r'))
                ++p;
            field.text.append(run, int(p - run));
            fieldStart = false;
        }
    }
    finishField();
    *position = text.size();
    if (inQuotes)
        *lineEnds = lineEndsBeforeQuote;
    return !inQuotes;
}

CsvTable::Table CsvTable::read(QStringView text, int flaggedColumn)
{
    Table table;
    QVector<Field> fields;
    qsizetype position = 0;
    int line = 1;
    while (position < text.size()) {
        int lineEnds = 0;
        const bool closed = readRecord(text, &position, &fields, &lineEnds);
        QStringList row;
        row.reserve(fields.size());
        for (Field &field : fields)
            row.append(std::move(field.text));
        table.rows.append(row);
        table.quotedFirst.append(fields.value(flaggedColumn).quoted);
        if (!closed) {
            table.openQuoteLine = line + lineEnds;
            break;
        }
        line += lineEnds;
    }
    return table;
}

QString CsvTable::format(const QVector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (int column = 0; column < row.size(); ++column) {
            if (column > 0)
                text.append(QLatin1Char(','));
            appendField(&text, row.at(column));
        }
        text.append(QLatin1String("\r\n"));
    }
    return text;
}
