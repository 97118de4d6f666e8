#pragma once

#include "graphicsrectitem.h"

// A placeholder box for a picture. It holds no picture and no registered
// properties (the property browser shows none): on screen it is an
// invisible box that can be selected, moved and resized. Its XML element
// still carries the box's name and geometry, so a saved image box comes back
// where the user put it.
class GraphicsImageItem : public GraphicsRectItem
{
    Q_OBJECT

public:
    // rect is in parent coordinates.
    explicit GraphicsImageItem(const QRect &rect, QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QGraphicsItem *clone() override;
    bool readXml(QXmlStreamReader *reader) override;
    bool writeXml(QXmlStreamWriter *writer) override;

    // The attributes an image element carries (none are registered).
    static QStringList storedProperties();
};
