#include "colorcombox.h"

#include "services/colourdialog.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int BoardRows = 6;
constexpr int BoardColumns = 8;
constexpr int ButtonWidth = 80;

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(color);
    return QIcon(pixmap);
}

} // namespace

ColorCombox::ColorCombox(QWidget *parent)
    : QToolButton(parent)
    , m_board(new QMenu(this))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setMinimumSize(40, 20);
    setPopupMode(QToolButton::MenuButtonPopup);
    setAutoFillBackground(true);
    buildBoard();
    setMenu(m_board);
    retranslate();
    showColor();
}

QColor ColorCombox::paletteColor(int row, int column)
{
    // The one entry off the rule has always been on the board; projects and
    // users' habits rely on it.
    if (row == 0 && column == 7)
        return QColor(170, 250, 0);
    static const int blues[] = {0, 127, 255};
    static const int greens[] = {0, 85, 170, 255};
    const int red = row < 3 ? (column % 2 ? 170 : 0) : (column % 2 ? 255 : 85);
    return QColor(red, greens[column / 2], blues[row % 3]);
}

void ColorCombox::buildBoard()
{
    auto *grid = new QGridLayout(m_board);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(1);
    grid->setAlignment(Qt::AlignCenter);
    for (int row = 0; row < BoardRows; ++row) {
        for (int column = 0; column < BoardColumns; ++column) {
            const QColor color = paletteColor(row, column);
            auto *button = new QToolButton(m_board);
            button->setFixedSize(20, 20);
            button->setAutoRaise(true);
            auto *action = new QAction(swatch(color), QString(), button);
            action->setData(color);
            action->setToolTip(QStringLiteral("RGB(%1,%2,%3)")
                                   .arg(color.red())
                                   .arg(color.green())
                                   .arg(color.blue()));
            button->setDefaultAction(action);
            button->setIconSize(QSize(20, 20));
            connect(action, &QAction::triggered, this, &ColorCombox::OnColorChanged);
            grid->addWidget(button, row, column);
            m_paletteButtons.append(button);
        }
    }
    m_transparent = new QPushButton(m_board);
    connect(m_transparent, &QPushButton::clicked, this, &ColorCombox::OnColorChanged);
    grid->addWidget(m_transparent, 7, 0, 1, 4);
    m_other = new QPushButton(m_board);
    connect(m_other, &QPushButton::clicked, this, &ColorCombox::OnShowColorBoard);
    grid->addWidget(m_other, 7, 4, 1, 4);
}

QToolButton *ColorCombox::paletteButton(int row, int column) const
{
    if (row < 0 || row >= BoardRows || column < 0 || column >= BoardColumns)
        return nullptr;
    return m_paletteButtons.at(row * BoardColumns + column);
}

void ColorCombox::setColor(const QColor &color)
{
    m_color = color;
    showColor();
}

void ColorCombox::setImagePath(const QString &path, const QColor &color)
{
    m_imagePath = path;
    setColor(color);
}

void ColorCombox::OnColorChanged()
{
    // "透明" is a push button, not an action: no data, so no colour.
    QColor color;
    if (auto *action = qobject_cast<QAction *>(sender())) {
        const QVariant data = action->data();
        color = data.canConvert<QColor>() ? data.value<QColor>() : QColor();
    }
    m_board->hide();
    setColor(color);
    emit sigColorChanged(color);
}

void ColorCombox::OnShowColorBoard()
{
    m_board->hide();
    QColor chosen;
    if (!ColourDialog::getColour(this, tr("颜色选择"), QColor(Qt::black), &chosen, true)
        || !chosen.isValid())
        return;
    setColor(chosen);
    emit sigColorChanged(chosen);
}

void ColorCombox::showColor()
{
    const QSize size(qMax(1, width() - 10), qMax(1, height() - 6));
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        if (!m_imagePath.isEmpty()) {
            if (m_color.isValid())
                painter.fillRect(QRect(QPoint(0, 17), QPoint(20, 21)), m_color);
            painter.drawImage(QRect(0, 0, 16, 16), QImage(m_imagePath));
        } else if (m_color.isValid()) {
            painter.fillRect(QRect(QPoint(5, 0), QPoint(width() - 1, height() - 4)), m_color);
        }
    }
    setIcon(QIcon(pixmap));
    setIconSize(pixmap.size());
}

void ColorCombox::resizeEvent(QResizeEvent *event)
{
    QToolButton::resizeEvent(event);
    showColor();
}

void ColorCombox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QToolButton::changeEvent(event);
}

void ColorCombox::retranslate()
{
    m_transparent->setText(tr("透明"));
    m_other->setText(tr("其他"));
    // Both the same width, wide enough for the longer text in the current
    // language; the board widens with them when a translation needs it.
    const int width = qMax(ButtonWidth, qMax(m_transparent->sizeHint().width(),
                                             m_other->sizeHint().width()));
    m_transparent->setFixedWidth(width);
    m_other->setFixedWidth(width);
}
