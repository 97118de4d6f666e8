// MainWindow's 编译 and 查找: the project check and the project-wide find,
// their output docks, and opening the place a line of either names.

#include "mainwindow.h"

#include "dockmanager.h"
#include "document/drawmanager.h"
#include "document/projectcheck.h"
#include "document/projectsearch.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "finddialog.h"
#include "panels/device/projectconfigdialog.h"
#include "panels/taglib/addresslibdialog.h"
#include "panels/taglib/textlibdialog.h"
#include "services/modalseam.h"

#include <QDebug>
#include <QDockWidget>
#include <QGraphicsItem>
#include <QTabBar>
#include <QTextBrowser>
#include <QUrl>

namespace {

// A field shown in a find result is cut here: a text tag may hold a page.
constexpr int MaxShownText = 120;

QString shortened(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (line.size() > MaxShownText)
        line = line.left(MaxShownText) + QStringLiteral("…");
    return line;
}

} // namespace

void MainWindow::on_build()
{
    qDebug() << "build";
    const QVector<Finding> findings = ProjectCheck::run();
    QStringList lines;
    QVector<bool> warnings;
    m_compilePlaces.clear();
    for (const Finding &finding : findings) {
        lines.append(QStringLiteral("%1: %2: %3")
                         .arg(ProjectCheck::severityText(finding.severity),
                              ProjectCheck::placeText(finding.place), finding.message));
        warnings.append(finding.severity == Finding::Warning);
        m_compilePlaces.append(finding.place);
    }
    lines.append(ProjectCheck::summary(findings));
    setOutputLines(m_compileOutput, lines, warnings);
    showOutputDock(m_compileOutput);
}

void MainWindow::on_find()
{
    FindDialog dialog(this);
    dialog.setOptions(m_findText, m_findMatchCase, m_findWholeWord);
    if (ModalSeam::runDialog(&dialog, [&dialog] { dialog.accept(); },
                             [&dialog] { dialog.reject(); })
        != QDialog::Accepted)
        return;
    m_findText = dialog.text();
    m_findMatchCase = dialog.matchCase();
    m_findWholeWord = dialog.wholeWord();
    if (m_findText.isEmpty())
        return;

    ProjectSearch::Options options;
    options.text = m_findText;
    options.matchCase = m_findMatchCase;
    options.wholeWord = m_findWholeWord;
    const QVector<ProjectSearch::Hit> hits = ProjectSearch::find(options);
    QStringList lines;
    m_findPlaces.clear();
    for (const ProjectSearch::Hit &hit : hits) {
        lines.append(QStringLiteral("%1: %2: %3")
                         .arg(ProjectCheck::placeText(hit.place),
                              ProjectSearch::fieldText(hit.field), shortened(hit.text)));
        m_findPlaces.append(hit.place);
    }
    lines.append(tr("找到 %n 处“%1”", nullptr, hits.size()).arg(m_findText));
    setOutputLines(m_findOutput, lines, QVector<bool>());
    showOutputDock(m_findOutput);
}

void MainWindow::setOutputLines(QTextBrowser *browser, const QStringList &lines,
                                const QVector<bool> &warnings)
{
    const QVector<ProjectPlace> &places = browser == m_compileOutput ? m_compilePlaces
                                                                     : m_findPlaces;
    const bool isCheck = browser == m_compileOutput;
    QString html;
    // One block per line, so that line i of the text is line i of the list.
    for (int i = 0; i < lines.size(); ++i) {
        const QString text = lines.at(i).toHtmlEscaped();
        if (i < places.size()) {
            const char *kind = !isCheck ? "" : (warnings.value(i) ? "warning" : "error");
            html += QStringLiteral("<p style=\"margin:0\"><a class=\"%1\" href=\"#%2\">%3</a></p>")
                        .arg(QLatin1String(kind))
                        .arg(i)
                        .arg(text);
        } else {
            html += QStringLiteral("<p style=\"margin:0\"><b>%1</b></p>").arg(text);
        }
    }
    browser->setHtml(html);
}

void MainWindow::showOutputDock(QTextBrowser *browser)
{
    auto *dock = qobject_cast<QDockWidget *>(browser->parentWidget());
    if (!dock)
        return;
    m_dockManager->reorderDockWidget(m_dockManager->tabBar(Qt::BottomDockWidgetArea), dock, true);
}

void MainWindow::outputLinkClicked(QTextBrowser *browser, const QUrl &link)
{
    const QVector<ProjectPlace> &places = browser == m_compileOutput ? m_compilePlaces
                                                                     : m_findPlaces;
    bool ok = false;
    const int line = link.fragment().toInt(&ok);
    if (ok && line >= 0 && line < places.size())
        openPlace(places.at(line));
}

void MainWindow::openPlace(const ProjectPlace &place)
{
    switch (place.kind) {
    case ProjectPlace::Screen:
    case ProjectPlace::Shape:
        selectShapeAt(place);
        return;
    case ProjectPlace::AddressTag:
        m_addressLibDialog->selectRow(false, place.index);
        ModalSeam::runDialog(m_addressLibDialog, [this] { m_addressLibDialog->on_ok_clicked(); },
                             [this] { m_addressLibDialog->on_cancel_clicked(); });
        return;
    case ProjectPlace::TextTag:
        m_textLibDialog->selectTag(place.index, place.name);
        ModalSeam::runDialog(m_textLibDialog, [this] { m_textLibDialog->on_ok_clicked(); },
                             [this] { m_textLibDialog->on_cancel_clicked(); });
        return;
    case ProjectPlace::Device:
        m_projectConfigDialog->runOnPage(ProjectConfigDialog::DevicePage, place.index);
        return;
    case ProjectPlace::Language:
        m_projectConfigDialog->runOnPage(ProjectConfigDialog::LanguagePage);
        return;
    case ProjectPlace::Project:
        m_projectConfigDialog->runOnPage(ProjectConfigDialog::InfoPage);
        return;
    }
}

void MainWindow::selectShapeAt(const ProjectPlace &place)
{
    // By position first: names may repeat, which is what some findings are
    // about. A position that now holds another name (the project changed
    // since) gives way to the first of that name.
    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    DrawScene *scene = nullptr;
    if (place.screenIndex >= 0 && place.screenIndex < scenes.size()
        && scenes.at(place.screenIndex)->objectName() == place.screen)
        scene = scenes.at(place.screenIndex);
    for (int i = 0; !scene && i < scenes.size(); ++i) {
        if (scenes.at(i)->objectName() == place.screen)
            scene = scenes.at(i);
    }
    if (!scene || !scene->view())
        return;
    DrawView *view = scene->view();
    showTabContent(view);
    if (place.kind != ProjectPlace::Shape)
        return;

    const QList<QGraphicsItem *> items = scene->userItems();
    QGraphicsItem *item = nullptr;
    if (place.index >= 0 && place.index < items.size()
        && ProjectSearch::shapeName(items.at(place.index)) == place.shape)
        item = items.at(place.index);
    for (int i = 0; !item && i < items.size(); ++i) {
        if (ProjectSearch::shapeName(items.at(i)) == place.shape)
            item = items.at(i);
    }
    if (!item)
        return;
    // Members of a group are edited through their group.
    item = item->topLevelItem();
    scene->clearSelection();
    item->setSelected(true);
    view->ensureVisible(item);
}
