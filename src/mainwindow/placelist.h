#pragma once

#include "model/projectplace.h"

#include <QTextBrowser>
#include <QVector>

// An output dock's text: one line per result, each a link to its place in
// the project, and a closing summary line in bold.
class PlaceList : public QTextBrowser
{
    Q_OBJECT
public:
    enum LineKind { Plain, Warning, Error };

    explicit PlaceList(QWidget *parent = nullptr);

    // Shows one line per place (lines[i] leads to places[i]) and then the
    // summary.
    void setLines(const QStringList &lines, const QVector<ProjectPlace> &places,
                  const QVector<LineKind> &kinds, const QString &summary);
    const QVector<ProjectPlace> &places() const { return m_places; }

signals:
    // The user clicked the line of place.
    void placeActivated(const ProjectPlace &place);

private:
    void linkClicked(const QUrl &link);

    QVector<ProjectPlace> m_places;
};
