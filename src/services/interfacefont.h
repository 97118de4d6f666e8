#pragma once

#include <QFont>

// The font of the whole interface, and of everything painted without a font
// of its own (widget shapes, text shapes); the command-line tool paints with
// it too, so its pictures match the editor.
class InterfaceFont
{
public:
    static QFont font();
};
