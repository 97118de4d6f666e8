#include "findpanel.h"

#include "document/projectcheck.h"
#include "document/projectsearch.h"
#include "finddialog.h"
#include "services/modalseam.h"

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

FindPanel::FindPanel(QWidget *parent)
    : PlaceList(parent)
{
    setObjectName(QStringLiteral("findOutput"));
}

bool FindPanel::run()
{
    FindDialog dialog(window());
    dialog.setOptions(m_text, m_matchCase, m_wholeWord);
    if (ModalSeam::runDialog(&dialog, [&dialog] { dialog.accept(); },
                             [&dialog] { dialog.reject(); })
        != QDialog::Accepted)
        return false;
    m_text = dialog.text();
    m_matchCase = dialog.matchCase();
    m_wholeWord = dialog.wholeWord();
    if (m_text.isEmpty())
        return false;

    ProjectSearch::Options options;
    options.text = m_text;
    options.matchCase = m_matchCase;
    options.wholeWord = m_wholeWord;
    const QVector<ProjectSearch::Hit> hits = ProjectSearch::find(options);
    QStringList lines;
    QVector<ProjectPlace> places;
    for (const ProjectSearch::Hit &hit : hits) {
        lines.append(QStringLiteral("%1: %2: %3")
                         .arg(ProjectCheck::placeText(hit.place),
                              ProjectSearch::fieldText(hit.field), shortened(hit.text)));
        places.append(hit.place);
    }
    setLines(lines, places, {}, tr("找到 %n 处“%1”", nullptr, hits.size()).arg(m_text));
    return true;
}

void FindPanel::showUses(const QString &name, const QVector<ProjectPlace> &places)
{
    QStringList lines;
    for (const ProjectPlace &place : places)
        lines.append(ProjectCheck::placeText(place));
    setLines(lines, places, {},
             tr("%n 个对象使用了地址标签“%1”", nullptr, places.size()).arg(ProjectCheck::printable(name)));
}
