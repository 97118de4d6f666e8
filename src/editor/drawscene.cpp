#include "drawscene.h"

DrawScene::DrawScene(QObject *parent)
    : QGraphicsScene(parent)
{
}
