// What MainWindow's actions do, and what the start page shows of them.

#include "mainwindow.h"

#include "dockmanager.h"
#include "editcommands.h"
#include "findpanel.h"
#include "firstpage.h"
#include "helpcommands.h"
#include "mainactions.h"
#include "optionsetdialog.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "projectcontroller.h"
#include "tabcontent.h"
#include "zoombox.h"

#include <QAction>
#include <QStackedWidget>
#include <QUndoView>

void MainWindow::connectActions()
{
    for (QAction *recent : m_mainActions->recentFileActions())
        connect(recent, &QAction::triggered, m_projectController, &ProjectController::openRecentFile);

    connect(action(QStringLiteral("new")), &QAction::triggered, m_projectController, &ProjectController::newFile);
    connect(action(QStringLiteral("open")), &QAction::triggered, m_projectController, &ProjectController::openFile);
    connect(action(QStringLiteral("clear")), &QAction::triggered, m_projectController,
            &ProjectController::clearRecentfile);
    connect(action(QStringLiteral("close")), &QAction::triggered, m_projectController, &ProjectController::closeFile);
    connect(action(QStringLiteral("save")), &QAction::triggered, m_projectController, &ProjectController::save);
    connect(action(QStringLiteral("saveAs")), &QAction::triggered, m_projectController, &ProjectController::saveAs);
    connect(action(QStringLiteral("openDir")), &QAction::triggered, m_projectController, &ProjectController::openDir);
    connect(action(QStringLiteral("exit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("find")), &QAction::triggered, this, &MainWindow::on_find);
    EditCommands *edit = m_editCommands;
    connect(action(QStringLiteral("copy")), &QAction::triggered, edit, &EditCommands::copy);
    connect(action(QStringLiteral("paste")), &QAction::triggered, edit, &EditCommands::paste);
    connect(action(QStringLiteral("cut")), &QAction::triggered, edit, &EditCommands::cut);
    connect(action(QStringLiteral("delete")), &QAction::triggered, edit, &EditCommands::remove);
    for (const char *key : {"align_left", "align_right", "align_top", "align_bottom",
                            "align_vcenter", "align_hcenter", "align_horzeven", "align_verteven",
                            "align_height", "align_width", "align_all"}) {
        QAction *align = action(QString::fromLatin1(key));
        connect(align, &QAction::triggered, edit,
                [edit, align] { edit->align(align->objectName(), align->text()); });
    }
    connect(action(QStringLiteral("toPrev")), &QAction::triggered, edit,
            &EditCommands::moveForward);
    connect(action(QStringLiteral("toNext")), &QAction::triggered, edit,
            &EditCommands::moveBackward);
    connect(action(QStringLiteral("toFront")), &QAction::triggered, edit,
            &EditCommands::bringToFront);
    connect(action(QStringLiteral("toBack")), &QAction::triggered, edit,
            &EditCommands::sendToBack);
    connect(action(QStringLiteral("group")), &QAction::triggered, edit, &EditCommands::group);
    connect(action(QStringLiteral("unGroup")), &QAction::triggered, edit, &EditCommands::ungroup);
    connect(action(QStringLiteral("zoomIn")), &QAction::triggered, m_zoomBox, &ZoomBox::zoomIn);
    connect(action(QStringLiteral("zoomOut")), &QAction::triggered, m_zoomBox, &ZoomBox::zoomOut);
    connect(action(QStringLiteral("setup")), &QAction::triggered, this, [this] {
        OptionSetDialog dialog(this);
        dialog.run();
    });
    connect(action(QStringLiteral("config")), &QAction::triggered, m_projectConfigDialog,
            &ProjectConfigDialog::run);
    // Devices, languages and protection are saved with the project.
    connect(m_projectConfigDialog, &ProjectConfigDialog::configChanged, this,
            [this] { setModified(true); });
    connect(action(QStringLiteral("textLib")), &QAction::triggered, m_textLibDialog,
            [this] { m_textLibDialog->showLibrary(QString()); });
    // Tags are project data: losing them to a close that did not ask is
    // losing work.
    connect(m_textLibDialog, &TextLibDialog::libraryChanged, this, [this] { setModified(true); });
    // Through the seam like every other dialog, so that no test blocks on it.
    connect(action(QStringLiteral("addressLib")), &QAction::triggered, m_addressLibDialog,
            [this] { m_addressLibDialog->showLibrary(false, -1); });
    // Its OK hands a changed library to the project.
    connect(m_addressLibDialog, &AddressLibDialog::libraryChanged, this,
            [this] { setModified(true); });
    // Its 查找引用 lists the shapes using a tag where find lists its places.
    connect(m_addressLibDialog, &AddressLibDialog::usesListed, this,
            [this](const QString &name, const QVector<ProjectPlace> &places) {
                m_findPanel->showUses(name, places);
                showOutputDock(m_findPanel);
            });
    connect(action(QStringLiteral("build")), &QAction::triggered, this, &MainWindow::on_build);
    connect(action(QStringLiteral("property")), &QAction::triggered, this,
            &MainWindow::on_property);
    connect(action(QStringLiteral("help")), &QAction::triggered, m_helpCommands,
            &HelpCommands::help);
    connect(action(QStringLiteral("about")), &QAction::triggered, m_helpCommands,
            &HelpCommands::about);
}


void MainWindow::retranslate()
{
    m_mainActions->retranslate();
    if (m_undoView)
        m_undoView->setEmptyLabel(tr("<空>"));
}

void MainWindow::setCentralPage(bool startPage)
{
    if (!m_central) {
        m_central = new QStackedWidget(this);
        setCentralWidget(m_central);
    }
    if (m_central->count() == 0) {
        m_central->addWidget(m_firstPage);
        m_central->addWidget(m_tabContent);
    }
    m_central->setCurrentIndex(startPage ? 0 : 1);

    m_mainActions->showStartPage(startPage);

    m_dockManager->setDocksEnabled(!startPage);
}
