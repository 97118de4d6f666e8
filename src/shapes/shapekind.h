#pragma once

#include <QGraphicsItem>

// The drawing tool chosen in the tool box, and the widget kind of a widget
// shape (12..19).
enum ShapeKind {
    SelectKind = 0,
    RotateKind = 1,
    LineKind = 2,
    RectangleKind = 3,
    RoundrectKind = 4,
    EllipseKind = 5,
    PolygonKind = 6,
    PolylineKind = 7,
    BezierKind = 8,
    TextKind = 9,
    ImageKind = 10,
    WidgetKind = 11,
    LabelKind = 12,
    PushButtonKind = 13,
    ComboBoxKind = 14,
    RadioButtonKind = 15,
    CheckBoxKind = 16,
    LineEditKind = 17,
    TextEditKind = 18,
    SpinBoxKind = 19
};

// QGraphicsItem::type() codes. Handles and other helper items use Qt's own
// codes (65536 or less), so anything above UserType is a user's shape.
enum ItemTypeCode {
    ShapeItemType = QGraphicsItem::UserType + 1,
    WidgetItemType = QGraphicsItem::UserType + 2,
    GroupItemType = QGraphicsItem::UserType + 3
};
