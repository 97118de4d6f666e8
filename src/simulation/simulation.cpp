#include "simulation.h"

#include "boundshape.h"
#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/config.h"
#include "registermemory.h"
#include "screencopy.h"
#include "shapes/graphicsitem.h"
#include "shapes/shapekind.h"
#include "valuetext.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace {

// Far beyond any panel; a file may claim any size, and the stage is drawn
// into an image of it.
constexpr int MaxPanelSide = 16384;

// What a number becomes in a register of para's format: whole formats take
// the nearest whole number, a bit whether it is non-zero.
QVariant numberFor(const AddressPara &para, double number)
{
    switch (para.format) {
    case Config::Bool:
        return QVariant(number != 0);
    case Config::Float:
    case Config::Double:
        return QVariant(number);
    case Config::String:
        return QVariant(QString::number(number));
    default:
        return std::isfinite(number) ? QVariant(qint64(std::llround(number))) : QVariant(number);
    }
}

bool isEntryText(int widgetKind)
{
    return widgetKind == LineEditKind || widgetKind == SpinBoxKind || widgetKind == TextEditKind;
}

// How a set value is recorded: a bit as 0 or 1, anything else as text.
QString valueText(const QVariant &value)
{
    if (value.type() == QVariant::Bool)
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return value.toString();
}

// A check box's entry given as text ("1", "true") or as a bool or number.
bool entryBit(const QVariant &value, bool *ok)
{
    *ok = true;
    if (value.type() != QVariant::String)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("1") || text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("0") || text == QLatin1String("false"))
        return false;
    *ok = false;
    return false;
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

Simulation::Simulation(DrawManager *screens, QObject *parent)
    : QObject(parent)
    , m_memory(new RegisterMemory(this))
    , m_stage(new QGraphicsScene(this))
{
    m_stage->setBackgroundBrush(Qt::black);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &Simulation::refresh);
    connect(m_memory, &RegisterMemory::changed, this, &Simulation::scheduleRefresh);
    copyScreens(screens);
}

// The copies leave the stage before the stage (a child) goes.
Simulation::~Simulation() = default;

void Simulation::copyScreens(DrawManager *screens)
{
    QSizeF firstBase;
    if (screens) {
        const QList<DrawScene *> scenes = screens->scenes();
        for (DrawScene *scene : scenes) {
            if (scene->type() != BaseScreen && scene->type() != WindowScreen)
                continue;
            if (scene->type() == BaseScreen && firstBase.isEmpty())
                firstBase = scene->sceneRect().size();
            m_screens.push_back(std::make_unique<ScreenCopy>(scene));
        }
    }
    const Config *config = Config::instance();
    QSize size(config->screenWidth, config->screenHeight);
    if (size.width() <= 0 || size.height() <= 0)
        size = firstBase.isEmpty() ? QSize(800, 480) : firstBase.toSize();
    m_panelSize = size.boundedTo(QSize(MaxPanelSide, MaxPanelSide)).expandedTo(QSize(1, 1));
    m_stage->setSceneRect(QRectF(QPointF(0, 0), QSizeF(m_panelSize)));
}

ScreenCopy *Simulation::screenNamed(const QString &name, int type) const
{
    for (const auto &screen : m_screens) {
        if (screen->type() == type && (name.isEmpty() || screen->name() == name))
            return screen.get();
    }
    return nullptr;
}

bool Simulation::start(const QString &screen)
{
    ScreenCopy *base = screenNamed(screen, BaseScreen);
    if (!base)
        return false;
    const bool windowsOpen = !m_windows.isEmpty();
    const bool changed = base != m_base;
    m_base = base;
    m_windows.clear();
    arrangeStage();
    refresh();
    if (changed)
        emit screenChanged(m_base->name());
    if (windowsOpen)
        emit windowsChanged();
    return true;
}

QString Simulation::currentScreen() const
{
    return m_base ? m_base->name() : QString();
}

QStringList Simulation::openWindows() const
{
    QStringList names;
    for (const ScreenCopy *window : m_windows)
        names << window->name();
    return names;
}

bool Simulation::switchScreen(const QString &name)
{
    return !name.isEmpty() && screenNamed(name, BaseScreen) && start(name);
}

bool Simulation::openWindow(const QString &name)
{
    ScreenCopy *window = name.isEmpty() ? nullptr : screenNamed(name, WindowScreen);
    if (!window)
        return false;
    if (!m_windows.isEmpty() && m_windows.last() == window)
        return true;
    m_windows.removeAll(window);
    m_windows.append(window);
    arrangeStage();
    refresh();
    emit windowsChanged();
    return true;
}

bool Simulation::closeWindow(const QString &name)
{
    int index = m_windows.size() - 1;
    if (!name.isEmpty()) {
        while (index >= 0 && m_windows.at(index)->name() != name)
            --index;
    }
    if (index < 0)
        return false;
    m_windows.removeAt(index);
    arrangeStage();
    emit windowsChanged();
    return true;
}

void Simulation::setLanguage(int index)
{
    const int count = qMax(1, Config::instance()->languages.size());
    if (index < 0 || index >= count || index == m_language)
        return;
    m_language = index;
    refresh();
}

QVector<ScreenCopy *> Simulation::shownScreens() const
{
    QVector<ScreenCopy *> shown;
    for (int i = m_windows.size() - 1; i >= 0; --i)
        shown << m_windows.at(i);
    if (m_base)
        shown << m_base;
    return shown;
}

void Simulation::arrangeStage()
{
    const QVector<ScreenCopy *> shown = shownScreens();
    for (const auto &screen : m_screens) {
        if (!screen->isCopied() || shown.contains(screen.get()))
            continue;
        QGraphicsRectItem *root = screen->root(*m_memory);
        if (root->scene())
            m_stage->removeItem(root);
    }
    // Bottom first: the base screen, then the windows as they were opened.
    for (int i = shown.size() - 1; i >= 0; --i) {
        ScreenCopy *screen = shown.at(i);
        QGraphicsRectItem *root = screen->root(*m_memory);
        const int layer = shown.size() - 1 - i;
        if (screen->type() == WindowScreen) {
            const QSizeF free = QSizeF(m_panelSize) - screen->size();
            root->setPos(std::floor(free.width() / 2), std::floor(free.height() / 2));
            root->setPen(QPen(QColor(64, 64, 64), 0));
        } else {
            root->setPos(0, 0);
        }
        root->setZValue(layer);
        if (!root->scene())
            m_stage->addItem(root);
    }
}

void Simulation::scheduleRefresh()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void Simulation::refresh()
{
    m_refreshTimer.stop();
    TextLib *texts = Config::instance()->textLib();
    const QVector<ScreenCopy *> shown = shownScreens();
    for (ScreenCopy *screen : shown) {
        for (BoundShape &bound : screen->boundShapes())
            bound.show(bound.wanted(*m_memory, texts, m_language, m_blinkOn));
    }
    emit refreshed();
}

void Simulation::setBlinkPhase(bool on)
{
    if (on == m_blinkOn)
        return;
    m_blinkOn = on;
    refresh();
}

void Simulation::reload(DrawManager *screens)
{
    const QString base = currentScreen();
    const QStringList windows = openWindows();
    m_base = nullptr;
    m_windows.clear();
    m_screens.clear();
    copyScreens(screens);

    if (!base.isEmpty()) {
        m_base = screenNamed(base, BaseScreen);
        if (!m_base)
            m_base = screenNamed(QString(), BaseScreen);
    }
    for (const QString &name : windows) {
        if (ScreenCopy *window = screenNamed(name, WindowScreen))
            m_windows.append(window);
    }
    arrangeStage();
    refresh();
    if (currentScreen() != base)
        emit screenChanged(currentScreen());
    if (openWindows() != windows)
        emit windowsChanged();
}

QImage Simulation::snapshot() const
{
    QImage image(m_panelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(m_panelSize));
    m_stage->render(&painter, area, area, Qt::IgnoreAspectRatio);
    return image;
}

QGraphicsItem *Simulation::findShape(const QString &name) const
{
    const QVector<ScreenCopy *> shown = shownScreens();
    for (ScreenCopy *screen : shown) {
        if (QGraphicsItem *shape = screen->findShape(name))
            return shape;
    }
    return nullptr;
}

QGraphicsItem *Simulation::shapeAt(const QPointF &stagePos) const
{
    const QVector<ScreenCopy *> shown = shownScreens();
    const QList<QGraphicsItem *> hits
        = m_stage->items(stagePos, Qt::IntersectsItemShape, Qt::DescendingOrder);
    for (QGraphicsItem *hit : hits) {
        if (!hit->isVisible())
            continue;
        for (ScreenCopy *screen : shown) {
            // The bare area of the topmost screen under the point takes the
            // press: nothing below a window is reached through it.
            if (screen->isCopied() && hit == screen->root(*m_memory))
                return nullptr;
        }
        // A widget's proxy and its children stand for the widget shape.
        QGraphicsItem *shape = hit;
        while (shape && shape->type() <= QGraphicsItem::UserType)
            shape = shape->parentItem();
        if (shape && shape->isVisible())
            return shape;
    }
    return nullptr;
}

ScreenCopy *Simulation::screenOf(const QGraphicsItem *shape) const
{
    for (const auto &screen : m_screens) {
        if (screen->holds(shape))
            return screen.get();
    }
    return nullptr;
}

QVector<BoundShape *> Simulation::boundChain(QGraphicsItem *shape, ScreenCopy *screen) const
{
    QVector<BoundShape *> chain;
    for (QGraphicsItem *item = shape; item && item->type() > QGraphicsItem::UserType;
         item = item->parentItem()) {
        if (BoundShape *bound = screen->boundShape(item))
            chain << bound;
    }
    return chain;
}

QString Simulation::shapeName(const QGraphicsItem *shape)
{
    const QObject *object = shapeObject(const_cast<QGraphicsItem *>(shape));
    return object ? object->objectName() : QString();
}

bool Simulation::press(QGraphicsItem *shape, QString *error)
{
    if (!operate(shape, Press, error))
        return false;
    emit operatorInput(QStringLiteral("press"), shapeName(shape), QString());
    return true;
}

bool Simulation::release(QGraphicsItem *shape, QString *error)
{
    if (!operate(shape, Release, error))
        return false;
    emit operatorInput(QStringLiteral("release"), shapeName(shape), QString());
    return true;
}

bool Simulation::click(QGraphicsItem *shape, QString *error)
{
    // The release runs even after a failed press: a momentary bit set by
    // an earlier action of the same press must not stay set.
    QString pressError;
    const bool pressed = operate(shape, Press, &pressError);
    const bool released = operate(shape, Release, pressed ? error : nullptr);
    if (!pressed)
        setError(error, pressError);
    if (pressed && released)
        emit operatorInput(QStringLiteral("click"), shapeName(shape), QString());
    return pressed && released;
}

bool Simulation::operate(QGraphicsItem *shape, Phase phase, QString *error)
{
    if (!shape) {
        setError(error, tr("没有要操作的图形"));
        return false;
    }
    ScreenCopy *screen = screenOf(shape);
    const QVector<ScreenCopy *> shown = shownScreens();
    // A release may come after its press changed the screens; it still
    // ends what the press began.
    if (!screen || (phase == Press && !shown.contains(screen))) {
        setError(error, tr("图形“%1”不在显示的画面上").arg(shapeName(shape)));
        return false;
    }
    if (phase == Press && !shape->isVisible()) {
        setError(error, tr("图形“%1”已隐藏").arg(shapeName(shape)));
        return false;
    }

    const QVector<BoundShape *> chain = boundChain(shape, screen);
    bool handled = false;
    bool ok = true;
    QString firstError;
    for (BoundShape *bound : chain) {
        QString why;
        // A check box writes its bit on press; its release ends the click.
        if (bound->item() == shape
            && (bound->widgetKind() == CheckBoxKind || bound->widgetKind() == RadioButtonKind)
            && bound->entrySource()) {
            handled = true;
            if (phase == Press && !pressWidget(*bound, &why) && ok) {
                ok = false;
                firstError = why;
            }
        }
        for (int i = 0; i < bound->sources().size(); ++i) {
            if (bound->sources().at(i).binding.kind != Binding::Action)
                continue;
            handled = true;
            if (!runAction(*bound, i, phase, screen, &why) && ok) {
                ok = false;
                firstError = why;
            }
        }
    }
    if (!handled) {
        setError(error, tr("图形“%1”没有动作").arg(shapeName(shape)));
        return false;
    }
    if (!ok)
        setError(error, firstError);
    return ok;
}

bool Simulation::pressWidget(const BoundShape &bound, QString *error)
{
    const BoundShape::Source *source = bound.entrySource();
    const bool bit = bound.widgetKind() == RadioButtonKind || m_memory->number(source->para) == 0;
    return m_memory->write(source->para, numberFor(source->para, bit ? 1 : 0), error);
}

bool Simulation::runAction(const BoundShape &bound, int index, Phase phase, ScreenCopy *screen,
                           QString *error)
{
    const BoundShape::Source &source = bound.sources().at(index);
    const Binding &binding = source.binding;
    const bool screenAction = binding.action >= Binding::SwitchScreen;
    // Registers are written on press, screens change on release; a
    // momentary bit follows both.
    if (binding.action != Binding::Momentary && screenAction != (phase == Release))
        return true;
    if (!source.resolved) {
        setError(error, tr("动作的数据来源“%1”不存在").arg(binding.sourceText()));
        return false;
    }
    const AddressPara &para = source.para;
    switch (binding.action) {
    case Binding::SetBit:
        return m_memory->write(para, numberFor(para, 1), error);
    case Binding::ResetBit:
        return m_memory->write(para, numberFor(para, 0), error);
    case Binding::ToggleBit:
        return m_memory->write(para, numberFor(para, m_memory->number(para) == 0 ? 1 : 0), error);
    case Binding::Momentary:
        return m_memory->write(para, numberFor(para, phase == Press ? 1 : 0), error);
    case Binding::WriteValue:
        return m_memory->write(para, numberFor(para, binding.value), error);
    case Binding::AddStep:
    case Binding::SubtractStep:
        return stepValue(bound, index, error);
    case Binding::SwitchScreen:
        if (switchScreen(binding.screen))
            return true;
        setError(error, tr("没有名为“%1”的基本画面").arg(binding.screen));
        return false;
    case Binding::OpenWindow:
        if (openWindow(binding.screen))
            return true;
        setError(error, tr("没有名为“%1”的窗口画面").arg(binding.screen));
        return false;
    case Binding::CloseWindow: {
        // Without a name a button closes the window it is on.
        QString name = binding.screen;
        if (name.isEmpty() && screen->type() == WindowScreen)
            name = screen->name();
        if (closeWindow(name))
            return true;
        setError(error, name.isEmpty() ? tr("没有打开的窗口") : tr("窗口“%1”没有打开").arg(name));
        return false;
    }
    }
    return true;
}

bool Simulation::stepValue(const BoundShape &bound, int index, QString *error)
{
    const BoundShape::Source &source = bound.sources().at(index);
    const Binding &binding = source.binding;
    const double step = binding.action == Binding::AddStep ? binding.value : -binding.value;
    double next = m_memory->number(source.para) + step;
    // Limits given the right way round hold the value; without them the
    // format's range does.
    if (binding.maximum > binding.minimum)
        next = qBound(binding.minimum, next, binding.maximum);
    return m_memory->write(source.para, numberFor(source.para, next), error);
}

bool Simulation::enter(QGraphicsItem *shape, const QVariant &value, QString *error)
{
    ScreenCopy *screen = shape ? screenOf(shape) : nullptr;
    if (!screen || !shownScreens().contains(screen)) {
        setError(error, shape ? tr("图形“%1”不在显示的画面上").arg(shapeName(shape))
                              : tr("没有要操作的图形"));
        return false;
    }
    if (!shape->isVisible()) {
        setError(error, tr("图形“%1”已隐藏").arg(shapeName(shape)));
        return false;
    }
    const BoundShape *bound = screen->boundShape(shape);
    const BoundShape::Source *source = bound ? bound->entrySource() : nullptr;
    const int kind = bound ? bound->widgetKind() : -1;
    const bool takesEntry = isEntryText(kind) || kind == CheckBoxKind || kind == RadioButtonKind
        || kind == ComboBoxKind;
    if (!source || !takesEntry) {
        setError(error, tr("图形“%1”不接受输入").arg(shapeName(shape)));
        return false;
    }

    QVariant written;
    if (isEntryText(kind)) {
        if (!ValueText::parse(source->binding, value.toString(), source->para.format, &written,
                              error))
            return false;
    } else if (kind == ComboBoxKind) {
        bool ok = false;
        const int option = value.toString().trimmed().toInt(&ok);
        if (!ok || option < 0) {
            setError(error, tr("“%1”不是有效的选项序号").arg(value.toString()));
            return false;
        }
        written = numberFor(source->para, option);
    } else {
        bool ok = false;
        const bool bit = entryBit(value, &ok);
        if (!ok) {
            setError(error, tr("“%1”不是 0 或 1").arg(value.toString()));
            return false;
        }
        written = numberFor(source->para, bit ? 1 : 0);
    }
    if (!m_memory->write(source->para, written, error))
        return false;
    emit operatorInput(QStringLiteral("set"), shapeName(shape), valueText(value));
    return true;
}
