#pragma once

#include "project/devicepara.h"

#include <QDialog>

class LineEdit;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

// Edits one communication device. Created for one add or edit; the caller
// checks the name, as only it knows the other devices.
class DeviceAddDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DeviceAddDialog(QWidget *parent = nullptr);

    // Fills the fields from device, selects the name and runs the dialog
    // through the modal seam (the handler may set the fields and accept).
    // When accepted, device holds the entered values; otherwise it is left
    // unchanged. Returns the dialog's result.
    int setDevice(DevicePara &device);

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void fill(const DevicePara &device);
    void fillPorts(int storedPort);
    void retranslate();

    QLabel *m_nameLabel = nullptr;
    LineEdit *m_name = nullptr;
    QLabel *m_protocolLabel = nullptr;
    QComboBox *m_protocol = nullptr;
    QLabel *m_typeLabel = nullptr;
    QComboBox *m_type = nullptr;
    QLabel *m_portLabel = nullptr;
    QComboBox *m_port = nullptr;
    QLabel *m_stationLabel = nullptr;
    QSpinBox *m_station = nullptr;
    QGroupBox *m_formatGroup = nullptr;
    QLabel *m_baudLabel = nullptr;
    QComboBox *m_baud = nullptr;
    QLabel *m_dataBitsLabel = nullptr;
    QComboBox *m_dataBits = nullptr;
    QLabel *m_stopBitsLabel = nullptr;
    QComboBox *m_stopBits = nullptr;
    QLabel *m_parityLabel = nullptr;
    QComboBox *m_parity = nullptr;
    QGroupBox *m_timeGroup = nullptr;
    QLabel *m_overtimeLabel = nullptr;
    QSpinBox *m_overtime = nullptr;
    QLabel *m_comDelayLabel = nullptr;
    QSpinBox *m_comDelay = nullptr;
    QLabel *m_resDelayLabel = nullptr;
    QSpinBox *m_resDelay = nullptr;
    QLabel *m_retryLabel = nullptr;
    QSpinBox *m_retry = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    int m_unavailablePort = -1; // the port entry beyond the model's, if any
    DevicePara *m_device = nullptr; // the caller's, during setDevice()
};
