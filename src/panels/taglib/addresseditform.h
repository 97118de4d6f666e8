#pragma once

#include <QWidget>

struct AddressPara;
class QComboBox;
class QLabel;
class QSpinBox;

// Edits one address: device, data format, register area, length, register
// number and bit. The area list follows the device's protocol and the
// format; the bit field is shown only for Bool addresses on the panel; a
// device on the free-port protocol, which has no addresses, is refused by
// selecting the panel itself instead.
class AddressEditForm : public QWidget
{
    Q_OBJECT
public:
    explicit AddressEditForm(QWidget *parent = nullptr);

    // Fills the form from para (name and mark are not shown here).
    void setPara(const AddressPara &para);
    // Copies the form into para; name and mark are left alone.
    void getPara(AddressPara &para) const;

public slots:
    void on_device_currentIndexChanged(int index);
    void on_format_currentIndexChanged(int index);
    void on_type_currentIndexChanged(const QString &arg1);
    void updateAddressType();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void updateBitVisibility();

    QLabel *m_deviceLabel = nullptr;
    QComboBox *m_device = nullptr;
    QLabel *m_formatLabel = nullptr;
    QComboBox *m_format = nullptr;
    QLabel *m_typeLabel = nullptr;
    QComboBox *m_type = nullptr;
    QLabel *m_lengthLabel = nullptr;
    QSpinBox *m_length = nullptr;
    QLabel *m_addressLabel = nullptr;
    QSpinBox *m_address = nullptr;
    QLabel *m_bitLabel = nullptr;
    QSpinBox *m_bit = nullptr;
};
