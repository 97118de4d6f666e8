#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

// The system settings: the interface language is applied and stored; the
// grid and auto-save controls are shown for later use and not stored.
class OptionSetDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionSetDialog(QWidget *parent = nullptr);

    // Shows the current interface language and runs the dialog modally.
    int run();
    QComboBox *languageBox() const { return m_language; }

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QTabWidget *m_tabs = nullptr;
    QGroupBox *m_grid = nullptr;
    QCheckBox *m_fixeAll = nullptr;
    QCheckBox *m_align = nullptr;
    QLabel *m_xLabel = nullptr;
    QLabel *m_yLabel = nullptr;
    QSpinBox *m_x = nullptr;
    QSpinBox *m_y = nullptr;
    QLabel *m_colourLabel = nullptr;
    QPushButton *m_colour = nullptr;
    QGroupBox *m_autoSave = nullptr;
    QLabel *m_intervalLabel = nullptr;
    QSpinBox *m_interval = nullptr;
    QLabel *m_languageLabel = nullptr;
    QComboBox *m_language = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
