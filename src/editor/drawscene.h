#pragma once

#include <QGraphicsScene>

// One screen of the project. Shapes, naming, grid and editing operations are
// added by the scene work; the main window already routes through it.
class DrawScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit DrawScene(QObject *parent = nullptr);
};
