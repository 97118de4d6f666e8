#pragma once

#include "services/editorsettings.h"

#include <QColor>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

// The system settings: the interface language and the editing aids of
// EditorSettings (grid, lock, snap, autosave). OK applies and stores them
// all at once; Cancel leaves everything as it was.
class OptionSetDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionSetDialog(QWidget *parent = nullptr);

    // Shows the current language and EditorSettings and runs the dialog
    // modally (through the modal seam when a handler is installed).
    int run();
    // Puts the current language and EditorSettings into the controls.
    void showCurrentValues();
    // What the controls hold now, as EditorSettings values.
    EditorSettings::Values shownValues() const;

    QComboBox *languageBox() const { return m_language; }
    QGroupBox *gridBox() const { return m_grid; }
    QCheckBox *lockBox() const { return m_fixeAll; }
    QCheckBox *snapBox() const { return m_align; }
    QSpinBox *gridXBox() const { return m_x; }
    QSpinBox *gridYBox() const { return m_y; }
    QPushButton *colourButton() const { return m_colour; }
    QGroupBox *autoSaveBox() const { return m_autoSave; }
    QSpinBox *intervalBox() const { return m_interval; }
    // The grid colour the button shows.
    QColor gridColour() const { return m_gridColour; }

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();
    // Asks for a new grid colour, starting from the one shown.
    void on_colour_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void setGridColour(const QColor &colour);

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
    QColor m_gridColour;
};
