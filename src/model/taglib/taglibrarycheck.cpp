#include "taglibrarycheck.h"

#include "model/addresspara.h"
#include "model/config.h"
#include "textlib.h"

#include <QHash>
#include <QPair>
#include <QStandardItemModel>

#include <algorithm>

namespace {

QString nameAt(const QStandardItemModel *model, int row)
{
    const QStandardItem *item = model->item(row, Config::NameColumn);
    return item ? item->text() : QString();
}

// Empty once written: blanks, and control characters, which the project
// file cannot carry and drops.
bool blankName(const QString &name)
{
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control;
    });
}

bool full(const QVector<TagLibraryCheck::Problem> &problems, int limit)
{
    return limit >= 0 && problems.size() >= limit;
}

// Repeated names: for each name, the first and second place bearing it,
// so that each place finds another bearing its name without a scan.
using FirstTwo = QHash<QString, QPair<int, int>>;

void note(FirstTwo *places, const QString &name, int place)
{
    auto it = places->find(name);
    if (it == places->end())
        places->insert(name, qMakePair(place, -1));
    else if (it->second < 0)
        it->second = place;
}

// -1 also for the second place of a name: the first already named it, and
// "rows 1 and 2" followed by "rows 2 and 1" says one thing twice.
int otherPlace(const FirstTwo &places, const QString &name, int place)
{
    const QPair<int, int> found = places.value(name, qMakePair(-1, -1));
    if (found.second == place)
        return -1;
    return found.first != place ? found.first : found.second;
}

} // namespace

QVector<TagLibraryCheck::Problem> TagLibraryCheck::addressNames(int limit)
{
    return addressNames(Config::instance()->addressTagModel(), limit);
}

QVector<TagLibraryCheck::Problem> TagLibraryCheck::addressNames(const QStandardItemModel *model,
                                                                int limit)
{
    const int rows = model->rowCount();
    QStringList names;
    names.reserve(rows);
    FirstTwo places;
    places.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        names.append(nameAt(model, row));
        note(&places, names.last(), row);
    }
    QVector<Problem> problems;
    for (int row = 0; row < rows && !full(problems, limit); ++row) {
        const QString &name = names.at(row);
        // Blanks alone cannot be told from an empty name in the table nor
        // in a register picker.
        if (blankName(name)) {
            problems.append({row, tr("第%1行的地址标签格式不正确！").arg(row + 1)});
            continue;
        }
        const int other = otherPlace(places, name, row);
        if (other >= 0)
            problems.append(
                {row, tr("第%1行和第%2行的地址标签名称%3重复！").arg(row + 1).arg(other + 1).arg(name)});
    }
    return problems;
}

QString TagLibraryCheck::addressRow(int row, AddressPara &para)
{
    return addressRow(Config::instance()->addressTagModel(), row, para);
}

QString TagLibraryCheck::addressRow(const QStandardItemModel *model, int row, AddressPara &para)
{
    QString problem;
    switch (Config::instance()->tagAt(model, row, para)) {
    case Config::TagBadDevice:
        problem = tr("设备不存在！");
        break;
    case Config::TagBadType:
        problem = tr("数据类型不正确！");
        break;
    case Config::TagBadAddress:
        problem = tr("数据地址不正确！");
        break;
    case Config::TagBadLength:
        problem = tr("数据长度不正确！");
        break;
    default:
        return QString();
    }
    return tr("第%1行的%2").arg(row + 1).arg(problem);
}

QVector<TagLibraryCheck::Problem> TagLibraryCheck::addressLibrary(int limit)
{
    QVector<Problem> problems = addressNames(limit);
    const int rows = Config::instance()->addressTagModel()->rowCount();
    for (int row = 0; row < rows && !full(problems, limit); ++row) {
        AddressPara para;
        const QString problem = addressRow(row, para);
        if (!problem.isEmpty())
            problems.append({row, problem});
    }
    return problems;
}

QVector<TagLibraryCheck::Problem> TagLibraryCheck::textLibrary(const TextLib &library, int limit)
{
    const QStringList &names = library.names();
    QVector<int> firstRows;
    firstRows.reserve(names.size());
    FirstTwo places;
    int row = 0;
    for (int i = 0; i < names.size(); ++i) {
        firstRows.append(row);
        row += std::max(int(library.statesAt(i).size()), 1);
        if (!blankName(names.at(i)))
            note(&places, names.at(i), i);
    }
    QVector<Problem> problems;
    for (int i = 0; i < names.size() && !full(problems, limit); ++i) {
        const int first = firstRows.at(i);
        if (blankName(names.at(i))) {
            problems.append({first, tr("第%1行文本标签为空！").arg(first + 1)});
            continue;
        }
        const int other = otherPlace(places, names.at(i), i);
        if (other >= 0)
            problems.append({first, tr("第%1行和第%2行的文本标签名称重复！")
                                        .arg(first + 1)
                                        .arg(firstRows.at(other) + 1)});
    }
    return problems;
}
