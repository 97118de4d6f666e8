#include "fonteditwidget.h"

#include "services/modalseam.h"

#include <QFontDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyleOption>

namespace {

const int PreviewSize = 16;
const int PreviewPointSize = 13;
const int BoldFrom = 58;

} // namespace

FontEditWidget::FontEditWidget(QWidget *parent)
    : QWidget(parent)
{
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFixedSize(PreviewSize, PreviewSize);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setStyleSheet(QStringLiteral("border:1px solid lightgray;background:#E8ECF6;"));
    m_button = new QPushButton(QStringLiteral("..."), this);
    m_button->setObjectName(QStringLiteral("choose"));
    m_button->setFixedWidth(m_button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 12);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_preview);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_button);

    connect(m_button, &QPushButton::clicked, this, &FontEditWidget::buttonClicked);
    showFont();
}

void FontEditWidget::setValue(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    showFont();
}

QFont FontEditWidget::mergedChoice(const QFont &current, const QFont &chosen)
{
    QFont merged = current;
    if (chosen.family() != current.family())
        merged.setFamily(chosen.family());
    if (chosen.pointSize() != current.pointSize() && chosen.pointSize() > 0)
        merged.setPointSize(chosen.pointSize());
    if (chosen.weight() != current.weight())
        merged.setWeight(chosen.weight() < BoldFrom ? QFont::Normal : QFont::Bold);
    if (chosen.italic() != current.italic())
        merged.setItalic(chosen.italic());
    if (chosen.underline() != current.underline())
        merged.setUnderline(chosen.underline());
    if (chosen.strikeOut() != current.strikeOut())
        merged.setStrikeOut(chosen.strikeOut());
    return merged;
}

void FontEditWidget::buttonClicked()
{
    const QString title = QStringLiteral("Select Font");
    QFont chosen;
    bool accepted = false;
    if (ModalSeam::hasHandler()) {
        ModalRequest request;
        request.kind = ModalRequest::Font;
        request.title = title;
        request.value = m_font.toString();
        const ModalAnswer answer = ModalSeam::answer(request);
        accepted = answer.accepted && chosen.fromString(answer.text);
    } else {
        chosen = QFontDialog::getFont(&accepted, m_font, this, title);
    }
    if (!accepted || chosen == m_font)
        return;
    const QFont merged = mergedChoice(m_font, chosen);
    if (merged == m_font)
        return;
    setValue(merged);
    emit valueChanged(m_font);
}

void FontEditWidget::paintEvent(QPaintEvent *)
{
    // A plain QWidget subclass ignores its style sheet's background
    // unless it draws the primitive itself.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void FontEditWidget::showFont()
{
    QImage image(PreviewSize, PreviewSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont letter = m_font;
        letter.setPointSize(PreviewPointSize);
        painter.setFont(letter);
        painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("A"));
    }
    m_preview->setPixmap(QPixmap::fromImage(image));
    m_text->setText(QStringLiteral("[%1, %2]").arg(m_font.family()).arg(m_font.pointSize()));
}
