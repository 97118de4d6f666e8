#pragma once

#include "project/addresspara.h"

#include <QGroupBox>

class AddressEditForm;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class RegPanel;

// The register field of the property dialog: an address typed directly
// (page 0, through a RegPanel) or a tag picked from the user's address
// tags or the panel's system registers (page 1), optionally through the
// address library dialog.
//
// The tag names are those of the moment a list was chosen; the widget does
// not follow later library changes until a list is chosen again.
class RegEditWidget : public QGroupBox
{
    Q_OBJECT
public:
    explicit RegEditWidget(QWidget *parent = nullptr);

    // Shows para on the direct-entry page.
    void setPara(const AddressPara &para);
    // The address shown: the direct entry on page 0, the picked tag on
    // page 1 (defaults when the list is empty).
    AddressPara para() const;

    QRadioButton *systemButton() const { return m_systlib; }
    QRadioButton *userButton() const { return m_userlib; }
    QComboBox *tagBox() const { return m_labelCbx; }
    QLabel *summaryLabel() const { return m_summary; }
    QLabel *remarkLabel() const { return m_remark; }
    RegPanel *panel() const { return m_panel; }
    AddressEditForm *editForm() const { return m_form; }
    int currentPage() const;

public slots:
    void on_libOpen_clicked();
    void on_userlib_clicked(bool checked);
    void on_systlib_clicked(bool checked);
    void on_labelCbx_currentIndexChanged(int index);

protected:
    void changeEvent(QEvent *event) override;

private:
    void showList(bool system, bool checked);
    void retranslate();

    AddressPara m_para;
    QRadioButton *m_systlib = nullptr;
    QRadioButton *m_userlib = nullptr;
    QPushButton *m_libOpen = nullptr;
    QStackedWidget *m_stack = nullptr;
    RegPanel *m_panel = nullptr;
    AddressEditForm *m_form = nullptr; // inside m_panel's pop-up
    QComboBox *m_labelCbx = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_remark = nullptr;
    QLabel *m_nameLabel = nullptr;
};
