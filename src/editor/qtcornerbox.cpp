#include "qtcornerbox.h"

#include <QPainter>

QtCornerBox::QtCornerBox(QWidget *parent)
    : QWidget(parent)
{ }

void QtCornerBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(QStringLiteral("#F5F5F5")));
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(0, bottom, right, bottom);
}
