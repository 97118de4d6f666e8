#pragma once

#include <QColor>
#include <QString>

class QWidget;

// The program's colour chooser; like FileDialog it answers through the
// modal seam when tests have installed a handler.
class ColourDialog
{
public:
    // False when the user cancels. Otherwise chosen holds the colour, which
    // the seam may answer as invalid (an empty answer: no colour at all).
    // alpha offers the colour's opacity as well.
    static bool getColour(QWidget *parent, const QString &title, const QColor &initial,
                          QColor *chosen, bool alpha = false);
};
