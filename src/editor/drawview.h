#pragma once

#include <QGraphicsView>

class DrawScene;

// The view that shows one screen in a tab.
class DrawView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit DrawView(QGraphicsScene *scene, QWidget *parent = nullptr);

    // The screen shown, or null when the view holds another kind of scene.
    DrawScene *drawScene() const;

    // Zoom factor relative to 100 %; factors of zero or less are ignored.
    void setZoomFactor(qreal factor);
    qreal zoomFactor() const { return m_zoom; }

private:
    qreal m_zoom = 1.0;
};
