#include "config.h"

#include "builtintables.h"
#include "nestinglimit.h"
#include "services/apppaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QStandardItemModel>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace {

Config *s_instance = nullptr;

const QString ProjectSuffix = QStringLiteral(".mvprg");

QString attr(const QXmlStreamAttributes &attrs, const char *name)
{
    return attrs.value(QLatin1String(name)).toString();
}

// A missing number reads as the field's default; one the field cannot hold
// keeps the nearest it can, and text that is no number the default, both
// noted for the load's warning and the check.
qint64 clampedAttr(const QXmlStreamAttributes &attrs, const char *name, qint64 min, qint64 max,
                   qint64 defaultValue, const QString &element, const ProjectPlace &place)
{
    const QStringRef text = attrs.value(QLatin1String(name));
    ClampedNumber::Reading reading = ClampedNumber::Fits;
    const qint64 value = ClampedNumber::readInteger(text, min, max, defaultValue, &reading);
    if (reading == ClampedNumber::OutOfRange || reading == ClampedNumber::NotANumber)
        Config::instance()->noteClamped({element, QLatin1String(name), text.toString(),
                                         QString::number(value), place,
                                         reading == ClampedNumber::NotANumber});
    return value;
}

quint8 byteAttr(const QXmlStreamAttributes &attrs, const char *name, const QString &element,
                const ProjectPlace &place = ProjectPlace())
{
    return static_cast<quint8>(clampedAttr(attrs, name, 0, 255, 0, element, place));
}

// As far as a shape may reach; -1 is the size not yet chosen.
constexpr qint32 MaxScreenSide = 10000000;

QString cellText(const QStandardItemModel *model, int row, int column)
{
    const QStandardItem *item = model->item(row, column);
    return item ? item->text() : QString();
}

// Levels a kept element may nest below the element that holds it.
const int KeptLevels = NestingLimit::MaxDepth;

const QStringList ColumnAttributes = {QStringLiteral("name"),    QStringLiteral("device"),
                                      QStringLiteral("address"), QStringLiteral("type"),
                                      QStringLiteral("length"),  QStringLiteral("mark")};

// Names of what kept holds, attributes as "element@attribute".
void addKept(QStringList *elements, QStringList *attributes, const QString &element,
             const KeptContent &kept)
{
    appendNew(elements, kept.elementNames());
    const QStringList names = kept.attributeNames();
    for (const QString &name : names)
        appendNew(attributes, {element + QLatin1Char('@') + name});
}

} // namespace

Config *Config::instance()
{
    if (!s_instance)
        new Config();
    return s_instance;
}

Config *Config::setCurrent(Config *config)
{
    return std::exchange(s_instance, config);
}

Config::Config(QObject *parent)
    : QObject(parent)
    , m_systemRegisters(new QStandardItemModel(0, TagColumnCount, this))
    , m_addressTags(new QStandardItemModel(0, TagColumnCount, this))
{
    // The first one is current at once: what is reached from here finds it.
    if (!s_instance)
        s_instance = this;
    reset();
    setTagHeaders(m_systemRegisters);
    setTagHeaders(m_addressTags);
    connect(BuiltinTables::instance(), &BuiltinTables::retranslated, this, &Config::followLanguage);
}

Config::~Config()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void Config::reset()
{
    name = QStringLiteral("untiled");
    path = AppPaths::newProjectLocation();
    m_projectFile.clear();
    m_pictureFolder.clear();
    version = QStringLiteral("1.0.0");
    projectPw.clear();
    macroPw.clear();
    hard = 0;
    orientation = 0;
    addressHex = 0;
    encryption = 0;

    // The default language is project data written to the file, not an
    // interface text, so it is not translated.
    LanguagePara chinese;
    chinese.name = QStringLiteral("中文");
    chinese.font = QFont(QStringLiteral("宋体"), 10);
    languages = {chinese};
    m_hiddenLanguages.clear();
    devices.clear();

    m_textLib.clear();
    m_addressTags->removeRows(0, m_addressTags->rowCount());

    m_keptProject = KeptContent();
    m_kept = KeptContent();
    m_keptLanguages = KeptContent();
    m_keptLanguageItems.clear();
    m_keptDevices = KeptContent();
    m_keptAddressLib = KeptContent();
    m_keptTextLib.clear();
    m_clamped.clear();
}

void Config::placeClamped(int from, const ProjectPlace &place)
{
    for (int i = from; i < m_clamped.size(); ++i) {
        if (m_clamped.at(i).place.kind == ProjectPlace::Project)
            m_clamped[i].place = place;
    }
}

bool Config::writeXml(QXmlStreamWriter *writer)
{
    writer->writeStartElement(QStringLiteral("Config"));
    writer->writeAttribute(QStringLiteral("name"), name);
    writer->writeAttribute(QStringLiteral("path"), path);
    writer->writeAttribute(QStringLiteral("version"), version);
    writer->writeAttribute(QStringLiteral("projectPw"), projectPw);
    writer->writeAttribute(QStringLiteral("macroPw"), macroPw);
    writer->writeAttribute(QStringLiteral("hard"), QString::number(hard));
    writer->writeAttribute(QStringLiteral("orientation"), QString::number(orientation));
    writer->writeAttribute(QStringLiteral("addressHex"), QString::number(addressHex));
    writer->writeAttribute(QStringLiteral("screen"),
                           QStringLiteral("%1,%2").arg(screenWidth).arg(screenHeight));
    writer->writeAttribute(QStringLiteral("encryption"), QString::number(encryption));
    m_kept.writeAttributes(writer);

    m_kept.writeElements(writer, 0);
    writer->writeStartElement(QStringLiteral("Language"));
    m_keptLanguages.writeAttributes(writer);
    for (int i = 0; i < languages.size(); ++i) {
        const LanguagePara &lan = languages.at(i);
        m_keptLanguages.writeElements(writer, i);
        writer->writeStartElement(QStringLiteral("lan%1").arg(i));
        writer->writeAttribute(QStringLiteral("name"), lan.name);
        writer->writeAttribute(QStringLiteral("mark"), lan.mark);
        writer->writeAttribute(QStringLiteral("font"), lan.font.toString());
        if (i < m_keptLanguageItems.size()) {
            m_keptLanguageItems.at(i).writeAttributes(writer);
            m_keptLanguageItems.at(i).writeElementsFrom(writer, 0);
        }
        writer->writeEndElement();
    }
    m_keptLanguages.writeElementsFrom(writer, languages.size());
    writer->writeEndElement();

    m_kept.writeElements(writer, 1);
    writer->writeStartElement(QStringLiteral("Device"));
    m_keptDevices.writeAttributes(writer);
    for (int i = 0; i < devices.size(); ++i) {
        const DevicePara &dev = devices.at(i);
        m_keptDevices.writeElements(writer, i);
        writer->writeStartElement(QStringLiteral("dev%1").arg(i));
        writer->writeAttribute(QStringLiteral("name"), dev.name);
        writer->writeAttribute(QStringLiteral("protocol"), QString::number(dev.protocol));
        writer->writeAttribute(QStringLiteral("deviceId"), QString::number(dev.deviceId));
        writer->writeAttribute(QStringLiteral("port"), QString::number(dev.port));
        writer->writeAttribute(QStringLiteral("rsType"), QString::number(dev.rsType));
        writer->writeAttribute(QStringLiteral("dataBits"), QString::number(dev.dataBits));
        writer->writeAttribute(QStringLiteral("stopBits"), QString::number(dev.stopBits));
        writer->writeAttribute(QStringLiteral("parity"), QString::number(dev.parity));
        writer->writeAttribute(QStringLiteral("retryNum"), QString::number(dev.retryNum));
        writer->writeAttribute(QStringLiteral("baud"), QString::number(dev.baud));
        writer->writeAttribute(QStringLiteral("overtime"), QString::number(dev.overtime));
        writer->writeAttribute(QStringLiteral("comDelay"), QString::number(dev.comDelay));
        writer->writeAttribute(QStringLiteral("resDelay"), QString::number(dev.resDelay));
        dev.kept.writeAttributes(writer);
        dev.kept.writeElementsFrom(writer, 0);
        writer->writeEndElement();
    }
    m_keptDevices.writeElementsFrom(writer, devices.size());
    writer->writeEndElement();

    m_kept.writeElements(writer, 2);
    // Texts of hidden languages live on for the session only; the file
    // keeps what the languages it lists can show.
    m_textLib.writeXml(writer, &m_keptTextLib,
                       m_hiddenLanguages.isEmpty() ? -1 : int(languages.size()));

    m_kept.writeElements(writer, 3);
    writer->writeStartElement(QStringLiteral("AddressLib"));
    writer->writeAttribute(QStringLiteral("count"), QString::number(m_addressTags->rowCount()));
    m_keptAddressLib.writeAttributes(writer);
    for (int row = 0; row < m_addressTags->rowCount(); ++row) {
        m_keptAddressLib.writeElements(writer, row);
        writer->writeStartElement(QStringLiteral("label%1").arg(row));
        for (int column = 0; column < TagColumnCount; ++column)
            writer->writeAttribute(ColumnAttributes.at(column),
                                   cellText(m_addressTags, row, column));
        if (const QStandardItem *item = m_addressTags->item(row, NameColumn)) {
            const QVariant kept = item->data(KeptContentRole);
            if (kept.isValid()) {
                const KeptContent content = kept.value<KeptContent>();
                content.writeAttributes(writer);
                content.writeElementsFrom(writer, 0);
            }
        }
        writer->writeEndElement();
    }
    m_keptAddressLib.writeElementsFrom(writer, m_addressTags->rowCount());
    writer->writeEndElement();

    m_kept.writeElementsFrom(writer, 4);
    writer->writeEndElement();
    return true;
}

bool Config::readXml(QXmlStreamReader *reader)
{
    const QXmlStreamAttributes attrs = reader->attributes();
    name = attr(attrs, "name");
    path = attr(attrs, "path");
    version = attr(attrs, "version");
    projectPw = attr(attrs, "projectPw");
    macroPw = attr(attrs, "macroPw");
    const QString configElement = QStringLiteral("Config");
    hard = byteAttr(attrs, "hard", configElement);
    orientation = byteAttr(attrs, "orientation", configElement);
    addressHex = byteAttr(attrs, "addressHex", configElement);
    encryption = byteAttr(attrs, "encryption", configElement);
    m_kept = KeptContent();
    m_kept.keepAttributes(*reader,
                          {QStringLiteral("name"), QStringLiteral("path"), QStringLiteral("version"),
                           QStringLiteral("projectPw"), QStringLiteral("macroPw"),
                           QStringLiteral("hard"), QStringLiteral("orientation"),
                           QStringLiteral("addressHex"), QStringLiteral("screen"),
                           QStringLiteral("encryption")});

    // A damaged size keeps the one the new-project dialog set rather than
    // guessing half of it.
    const QStringList screen = attr(attrs, "screen").split(QLatin1Char(','));
    if (screen.size() == 2) {
        qint32 read[2] = {screenWidth, screenHeight};
        for (int i = 0; i < 2; ++i) {
            ClampedNumber::Reading reading = ClampedNumber::Fits;
            const qint64 value = ClampedNumber::readInteger(QStringRef(&screen.at(i)), -1,
                                                            MaxScreenSide, read[i], &reading);
            if (reading == ClampedNumber::Missing)
                read[i] = 0;
            else
                read[i] = static_cast<qint32>(value);
            if (reading == ClampedNumber::OutOfRange || reading == ClampedNumber::NotANumber)
                noteClamped({configElement, QStringLiteral("screen"), screen.at(i),
                             QString::number(read[i]), ProjectPlace(),
                             reading == ClampedNumber::NotANumber});
        }
        screenWidth = read[0];
        screenHeight = read[1];
    }

    while (reader->readNextStartElement()) {
        const QStringRef element = reader->name();
        if (element == QLatin1String("Language")) {
            m_kept.placePending(0);
            languages.clear();
            m_hiddenLanguages.clear();
            m_keptLanguages = KeptContent();
            m_keptLanguages.keepAttributes(*reader, {});
            m_keptLanguageItems.clear();
            while (reader->readNextStartElement()) {
                if (!isRecordName(reader->name(), QLatin1String("lan"))) {
                    m_keptLanguages.keepPending(reader, KeptLevels);
                    continue;
                }
                m_keptLanguages.placePending(languages.size());
                const QXmlStreamAttributes a = reader->attributes();
                LanguagePara lan;
                lan.name = attr(a, "name");
                lan.mark = attr(a, "mark");
                const QString font = attr(a, "font");
                if (!font.isEmpty())
                    lan.font.fromString(font);
                KeptContent kept;
                kept.keepAttributes(*reader, {QStringLiteral("name"), QStringLiteral("mark"),
                                              QStringLiteral("font")});
                kept.keepChildren(reader, KeptLevels);
                languages.append(lan);
                m_keptLanguageItems.append(kept);
            }
            m_keptLanguages.placePending(KeptContent::AfterAll);
        } else if (element == QLatin1String("Device")) {
            m_kept.placePending(1);
            devices.clear();
            m_keptDevices = KeptContent();
            m_keptDevices.keepAttributes(*reader, {});
            while (reader->readNextStartElement()) {
                if (!isRecordName(reader->name(), QLatin1String("dev"))) {
                    m_keptDevices.keepPending(reader, KeptLevels);
                    continue;
                }
                m_keptDevices.placePending(devices.size());
                const QXmlStreamAttributes a = reader->attributes();
                DevicePara dev;
                dev.name = attr(a, "name");
                ProjectPlace place;
                place.kind = ProjectPlace::Device;
                place.index = devices.size();
                place.name = dev.name;
                const QString devElement = QStringLiteral("dev");
                // The ranges the device dialog accepts; the protocol and
                // port are checked against the tables they index.
                const DevicePara defaults;
                const qint64 intMin = std::numeric_limits<qint32>::min();
                const qint64 intMax = std::numeric_limits<qint32>::max();
                auto field = [&](const char *name, qint64 min, qint64 max, qint32 defaultValue) {
                    return qint32(clampedAttr(a, name, min, max, defaultValue, devElement, place));
                };
                dev.protocol = field("protocol", intMin, intMax, defaults.protocol);
                dev.deviceId = field("deviceId", DevicePara::MinStation, DevicePara::MaxStation,
                                     defaults.deviceId);
                dev.port = field("port", intMin, intMax, defaults.port);
                dev.rsType = field("rsType", 0, QMetaEnum::fromType<PortType>().keyCount() - 1,
                                   defaults.rsType);
                dev.dataBits = field("dataBits", DevicePara::MinDataBits, DevicePara::MaxDataBits,
                                     defaults.dataBits);
                dev.stopBits = field("stopBits", DevicePara::MinStopBits, DevicePara::MaxStopBits,
                                     defaults.stopBits);
                dev.parity = field("parity", 0, QMetaEnum::fromType<ComParity>().keyCount() - 1,
                                   defaults.parity);
                dev.retryNum = field("retryNum", 0, DevicePara::MaxRetry, defaults.retryNum);
                dev.baud = field("baud", 0, intMax, defaults.baud);
                dev.overtime = field("overtime", 0, DevicePara::MaxOvertime, defaults.overtime);
                dev.comDelay = field("comDelay", 0, DevicePara::MaxDelay, defaults.comDelay);
                dev.resDelay = field("resDelay", 0, DevicePara::MaxDelay, defaults.resDelay);
                dev.kept.keepAttributes(
                    *reader,
                    {QStringLiteral("name"), QStringLiteral("protocol"), QStringLiteral("deviceId"),
                     QStringLiteral("port"), QStringLiteral("rsType"), QStringLiteral("dataBits"),
                     QStringLiteral("stopBits"), QStringLiteral("parity"),
                     QStringLiteral("retryNum"), QStringLiteral("baud"),
                     QStringLiteral("overtime"), QStringLiteral("comDelay"),
                     QStringLiteral("resDelay")});
                dev.kept.keepChildren(reader, KeptLevels);
                devices.append(dev);
            }
            m_keptDevices.placePending(KeptContent::AfterAll);
        } else if (element == QLatin1String("TextLib")) {
            m_kept.placePending(2);
            m_textLib.readXml(reader, &m_keptTextLib);
        } else if (element == QLatin1String("AddressLib")) {
            m_kept.placePending(3);
            m_keptAddressLib = KeptContent();
            m_keptAddressLib.keepAttributes(*reader, {QStringLiteral("count")});
            int row = m_addressTags->rowCount();
            while (reader->readNextStartElement()) {
                if (!isRecordName(reader->name(), QLatin1String("label"))) {
                    m_keptAddressLib.keepPending(reader, KeptLevels);
                    continue;
                }
                m_keptAddressLib.placePending(row);
                const QXmlStreamAttributes a = reader->attributes();
                const QList<QStandardItem *> items
                    = {new QStandardItem(attr(a, "name")),    new QStandardItem(attr(a, "device")),
                       new QStandardItem(attr(a, "address")), new QStandardItem(attr(a, "type")),
                       new QStandardItem(attr(a, "length")),  new QStandardItem(attr(a, "mark"))};
                KeptContent kept;
                kept.keepAttributes(*reader, ColumnAttributes);
                kept.keepChildren(reader, KeptLevels);
                // Held by the row, so that it follows the tag when rows are
                // moved, and goes when the tag does.
                if (!kept.isEmpty())
                    items.first()->setData(QVariant::fromValue(kept), KeptContentRole);
                m_addressTags->insertRow(row++, items);
            }
            m_keptAddressLib.placePending(KeptContent::AfterAll);
        } else {
            // Most likely from a newer version: kept, before the known
            // element that follows it.
            m_kept.keepPending(reader, KeptLevels);
        }
    }
    // Those after the last known element close the element.
    m_kept.placePending(KeptContent::AfterAll);
    return true;
}

void Config::setLanguages(const QList<LanguagePara> &shown)
{
    const QList<LanguagePara> all = languages + m_hiddenLanguages;
    languages = shown;
    m_hiddenLanguages = all.mid(shown.size());
}

int Config::textsLeftOut(int shownCount) const
{
    int count = 0;
    for (int i = 0; i < m_textLib.count(); ++i) {
        for (const TextLib::State &state : m_textLib.statesAt(i)) {
            for (int k = shownCount; k < state.size(); ++k)
                count += state.at(k).isEmpty() ? 0 : 1;
        }
    }
    return count;
}

QStringList Config::unknownElementNames() const
{
    QStringList elements;
    QStringList attributes;
    unknownNames(&elements, &attributes);
    return elements;
}

QStringList Config::unknownAttributeNames() const
{
    QStringList elements;
    QStringList attributes;
    unknownNames(&elements, &attributes);
    return attributes;
}

void Config::unknownNames(QStringList *elements, QStringList *attributes) const
{
    addKept(elements, attributes, QStringLiteral("Project"), m_keptProject);
    addKept(elements, attributes, QStringLiteral("Config"), m_kept);
    addKept(elements, attributes, QStringLiteral("Language"), m_keptLanguages);
    for (const KeptContent &lan : m_keptLanguageItems)
        addKept(elements, attributes, QStringLiteral("lan"), lan);
    addKept(elements, attributes, QStringLiteral("Device"), m_keptDevices);
    for (const DevicePara &dev : devices)
        addKept(elements, attributes, QStringLiteral("dev"), dev.kept);
    appendNew(elements, m_keptTextLib.elementNames());
    appendNew(attributes, m_keptTextLib.attributeNames());
    addKept(elements, attributes, QStringLiteral("AddressLib"), m_keptAddressLib);
    for (int row = 0; row < m_addressTags->rowCount(); ++row) {
        if (const QStandardItem *item = m_addressTags->item(row, NameColumn))
            addKept(elements, attributes, QStringLiteral("label"),
                    item->data(KeptContentRole).value<KeptContent>());
    }
}

void Config::followLanguage()
{
    setTagHeaders(m_systemRegisters);
    setTagHeaders(m_addressTags);
    // The panel's registers name themselves in the interface language.
    if (m_systemRegisters->rowCount() > 0)
        loadSystemRegisters();
}

void Config::setTagHeaders(QStandardItemModel *model)
{
    model->setHorizontalHeaderLabels(
        {tr("名称"), tr("设备"), tr("地址"), tr("类型"), tr("长度"), tr("备注")});
}

void Config::setProjectFile(const QString &filePath)
{
    // A relative name would be resolved again at every save, against
    // whatever the working directory is by then.
    const QString absolute
        = filePath.isEmpty() ? filePath : QFileInfo(filePath).absoluteFilePath();
    const int slash = absolute.lastIndexOf(QLatin1Char('/'));
    path = slash < 0 ? QString() : absolute.left(slash);
    name = absolute.mid(slash + 1);
    if (name.endsWith(ProjectSuffix, Qt::CaseInsensitive))
        name.chop(ProjectSuffix.size());
    m_projectFile = absolute;
    m_projectFilePath = path;
    m_projectFileName = name;
}

QString Config::projectFile() const
{
    // `path` and `name` are also set directly (the new-project dialog, the
    // file's own Config element); the remembered file only stands while
    // they still describe it.
    if (!m_projectFile.isEmpty() && path == m_projectFilePath && name == m_projectFileName)
        return m_projectFile;
    return QStringLiteral("%1/%2%3").arg(path, name, ProjectSuffix);
}

bool Config::createProjectDirs(const QString &location, const QString &project)
{
    QDir dir;
    if (!dir.exists(location))
        dir.mkdir(location);
    const QString folder = location + QLatin1Char('/') + project;
    dir.mkdir(folder);
    dir.mkdir(folder + QLatin1String("/images"));
    dir.mkdir(folder + QLatin1String("/fonts"));
    return dir.exists(folder + QLatin1String("/images"))
        && dir.exists(folder + QLatin1String("/fonts"));
}

const HardDevice *Config::currentHardDevice() const
{
    const QVector<HardDevice> &models = BuiltinTables::instance()->hardDevices();
    return hard < models.size() ? &models.at(hard) : nullptr;
}

void Config::loadSystemRegisters()
{
    const HardDevice *hd = currentHardDevice();
    loadSystemRegisters(BuiltinTables::systemRegisterFile(hd ? hd->model : 0));
}

void Config::loadSystemRegisters(const QString &fileName)
{
    BuiltinTables *tables = BuiltinTables::instance();
    const QVector<BuiltinTables::Register> *table = tables->systemRegisters(fileName);
    if (!table)
        return;
    m_systemRegisters->removeRows(0, m_systemRegisters->rowCount());

    const QString category = QStringLiteral("register");
    auto readOnly = [](const QString &text) {
        auto *item = new QStandardItem(text);
        item->setEditable(false);
        return item;
    };
    int row = 0;
    for (const BuiltinTables::Register &reg : *table) {
        m_systemRegisters->insertRow(
            row++,
            {readOnly(tables->displayName(category, reg.name)),
             readOnly(tables->displayName(category, reg.device)), readOnly(reg.address),
             readOnly(reg.type), readOnly(reg.length), readOnly(tables->registerRemark(reg.mark))});
    }
}
