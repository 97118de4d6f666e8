#include "drawtool.h"

#include "drawscene.h"
#include "drawview.h"
#include "polygontool.h"
#include "recttool.h"
#include "rotationtool.h"
#include "selecttool.h"
#include "shapes/shapekind.h"
#include "widgettool.h"

#include <QGraphicsSceneMouseEvent>
#include <QPixmap>

#include <array>
#include <cmath>

int DrawTool::currentShape = SelectKind;
bool DrawTool::continuousInsert = false;
DrawTool::SelectMode DrawTool::selectMode = DrawTool::None;
int DrawTool::dragHandle = 0;
QPointF DrawTool::downPos;
QPointF DrawTool::lastPos;

namespace {

QCursor pictureCursor(const QString &path)
{
    const QPixmap picture(path);
    return QCursor(picture, picture.width() / 2, picture.height() / 2);
}

} // namespace

DrawTool::DrawTool(int kind)
    : m_kind(kind)
{
    registry().append(this);
}

DrawTool::~DrawTool()
{
    registry().removeAll(this);
}

QList<DrawTool *> &DrawTool::registry()
{
    static QList<DrawTool *> tools;
    return tools;
}

QList<DrawTool *> DrawTool::tools()
{
    return registry();
}

DrawTool *DrawTool::findTool(int shape)
{
    const int wanted = shape > WidgetKind ? int(WidgetKind) : shape;
    for (DrawTool *tool : qAsConst(registry())) {
        if (tool->m_kind == wanted)
            return tool;
    }
    return nullptr;
}

void DrawTool::createTools()
{
    // A trivially destructible holder: the tools stay reachable until the
    // process ends instead of being torn down with the registry.
    static std::array<DrawTool *, 12> created {};
    if (created[0])
        return;
    // The registry must be constructed before anything that may outlive it.
    registry();
    const int boxKinds[] = {RectangleKind, RoundrectKind, EllipseKind, TextKind, ImageKind};
    const int pointKinds[] = {LineKind, PolygonKind, BezierKind, PolylineKind};
    size_t n = 0;
    created[n++] = new SelectTool;
    created[n++] = new RotationTool;
    for (int kind : boxKinds)
        created[n++] = new RectTool(kind);
    created[n++] = new WidgetTool;
    for (int kind : pointKinds)
        created[n++] = new PolygonTool(kind);
}

void DrawTool::setViewCursor(DrawScene *scene, SelectMode mode, int handle)
{
    DrawView *view = scene ? scene->view() : nullptr;
    if (!view)
        return;
    QWidget *viewport = view->viewport();
    switch (handle) {
    case SizeHandleRect::TopLeft:
    case SizeHandleRect::BottomRight:
        viewport->setCursor(Qt::SizeFDiagCursor);
        return;
    case SizeHandleRect::Top:
    case SizeHandleRect::Bottom:
        viewport->setCursor(Qt::SizeVerCursor);
        return;
    case SizeHandleRect::TopRight:
    case SizeHandleRect::BottomLeft:
        viewport->setCursor(Qt::SizeBDiagCursor);
        return;
    case SizeHandleRect::Right:
    case SizeHandleRect::Left:
        viewport->setCursor(Qt::SizeHorCursor);
        return;
    default:
        break;
    }
    switch (mode) {
    case None:
        viewport->setCursor(Qt::ArrowCursor);
        break;
    case Size:
        viewport->setCursor(Qt::CrossCursor);
        break;
    case Move:
        viewport->setCursor(Qt::ClosedHandCursor);
        break;
    case Rotate:
        viewport->setCursor(pictureCursor(QStringLiteral(":/resources/images/graph/rotate.png")));
        break;
    case Editor:
        viewport->setCursor(pictureCursor(QStringLiteral(":/resources/images/graph/hand.png")));
        break;
    case NetSelect:
        break;
    }
}

bool DrawTool::samePoint(const QPointF &a, const QPointF &b)
{
    return std::abs(a.x() - b.x()) <= 1e-12 && std::abs(a.y() - b.y()) <= 1e-12;
}

void DrawTool::mousePressEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    downPos = event->scenePos();
    lastPos = downPos;
    emit scene->currentViewChanged(scene->view());
}

void DrawTool::mouseMoveEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(scene)
    lastPos = event->scenePos();
}

void DrawTool::mouseReleaseEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    if (samePoint(lastPos, downPos))
        currentShape = SelectKind;
    if (DrawView *view = scene->view())
        view->viewport()->setCursor(Qt::ArrowCursor);
}

void DrawTool::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event, DrawScene *scene)
{
    Q_UNUSED(event)
    Q_UNUSED(scene)
}

void DrawTool::cancel(DrawScene *scene)
{
    Q_UNUSED(scene)
}
