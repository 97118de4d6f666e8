#pragma once

// The spacing of the dashed grid drawn on a screen, in scene units (panel
// pixels). The grid is only drawn: nothing snaps to it.
class ScreenGrid
{
public:
    ScreenGrid(int horizontal = 20, int vertical = 20)
        : m_horizontal(horizontal)
        , m_vertical(vertical)
    { }

    int horizontalSpacing() const { return m_horizontal; }
    int verticalSpacing() const { return m_vertical; }

private:
    int m_horizontal;
    int m_vertical;
};
