#pragma once

#include "model/devicepara.h"

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
    //
    // Only the fields the user changed are taken: a value the fields cannot
    // show as it is (a station of 0, a time-out above the usual range, a
    // protocol the table lacks) stays as it was. A changed value outside
    // its range is refused with a message, and the dialog stays open.
    int setDevice(DevicePara &device);

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    // What the fields show, in their own terms, to tell which the user
    // changed.
    struct Fields
    {
        QString name;
        int protocol = -1;
        int station = 0;
        int port = -1;
        int type = -1;
        QString baud;
        QString dataBits;
        QString stopBits;
        int parity = -1;
        int overtime = 0;
        int comDelay = 0;
        int resDelay = 0;
        int retry = 0;
    };
    Fields fields() const;
    // The first changed number outside its range, reported; false then.
    bool checkRanges(const Fields &now);
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
    Fields m_filled; // the fields as fill() left them
};
