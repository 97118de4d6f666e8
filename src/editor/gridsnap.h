#pragma once

#include <QPointF>
#include <Qt>

// Where the screen editor's gestures put shapes when "snap to grid" is on:
// the grid of EditorSettings, its lines at multiples of the spacing from the
// screen's top-left corner. Holding Alt suspends snapping for as long as it
// is held, so each mouse or key event decides for itself.
class GridSnap
{
public:
    // Snapping and the grid are both on in the settings and the event's
    // modifiers do not suspend it.
    static bool active(Qt::KeyboardModifiers modifiers);

    // The grid point nearest to point.
    static QPointF point(const QPointF &point);
    // point itself when snapping is not active for modifiers.
    static QPointF point(const QPointF &point, Qt::KeyboardModifiers modifiers);

    // The displacement an arrow key gives a box whose corner is at corner,
    // direction being one of (±1, 0) and (0, ±1): to the next grid line that
    // way, which is one spacing for a corner already on the grid.
    static QPointF step(const QPointF &corner, const QPointF &direction);
};
