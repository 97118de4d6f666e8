#pragma once

#include <QGraphicsPathItem>

// The dashed outline a tool shows while a gesture runs, kept out of the
// document: its type is Qt's path item, below the shape codes.
//
// The tool owns the outline through the pointer slot it passes in and
// deletes it with discard(). Should the scene delete the outline first (the
// scene is cleared or destroyed in the middle of a gesture), the outline
// clears the slot as it dies, so the tool is never left with a dangling
// pointer.
class ToolOutline : public QGraphicsPathItem
{
public:
    // A dashed, cosmetic outline of path, registered in *slot; an outline
    // already held there is discarded first.
    ToolOutline(const QPainterPath &path, ToolOutline **slot);
    ~ToolOutline() override;

    // Takes the outline in *slot (if any) out of its scene, deletes it and
    // clears the slot.
    static void discard(ToolOutline **slot);

    // A dashed outline of the item's shape with the item's position,
    // transform origin, transform, rotation, scale and z.
    static ToolOutline *copyOf(const QGraphicsItem *item, ToolOutline **slot);

private:
    ToolOutline **m_slot;
};
