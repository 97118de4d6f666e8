#pragma once

#include "registerarea.h"

#include <QStringList>
#include <QVector>

class QIODevice;
class QXmlStreamReader;

// The communication protocols known to the editor and the register areas of
// each. A protocol's position is the index stored in DevicePara::protocol; an
// area's position within its protocol is the index stored in
// AddressPara::area.
//
// Every lookup accepts any index: an index beyond the table (possible only in
// a hand-edited project file) answers as if the protocol had no areas.
class DeviceProtocolTable
{
public:
    enum AreaKind { WordAreas = 0, BitAreas = 1, AllAreas = 2 };

    void clear();

    // Reads the protocol table document from an open device, replacing the
    // current contents once the `DeviceProtocol` element has been found.
    // A document without that element leaves the table as it was. Rows read
    // before an XML error are kept.
    void read(QIODevice *device);
    // The same from a reader, which is left where reading stopped so that
    // the caller can see its error. Returns whether the element was found.
    bool read(QXmlStreamReader *xml);

    // Appends a protocol without areas and returns its index.
    int addProtocol(const QString &name);
    // Appends an area to an existing protocol; ignored for an unknown index.
    void addArea(int protocol, const RegisterArea &area);

    QStringList protocolNames() const { return m_names; }

    // The areas of a protocol in table order; empty for an unknown protocol.
    QVector<RegisterArea> areas(int protocol) const;

    // Names of the word areas (kind 0), the bit areas (kind 1) or, for any
    // other kind, of all areas, in table order.
    QStringList areaNames(int protocol, int kind) const;
    // Index of the first area named exactly `name`, or -1.
    int areaIndex(int protocol, const QString &name) const;
    // Name of the area at `index`, or the empty text when there is none.
    QString areaName(int protocol, int index) const;
    // The area at `index`, or null. Valid until the table is changed.
    const RegisterArea *area(int protocol, int index) const;
    // The first area named exactly `name`, or null. The pointer stays valid
    // until the table is changed.
    const RegisterArea *findArea(int protocol, const QString &name) const;

private:
    bool hasProtocol(int protocol) const { return protocol >= 0 && protocol < m_areas.size(); }

    QStringList m_names;
    QVector<QVector<RegisterArea>> m_areas;
};
