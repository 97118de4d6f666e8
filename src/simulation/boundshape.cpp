#include "boundshape.h"

#include "model/config.h"
#include "model/taglib/textlib.h"
#include "registermemory.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicstextitem.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapekind.h"
#include "valuetext.h"

#include <QAbstractButton>
#include <QPalette>
#include <QWidget>

#include <cmath>

namespace {

// A state number from a register value: whole numbers as they are, a
// fraction cut towards minus infinity; anything beyond int is no state.
int stateOf(double number)
{
    if (!std::isfinite(number))
        return -1;
    const double whole = std::floor(number);
    if (whole < 0 || whole > 1e9)
        return -1;
    return int(whole);
}

bool isCheckable(int widgetKind)
{
    return widgetKind == CheckBoxKind || widgetKind == RadioButtonKind;
}

} // namespace

bool BoundShape::Look::operator==(const Look &other) const
{
    return text == other.text && visible == other.visible && fill == other.fill
        && pen == other.pen && widgetText == other.widgetText && picture == other.picture
        && checked == other.checked;
}

BoundShape::BoundShape(QGraphicsItem *item, const RegisterMemory &memory)
    : m_item(item)
{
    const QVector<Binding> bindings = shapeBindings(item);
    m_sources.reserve(bindings.size());
    for (const Binding &binding : bindings) {
        Source source;
        source.binding = binding;
        // Screen actions need no register.
        const bool screenAction
            = binding.kind == Binding::Action && binding.action >= Binding::SwitchScreen;
        source.resolved = screenAction || memory.resolve(binding, &source.para);
        m_sources.append(source);
    }

    if (item->type() == WidgetItemType)
        m_widgetKind = static_cast<GraphicsWidgetItem *>(item)->widgetKind();
    m_textShape = dynamic_cast<GraphicsTextItem *>(item) != nullptr;
    m_own.visible = item->isVisible();
    if (auto *shape = dynamic_cast<GraphicsItem *>(item)) {
        m_own.text = shape->text();
        if (m_widgetKind < 0) {
            m_own.fill = shape->brushColor();
            m_own.pen = shape->penColor();
        }
    }
    if (auto *image = dynamic_cast<GraphicsImageItem *>(item))
        m_own.picture = image->picture();
    m_shown = m_own;
}

bool BoundShape::hasActions() const
{
    for (const Source &source : m_sources) {
        if (source.binding.kind == Binding::Action)
            return true;
    }
    return false;
}

const BoundShape::Source *BoundShape::entrySource() const
{
    for (const Source &source : m_sources) {
        if (source.binding.kind == Binding::Value && source.resolved)
            return &source;
    }
    return nullptr;
}

bool BoundShape::conditionHolds(const Binding &binding, double number)
{
    switch (binding.condition) {
    case Binding::BitSet:
        return number != 0;
    case Binding::BitClear:
        return number == 0;
    case Binding::Equal:
        return number == binding.value;
    case Binding::Unequal:
        return number != binding.value;
    case Binding::InRange:
        return number >= binding.value && number <= binding.value2;
    }
    return true;
}

QString BoundShape::stateText(TextLib *texts, const QString &tag, int state, int fallback,
                              int language, bool *found)
{
    *found = false;
    if (!texts)
        return QString();
    const TextLib::States states = texts->states(tag);
    if (state < 0 || state >= states.size())
        state = fallback;
    if (state < 0 || state >= states.size())
        return QString();
    const TextLib::State &perLanguage = states.at(state);
    *found = true;
    if (language >= 0 && language < perLanguage.size())
        return perLanguage.at(language);
    return perLanguage.value(0);
}

BoundShape::Look BoundShape::wanted(const RegisterMemory &memory, TextLib *texts, int language,
                                    bool blinkOn) const
{
    Look look = m_own;
    bool visible = true;
    for (const Source &source : m_sources) {
        if (!source.resolved)
            continue;
        const Binding &binding = source.binding;
        switch (binding.kind) {
        case Binding::Value:
            if (isCheckable(m_widgetKind))
                look.checked = memory.number(source.para) != 0 ? 1 : 0;
            else
                look.text = ValueText::format(binding, memory.read(source.para),
                                              source.para.format);
            break;
        case Binding::TextState: {
            bool found = false;
            const QString text = stateText(texts, binding.textTag,
                                           stateOf(memory.number(source.para)),
                                           binding.fallback, language, &found);
            if (found)
                look.text = text;
            break;
        }
        case Binding::Visible:
            visible = visible && conditionHolds(binding, memory.number(source.para));
            break;
        case Binding::Colours: {
            const double number = memory.number(source.para);
            for (const Binding::Range &range : binding.ranges) {
                if (!(number >= range.from && number <= range.to))
                    continue;
                // A blinking row shows the shape's own colours while off.
                if (range.blink && !blinkOn)
                    break;
                if (range.fill.isValid())
                    look.fill = range.fill;
                if (m_widgetKind >= 0) {
                    if (range.text.isValid())
                        look.widgetText = range.text;
                } else if (m_textShape) {
                    if (range.text.isValid())
                        look.pen = range.text;
                } else if (range.line.isValid()) {
                    look.pen = range.line;
                }
                break;
            }
            break;
        }
        case Binding::Picture: {
            const int state = stateOf(memory.number(source.para));
            if (state >= 0 && state < binding.pictures.size()
                && !binding.pictures.at(state).file.isEmpty())
                look.picture = binding.pictures.at(state).file;
            break;
        }
        case Binding::Action:
            break;
        }
    }
    look.visible = m_own.visible && visible;
    return look;
}

bool BoundShape::show(const Look &look)
{
    if (look == m_shown)
        return false;
    auto *shape = dynamic_cast<GraphicsItem *>(m_item);
    if (look.text != m_shown.text)
        showText(look.text);
    if (look.visible != m_shown.visible)
        m_item->setVisible(look.visible);
    if (shape && m_widgetKind < 0) {
        if (look.fill != m_shown.fill && look.fill.isValid())
            shape->setBrushColor(look.fill);
        if (look.pen != m_shown.pen && look.pen.isValid())
            shape->setPenColor(look.pen);
    }
    if (m_widgetKind >= 0 && (look.fill != m_shown.fill || look.widgetText != m_shown.widgetText))
        showWidgetColours(look.fill, look.widgetText);
    if (look.picture != m_shown.picture) {
        if (auto *image = dynamic_cast<GraphicsImageItem *>(m_item))
            image->setPicture(look.picture);
    }
    if (look.checked != m_shown.checked)
        showChecked(look.checked);
    m_shown = look;
    return true;
}

void BoundShape::showText(const QString &text)
{
    if (auto *shape = dynamic_cast<GraphicsItem *>(m_item))
        shape->setText(text);
}

void BoundShape::showChecked(int checked)
{
    if (m_widgetKind < 0)
        return;
    QWidget *widget = static_cast<GraphicsWidgetItem *>(m_item)->widget();
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        // Radio buttons of one screen are not one group on the panel: each
        // shows its own register.
        button->setAutoExclusive(false);
        button->setChecked(checked > 0);
    }
}

void BoundShape::showWidgetColours(const QColor &fill, const QColor &text)
{
    QWidget *widget = static_cast<GraphicsWidgetItem *>(m_item)->widget();
    if (!widget)
        return;
    QPalette palette;
    if (fill.isValid()) {
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
            palette.setColor(role, fill);
    }
    if (text.isValid()) {
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, text);
    }
    widget->setAutoFillBackground(fill.isValid());
    widget->setPalette(palette);
}
