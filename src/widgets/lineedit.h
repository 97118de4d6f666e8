#pragma once

#include <QLineEdit>

// Name field of the tag and device dialogs. Names end up as keys in the
// project file and in the panel's own tables, where a leading blank or
// punctuation mark makes them hard to tell apart, so typing cannot start a
// text with anything but a letter, a digit or an underscore.
class LineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit LineEdit(QWidget *parent = nullptr);
};
