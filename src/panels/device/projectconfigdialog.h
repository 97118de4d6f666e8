#pragma once

#include "model/devicepara.h"
#include "model/languagepara.h"

#include <QDialog>

#include <functional>

class FontEditWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

// The project's own settings: hardware shown read-only, languages and their
// fonts, communication devices and protection. Long-lived: the main window
// creates one and opens it with run() each time.
//
// The dialog edits copies of the languages, devices and protection; OK
// commits what changed to the current project as one undo step, Cancel
// leaves the project as it was. A commit emits configChanged().
class ProjectConfigDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ProjectConfigDialog(QWidget *parent = nullptr);

    // getConfig(), then the dialog modally through the modal seam (the
    // handler may work the dialog's controls; accepted stands for OK).
    // Returns the dialog's result.
    int run();
    // The pages, in tab order.
    enum Page { InfoPage, LanguagePage, DevicePage, ProtectionPage = 4 };
    // As run(), opened on page with device row `deviceRow` current (when
    // there is such a row).
    int runOnPage(int page, int deviceRow = -1);

    // Fills every page from Config.
    void getConfig();
    // Commits the copies to the current project as one undo step; false
    // when they hold what the project holds (no step then).
    bool setConfig();

    // Runs DeviceAddDialog on a copy of device until the user cancels or
    // enters a name that is not empty, not the panel's own in either
    // language and no other device's; an edited device's unchanged name is
    // taken as it is. editedRow is the device's own row, -1 for a new
    // device. True when device now holds the entry; false leaves it
    // untouched.
    bool showDeviceAddDialog(DevicePara &device, int editedRow = -1);
    // Writes the six cells of row.
    void setDeviceTable(int row, const DevicePara &device);

    // Asks for a new password twice; the empty text when the user gave up.
    QString userInputPassword(const QString &title);

    // The texts of the device table's row for device.
    static QStringList deviceRowTexts(const DevicePara &device);

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();
    void on_lanNum_currentIndexChanged(int index);
    void on_addDevice_clicked();
    void on_removeDevice_clicked();
    void tableDeviceDoubleClicked(int row, int column);
    void on_prjPassword_clicked(bool checked);
    void on_macroPassword_clicked(bool checked);
    void on_encrpty_clicked(bool checked);

signals:
    void configChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    QWidget *buildInfoPage();
    QWidget *buildLanguagePage();
    QWidget *buildDevicePage();
    QWidget *buildProtectionPage();
    void fitFont(const FontEditWidget *editor);
    void setLanguageRow(int row, const QString &name, const QString &mark, const QFont &font);
    LanguagePara languageRow(int row) const;
    // Switches a password off after proving it, or sets a new one.
    void switchPassword(QCheckBox *box, QString *password, bool checked, const QString &setTitle,
                        const QString &verifyTitle);
    // How many address tags the device in the table's row will hold.
    int tagsUsing(int row) const;
    // The undo text of a commit of parts (ProjectDocument::Parts).
    std::function<QString()> changeText(int parts) const;
    void retranslate();

    QTabWidget *m_tabs = nullptr;

    QLabel *m_hardLabel = nullptr;
    QComboBox *m_hard = nullptr;
    QLabel *m_orientationLabel = nullptr;
    QComboBox *m_orientation = nullptr;
    QGroupBox *m_details = nullptr;
    QLabel *m_sizeLabel = nullptr;
    QLabel *m_size = nullptr;
    QLabel *m_resolutionLabel = nullptr;
    QLabel *m_resolution = nullptr;
    QLabel *m_serialLabel = nullptr;
    QLabel *m_serial = nullptr;
    QLabel *m_otherLabel = nullptr;
    QLabel *m_usb = nullptr;
    QLabel *m_nameLabel = nullptr;
    QLineEdit *m_name = nullptr;
    QLabel *m_locationLabel = nullptr;
    QLineEdit *m_location = nullptr;
    QPushButton *m_browse = nullptr;

    QLabel *m_lanNumLabel = nullptr;
    QComboBox *m_lanNum = nullptr;
    QTableWidget *m_languages = nullptr;
    // Row i's language while the count hides it: what the row held before
    // the count went down, or a language Config keeps hidden.
    QList<LanguagePara> m_knownLanguages;

    QPushButton *m_addDevice = nullptr;
    QPushButton *m_removeDevice = nullptr;
    QTableWidget *m_devices = nullptr;
    // The device table's rows, and for each the name the project knows it
    // by (null for a device added here): tags follow a rename on OK.
    QList<DevicePara> m_deviceList;
    QStringList m_deviceOrigins;

    QGroupBox *m_protection = nullptr;
    QCheckBox *m_prjPassword = nullptr;
    QCheckBox *m_macroPassword = nullptr;
    QCheckBox *m_encrypt = nullptr;
    QLabel *m_protectionNote = nullptr;
    QString m_projectPw;
    QString m_macroPw;
    quint8 m_encryption = 0;

    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
