#include "deviceadddialog.h"

#include "app/modalseam.h"
#include "project/config.h"
#include "taglib/lineedit.h"

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

namespace {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QSpinBox *spinBox(QWidget *parent, const char *name, int maximum, bool millis)
{
    auto *box = named(new QSpinBox(parent), name);
    box->setRange(0, maximum);
    if (millis)
        box->setSuffix(QStringLiteral(" ms"));
    return box;
}

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
    m_protocol->addItems(Config::instance()->protocolNames());
    m_typeLabel = new QLabel(this);
    m_type = named(new QComboBox(this), "type");
    const QMetaEnum portTypes = QMetaEnum::fromType<Config::PortType>();
    for (int i = 0; i < portTypes.keyCount(); ++i)
        m_type->addItem(QLatin1String(portTypes.key(i)));
    m_portLabel = new QLabel(this);
    m_port = named(new QComboBox(this), "port");
    m_stationLabel = new QLabel(this);
    m_station = named(new QSpinBox(this), "station");
    m_station->setRange(1, 255);

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
    m_parity->addItems(Config::instance()->enumTexts(QMetaEnum::fromType<Config::ComParity>()));
    auto *format = new QFormLayout(m_formatGroup);
    format->addRow(m_baudLabel, m_baud);
    format->addRow(m_dataBitsLabel, m_dataBits);
    format->addRow(m_stopBitsLabel, m_stopBits);
    format->addRow(m_parityLabel, m_parity);

    m_timeGroup = new QGroupBox(this);
    m_overtimeLabel = new QLabel(m_timeGroup);
    m_overtime = spinBox(m_timeGroup, "overtime", 5000, true);
    m_comDelayLabel = new QLabel(m_timeGroup);
    m_comDelay = spinBox(m_timeGroup, "comDelay", 10000, true);
    m_resDelayLabel = new QLabel(m_timeGroup);
    m_resDelay = spinBox(m_timeGroup, "resDelay", 10000, true);
    m_retryLabel = new QLabel(m_timeGroup);
    m_retry = spinBox(m_timeGroup, "retry", 100, false);
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
    m_protocol->setCurrentIndex(device.protocol < m_protocol->count() ? device.protocol : 0);
    m_station->setValue(device.deviceId);
    fillPorts(device.port);
    m_type->setCurrentIndex(device.rsType < m_type->count() ? device.rsType : 0);
    selectNumber(m_baud, device.baud);
    selectNumber(m_dataBits, device.dataBits);
    selectNumber(m_stopBits, device.stopBits);
    m_parity->setCurrentIndex(device.parity < m_parity->count() ? device.parity : 0);
    m_overtime->setValue(device.overtime);
    m_comDelay->setValue(device.comDelay);
    m_resDelay->setValue(device.resDelay);
    m_retry->setValue(device.retryNum);
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
    if (m_device) {
        DevicePara &device = *m_device;
        device.name = m_name->text();
        device.protocol = quint8(qMax(0, m_protocol->currentIndex()));
        device.deviceId = quint8(m_station->value());
        device.port = quint8(m_port->currentData().toInt());
        device.rsType = quint8(qMax(0, m_type->currentIndex()));
        device.baud = m_baud->currentText().toInt();
        device.dataBits = quint8(m_dataBits->currentText().toInt());
        device.stopBits = quint8(m_stopBits->currentText().toInt());
        device.parity = quint8(qMax(0, m_parity->currentIndex()));
        device.overtime = m_overtime->value();
        device.comDelay = m_comDelay->value();
        device.resDelay = m_resDelay->value();
        device.retryNum = quint8(m_retry->value());
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
        = Config::instance()->enumTexts(QMetaEnum::fromType<Config::ComParity>());
    for (int i = 0; i < parities.size() && i < m_parity->count(); ++i)
        m_parity->setItemText(i, parities.at(i));
    if (m_unavailablePort >= 0) {
        m_port->setItemText(m_port->findData(m_unavailablePort),
                            tr("COM%1（不可用）").arg(m_unavailablePort + 1));
    }
}
