// Config's device, tag and address helpers: reading an address text for a
// device's protocol and writing it back, and decoding rows of the tag
// tables.

#include "config.h"

#include "builtintables.h"

#include <QStandardItemModel>
#include <QVarLengthArray>

namespace {

QString cellText(const QStandardItemModel *model, int row, int column)
{
    const QStandardItem *item = model->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

QString Config::localDeviceName()
{
    return QStringLiteral("本地");
}

bool Config::isLocalDeviceName(const QString &text)
{
    return text == localDeviceName() || text.compare(QLatin1String("local"), Qt::CaseInsensitive) == 0;
}

QStringList Config::deviceNames() const
{
    QStringList names {tr("本地")};
    for (const DevicePara &dev : devices)
        names.append(dev.name);
    return names;
}

bool Config::findDevice(const QString &text, AddressPara &para) const
{
    int index = -1;
    if (text == localDeviceName()) {
        index = 0;
    } else {
        // Without building deviceNames() for every row: the library dialog
        // decodes ten thousand rows at OK.
        for (int i = 0; i < devices.size(); ++i) {
            if (devices.at(i).name == text) {
                index = i + 1;
                break;
            }
        }
    }
    // A cell keeps the word it was written with: a project made in one
    // interface language still means the panel itself in the other. A
    // device of that name, which older files may hold, keeps its tags.
    if (index < 0 && (isLocalDeviceName(text) || text == tr("本地")))
        index = 0;
    if (index < 0)
        return false;
    para.device = static_cast<quint8>(index);
    return true;
}

QString Config::deviceName(const AddressPara &para) const
{
    return deviceNames().value(para.device);
}

QString Config::storedDeviceName(const AddressPara &para) const
{
    if (para.device == 0)
        return localDeviceName();
    return para.device <= devices.size() ? devices.at(para.device - 1).name : QString();
}

int Config::renameTagDevice(const QString &from, const QString &to)
{
    if (from == to)
        return 0;
    int renamed = 0;
    for (int row = 0; row < m_addressTags->rowCount(); ++row) {
        QStandardItem *item = m_addressTags->item(row, DeviceColumn);
        if (item && item->text() == from) {
            item->setText(to);
            ++renamed;
        }
    }
    return renamed;
}

QStringList Config::tagNames(bool system) const
{
    const QStandardItemModel *model = tagModel(system);
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names.append(cellText(model, row, NameColumn));
    return names;
}

int Config::deviceProtocol(int device) const
{
    if (device == 0) {
        const HardDevice *hd = currentHardDevice();
        return hd ? hd->model : 0;
    }
    if (device >= 1 && device <= devices.size())
        return devices.at(device - 1).protocol;
    return 0;
}

bool Config::parseAddress(const QString &text, AddressPara &para) const
{
    // Split at runs of ASCII white space by hand: a regular expression per
    // row is most of what decoding ten thousand tags at OK costs.
    QVarLengthArray<QStringRef, 4> parts;
    int start = -1;
    for (int i = 0; i <= text.size(); ++i) {
        const ushort c = i < text.size() ? text.at(i).unicode() : ' ';
        const bool blank = c == ' ' || (c >= '\t' && c <= '\r');
        if (blank && start >= 0) {
            parts.append(text.midRef(start, i - start));
            start = -1;
        } else if (!blank && start < 0) {
            start = i;
        }
    }
    if (parts.size() < 2)
        return false;

    const int protocol = deviceProtocol(para.device);
    const DeviceProtocolTable &table = BuiltinTables::instance()->deviceProtocolTable();
    const int area = table.areaIndex(protocol, parts.at(0).toString());
    if (area < 0)
        return false;
    // A coil cannot hold a word, nor a holding register a lone bit: the
    // device would refuse every read of such a tag.
    if (!table.area(protocol, area)->acceptsFormat(para.format == Bool))
        return false;
    para.area = static_cast<quint8>(area);

    QStringRef number = parts.at(1);
    uint bit = 0;
    if (protocol == 0 && para.format == Bool) {
        // A bit address without its bit would silently mean bit 0; the user
        // is better served by being told the address is incomplete.
        const int underscore = number.indexOf(QLatin1Char('_'));
        if (underscore < 0)
            return false;
        bool bitOk = false;
        bit = number.mid(underscore + 1).toUInt(&bitOk, 10);
        if (!bitOk || bit > 0xFFFF)
            return false;
        number.truncate(underscore);
    }

    int base = 10;
    if (number.endsWith(QLatin1Char('H'))) {
        number.chop(1);
        base = 16;
    }
    bool ok = false;
    const uint value = number.toUInt(&ok, base);
    // A number that does not fit 16 bits would wrap into the area's range
    // and pass the range check later on.
    if (!ok || value > 0xFFFF)
        return false;
    para.address = static_cast<quint16>(value);
    para.bit = static_cast<quint16>(bit);
    return true;
}

QString Config::addressText(const AddressPara &para) const
{
    const int protocol = deviceProtocol(para.device);
    const QString area = BuiltinTables::instance()->areaName(protocol, para.area);
    // A protocol without areas (the free port) has no address to write.
    if (area.isEmpty() && protocol != 0 && protocol != 1)
        return QString();

    const QString number = addressHex ? QString::number(para.address, 16) + QLatin1Char('H')
                                      : QString::number(para.address);
    if (protocol == 0 && para.format == Bool)
        return QStringLiteral("%1 %2_%3").arg(area, number).arg(para.bit);
    return QStringLiteral("%1 %2").arg(area, number);
}

QString Config::addressSummary(const AddressPara &para) const
{
    return QStringLiteral("%1 : %2 ( %3 )")
        .arg(deviceName(para), addressText(para), dataFormatText(para));
}

QString Config::dataFormatText(const AddressPara &para)
{
    return QLatin1String(QMetaEnum::fromType<DataFormat>().valueToKey(para.format));
}

bool Config::parseDataFormat(const QString &text, AddressPara &para) const
{
    QString key;
    key.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            key.append(c);
    }
    // The keys are compared one by one rather than through enumTexts(),
    // which builds and sorts a list: this runs once per row of the library.
    const QMetaEnum formats = QMetaEnum::fromType<DataFormat>();
    const QString category = QStringLiteral("enum");
    const BuiltinTables *tables = BuiltinTables::instance();
    // Formats are shown by their keys in both interfaces, so a key is
    // usually found by one look-up.
    bool isKey = false;
    const int value = formats.keyToValue(key.toLatin1().constData(), &isKey);
    if (isKey && tables->displayName(category, key) == key) {
        para.format = static_cast<quint8>(value);
        return true;
    }
    for (int i = 0; i < formats.keyCount(); ++i) {
        if (tables->displayName(category, QLatin1String(formats.key(i))) == key) {
            para.format = static_cast<quint8>(formats.value(i));
            return true;
        }
    }
    return false;
}

int Config::tagAt(bool system, int row, AddressPara &para) const
{
    return tagAt(tagModel(system), row, para);
}

int Config::tagAt(const QStandardItemModel *model, int row, AddressPara &para) const
{
    if (row < 0 || row >= model->rowCount())
        return TagNoRow;

    para.name = cellText(model, row, NameColumn);
    para.mark = cellText(model, row, MarkColumn);
    bool lengthOk = false;
    const uint length = cellText(model, row, LengthColumn).toUInt(&lengthOk, 10);
    lengthOk = lengthOk && length <= 0xFF;
    para.length = static_cast<quint8>(length);

    if (!findDevice(cellText(model, row, DeviceColumn), para))
        return TagBadDevice;
    if (!parseDataFormat(cellText(model, row, TypeColumn), para))
        return TagBadType;
    if (!parseAddress(cellText(model, row, AddressColumn), para))
        return TagBadAddress;
    return lengthOk ? TagOk : TagBadLength;
}
