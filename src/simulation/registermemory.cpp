#include "registermemory.h"

#include "model/binding.h"
#include "model/bindingsource.h"
#include "model/builtintables.h"
#include "model/config.h"

#include <QBitArray>
#include <QHash>
#include <QStandardItemModel>
#include <QVarLengthArray>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

// The panel's own protocol: its Bool addresses name a bit of a word.
constexpr int PanelProtocol = 0;
constexpr int MaxRegister = 0xFFFF;

enum ClockField { Year, Month, Day, Hour, Minute, Second, Weekday };

int formatWords(int format, int length)
{
    switch (format) {
    case Config::Int32:
    case Config::Uint32:
    case Config::Float:
        return 2;
    case Config::Double:
        return 4;
    case Config::String:
        return (length + 1) / 2;
    default:
        return 1;
    }
}

// A number or a text that reads as one; bool as 0 or 1.
bool toNumber(const QVariant &value, double *number)
{
    bool ok = false;
    if (value.type() == QVariant::Bool) {
        *number = value.toBool() ? 1 : 0;
        ok = true;
    } else if (value.type() == QVariant::String) {
        *number = value.toString().trimmed().toDouble(&ok);
    } else {
        *number = value.toDouble(&ok);
    }
    return ok && std::isfinite(*number);
}

// The longest start of bytes that ends on a whole UTF-8 character and
// fits in length bytes.
QByteArray cutUtf8(const QByteArray &bytes, int length)
{
    if (bytes.size() <= length)
        return bytes;
    int end = length;
    // A continuation byte (10xxxxxx) at the cut belongs to the character
    // that would be split: drop back to that character's first byte.
    while (end > 0 && (uchar(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    return bytes.left(end);
}

} // namespace

struct RegisterMemory::Store
{
    int fun = 0;
    qint32 offset = 0;
    bool bits = false;
    int first = 0; // register number of index 0
    int size = 0;
    // The register numbers that exist, sorted, disjoint and not touching.
    QVector<QPair<int, int>> ranges;
    // Empty until the first write: an untouched store reads as zeros.
    QVector<quint16> words;
    QBitArray bitValues;
    // Date and time registers, by register number.
    QHash<int, int> clock;

    void cover(int low, int high) { ranges.append({low, high}); }

    // Merges the ranges and sizes the store to them.
    void settle()
    {
        std::sort(ranges.begin(), ranges.end());
        QVector<QPair<int, int>> merged;
        for (const auto &range : qAsConst(ranges)) {
            if (!merged.isEmpty() && range.first <= merged.last().second + 1)
                merged.last().second = qMax(merged.last().second, range.second);
            else
                merged.append(range);
        }
        ranges = merged;
        first = ranges.isEmpty() ? 0 : ranges.first().first;
        size = ranges.isEmpty() ? 0 : ranges.last().second - first + 1;
    }

    bool contains(int low, int high) const
    {
        for (const auto &range : ranges) {
            if (low >= range.first && low <= range.second)
                return high <= range.second;
        }
        return false;
    }

    quint16 word(int index) const { return index < words.size() ? words.at(index) : 0; }
    bool bit(int index) const { return index < bitValues.size() && bitValues.testBit(index); }

    void setWord(int index, quint16 value)
    {
        if (words.isEmpty())
            words.resize(size);
        words[index] = value;
    }
    void setBit(int index, bool value)
    {
        if (bitValues.isEmpty())
            bitValues.resize(size);
        bitValues.setBit(index, value);
    }
};

RegisterMemory::RegisterMemory(QObject *parent)
    : QObject(parent)
    , m_config(Config::instance())
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    buildStores();
    // Tags renamed or added while the simulation runs are found at once.
    const auto stale = [this] { m_sourceStale = true; };
    for (QStandardItemModel *model : {m_config->addressTagModel(), m_config->systemRegisterModel()}) {
        connect(model, &QAbstractItemModel::dataChanged, this, stale);
        connect(model, &QAbstractItemModel::rowsInserted, this, stale);
        connect(model, &QAbstractItemModel::rowsRemoved, this, stale);
        connect(model, &QAbstractItemModel::rowsMoved, this, stale);
        connect(model, &QAbstractItemModel::modelReset, this, stale);
        connect(model, &QAbstractItemModel::layoutChanged, this, stale);
    }
}

RegisterMemory::~RegisterMemory()
{
    qDeleteAll(m_stores);
}

void RegisterMemory::buildStores()
{
    const DeviceProtocolTable &table = BuiltinTables::instance()->deviceProtocolTable();
    // AddressPara::device holds no more.
    const int devices = qMin(m_config->devices.size(), 255) + 1;
    m_areas.resize(devices);
    for (int device = 0; device < devices; ++device) {
        const QVector<RegisterArea> areas = table.areas(m_config->deviceProtocol(device));
        QVector<Store *> &byArea = m_areas[device];
        byArea.fill(nullptr, areas.size());
        for (int i = 0; i < areas.size(); ++i) {
            const RegisterArea &area = areas.at(i);
            const int low = qBound(0, area.min, MaxRegister);
            const int high = qMin(area.max, MaxRegister);
            if (high < low)
                continue;
            const bool bits = area.fun < 3;
            Store *store = nullptr;
            // A word area and its bit-addressed twin are one memory; two
            // word areas of different access classes (input and holding
            // registers) are not, whatever their offsets.
            for (int j = 0; j < i && !bits; ++j) {
                Store *other = byArea.at(j);
                if (other && !other->bits && other->fun == area.fun
                    && other->offset == area.offset) {
                    store = other;
                    break;
                }
            }
            if (!store) {
                store = new Store;
                store->fun = area.fun;
                store->offset = area.offset;
                store->bits = bits;
                m_stores.append(store);
            }
            store->cover(low, high);
            byArea[i] = store;
        }
    }
    addSystemRegisters();
    for (Store *store : qAsConst(m_stores))
        store->settle();
}

void RegisterMemory::addSystemRegisters()
{
    const HardDevice *hardware = m_config->currentHardDevice();
    const QVector<BuiltinTables::Register> *registers = BuiltinTables::instance()->systemRegisters(
        BuiltinTables::systemRegisterFile(hardware ? hardware->model : 0));
    if (!registers || m_areas.isEmpty())
        return;
    static const QStringList clockNames {QStringLiteral("Year"),   QStringLiteral("Month"),
                                         QStringLiteral("Day"),    QStringLiteral("Hour"),
                                         QStringLiteral("Minute"), QStringLiteral("Second"),
                                         QStringLiteral("Weekday")};
    for (const BuiltinTables::Register &reg : *registers) {
        AddressPara para;
        if (!m_config->parseDataFormat(reg.type, para) || !m_config->parseAddress(reg.address, para)
            || para.area >= m_areas.at(0).size())
            continue;
        Store *store = m_areas.at(0).at(para.area);
        if (!store || store->bits)
            continue;
        // A text register spans its length in bytes, whatever its type says.
        const int words = qMax(formatWords(para.format, 0), reg.length.toInt() / 2);
        store->cover(para.address, qMin(para.address + words - 1, MaxRegister));
        const int field = clockNames.indexOf(reg.name);
        if (field >= 0 && reg.mark == QLatin1String("System Datatime"))
            store->clock.insert(para.address, field);
    }
}

const BindingSource &RegisterMemory::source() const
{
    if (m_sourceStale || !m_source) {
        m_source.reset(new BindingSource(m_config));
        m_sourceStale = false;
    }
    return *m_source;
}

bool RegisterMemory::locate(const AddressPara &para, Span *span, QString *error) const
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (para.device >= m_areas.size())
        return fail(tr("没有编号为 %1 的设备").arg(para.device));
    const QVector<Store *> &areas = m_areas.at(para.device);
    Store *store = para.area < areas.size() ? areas.at(para.area) : nullptr;
    const int protocol = m_config ? m_config->deviceProtocol(para.device) : 0;
    // Named for messages only: reading is on every refresh's path.
    const auto areaName = [protocol, &para] {
        return BuiltinTables::instance()->areaName(protocol, para.area);
    };
    if (!store)
        return fail(tr("设备 %1 没有第 %2 个寄存器区").arg(para.device).arg(para.area));
    if (para.format > Config::String)
        return fail(tr("数据类型 %1 未知").arg(para.format));
    if (para.format == Config::String && para.length == 0)
        return fail(tr("文字的长度为 0 字节"));

    Span found;
    found.store = store;
    found.index = para.address - store->first;
    found.words = formatWords(para.format, para.length);
    int last = para.address;
    if (para.format == Config::Bool) {
        found.words = 1;
        if (store->bits) {
            found.mode = Span::BitOfArea;
        } else if (protocol == PanelProtocol) {
            if (para.bit > 15)
                return fail(tr("%1 %2 没有第 %3 位：一个字只有 0 到 15 位")
                                .arg(areaName())
                                .arg(para.address)
                                .arg(para.bit));
            found.mode = Span::BitOfWord;
            found.bit = para.bit;
        } else {
            found.mode = Span::WordAsBool;
        }
    } else {
        last = para.address + found.words * (store->bits ? 16 : 1) - 1;
    }
    if (!store->contains(para.address, last))
        return fail(para.address == last
                        ? tr("%1 %2 不在寄存器区内").arg(areaName()).arg(para.address)
                        : tr("%1 %2 到 %3 不全在寄存器区内")
                              .arg(areaName())
                              .arg(para.address)
                              .arg(last));
    *span = found;
    return true;
}

int RegisterMemory::clockField(const Store *store, int index) const
{
    return store->clock.value(store->first + index, -1);
}

void RegisterMemory::loadWords(const Span &span, quint16 *words) const
{
    const Store *store = span.store;
    if (store->bits) {
        for (int w = 0; w < span.words; ++w) {
            quint16 word = 0;
            for (int b = 0; b < 16; ++b) {
                if (store->bit(span.index + w * 16 + b))
                    word |= quint16(1u << b);
            }
            words[w] = word;
        }
        return;
    }
    QDateTime now;
    for (int w = 0; w < span.words; ++w) {
        const int field = store->clock.isEmpty() ? -1 : clockField(store, span.index + w);
        if (field < 0) {
            words[w] = store->word(span.index + w);
            continue;
        }
        // One reading of the clock for the whole value.
        if (!now.isValid())
            now = m_clock();
        const int values[] = {now.date().year(),  now.date().month(),  now.date().day(),
                              now.time().hour(),  now.time().minute(), now.time().second(),
                              now.date().dayOfWeek() % 7};
        words[w] = quint16(values[field]);
    }
}

void RegisterMemory::storeWords(const Span &span, const quint16 *words)
{
    Store *store = span.store;
    for (int w = 0; w < span.words; ++w) {
        if (!store->bits) {
            store->setWord(span.index + w, words[w]);
            continue;
        }
        for (int b = 0; b < 16; ++b)
            store->setBit(span.index + w * 16 + b, words[w] >> b & 1);
    }
}

bool RegisterMemory::resolve(const Binding &binding, AddressPara *para, QString *error) const
{
    if (!m_config) {
        if (error)
            *error = tr("项目已关闭");
        return false;
    }
    QString message;
    switch (source().decode(binding, para)) {
    case BindingSource::Ok: {
        Span span;
        return locate(*para, &span, error);
    }
    case BindingSource::NoSource:
        message = tr("绑定没有数据来源");
        break;
    case BindingSource::MissingTag:
        message = tr("地址标签“%1”不存在").arg(binding.tag);
        break;
    case BindingSource::BadTagRow:
        message = tr("地址标签“%1”的设备、数据类型或地址无效").arg(binding.tag);
        break;
    case BindingSource::BadDevice:
        message = tr("设备“%1”不存在").arg(binding.device);
        break;
    case BindingSource::BadFormat:
        message = tr("数据类型“%1”无效").arg(binding.format);
        break;
    case BindingSource::BadAddress:
        message = tr("地址“%1”无效").arg(binding.address);
        break;
    }
    if (error)
        *error = message;
    return false;
}

bool RegisterMemory::resolveName(const QString &text, AddressPara *para, QString *error) const
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (!m_config)
        return fail(tr("项目已关闭"));
    const QString name = text.trimmed();
    if (name.isEmpty())
        return fail(tr("没有给出地址"));
    Span span;
    switch (source().decodeTag(name, para)) {
    case BindingSource::Ok:
        return locate(*para, &span, error);
    case BindingSource::BadTagRow:
        return fail(tr("地址标签“%1”的设备、数据类型或地址无效").arg(name));
    default:
        break;
    }

    AddressPara found;
    found.name = name;
    QString address = name;
    QString format;
    const int open = name.lastIndexOf(QLatin1Char('('));
    if (open > 0 && name.endsWith(QLatin1Char(')'))) {
        format = name.mid(open + 1, name.size() - open - 2).trimmed();
        address = name.left(open).trimmed();
    }
    const int colon = address.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const QString device = address.left(colon).trimmed();
        if (!m_config->findDevice(device, found))
            return fail(tr("“%1”既不是地址标签，也没有名为“%2”的设备").arg(name, device));
        address = address.mid(colon + 1).trimmed();
    }

    const int protocol = m_config->deviceProtocol(found.device);
    const QString areaName = address.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    const RegisterArea *area = BuiltinTables::instance()->findArea(protocol, areaName);
    if (!area)
        return fail(tr("“%1”既不是地址标签，也不是地址").arg(name));

    if (format.isEmpty()) {
        found.format = area->isBitArea() ? Config::Bool : Config::Int16;
    } else if (!m_config->parseDataFormat(format, found)) {
        // "String 20": a text's length in bytes follows its format.
        const int blank = format.lastIndexOf(QLatin1Char(' '));
        bool lengthOk = false;
        const uint length = blank > 0 ? format.mid(blank + 1).toUInt(&lengthOk) : 0;
        if (!lengthOk || !m_config->parseDataFormat(format.left(blank), found))
            return fail(tr("数据类型“%1”无效").arg(format));
        if (found.format != Config::String)
            return fail(tr("只有 String 带长度：“%1”").arg(format));
        if (length < 1 || length > 0xFF)
            return fail(tr("文字长度 %1 不在 1 到 255 之间").arg(length));
        found.length = quint8(length);
    }
    if (found.format == Config::String && found.length == 0)
        return fail(tr("String 要写出长度（字节数），例如“%1(String 20)”").arg(address));
    if (!m_config->parseAddress(address, found)) {
        if (found.format == Config::Bool && protocol == PanelProtocol
            && !address.contains(QLatin1Char('_')))
            return fail(tr("“%1”是位地址，要写出位号，例如“%2_0”").arg(name, address));
        return fail(tr("“%1”不是 %2 的地址，或与数据类型 %3 不符")
                        .arg(name, areaName, Config::dataFormatText(found)));
    }
    if (!locate(found, &span, error))
        return false;
    *para = found;
    return true;
}

QVariant RegisterMemory::read(const AddressPara &para) const
{
    Span span;
    if (!locate(para, &span, nullptr))
        return QVariant();
    QVarLengthArray<quint16, 128> words(span.words);
    loadWords(span, words.data());
    if (para.format == Config::Bool) {
        switch (span.mode) {
        case Span::BitOfArea:
            return span.store->bit(span.index);
        case Span::BitOfWord:
            return bool(words[0] >> span.bit & 1);
        default:
            return words[0] != 0;
        }
    }
    switch (para.format) {
    case Config::Int16:
        return qint64(qint16(words[0]));
    case Config::Uint16:
        return qint64(words[0]);
    case Config::Int32:
        return qint64(qint32(quint32(words[0]) | quint32(words[1]) << 16));
    case Config::Uint32:
        return qint64(quint32(words[0]) | quint32(words[1]) << 16);
    case Config::Float: {
        const quint32 bits = quint32(words[0]) | quint32(words[1]) << 16;
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return double(value);
    }
    case Config::Double: {
        quint64 bits = 0;
        for (int w = 3; w >= 0; --w)
            bits = bits << 16 | words[w];
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    default: {
        QByteArray bytes;
        for (int i = 0; i < para.length; ++i) {
            const char byte = char(words[i / 2] >> (i % 2 * 8) & 0xFF);
            if (byte == 0)
                break;
            bytes.append(byte);
        }
        return QString::fromUtf8(bytes);
    }
    }
}

double RegisterMemory::number(const AddressPara &para) const
{
    const QVariant value = read(para);
    if (value.type() == QVariant::String)
        return 0;
    return value.toDouble();
}

bool RegisterMemory::write(const AddressPara &para, const QVariant &value, QString *error)
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    Span span;
    if (!locate(para, &span, error))
        return false;
    for (int w = 0; w < span.words && !span.store->clock.isEmpty(); ++w) {
        if (clockField(span.store, span.index + w) >= 0)
            return fail(tr("日期和时间寄存器跟随时钟，不能写入"));
    }
    const QString formatText = Config::dataFormatText(para);
    QVarLengthArray<quint16, 128> words(span.words);
    double number = 0;
    if (para.format == Config::String) {
        const QByteArray bytes = cutUtf8(value.toString().toUtf8(), para.length);
        std::fill(words.begin(), words.end(), quint16(0));
        for (int i = 0; i < bytes.size(); ++i)
            words[i / 2] |= quint16(uchar(bytes.at(i)) << (i % 2 * 8));
    } else if (!toNumber(value, &number)) {
        return fail(tr("“%1”不是数字").arg(value.toString()));
    } else if (para.format == Config::Bool) {
        if (number != 0 && number != 1)
            return fail(tr("Bool 只取 0 或 1，不取 %1").arg(number));
        switch (span.mode) {
        case Span::BitOfArea:
            span.store->setBit(span.index, number != 0);
            break;
        case Span::BitOfWord: {
            loadWords(span, words.data());
            const quint16 mask = quint16(1u << span.bit);
            words[0] = number != 0 ? quint16(words[0] | mask) : quint16(words[0] & ~mask);
            storeWords(span, words.data());
            break;
        }
        default:
            words[0] = number != 0 ? 1 : 0;
            storeWords(span, words.data());
            break;
        }
        ++m_revision;
        emit changed();
        return true;
    } else if (para.format == Config::Float || para.format == Config::Double) {
        if (para.format == Config::Float && std::fabs(number) > double(FLT_MAX))
            return fail(tr("%1 超出 Float 的范围").arg(number));
        quint64 bits = 0;
        if (para.format == Config::Float) {
            const float single = float(number);
            quint32 singleBits;
            std::memcpy(&singleBits, &single, sizeof singleBits);
            bits = singleBits;
        } else {
            std::memcpy(&bits, &number, sizeof bits);
        }
        for (int w = 0; w < span.words; ++w)
            words[w] = quint16(bits >> (16 * w));
    } else {
        static const double limits[][2] = {
            {-32768, 32767}, {0, 65535}, {-2147483648.0, 2147483647.0}, {0, 4294967295.0}};
        const double whole = std::round(number);
        const double low = limits[para.format][0];
        const double high = limits[para.format][1];
        if (whole < low || whole > high)
            return fail(tr("%1 超出 %2 的范围 %3 到 %4")
                            .arg(number)
                            .arg(formatText)
                            .arg(low, 0, 'f', 0)
                            .arg(high, 0, 'f', 0));
        const quint32 bits = quint32(qint64(whole));
        words[0] = quint16(bits);
        if (span.words > 1)
            words[1] = quint16(bits >> 16);
    }
    storeWords(span, words.data());
    ++m_revision;
    emit changed();
    return true;
}

void RegisterMemory::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}
