#pragma once

#include "deviceprotocoltable.h"
#include "harddevice.h"
#include "propertyregistry.h"

#include <QHash>
#include <QMetaEnum>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class QFile;
class QXmlStreamReader;

// The tables that come with the editor: the hardware models, the device
// protocols and their register areas, the panel's system registers of each
// hardware family, the property registry and the display-name dictionary.
// None of it belongs to a project: the tables are read once per process and
// outlive every project opened in it.
//
// instance() creates the one object on first use, without a parent, and it
// lives until the process ends. Texts shown to the user follow the
// interface language of AppSettings; retranslate() refills them after the
// translation changed.
class BuiltinTables : public QObject
{
    Q_OBJECT

public:
    // One row of a system register table, as the table spells it: names and
    // remarks are keys for displayName() and registerRemark().
    struct Register
    {
        QString name;
        QString device;
        QString address;
        QString type;
        QString length;
        QString mark;
        // The panel only reports it ("rw" of "R"): what a screen writes
        // there is overwritten or ignored.
        bool readOnly = false;
    };

    static BuiltinTables *instance();
    ~BuiltinTables() override;

    // Refills the display-name dictionary and the property registry from the
    // installed translation, then emits retranslated().
    void retranslate();

    // The display text of an internal key: in the English interface the key
    // itself, less a leading digit; otherwise the dictionary's text, or the
    // key when the dictionary has none. Categories: shape class names
    // (property names), "group", "enum", "register".
    QString displayName(const QString &category, const QString &key) const;
    // The remark of a system register as the interface shows it. Remarks of
    // one family are English keys, of the other Chinese texts; in English
    // both read in English where the catalogue knows them, numbers and all.
    QString registerRemark(const QString &key) const;
    // Display texts of an enumeration's keys in value order, each without
    // its first `skip` characters.
    QStringList enumTexts(const QMetaEnum &metaEnum, int skip = 0) const;

    // Loading. A resource that cannot be opened leaves its table as it was;
    // rows read before an XML error are kept. Every failure is logged with
    // its line and column and kept for takeTableErrors(). The file name
    // arguments exist for tests.
    void loadHardDevices(const QString &fileName = QStringLiteral(":/harddevices"));
    void loadDeviceProtocols(const QString &fileName = QStringLiteral(":/deviceprotocol"));
    // The built-in table failures not taken before, one message each (the
    // same failure again is not repeated), for the user.
    QStringList takeTableErrors();

    const QVector<HardDevice> &hardDevices() const { return m_hardDevices; }
    // "name(width×height)" for every hardware model.
    QStringList hardDeviceTexts() const;

    // The system register table of a hardware family (HardDevice::model).
    static QString systemRegisterFile(int family);
    // The rows of the system register table in fileName, read at the first
    // call and kept for every later one. Null when the file cannot be
    // opened; that is reported each time and tried again at the next call.
    const QVector<Register> *systemRegisters(const QString &fileName);

    const DeviceProtocolTable &deviceProtocolTable() const { return m_protocols; }
    // As the built-in table spells them; the info of the tool reports these.
    QStringList protocolNames() const { return m_protocols.protocolNames(); }
    // In the interface language, for lists the user reads.
    QStringList protocolDisplayNames() const;
    QStringList areaNames(int protocol, int kind) const
    {
        return m_protocols.areaNames(protocol, kind);
    }
    int areaIndex(int protocol, const QString &name) const
    {
        return m_protocols.areaIndex(protocol, name);
    }
    QString areaName(int protocol, int index) const
    {
        return m_protocols.areaName(protocol, index);
    }
    const RegisterArea *findArea(int protocol, const QString &name) const
    {
        return m_protocols.findArea(protocol, name);
    }

    const PropertyRegistry &propertyRegistry() const { return m_registry; }

signals:
    // The display names and the registry now speak the installed
    // translation; whatever shows them refreshes.
    void retranslated();

private:
    BuiltinTables();

    void fillDisplayNames();
    bool openTable(QFile *file);
    // Reports a table whose reader failed or never found its element.
    void checkTable(const QString &fileName, const QXmlStreamReader &xml, bool found,
                    const char *element);
    void tableFailed(const QString &fileName, const QString &reason);

    PropertyRegistry m_registry;
    QHash<QString, QHash<QString, QString>> m_displayNames;
    QVector<HardDevice> m_hardDevices;
    DeviceProtocolTable m_protocols;
    QHash<QString, QVector<Register>> m_systemRegisters; // by file name
    QStringList m_tableErrors;
    int m_tableErrorsTaken = 0;
};
