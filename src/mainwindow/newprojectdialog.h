#pragma once

#include <QDialog>

// Long-lived dialog of the main window; its contents are built by the work
// on its own subsystem.
class NewProjectDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NewProjectDialog(QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
};
