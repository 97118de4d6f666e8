#pragma once

#include "model/addresspara.h"

#include <QDialog>

#include <functional>

class AddressEditForm;
class LineEdit;
class QLabel;
class QPushButton;

// Creates or edits one address tag: its name, its address and its remark.
// Created for one add or edit and destroyed afterwards.
class AddressAddDialog : public QDialog
{
    Q_OBJECT
public:
    // Runs a filled dialog in place of its modal loop and returns its
    // result. Tests install one so that no dialog blocks; empty restores
    // the modal loop.
    using Runner = std::function<int(AddressAddDialog &dialog)>;
    static void setRunner(Runner runner);

    enum Purpose { NewTag, EditTag };

    explicit AddressAddDialog(QWidget *parent = nullptr, Purpose purpose = NewTag);

    // Shows para in the dialog and runs it modally. When it is accepted para
    // holds the edited tag; a rejected dialog leaves para unchanged.
    int showPara(AddressPara &para);

    AddressEditForm *form() const { return m_form; }

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QLabel *m_nameLabel = nullptr;
    LineEdit *m_name = nullptr;
    AddressEditForm *m_form = nullptr;
    QLabel *m_markLabel = nullptr;
    LineEdit *m_mark = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    AddressPara *m_para = nullptr; // the caller's, during showPara()
    Purpose m_purpose = NewTag;
};
