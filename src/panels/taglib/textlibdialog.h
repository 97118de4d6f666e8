#pragma once

#include "model/taglib/textlib.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QPushButton;
class QTableWidget;

// Edits the project's text tag library as a table: one row per state, the
// tag's name in a cell spanning its states' rows, one text column per
// project language. The table is a copy: it is refilled from Config's
// library whenever the dialog opens, and only OK, once the table passes
// its checks, hands it to the project document as one undoable change;
// Cancel leaves the library alone. Created
// once by the main window and reused for every project.
class TextLibDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TextLibDialog(QWidget *parent = nullptr);

    // Rebuilds the columns from the project's languages and refills the
    // table from the library, dropping unsaved edits.
    void reloadTable();

    // Refills the table, then runs the dialog modally through the modal seam
    // with the tag named current selected (when there is one). Returns the
    // name of the tag holding the current row when the dialog was accepted
    // and current was not empty, else "".
    QString showLibrary(const QString &current);
    // Refills the table, then makes the first row of the tag at `index` (in
    // table order) current and in view, or of the first tag named `name`
    // when the tag at index is named otherwise; a filter that hides the row
    // is cleared. Nothing is run.
    void selectTag(int index, const QString &name);

    // Inserts a tag of stateCount empty states after the tag holding the
    // current row (at the top when there is none); returns its first row.
    int addLabel(const QString &name, int stateCount);
    // True when every tag has a name that is not blank and no two tags
    // share one; otherwise tells the user about the first problem.
    bool checkLabel();
    // The text of a cell; a cell without an item gets an empty one.
    QString getItemText(int row, int column);

    // Not owned.
    QTableWidget *table() const { return m_table; }

    // The tags renamed in the table since it was filled from the library,
    // old name -> new name. A tag added since is no rename, even under a
    // removed tag's name; nor is a tag whose old name another tag of the
    // table shares.
    QHash<QString, QString> renamedTags() const;

signals:
    // OK wrote a library that differs from the one there before.
    void libraryChanged();

public slots:
    void on_ok_clicked();
    void on_cancel_clicked();
    void on_add_clicked();
    void on_remove_clicked();
    // Merge: the selected name cells become the states of the top one.
    void on_edit_clicked();
    void on_removeAll_clicked();
    // Imports replace the table's contents with what the chosen file holds,
    // once the whole file has been read (the library follows on OK);
    // exports write the table as it stands. The file kind follows the
    // suffix, and every failure is reported.
    void on_importTxt_clicked();
    void on_exportTxt_clicked();
    void on_importExcel_clicked();
    void on_exportExcel_clicked();
    void on_filter_currentTextChanged(const QString &text);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A tag's rows in the table: [first, first + rows).
    struct TagRows
    {
        int first = -1;
        int rows = 0;
    };

    void retranslate();
    void setColumns();
    // fromProject: the tags are the library's own, and their name cells
    // remember their names (OriginalNameRole).
    void fillTable(const TextLib &library, bool fromProject = false);
    // The tag covering row, or {-1, 0} outside the table.
    TagRows tagAt(int row) const;
    QVector<TagRows> tags() const;
    // Lets the name cell at first span rows rows (removing a span for 1).
    void setTagSpan(int first, int oldRows, int rows);
    // Inserts an empty state at row, within the tag holding row, or of tag
    // (row may then be the row after its last one).
    void insertState(int row);
    void insertState(const TagRows &tag, int row);
    void removeRows(int first, int count);
    void removeTag(const TagRows &tag);
    // Removes the state in row; the last state takes its tag along.
    void removeState(int row);
    // The table's tags, each state with one text per project language.
    TextLib tableLibrary() const;
    void importFile(const QString &title, const QString &filter);
    void exportFile(const QString &title, const QString &filter, const QString &suffix);
    void showError(const QString &text);
    // Ctrl+C: the selected cells as tab-separated lines, a tag's name in its
    // first row only.
    void copySelection();
    // Ctrl+V: on a name cell (or into an empty table) the lines become new
    // tags after the current one; on a text cell they overwrite texts from
    // there, and lines past the table's end add states to the last tag.
    void paste();
    void pasteTags(const QStringList &lines);
    // Delete: whole tags whose name cell is selected or all of whose states
    // are, and the selected states of the others.
    void removeSelectedRows();
    // The name bindings know the tag by: its name in the library when the
    // table was filled, else (added since) its name now.
    QString originalName(const TagRows &tag) const;
    // Asks before tags that shapes use are removed; true to go on (also
    // when no shape uses them).
    bool confirmRemoval(const QVector<TagRows> &tags);

    // Item data of a row's first text cell: the texts of the languages the
    // count hides, as a QStringList.
    static constexpr int HiddenTextsRole = Qt::UserRole + 1;
    // Item data of a name cell filled from the library: the tag's name there.
    static constexpr int OriginalNameRole = Qt::UserRole + 2;

    // The library as the table showed it when last filled from Config.
    TextLib m_shown;
    QTableWidget *m_table = nullptr;
    QComboBox *m_filter = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_removeAll = nullptr;
    QPushButton *m_importTxt = nullptr;
    QPushButton *m_exportTxt = nullptr;
    QPushButton *m_importExcel = nullptr;
    QPushButton *m_exportExcel = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
