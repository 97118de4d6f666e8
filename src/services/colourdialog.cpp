#include "colourdialog.h"

#include "modalseam.h"

#include <QColorDialog>

bool ColourDialog::getColour(QWidget *parent, const QString &title, const QColor &initial,
                             QColor *chosen, bool alpha)
{
    if (ModalSeam::hasHandler()) {
        ModalRequest request;
        request.kind = ModalRequest::Colour;
        request.title = title;
        request.value = initial.isValid() ? initial.name(alpha ? QColor::HexArgb : QColor::HexRgb)
                                          : QString();
        const ModalAnswer answer = ModalSeam::answer(request);
        if (!answer.accepted)
            return false;
        *chosen = QColor(answer.text);
        return true;
    }
    const QColor colour = QColorDialog::getColor(
        initial.isValid() ? initial : QColor(Qt::black), parent, title,
        alpha ? QColorDialog::ShowAlphaChannel : QColorDialog::ColorDialogOptions());
    // The dialog gives an invalid colour when cancelled.
    if (!colour.isValid())
        return false;
    *chosen = colour;
    return true;
}
