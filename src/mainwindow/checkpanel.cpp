#include "checkpanel.h"

#include "document/projectcheck.h"

CheckPanel::CheckPanel(QWidget *parent)
    : PlaceList(parent)
{
    setObjectName(QStringLiteral("compileOutput"));
}

void CheckPanel::run()
{
    const QVector<Finding> findings = ProjectCheck::run();
    QStringList lines;
    QVector<ProjectPlace> places;
    QVector<LineKind> kinds;
    for (const Finding &finding : findings) {
        lines.append(QStringLiteral("%1: %2: %3")
                         .arg(ProjectCheck::severityText(finding.severity),
                              ProjectCheck::placeText(finding.place), finding.message));
        places.append(finding.place);
        kinds.append(finding.severity == Finding::Warning ? Warning : Error);
    }
    setLines(lines, places, kinds, ProjectCheck::summary(findings));
}
