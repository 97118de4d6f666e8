#pragma once

#include "placelist.h"

// The 编译 dock: the project check's findings, errors and warnings apart.
class CheckPanel : public PlaceList
{
    Q_OBJECT
public:
    explicit CheckPanel(QWidget *parent = nullptr);

    // Checks the current project and shows what it found.
    void run();
};
