#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// The comma-separated, GBK-encoded variable list of the address library:
// a header line, then one tag per line as name, address without a blank
// ("D100"), a type description ("BOOL", "WORD", "DWORD" or
// "ARRAY[n] OF WORD"), device name, data format key and remark. Controller
// tools write the first three fields and the remark; the device and format
// fields are ours and are used only when both name something this project
// knows, so our own files read back exactly and foreign ones go to the panel.
//
// Rows are the six columns of the address tag model (Config::TagColumn).
// Device names and protocols come from Config::instance(), area names from
// BuiltinTables.
class AddressTextFile
{
    Q_DECLARE_TR_FUNCTIONS(AddressTextFile)

public:
    struct Import
    {
        QVector<QStringList> rows;
        // Lines (counted from 1, the header being line 1) that held fewer
        // than six fields and gave no row. Blank lines are passed over.
        QList<int> skippedLines;
        // The line on which a quoted field opens that the file never
        // closes, 0 when none; the rows then stop before it and are no
        // whole reading of the file.
        int openQuoteLine = 0;
        // The bytes are neither UTF-8 nor GBK (CsvTable::decode).
        bool undecodable = false;
        // The first line holds an address, so it is a tag, not a header.
        bool headerless = false;
    };

    // A first line or row is a header unless its address field holds a
    // digit: every address does, no heading does.
    static bool looksLikeTag(QStringView address);

    // Fields are read with the usual quoting; a line without quotes may
    // hold commas in its remark, which runs to the end of the line, as
    // controller tools write it.
    static Import parse(const QByteArray &bytes);
    // The same for bytes already decoded (CsvTable::decode()).
    static Import parseText(const QString &text, bool undecodable);
    // Fields that need it go in quotes and formula-like cells behind the
    // guard (CsvTable). GBK, or UTF-8 with its byte order mark for the rare
    // text whose GBK bytes would read as UTF-8. False with a message naming
    // the row (counted from 1) when a row holds text GBK cannot encode;
    // *bytes is then left as it was.
    static bool format(const QVector<QStringList> &rows, QByteArray *bytes, QString *error);

    // "D100" → "D 100": the blank goes after the longest area name of the
    // protocol that starts the text and leaves something behind it, else
    // after the first character. A text that already holds a blank, or has
    // fewer than two characters, is returned as it is.
    static QString insertAddressBlank(const QString &address, int protocol);
    // The description field for a data format key and length text.
    static QString typeDescription(const QString &format, const QString &length);
};
