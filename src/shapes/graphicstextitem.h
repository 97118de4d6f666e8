#pragma once

#include "graphicsrectitem.h"

#include <QFont>

// A text box: a string in a font, aligned inside the box and wrapped at
// word boundaries, over an optional background fill. The pen colour is the
// text colour; the brush is the background.
class GraphicsTextItem : public GraphicsRectItem
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(GraphicsItem::AlignHor alignHor READ alignHor WRITE setAlignHor)
    Q_PROPERTY(GraphicsItem::AlignVer alignVer READ alignVer WRITE setAlignVer)
    Q_PROPERTY(QFont font READ font WRITE setFont)

public:
    // rect is in parent coordinates.
    explicit GraphicsTextItem(const QRect &rect, QGraphicsItem *parent = nullptr);

    QString typeName() const override;

    QString elementName() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    // The copy keeps the text, font and alignments, so that copy and paste
    // gives back what the user set.
    QGraphicsItem *clone() override;

    QString text() const override { return m_text; }
    void setText(const QString &text) override;
    AlignHor alignHor() const override { return m_alignHor; }
    void setAlignHor(AlignHor align) override;
    AlignVer alignVer() const override { return m_alignVer; }
    void setAlignVer(AlignVer align) override;
    QFont font() const { return m_font; }
    void setFont(const QFont &font);

    // The Qt alignment flags the text is drawn with.
    Qt::Alignment textAlignment() const;

private:
    QString m_text;
    AlignHor m_alignHor = AlignHCenter;
    AlignVer m_alignVer = AlignVCenter;
    QFont m_font;
};
