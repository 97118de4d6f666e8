#include "deviceadddialog.h"

#include "model/builtintables.h"
#include "model/config.h"
#include "services/messagedialog.h"
#include "services/modalseam.h"
#include "widgets/lineedit.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaEnum>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The boxes take every value the file format can hold, so that a stored
// value shows as it is and a typed one out of range is reported at OK
// rather than cut to the limit keystroke by keystroke.
QSpinBox *spinBox(QWidget *parent, const char *name, bool millis)
{
    auto *box = named(new QSpinBox(parent), name);
    if (millis) {
        box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        box->setSuffix(QStringLiteral(" ms"));
    } else {
        box->setRange(0, 255);
    }
    return box;
}

const int MinStation = DevicePara::MinStation, MaxStation = DevicePara::MaxStation;
const int MaxOvertime = DevicePara::MaxOvertime;
const int MaxDelay = DevicePara::MaxDelay;
const int MaxRetry = DevicePara::MaxRetry;

QComboBox *numberBox(QWidget *parent, const char *name, const QStringList &items)
{
    auto *box = named(new QComboBox(parent), name);
    box->addItems(items);
    return box;
}

// A value read from a file that the list does not offer is added rather
// than replaced, so that opening and confirming the dialog never changes
// a device the user did not touch.
void selectNumber(QComboBox *box, int value)
{
    const QString text = QString::number(value);
    int index = box->findText(text);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

} // namespace

DeviceAddDialog::DeviceAddDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    m_nameLabel = new QLabel(this);
    m_name = named(new LineEdit(this), "name");
    m_protocolLabel = new QLabel(this);
    m_protocol = named(new QComboBox(this), "protocol");
    m_protocol->addItems(BuiltinTables::instance()->protocolDisplayNames());
    m_typeLabel = new QLabel(this);
    m_type = named(new QComboBox(this), "type");
    const QMetaEnum portTypes = QMetaEnum::fromType<Config::PortType>();
    for (int i = 0; i < portTypes.keyCount(); ++i)
        m_type->addItem(QLatin1String(portTypes.key(i)));
    m_portLabel = new QLabel(this);
    m_port = named(new QComboBox(this), "port");
    m_stationLabel = new QLabel(this);
    m_station = named(new QSpinBox(this), "station");
    m_station->setRange(0, 255);

    m_formatGroup = new QGroupBox(this);
    m_baudLabel = new QLabel(m_formatGroup);
    m_baud = numberBox(m_formatGroup, "baud",
                       {QStringLiteral("230400"), QStringLiteral("115200"), QStringLiteral("57600"),
                        QStringLiteral("38400"), QStringLiteral("19200"), QStringLiteral("9600"),
                        QStringLiteral("4800"), QStringLiteral("2400")});
    m_dataBitsLabel = new QLabel(m_formatGroup);
    m_dataBits = numberBox(
        m_formatGroup, "dataBits",
        {QStringLiteral("8"), QStringLiteral("7"), QStringLiteral("6"), QStringLiteral("5")});
    m_stopBitsLabel = new QLabel(m_formatGroup);
    m_stopBits = numberBox(m_formatGroup, "stopBits", {QStringLiteral("2"), QStringLiteral("1")});
    m_parityLabel = new QLabel(m_formatGroup);
    m_parity = named(new QComboBox(m_formatGroup), "parity");
    m_parity->addItems(
        BuiltinTables::instance()->enumTexts(QMetaEnum::fromType<Config::ComParity>()));
    auto *format = new QFormLayout(m_formatGroup);
    format->addRow(m_baudLabel, m_baud);
    format->addRow(m_dataBitsLabel, m_dataBits);
    format->addRow(m_stopBitsLabel, m_stopBits);
    format->addRow(m_parityLabel, m_parity);

    m_timeGroup = new QGroupBox(this);
    m_overtimeLabel = new QLabel(m_timeGroup);
    m_overtime = spinBox(m_timeGroup, "overtime", true);
    m_comDelayLabel = new QLabel(m_timeGroup);
    m_comDelay = spinBox(m_timeGroup, "comDelay", true);
    m_resDelayLabel = new QLabel(m_timeGroup);
    m_resDelay = spinBox(m_timeGroup, "resDelay", true);
    m_retryLabel = new QLabel(m_timeGroup);
    m_retry = spinBox(m_timeGroup, "retry", false);
    auto *time = new QFormLayout(m_timeGroup);
    time->addRow(m_overtimeLabel, m_overtime);
    time->addRow(m_comDelayLabel, m_comDelay);
    time->addRow(m_resDelayLabel, m_resDelay);
    time->addRow(m_retryLabel, m_retry);

    m_ok = named(new QPushButton(this), "ok");
    m_ok->setDefault(true);
    m_cancel = named(new QPushButton(this), "cancel");

    auto *fields = new QFormLayout;
    fields->addRow(m_nameLabel, m_name);
    fields->addRow(m_protocolLabel, m_protocol);
    fields->addRow(m_typeLabel, m_type);
    fields->addRow(m_portLabel, m_port);
    fields->addRow(m_stationLabel, m_station);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_formatGroup);
    layout->addWidget(m_timeGroup);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &DeviceAddDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &DeviceAddDialog::on_cancel_clicked);
    fillPorts(0);
    retranslate();
}

int DeviceAddDialog::setDevice(DevicePara &device)
{
    fill(device);
    m_name->setFocus();
    m_name->selectAll();
    m_device = &device;
    const int result = ModalSeam::runDialog(this, [this] { on_ok_clicked(); },
                                            [this] { on_cancel_clicked(); });
    m_device = nullptr;
    return result;
}

void DeviceAddDialog::fill(const DevicePara &device)
{
    m_name->setText(device.name);
    m_protocol->setCurrentIndex(device.protocol < m_protocol->count() ? device.protocol : -1);
    m_station->setValue(device.deviceId);
    fillPorts(device.port);
    m_type->setCurrentIndex(device.rsType < m_type->count() ? device.rsType : -1);
    selectNumber(m_baud, device.baud);
    selectNumber(m_dataBits, device.dataBits);
    selectNumber(m_stopBits, device.stopBits);
    m_parity->setCurrentIndex(device.parity < m_parity->count() ? device.parity : -1);
    m_overtime->setValue(device.overtime);
    m_comDelay->setValue(device.comDelay);
    m_resDelay->setValue(device.resDelay);
    m_retry->setValue(device.retryNum);
    m_filled = fields();
}

DeviceAddDialog::Fields DeviceAddDialog::fields() const
{
    Fields shown;
    shown.name = m_name->text();
    shown.protocol = m_protocol->currentIndex();
    shown.station = m_station->value();
    shown.port = m_port->currentIndex() < 0 ? -1 : m_port->currentData().toInt();
    shown.type = m_type->currentIndex();
    shown.baud = m_baud->currentText();
    shown.dataBits = m_dataBits->currentText();
    shown.stopBits = m_stopBits->currentText();
    shown.parity = m_parity->currentIndex();
    shown.overtime = m_overtime->value();
    shown.comDelay = m_comDelay->value();
    shown.resDelay = m_resDelay->value();
    shown.retry = m_retry->value();
    return shown;
}

bool DeviceAddDialog::checkRanges(const Fields &now)
{
    struct Range
    {
        QSpinBox *box;
        QLabel *label;
        bool changed;
        int low;
        int high;
    };
    const Range ranges[] = {
        {m_station, m_stationLabel, now.station != m_filled.station, MinStation, MaxStation},
        {m_overtime, m_overtimeLabel, now.overtime != m_filled.overtime, 0, MaxOvertime},
        {m_comDelay, m_comDelayLabel, now.comDelay != m_filled.comDelay, 0, MaxDelay},
        {m_resDelay, m_resDelayLabel, now.resDelay != m_filled.resDelay, 0, MaxDelay},
        {m_retry, m_retryLabel, now.retry != m_filled.retry, 0, MaxRetry},
    };
    for (const Range &range : ranges) {
        const int value = range.box->value();
        if (!range.changed || (value >= range.low && value <= range.high))
            continue;
        MessageDialog::showMessage(this, QMessageBox::Critical, tr("错误"),
                                   tr("%1应在%2到%3之间。")
                                       .arg(range.label->text().trimmed())
                                       .arg(range.low)
                                       .arg(range.high),
                                   {tr("确定")});
        range.box->setFocus();
        range.box->selectAll();
        return false;
    }
    return true;
}

void DeviceAddDialog::fillPorts(int storedPort)
{
    const HardDevice *model = Config::instance()->currentHardDevice();
    const int serials = model ? model->serials : 0;
    m_port->clear();
    for (int port = 0; port < serials; ++port)
        m_port->addItem(QStringLiteral("COM%1").arg(port + 1), port);
    // A device made for a model with more serial ports, or written by hand:
    // dropping its port silently would move it to COM1, so it stays on
    // offer, marked, until the user picks a port the panel has.
    m_unavailablePort = storedPort >= serials ? storedPort : -1;
    if (m_unavailablePort >= 0)
        m_port->addItem(tr("COM%1（不可用）").arg(storedPort + 1), storedPort);
    m_port->setCurrentIndex(m_port->findData(storedPort));
}

void DeviceAddDialog::on_ok_clicked()
{
    const Fields now = fields();
    if (!checkRanges(now))
        return;
    if (m_device) {
        DevicePara &device = *m_device;
        if (now.name != m_filled.name)
            device.name = now.name;
        if (now.protocol != m_filled.protocol)
            device.protocol = qMax(0, now.protocol);
        if (now.station != m_filled.station)
            device.deviceId = now.station;
        if (now.port != m_filled.port)
            device.port = qMax(0, now.port);
        if (now.type != m_filled.type)
            device.rsType = qMax(0, now.type);
        if (now.baud != m_filled.baud)
            device.baud = now.baud.toInt();
        if (now.dataBits != m_filled.dataBits)
            device.dataBits = now.dataBits.toInt();
        if (now.stopBits != m_filled.stopBits)
            device.stopBits = now.stopBits.toInt();
        if (now.parity != m_filled.parity)
            device.parity = qMax(0, now.parity);
        if (now.overtime != m_filled.overtime)
            device.overtime = now.overtime;
        if (now.comDelay != m_filled.comDelay)
            device.comDelay = now.comDelay;
        if (now.resDelay != m_filled.resDelay)
            device.resDelay = now.resDelay;
        if (now.retry != m_filled.retry)
            device.retryNum = now.retry;
    }
    accept();
}

void DeviceAddDialog::on_cancel_clicked()
{
    reject();
}

void DeviceAddDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void DeviceAddDialog::retranslate()
{
    setWindowTitle(tr("添加设备"));
    m_nameLabel->setText(tr(" 名称"));
    m_protocolLabel->setText(tr(" 协议"));
    m_typeLabel->setText(tr(" 类型"));
    m_portLabel->setText(tr(" 端口"));
    m_stationLabel->setText(tr(" 站号"));
    m_formatGroup->setTitle(tr("数据格式"));
    m_baudLabel->setText(tr("波特率"));
    m_dataBitsLabel->setText(tr("数据位"));
    m_stopBitsLabel->setText(tr("停止位"));
    m_parityLabel->setText(tr("校验位"));
    m_timeGroup->setTitle(tr("通讯时间"));
    m_overtimeLabel->setText(tr("通讯超时"));
    m_comDelayLabel->setText(tr("通讯延时"));
    m_resDelayLabel->setText(tr("响应延时"));
    m_retryLabel->setText(tr("重发次数"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));

    const QStringList parities
        = BuiltinTables::instance()->enumTexts(QMetaEnum::fromType<Config::ComParity>());
    for (int i = 0; i < parities.size() && i < m_parity->count(); ++i)
        m_parity->setItemText(i, parities.at(i));
    if (m_unavailablePort >= 0) {
        m_port->setItemText(m_port->findData(m_unavailablePort),
                            tr("COM%1（不可用）").arg(m_unavailablePort + 1));
    }
}
