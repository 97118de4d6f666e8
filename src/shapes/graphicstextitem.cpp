#include "graphicstextitem.h"

#include "model/xmlsafetext.h"
#include "shapeelement.h"
#include "shapepainting.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTextOption>

GraphicsTextItem::GraphicsTextItem(const QRect &rect, QGraphicsItem *parent)
    : GraphicsRectItem(rect, parent)
    , m_text(QStringLiteral("textitem"))
{
    m_pen.setStyle(Qt::SolidLine);
    // The random fill stays stored as the background colour, ready for when
    // the user turns a fill on.
    setBrushStyle(NoBrush);
}

QString GraphicsTextItem::typeName() const
{
    return tr("textitem");
}

QString GraphicsTextItem::elementName() const
{
    return shapeElementName(ShapeElement::Text);
}

Qt::Alignment GraphicsTextItem::textAlignment() const
{
    // AlignRight 1 and AlignHCenter 2 become Qt's 2 and 4; AlignBottom 1
    // and AlignVCenter 2 become 64 and 128; left and top are no flag.
    return Qt::Alignment(int(m_alignHor) * 2 | int(m_alignVer) * 64);
}

void GraphicsTextItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    Q_UNUSED(widget)
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_brush);
    painter->drawRect(m_localRect.toRect());

    painter->setPen(m_pen);
    painter->setFont(m_font);
    painter->drawText(boundingRect(), m_text, QTextOption(textAlignment()));

    if (option->state & QStyle::State_Selected)
        drawSelectionOutline(this, painter, option);
}

QGraphicsItem *GraphicsTextItem::clone()
{
    auto *copy = new GraphicsTextItem(m_localRect.toRect(), nullptr);
    copy->m_text = m_text;
    copy->m_alignHor = m_alignHor;
    copy->m_alignVer = m_alignVer;
    copy->m_font = m_font;
    finishClone(copy);
    return copy;
}

void GraphicsTextItem::setText(const QString &text)
{
    m_text = xmlSafeText(text);
    update();
}

void GraphicsTextItem::setAlignHor(AlignHor align)
{
    m_alignHor = align;
    update();
}

void GraphicsTextItem::setAlignVer(AlignVer align)
{
    m_alignVer = align;
    update();
}

void GraphicsTextItem::setFont(const QFont &font)
{
    m_font = font;
    update();
}
