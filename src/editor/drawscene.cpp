#include "drawscene.h"

#include "drawtool.h"
#include "drawview.h"
#include "gridsnap.h"
#include "model/config.h"
#include "model/nestinglimit.h"
#include "services/editorsettings.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapepainting.h"
#include "stackingorder.h"

#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

bool isShape(const QGraphicsItem *item)
{
    return item && item->type() > QGraphicsItem::UserType;
}

bool isInsideGroup(const QGraphicsItem *item)
{
    return dynamic_cast<QGraphicsItemGroup *>(item->parentItem()) != nullptr;
}

void moveBy(QGraphicsItem *item, const QPointF &delta)
{
    item->setPos(item->pos() + delta);
}

double sign(double value)
{
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

} // namespace

DrawScene::DrawScene(int type, QObject *parent)
    : QGraphicsScene(parent)
    , m_type(type)
{
    setBackgroundBrush(QColor(QStringLiteral("#eeeef8")));
    m_brush.setColor(Qt::white);
    m_brushStyle = GraphicsItem::SolidPattern;
    rebuildBrush();
    m_pen.setColor(Qt::white);

    const int n = ++screenCounters()[type];

    const Config *config = Config::instance();
    double w = config->screenWidth;
    double h = config->screenHeight;
    if (type == WindowScreen) {
        w = std::floor(w / 2 + 0.5);
        h = std::floor(h / 2 + 0.5);
    }
    setSceneRect(0, 0, w, h);

    QString typeText;
    switch (type) {
    case WindowScreen:
        typeText = tr("窗口画面");
        break;
    case TemplateScreen:
        typeText = tr("模板画面");
        break;
    default:
        typeText = tr("基本画面");
        break;
    }
    setObjectName(QStringLiteral("%1_%2").arg(typeText).arg(n));

    connect(this, &QObject::objectNameChanged, this, [this](const QString &name) {
        if (m_view)
            m_view->setWindowTitle(name);
    });
    connect(EditorSettings::instance(), &EditorSettings::changed, this, [this] { update(); });
}

DrawScene::~DrawScene() = default;

bool DrawScene::shapesLocked()
{
    return EditorSettings::instance()->values().lockAll;
}

void DrawScene::reportLocked()
{
    emit statusMessage(tr("元件已锁定：不能移动、缩放、变形或旋转。"));
}

DrawView *DrawScene::view() const
{
    return m_view;
}

void DrawScene::setView(DrawView *view)
{
    m_view = view;
}

QMap<int, int> &DrawScene::screenCounters()
{
    static QMap<int, int> counters;
    return counters;
}

void DrawScene::resetScreenCounters()
{
    screenCounters().clear();
}

double DrawScene::width() const
{
    return sceneRect().width();
}

void DrawScene::setWidth(double width)
{
    QRectF r = sceneRect();
    r.setWidth(width);
    setSceneRect(r);
}

double DrawScene::height() const
{
    return sceneRect().height();
}

void DrawScene::setHeight(double height)
{
    QRectF r = sceneRect();
    r.setHeight(height);
    setSceneRect(r);
}

void DrawScene::setPenColor(const QColor &colour)
{
    m_pen.setColor(colour);
    rebuildBrush();
}

GraphicsItem::BrushStyle DrawScene::brushStyle() const
{
    return GraphicsItem::BrushStyle(m_brushStyle);
}

void DrawScene::setBrushStyle(GraphicsItem::BrushStyle style)
{
    m_brushStyle = style;
    rebuildBrush();
}

void DrawScene::setBrushColor(const QColor &colour)
{
    m_brush.setColor(colour);
    rebuildBrush();
}

void DrawScene::rebuildBrush()
{
    // Gradients run between the pen and the fill colour over the whole
    // screen; the fill colour is kept on the brush so it reads back.
    const QColor fill = m_brush.color();
    m_brush = ShapeBrushFactory(sceneRect(), m_brushStyle, m_pen.color(), fill);
    m_brush.setColor(fill);
    update();
}

void DrawScene::mouseEvent(QGraphicsSceneMouseEvent *event)
{
    switch (event->type()) {
    case QEvent::GraphicsSceneMousePress:
        QGraphicsScene::mousePressEvent(event);
        break;
    case QEvent::GraphicsSceneMouseMove:
        QGraphicsScene::mouseMoveEvent(event);
        break;
    case QEvent::GraphicsSceneMouseRelease:
        QGraphicsScene::mouseReleaseEvent(event);
        break;
    default:
        break;
    }
}

void DrawScene::reportToolChange(int before)
{
    if (DrawTool::currentShape != before)
        emit currentToolChanged(DrawTool::currentShape);
}

void DrawScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const int before = DrawTool::currentShape;
    if (DrawTool *tool = DrawTool::findTool(DrawTool::currentShape))
        tool->mousePressEvent(event, this);
    reportToolChange(before);
}

void DrawScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (DrawTool *tool = DrawTool::findTool(DrawTool::currentShape))
        tool->mouseMoveEvent(event, this);
}

void DrawScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    const int before = DrawTool::currentShape;
    if (DrawTool *tool = DrawTool::findTool(DrawTool::currentShape))
        tool->mouseReleaseEvent(event, this);
    reportToolChange(before);
}

void DrawScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    const int before = DrawTool::currentShape;
    if (DrawTool *tool = DrawTool::findTool(DrawTool::currentShape))
        tool->mouseDoubleClickEvent(event, this);
    reportToolChange(before);
}

void DrawScene::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    double step = 20;
    if (modifiers & Qt::ShiftModifier)
        step = (modifiers & Qt::ControlModifier) ? 1 : 5;

    m_keyMoved = false;
    QPointF delta;
    switch (event->key()) {
    case Qt::Key_Left:
        delta = QPointF(-step, 0);
        break;
    case Qt::Key_Right:
        delta = QPointF(step, 0);
        break;
    case Qt::Key_Up:
        delta = QPointF(0, -step);
        break;
    case Qt::Key_Down:
        delta = QPointF(0, step);
        break;
    case Qt::Key_A:
        if (modifiers == Qt::ControlModifier) {
            if (m_view)
                m_view->setUpdatesEnabled(false);
            const QList<QGraphicsItem *> all = items();
            for (QGraphicsItem *item : all)
                item->setSelected(true);
            if (m_view)
                m_view->setUpdatesEnabled(true);
            emit selectionChanged();
        }
        break;
    case Qt::Key_Escape: {
        const int before = DrawTool::currentShape;
        // A shape half drawn is dropped rather than left for the next click
        // to extend; any tool may hold one.
        for (DrawTool *tool : DrawTool::tools())
            tool->cancel(this);
        clearSelection();
        DrawTool::currentShape = SelectKind;
        reportToolChange(before);
        if (m_view)
            m_view->viewport()->setCursor(Qt::ArrowCursor);
        break;
    }
    default:
        break;
    }

    if (!delta.isNull()) {
        // Fixed shapes stay; a selection of only fixed shapes records nothing.
        QList<QGraphicsItem *> movable;
        QRectF box;
        const QList<QGraphicsItem *> selected = selectedItems();
        for (QGraphicsItem *item : selected) {
            if (item->flags() & QGraphicsItem::ItemIsMovable) {
                movable.append(item);
                box |= item->mapRectToScene(item->boundingRect());
            }
        }
        if (!movable.isEmpty() && shapesLocked()) {
            reportLocked();
            movable.clear();
        }
        if (!movable.isEmpty() && GridSnap::active(modifiers))
            delta = GridSnap::step(box.topLeft(), QPointF(sign(delta.x()), sign(delta.y())));
        for (QGraphicsItem *item : qAsConst(movable)) {
            moveBy(item, delta);
            m_keyMoved = true;
        }
        if (m_keyMoved)
            m_movedBy += delta;
    }
    QGraphicsScene::keyPressEvent(event);
}

void DrawScene::keyReleaseEvent(QKeyEvent *event)
{
    if (m_keyMoved && !selectedItems().isEmpty())
        emit itemMoved(nullptr, m_movedBy);
    // Releasing a modifier after the arrow key must not record the run a
    // second time.
    m_keyMoved = false;
    m_movedBy = QPointF();
    QGraphicsScene::keyReleaseEvent(event);
}

void DrawScene::setGridVisible(bool visible)
{
    if (m_gridVisible == visible)
        return;
    m_gridVisible = visible;
    update();
}

void DrawScene::drawBackground(QPainter *painter, const QRectF &rect)
{
    QGraphicsScene::drawBackground(painter, rect);
    const QRectF screen = sceneRect();
    painter->fillRect(screen, m_brush);
    if (!m_gridVisible)
        return;

    const int left = qRound(screen.x());
    const int top = qRound(screen.y());
    const int right = left + qRound(screen.width()) - 1;
    const int bottom = top + qRound(screen.height()) - 1;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const EditorSettings::Values &settings = EditorSettings::instance()->values();
    if (settings.gridShown) {
        painter->setPen(QPen(QBrush(settings.gridColor), 0.2, Qt::DashLine));
        for (int x = left; x < right; x += settings.gridX)
            painter->drawLine(x, top, x, bottom);
        for (int y = top; y < bottom; y += settings.gridY)
            painter->drawLine(left, y, right, y);
    }
    painter->setPen(QPen(QBrush(Qt::black), 0.2, Qt::SolidLine));
    painter->drawLine(right, top, right, bottom);
    painter->drawLine(left, bottom, right, bottom);
    painter->restore();
}

void DrawScene::assignItemName(QGraphicsItem *item)
{
    QObject *object = nullptr;
    QString base;
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
        object = group;
        base = group->typeName();
    } else if (auto *shape = singleShape(item)) {
        object = dynamic_cast<QObject *>(item);
        base = shape->typeName();
    }
    if (!object)
        return;

    const QString key = QString::fromLatin1(object->metaObject()->className());
    const int n = ++m_nameCounters[key];
    QString candidate = QStringLiteral("%1_%2").arg(base).arg(n);
    // One pass, bottom first: a clash extends the candidate and the walk
    // goes on with it. A clash with a shape already passed is not caught.
    const QList<QGraphicsItem *> shapes = userItems();
    for (QGraphicsItem *other : shapes) {
        const QObject *otherObject = shapeObject(other);
        if (otherObject && otherObject != object && otherObject->objectName() == candidate)
            candidate = QStringLiteral("%1_1").arg(candidate);
    }
    object->setObjectName(candidate);
}

QList<QGraphicsItem *> DrawScene::userItems() const
{
    QList<QGraphicsItem *> result;
    const QList<QGraphicsItem *> all = items(Qt::AscendingOrder);
    for (QGraphicsItem *item : all) {
        if (isShape(item))
            result.append(item);
    }
    return result;
}

namespace {

// Levels of groups from item down to its deepest group, item included.
int groupHeight(const QGraphicsItem *item)
{
    if (!dynamic_cast<const GraphicsItemGroup *>(item))
        return 0;
    int below = 0;
    for (const QGraphicsItem *child : item->childItems())
        below = std::max(below, groupHeight(child));
    return below + 1;
}

} // namespace

bool DrawScene::refuseTooDeepGroup(const QList<QGraphicsItem *> &items)
{
    int deepest = 0;
    for (const QGraphicsItem *item : items) {
        int above = 0;
        for (const QGraphicsItem *p = item->parentItem(); p; p = p->parentItem())
            ++above;
        deepest = std::max(deepest, above + groupHeight(item));
    }
    if (deepest + 1 <= NestingLimit::MaxDepth)
        return false;
    emit statusMessage(tr("组合最多嵌套%1层，不能再组合。").arg(NestingLimit::MaxDepth));
    return true;
}

GraphicsItemGroup *DrawScene::createGroup(const QList<QGraphicsItem *> &items, bool addToScene,
                                          bool nameIt)
{
    // The closest ancestor shared by all items, if any.
    QGraphicsItem *parent = nullptr;
    if (!items.isEmpty()) {
        QList<QGraphicsItem *> chain;
        for (QGraphicsItem *p = items.first()->parentItem(); p; p = p->parentItem())
            chain.append(p);
        int reached = chain.isEmpty() ? -1 : 0;
        for (int i = 1; i < items.size() && reached >= 0; ++i) {
            int index = -1;
            for (QGraphicsItem *p = items.at(i)->parentItem(); p && index < 0; p = p->parentItem())
                index = chain.indexOf(p);
            reached = index < 0 ? -1 : std::max(reached, index);
        }
        if (reached >= 0)
            parent = chain.at(reached);
    }

    auto *group = new GraphicsItemGroup(parent);
    if (!parent && addToScene)
        addItem(group);

    for (QGraphicsItem *item : items) {
        item->setSelected(false);
        if (!isInsideGroup(item))
            group->addToGroup(item);
    }
    group->setZValue(StackingOrder::maxZ(items));
    group->normalizeGeometry();
    if (nameIt)
        assignItemName(group);
    return group;
}

void DrawScene::destroyGroup(GraphicsItemGroup *group)
{
    if (!group)
        return;
    group->setSelected(false);
    const QList<QGraphicsItem *> members = group->members();
    for (QGraphicsItem *member : members) {
        // Selected after leaving the group: a member cannot be selected.
        group->removeFromGroup(member);
        member->setSelected(true);
    }
    removeItem(group);
    delete group;
}

void DrawScene::realizeWidgets()
{
    if (!m_widgetsPending)
        return;
    m_widgetsPending = false;
    const QList<QGraphicsItem *> all = items();
    for (QGraphicsItem *item : all) {
        if (item->type() == WidgetItemType)
            static_cast<GraphicsWidgetItem *>(item)->proxy();
    }
}
