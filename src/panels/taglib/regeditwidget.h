#pragma once

#include "model/addresspara.h"

#include <QGroupBox>
#include <QPointer>
#include <QVector>

class AddressEditForm;
class ProjectDocument;
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
// The tag list follows the library and the system registers: after any
// change (an edit, a removal, another project) it is refilled and keeps the
// picked tag by its name, or shows none, and says the tag is gone, when that
// name is gone.
//
// OK in the library takes only a tag the user chose there (a row clicked or
// reached with the keyboard) that still exists; otherwise the field stays
// as it was, so a removed tag's neighbour never takes its place unasked.
class RegEditWidget : public QGroupBox
{
    Q_OBJECT
public:
    explicit RegEditWidget(QWidget *parent = nullptr);

    // Shows para on the direct-entry page.
    void setPara(const AddressPara &para);
    // The address shown: the direct entry on page 0, the picked tag on
    // page 1 as the library holds it now (defaults when nothing is picked
    // or its name is gone).
    AddressPara para() const;
    // Shows the user's address tag `name` on the list page; a name the
    // library no longer holds is shown as gone and still given back by
    // pickedTag(), so that nothing is replaced unasked.
    void setTag(const QString &name);
    // Shows the panel's system register `name` on the list page.
    void setSystemTag(const QString &name);
    // The user's tag picked on the list page; empty for direct entry and
    // for the system registers.
    QString pickedTag() const;

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
    void showEvent(QShowEvent *event) override;

private:
    // Listens to the current project document, when it is not the one
    // listened to already; true when it was another.
    bool followDocument();
    void showList(bool system, bool checked);
    // Marks the shown list out of date and schedules one refill, however
    // many changes come in before it runs.
    void listChanged();
    void refreshList();
    // Decodes the tag named `name` of the shown list into the labels.
    void showTag(const QString &name);
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
    bool m_refreshPending = false;
    QPointer<ProjectDocument> m_document;
    QVector<QMetaObject::Connection> m_documentConnections;
    // The tag picked on the list page, kept when it leaves the library so
    // that the field can say which one went.
    QString m_pickedName;
};
