#include "simulationview.h"

#include "model/binding.h"
#include "services/inputdialog.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapekind.h"
#include "simulation/simulation.h"

#include <QGraphicsScene>
#include <QMouseEvent>
#include <QScrollBar>

SimulationView::SimulationView(QWidget *parent)
    : QGraphicsView(parent)
{
    setObjectName(QStringLiteral("simulationView"));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setRenderHint(QPainter::Antialiasing);
    // The copies are the panel's, not the editor's: no rubber band, no drag.
    setDragMode(QGraphicsView::NoDrag);
    setInteractive(false);
}

void SimulationView::setSimulation(Simulation *simulation)
{
    m_simulation = simulation;
    m_pressed = nullptr;
    m_pressedName.clear();
    if (!simulation) {
        setScene(nullptr);
        return;
    }
    setScene(simulation->stage());
    setSceneRect(QRectF(QPointF(0, 0), QSizeF(simulation->panelSize())));
    updateGeometry();
}

void SimulationView::detach()
{
    if (m_pressed) {
        if (QObject *object = shapeObject(m_pressed))
            m_pressedName = object->objectName();
    }
    m_pressed = nullptr;
}

void SimulationView::reattach()
{
    if (m_simulation && !m_pressedName.isEmpty())
        m_pressed = m_simulation->findShape(m_pressedName);
    m_pressedName.clear();
    if (m_simulation)
        setSceneRect(QRectF(QPointF(0, 0), QSizeF(m_simulation->panelSize())));
}

QSize SimulationView::sizeHint() const
{
    if (!m_simulation)
        return QGraphicsView::sizeHint();
    const int frame = 2 * frameWidth();
    return m_simulation->panelSize() + QSize(frame, frame);
}

void SimulationView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_simulation || event->button() != Qt::LeftButton || m_pressed)
        return;
    QGraphicsItem *shape = m_simulation->shapeAt(mapToScene(event->pos()));
    if (!shape)
        return;
    m_pressed = shape;
    m_pressedForEntry = takesEntry(shape);
    if (m_pressedForEntry)
        return;
    QString error;
    if (!m_simulation->press(shape, &error) && !error.isEmpty())
        emit message(error);
}

void SimulationView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_simulation || event->button() != Qt::LeftButton || !m_pressed)
        return;
    QGraphicsItem *shape = m_pressed;
    m_pressed = nullptr;
    if (m_pressedForEntry) {
        // An entry only when the button comes up over the widget pressed.
        if (m_simulation->shapeAt(mapToScene(event->pos())) == shape)
            askEntry(shape);
        return;
    }
    QString error;
    if (!m_simulation->release(shape, &error) && !error.isEmpty())
        emit message(error);
}

void SimulationView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double click is a second press.
    mousePressEvent(event);
}

void SimulationView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

bool SimulationView::takesEntry(QGraphicsItem *shape) const
{
    auto *widget = qobject_cast<GraphicsWidgetItem *>(shapeObject(shape));
    if (!widget)
        return false;
    switch (widget->widgetKind()) {
    case LineEditKind:
    case TextEditKind:
    case SpinBoxKind:
    case ComboBoxKind:
        break;
    default:
        return false;
    }
    const QVector<Binding> bindings = shapeBindings(shape);
    for (const Binding &binding : bindings) {
        if (binding.kind == Binding::Value)
            return true;
    }
    return false;
}

void SimulationView::askEntry(QGraphicsItem *shape)
{
    auto *widget = qobject_cast<GraphicsWidgetItem *>(shapeObject(shape));
    if (!widget)
        return;
    const bool combo = widget->widgetKind() == ComboBoxKind;
    const QString name = widget->objectName();
    bool ok = false;
    const QString text = InputDialog::getText(
        this, tr("输入数值"),
        combo ? tr("“%1”的选项序号（从0起）：").arg(name) : tr("“%1”的数值：").arg(name),
        combo ? QString() : widget->caption(), &ok);
    // The dialog ran an event loop: the simulation may have copied its
    // screens again meanwhile.
    if (!ok || !m_simulation || m_simulation->findShape(name) != shape)
        return;
    QVariant value = text;
    if (combo) {
        bool number = false;
        value = text.trimmed().toInt(&number);
        if (!number) {
            emit message(tr("“%1”不是选项序号。").arg(text));
            return;
        }
    }
    QString error;
    if (!m_simulation->enter(shape, value, &error))
        emit message(error.isEmpty() ? tr("“%1”未被接受。").arg(text) : error);
}
