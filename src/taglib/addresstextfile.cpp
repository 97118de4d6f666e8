#include "addresstextfile.h"

#include "project/addresspara.h"
#include "project/config.h"

#include <QMetaEnum>
#include <QTextCodec>

#include <algorithm>
#include <iterator>

namespace {

QTextCodec *gbk()
{
    return QTextCodec::codecForName("GBK");
}

const char utf8Bom[] = "\xEF\xBB\xBF";

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

// A field that would break the line layout: a line break anywhere, or a
// comma in any field but the last.
bool breaksLine(const QString &text, bool commaAllowed)
{
    for (const QChar c : text) {
        // All three lie at or below the comma, where few other characters do.
        const ushort u = c.unicode();
        if (u <= ',' && (u == '\n' || u == '\r' || (!commaAllowed && u == ',')))
            return true;
    }
    return false;
}

const QChar *find(const QChar *from, const QChar *end, char c)
{
    return std::find(from, end, QLatin1Char(c));
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
    const PlainDescription plain = plainDescription(format);
    if (length != plain.usualLength)
        return QLatin1String("ARRAY[") + length + QLatin1String("] OF WORD");
    return plain.word;
}

AddressTextFile::Import AddressTextFile::parse(const QByteArray &bytes)
{
    // Decoded whole, as any reader of the file would; the fields are views
    // into the text and only those a row keeps are copied.
    const bool utf8 = bytes.startsWith(utf8Bom);
    const QString text = utf8 ? QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3)
                              : gbk()->toUnicode(bytes);
    const Config *config = Config::instance();
    // The names rows store: the panel's in its one spelling, whatever the
    // interface language, then the devices'.
    QStringList devices = config->deviceNames();
    devices[0] = Config::localDeviceName();
    QVector<QVector<RegisterArea>> deviceAreas;
    for (int device = 0; device < devices.size(); ++device)
        deviceAreas.append(config->deviceProtocolTable().areas(config->deviceProtocol(device)));
    const QMetaEnum formats = QMetaEnum::fromType<Config::DataFormat>();
    QStringList formatKeys;
    for (int i = 0; i < formats.keyCount(); ++i)
        formatKeys.append(QString::fromLatin1(formats.key(i)));

    Import result;
    const QChar *const end = text.constData() + text.size();
    result.rows.reserve(int(std::count(text.constData(), end, QLatin1Char('\n'))));
    const QChar *lineStart = find(text.constData(), end, '\n');
    int lineNumber = 1; // the header
    while (lineStart < end) {
        ++lineStart;
        ++lineNumber;
        const QChar *const next = find(lineStart, end, '\n');
        const QChar *lineEnd = next;
        // Lines saved on Windows end in CR LF; the CR belongs to no field.
        if (lineEnd > lineStart && lineEnd[-1] == QLatin1Char('\r'))
            --lineEnd;

        // The remark is the last field, so commas in it are its own.
        QStringView fields[6];
        int count = 0;
        const QChar *fieldStart = lineStart;
        while (count < 5) {
            const QChar *const comma = find(fieldStart, lineEnd, ',');
            if (comma == lineEnd)
                break;
            fields[count++] = QStringView(fieldStart, comma);
            fieldStart = comma + 1;
        }
        if (count < 5) {
            if (!QStringView(lineStart, lineEnd).trimmed().isEmpty())
                result.skippedLines.append(lineNumber);
            lineStart = next;
            continue;
        }
        fields[5] = QStringView(fieldStart, lineEnd);

        QString type;
        QString length;
        readDescription(fields[2], &type, &length);
        int device = 0;
        const int format = int(std::find_if(formatKeys.cbegin(), formatKeys.cend(),
                                            [&](const QString &key) { return QStringView(key) == fields[4]; })
                               - formatKeys.cbegin());
        if (format < formatKeys.size()) {
            const int named = int(std::find_if(devices.cbegin(), devices.cend(),
                                               [&](const QString &name) { return QStringView(name) == fields[3]; })
                                  - devices.cbegin());
            if (named < devices.size()) {
                device = named;
                type = formatKeys.at(format);
            } else if (AddressPara local; config->findDevice(fields[3].toString(), local)
                                                 && local.device == 0) {
                // The panel as another interface language spells it.
                type = formatKeys.at(format);
            }
        }
        QStringList row;
        row.reserve(Config::TagColumnCount);
        row << fields[0].toString() << devices.at(device)
            << blankedAddress(fields[1], deviceAreas.at(device)) << type << length
            << fields[5].toString();
        result.rows.append(std::move(row));
        lineStart = next;
    }
    return result;
}

bool AddressTextFile::format(const QVector<QStringList> &rows, QByteArray *bytes, QString *error)
{
    const QString header = tr("名称,地址,类型,设备,数据格式,备注");
    QString text;
    text.reserve(header.size() + 2 + rows.size() * 64);
    text += header;
    text += QLatin1String("\r\n");
    static const QString none;
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        const auto cell = [&cells](int column) -> const QString & {
            return column < cells.size() ? cells.at(column) : none;
        };
        const QString &length = cell(Config::LengthColumn);
        const PlainDescription plain = plainDescription(cell(Config::TypeColumn));
        const bool array = length != plain.usualLength;
        // The description stands in the list by the length it holds, which
        // only an array shows.
        const QString *const fields[] = {&cell(Config::NameColumn),
                                         &cell(Config::AddressColumn),
                                         &length,
                                         &cell(Config::DeviceColumn),
                                         &cell(Config::TypeColumn),
                                         &cell(Config::MarkColumn)};
        const int last = int(std::size(fields)) - 1;
        for (int field = 0; field <= last; ++field) {
            if ((field != 2 || array) && breaksLine(*fields[field], field == last)) {
                if (error)
                    *error = tr("第%1行的“%2”含有逗号或换行，无法写入文本文件。")
                                 .arg(row + 1)
                                 .arg(field == 2 ? typeDescription(cell(Config::TypeColumn), length)
                                                 : *fields[field]);
                return false;
            }
            if (field > 0)
                text += QLatin1Char(',');
            if (field == 2) {
                // Written in pieces, as a string per row would cost more.
                if (array) {
                    text += QLatin1String("ARRAY[");
                    text += length;
                    text += QLatin1String("] OF WORD");
                } else {
                    text += plain.word;
                }
            } else if (field == 1) {
                // The address goes without its blank, written around it
                // rather than through a new string for every row.
                const QString &address = *fields[field];
                int from = 0;
                for (int i = 0; i < address.size(); ++i) {
                    if (address.at(i).isSpace()) {
                        text.append(address.constData() + from, i - from);
                        from = i + 1;
                    }
                }
                text.append(address.constData() + from, address.size() - from);
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
