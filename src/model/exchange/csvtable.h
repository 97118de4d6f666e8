#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

#include <type_traits>
#include <utility>

// Comma-separated text with the usual quoting: a field holding a comma, a
// quote or a line break is enclosed in quotes, and a quote inside it is
// doubled. A quote is special only where a field begins; elsewhere it is
// part of the text, as spreadsheet programs write it. Reading accepts LF
// and CR LF line ends and gives back exactly what format() was given.
//
// Cells a spreadsheet would take for a formula (beginning with "=", "+",
// "-" or "@") are written behind an apostrophe, which spreadsheets show as
// text; a cell that really begins with apostrophes before one of those
// characters gets one more, so that reading takes exactly one off again.
class CsvTable
{
public:
    struct Field
    {
        QString text; // quotes and the formula guard taken off
        bool quoted = false; // it stood in quotes, even empty ones
    };

    struct Table
    {
        QVector<QStringList> rows;
        // Per row: whether its field in read()'s flaggedColumn (the first
        // unless told) stood in quotes.
        QVector<bool> quotedFirst;
        // The line (counted from 1) on which a quoted field opens that the
        // text never closes; 0 when every quote is closed. The rows then
        // end with the one that holds that field.
        int openQuoteLine = 0;
    };

    // The text of a comma file: UTF-8 when the bytes start with its byte
    // order mark or are valid UTF-8 (as every ASCII file is), else GBK.
    // *undecodable tells that they are valid in neither; the text is then
    // the chosen encoding's best reading.
    static QString decode(const QByteArray &bytes, bool *undecodable);
    // Whether decode() reads bytes, the GBK encoding of text (which GBK
    // holds whole), as text; without decoding all of bytes where that is
    // not needed. What the writer of a GBK file asks before it trusts it.
    static bool gbkReadsBack(const QByteArray &bytes, const QString &text);
    // False when bytes are surely not UTF-8 (a byte that cannot begin a
    // sequence, a sequence cut short); true leaves the full check to decode.
    static bool mayBeUtf8(const QByteArray &bytes);

    // A final line end does not start another row.
    static Table read(QStringView text, int flaggedColumn = 0);
    static QVector<QStringList> parse(const QString &text) { return read(text).rows; }

    // Reads the record that starts at *position into *fields and moves
    // *position past its line end; *lineEnds counts the line ends passed,
    // those inside quotes included. False when a quoted field runs to the
    // end of the text; *lineEnds then counts those before its opening
    // quote.
    static bool readRecord(QStringView text, qsizetype *position, QVector<Field> *fields,
                           int *lineEnds);

    // Every row ends with CR LF, which spreadsheet programs expect.
    static QString format(const QVector<QStringList> &rows);
    // Appends field guarded and, where it needs them, in quotes;
    // forceQuotes quotes it anyway (an empty field that must be told apart
    // from an empty cell).
    static void appendField(QString *out, QStringView field, bool forceQuotes = false)
    {
        appendFieldTo(out, field, forceQuotes);
    }
    // The same into anything that appends as a QString does.
    template <typename Out>
    static void appendFieldTo(Out *out, QStringView field, bool forceQuotes = false);

    template <typename, typename = void>
    struct WritesUnquoted : std::false_type
    {
    };
    template <typename Out>
    struct WritesUnquoted<Out, std::void_t<decltype(std::declval<Out &>().appendUnquoted(
                                   static_cast<const QChar *>(nullptr), 0))>> : std::true_type
    {
    };

    // The formula guard alone.
    static bool needsGuard(QStringView cell);
    static QStringView unguarded(QStringView cell);
};

template <typename Out>
void CsvTable::appendFieldTo(Out *out, QStringView field, bool forceQuotes)
{
    const bool guard = needsGuard(field);
    // A writer that can look for the characters needing quotes while it
    // writes saves a pass over the field.
    if constexpr (WritesUnquoted<Out>::value) {
        if (!forceQuotes && !guard && out->appendUnquoted(field.data(), int(field.size())))
            return;
    }
    bool quotes = forceQuotes;
    for (const QChar c : field) {
        // All four lie at or below the comma, where few other characters do.
        const ushort u = c.unicode();
        if (u <= ',' && (u == ',' || u == '"' || u == '\n' || u == '\r')) {
            quotes = true;
            break;
        }
    }
    if (!quotes) {
        if (guard)
            out->append(QLatin1Char('\''));
        out->append(field.data(), int(field.size()));
        return;
    }
    out->append(QLatin1Char('"'));
    if (guard)
        out->append(QLatin1Char('\''));
    const QChar *run = field.data();
    const QChar *const end = run + field.size();
    for (const QChar *p = run; p < end; ++p) {
        if (*p == QLatin1Char('"')) {
            out->append(run, int(p + 1 - run));
            run = p; // the quote goes out twice
        }
    }
    out->append(run, int(end - run));
    out->append(QLatin1Char('"'));
}
