#pragma once

#include <QPoint>
#include <QString>
#include <QVector>
#include <QWidget>

// A ruler along the top (Qt::Horizontal) or left (Qt::Vertical) edge of a
// screen view. It shows scene coordinates between lower() and upper(), which
// the view sets through setRange(); the ruler never reads the view itself.
class QtRuleBar : public QWidget
{
    Q_OBJECT
public:
    // Thickness of every ruler across its orientation, in pixels.
    static constexpr int Thickness = 25;

    // orientation is Qt::Horizontal (1) or Qt::Vertical (2); the parent is
    // the view, which owns the ruler.
    QtRuleBar(int orientation, QWidget *parent);

    int orientation() const { return m_orientation; }

    // Stores the scene coordinates shown at the ruler's start and end and
    // their difference. Does not repaint: the caller updates when all three
    // rulers' values are in place.
    void setRange(double lower, double upper, double maxSize);
    double lower() const { return m_lower; }
    double upper() const { return m_upper; }
    double maxSize() const { return m_maxSize; }

    // Moves the cursor marker to pos (the view's coordinates) and repaints.
    void updatePosition(const QPoint &pos);
    QPoint cursorPos() const { return m_cursorPos; }

    // The label of a tick value: whole thousands from 2000 up (in either
    // direction) read "5k", "-3k"; everything else is the plain integer.
    static QString labelText(double value);

    // Index into the tick-scale table of the coarsest ticks: the first scale
    // whose spacing (increment pixels per scene unit) leaves room for a label
    // as long as the decimal text of ceil(maxSize); the last index when none
    // does.
    static int scaleIndex(double increment, double maxSize, int fontPixelHeight);

    // Length of a tick on subdivision level (0 = coarsest) for a ruler of the
    // given thickness.
    static int tickLength(int level, int thickness);

    struct Tick
    {
        int level; // subdivision level, 0 = coarsest
        double value; // scene coordinate
        int position; // pixels from the ruler's start
        QString label; // empty when the tick carries no label
    };

    // Every tick a ruler length pixels long draws for the range, finest
    // level first, each level in increasing value. Empty when lower == upper
    // or either is not finite.
    static QVector<Tick> layoutTicks(double lower, double upper, double maxSize, int length,
                                     int fontPixelHeight);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawLabel(QPainter *painter, int position, const QString &text);

    int m_orientation;
    QPoint m_cursorPos;
    double m_lower = 0;
    double m_upper = 0;
    double m_maxSize = 0;
};
