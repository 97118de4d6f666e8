#pragma once

#include <QGraphicsProxyWidget>

// Holds the live widget of a widget shape. The widget is only shown, never
// used: mouse presses, moves and releases take the plain graphics-item
// path, which the proxy (neither selectable nor movable) passes on to the
// shape below it, so a click selects and drags the shape. A press on a
// combo box also opens its list, so the designer can see the entries.
class CustomProxy : public QGraphicsProxyWidget
{
    Q_OBJECT

public:
    explicit CustomProxy(QGraphicsItem *parent = nullptr, Qt::WindowFlags flags = {});

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
};
