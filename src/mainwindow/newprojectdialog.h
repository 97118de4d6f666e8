#pragma once

#include <QDialog>
#include <QPointer>

class Config;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

// Asks for a new project's name, location, hardware model and orientation,
// creates its folders and writes the choice into Config. One dialog lives as
// long as the main window and is refilled from Config on every run().
class NewProjectDialog : public QDialog
{
    Q_OBJECT
public:
    // How run() ended. RecentPicked: a project was picked from the recent
    // menu.
    enum Result { Cancelled = QDialog::Rejected, Created = QDialog::Accepted, RecentPicked = 2 };

    explicit NewProjectDialog(QWidget *parent = nullptr);

    // The recent-project menu shown by the "最近工程" button (not owned).
    // Picking one of its actions while the dialog is open ends it with
    // RecentPicked; the action itself opens the project.
    void setRecentMenu(QMenu *menu);

    // Fills the form from target (the current project's Config when null)
    // and runs the dialog modally; a Result. Created means target is
    // filled and the folders exist.
    int run(Config *target = nullptr);
    // The filling step of run(), without the modal loop.
    void loadFromConfig();

public slots:
    void on_device_currentIndexChanged(int index);
    void on_orientation_currentIndexChanged(int index);
    void on_choose_clicked();
    void on_dispalyCheck_clicked();
    void on_ok_clicked();
    void on_cancel_clicked();
    void deviceInfoChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    Config *target() const;
    void recentTriggered();
    void retranslate();
    void refuse(const QString &text);

    // The project the form fills while run() runs.
    Config *m_target = nullptr;
    QLabel *m_deviceTitle = nullptr;
    QComboBox *m_device = nullptr;
    QLabel *m_orientationTitle = nullptr;
    QComboBox *m_orientation = nullptr;
    QGroupBox *m_details = nullptr;
    QLabel *m_picture = nullptr;
    QLabel *m_sizeTitle = nullptr;
    QLabel *m_sizeValue = nullptr;
    QLabel *m_resolutionTitle = nullptr;
    QLabel *m_resolutionValue = nullptr;
    QLabel *m_usbTitle = nullptr;
    QLabel *m_usbValue = nullptr;
    QLabel *m_serialTitle = nullptr;
    QLabel *m_serialValue = nullptr;
    QLabel *m_otherTitle = nullptr;
    QLabel *m_otherValue = nullptr;
    QLabel *m_nameTitle = nullptr;
    QLineEdit *m_name = nullptr;
    QLabel *m_locationTitle = nullptr;
    QLineEdit *m_location = nullptr;
    QPushButton *m_choose = nullptr;
    QCheckBox *m_displayCheck = nullptr;
    QToolButton *m_recent = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPointer<QMenu> m_recentMenu;
};
