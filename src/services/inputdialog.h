#pragma once

#include <QString>

class QWidget;

// The program's one-line text prompt; like MessageDialog it answers through
// the modal seam when tests have installed a handler.
class InputDialog
{
public:
    // The text typed, with *ok true; on Cancel the empty text and *ok false.
    // ok may be null.
    static QString getText(QWidget *parent, const QString &title, const QString &label,
                           const QString &text, bool *ok = nullptr);
};
