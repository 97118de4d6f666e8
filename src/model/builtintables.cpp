#include "builtintables.h"

#include "services/appsettings.h"
#include "services/fileerrortext.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <numeric>

namespace {

BuiltinTables *s_instance = nullptr;

QString attr(const QXmlStreamAttributes &attrs, const char *name)
{
    return attrs.value(QLatin1String(name)).toString();
}

// The built-in tables are ours and hold no such numbers.
int tableInt(const QXmlStreamAttributes &attrs, const char *name)
{
    return attrs.value(QLatin1String(name)).toInt();
}

bool hasChinese(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x2E80)
            return true;
    }
    return false;
}

} // namespace

BuiltinTables *BuiltinTables::instance()
{
    if (!s_instance)
        new BuiltinTables();
    return s_instance;
}

BuiltinTables::BuiltinTables()
{
    s_instance = this;
    retranslate();
    loadHardDevices();
    loadDeviceProtocols();
}

BuiltinTables::~BuiltinTables()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void BuiltinTables::retranslate()
{
    m_registry.fill();
    fillDisplayNames();
    emit retranslated();
}

QStringList BuiltinTables::protocolDisplayNames() const
{
    // The table's names, so that the catalogue holds their English. A name
    // the catalogue lacks shows as the table has it.
    static const char *const known[] = {
        QT_TRANSLATE_NOOP("DeviceProtocolTable", "ZELHMI协议"),
        QT_TRANSLATE_NOOP("DeviceProtocolTable", "ZELPLC协议"),
        QT_TRANSLATE_NOOP("DeviceProtocolTable", "Modbus协议"),
        QT_TRANSLATE_NOOP("DeviceProtocolTable", "自由口协议"),
    };
    Q_UNUSED(known)
    QStringList names;
    for (const QString &name : m_protocols.protocolNames())
        names.append(QCoreApplication::translate("DeviceProtocolTable", name.toUtf8().constData()));
    return names;
}

void BuiltinTables::fillDisplayNames()
{
    m_displayNames.clear();

    for (const QString &cls : m_registry.classNames())
        m_displayNames.insert(cls, m_registry.displayNames(cls));

    m_displayNames.insert(QStringLiteral("group"),
                          {{QStringLiteral("1Base"), tr("基本")},
                           {QStringLiteral("2Border"), tr("边框")},
                           {QStringLiteral("3Brush"), tr("填充")},
                           {QStringLiteral("4Text"), tr("文本")}});

    m_displayNames.insert(QStringLiteral("enum"),
                          {{QStringLiteral("NoPen"), tr("无")},
                           {QStringLiteral("SolidLine"), tr("实线")},
                           {QStringLiteral("DashLine"), tr("虚线")},
                           {QStringLiteral("DotLine"), tr("点线")},
                           {QStringLiteral("DashDotLine"), tr("点划线")},
                           {QStringLiteral("DashDotDotLine"), tr("双点划线")},
                           {QStringLiteral("Pie"), tr("扇形")},
                           {QStringLiteral("Arc"), tr("圆弧")},
                           {QStringLiteral("Chord"), tr("弦")},
                           {QStringLiteral("None"), tr("无")},
                           {QStringLiteral("Even"), tr("偶校验")},
                           {QStringLiteral("Odd"), tr("奇校验")}});

    QHash<QString, QString> reg = {
        {QStringLiteral("Year"), tr("年")},
        {QStringLiteral("Month"), tr("月")},
        {QStringLiteral("Day"), tr("日")},
        {QStringLiteral("Hour"), tr("时")},
        {QStringLiteral("Minute"), tr("分")},
        {QStringLiteral("Second"), tr("秒")},
        {QStringLiteral("Weekday"), tr("星期")},
        {QStringLiteral("CurrentScreenId"), tr("当前页面Id")},
        {QStringLiteral("StartScreenId"), tr("起始页面Id")},
        {QStringLiteral("TouchX"), tr("触摸屏X位置")},
        {QStringLiteral("TouchY"), tr("触摸屏Y位置")},
        {QStringLiteral("CurrentUser"), tr("当前用户名")},
        {QStringLiteral("CurrentGroup"), tr("当前用户组")},
        {QStringLiteral("UserAuthority"), tr("当前用户权限级别")},
        {QStringLiteral("CurrentLanguage"), tr("当前语言")},
        {QStringLiteral("MemoryUsage"), tr("内存使用率")},
        {QStringLiteral("CPUUsage"), tr("CPU使用率")},
        {QStringLiteral("Backlight"), tr("背光亮度")},
        {QStringLiteral("CloseBacklightTime"), tr("关闭背光时间")},
        {QStringLiteral("ScreenSaverTime"), tr("进入屏保时间")},
        {QStringLiteral("RunTime"), tr("开机运行时间")},
        {QStringLiteral("OSVersion"), tr("系统版本")},
        {QStringLiteral("AppVersion"), tr("应用版本")},
        {QStringLiteral("SIMStatus"), tr("SIM状态")},
        {QStringLiteral("SIMSignal"), tr("SIM信号强度")},
        {QStringLiteral("System Datatime"), tr("系统时间")},
        {QStringLiteral("Screen"), tr("界面")},
        {QStringLiteral("Users Management"), tr("用户管理")},
        {QStringLiteral("System Infomation"), tr("系统信息")},
        {QStringLiteral("LOT"), tr("物联网")},
        {QStringLiteral("local"), tr("本地")},
    };
    for (int n = 1; n <= 3; ++n) {
        const QString com = QStringLiteral("COM%1").arg(n);
        reg.insert(com, tr("通讯COM%1").arg(n));
        reg.insert(com + QLatin1String("Mode"), tr("COM%1模式").arg(n));
        reg.insert(com + QLatin1String("Baud"), tr("COM%1波特率").arg(n));
        reg.insert(com + QLatin1String("DataBits"), tr("COM%1数据位").arg(n));
        reg.insert(com + QLatin1String("StopBits"), tr("COM%1停止位").arg(n));
        reg.insert(com + QLatin1String("Parity"), tr("COM%1校验位").arg(n));
        reg.insert(com + QLatin1String("ErrorCode"), tr("COM%1错误码").arg(n));
        reg.insert(com + QLatin1String("ErrorCout"), tr("COM%1错误次数").arg(n));
        reg.insert(com + QLatin1String("ErrorTotal"), tr("COM%1累计错误次数").arg(n));
    }
    m_displayNames.insert(QStringLiteral("register"), reg);
}

QString BuiltinTables::displayName(const QString &category, const QString &key) const
{
    if (AppSettings::instance()->uiLanguage() == 1) {
        // Group keys carry their sort digit in front; it is not for display.
        if (!key.isEmpty() && key.at(0).isDigit())
            return key.mid(1);
        return key;
    }
    const auto cat = m_displayNames.constFind(category);
    if (cat == m_displayNames.cend())
        return key;
    return cat->value(key, key);
}

QString BuiltinTables::registerRemark(const QString &key) const
{
    const QString category = QStringLiteral("register");
    if (AppSettings::instance()->uiLanguage() != 1)
        return displayName(category, key);
    // The keys stay as they are, typos included: a remark picked in English
    // went into saved projects as its key. Only what is shown is mended.
    const QString known = m_displayNames.value(category).value(key);
    if (!known.isEmpty() && !hasChinese(known))
        return known;
    // Hundreds of remarks differ only in their numbers (channels, ports,
    // times): the catalogue holds each form once, numbers as %1, %2...
    static const QRegularExpression number(QStringLiteral("\\d+"));
    const QString trimmed = key.trimmed();
    QString form;
    QStringList numbers;
    int from = 0;
    for (QRegularExpressionMatchIterator it = number.globalMatch(trimmed); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        numbers << match.captured();
        form += trimmed.mid(from, match.capturedStart() - from) + QLatin1Char('%')
            + QString::number(numbers.size());
        from = match.capturedEnd();
    }
    form += trimmed.mid(from);
    const QByteArray source = form.toUtf8();
    QString english = QCoreApplication::translate("SystemRegister", source.constData());
    if (english == form)
        return key;
    for (const QString &n : qAsConst(numbers))
        english = english.arg(n);
    return english;
}

QStringList BuiltinTables::hardDeviceTexts() const
{
    QStringList texts;
    for (const HardDevice &hd : m_hardDevices)
        texts.append(QStringLiteral("%1(%2\u00d7%3)").arg(hd.name).arg(hd.width).arg(hd.height));
    return texts;
}

QStringList BuiltinTables::enumTexts(const QMetaEnum &metaEnum, int skip) const
{
    QVector<int> indices(metaEnum.keyCount());
    std::iota(indices.begin(), indices.end(), 0);
    std::stable_sort(indices.begin(), indices.end(),
                     [&metaEnum](int a, int b) { return metaEnum.value(a) < metaEnum.value(b); });
    QStringList texts;
    for (int i : indices)
        texts.append(displayName(QStringLiteral("enum"), QLatin1String(metaEnum.key(i))).mid(skip));
    return texts;
}

bool BuiltinTables::openTable(QFile *file)
{
    if (file->open(QIODevice::ReadOnly | QIODevice::Text))
        return true;
    tableFailed(file->fileName(), FileErrorText::reason(*file));
    return false;
}

void BuiltinTables::checkTable(const QString &fileName, const QXmlStreamReader &xml, bool found,
                               const char *element)
{
    if (xml.hasError())
        tableFailed(fileName,
                    tr("%1（第 %2 行，第 %3 列）")
                        .arg(xml.errorString())
                        .arg(xml.lineNumber())
                        .arg(xml.columnNumber()));
    else if (!found)
        tableFailed(fileName, tr("没有 %1 元素").arg(QLatin1String(element)));
}

void BuiltinTables::tableFailed(const QString &fileName, const QString &reason)
{
    const QString message = tr("内置表 %1 未能载入：%2").arg(fileName, reason);
    qWarning().noquote() << message;
    // A table read again (the system registers, at every project) fails
    // the same way again; once is enough to tell.
    if (!m_tableErrors.contains(message))
        m_tableErrors.append(message);
}

QStringList BuiltinTables::takeTableErrors()
{
    const QStringList fresh = m_tableErrors.mid(m_tableErrorsTaken);
    m_tableErrorsTaken = m_tableErrors.size();
    return fresh;
}

void BuiltinTables::loadHardDevices(const QString &fileName)
{
    QFile file(fileName);
    if (!openTable(&file))
        return;

    QXmlStreamReader xml(&file);
    bool found = false;
    while (!xml.atEnd() && !found) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("HardDevice"))
            continue;

        found = true;
        m_hardDevices.clear();
        while (xml.readNextStartElement()) {
            const QXmlStreamAttributes a = xml.attributes();
            HardDevice hd;
            hd.name = xml.name().toString();
            hd.width = static_cast<quint16>(tableInt(a, "width"));
            hd.height = static_cast<quint16>(tableInt(a, "height"));
            hd.psize = a.value(QLatin1String("psize")).toFloat();
            hd.serials = static_cast<quint8>(tableInt(a, "serials"));
            hd.usb = static_cast<quint8>(tableInt(a, "USB"));
            hd.model = static_cast<quint8>(tableInt(a, "model"));
            hd.image = attr(a, "image");
            m_hardDevices.append(hd);
            xml.skipCurrentElement();
        }
    }
    checkTable(fileName, xml, found, "HardDevice");
}

void BuiltinTables::loadDeviceProtocols(const QString &fileName)
{
    QFile file(fileName);
    if (!openTable(&file))
        return;
    QXmlStreamReader xml(&file);
    const bool found = m_protocols.read(&xml);
    checkTable(fileName, xml, found, "DeviceProtocol");
}

QString BuiltinTables::systemRegisterFile(int family)
{
    return family == 1 ? QStringLiteral(":/sysreg2") : QStringLiteral(":/sysreg1");
}

const QVector<BuiltinTables::Register> *BuiltinTables::systemRegisters(const QString &fileName)
{
    const auto kept = m_systemRegisters.constFind(fileName);
    if (kept != m_systemRegisters.cend())
        return &kept.value();

    QFile file(fileName);
    if (!openTable(&file))
        return nullptr;
    QVector<Register> rows;
    QXmlStreamReader xml(&file);
    bool found = false;
    while (!xml.atEnd() && !found) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("Register"))
            continue;
        found = true;
        while (xml.readNextStartElement()) {
            const QXmlStreamAttributes a = xml.attributes();
            rows.append({attr(a, "name"), attr(a, "device"), attr(a, "address"), attr(a, "type"),
                         attr(a, "length"), attr(a, "mark")});
            rows.last().readOnly = attr(a, "rw").trimmed() == QLatin1String("R");
            xml.skipCurrentElement();
        }
    }
    checkTable(fileName, xml, found, "Register");
    // A damaged table reads the same every time: what it gave is kept
    // with it, and its fault is told once.
    return &m_systemRegisters.insert(fileName, rows).value();
}
