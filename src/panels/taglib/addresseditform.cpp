#include "addresseditform.h"

#include "model/builtintables.h"
#include "model/config.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

// Protocols 0 (the panel's own) and 3 (free port, which has no registers
// at all) are treated specially by the form.
const int PanelProtocol = 0;
const int FreePortProtocol = 3;

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

AddressEditForm::AddressEditForm(QWidget *parent)
    : QWidget(parent)
{
    const Config *config = Config::instance();
    m_deviceLabel = new QLabel(this);
    m_device = named(new QComboBox(this), "device");
    m_device->addItems(config->deviceNames());
    m_formatLabel = new QLabel(this);
    m_format = named(new QComboBox(this), "format");
    m_format->addItems(
        BuiltinTables::instance()->enumTexts(QMetaEnum::fromType<Config::DataFormat>()));
    m_typeLabel = new QLabel(this);
    m_type = named(new QComboBox(this), "type");
    m_lengthLabel = new QLabel(this);
    m_length = named(new QSpinBox(this), "length");
    m_length->setRange(1, 99);
    m_addressLabel = new QLabel(this);
    m_address = named(new QSpinBox(this), "address");
    m_bitLabel = new QLabel(this);
    m_bit = named(new QSpinBox(this), "bit");
    m_bit->setRange(0, 15);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_deviceLabel, 0, 0);
    layout->addWidget(m_device, 0, 1);
    layout->addWidget(m_formatLabel, 0, 2);
    layout->addWidget(m_format, 0, 3);
    layout->addWidget(m_typeLabel, 1, 0);
    layout->addWidget(m_type, 1, 1);
    layout->addWidget(m_lengthLabel, 1, 2);
    layout->addWidget(m_length, 1, 3);
    layout->addWidget(m_addressLabel, 2, 0);
    layout->addWidget(m_address, 2, 1);
    layout->addWidget(m_bitLabel, 2, 2);
    layout->addWidget(m_bit, 2, 3);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);

    connect(m_device, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &AddressEditForm::on_device_currentIndexChanged);
    connect(m_format, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &AddressEditForm::on_format_currentIndexChanged);
    connect(m_type, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { on_type_currentIndexChanged(m_type->itemText(index)); });

    retranslate();
    updateAddressType();
}

void AddressEditForm::setPara(const AddressPara &para)
{
    const Config *config = Config::instance();
    {
        const QSignalBlocker deviceBlocker(m_device);
        const QSignalBlocker formatBlocker(m_format);
        // Devices may have been added, renamed or removed since the form
        // was last filled.
        m_device->clear();
        m_device->addItems(config->deviceNames());
        m_device->setCurrentIndex(para.device < m_device->count() ? para.device : 0);
        m_format->setCurrentIndex(para.format < m_format->count() ? para.format : 0);
    }
    updateAddressType();

    const QString area = BuiltinTables::instance()->areaName(
        config->deviceProtocol(m_device->currentIndex()), para.area);
    int areaIndex = m_type->findText(area);
    const QSignalBlocker blocker(m_type);
    // A stored area the format does not offer (a word area for a Bool, which
    // files and imports may hold) is shown as it is: taking the first offered
    // area instead moved the tag to another register on an untouched OK.
    if (areaIndex < 0 && !area.isEmpty()) {
        m_type->addItem(area);
        areaIndex = m_type->count() - 1;
    }
    if (areaIndex >= 0)
        m_type->setCurrentIndex(areaIndex);
    on_type_currentIndexChanged(m_type->currentText());

    m_length->setValue(para.length);
    m_address->setValue(para.address);
    m_bit->setValue(para.bit);
}

void AddressEditForm::getPara(AddressPara &para) const
{
    const Config *config = Config::instance();
    const int device = qMax(0, m_device->currentIndex());
    para.device = static_cast<quint8>(device);
    para.format = static_cast<quint8>(qMax(0, m_format->currentIndex()));
    const int area = BuiltinTables::instance()->areaIndex(config->deviceProtocol(device),
                                                          m_type->currentText());
    para.area = static_cast<quint8>(qMax(0, area));
    para.length = static_cast<quint8>(m_length->value());
    para.address = static_cast<quint16>(m_address->value());
    para.bit = static_cast<quint16>(m_bit->value());
}

void AddressEditForm::on_device_currentIndexChanged(int index)
{
    if (index >= 0)
        updateAddressType();
}

void AddressEditForm::on_format_currentIndexChanged(int index)
{
    Q_UNUSED(index)
    updateAddressType();
}

void AddressEditForm::updateBitVisibility()
{
    // The bit of a word only exists in the panel's own address syntax.
    const Config *config = Config::instance();
    const bool bit = config->deviceProtocol(m_device->currentIndex()) == PanelProtocol
        && m_format->currentIndex() == Config::Bool;
    m_bitLabel->setVisible(bit);
    m_bit->setVisible(bit);
}

void AddressEditForm::updateAddressType()
{
    const Config *config = Config::instance();
    const int protocol = config->deviceProtocol(m_device->currentIndex());
    if (protocol == FreePortProtocol && m_device->currentIndex() != 0) {
        // Selecting the panel re-enters here through the index signal.
        m_device->setCurrentIndex(0);
        return;
    }
    updateBitVisibility();

    const int kind = m_format->currentIndex() == Config::Bool ? DeviceProtocolTable::BitAreas
                                                              : DeviceProtocolTable::WordAreas;
    const QStringList areas = BuiltinTables::instance()->areaNames(protocol, kind);
    {
        const QSignalBlocker blocker(m_type);
        const QString previous = m_type->currentText();
        m_type->clear();
        m_type->addItems(areas);
        m_type->setCurrentIndex(qMax(0, areas.indexOf(previous)));
    }

    if (config->addressHex) {
        m_address->setDisplayIntegerBase(16);
        m_address->setSuffix(QStringLiteral(" H"));
    } else {
        m_address->setDisplayIntegerBase(10);
        m_address->setSuffix(QString());
    }
    on_type_currentIndexChanged(m_type->currentText());
}

void AddressEditForm::on_type_currentIndexChanged(const QString &arg1)
{
    if (arg1.isEmpty())
        return;
    const Config *config = Config::instance();
    const RegisterArea *area = BuiltinTables::instance()->findArea(
        config->deviceProtocol(m_device->currentIndex()), arg1);
    if (!area)
        return;
    // Register numbers are stored in 16 bits.
    const int min = qBound(0, area->min, 0xFFFF);
    const int max = qBound(min, area->max, 0xFFFF);
    m_address->setRange(min, max);
    if (config->addressHex) {
        const auto hex = [](int value) {
            return QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
        };
        m_address->setToolTip(tr("范围：%1H~%2H").arg(hex(min), hex(max)));
    } else {
        m_address->setToolTip(tr("范围：%1~%2").arg(min).arg(max));
    }
}

void AddressEditForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void AddressEditForm::retranslate()
{
    m_deviceLabel->setText(tr("连接设备"));
    m_formatLabel->setText(tr("数据类型"));
    m_typeLabel->setText(tr("地址类型"));
    m_lengthLabel->setText(tr("数据长度"));
    m_addressLabel->setText(tr("地址"));
    m_bitLabel->setText(tr("位"));
    m_length->setToolTip(tr("范围：%1~%2").arg(m_length->minimum()).arg(m_length->maximum()));
    if (m_device->count() > 0)
        m_device->setItemText(0, Config::instance()->deviceNames().value(0));
    on_type_currentIndexChanged(m_type->currentText());
}
