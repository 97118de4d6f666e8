#pragma once

#include <QDialog>

class LineEdit;
class QLabel;
class QPushButton;
class QSpinBox;

// Asks for the name and the number of states of a new text tag.
class TextLibAddDialog : public QDialog
{
    Q_OBJECT
public:
    TextLibAddDialog(const QString &name, int stateCount, QWidget *parent = nullptr);

    // What the user accepted; before acceptance, what the dialog was given.
    QString name() const { return m_acceptedName; }
    int stateCount() const { return m_acceptedCount; }

public slots:
    // Refuses a name that is empty or only blanks and stays open.
    void on_ok_clicked();
    void on_cancel_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QLabel *m_nameTitle = nullptr;
    LineEdit *m_name = nullptr;
    QLabel *m_countTitle = nullptr;
    QSpinBox *m_count = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QString m_acceptedName;
    int m_acceptedCount = 1;
};
