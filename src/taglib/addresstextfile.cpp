#include "addresstextfile.h"

#include "project/config.h"

#include <QMetaEnum>
#include <QTextCodec>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

QTextCodec *gbk()
{
    return QTextCodec::codecForName("GBK");
}

const char utf8Bom[] = "\xEF\xBB\xBF";

// The data format keys ("Int16" …) as the file spells them, and as the
// shared texts the rows take, so that a row of our own file allocates
// nothing for its type.
struct FormatKeys
{
    QVector<QByteArray> bytes;
    QStringList texts;

    FormatKeys()
    {
        const QMetaEnum formats = QMetaEnum::fromType<Config::DataFormat>();
        for (int i = 0; i < formats.keyCount(); ++i) {
            bytes.append(QByteArray(formats.key(i)));
            texts.append(QString::fromLatin1(formats.key(i)));
        }
    }

    int indexOf(const char *data, int size) const
    {
        for (int i = 0; i < bytes.size(); ++i) {
            if (bytes.at(i).size() == size && std::memcmp(bytes.at(i).constData(), data, size) == 0)
                return i;
        }
        return -1;
    }
};

const FormatKeys &formatKeys()
{
    static const FormatKeys keys;
    return keys;
}

// The length a description implies when it names no array size.
QString usualLength(const QString &description)
{
    if (description.contains(QLatin1String("BOOL")))
        return QStringLiteral("1");
    if (description.contains(QLatin1String("DWORD")))
        return QStringLiteral("4");
    return QStringLiteral("2");
}

template<typename Text>
bool hasSpace(const Text &text)
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
template<typename Text>
int blankPosition(const Text &address, const QVector<RegisterArea> &areas)
{
    int split = 1;
    for (const RegisterArea &area : areas) {
        if (area.name.size() > split && area.name.size() < address.size()
            && address.startsWith(area.name))
            split = area.name.size();
    }
    return split;
}

// address with a blank at split, in one allocation.
template<typename Text>
QString withBlankAt(const Text &address, int split)
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
template<typename Text>
QString blankedAddress(const Text &field, const QVector<RegisterArea> &areas)
{
    const Text address = field.trimmed();
    if (address.size() < 2 || hasSpace(address))
        return QString(address);
    return withBlankAt(address, blankPosition(address, areas));
}

bool isAscii(const char *data, int size)
{
    for (int i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    }
    return true;
}

// One field of a line, still in the file's bytes. Commas, CR and LF never
// occur inside a GBK or UTF-8 character, so lines and fields are cut on
// the bytes and only the fields a row keeps are decoded.
struct Field
{
    const char *data = nullptr;
    int size = 0;

    bool equals(const QByteArray &bytes) const
    {
        return bytes.size() == size && std::memcmp(bytes.constData(), data, size) == 0;
    }
};

class Decoder
{
public:
    // end: the end of the file's bytes.
    Decoder(bool utf8, const char *end)
        : m_utf8(utf8)
        , m_codec(gbk())
        , m_end(end)
    {
    }

    QString text(Field field) const
    {
        // Most fields are plain ASCII, which both encodings share.
        if (isAscii(field.data, field.size))
            return QString::fromLatin1(field.data, field.size);
        if (m_utf8)
            return QString::fromUtf8(field.data, field.size);
        // The converter is kept from field to field, so a field ending in
        // half a character would lend it to the next field decoded. The
        // separator after the field ends it here, and is cut off again.
        const char *after = field.data + field.size;
        if (after == m_end)
            return m_codec->toUnicode(field.data, field.size, &m_state);
        QString text = m_codec->toUnicode(field.data, field.size + 1, &m_state);
        if (text.endsWith(QLatin1Char(*after)))
            text.chop(1);
        return text;
    }

    // The bytes a text has in the file, or null when the encoding cannot
    // hold it (such a text cannot be in the file).
    QByteArray bytes(const QString &text) const
    {
        if (m_utf8)
            return text.toUtf8();
        return m_codec->canEncode(text) ? m_codec->fromUnicode(text) : QByteArray();
    }

private:
    bool m_utf8;
    QTextCodec *m_codec;
    const char *m_end;
    // Keeps the codec's converter between fields: opening one per field
    // would cost more than decoding the field.
    mutable QTextCodec::ConverterState m_state;
};

// What the type description (field 3) says: the data format key and the
// length. Text is a QString or, for a field of plain ASCII, a QLatin1String
// over the file's bytes, which spares a copy per row.
template<typename Text>
void readDescription(const Text &description, QString *type, QString *length)
{
    length->clear();
    if (description.contains(QLatin1String("ARRAY"))) {
        const int open = int(description.indexOf(QLatin1Char('[')));
        const int close = int(description.indexOf(QLatin1Char(']'), open + 1));
        if (open >= 0 && close > open)
            *length = QString(description.mid(open + 1, close - open - 1));
    }
    if (description.contains(QLatin1String("BOOL"))) {
        *type = QStringLiteral("Bool");
        if (length->isEmpty())
            *length = QStringLiteral("1");
    } else if (description.contains(QLatin1String("DWORD"))) {
        *type = QStringLiteral("Int32");
        if (length->isEmpty())
            *length = QStringLiteral("4");
    } else {
        *type = QStringLiteral("Int16");
        if (length->isEmpty())
            *length = QStringLiteral("2");
    }
}

// A field that would break the line layout: a line break anywhere, or a
// comma in any field but the last.
bool breaksLine(const QString &text, bool commaAllowed)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')
            || (!commaAllowed && c == QLatin1Char(',')))
            return true;
    }
    return false;
}

} // namespace

QString AddressTextFile::insertAddressBlank(const QString &address, int protocol)
{
    if (address.size() < 2 || hasSpace(address))
        return address;
    return withBlankAt(address,
                       blankPosition(address,
                                     Config::instance()->deviceProtocolTable().areas(protocol)));
}

QString AddressTextFile::typeDescription(const QString &format, const QString &length)
{
    QString description = QStringLiteral("WORD");
    if (format == QLatin1String("Bool"))
        description = QStringLiteral("BOOL");
    else if (format == QLatin1String("Int32") || format == QLatin1String("Uint32")
             || format == QLatin1String("Float") || format == QLatin1String("Double"))
        description = QStringLiteral("DWORD");
    if (length != usualLength(description))
        return QStringLiteral("ARRAY[%1] OF WORD").arg(length);
    return description;
}

AddressTextFile::Import AddressTextFile::parse(const QByteArray &bytes)
{
    const bool utf8 = bytes.startsWith(utf8Bom);
    const Decoder decoder(utf8, bytes.constData() + bytes.size());
    const Config *config = Config::instance();
    const QStringList devices = config->deviceNames();
    QVector<QByteArray> deviceBytes;
    QVector<QVector<RegisterArea>> deviceAreas;
    for (int device = 0; device < devices.size(); ++device) {
        deviceBytes.append(decoder.bytes(devices.at(device)));
        deviceAreas.append(
            config->deviceProtocolTable().areas(config->deviceProtocol(device)));
    }
    const FormatKeys &keys = formatKeys();

    Import result;
    const char *const begin = bytes.constData() + (utf8 ? 3 : 0);
    const char *const end = bytes.constData() + bytes.size();
    result.rows.reserve(int(std::count(begin, end, '\n')));
    const char *lineStart = static_cast<const char *>(std::memchr(begin, '\n', end - begin));
    int lineNumber = 1; // the header
    while (lineStart && lineStart < end) {
        ++lineStart;
        ++lineNumber;
        const char *lineEnd = static_cast<const char *>(std::memchr(lineStart, '\n', end - lineStart));
        const char *next = lineEnd;
        if (!lineEnd)
            lineEnd = end;
        // Lines saved on Windows end in CR LF; the CR belongs to no field.
        if (lineEnd > lineStart && lineEnd[-1] == '\r')
            --lineEnd;

        // The remark is the last field, so commas in it are its own.
        Field fields[6];
        int count = 0;
        const char *fieldStart = lineStart;
        while (count < 5) {
            const char *comma = static_cast<const char *>(
                std::memchr(fieldStart, ',', lineEnd - fieldStart));
            if (!comma)
                break;
            fields[count++] = {fieldStart, int(comma - fieldStart)};
            fieldStart = comma + 1;
        }
        if (count < 5) {
            const Field line{lineStart, int(lineEnd - lineStart)};
            if (!decoder.text(line).trimmed().isEmpty())
                result.skippedLines.append(lineNumber);
            lineStart = next;
            continue;
        }
        fields[5] = {fieldStart, int(lineEnd - fieldStart)};

        QString type;
        QString length;
        if (isAscii(fields[2].data, fields[2].size))
            readDescription(QLatin1String(fields[2].data, fields[2].size), &type, &length);
        else
            readDescription(decoder.text(fields[2]), &type, &length);
        int device = 0;
        const int format = keys.indexOf(fields[4].data, fields[4].size);
        if (format >= 0) {
            for (int i = 0; i < deviceBytes.size(); ++i) {
                if (!deviceBytes.at(i).isNull() && fields[3].equals(deviceBytes.at(i))) {
                    device = i;
                    type = keys.texts.at(format);
                    break;
                }
            }
        }
        const QVector<RegisterArea> &areas = deviceAreas.at(device);
        const QString address
            = isAscii(fields[1].data, fields[1].size)
            ? blankedAddress(QLatin1String(fields[1].data, fields[1].size), areas)
            : blankedAddress(decoder.text(fields[1]), areas);
        QStringList row;
        row.reserve(Config::TagColumnCount);
        row << decoder.text(fields[0]) << devices.at(device) << address << type << length
            << decoder.text(fields[5]);
        result.rows.append(row);
        lineStart = next;
    }
    return result;
}

bool AddressTextFile::format(const QVector<QStringList> &rows, QByteArray *bytes, QString *error)
{
    const QString header = tr("名称,地址,类型,设备,数据格式,备注");
    QString text;
    text.reserve(header.size() + 2 + rows.size() * 48);
    text += header;
    text += QLatin1String("\r\n");
    static const QString none;
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        const auto cell = [&cells](int column) -> const QString & {
            return column < cells.size() ? cells.at(column) : none;
        };
        const QString description
            = typeDescription(cell(Config::TypeColumn), cell(Config::LengthColumn));
        const QString *const fields[] = {&cell(Config::NameColumn),
                                         &cell(Config::AddressColumn),
                                         &description,
                                         &cell(Config::DeviceColumn),
                                         &cell(Config::TypeColumn),
                                         &cell(Config::MarkColumn)};
        const int last = int(std::size(fields)) - 1;
        for (int field = 0; field <= last; ++field) {
            if (breaksLine(*fields[field], field == last)) {
                if (error)
                    *error = tr("第%1行的“%2”含有逗号或换行，无法写入文本文件。")
                                 .arg(row + 1)
                                 .arg(*fields[field]);
                return false;
            }
            if (field > 0)
                text += QLatin1Char(',');
            if (field == 1) {
                // The address goes without its blank; copied a character at
                // a time, as a new string for every row would cost more.
                for (const QChar c : *fields[field]) {
                    if (!c.isSpace())
                        text += c;
                }
            } else {
                text += *fields[field];
            }
        }
        text += QLatin1String("\r\n");
    }

    QTextCodec *codec = gbk();
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    const QByteArray encoded = codec->fromUnicode(text.constData(), text.size(), &state);
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
    *bytes = encoded;
    return true;
}
