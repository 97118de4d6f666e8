#pragma once

class QGraphicsItem;

// A copy of a single shape or a group that keeps its name and its members'
// names, for a copy of a whole screen (a pasted shape is named by the scene
// it lands in instead); null for helper items.
QGraphicsItem *cloneWithNames(QGraphicsItem *item);
