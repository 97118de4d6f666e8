#pragma once

#include "customproxy.h"
#include "graphicsrectitem.h"

#include <QPointer>

class QWidget;

// A screen box showing a real Qt widget, so the designer sees the control
// as it will look on the panel. The widget kind (LabelKind .. TextEditKind;
// any other kind shows a plain label) is fixed at construction and saved in
// the "type" attribute.
//
// The text property is the widget's caption: a label's or a button's text,
// a combo box's first entry, a line edit's or text box's content. Empty
// shows the kind's initial caption ("pushbutton", ...), as files made before
// captions existed hold no other.
//
// The widget lives in a CustomProxy that is a child item of the shape and
// always fills the shape's box. The shape owns the proxy and the proxy owns
// the widget. Both are made on first use (proxy(), widget(), or the
// screen's realizeWidgets() before it is painted): real widgets are costly,
// and a loaded project holds thousands on screens that may never be shown. When the shape is
// destroyed the proxy is detached from it and deleted through the event loop, because the shape may
// be destroyed while one of the proxy's own event handlers is still running.
class GraphicsWidgetItem : public GraphicsRectItem
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    // rect is in parent coordinates.
    GraphicsWidgetItem(int kind, const QRect &rect, QGraphicsItem *parent = nullptr);
    ~GraphicsWidgetItem() override;

    int type() const override { return WidgetItemType; }
    QString typeName() const override;
    QString elementName() const override;
    void scaleFromHandle(int handle, double sx, double sy, const QPointF &origin) override;
    void normalizeGeometry() override;
    void restoreGeometry(const QVariantList &state) override;
    QGraphicsItem *clone() override;
    bool writeXml(QXmlStreamWriter *writer) override;

    int widgetKind() const { return m_kind; }

    // The caption as typed; empty when the kind's initial one is shown.
    QString text() const override { return m_text; }
    // Characters a project file cannot hold become blanks.
    void setText(const QString &text) override;
    // What the widget shows: the text, or the kind's initial caption. Known
    // without making the widget.
    QString caption() const;
    static QString initialCaption(int kind);
    // Makes the proxy and its widget when they do not exist yet. Null only
    // while the shape is being destroyed.
    CustomProxy *proxy();
    QWidget *widget();
    bool hasProxy() const { return !m_proxy.isNull(); }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    QStringList fileAttributeNames() override;

private:
    static QWidget *createWidget(int kind);
    static void showCaption(QWidget *widget, const QString &caption);
    void fitProxy();

    QPointer<CustomProxy> m_proxy;
    int m_kind;
    QString m_text;
    bool m_destroying = false;
};
