#include "addresstextfile.h"

#include "project/config.h"

#include <QMetaEnum>
#include <QRegularExpression>
#include <QTextCodec>

namespace {

QTextCodec *gbk()
{
    return QTextCodec::codecForName("GBK");
}

bool isDataFormatKey(const QString &text)
{
    if (text.isEmpty())
        return false;
    bool ok = false;
    QMetaEnum::fromType<Config::DataFormat>().keyToValue(text.toLatin1().constData(), &ok);
    return ok && text == QString::fromLatin1(text.toLatin1());
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

} // namespace

QString AddressTextFile::insertAddressBlank(const QString &address, int protocol)
{
    if (address.size() < 2 || address.contains(QRegularExpression(QStringLiteral("\\s"))))
        return address;
    int split = 1;
    const QVector<RegisterArea> areas = Config::instance()->deviceProtocolTable().areas(protocol);
    for (const RegisterArea &area : areas) {
        if (area.name.size() > split && area.name.size() < address.size()
            && address.startsWith(area.name))
            split = area.name.size();
    }
    return address.left(split) + QLatin1Char(' ') + address.mid(split);
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
    const QByteArray utf8Bom("\xEF\xBB\xBF");
    const QString text = bytes.startsWith(utf8Bom) ? QString::fromUtf8(bytes.mid(3))
                                                   : gbk()->toUnicode(bytes);
    const Config *config = Config::instance();
    const QStringList devices = config->deviceNames();

    Import result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int index = 1; index < lines.size(); ++index) {
        QString line = lines.at(index);
        // Lines saved on Windows end in CR LF; the CR belongs to no field.
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const QStringList fields = line.split(QLatin1Char(','));
        if (fields.size() < 6) {
            result.skippedLines.append(index + 1);
            continue;
        }
        const QString description = fields.at(2);
        QString length;
        if (description.contains(QLatin1String("ARRAY"))) {
            const int open = description.indexOf(QLatin1Char('['));
            const int close = description.indexOf(QLatin1Char(']'), open + 1);
            if (open >= 0 && close > open)
                length = description.mid(open + 1, close - open - 1);
        }
        QString type;
        if (description.contains(QLatin1String("BOOL")))
            type = QStringLiteral("Bool");
        else if (description.contains(QLatin1String("DWORD")))
            type = QStringLiteral("Int32");
        else
            type = QStringLiteral("Int16");
        if (length.isEmpty())
            length = usualLength(description);

        int device = 0;
        const int named = devices.indexOf(fields.at(3));
        if (named >= 0 && isDataFormatKey(fields.at(4))) {
            device = named;
            type = fields.at(4);
        }
        const QString address = insertAddressBlank(fields.at(1).trimmed(),
                                                   config->deviceProtocol(device));
        // The remark is the last field, so commas in it are its own.
        const QString mark = fields.mid(5).join(QLatin1Char(','));
        result.rows.append({fields.at(0), devices.value(device), address, type, length, mark});
    }
    return result;
}

bool AddressTextFile::format(const QVector<QStringList> &rows, QByteArray *bytes, QString *error)
{
    QTextCodec *codec = gbk();
    QString text = tr("名称,地址,类型,设备,数据格式,备注") + QLatin1String("\r\n");
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        const auto cell = [&cells](int column) { return cells.value(column); };
        QString address = cell(Config::AddressColumn);
        address.remove(blanks);
        const QStringList fields = {cell(Config::NameColumn), address,
                                    typeDescription(cell(Config::TypeColumn),
                                                    cell(Config::LengthColumn)),
                                    cell(Config::DeviceColumn), cell(Config::TypeColumn),
                                    cell(Config::MarkColumn)};
        for (int field = 0; field < fields.size(); ++field) {
            const QString &value = fields.at(field);
            const bool lastField = field == fields.size() - 1;
            if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))
                || (!lastField && value.contains(QLatin1Char(',')))) {
                if (error)
                    *error = tr("第%1行的“%2”含有逗号或换行，无法写入文本文件。")
                                 .arg(row + 1)
                                 .arg(value);
                return false;
            }
        }
        const QString line = fields.join(QLatin1Char(','));
        if (!codec->canEncode(line)) {
            if (error)
                *error = tr("第%1行含有GBK编码无法表示的文字，无法写入文本文件。").arg(row + 1);
            return false;
        }
        text += line + QLatin1String("\r\n");
    }
    *bytes = codec->fromUnicode(text);
    return true;
}
