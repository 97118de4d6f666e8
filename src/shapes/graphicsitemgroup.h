#pragma once

#include "abstractshapetype.h"
#include "model/keptcontent.h"
#include "shapekind.h"

#include <QGraphicsItemGroup>
#include <QObject>

// Several shapes (and groups) bound into one item that is selected, moved,
// resized and saved as a unit.
//
// Members are the group's child items other than its handles; they keep
// their own geometry in the group's coordinates and are never selected on
// their own. The group box is kept by the group itself rather than taken
// from Qt's running union, so a resize can scale it from its reference box.
// After normalizeGeometry() the item position is the box centre, which is
// what the position clamp and the `pos` property work with.
//
// A new group is not movable (`fixe` reads true) until fixe is set false.
class GraphicsItemGroup : public QObject, public AbstractShapeType<QGraphicsItemGroup>
{
    Q_OBJECT
    Q_PROPERTY(QPointF pos READ boxPos WRITE setBoxPos)
    Q_PROPERTY(double rotation READ rotation WRITE setGroupRotation)
    Q_PROPERTY(bool fixe READ fixe WRITE setFixe)
    // Part of the stored attributes, so it must be readable by name.
    Q_PROPERTY(double zValue READ zValue WRITE setZValue)

public:
    // Turns the group, unless it holds a widget shape at any depth and the
    // angle is not a whole turn: widgets stand upright, so a turned group
    // holding one could not be saved and reopened as it is shown.
    void setGroupRotation(double angle);

    // What a loaded group takes back from its stored element once it has
    // been formed from its members. Rotation and position are not among
    // them: the members were stored in screen coordinates and already sit
    // where the group put them.
    struct StoredAttributes
    {
        QString objectName;
        double zValue = 0;
        bool fixe = false;
        // The group's own bindings, read by the loader among the children.
        QVector<Binding> bindings;
        // What the element held that this version does not read: the
        // loader adds the children that name no shape, each in the slot
        // of the member it stood before.
        KeptContent kept;
    };

    explicit GraphicsItemGroup(QGraphicsItem *parent = nullptr);

    int type() const override { return GroupItemType; }
    QString typeName() const override;
    QString elementName() const override;

    // Top-left corner of the group box in parent coordinates.
    QPointF boxPos() const;
    void setBoxPos(const QPointF &topLeft);
    double width() const { return m_width; }
    double height() const { return m_height; }

    // The child items that are not handles, in child (stacking) order.
    QList<QGraphicsItem *> members() const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    // Resizes every member and the box about origin, a point in the
    // group's coordinates, starting from the reference box.
    void scaleFromHandle(int handle, double sx, double sy, const QPointF &origin) override;
    // Takes the members' union as box when the box is empty, makes the box
    // the reference, moves the item origin onto the box centre without
    // moving anything on screen, and lets every member refresh its own
    // reference geometry.
    void normalizeGeometry() override;
    // A new group without parent over clones of the members, with what the
    // group kept of its element; the caller owns it.
    QGraphicsItem *clone() override;
    void updateHandles() override;

    // Applies the stored attributes of the reader's current "group" start
    // element (objectName, zValue, fixe, rotation, pos) to this group. The
    // reader stays on the start element: the members are read by the
    // screen loader.
    bool readXml(QXmlStreamReader *reader) override;
    // Writes the "group" element with the members nested in child order.
    // Each member is written as a top-level shape would be (screen
    // coordinates for a group that is itself top-level), the group's turn
    // folded into its own position and rotation, and is then put back. The
    // group itself is written as the loader will form it again: unturned,
    // over its members' box.
    bool writeXml(QXmlStreamWriter *writer) override;

    // For the screen loader, which forms a group from its loaded members
    // after their elements have been read: take the attributes at the
    // group's start element, then apply them to the formed group.
    static StoredAttributes readStoredAttributes(const QXmlStreamReader *reader);
    void applyStoredAttributes(const StoredAttributes &stored);
    const KeptContent &keptContent() const { return m_keptContent; }
    void setKeptContent(const KeptContent &kept) { m_keptContent = kept; }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    QRectF membersRect() const;

    // The group box in group coordinates.
    QRectF m_groupRect;
    QRectF m_referenceRect;
    KeptContent m_keptContent;
};
