#include "binding.h"

#include "clampednumber.h"
#include "config.h"
#include "xmlsafetext.h"

#include <QLocale>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>

namespace {

const QString BindingElement = QStringLiteral("binding");
const QString RangeElement = QStringLiteral("range");
const QString PictureElement = QStringLiteral("picture");

// The file's words, in the order of the enumerations.
const char *const KindKeys[] = {"value", "textstate", "visible", "colours", "action", "picture"};
const char *const ConditionKeys[] = {"bitset", "bitclear", "equal", "unequal", "range"};
const char *const ActionKeys[] = {"set",      "reset", "toggle", "momentary", "write",
                                  "add",      "subtract", "screen", "open",   "close"};

template<std::size_t N>
int keyIndex(const char *const (&keys)[N], const QStringRef &text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (text == QLatin1String(keys[i]))
            return int(i);
    }
    return -1;
}

// The attributes each kind stores besides "kind" and the source.
QStringList kindAttributes(Binding::Kind kind)
{
    switch (kind) {
    case Binding::Value:
        return {QStringLiteral("digits"), QStringLiteral("decimals"), QStringLiteral("scale"),
                QStringLiteral("offset"), QStringLiteral("unit"),     QStringLiteral("min"),
                QStringLiteral("max")};
    case Binding::TextState:
        return {QStringLiteral("texttag"), QStringLiteral("fallback")};
    case Binding::Visible:
        return {QStringLiteral("condition"), QStringLiteral("value"), QStringLiteral("value2")};
    case Binding::Action:
        return {QStringLiteral("action"), QStringLiteral("value"), QStringLiteral("min"),
                QStringLiteral("max"), QStringLiteral("screen")};
    case Binding::Colours:
    case Binding::Picture:
        break;
    }
    return {};
}

// The shortest text that reads back as the same double.
QString realText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString colourText(const QColor &c)
{
    return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

// A number the field cannot hold keeps the nearest one it can, and the load
// says so, as with every number of the file.
void noteClamped(const QStringRef &text, const QString &element, const QString &attribute,
                 const QString &kept, bool notANumber)
{
    Config::instance()->noteClamped(
        {element, attribute, text.toString(), kept, ProjectPlace(), notANumber});
}

int readInteger(const QXmlStreamReader &reader, const QString &name, int min, int max,
                int fallback)
{
    const QStringRef text = reader.attributes().value(name);
    ClampedNumber::Reading reading = ClampedNumber::Fits;
    const int value = int(ClampedNumber::readInteger(text, min, max, fallback, &reading));
    if (reading == ClampedNumber::OutOfRange || reading == ClampedNumber::NotANumber)
        noteClamped(text, reader.name().toString(), name, QString::number(value),
                    reading == ClampedNumber::NotANumber);
    return value;
}

double readReal(const QXmlStreamReader &reader, const QString &name, double fallback)
{
    const QStringRef text = reader.attributes().value(name);
    double value = 0;
    switch (ClampedNumber::readDouble(text, &value)) {
    case ClampedNumber::Fits:
        return value;
    case ClampedNumber::Missing:
        return fallback;
    case ClampedNumber::OutOfRange:
        value = value < 0 ? std::numeric_limits<double>::lowest()
                          : std::numeric_limits<double>::max();
        noteClamped(text, reader.name().toString(), name, realText(value), false);
        return value;
    case ClampedNumber::NotANumber:
        break;
    }
    noteClamped(text, reader.name().toString(), name, realText(fallback), true);
    return fallback;
}

// A colour attribute; one that is there but names no colour is left out of
// known, so that it is kept and written back as it came.
QColor readColour(const QXmlStreamReader &reader, const QString &name, QStringList *known)
{
    const QStringRef text = reader.attributes().value(name);
    if (text.isEmpty())
        return QColor();
    // Only the forms the writer gives, so that what is read is written back
    // as it stood.
    const QColor colour(text.toString());
    if (colour.isValid() && text.startsWith(QLatin1Char('#'))
        && (text.size() == 7 || text.size() == 9))
        return colour;
    known->removeAll(name);
    return QColor();
}

// Kept content compared by what it writes: it holds tokens, not values.
QByteArray keptText(const KeptContent &kept)
{
    if (kept.isEmpty())
        return QByteArray();
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.writeStartElement(QStringLiteral("k"));
    kept.writeAttributes(&writer);
    kept.writeElementsFrom(&writer, 0);
    writer.writeEndElement();
    return bytes;
}

bool sameColour(const QColor &a, const QColor &b)
{
    // Invalid colours compare by validity alone.
    return a.isValid() == b.isValid() && (!a.isValid() || a.rgba() == b.rgba());
}

void readRange(QXmlStreamReader *reader, Binding::Range *range, int levels)
{
    QStringList known = {QStringLiteral("from"), QStringLiteral("to"),   QStringLiteral("fill"),
                         QStringLiteral("line"), QStringLiteral("text"), QStringLiteral("blink")};
    range->from = readReal(*reader, QStringLiteral("from"), 0);
    range->to = readReal(*reader, QStringLiteral("to"), 0);
    range->fill = readColour(*reader, QStringLiteral("fill"), &known);
    range->line = readColour(*reader, QStringLiteral("line"), &known);
    range->text = readColour(*reader, QStringLiteral("text"), &known);
    range->blink = reader->attributes().value(QLatin1String("blink")) == QLatin1String("1");
    range->kept.keepAttributes(*reader, known);
    range->kept.keepChildren(reader, levels - 1);
}

void writeRange(QXmlStreamWriter *writer, const Binding::Range &range)
{
    writer->writeStartElement(RangeElement);
    writer->writeAttribute(QStringLiteral("blink"), range.blink ? QStringLiteral("1")
                                                                : QStringLiteral("0"));
    if (range.fill.isValid())
        writer->writeAttribute(QStringLiteral("fill"), colourText(range.fill));
    writer->writeAttribute(QStringLiteral("from"), realText(range.from));
    if (range.line.isValid())
        writer->writeAttribute(QStringLiteral("line"), colourText(range.line));
    if (range.text.isValid())
        writer->writeAttribute(QStringLiteral("text"), colourText(range.text));
    writer->writeAttribute(QStringLiteral("to"), realText(range.to));
    range.kept.writeAttributes(writer);
    range.kept.writeElementsFrom(writer, 0);
    writer->writeEndElement();
}

void readPicture(QXmlStreamReader *reader, Binding::PictureFile *picture, int levels)
{
    picture->file = reader->attributes().value(QLatin1String("file")).toString();
    picture->kept.keepAttributes(*reader, {QStringLiteral("file")});
    picture->kept.keepChildren(reader, levels - 1);
}

void writePicture(QXmlStreamWriter *writer, const Binding::PictureFile &picture)
{
    writer->writeStartElement(PictureElement);
    writer->writeAttribute(QStringLiteral("file"), xmlSafeText(picture.file));
    picture.kept.writeAttributes(writer);
    picture.kept.writeElementsFrom(writer, 0);
    writer->writeEndElement();
}

} // namespace

bool Binding::Range::operator==(const Range &other) const
{
    return from == other.from && to == other.to && sameColour(fill, other.fill)
        && sameColour(line, other.line) && sameColour(text, other.text) && blink == other.blink
        && keptText(kept) == keptText(other.kept);
}

bool Binding::PictureFile::operator==(const PictureFile &other) const
{
    return file == other.file && keptText(kept) == keptText(other.kept);
}

bool Binding::operator==(const Binding &other) const
{
    if (kind != other.kind || tag != other.tag || keptText(kept) != keptText(other.kept))
        return false;
    if (tag.isEmpty()
        && (device != other.device || address != other.address || format != other.format))
        return false;
    switch (kind) {
    case Value:
        return digits == other.digits && decimals == other.decimals && scale == other.scale
            && offset == other.offset && unit == other.unit && minimum == other.minimum
            && maximum == other.maximum;
    case TextState:
        return textTag == other.textTag && fallback == other.fallback;
    case Visible:
        return condition == other.condition && value == other.value && value2 == other.value2;
    case Colours:
        return ranges == other.ranges;
    case Action:
        return action == other.action && value == other.value && minimum == other.minimum
            && maximum == other.maximum && screen == other.screen;
    case Picture:
        return pictures == other.pictures;
    }
    return false;
}

namespace {

QString referenceAttribute(Binding::Reference reference)
{
    switch (reference) {
    case Binding::TagReference:
        return QStringLiteral("tag");
    case Binding::TextTagReference:
        return QStringLiteral("texttag");
    case Binding::ScreenReference:
        return QStringLiteral("screen");
    case Binding::DeviceReference:
        return QStringLiteral("device");
    case Binding::KindReference:
        break;
    }
    return QStringLiteral("kind");
}

} // namespace

bool Binding::isKeptBinding(const UnknownElement &element)
{
    return element.name() == BindingElement;
}

QString Binding::keptReference(const UnknownElement &element, Reference reference)
{
    if (!isKeptBinding(element))
        return QString();
    return element.attribute(referenceAttribute(reference));
}

bool Binding::setKeptReference(UnknownElement *element, Reference reference, const QString &value)
{
    if (!isKeptBinding(*element))
        return false;
    return element->setAttribute(referenceAttribute(reference), value);
}

QString Binding::kindKey(Kind kind)
{
    return QLatin1String(KindKeys[kind]);
}

QString Binding::actionKey(ActionKind action)
{
    return QLatin1String(ActionKeys[action]);
}

QString Binding::conditionKey(Condition condition)
{
    return QLatin1String(ConditionKeys[condition]);
}

QString Binding::kindName(Kind kind)
{
    switch (kind) {
    case Value:
        return tr("数值");
    case TextState:
        return tr("文字状态");
    case Visible:
        return tr("可见");
    case Colours:
        return tr("颜色");
    case Action:
        return tr("动作");
    case Picture:
        return tr("图片");
    }
    return QString();
}

QString Binding::sourceText() const
{
    if (!tag.isEmpty())
        return tag;
    QStringList parts;
    if (!device.isEmpty())
        parts << device;
    if (!address.isEmpty())
        parts << address;
    return parts.join(QLatin1Char(' '));
}

QString Binding::summary() const
{
    QString source = sourceText();
    // A screen action needs no source; the screen is what it is about.
    if (kind == Action && action >= SwitchScreen)
        source = screen;
    if (source.isEmpty())
        source = tr("(无)");
    return kindName(kind) + QLatin1String(": ") + source;
}

Binding Binding::xmlSafe() const
{
    Binding safe = *this;
    for (QString *text : {&safe.tag, &safe.device, &safe.address, &safe.format, &safe.unit,
                          &safe.textTag, &safe.screen})
        *text = xmlSafeText(*text);
    for (PictureFile &picture : safe.pictures)
        picture.file = xmlSafeText(picture.file);
    return safe;
}

bool Binding::readXml(QXmlStreamReader *reader, int levels)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    const int kindIndex = keyIndex(KindKeys, attributes.value(QLatin1String("kind")));
    if (kindIndex < 0)
        return false;
    const Kind readKind = Kind(kindIndex);
    int conditionIndex = BitSet;
    int actionIndex = SetBit;
    if (readKind == Visible && attributes.hasAttribute(QLatin1String("condition"))) {
        conditionIndex = keyIndex(ConditionKeys, attributes.value(QLatin1String("condition")));
        if (conditionIndex < 0)
            return false;
    }
    if (readKind == Action && attributes.hasAttribute(QLatin1String("action"))) {
        actionIndex = keyIndex(ActionKeys, attributes.value(QLatin1String("action")));
        if (actionIndex < 0)
            return false;
    }

    *this = Binding();
    kind = readKind;
    condition = Condition(conditionIndex);
    action = ActionKind(actionIndex);
    QStringList known = QStringList {QStringLiteral("kind"), QStringLiteral("tag"),
                                     QStringLiteral("device"), QStringLiteral("address"),
                                     QStringLiteral("format")}
        + kindAttributes(kind);
    tag = attributes.value(QLatin1String("tag")).toString();
    device = attributes.value(QLatin1String("device")).toString();
    address = attributes.value(QLatin1String("address")).toString();
    format = attributes.value(QLatin1String("format")).toString();
    switch (kind) {
    case Value:
        digits = readInteger(*reader, QStringLiteral("digits"), 0, 64, 0);
        decimals = readInteger(*reader, QStringLiteral("decimals"), 0, 64, 0);
        scale = readReal(*reader, QStringLiteral("scale"), 1);
        offset = readReal(*reader, QStringLiteral("offset"), 0);
        unit = attributes.value(QLatin1String("unit")).toString();
        minimum = readReal(*reader, QStringLiteral("min"), 0);
        maximum = readReal(*reader, QStringLiteral("max"), 0);
        break;
    case TextState:
        textTag = attributes.value(QLatin1String("texttag")).toString();
        fallback = readInteger(*reader, QStringLiteral("fallback"), 0, 65535, 0);
        break;
    case Visible:
        value = readReal(*reader, QStringLiteral("value"), 0);
        value2 = readReal(*reader, QStringLiteral("value2"), 0);
        break;
    case Action:
        value = readReal(*reader, QStringLiteral("value"), 0);
        minimum = readReal(*reader, QStringLiteral("min"), 0);
        maximum = readReal(*reader, QStringLiteral("max"), 0);
        screen = attributes.value(QLatin1String("screen")).toString();
        break;
    case Colours:
    case Picture:
        break;
    }
    kept.keepAttributes(*reader, known);

    // Rows of a kind's table are read up to the bound; the rest, and
    // anything else, is kept in its place among them.
    while (reader->readNextStartElement()) {
        const QStringRef name = reader->name();
        if (kind == Colours && name == RangeElement && ranges.size() < MaxEntries) {
            kept.placePending(ranges.size());
            Range range;
            readRange(reader, &range, levels - 1);
            ranges.append(range);
        } else if (kind == Picture && name == PictureElement && pictures.size() < MaxEntries) {
            kept.placePending(pictures.size());
            PictureFile picture;
            readPicture(reader, &picture, levels - 1);
            pictures.append(picture);
        } else {
            kept.keepPending(reader, levels - 1);
        }
    }
    kept.placePending(kind == Colours ? ranges.size() : pictures.size());
    return true;
}

void Binding::writeXml(QXmlStreamWriter *writer) const
{
    writer->writeStartElement(BindingElement);
    writer->writeAttribute(QStringLiteral("kind"), kindKey(kind));
    if (!tag.isEmpty())
        writer->writeAttribute(QStringLiteral("tag"), xmlSafeText(tag));
    // A tag with a direct address beside it (written by hand) keeps both.
    if (tag.isEmpty() || !device.isEmpty() || !address.isEmpty() || !format.isEmpty()) {
        writer->writeAttribute(QStringLiteral("device"), xmlSafeText(device));
        writer->writeAttribute(QStringLiteral("address"), xmlSafeText(address));
        writer->writeAttribute(QStringLiteral("format"), xmlSafeText(format));
    }
    switch (kind) {
    case Value:
        writer->writeAttribute(QStringLiteral("digits"), QString::number(digits));
        writer->writeAttribute(QStringLiteral("decimals"), QString::number(decimals));
        writer->writeAttribute(QStringLiteral("scale"), realText(scale));
        writer->writeAttribute(QStringLiteral("offset"), realText(offset));
        writer->writeAttribute(QStringLiteral("unit"), xmlSafeText(unit));
        writer->writeAttribute(QStringLiteral("min"), realText(minimum));
        writer->writeAttribute(QStringLiteral("max"), realText(maximum));
        break;
    case TextState:
        writer->writeAttribute(QStringLiteral("texttag"), xmlSafeText(textTag));
        writer->writeAttribute(QStringLiteral("fallback"), QString::number(fallback));
        break;
    case Visible:
        writer->writeAttribute(QStringLiteral("condition"), conditionKey(condition));
        writer->writeAttribute(QStringLiteral("value"), realText(value));
        writer->writeAttribute(QStringLiteral("value2"), realText(value2));
        break;
    case Action:
        writer->writeAttribute(QStringLiteral("action"), actionKey(action));
        writer->writeAttribute(QStringLiteral("value"), realText(value));
        writer->writeAttribute(QStringLiteral("min"), realText(minimum));
        writer->writeAttribute(QStringLiteral("max"), realText(maximum));
        writer->writeAttribute(QStringLiteral("screen"), xmlSafeText(screen));
        break;
    case Colours:
    case Picture:
        break;
    }
    kept.writeAttributes(writer);
    if (kind == Colours) {
        for (int i = 0; i < ranges.size(); ++i) {
            kept.writeElements(writer, i);
            writeRange(writer, ranges.at(i));
        }
        kept.writeElementsFrom(writer, ranges.size());
    } else if (kind == Picture) {
        for (int i = 0; i < pictures.size(); ++i) {
            kept.writeElements(writer, i);
            writePicture(writer, pictures.at(i));
        }
        kept.writeElementsFrom(writer, pictures.size());
    } else {
        kept.writeElementsFrom(writer, 0);
    }
    writer->writeEndElement();
}

bool Binding::readInto(QXmlStreamReader *reader, QVector<Binding> *list, int levels)
{
    if (reader->name() != BindingElement || list->size() >= MaxPerShape)
        return false;
    Binding binding;
    if (!binding.readXml(reader, levels))
        return false;
    list->append(binding);
    return true;
}

void Binding::writeList(QXmlStreamWriter *writer, const QVector<Binding> &list)
{
    for (const Binding &binding : list)
        binding.writeXml(writer);
}

QVector<QPair<QString, KeptContent>> Binding::keptParts() const
{
    QVector<QPair<QString, KeptContent>> parts;
    if (!kept.isEmpty())
        parts.append({BindingElement, kept});
    for (const Range &range : ranges) {
        if (!range.kept.isEmpty())
            parts.append({RangeElement, range.kept});
    }
    for (const PictureFile &picture : pictures) {
        if (!picture.kept.isEmpty())
            parts.append({PictureElement, picture.kept});
    }
    return parts;
}
