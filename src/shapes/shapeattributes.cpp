#include "shapeattributes.h"

#include "project/config.h"
#include "project/propertyregistry.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QMetaProperty>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

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
};

using AttributePlan = QVector<AttributeSlot>;

AttributePlan planFor(const QObject *object, const QStringList &names)
{
    const QMetaObject *meta = object->metaObject();
    AttributePlan plan;
    plan.reserve(names.size());
    for (const QString &name : names) {
        AttributeSlot slot;
        slot.name = name;
        slot.key = name.toLatin1();
        const int index = meta->indexOfProperty(slot.key.constData());
        if (index >= 0)
            slot.property = meta->property(index);
        plan.append(slot);
    }
    return plan;
}

// The plan for the object's registered properties; rebuilt whenever the
// registry changes.
const AttributePlan &registeredPlan(const QObject *object)
{
    static QHash<const QMetaObject *, AttributePlan> cache;
    static int cachedRevision = -1;
    const int revision = Config::instance()->propertyRegistry().revision();
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

QString decimalText(double value)
{
    return QString::number(value, 'f', 2);
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
        return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
    }
    case QMetaType::QRectF:
    case QMetaType::QRect: {
        const QRectF r = value.toRectF();
        return QStringLiteral("[(%1,%2)],%3\u00d7%4")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height());
    }
    case QMetaType::QColor:
        return colourText(value.value<QColor>());
    case QMetaType::QFont:
        return value.value<QFont>().toString();
    default:
        return value.toString();
    }
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Numbers in point and rectangle texts: an optional minus, digits, and an
// optional fraction. The sign is read too: a shape may sit at negative
// coordinates inside a group, and what we write must read back as written.
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
        result.append(text.mid(start, j - start).toDouble());
        i = j;
    }
    return result;
}

// The attribute text as a value of the property's type; invalid when the
// text cannot give one and the property must keep its value.
QVariant parseValue(const QObject *object, const AttributeSlot &slot, const QStringRef &text)
{
    if (slot.property.isEnumType()) {
        // A number the enumeration does not name would leave the shape
        // with an enum value outside its type, which its code never
        // expects; the shape keeps the value it has.
        const int value = text.toInt();
        if (!slot.property.enumerator().valueToKey(value))
            return QVariant();
        return value;
    }
    int type = slot.property.isValid() ? slot.property.userType() : QMetaType::UnknownType;
    if (type == QMetaType::UnknownType || type == QMetaType::QVariant)
        type = readValue(object, slot).userType();
    switch (type) {
    case QMetaType::Bool:
        return text == QLatin1String("true");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return text.toInt();
    case QMetaType::Double:
    case QMetaType::Float:
        return text.toDouble();
    case QMetaType::QRect:
    case QMetaType::QRectF: {
        const QVector<double> n = numbersIn(text);
        if (n.size() != 4)
            return QVariant();
        const QRectF r(n.at(0), n.at(1), n.at(2), n.at(3));
        return type == QMetaType::QRect ? QVariant(r.toRect()) : QVariant(r);
    }
    case QMetaType::QPoint:
    case QMetaType::QPointF: {
        const QVector<double> n = numbersIn(text);
        if (n.size() != 2)
            return QVariant();
        const QPointF p(n.at(0), n.at(1));
        return type == QMetaType::QPoint ? QVariant(p.toPoint()) : QVariant(p);
    }
    case QMetaType::QColor:
        return QColor(text.toString());
    case QMetaType::QFont: {
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
template<typename T>
T readTyped(QObject *object, const QMetaProperty &property)
{
    T value {};
    int status = -1;
    void *argv[] = {&value, nullptr, &status};
    QMetaObject::metacall(object, QMetaObject::ReadProperty, property.propertyIndex(), argv);
    // A getter may hand back a pointer to its own storage instead.
    return argv[0] == &value ? value : *static_cast<T *>(argv[0]);
}

QString attributeText(QObject *object, const AttributeSlot &slot)
{
    const QMetaProperty &property = slot.property;
    if (property.isValid() && property.isReadable()) {
        if (property.isEnumType())
            return QString::number(readTyped<int>(object, property));
        switch (property.userType()) {
        case QMetaType::Double:
            return decimalText(readTyped<double>(object, property));
        case QMetaType::Int:
            return QString::number(readTyped<int>(object, property));
        case QMetaType::Bool:
            return readTyped<bool>(object, property) ? QStringLiteral("true")
                                                     : QStringLiteral("false");
        case QMetaType::QColor:
            return colourText(readTyped<QColor>(object, property));
        default:
            break;
        }
    }
    return valueText(property, readValue(object, slot));
}

bool writePlan(QXmlStreamWriter *writer, QObject *shape, const AttributePlan &plan)
{
    for (const AttributeSlot &slot : plan)
        writer->writeAttribute(slot.name, attributeText(shape, slot));
    return true;
}

bool readPlan(QXmlStreamReader *reader, QObject *shape, const AttributePlan &plan)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    for (const AttributeSlot &slot : plan) {
        const QVariant value = parseValue(shape, slot, attributes.value(slot.name));
        if (!value.isValid())
            continue;
        if (slot.property.isValid())
            slot.property.write(shape, value);
        else
            shape->setProperty(slot.key.constData(), value);
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
    return writePlan(writer, shape, planFor(shape, names));
}

bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape)
{
    return readPlan(reader, shape, registeredPlan(shape));
}

bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape, const QStringList &names)
{
    return readPlan(reader, shape, planFor(shape, names));
}
