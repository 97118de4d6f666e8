#pragma once

#include "mainwindow/mainwindow.h"
#include "mainwindow/newprojectdialog.h"
#include "mainwindow/projectcontroller.h"

#include <QLineEdit>
#include <QTimer>

// Runs "新建工程" on window with the dialog filled in with name and location
// and accepted; messages go to whatever modal script the caller holds. A
// dialog still open after three seconds is rejected, so a test fails
// instead of blocking.
inline void runNewProject(MainWindow *window, const QString &name, const QString &location)
{
    auto *dialog = window->findChild<NewProjectDialog *>();
    if (!dialog)
        return;
    QTimer::singleShot(0, dialog, [dialog, name, location] {
        dialog->findChild<QLineEdit *>("name")->setText(name);
        dialog->findChild<QLineEdit *>("location")->setText(location);
        dialog->on_ok_clicked();
    });
    QTimer::singleShot(3000, dialog, [dialog] {
        if (dialog->isVisible())
            dialog->reject();
    });
    window->projectController()->newFile();
}
