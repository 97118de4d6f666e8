#include "shapeattributes.h"

#include "project/propertyregistry.h"

#include <QColor>
#include <QFont>
#include <QMetaProperty>
#include <QPointF>
#include <QRectF>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

QMetaProperty metaProperty(const QObject *object, const QString &name)
{
    const QMetaObject *meta = object->metaObject();
    const int index = meta->indexOfProperty(name.toLatin1().constData());
    return index >= 0 ? meta->property(index) : QMetaProperty();
}

QString valueText(const QMetaProperty &property, const QVariant &value)
{
    if (property.isEnumType())
        return QString::number(value.toInt());
    switch (int(value.type())) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'f', 2);
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
    case QMetaType::QColor: {
        const QColor c = value.value<QColor>();
        return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
    }
    case QMetaType::QFont:
        return value.value<QFont>().toString();
    default:
        return value.toString();
    }
}

// Numbers in point and rectangle texts. The sign is read too: a shape may
// sit at negative coordinates inside a group, and what we write must read
// back as written.
QList<double> numbersIn(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("-?\\d+\\.?\\d*"));
    QList<double> result;
    auto it = number.globalMatch(text);
    while (it.hasNext())
        result.append(it.next().captured(0).toDouble());
    return result;
}

} // namespace

bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape)
{
    return writeShapeAttributes(writer, shape, propertyNamesOf(shape));
}

bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape, const QStringList &names)
{
    for (const QString &name : names) {
        const QMetaProperty property = metaProperty(shape, name);
        const QVariant value = shape->property(name.toLatin1().constData());
        writer->writeAttribute(name, valueText(property, value));
    }
    return true;
}

bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape)
{
    return readShapeAttributes(reader, shape, propertyNamesOf(shape));
}

bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape, const QStringList &names)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    for (const QString &name : names) {
        const QByteArray key = name.toLatin1();
        const QString text = attributes.value(name).toString();
        const QMetaProperty property = metaProperty(shape, name);
        const QVariant current = shape->property(key.constData());
        QVariant value;
        if (property.isEnumType()) {
            value = text.toInt();
        } else {
            switch (int(current.type())) {
            case QMetaType::Bool:
                value = text == QLatin1String("true");
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
                value = text.toInt();
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                value = text.toDouble();
                break;
            case QMetaType::QRect:
            case QMetaType::QRectF: {
                const QList<double> n = numbersIn(text);
                if (n.size() != 4)
                    continue;
                const QRectF r(n.at(0), n.at(1), n.at(2), n.at(3));
                value = current.type() == QVariant::Rect ? QVariant(r.toRect()) : QVariant(r);
                break;
            }
            case QMetaType::QPoint:
            case QMetaType::QPointF: {
                const QList<double> n = numbersIn(text);
                if (n.size() != 2)
                    continue;
                const QPointF p(n.at(0), n.at(1));
                value = current.type() == QVariant::Point ? QVariant(p.toPoint()) : QVariant(p);
                break;
            }
            case QMetaType::QColor:
                value = QColor(text);
                break;
            case QMetaType::QFont: {
                QFont font;
                font.fromString(text);
                value = font;
                break;
            }
            default:
                value = text;
                break;
            }
        }
        shape->setProperty(key.constData(), value);
    }
    return true;
}
