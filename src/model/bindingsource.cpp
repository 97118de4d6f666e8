#include "bindingsource.h"

#include "binding.h"
#include "builtintables.h"
#include "config.h"

#include <QStandardItemModel>

namespace {

// The first row of each name: a later duplicate is the library's own fault
// and never what a binding means.
QHash<QString, int> firstRows(const QStandardItemModel *model)
{
    QHash<QString, int> rows;
    for (int row = model->rowCount() - 1; row >= 0; --row) {
        const QStandardItem *cell = model->item(row, Config::NameColumn);
        if (cell)
            rows.insert(cell->text(), row);
    }
    return rows;
}

} // namespace

BindingSource::BindingSource(const Config *config)
    : m_config(config)
    , m_tagRows(firstRows(config->addressTagModel()))
    // A register the picker took from the panel's own list is named as the
    // list shows it.
    , m_systemRows(firstRows(config->systemRegisterModel()))
{
    // The list shows names in the interface language; a file or a script
    // written in the other one names them by the table's own keys. A row
    // takes its key only when it shows that key's name: the list may come
    // from another table than the hardware's.
    BuiltinTables *tables = BuiltinTables::instance();
    const HardDevice *hardware = config->currentHardDevice();
    const QVector<BuiltinTables::Register> *table
        = tables->systemRegisters(BuiltinTables::systemRegisterFile(hardware ? hardware->model : 0));
    const QStandardItemModel *system = config->systemRegisterModel();
    const int rows = table ? qMin(system->rowCount(), table->size()) : 0;
    for (int row = rows - 1; row >= 0; --row) {
        const QString &key = table->at(row).name;
        const QStandardItem *cell = system->item(row, Config::NameColumn);
        if (!cell || cell->text() != tables->displayName(QStringLiteral("register"), key))
            continue;
        const auto shown = m_systemRows.constFind(key);
        if (shown == m_systemRows.constEnd() || *shown > row)
            m_systemRows.insert(key, row);
    }
}

BindingSource::Result BindingSource::decodeTag(const QString &name, AddressPara *para) const
{
    int result = Config::TagNoRow;
    const auto row = m_tagRows.constFind(name);
    if (row != m_tagRows.constEnd()) {
        result = m_config->tagAt(false, *row, *para);
    } else {
        const auto systemRow = m_systemRows.constFind(name);
        if (systemRow == m_systemRows.constEnd())
            return MissingTag;
        result = m_config->tagAt(true, *systemRow, *para);
    }
    return result == Config::TagOk || result == Config::TagBadLength ? Ok : BadTagRow;
}

BindingSource::Result BindingSource::decode(const Binding &binding, AddressPara *para) const
{
    if (!binding.tag.isEmpty())
        return decodeTag(binding.tag, para);
    if (binding.device.isEmpty() && binding.address.isEmpty())
        return NoSource;
    if (!m_config->findDevice(binding.device, *para))
        return BadDevice;
    if (!m_config->parseDataFormat(binding.format, *para))
        return BadFormat;
    if (!m_config->parseAddress(binding.address, *para))
        return BadAddress;
    return Ok;
}
