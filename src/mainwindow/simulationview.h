#pragma once

#include <QGraphicsView>
#include <QString>

class Simulation;

// Shows a running simulation's stage at scale 1 and turns the mouse into
// operator input: a press on a shape presses it and the release releases
// it (so a momentary bit holds while the button is down); a release on an
// entry widget with a value binding (line edit, spin box, text box, combo
// box) asks for the value to enter through the modal seam.
class SimulationView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit SimulationView(QWidget *parent = nullptr);

    // Not owned; null shows nothing.
    void setSimulation(Simulation *simulation);
    Simulation *simulation() const { return m_simulation; }

    // The shapes of the simulation are about to be copied again: the one
    // held is remembered by name, to be found again by reattach().
    void detach();
    void reattach();

    // The size that shows the whole panel without scroll bars.
    QSize sizeHint() const override;

signals:
    // Input refused, or an entry not accepted: for the status bar.
    void message(const QString &text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // Whether shape takes typed entry rather than presses.
    bool takesEntry(QGraphicsItem *shape) const;
    void askEntry(QGraphicsItem *shape);

    Simulation *m_simulation = nullptr;
    QGraphicsItem *m_pressed = nullptr;
    bool m_pressedForEntry = false;
    QString m_pressedName;
};
