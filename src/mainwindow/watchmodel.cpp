#include "watchmodel.h"

#include "model/config.h"
#include "simulation/registermemory.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// A Float shows the digits it holds, not those of the double it is read as.
QString shownValue(const QVariant &value, int format)
{
    if (!value.isValid())
        return QStringLiteral("?");
    switch (value.type()) {
    case QVariant::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QVariant::Double:
        return QString::number(value.toDouble(), 'g', format == Config::Float ? 7 : 15);
    default:
        return value.toString();
    }
}

QString numberText(double number)
{
    return QString::number(number, 'g', 10);
}

bool parseNumber(const QString &text, double *number)
{
    bool ok = false;
    const double parsed = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    *number = parsed;
    return true;
}

} // namespace

WatchModel::WatchModel(RegisterMemory *memory, QObject *parent)
    : QAbstractTableModel(parent)
    , m_memory(memory)
{
}

int WatchModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int WatchModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant WatchModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const Row &row = m_rows.at(index.row());
    const Generator &g = row.generator;
    if (role == Qt::ToolTipRole && index.column() == ValuesColumn)
        return tr("列表发生器的数值，以分号分隔");
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const bool listed = row.generated || role == Qt::EditRole;
    switch (index.column()) {
    case NameColumn:
        return row.name;
    case ValueColumn:
        return valueText(index.row());
    case SetColumn:
        return row.lastSet;
    case KindColumn:
        if (role == Qt::EditRole)
            return row.generated ? Generator::kindKey(g.kind) : QString();
        return row.generated ? Generator::kindName(g.kind) : QString();
    case MinimumColumn:
        return listed ? numberText(g.minimum) : QString();
    case MaximumColumn:
        return listed ? numberText(g.maximum) : QString();
    case PeriodColumn:
        return listed ? numberText(g.period) : QString();
    case SeedColumn:
        return listed && (g.kind == Generator::Random || role == Qt::EditRole)
                   ? QString::number(g.seed)
                   : QString();
    case ValuesColumn: {
        if (!listed || (g.kind != Generator::List && role != Qt::EditRole))
            return QString();
        QStringList parts;
        for (double v : g.values)
            parts << numberText(v);
        return parts.join(QStringLiteral("; "));
    }
    default:
        return QVariant();
    }
}

QVariant WatchModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return tr("名称");
    case ValueColumn:
        return tr("数值");
    case SetColumn:
        return tr("设定");
    case KindColumn:
        return tr("发生器");
    case MinimumColumn:
        return tr("最小值");
    case MaximumColumn:
        return tr("最大值");
    case PeriodColumn:
        return tr("周期(秒)");
    case SeedColumn:
        return tr("种子");
    case ValuesColumn:
        return tr("列表");
    default:
        return QVariant();
    }
}

Qt::ItemFlags WatchModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != NameColumn && index.column() != ValueColumn)
        result |= Qt::ItemIsEditable;
    return result;
}

bool WatchModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= m_rows.size())
        return false;
    QString error;
    bool ok = false;
    if (index.column() == SetColumn) {
        ok = setValue(index.row(), value.toString(), &error);
    } else if (index.column() >= KindColumn) {
        ok = editGenerator(&m_rows[index.row()], index.column(), value.toString(), &error);
        if (ok)
            emit dataChanged(this->index(index.row(), ValueColumn),
                             this->index(index.row(), ColumnCount - 1));
    }
    if (!ok && !error.isEmpty())
        emit problem(error);
    return ok;
}

bool WatchModel::editGenerator(Row *row, int column, const QString &text, QString *error)
{
    Generator g = row->generator;
    const QString typed = text.trimmed();
    if (column == KindColumn) {
        if (typed.isEmpty()) {
            row->generated = false;
            return true;
        }
        Generator::Kind kind;
        if (!Generator::kindFromKey(typed, &kind)) {
            *error = tr("“%1”不是发生器的种类。").arg(typed);
            return false;
        }
        g.kind = kind;
        if (!row->generated)
            row->startedAt = m_now;
        row->generator = g;
        row->generated = true;
        writeGenerated(*row);
        return true;
    }
    if (column == ValuesColumn) {
        const QStringList parts
            = typed.split(QRegularExpression(QStringLiteral("[;,\\s]+")), Qt::SkipEmptyParts);
        if (parts.size() > MaxListValues) {
            *error = tr("列表最多可有%1个数值。").arg(MaxListValues);
            return false;
        }
        QVector<double> values;
        for (const QString &part : parts) {
            double number = 0;
            if (!parseNumber(part, &number)) {
                *error = tr("“%1”不是数值。").arg(part);
                return false;
            }
            values << number;
        }
        g.values = values;
    } else if (column == SeedColumn) {
        bool ok = false;
        const quint32 seed = typed.toUInt(&ok);
        if (!ok) {
            *error = tr("种子须为非负整数。");
            return false;
        }
        g.seed = seed;
    } else {
        double number = 0;
        if (!parseNumber(typed, &number)) {
            *error = tr("“%1”不是数值。").arg(typed);
            return false;
        }
        if (column == PeriodColumn && number <= 0) {
            *error = tr("周期须大于0秒。");
            return false;
        }
        (column == MinimumColumn ? g.minimum : column == MaximumColumn ? g.maximum : g.period)
            = number;
    }
    row->generator = g;
    if (row->generated)
        writeGenerated(*row);
    return true;
}

void WatchModel::setScreenSources(const QVector<QPair<QString, AddressPara>> &sources)
{
    QStringList wanted;
    for (const auto &source : sources)
        wanted << source.first;
    for (int i = m_rows.size() - 1; i >= 0; --i) {
        const Row &row = m_rows.at(i);
        if (row.fromScreen && !row.generated && !wanted.contains(row.name)) {
            beginRemoveRows(QModelIndex(), i, i);
            m_rows.removeAt(i);
            endRemoveRows();
        }
    }
    for (const auto &source : sources) {
        if (rowOf(source.first) >= 0)
            continue;
        Row row;
        row.name = source.first;
        row.para = source.second;
        row.fromScreen = true;
        appendRow(row);
    }
}

bool WatchModel::addName(const QString &text, QString *error)
{
    const QString name = text.trimmed();
    if (name.isEmpty()) {
        if (error)
            *error = tr("请输入变量名称或地址。");
        return false;
    }
    const int existing = rowOf(name);
    if (existing >= 0) {
        // Kept from now on, also when the screen that brought it goes.
        m_rows[existing].fromScreen = false;
        return true;
    }
    Row row;
    QString why;
    if (!m_memory || !m_memory->resolveName(name, &row.para, &why)) {
        if (error)
            *error = tr("无法监视“%1”：%2").arg(name, why);
        return false;
    }
    row.name = name;
    appendRow(row);
    return true;
}

void WatchModel::removeWatch(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

int WatchModel::rowOf(const QString &name) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).name == name)
            return i;
    }
    return -1;
}

QString WatchModel::name(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).name : QString();
}

AddressPara WatchModel::para(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).para : AddressPara();
}

QString WatchModel::valueText(int row) const
{
    if (row < 0 || row >= m_rows.size() || !m_memory)
        return QString();
    const AddressPara &para = m_rows.at(row).para;
    return shownValue(m_memory->read(para), para.format);
}

QStringList WatchModel::names() const
{
    QStringList result;
    for (const Row &row : m_rows)
        result << row.name;
    return result;
}

bool WatchModel::setValue(int row, const QString &text, QString *error)
{
    if (row < 0 || row >= m_rows.size() || !m_memory)
        return false;
    Row &entry = m_rows[row];
    QString why;
    if (!m_memory->write(entry.para, text.trimmed(), &why)) {
        if (error)
            *error = tr("“%1”不能设为“%2”：%3").arg(entry.name, text.trimmed(), why);
        return false;
    }
    entry.lastSet = text.trimmed();
    emit dataChanged(index(row, ValueColumn), index(row, SetColumn));
    emit valueSet(entry.name, entry.lastSet);
    return true;
}

void WatchModel::setGenerator(int row, const Generator &generator, bool on)
{
    if (row < 0 || row >= m_rows.size())
        return;
    Row &entry = m_rows[row];
    if (on && !entry.generated)
        entry.startedAt = m_now;
    entry.generator = generator;
    entry.generated = on;
    if (on)
        writeGenerated(entry);
    emit dataChanged(index(row, ValueColumn), index(row, ColumnCount - 1));
}

bool WatchModel::hasGenerator(int row) const
{
    return row >= 0 && row < m_rows.size() && m_rows.at(row).generated;
}

Generator WatchModel::generator(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).generator : Generator();
}

void WatchModel::tick()
{
    m_now += TickMsec;
    for (const Row &row : qAsConst(m_rows)) {
        if (row.generated)
            writeGenerated(row);
    }
    refreshValues();
}

void WatchModel::refreshValues()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, ValueColumn), index(m_rows.size() - 1, ValueColumn));
}

void WatchModel::writeGenerated(const Row &row)
{
    // A value the register cannot hold (a ramp beyond Int16) is refused by
    // the memory and the register keeps its last one.
    if (m_memory)
        m_memory->write(row.para, row.generator.valueAt(m_now - row.startedAt));
}

void WatchModel::appendRow(const Row &row)
{
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_rows.append(row);
    endInsertRows();
}
