#include "qtrulebar.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Scene units between the coarsest ticks, from which the first one wide
// enough for its label is chosen.
constexpr int Scales[]
    = {1, 2, 5, 10, 25, 50, 100, 250, 500, 1000, 2500, 5000, 10000, 25000, 50000, 100000};
constexpr int ScaleCount = int(sizeof(Scales) / sizeof(Scales[0]));

// Each level divides the coarsest step by this; level 0 is the coarsest.
constexpr int Subdivisions[] = {1, 5, 10, 50, 100};
constexpr int SubdivisionCount = int(sizeof(Subdivisions) / sizeof(Subdivisions[0]));

// Ticks closer than this many pixels would blur into a grey band.
constexpr double MinTickSpacing = 5;

const char RulerColour[] = "#F5F5F5";

} // namespace

QtRuleBar::QtRuleBar(int orientation, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
{
    QFont small = font();
    small.setWeight(50);
    small.setPixelSize(10);
    setFont(small);
}

void QtRuleBar::setRange(double lower, double upper, double maxSize)
{
    m_lower = lower;
    m_upper = upper;
    m_maxSize = maxSize;
}

void QtRuleBar::updatePosition(const QPoint &pos)
{
    m_cursorPos = pos;
    update();
}

QString QtRuleBar::labelText(double value)
{
    if (!std::isfinite(value))
        return QString();
    const qint64 v = qRound64(value);
    if (std::llabs(v) >= 2000 && v % 1000 == 0)
        return QStringLiteral("%1k").arg(v / 1000);
    return QString::number(v);
}

int QtRuleBar::scaleIndex(double increment, double maxSize, int fontPixelHeight)
{
    // Adding 0.0 turns -0 into 0, so a range just below zero is not one
    // character longer than it reads.
    const double size = std::ceil(maxSize) + 0.0;
    const int digits = QString::number(size, 'f', 0).size();
    const double textWidth = double(digits) * fontPixelHeight * 2 + 2;
    for (int k = 0; k < ScaleCount; ++k) {
        if (std::abs(increment) * Scales[k] > textWidth)
            return k;
    }
    return ScaleCount - 1;
}

int QtRuleBar::tickLength(int level, int thickness)
{
    return int(0.7 * std::max(1, thickness / (level + 1) - 1));
}

void QtRuleBar::paintEvent(QPaintEvent *)
{
    const bool horizontal = m_orientation == Qt::Horizontal;
    QPainter painter(this);

    QLinearGradient gradient
        = horizontal ? QLinearGradient(0, 0, 0, height()) : QLinearGradient(0, 0, width(), 0);
    const QColor colour {QLatin1String(RulerColour)};
    gradient.setColorAt(0, colour);
    gradient.setColorAt(0.5, colour);
    gradient.setColorAt(1, colour);
    painter.fillRect(rect(), gradient);

    painter.setPen(Qt::black);
    if (horizontal)
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    else
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);

    const int length = horizontal ? width() : height();
    const int thickness = horizontal ? height() : width();
    // The font's pixel size rather than its line height: it is fixed above,
    // so the layout does not depend on which fonts are installed.
    const QVector<Tick> ticks
        = layoutTicks(m_lower, m_upper, m_maxSize, length, font().pixelSize());
    for (const Tick &t : ticks) {
        const int tick = tickLength(t.level, thickness);
        if (horizontal)
            painter.drawLine(t.position, thickness - tick, t.position, thickness - 1);
        else
            painter.drawLine(thickness - tick, t.position, thickness - 1, t.position);
        if (!t.label.isEmpty())
            drawLabel(&painter, t.position, t.label);
    }

    painter.setPen(Qt::red);
    if (horizontal)
        painter.drawLine(m_cursorPos.x(), 0, m_cursorPos.x(), height());
    else
        painter.drawLine(0, m_cursorPos.y(), width(), m_cursorPos.y());
}

QVector<QtRuleBar::Tick> QtRuleBar::layoutTicks(double lower, double upper, double maxSize,
                                                int length, int fontPixelHeight)
{
    QVector<Tick> ticks;
    if (lower == upper || !std::isfinite(lower) || !std::isfinite(upper))
        return ticks;
    const int dh = fontPixelHeight;
    const double increment = length / (upper - lower);
    if (!std::isfinite(increment))
        return ticks;
    const int k = scaleIndex(increment, maxSize, dh);
    const double labelSpacing = std::abs(increment * Scales[k] / Subdivisions[0]);

    for (int i = SubdivisionCount - 1; i >= 0; --i) {
        const double step = (k == 1 && i == 1) ? 1.0 : double(Scales[k]) / Subdivisions[i];
        if (std::abs(increment) * step <= MinTickSpacing)
            continue;
        const double start = std::floor(std::min(lower, upper) / step) * step;
        const double end = std::ceil(std::max(lower, upper) / step) * step;
        // Ticks are more than MinTickSpacing apart, so a level never holds
        // more than one per pixel; the bound also ends the loop when step is
        // below the precision of far-away coordinates.
        const double count = std::min((end - start) / step, double(length) + 2);
        for (int n = 0; n <= count; ++n) {
            const double v = start + n * step;
            if (v > end)
                break;
            const double exact = std::clamp((v - lower) * increment + 1e-12, -1e6, 1e6);
            Tick t {i, v, int(std::lround(exact)), QString()};
            // Crowded labels: only every second, or every fourth, stays; zero
            // is always labelled.
            const bool crowded = v != 0
                && ((labelSpacing <= 6 * dh && n % 2 != 0)
                    || (labelSpacing <= 3 * dh && n % 4 != 0));
            if (i == 0 && !crowded)
                t.label = labelText(v);
            ticks.append(t);
        }
    }
    return ticks;
}

void QtRuleBar::drawLabel(QPainter *painter, int position, const QString &text)
{
    const int textWidth = painter->fontMetrics().horizontalAdvance(text);
    if (m_orientation == Qt::Horizontal) {
        painter->drawText(QRect(position + 2, 0, textWidth, Thickness),
                          Qt::AlignLeft | Qt::AlignTop, text);
        return;
    }
    painter->save();
    painter->translate(4, position + textWidth / 2 + 2);
    painter->rotate(90);
    painter->drawText(QRect(-textWidth / 2, -12, textWidth, Thickness), Qt::AlignRight, text);
    painter->restore();
}
