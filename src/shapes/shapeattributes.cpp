#include "shapeattributes.h"

#include "graphicsitem.h"
#include "model/builtintables.h"
#include "model/clampednumber.h"
#include "model/config.h"
#include "model/propertyregistry.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QMetaProperty>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

// How one attribute maps onto its property, worked out once per class: a
// large project reads and writes hundreds of thousands of attributes, and
// looking each property up by name dominated both.
struct AttributeSlot
{
    QString name;
    QByteArray key;
    // Invalid when the class has no such property (it is then read and
    // written as a dynamic property).
    QMetaProperty property;
    // What the property says of itself, asked once: QMetaProperty looks an
    // enumeration's type up by name every time it is asked.
    int type = QMetaType::UnknownType;
    int index = -1;
    // The class that declares the property and the index within it: its
    // reads and writes go there at once instead of down the chain of each
    // class's qt_metacall.
    void (*call)(QObject *, QMetaObject::Call, int, void **) = nullptr;
    int localIndex = -1;
    bool isEnum = false;
    bool writable = false;
    double low = 0;
    double high = 0;
    // Where the attribute stood in the last element read: a file lists an
    // element's attributes in the same order throughout, so looking there
    // first spares comparing the name with every other attribute.
    mutable int lastPosition = 0;
};

QStringRef attributeValue(const QXmlStreamAttributes &attributes, const AttributeSlot &slot)
{
    const int count = attributes.size();
    if (slot.lastPosition < count) {
        const QXmlStreamAttribute &guess = attributes.at(slot.lastPosition);
        if (guess.qualifiedName() == slot.name)
            return guess.value();
    }
    for (int i = 0; i < count; ++i) {
        if (attributes.at(i).qualifiedName() == slot.name) {
            slot.lastPosition = i;
            return attributes.at(i).value();
        }
    }
    return QStringRef();
}

struct AttributePlan
{
    // In the order the properties are set on reading (a position after the
    // size it depends on).
    QVector<AttributeSlot> entries;
    // Positions in entries by name: the order the file lists them in, so the
    // writer's output needs no sorting afterwards.
    QVector<int> byName;
};

// Far beyond any screen, zoom or angle, yet well inside what painting
// converts to int: a number past it in a file (infinity too) keeps the
// nearer end. NaN is damage, and the property keeps its value.
constexpr double MaxAttributeNumber = 1e7;

// The bounds of a number property: a pen refuses widths beyond its own
// (keeping the old one and complaining on stderr), and an opacity beyond
// its ends is cut to them; anything else may reach MaxAttributeNumber.
struct NumberBounds
{
    double low;
    double high;
};

NumberBounds boundsOf(const QString &name)
{
    if (name == QLatin1String("penSize"))
        return {0, GraphicsItem::MaxPenSize};
    if (name == QLatin1String("opacity"))
        return {0, 1};
    return {-MaxAttributeNumber, MaxAttributeNumber};
}

AttributePlan planFor(const QObject *object, const QStringList &names)
{
    const QMetaObject *meta = object->metaObject();
    AttributePlan plan;
    plan.entries.reserve(names.size());
    for (const QString &name : names) {
        AttributeSlot slot;
        slot.name = name;
        slot.key = name.toLatin1();
        const int index = meta->indexOfProperty(slot.key.constData());
        if (index >= 0) {
            slot.property = meta->property(index);
            slot.type = slot.property.userType();
            slot.index = index;
            slot.isEnum = slot.property.isEnumType();
            slot.writable = slot.property.isWritable();
            const QMetaObject *declaring = meta;
            while (declaring && index < declaring->propertyOffset())
                declaring = declaring->superClass();
            if (declaring && declaring->d.static_metacall) {
                slot.call = declaring->d.static_metacall;
                slot.localIndex = index - declaring->propertyOffset();
            }
        }
        const NumberBounds bounds = boundsOf(name);
        slot.low = bounds.low;
        slot.high = bounds.high;
        plan.entries.append(slot);
    }
    plan.byName.resize(plan.entries.size());
    std::iota(plan.byName.begin(), plan.byName.end(), 0);
    std::sort(plan.byName.begin(), plan.byName.end(), [&plan](int a, int b) {
        return plan.entries.at(a).name < plan.entries.at(b).name;
    });
    return plan;
}

// The plan for an explicit list of names: image shapes and screens read
// only the attributes present, and a large project has thousands of them.
const AttributePlan &namedPlan(const QObject *object, const QStringList &names)
{
    static QHash<QPair<const QMetaObject *, QStringList>, AttributePlan> cache;
    const auto key = qMakePair(object->metaObject(), names);
    auto it = cache.find(key);
    if (it == cache.end()) {
        // A bound on what a file's attribute combinations can make us keep.
        if (cache.size() > 4096)
            cache.clear();
        it = cache.insert(key, planFor(object, names));
    }
    return it.value();
}

// The plan for the object's registered properties; rebuilt whenever the
// registry changes.
const AttributePlan &registeredPlan(const QObject *object)
{
    static QHash<const QMetaObject *, AttributePlan> cache;
    static int cachedRevision = -1;
    const int revision = BuiltinTables::instance()->propertyRegistry().revision();
    if (revision != cachedRevision) {
        cache.clear();
        cachedRevision = revision;
    }
    const QMetaObject *meta = object->metaObject();
    auto it = cache.find(meta);
    if (it == cache.end())
        it = cache.insert(meta, planFor(object, propertyNamesOf(object)));
    return it.value();
}

QVariant readValue(const QObject *object, const AttributeSlot &slot)
{
    return slot.property.isValid() ? slot.property.read(object)
                                   : object->property(slot.key.constData());
}

// The text of k / 100 with two decimals, without the general formatter.
QString hundredthsText(qint64 k)
{
    const qint64 magnitude = k < 0 ? -k : k;
    QString text = QString::number(magnitude / 100);
    if (k < 0)
        text.prepend(QLatin1Char('-'));
    const int cents = int(magnitude % 100);
    text += QLatin1Char('.');
    text += QLatin1Char(char('0' + cents / 10));
    text += QLatin1Char(char('0' + cents % 10));
    return text;
}

QString decimalText(double value)
{
    // Sizes, angles and opacities are nearly always whole or hundredths,
    // within a few units in the last place of k / 100 and so far from any
    // rounding tie: their text is k / 100's. Never "-0.00" (k is then 0).
    const double hundredths = value * 100;
    if (std::abs(hundredths) < 1e12 && hundredths == std::nearbyint(hundredths))
        return hundredthsText(qint64(hundredths));
    // Never "-0.00": see the point coordinates of GraphicsPolygonItem.
    QString text = QString::number(value, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text.remove(0, 1);
    return text;
}

QString colourText(const QColor &c)
{
    return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

QString valueText(const QMetaProperty &property, const QVariant &value)
{
    if (property.isEnumType())
        return QString::number(value.toInt());
    switch (int(value.type())) {
    case QMetaType::Double:
    case QMetaType::Float:
        return decimalText(value.toDouble());
    case QMetaType::QPointF:
    case QMetaType::QPoint: {
        const QPointF p = value.toPointF();
        return QStringLiteral("(%1,%2)").arg(coordinateText(p.x()), coordinateText(p.y()));
    }
    case QMetaType::QRectF:
    case QMetaType::QRect: {
        const QRectF r = value.toRectF();
        return QStringLiteral("[(%1,%2)],%3\u00d7%4")
            .arg(coordinateText(r.x()), coordinateText(r.y()), coordinateText(r.width()),
                 coordinateText(r.height()));
    }
    case QMetaType::QColor:
        return colourText(value.value<QColor>());
    case QMetaType::QFont:
        return value.value<QFont>().toString();
    default:
        return value.toString();
    }
}

// Brings value within the limit; says whether it had to.
bool clampNumber(double *value)
{
    const double kept = qBound(-MaxAttributeNumber, *value, MaxAttributeNumber);
    if (kept == *value)
        return false;
    *value = kept;
    return true;
}

bool clampAll(QVector<double> *numbers)
{
    bool clamped = false;
    for (double &value : *numbers)
        clamped = clampNumber(&value) || clamped;
    return clamped;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Numbers in point and rectangle texts: an optional minus, digits, an
// optional fraction and an optional exponent. The sign is read too: a shape
// may sit at negative coordinates inside a group, and what we write must
// read back as written. Exponents are no longer written, but files saved
// with them ("(7.10543e-15,100)") must still give two numbers.
QVector<double> numbersIn(const QStringRef &text)
{
    QVector<double> result;
    const int n = text.size();
    int i = 0;
    while (i < n) {
        const int start = i;
        int j = i;
        if (text.at(j) == QLatin1Char('-') && j + 1 < n && isDigit(text.at(j + 1)))
            ++j;
        else if (!isDigit(text.at(j))) {
            ++i;
            continue;
        }
        while (j < n && isDigit(text.at(j)))
            ++j;
        if (j < n && text.at(j) == QLatin1Char('.')) {
            ++j;
            while (j < n && isDigit(text.at(j)))
                ++j;
        }
        if (j + 1 < n && (text.at(j) == QLatin1Char('e') || text.at(j) == QLatin1Char('E'))) {
            int k = j + 1;
            if (text.at(k) == QLatin1Char('-') || text.at(k) == QLatin1Char('+'))
                ++k;
            if (k < n && isDigit(text.at(k))) {
                while (k < n && isDigit(text.at(k)))
                    ++k;
                j = k;
            }
        }
        result.append(text.mid(start, j - start).toDouble());
        i = j;
    }
    return result;
}

bool noted(ClampedNumber::Reading reading)
{
    return reading == ClampedNumber::OutOfRange || reading == ClampedNumber::NotANumber;
}

// The attribute text as a value of the property's type; invalid when the
// text cannot give one and the property must keep its value. *reading says
// whether a number had to be brought within its bounds (OutOfRange) or was
// none at all (NotANumber); either is named by the load.
QVariant parseValue(const QObject *object, const AttributeSlot &slot, const QStringRef &text,
                    ClampedNumber::Reading *reading)
{
    *reading = ClampedNumber::Fits;
    if (slot.isEnum) {
        // Only the enumeration's own values: anything else would be stored
        // in an enum that cannot hold it, so the shape keeps its own.
        const qint64 value = ClampedNumber::readInteger(
            text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0, reading);
        if (*reading == ClampedNumber::Missing) {
            *reading = ClampedNumber::Fits;
            return slot.property.enumerator().valueToKey(0) ? QVariant(0) : QVariant();
        }
        if (!slot.property.enumerator().valueToKey(int(value))) {
            if (*reading != ClampedNumber::NotANumber)
                *reading = ClampedNumber::OutOfRange;
            return QVariant();
        }
        return int(value);
    }
    int type = slot.type;
    if (type == QMetaType::UnknownType || type == QMetaType::QVariant)
        type = readValue(object, slot).userType();
    switch (type) {
    case QMetaType::Bool:
        return text == QLatin1String("true");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong: {
        const qint64 value = ClampedNumber::readInteger(text, qint64(slot.low),
                                                        qint64(slot.high), 0, reading);
        if (*reading == ClampedNumber::NotANumber)
            return QVariant();
        return int(value);
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        double value = 0;
        *reading = ClampedNumber::readDouble(text, &value);
        if (*reading == ClampedNumber::NotANumber)
            return QVariant();
        const double kept = qBound(slot.low, value, slot.high);
        if (kept != value)
            *reading = ClampedNumber::OutOfRange;
        return kept;
    }
    case QMetaType::QRect:
    case QMetaType::QRectF: {
        QVector<double> n = numbersIn(text);
        if (n.size() != 4)
            return QVariant();
        if (clampAll(&n))
            *reading = ClampedNumber::OutOfRange;
        const QRectF r(n.at(0), n.at(1), n.at(2), n.at(3));
        return type == QMetaType::QRect ? QVariant(r.toRect()) : QVariant(r);
    }
    case QMetaType::QPoint:
    case QMetaType::QPointF: {
        QVector<double> n = numbersIn(text);
        if (n.size() != 2)
            return QVariant();
        if (clampAll(&n))
            *reading = ClampedNumber::OutOfRange;
        const QPointF p(n.at(0), n.at(1));
        return type == QMetaType::QPoint ? QVariant(p.toPoint()) : QVariant(p);
    }
    case QMetaType::QColor: {
        QColor colour;
        colour.setNamedColor(QStringView(text));
        return colour;
    }
    case QMetaType::QFont: {
        // No attribute keeps the font (and spares the log a warning).
        if (text.isEmpty())
            return QVariant();
        QFont font;
        font.fromString(text.toString());
        return font;
    }
    default:
        return text.toString();
    }
}

// Reads a property of a plain type straight into value, without the
// QVariant that QMetaProperty::read() builds; saving a large project reads
// hundreds of thousands of them.
void propertyCall(QObject *object, const AttributeSlot &slot, QMetaObject::Call call,
                  void **argv)
{
    if (slot.call)
        slot.call(object, call, slot.localIndex, argv);
    else
        QMetaObject::metacall(object, call, slot.index, argv);
}

template<typename T>
T readTyped(QObject *object, const AttributeSlot &slot)
{
    T value {};
    int status = -1;
    void *argv[] = {&value, nullptr, &status};
    propertyCall(object, slot, QMetaObject::ReadProperty, argv);
    // A getter may hand back a pointer to its own storage instead.
    return argv[0] == &value ? value : *static_cast<T *>(argv[0]);
}

QString attributeText(QObject *object, const AttributeSlot &slot)
{
    const QMetaProperty &property = slot.property;
    if (property.isValid() && property.isReadable()) {
        if (slot.isEnum)
            return QString::number(readTyped<int>(object, slot));
        switch (slot.type) {
        case QMetaType::Double:
            return decimalText(readTyped<double>(object, slot));
        case QMetaType::Int:
            return QString::number(readTyped<int>(object, slot));
        case QMetaType::Bool:
            return readTyped<bool>(object, slot) ? QStringLiteral("true")
                                                     : QStringLiteral("false");
        case QMetaType::QColor:
            return colourText(readTyped<QColor>(object, slot));
        default:
            break;
        }
    }
    return valueText(property, readValue(object, slot));
}

bool writePlan(QXmlStreamWriter *writer, QObject *shape, const AttributePlan &plan)
{
    for (const int position : plan.byName) {
        const AttributeSlot &slot = plan.entries.at(position);
        writer->writeAttribute(slot.name, attributeText(shape, slot));
    }
    return true;
}

// A value of the property's own type goes straight to the setter: loading
// a large project writes hundreds of thousands of them, and
// QMetaProperty::write() copies and checks each one first. Anything else
// (an enumeration read as a number) is converted there.
void writeProperty(QObject *object, const AttributeSlot &slot, const QVariant &value)
{
    if (value.userType() != slot.type || !slot.writable) {
        slot.property.write(object, value);
        return;
    }
    int status = -1;
    int flags = 0;
    void *argv[] = {const_cast<void *>(value.constData()), nullptr, &status, &flags};
    propertyCall(object, slot, QMetaObject::WriteProperty, argv);
}

bool readPlan(QXmlStreamReader *reader, QObject *shape, const AttributePlan &plan)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    for (const AttributeSlot &slot : plan.entries) {
        const QStringRef text = attributeValue(attributes, slot);
        ClampedNumber::Reading reading = ClampedNumber::Fits;
        const QVariant value = parseValue(shape, slot, text, &reading);
        if (noted(reading))
            Config::instance()->noteClamped({reader->name().toString(), slot.name,
                                             text.toString(), QString(), ProjectPlace(),
                                             reading == ClampedNumber::NotANumber});
        if (value.isValid()) {
            if (slot.property.isValid())
                writeProperty(shape, slot, value);
            else
                shape->setProperty(slot.key.constData(), value);
        }
        // As the setter stored it, or the value the shape kept.
        if (noted(reading))
            Config::instance()->noteKeptValue(attributeText(shape, slot));
    }
    return true;
}

} // namespace

bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape)
{
    return writePlan(writer, shape, registeredPlan(shape));
}

bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape, const QStringList &names)
{
    return writePlan(writer, shape, namedPlan(shape, names));
}

// Coordinates in fixed notation, never with an exponent: older readers took
// "7.1e-15" for two numbers. The fewest digits that read back as the value,
// at most 13 significant: whole pixels and typed decimals read back exactly,
// any other value to a billionth of a pixel, and the last-bit errors that
// grouping, turning and loading add are rounded off, so a loaded project
// saves to the same text.
QString coordinateText(double value)
{
    if (!std::isfinite(value) || std::abs(value) < 1e-9)
        return QStringLiteral("0");
    // Whole pixels and hundredths, nearly every coordinate a project holds,
    // without the general formatter: a save writes hundreds of thousands.
    // Such a value is within a few units in the last place of k / 100, far
    // inside the 13 significant digits below, so the text is k / 100's.
    const double hundredths = value * 100;
    if (std::abs(hundredths) < 1e12 && hundredths == std::nearbyint(hundredths)) {
        const qint64 k = qint64(hundredths);
        const qint64 magnitude = k < 0 ? -k : k;
        QString text = QString::number(magnitude / 100);
        if (k < 0)
            text.prepend(QLatin1Char('-'));
        const int cents = int(magnitude % 100);
        if (cents) {
            text += QLatin1Char('.');
            text += QLatin1Char(char('0' + cents / 10));
            if (cents % 10)
                text += QLatin1Char(char('0' + cents % 10));
        }
        return text;
    }
    const int integerDigits = int(std::floor(std::log10(std::abs(value)))) + 1;
    return fixedText(value, qMax(0, 13 - integerDigits));
}

QString fixedText(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        int end = text.size();
        while (text.at(end - 1) == QLatin1Char('0'))
            --end;
        if (text.at(end - 1) == QLatin1Char('.'))
            --end;
        text.truncate(end);
    }
    return text;
}

void writeAttributeValue(QXmlStreamWriter *writer, const QString &name, const QVariant &value)
{
    writer->writeAttribute(name, valueText(QMetaProperty(), value));
}

bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape)
{
    return readPlan(reader, shape, registeredPlan(shape));
}

bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape, const QStringList &names)
{
    return readPlan(reader, shape, namedPlan(shape, names));
}

double readNumberAttribute(const QXmlStreamReader *reader, const QString &name)
{
    const QStringRef text = reader->attributes().value(name);
    double value = 0;
    const ClampedNumber::Reading reading = ClampedNumber::readDouble(text, &value);
    const bool notANumber = reading == ClampedNumber::NotANumber;
    if (clampNumber(&value) || notANumber)
        Config::instance()->noteClamped({reader->name().toString(), name, text.toString(),
                                         coordinateText(value), ProjectPlace(), notANumber});
    return value;
}
