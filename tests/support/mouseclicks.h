#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Left-button clicks sent straight to a widget (a view's viewport), in the
// order and with the buttons held that a real mouse delivers them.
namespace mouseclicks {

inline void send(QWidget *target, QEvent::Type type, const QPoint &at,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, modifiers);
    QApplication::sendEvent(target, &event);
}

inline void click(QWidget *target, const QPoint &at,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    send(target, QEvent::MouseButtonPress, at, modifiers);
    send(target, QEvent::MouseButtonRelease, at, modifiers);
}

// A first click, then the double click that follows it.
inline void doubleClick(QWidget *target, const QPoint &at)
{
    click(target, at);
    send(target, QEvent::MouseButtonDblClick, at);
    send(target, QEvent::MouseButtonRelease, at);
}

} // namespace mouseclicks
