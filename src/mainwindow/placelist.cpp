#include "placelist.h"

#include <QUrl>

PlaceList::PlaceList(QWidget *parent)
    : QTextBrowser(parent)
{
    // A line leads to its place in the project instead of being followed as
    // a document link.
    setOpenLinks(false);
    document()->setDefaultStyleSheet(
        QStringLiteral("a { text-decoration: none; color: #202020; }"
                       " a.error { color: #c00000; } a.warning { color: #a06000; }"));
    connect(this, &QTextBrowser::anchorClicked, this, &PlaceList::linkClicked);
}

void PlaceList::setLines(const QStringList &lines, const QVector<ProjectPlace> &places,
                         const QVector<LineKind> &kinds, const QString &summary)
{
    m_places = places;
    QString html;
    // One block per line, so that line i of the text is line i of the list.
    for (int i = 0; i < lines.size(); ++i) {
        const LineKind kind = kinds.value(i, Plain);
        const QLatin1String kindClass(kind == Error ? "error" : kind == Warning ? "warning" : "");
        html += QStringLiteral("<p style=\"margin:0\"><a class=\"%1\" href=\"#%2\">%3</a></p>")
                    .arg(kindClass)
                    .arg(i)
                    .arg(lines.at(i).toHtmlEscaped());
    }
    html += QStringLiteral("<p style=\"margin:0\"><b>%1</b></p>").arg(summary.toHtmlEscaped());
    setHtml(html);
}

void PlaceList::linkClicked(const QUrl &link)
{
    bool ok = false;
    const int line = link.fragment().toInt(&ok);
    if (ok && line >= 0 && line < m_places.size())
        emit placeActivated(m_places.at(line));
}
