#pragma once

#include <QFont>
#include <QWidget>

class QLabel;
class QPushButton;

// Shows a font as a small "A" preview and "[family, size]" with a "..."
// button that opens the font chooser. Used for the project languages and
// in the property dialog.
//
// The edited font is the widget's value, kept apart from the font the widget
// itself is drawn in, so a style or parent font change never alters it.
class FontEditWidget : public QWidget
{
    Q_OBJECT
public:
    explicit FontEditWidget(QWidget *parent = nullptr);

    QFont value() const { return m_font; }

    // What the chooser's choice becomes when it replaces current: only the
    // attributes that differ are taken over, and the weight is reduced to
    // normal (below 58) or bold, as the panel knows no other weights.
    static QFont mergedChoice(const QFont &current, const QFont &chosen);

public slots:
    // Shows font; emits nothing.
    void setValue(const QFont &font);
    // Opens the font chooser; a different choice is shown and announced.
    void buttonClicked();

signals:
    void valueChanged(const QFont &font);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showFont();

    QFont m_font;
    QLabel *m_preview = nullptr;
    QLabel *m_text = nullptr;
    QPushButton *m_button = nullptr;
};
