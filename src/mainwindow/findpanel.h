#pragma once

#include "placelist.h"

// The 查找 dock: every place of the project where a text was found. The
// last search is offered again by the next one.
class FindPanel : public PlaceList
{
    Q_OBJECT
public:
    explicit FindPanel(QWidget *parent = nullptr);

    // Asks what to find (through the modal seam) and shows the places;
    // false when the user cancelled or gave no text.
    bool run();
    // Shows the places of the shapes that use address tag `name`, as the
    // address library's 查找引用 hands them on.
    void showUses(const QString &name, const QVector<ProjectPlace> &places);

private:
    QString m_text;
    bool m_matchCase = false;
    bool m_wholeWord = false;
};
