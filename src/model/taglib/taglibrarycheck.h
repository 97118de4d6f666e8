#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

class QStandardItemModel;
class TextLib;
struct AddressPara;

// What the tag libraries' 确定 refuses, without widgets, so that the
// library dialogs and the command-line import refuse the same tags with
// the same words. Rows are table rows counted from 0; the messages name
// them counted from 1.
class TagLibraryCheck
{
    Q_DECLARE_TR_FUNCTIONS(TagLibraryCheck)

public:
    struct Problem
    {
        int row = -1;
        QString message; // translated
    };

    // Empty (or blank) and repeated names of Config::instance()'s address
    // tags, in row order; at most limit of them (all when limit < 0).
    static QVector<Problem> addressNames(int limit = -1);
    // The same for model, an address tag model or a copy of one.
    static QVector<Problem> addressNames(const QStandardItemModel *model, int limit = -1);
    // Why that row of the address tags does not decode (Config::tagAt),
    // or the empty text when it does; para receives what was decoded.
    static QString addressRow(int row, AddressPara &para);
    static QString addressRow(const QStandardItemModel *model, int row, AddressPara &para);
    // Everything 确定 refuses, in the order it looks: the names, then every
    // row's decoding.
    static QVector<Problem> addressLibrary(int limit = -1);

    // Empty (or blank) and repeated names of text tags, as the dialog's
    // table holds them: each tag from the row where it starts, one row per
    // state (at least one).
    static QVector<Problem> textLibrary(const TextLib &library, int limit = -1);
};
