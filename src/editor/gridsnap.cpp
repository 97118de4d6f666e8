#include "gridsnap.h"

#include "services/editorsettings.h"

#include <cmath>

namespace {

double nearest(double value, int spacing)
{
    return std::round(value / spacing) * spacing;
}

// The first grid line strictly beyond value in direction sign (±1). A value
// a hair off a line (an accumulated rounding error) counts as on it.
double nextLine(double value, int spacing, double sign)
{
    const double onLine = nearest(value, spacing);
    const double from = std::abs(value - onLine) < 1e-6 ? onLine : value;
    const double k = sign > 0 ? std::floor(from / spacing) + 1 : std::ceil(from / spacing) - 1;
    return k * spacing;
}

} // namespace

bool GridSnap::active(Qt::KeyboardModifiers modifiers)
{
    // Snapping to lines the user has switched off would pull shapes to
    // places nothing on the screen explains.
    const EditorSettings::Values &values = EditorSettings::instance()->values();
    return values.gridShown && values.snapToGrid && !(modifiers & Qt::AltModifier);
}

QPointF GridSnap::point(const QPointF &point)
{
    const EditorSettings::Values &values = EditorSettings::instance()->values();
    return QPointF(nearest(point.x(), values.gridX), nearest(point.y(), values.gridY));
}

QPointF GridSnap::point(const QPointF &point, Qt::KeyboardModifiers modifiers)
{
    return active(modifiers) ? GridSnap::point(point) : point;
}

QPointF GridSnap::step(const QPointF &corner, const QPointF &direction)
{
    const EditorSettings::Values &values = EditorSettings::instance()->values();
    QPointF delta;
    if (direction.x() != 0)
        delta.setX(nextLine(corner.x(), values.gridX, direction.x()) - corner.x());
    if (direction.y() != 0)
        delta.setY(nextLine(corner.y(), values.gridY, direction.y()) - corner.y());
    return delta;
}
