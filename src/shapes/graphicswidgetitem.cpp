#include "graphicswidgetitem.h"

#include "customproxy.h"
#include "model/xmlsafetext.h"
#include "shapeattributes.h"
#include "shapeelement.h"
#include "widgethost.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QXmlStreamWriter>

GraphicsWidgetItem::GraphicsWidgetItem(int kind, const QRect &rect, QGraphicsItem *parent)
    : GraphicsRectItem(rect, parent)
    , m_kind(kind)
{
    m_pen.setStyle(Qt::NoPen);
    setBrushStyle(NoBrush);
}

CustomProxy *GraphicsWidgetItem::proxy()
{
    if (m_proxy || m_destroying)
        return m_proxy;
    QWidget *w = createWidget(m_kind);
    showCaption(w, caption());
    // The widget is for show: no keyboard focus and no drops, so its
    // content stays as created.
    w->setFocusPolicy(Qt::NoFocus);
    w->setAcceptDrops(false);
    w->setCursor(Qt::ArrowCursor);

    m_proxy = new CustomProxy(this);
    // Below the handles, which may already be child items.
    m_proxy->setZValue(-1);
    m_proxy->setWidget(w);
    m_proxy->setMinimumSize(0, 0);
    m_proxy->setFocusPolicy(Qt::NoFocus);
    m_proxy->setAcceptDrops(false);
    fitProxy();
    return m_proxy;
}

QVariant GraphicsWidgetItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSceneHasChanged && !m_proxy) {
        if (auto *screen = dynamic_cast<WidgetHost *>(scene()))
            screen->noteUnrealizedWidget();
    }
    return GraphicsRectItem::itemChange(change, value);
}

GraphicsWidgetItem::~GraphicsWidgetItem()
{
    m_destroying = true;
    if (!m_proxy)
        return;
    // Detach the proxy so that ~QGraphicsItem does not delete it with the
    // other children; it then belongs to nobody but the deferred delete.
    if (QGraphicsScene *s = m_proxy->scene())
        s->removeItem(m_proxy);
    m_proxy->setParentItem(nullptr);
    m_proxy->deleteLater();
    m_proxy = nullptr;
}

QWidget *GraphicsWidgetItem::createWidget(int kind)
{
    switch (kind) {
    case PushButtonKind: {
        auto *button = new QPushButton;
        button->setStyleSheet(QStringLiteral("QPushButton{border:10px groove #242424;}"));
        return button;
    }
    case ComboBoxKind: {
        auto *combo = new QComboBox;
        combo->addItem(QString());
        return combo;
    }
    case RadioButtonKind:
        return new QRadioButton;
    case CheckBoxKind:
        return new QCheckBox;
    case LineEditKind:
        return new QLineEdit;
    case TextEditKind:
        return new QTextBrowser;
    case LabelKind: {
        auto *label = new QLabel;
        label->setStyleSheet(QStringLiteral("QLabel{border:10px groove #242424;}"));
        // A caption is shown as typed: markup in it would otherwise be
        // interpreted, down to pictures loaded from wherever it names.
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    default: {
        auto *label = new QLabel;
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    }
}

void GraphicsWidgetItem::showCaption(QWidget *widget, const QString &caption)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        // An ampersand is a character of the caption, not a shortcut marker.
        QString text = caption;
        button->setText(text.replace(QLatin1Char('&'), QLatin1String("&&")));
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        combo->setItemText(0, caption);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(caption);
        edit->setCursorPosition(0);
    } else if (auto *browser = qobject_cast<QTextBrowser *>(widget)) {
        browser->setPlainText(caption);
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        label->setText(caption);
    }
}

QString GraphicsWidgetItem::initialCaption(int kind)
{
    switch (kind) {
    case PushButtonKind:
        return QStringLiteral("pushbutton");
    case ComboBoxKind:
        return QStringLiteral("combobox");
    case RadioButtonKind:
        return QStringLiteral("radiobutton");
    case CheckBoxKind:
        return QStringLiteral("checkbox");
    case LineEditKind:
        return QStringLiteral("lineedit");
    case TextEditKind:
        return QStringLiteral("textedit");
    default:
        return QStringLiteral("label");
    }
}

QString GraphicsWidgetItem::caption() const
{
    return m_text.isEmpty() ? initialCaption(m_kind) : m_text;
}

void GraphicsWidgetItem::setText(const QString &text)
{
    const QString kept = xmlSafeText(text);
    if (kept == m_text)
        return;
    m_text = kept;
    if (m_proxy && m_proxy->widget())
        showCaption(m_proxy->widget(), caption());
}

QWidget *GraphicsWidgetItem::widget()
{
    CustomProxy *holder = proxy();
    return holder ? holder->widget() : nullptr;
}

void GraphicsWidgetItem::fitProxy()
{
    if (m_proxy)
        m_proxy->setGeometry(boundingRect());
}

QString GraphicsWidgetItem::typeName() const
{
    return tr("widget");
}

QString GraphicsWidgetItem::elementName() const
{
    return shapeElementName(ShapeElement::Widget);
}

void GraphicsWidgetItem::scaleFromHandle(int handle, double sx, double sy, const QPointF &origin)
{
    GraphicsRectItem::scaleFromHandle(handle, sx, sy, origin);
    fitProxy();
}

void GraphicsWidgetItem::normalizeGeometry()
{
    GraphicsRectItem::normalizeGeometry();
    fitProxy();
}

void GraphicsWidgetItem::restoreGeometry(const QVariantList &state)
{
    GraphicsRectItem::restoreGeometry(state);
    fitProxy();
}

QGraphicsItem *GraphicsWidgetItem::clone()
{
    auto *copy = new GraphicsWidgetItem(m_kind, m_localRect.toRect(), nullptr);
    copy->m_text = m_text;
    finishClone(copy);
    return copy;
}

bool GraphicsWidgetItem::writeXml(QXmlStreamWriter *writer)
{
    writer->writeStartElement(elementName());
    writer->writeAttribute(QStringLiteral("type"), QString::number(m_kind));
    writeShapeAttributes(writer, this);
    m_keptContent.writeAttributes(writer);
    writeBindings(writer);
    m_keptContent.writeElementsFrom(writer, 0);
    writer->writeEndElement();
    return true;
}

QStringList GraphicsWidgetItem::fileAttributeNames()
{
    return GraphicsItem::fileAttributeNames() << QStringLiteral("type");
}
