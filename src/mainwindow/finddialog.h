#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// Asks what to find across the project: the text, and whether case and
// whole words matter. Short-lived: made for one search and run through the
// modal seam.
class FindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FindDialog(QWidget *parent = nullptr);

    QString text() const;
    bool matchCase() const;
    bool wholeWord() const;
    void setOptions(const QString &text, bool matchCase, bool wholeWord);

    // Not owned.
    QLineEdit *textEdit() const { return m_text; }
    QCheckBox *matchCaseBox() const { return m_matchCase; }
    QCheckBox *wholeWordBox() const { return m_wholeWord; }

private:
    QLineEdit *m_text = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_wholeWord = nullptr;
    QPushButton *m_ok = nullptr;
};
