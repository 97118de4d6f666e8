#pragma once

#include "addresstextfile.h"
#include "model/taglib/texttagrecord.h"
#include "sheet.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// Moves the tag libraries to and from spreadsheet and text files, without
// widgets, for the library dialogs and the command-line tool alike.
//
// Address tags travel as rows of the six columns of the address tag model;
// text tags as TextTagRecords in table order. The file kind follows the
// suffix: .xlsx (and, for import, .xls) spreadsheets, .csv/.txt text files
// (GBK variable lists for address tags, UTF-8 comma files for text tags).
// Imports read the whole file before they answer and change nothing, so a
// caller replaces its library only on success; every failure comes with a
// message for the user.
class QStandardItemModel;

class TagExchange
{
    Q_DECLARE_TR_FUNCTIONS(TagExchange)

public:
    enum FileKind { UnknownFile, XlsxFile, XlsFile, TextFile };
    static FileKind fileKind(const QString &fileName);

    // The first worksheet of an .xlsx or .xls file; which of the two is
    // decided by the file's first bytes, so a misnamed file still reads.
    // *binary (when given) tells whether it was an .xls file.
    static bool readSheet(const QString &fileName, Sheet *sheet, QString *error,
                          bool *binary = nullptr);

    // Address tags.
    struct AddressImport
    {
        QVector<QStringList> rows;
        // Text files only: lines given up for having too few fields.
        QList<int> skippedLines;
        // What the user should hear about an import that went through:
        // skipped lines, an encoding neither UTF-8 nor GBK. Translated.
        QStringList warnings;
    };
    // The sheet's rows up to its last non-empty one or the last row a merge
    // reaches, whichever is lower down; blank rows below hold no tag.
    static int usedRowCount(const Sheet &sheet);
    // Header row, then one tag per row up to usedRowCount(); columns beyond
    // the sixth are ignored and missing ones read as empty texts. An empty
    // device cell in a row holding anything names the panel, as an empty
    // device field of a variable list does.
    // The first row is the header unless it holds an address
    // (AddressTextFile::looksLikeTag); then it is the first tag and
    // headerless, when given, is set.
    static QVector<QStringList> addressRowsFromSheet(const Sheet &sheet,
                                                     bool *headerless = nullptr);
    static Sheet addressSheet(const QStringList &header, const QVector<QStringList> &rows);
    static bool importAddressTags(const QString &fileName, AddressImport *result, QString *error);
    static bool exportAddressTags(const QString &fileName, const QStringList &header,
                                  const QVector<QStringList> &rows, QString *error);
    // "一些行少于六个字段…": one message naming every skipped line; empty
    // when none was skipped.
    static QString skippedLinesMessage(const QList<int> &lines);

    // The header texts and rows of Config::instance()'s address tag model.
    static QStringList addressHeader();
    static QVector<QStringList> addressRows();
    static QVector<QStringList> addressRows(const QStandardItemModel *model);
    // Replaces every row of model, an address tag model or a copy of one.
    static void setAddressRows(QStandardItemModel *model, const QVector<QStringList> &rows);

    // Text tags. A tag covers its first row and every row below that its
    // column-A merge covers, or (with emptyNameContinues, for sheets whose
    // name cells are not merged: comma files, and spreadsheets from writers
    // that never merge) every following row whose first cell is empty. Each
    // state has one text per column after the first, over the sheet's
    // whole width.
    static QVector<TextTagRecord> textTagsFromSheet(const Sheet &sheet, bool emptyNameContinues);
    // True when a merge in column A spans rows: then the merges, not empty
    // names, say where each tag of the sheet ends.
    static bool mergesNames(const Sheet &sheet);
    // Where a text tag table keeps its names, and whether it starts with a
    // header row at all.
    struct TextLayout
    {
        int nameColumn = 0;
        bool header = true;
        // A cell of the header names the name column.
        bool named = false;
    };
    // What a table's first row says of its layout. It is a header when one
    // of its cells names the tag name column (isNameHeading()) or a
    // language of the project, or when it holds nothing; the names stand
    // in the column so headed, else in the first.
    static TextLayout textLayout(const QStringList &firstRow, const QStringList &languages);
    // "标签名称" or "名称" in either interface language, in any letter case.
    static bool isNameHeading(const QString &cell);
    // The sheet in the form textTagsFromSheet() reads: a header row first
    // (an empty one when the sheet has none), the names in column A, the
    // merges moved along.
    static Sheet arrangeTextSheet(const Sheet &sheet, const TextLayout &layout);
    // One row per state, the name in the tag's first row only, column A
    // merged over the tag's rows when it has more than one state.
    static Sheet textTagSheet(const QStringList &header, const QVector<TextTagRecord> &tags);
    // The UTF-8 comma file of the text library, with byte order mark. A
    // tag whose name is empty starts with a quoted empty name, which tells
    // it from the next state of the tag above.
    static QByteArray textCsv(const QStringList &header, const QVector<TextTagRecord> &tags);
    struct TextCsv
    {
        QStringList header;
        QVector<TextTagRecord> tags;
        int openQuoteLine = 0; // see CsvTable::Table
        bool undecodable = false; // see CsvTable::decode
        TextLayout layout;
    };
    // Reads UTF-8 or GBK (CsvTable::decode). The texts keep the file's
    // column order. Without languages the first line is the header and the
    // names stand first; with them, textLayout() decides, and the header
    // and tags come back with the names first.
    static TextCsv readTextCsv(const QByteArray &bytes, const QStringList *languages = nullptr);
    static QVector<TextTagRecord> parseTextCsv(const QByteArray &bytes)
    {
        return readTextCsv(bytes).tags;
    }
    // The tags with their texts in the order of languages, each language
    // taking the column its name heads (header[0] heading the names) and,
    // where no column bears its name, its own position unless a named
    // language took that. When no column bears a language's name the tags
    // come back as they are. Names that are empty or repeated among the
    // languages are matched by position only.
    static QVector<TextTagRecord> matchLanguages(const QStringList &header,
                                                 const QVector<TextTagRecord> &tags,
                                                 const QStringList &languages);
    // The text columns (counted from 0 after the name) that no language
    // takes and that hold a heading or a text: what an import leaves out.
    static QList<int> droppedColumns(const QStringList &header, const QVector<TextTagRecord> &tags,
                                     const QStringList &languages);
    // warnings (when given) receives what the user should hear about an
    // import that went through.
    static bool importTextTags(const QString &fileName, QVector<TextTagRecord> *tags,
                               QString *error, QStringList *warnings = nullptr);
    static bool exportTextTags(const QString &fileName, const QStringList &header,
                               const QVector<TextTagRecord> &tags, QString *error);
    // "标签名称" followed by the project's language names.
    static QStringList textHeader();

private:
    static bool readFileBytes(const QString &fileName, QByteArray *bytes, QString *error);
    // Reads and decodes (CsvTable::decode()) a text file, refusing one
    // without content.
    static bool readTextFile(const QString &fileName, QString *text, bool *undecodable,
                             QString *error);
    static TextCsv readDecodedTextCsv(const QString &text, bool undecodable,
                                      const QStringList *languages);
    static QString openQuoteMessage(const QString &fileName, int line);
    static QString undecodableMessage(const QString &fileName);
    static QString headerlessAddressMessage(const QString &fileName);
    static QString noTagsMessage(const QString &fileName);
    // False, with the message, when the header names no name column and
    // its first column is a language's.
    static bool namesFound(const QString &fileName, const QStringList &firstRow,
                           const TextLayout &layout, const QStringList &languages,
                           QString *error);
    // The first worksheet, refused when no cell of it holds anything.
    static bool readFilledSheet(const QString &fileName, Sheet *sheet, QString *error);
    // The text column each language takes (-1 for none); *named tells
    // whether any took its column by name. See matchLanguages().
    static QVector<int> languageSources(const QStringList &header, const QStringList &languages,
                                        bool *named);
    static QString droppedColumnsMessage(const QStringList &header, const QList<int> &columns,
                                         const TextLayout &layout);
    static bool writeFileBytes(const QString &fileName, const QByteArray &bytes, QString *error);
};
