#include "deviceprotocoltable.h"

#include <QXmlStreamReader>

void DeviceProtocolTable::clear()
{
    m_names.clear();
    m_areas.clear();
}

void DeviceProtocolTable::read(QIODevice *device)
{
    QXmlStreamReader reader(device);
    read(&reader);
}

bool DeviceProtocolTable::read(QXmlStreamReader *reader)
{
    QXmlStreamReader &xml = *reader;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("DeviceProtocol"))
            continue;

        clear();
        // Row element names (p0, item1, ...) are not significant: rows are
        // taken in document order.
        while (xml.readNextStartElement()) {
            const int protocol
                = addProtocol(xml.attributes().value(QLatin1String("name")).toString());
            while (xml.readNextStartElement()) {
                const QXmlStreamAttributes attrs = xml.attributes();
                RegisterArea area;
                area.name = attrs.value(QLatin1String("name")).toString();
                area.fun = static_cast<qint16>(attrs.value(QLatin1String("fun")).toInt());
                QStringRef offset = attrs.value(QLatin1String("offset"));
                if (offset.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
                    offset = offset.mid(2);
                area.offset = offset.toInt(nullptr, 16);
                area.min = attrs.value(QLatin1String("min")).toInt();
                area.max = attrs.value(QLatin1String("max")).toInt();
                area.readOnly = attrs.value(QLatin1String("readonly")) == QLatin1String("1");
                area.strictFormat = attrs.value(QLatin1String("strict")) == QLatin1String("1");
                addArea(protocol, area);
                xml.skipCurrentElement();
            }
        }
        return true;
    }
    return false;
}

int DeviceProtocolTable::addProtocol(const QString &name)
{
    m_names.append(name);
    m_areas.append(QVector<RegisterArea>());
    return m_names.size() - 1;
}

void DeviceProtocolTable::addArea(int protocol, const RegisterArea &area)
{
    if (hasProtocol(protocol))
        m_areas[protocol].append(area);
}

QVector<RegisterArea> DeviceProtocolTable::areas(int protocol) const
{
    return hasProtocol(protocol) ? m_areas.at(protocol) : QVector<RegisterArea>();
}

QStringList DeviceProtocolTable::areaNames(int protocol, int kind) const
{
    QStringList names;
    if (!hasProtocol(protocol))
        return names;
    for (const RegisterArea &area : m_areas.at(protocol)) {
        if ((kind == WordAreas && area.isBitArea()) || (kind == BitAreas && !area.isBitArea()))
            continue;
        names.append(area.name);
    }
    return names;
}

int DeviceProtocolTable::areaIndex(int protocol, const QString &name) const
{
    if (!hasProtocol(protocol))
        return -1;
    const QVector<RegisterArea> &list = m_areas.at(protocol);
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).name == name)
            return i;
    }
    return -1;
}

QString DeviceProtocolTable::areaName(int protocol, int index) const
{
    const RegisterArea *found = area(protocol, index);
    return found ? found->name : QString();
}

const RegisterArea *DeviceProtocolTable::area(int protocol, int index) const
{
    if (!hasProtocol(protocol) || index < 0 || index >= m_areas.at(protocol).size())
        return nullptr;
    return &m_areas.at(protocol).at(index);
}

const RegisterArea *DeviceProtocolTable::findArea(int protocol, const QString &name) const
{
    const int index = areaIndex(protocol, name);
    return index < 0 ? nullptr : &m_areas.at(protocol).at(index);
}
