#pragma once

#include <QWidget>

// The square where a view's two rulers meet. It only paints itself.
class QtCornerBox : public QWidget
{
    Q_OBJECT
public:
    explicit QtCornerBox(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
