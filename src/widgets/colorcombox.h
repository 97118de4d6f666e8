#pragma once

#include <QColor>
#include <QToolButton>

class QMenu;
class QPushButton;

// A colour button: the strip under the button shows the colour, the arrow
// opens a board of 48 colours with "透明" (no colour, an invalid QColor) and
// "其他" (the colour chooser). Every pick emits sigColorChanged.
class ColorCombox : public QToolButton
{
    Q_OBJECT
public:
    explicit ColorCombox(QWidget *parent = nullptr);

    // The palette colour of board row `row` (0..5) and column `column` (0..7).
    static QColor paletteColor(int row, int column);

    QColor color() const { return m_color; }
    // Shows colour without emitting; an invalid colour shows no strip.
    void setColor(const QColor &color);
    // Draws the image (16 × 16) above a narrow colour strip.
    void setImagePath(const QString &path, const QColor &color);

    QMenu *colorBoard() const { return m_board; }
    // The board's tool button at row, column; null outside the board.
    QToolButton *paletteButton(int row, int column) const;
    QPushButton *transparentButton() const { return m_transparent; }
    QPushButton *otherButton() const { return m_other; }

signals:
    void sigColorChanged(QColor color);

public slots:
    void OnColorChanged();
    void OnShowColorBoard();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildBoard();
    void showColor();
    void retranslate();

    QColor m_color;
    QString m_imagePath;
    QMenu *m_board = nullptr; // child of this
    QList<QToolButton *> m_paletteButtons; // row-major, children of the board
    QPushButton *m_transparent = nullptr;
    QPushButton *m_other = nullptr;
};
