#pragma once

#include "model/projectplace.h"

#include <QDialog>
#include <QHash>
#include <QStringList>
#include <QVector>

struct AddressPara;
class QAbstractItemModel;
class QComboBox;
class QModelIndex;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class TableView;
class TagUsesModel;

// The address tag library: shows the user's address tags or the panel's
// system registers (read-only) in a sortable, filterable table.
//
// The user's list is a copy of the project's address tags (every column and
// item role); adds, edits, removals, moves, pastes and imports change the
// copy only. OK validates it and hands it to the current project document
// as one undoable change; Cancel and closing the window drop it. The copy
// is taken at the first edit: until then the table shows the project's own
// tags, which it only reads, so that opening a library of tens of thousands
// of tags costs no copy of them. The main window creates one instance at
// start-up; the most recently constructed instance is the current one,
// through which the register picker reaches the library.
class AddressLibDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AddressLibDialog(QWidget *parent = nullptr);
    ~AddressLibDialog() override;

    // The current instance, or null when none exists.
    static AddressLibDialog *current();

    // Opens on the system register list (system) or the user's tags with
    // model row `row` selected and runs the dialog modally; the result.
    int showLibrary(bool system, int row);
    // Shows the system register list (system) or the user's tags with model
    // row `row` current and in view, clearing a filter that hides it;
    // nothing is run. Unless the copy holds edits not yet confirmed or
    // dropped, the list is the project's own tags again first.
    void selectRow(bool system, int row);
    // The user's tags as the dialog lists them: its copy once an edit took
    // one, else the project's own, read-only here.
    const QStandardItemModel *tags() const;
    // True when the copy was changed since it was taken.
    bool isEdited() const { return m_edited; }
    // True while the dialog holds a copy of its own.
    bool hasCopy() const { return m_copied; }
    // Which list is shown and the model row of the current table row (-1
    // when there is none).
    void selection(bool &system, int &row) const;

    bool isSystemList() const { return m_system; }
    TableView *table() const { return m_table; }

    // Runs AddressAddDialog on para until the user cancels (false) or
    // confirms a name that no row of the shown model other than `current`
    // has (true; para holds the tag). A duplicate is reported and the dialog
    // reopens with the user's values.
    bool showAddressAddDialog(AddressPara &para, int current = -1);
    // Writes the six cells of row `row` of the user's list from para; the
    // system registers are never written.
    void setAddressTable(int row, const AddressPara &para);
    // The model row shown at viewIndex, through sorting and filtering; -1
    // for an invalid index.
    int getRealRow(const QModelIndex &viewIndex) const;
    // Decodes user row `row` into para; reports the first problem and
    // returns false when the row does not decode.
    bool addrRowCheck(int row, AddressPara &para);
    // True when every user tag has a name and no two share one; otherwise
    // reports the first problem in row order.
    bool checkLabels();

    // Inserts rows of tab-separated text below the current row of the user
    // list: six cells a line, missing cells empty, further cells ignored.
    // Returns the number of rows inserted.
    int pasteRows(const QString &text);
    // Removes the selected rows of the user list; returns how many. Tags
    // that shapes use are removed only once the user agrees.
    int removeSelectedRows();

    // The tags renamed in the copy since it was taken, old name -> new
    // name. A row added since is no rename, even under a removed row's
    // name; nor is a row whose old name another row of the list shares.
    QHash<QString, QString> renamedTags() const;

    // The list as the table shows it, the uses column aside: the project's
    // tags, the copy or the system registers; null while closed.
    const QAbstractItemModel *listedModel() const;

signals:
    // After OK handed a changed library to the project.
    void libraryChanged();
    // 查找引用 closed the library: the shapes using tag `name`, for the
    // window to list where a click opens them.
    void usesListed(const QString &name, const QVector<ProjectPlace> &places);

public slots:
    void done(int result) override;
    void on_ok_clicked();
    void on_cancel_clicked();
    void on_add_clicked();
    void on_remove_clicked();
    void on_edit_clicked();
    void on_removeAll_clicked();
    void on_moveUp_clicked();
    void on_moveDown_clicked();
    // Lists the shapes using the current row's tag (usesListed) and closes
    // the library; edits not yet confirmed are confirmed first, when the
    // user agrees.
    void on_whereUsed_clicked();
    // Imports replace the user's tags with what the chosen file holds, and
    // only once the whole file has been read; exports write the user's tags.
    // The file kind follows the suffix, and every failure is reported.
    void on_importTxt_clicked();
    void on_exportTxt_clicked();
    void on_importExcel_clicked();
    void on_exportExcel_clicked();
    void on_filter_currentTextChanged(const QString &arg1);
    void on_userAddr_clicked();
    void on_sysAddr_clicked();
    void editCurrentItem(const QModelIndex &index);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void retranslate();
    // Drops an unedited copy, so that the list shows the project's tags
    // again.
    void takeTags();
    // The copy the edits go to, taken now if the list has none (EmptyCopy:
    // without the rows, for an edit that replaces them all); the table keeps
    // its sorting, filter, selection and scroll position across.
    enum CopyKind { FullCopy, EmptyCopy };
    QStandardItemModel *editableTags(CopyKind kind = FullCopy);
    void copyHeaders();
    void showList(bool system);
    const QStandardItemModel *userModel() const;
    const QStandardItemModel *shownModel() const;
    // Puts the shown list into the table.
    void attachShown();
    // The table's index of model row `row` of the shown list; invalid when
    // filtered out.
    QModelIndex viewIndex(int row) const;

    void selectRows(int first, int count);
    void moveRow(int offset);
    void showError(const QString &text);
    void importFile(const QString &title, const QString &filter);
    void exportFile(const QString &title, const QString &filter, const QString &suffix);
    // The buttons that change the user's tags, disabled on the system list.
    QList<QPushButton *> editButtons() const;
    // The name bindings know user row `row` by: the one it had in the
    // project when the copy was taken, else (added since) its name now.
    QString originalName(int row) const;
    // Asks before rows whose tags shapes use are removed; true to go on
    // (also when no shape uses them).
    bool confirmRemoval(const QList<int> &rows);

    // Item data of a copied row's name cell: the row's name in the project.
    static constexpr int OriginalNameRole = Qt::UserRole + 0x4b52;

    bool m_system = false;
    QStandardItemModel *m_tags = nullptr; // child; the copy while m_copied
    bool m_copied = false;
    bool m_edited = false;
    QRadioButton *m_userAddr = nullptr;
    QRadioButton *m_sysAddr = nullptr;
    QComboBox *m_filter = nullptr;
    TableView *m_table = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_removeAll = nullptr;
    QPushButton *m_moveUp = nullptr;
    QPushButton *m_moveDown = nullptr;
    QPushButton *m_whereUsed = nullptr;
    TagUsesModel *m_uses = nullptr; // child; between the list and the table
    bool m_usesCounted = false; // since the dialog was last opened
    QPushButton *m_importTxt = nullptr;
    QPushButton *m_exportTxt = nullptr;
    QPushButton *m_importExcel = nullptr;
    QPushButton *m_exportExcel = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
