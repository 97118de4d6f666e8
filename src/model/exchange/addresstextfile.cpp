#include "addresstextfile.h"

#include "csvtable.h"
#include "gbkencoder.h"
#include "model/addresspara.h"
#include "model/builtintables.h"
#include "model/config.h"

#include <QMetaEnum>
#include <QTextCodec>
#include <QVarLengthArray>

#include <algorithm>

namespace {

QTextCodec *gbk()
{
    return QTextCodec::codecForName("GBK");
}

// A short comparison the row loop makes for every tag, without the call
// the general one costs.
bool sameLatin1(QStringView text, QLatin1String latin1)
{
    if (text.size() != latin1.size())
        return false;
    for (int i = 0; i < latin1.size(); ++i) {
        if (text.at(i) != QLatin1Char(latin1.at(i)))
            return false;
    }
    return true;
}

bool hasHighByte(const QByteArray &bytes)
{
    return std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return c & 0x80; });
}

bool hasSpace(QStringView text)
{
    for (const QChar c : text) {
        if (c.isSpace())
            return true;
    }
    return false;
}

// Where the blank goes: after the longest area name of the protocol that
// starts the address and leaves something behind it, else after the
// first character.
int blankPosition(QStringView address, const QVector<RegisterArea> &areas)
{
    int split = 1;
    for (const RegisterArea &area : areas) {
        // The first character rules out most areas before a whole compare.
        if (area.name.size() > split && area.name.size() < address.size()
            && area.name.at(0) == address.at(0) && address.startsWith(area.name))
            split = area.name.size();
    }
    return split;
}

// address with a blank at split, in one allocation.
QString withBlankAt(QStringView address, int split)
{
    QString result(int(address.size()) + 1, Qt::Uninitialized);
    QChar *out = result.data();
    for (int i = 0; i < split; ++i)
        *out++ = address.at(i);
    *out++ = QLatin1Char(' ');
    for (int i = split; i < int(address.size()); ++i)
        *out++ = address.at(i);
    return result;
}

// The address field with the blank in place: an address that already has
// a blank, or is too short to split, stays as it is.
QString blankedAddress(QStringView field, const QVector<RegisterArea> &areas)
{
    const QStringView address = field.trimmed();
    if (address.size() < 2 || hasSpace(address))
        return address.toString();
    return withBlankAt(address, blankPosition(address, areas));
}

// The library's search converts its needle on every call, which costs
// more than the short descriptions it would look through.
bool containsWord(QStringView text, QLatin1String word)
{
    for (qsizetype i = 0; i + word.size() <= text.size(); ++i) {
        if (text.at(i) == QLatin1Char(word.at(0)) && text.mid(i, word.size()) == word)
            return true;
    }
    return false;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The usual lengths come up on most rows; sharing their texts spares an
// allocation per row.
QString sharedLength(QStringView length)
{
    if (length == QLatin1String("1"))
        return QStringLiteral("1");
    if (length == QLatin1String("2"))
        return QStringLiteral("2");
    if (length == QLatin1String("4"))
        return QStringLiteral("4");
    return length.toString();
}

// What the type description (field 3) says: the data format key and the
// length.
void readDescription(QStringView description, QString *type, QString *length)
{
    // The plain words, which most lines hold, decide without a search.
    if (description == QLatin1String("WORD")) {
        *type = QStringLiteral("Int16");
        *length = QStringLiteral("2");
        return;
    }
    if (description == QLatin1String("BOOL")) {
        *type = QStringLiteral("Bool");
        *length = QStringLiteral("1");
        return;
    }
    // So is the array of words our own export writes, when its length is
    // a plain number.
    const QLatin1String arrayStart("ARRAY["), arrayEnd("] OF WORD");
    if (description.size() > arrayStart.size() + arrayEnd.size()
        && description.startsWith(arrayStart) && description.endsWith(arrayEnd)) {
        const QStringView number = description.mid(arrayStart.size(),
                                                   description.size() - arrayStart.size() - arrayEnd.size());
        if (std::all_of(number.begin(), number.end(), [](QChar c) { return isAsciiDigit(c); })) {
            *type = QStringLiteral("Int16");
            *length = sharedLength(number);
            return;
        }
    }
    length->clear();
    if (containsWord(description, QLatin1String("ARRAY"))) {
        const qsizetype open = description.indexOf(QLatin1Char('['));
        const qsizetype close = description.indexOf(QLatin1Char(']'), open + 1);
        if (open >= 0 && close > open)
            *length = sharedLength(description.mid(open + 1, close - open - 1));
    }
    if (containsWord(description, QLatin1String("BOOL"))) {
        *type = QStringLiteral("Bool");
        if (length->isEmpty())
            *length = QStringLiteral("1");
    } else if (containsWord(description, QLatin1String("DWORD"))) {
        *type = QStringLiteral("Int32");
        if (length->isEmpty())
            *length = QStringLiteral("4");
    } else {
        *type = QStringLiteral("Int16");
        if (length->isEmpty())
            *length = QStringLiteral("2");
    }
}

// The plain description of a data format, and the length it implies; any
// other length makes the description an array of words.
struct PlainDescription
{
    QLatin1String word;
    QLatin1String usualLength;
};

PlainDescription plainDescription(const QString &format)
{
    if (format == QLatin1String("Bool"))
        return {QLatin1String("BOOL"), QLatin1String("1")};
    if (format == QLatin1String("Int32") || format == QLatin1String("Uint32")
        || format == QLatin1String("Float") || format == QLatin1String("Double"))
        return {QLatin1String("DWORD"), QLatin1String("4")};
    return {QLatin1String("WORD"), QLatin1String("2")};
}

// What the reader needs to know about the project, gathered once per file.
struct ProjectNames
{
    const Config *config = Config::instance();
    QStringList devices = config->deviceNames();
    QVector<QVector<RegisterArea>> deviceAreas;
    QStringList formatKeys;

    ProjectNames()
    {
        // Rows store the panel's name in its one spelling, whatever the
        // interface language.
        devices[0] = Config::localDeviceName();
        const DeviceProtocolTable &protocols = BuiltinTables::instance()->deviceProtocolTable();
        for (int device = 0; device < devices.size(); ++device)
            deviceAreas.append(protocols.areas(config->deviceProtocol(device)));
        const QMetaEnum formats = QMetaEnum::fromType<Config::DataFormat>();
        for (int i = 0; i < formats.keyCount(); ++i)
            formatKeys.append(QString::fromLatin1(formats.key(i)));
    }

    // The format key a field names, or -1.
    int format(QStringView field) const
    {
        // Lines of one format tend to come together.
        if (lastFormat >= 0 && QStringView(formatKeys.at(lastFormat)) == field)
            return lastFormat;
        for (int i = 0; i < formatKeys.size(); ++i) {
            if (QStringView(formatKeys.at(i)) == field)
                return lastFormat = i;
        }
        return -1;
    }

    mutable int lastFormat = -1;

    // The device a line names in its device field when its format field
    // names a format as well (format, from format(), is not -1), else -1.
    int device(QStringView deviceField, int format) const
    {
        if (format < 0)
            return -1;
        // Most lines name the device the line above named.
        if (lastDevice >= 0 && lastDeviceField == deviceField)
            return lastDevice;
        int found = -1;
        for (int i = 0; i < devices.size() && found < 0; ++i) {
            if (QStringView(devices.at(i)) == deviceField)
                found = i;
        }
        // The panel as the other interface language spells it.
        AddressPara local;
        if (found < 0 && config->findDevice(deviceField.toString(), local) && local.device == 0)
            found = 0;
        if (found >= 0) {
            lastDeviceField = deviceField.toString();
            lastDevice = found;
        }
        return found;
    }

    mutable QString lastDeviceField;
    mutable int lastDevice = -1;
};

// The list appends copies only, each costing a count up and a count down
// of the text's shared data.
void moveInto(QStringList *list, QString &&text)
{
    list->append(QString());
    list->last().swap(text);
}

// Writes the lines below the header into out, a QString or a GbkEncoder.
constexpr int PrefetchAhead = 8;

template <typename Out>
void appendRows(Out *out, const QVector<QStringList> &rows, const ProjectNames &names)
{
    static const QString none;
    QString description;
    // The descriptions of the format keys, looked up by index.
    QVector<PlainDescription> plainOfFormat;
    for (const QString &key : names.formatKeys)
        plainOfFormat.append(plainDescription(key));
    for (int row = 0; row < std::min(PrefetchAhead, rows.size()); ++row) {
        for (const QString &cell : rows.at(row))
            __builtin_prefetch(const_cast<QString &>(cell).data_ptr());
    }
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        // A library's cells lie wherever the heap put them when each was
        // typed or read: asking for all of a row's at once lets the waits
        // on memory overlap, which a field at a time would queue up.
        if (row + PrefetchAhead < rows.size()) {
            for (const QString &cell : rows.at(row + PrefetchAhead))
                __builtin_prefetch(const_cast<QString &>(cell).data_ptr());
        }
        if (row + 2 * PrefetchAhead < rows.size() && !rows.at(row + 2 * PrefetchAhead).isEmpty())
            __builtin_prefetch(&rows.at(row + 2 * PrefetchAhead).constFirst());
        const auto cell = [&cells](int column) -> const QString & {
            return column < cells.size() ? cells.at(column) : none;
        };
        CsvTable::appendFieldTo(out, cell(Config::NameColumn));
        *out += QLatin1Char(',');

        // The address goes without its blank where the reader puts the
        // blank back in the same place; elsewhere (an area the device's
        // protocol does not know) it goes as it is, blank and all.
        const QString &address = cell(Config::AddressColumn);
        QVarLengthArray<QChar, 32> bare;
        for (const QChar c : address) {
            if (!c.isSpace())
                bare.append(c);
        }
        const QStringView bareView(bare.constData(), bare.size());
        const int format = names.format(cell(Config::TypeColumn));
        const int device = std::max(names.device(cell(Config::DeviceColumn), format), 0);
        bool readsBack = false;
        if (bare.size() < 2) {
            readsBack = bare.size() == address.size();
        } else if (bare.size() + 1 == address.size()) {
            const int split = blankPosition(bareView, names.deviceAreas.at(device));
            readsBack = address.at(split) == QLatin1Char(' ');
        }
        CsvTable::appendFieldTo(out, readsBack ? bareView : QStringView(address));
        *out += QLatin1Char(',');

        // The description stands in the list by the length it holds, which
        // only an array shows.
        const QString &length = cell(Config::LengthColumn);
        const PlainDescription plain = format >= 0 ? plainOfFormat.at(format)
                                                   : plainDescription(cell(Config::TypeColumn));
        if (!sameLatin1(length, plain.usualLength)) {
            description = QLatin1String("ARRAY[");
            description += length;
            description += QLatin1String("] OF WORD");
            CsvTable::appendFieldTo(out, description);
        } else {
            *out += plain.word;
        }
        *out += QLatin1Char(',');
        CsvTable::appendFieldTo(out, cell(Config::DeviceColumn));
        *out += QLatin1Char(',');
        CsvTable::appendFieldTo(out, cell(Config::TypeColumn));
        *out += QLatin1Char(',');
        CsvTable::appendFieldTo(out, cell(Config::MarkColumn));
        *out += QLatin1String("\r\n");
    }

}

} // namespace


QString AddressTextFile::insertAddressBlank(const QString &address, int protocol)
{
    if (address.size() < 2 || hasSpace(address))
        return address;
    return withBlankAt(
        address,
        blankPosition(address, BuiltinTables::instance()->deviceProtocolTable().areas(protocol)));
}

QString AddressTextFile::typeDescription(const QString &format, const QString &length)
{
    const PlainDescription plain = plainDescription(format);
    if (!sameLatin1(length, plain.usualLength))
        return QLatin1String("ARRAY[") + length + QLatin1String("] OF WORD");
    return plain.word;
}

AddressTextFile::Import AddressTextFile::parse(const QByteArray &bytes)
{
    bool undecodable = false;
    const QString text = CsvTable::decode(bytes, &undecodable);
    return parseText(text, undecodable);
}

AddressTextFile::Import AddressTextFile::parseText(const QString &text, bool undecodable)
{
    Import result;
    result.undecodable = undecodable;
    // Decoded whole, as any reader of the file would; the fields of a line
    // without quotes are views into the text and only those a row keeps
    // are copied. Lines with quotes, which may run over several lines, go
    // through the general reader.
    const ProjectNames names;

    const QChar *const begin = text.constData();
    const QChar *const end = begin + text.size();
    QVector<CsvTable::Field> quotedFields;
    QString joinedRemark;
    qsizetype position = 0;
    int line = 1;
    bool header = true;
    while (position < text.size()) {
        const int lineNumber = line;
        const QChar *const lineStart = begin + position;
        // One pass finds the line's end, whether it holds a quote and the
        // commas of its first five fields (the remark is the last field, so
        // commas in it are its own). The three characters lie at or below
        // the comma, which most characters of a line do not.
        const QChar *commas[5];
        int commaCount = 0;
        bool quoted = false;
        const QChar *next = lineStart;
        for (; next < end; ++next) {
            const ushort u = next->unicode();
            if (u > ',')
                continue;
            if (u == '\n')
                break;
            if (u == '"')
                quoted = true;
            else if (u == ',' && commaCount < 5)
                commas[commaCount++] = next;
        }
        QStringView fields[6];
        int count = 0;
        bool blank = false;
        const bool firstLine = header;
        header = false;
        if (!quoted) {
            position = (next < end ? next + 1 : end) - begin;
            ++line;
            const QChar *lineEnd = next;
            // Lines saved on Windows end in CR LF; the CR belongs to no field.
            if (lineEnd > lineStart && lineEnd[-1] == QLatin1Char('\r'))
                --lineEnd;
            const QChar *fieldStart = lineStart;
            for (; count < commaCount; ++count) {
                fields[count] = CsvTable::unguarded(QStringView(fieldStart, commas[count]));
                fieldStart = commas[count] + 1;
            }
            if (count == 5)
                fields[count++] = CsvTable::unguarded(QStringView(fieldStart, lineEnd));
            else
                blank = QStringView(lineStart, lineEnd).trimmed().isEmpty();
        } else {
            int lineEnds = 0;
            if (!CsvTable::readRecord(text, &position, &quotedFields, &lineEnds)) {
                result.openQuoteLine = line + lineEnds;
                return result;
            }
            line += lineEnds;
            count = std::min(int(quotedFields.size()), 6);
            for (int i = 0; i < count; ++i)
                fields[i] = quotedFields.at(i).text;
            if (quotedFields.size() > 6) {
                // As on a line without quotes, the remark runs to the end.
                joinedRemark = quotedFields.at(5).text;
                for (int i = 6; i < quotedFields.size(); ++i)
                    joinedRemark += QLatin1Char(',') + quotedFields.at(i).text;
                fields[5] = joinedRemark;
            }
        }
        if (firstLine) {
            if (count < 2 || !looksLikeTag(fields[1]))
                continue;
            result.headerless = true;
        }
        if (count < 6) {
            if (!blank)
                result.skippedLines.append(lineNumber);
            continue;
        }

        QString type;
        QString length;
        readDescription(fields[2], &type, &length);
        const int format = names.format(fields[4]);
        const int named = names.device(fields[3], format);
        const int device = std::max(named, 0);
        // A line in our own form naming a device this project lacks keeps
        // the name, so that the library's check refuses the row instead of
        // the tag quietly pointing at the panel's own registers.
        const bool strayDevice = named < 0 && format >= 0 && !fields[3].trimmed().isEmpty();
        if (named >= 0 || strayDevice)
            type = names.formatKeys.at(format);
        QStringList row;
        row.reserve(Config::TagColumnCount);
        moveInto(&row, fields[0].toString());
        moveInto(&row, strayDevice ? fields[3].toString() : QString(names.devices.at(device)));
        moveInto(&row, blankedAddress(fields[1], names.deviceAreas.at(device)));
        moveInto(&row, std::move(type));
        moveInto(&row, std::move(length));
        moveInto(&row, fields[5].toString());
        result.rows.append(std::move(row));
    }
    return result;
}

bool AddressTextFile::format(const QVector<QStringList> &rows, QByteArray *bytes, QString *error)
{
    const ProjectNames names;
    const QString header = tr("名称,地址,类型,设备,数据格式,备注");
    // Most texts GBK holds are written straight into its bytes; the text
    // itself is only needed for the rare one it cannot hold, or whose
    // bytes could be taken for UTF-8.
    QString text;
    const auto wholeText = [&]() -> const QString & {
        if (text.isEmpty()) {
            text.reserve(header.size() + 2 + rows.size() * 64);
            text += header;
            text += QLatin1String("\r\n");
            appendRows(&text, rows, names);
        }
        return text;
    };
    // A reader takes bytes that are valid UTF-8 for UTF-8; the rare GBK
    // text that happens to be so goes out as UTF-8 with its mark instead.
    GbkEncoder out;
    out.reserve(header.size() * 2 + 2 + rows.size() * 80);
    out += header;
    out += QLatin1String("\r\n");
    appendRows(&out, rows, names);
    QByteArray encoded;
    bool readsBack = false;
    if (out.isEncodable()) {
        encoded = out.take();
        // Bytes that cannot be taken for UTF-8 are read as GBK, which
        // gives each character back exactly when the table said so.
        readsBack = out.readsBack();
        const bool seenAsUtf8 = encoded.startsWith("\xEF\xBB\xBF") || CsvTable::mayBeUtf8(encoded);
        if (seenAsUtf8 && hasHighByte(encoded))
            readsBack = CsvTable::gbkReadsBack(encoded, wholeText());
    } else {
        QTextCodec *codec = gbk();
        QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
        const QString &whole = wholeText();
        encoded = codec->fromUnicode(whole.constData(), whole.size(), &state);
        if (state.invalidChars > 0) {
            // Only now is it worth finding the row that GBK cannot hold; the
            // header is the program's own text and always fits.
            for (int row = 0; row < rows.size(); ++row) {
                const QStringList cells = rows.at(row).mid(0, Config::TagColumnCount);
                if (!codec->canEncode(cells.join(QLatin1Char(',')))) {
                    if (error)
                        *error = tr("第%1行含有GBK编码无法表示的文字，无法写入文本文件。").arg(row + 1);
                    return false;
                }
            }
        }
        readsBack = !hasHighByte(encoded) || CsvTable::gbkReadsBack(encoded, text);
    }
    if (!readsBack)
        encoded = QByteArray("\xEF\xBB\xBF") + wholeText().toUtf8();
    *bytes = encoded;
    return true;
}

bool AddressTextFile::looksLikeTag(QStringView address)
{
    return std::any_of(address.cbegin(), address.cend(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}
