#pragma once

#include "model/addresspara.h"

#include <QToolButton>

class AddressEditForm;
class QMenu;

// A drop-down button carrying a direct-entry address form. The pop-up holds
// the form and two small buttons: RegPanelOk keeps what was entered,
// RegPanelNo puts back the address the pop-up opened with. Whenever the
// pop-up closes the button text becomes the summary of the address.
class RegPanel : public QToolButton
{
    Q_OBJECT
public:
    explicit RegPanel(QWidget *parent = nullptr);

    // Puts widget into the pop-up (the panel takes ownership). When it is an
    // AddressEditForm, that form is the one summarised.
    void setWidget(QWidget *widget);
    QMenu *popup() const { return m_menu; }

    // The address of the form (defaults for name, length and the rest when
    // there is no form).
    AddressPara para() const;
    // Fills the form and the button text.
    void setPara(const AddressPara &para);

public slots:
    void showPopup();
    void on_ok_clicked();
    void on_no_clicked();

signals:
    // After the pop-up closed, with the address it leaves.
    void paraChanged();
    // The user pressed ✓: the address shown is the one wanted, changed or
    // not.
    void confirmed();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void onAboutToHide();
    void closePopup();
    void updateText();

    QMenu *m_menu = nullptr; // child of this
    QWidget *m_holder = nullptr; // child of the menu's widget action
    AddressEditForm *m_form = nullptr; // inside m_holder, or null
    AddressPara m_opened; // what RegPanelNo restores
};
