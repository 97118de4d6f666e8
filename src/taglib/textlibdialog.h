#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QTableWidget;
class TextLib;

// Edits the project's text tag library as a table: one row per state, the
// tag's name in a cell spanning its states' rows, one text column per
// project language. Edits stay in the table until OK writes them into
// Config's library; Cancel leaves the library alone. Created once by the
// main window and reused for every project.
class TextLibDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TextLibDialog(QWidget *parent = nullptr);

    // Rebuilds the columns from the project's languages and refills the
    // table from the library, dropping unsaved edits.
    void reloadTable();

    // Runs the dialog modally with the tag named current selected (when
    // there is one). Returns the name of the tag holding the current row
    // when the dialog was accepted and current was not empty, else "".
    QString showLibrary(const QString &current);
    // Makes the first row of the tag at `index` (in table order) current and
    // in view, or of the first tag named `name` when the tag at index is
    // named otherwise (the table was edited since); a filter that hides the
    // row is cleared. Nothing is run.
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
    // Imports replace the library with what the chosen file holds, once the
    // whole file has been read, and refill the table; exports write the
    // table as it stands. The file kind follows the suffix, and every
    // failure is reported.
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
    void fillTable(const TextLib &library);
    // The tag covering row, or {-1, 0} outside the table.
    TagRows tagAt(int row) const;
    QVector<TagRows> tags() const;
    // Lets the name cell at first span rows rows (removing a span for 1).
    void setTagSpan(int first, int oldRows, int rows);
    void insertState(int row);
    void removeRows(int first, int count);
    // The table's tags, each state with one text per project language.
    TextLib tableLibrary() const;
    void importFile(const QString &title, const QString &filter);
    void exportFile(const QString &title, const QString &filter, const QString &suffix);
    void showError(const QString &text);
    void copySelection();
    void paste();

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
