#pragma once

#include "abstractshapetype.h"
#include "model/keptcontent.h"
#include "shapekind.h"

#include <QBrush>
#include <QObject>
#include <QPen>

// The base of every single shape: pen, brush, size, handles, the common
// properties and the generic XML form. Properties are what the property
// browser edits and what the project file stores.
class GraphicsItem : public QObject, public AbstractShapeType<QGraphicsItem>
{
    Q_OBJECT
    Q_PROPERTY(QPointF pos READ boxPos WRITE setBoxPos)
    Q_PROPERTY(double width READ width WRITE setWidth)
    Q_PROPERTY(double height READ height WRITE setHeight)
    Q_PROPERTY(double opacity READ opacity WRITE setShapeOpacity)
    Q_PROPERTY(double rotation READ rotation WRITE setShapeRotation)
    Q_PROPERTY(double zValue READ zValue WRITE setZValue)
    Q_PROPERTY(bool fixe READ fixe WRITE setFixe)

public:
    enum PenStyle { NoPen, SolidLine, DashLine, DotLine, DashDotLine, DashDotDotLine };
    Q_ENUM(PenStyle)
    enum BrushStyle {
        NoBrush,
        SolidPattern,
        Dense1Pattern,
        Dense2Pattern,
        Dense3Pattern,
        Dense4Pattern,
        Dense5Pattern,
        Dense6Pattern,
        Dense7Pattern,
        HorPattern,
        VerPattern,
        CrossPattern,
        BDiagPattern,
        FDiagPattern,
        DiagCrossPattern,
        LinearGradient01Pattern,
        LinearGradient02Pattern,
        LinearGradient03Pattern,
        LinearGradient04Pattern,
        LinearGradient05Pattern,
        LinearGradient06Pattern,
        LinearGradient07Pattern,
        LinearGradient08Pattern,
        LinearGradient09Pattern,
        LinearGradient10Pattern,
        LinearGradient11Pattern,
        LinearGradient12Pattern,
        LinearGradient13Pattern,
        LinearGradient14Pattern,
        LinearGradient15Pattern,
        LinearGradient16Pattern,
        RadialGradient1Pattern,
        RadialGradient2Pattern,
        ConicalGradient1Pattern,
        ConicalGradient2Pattern
    };
    Q_ENUM(BrushStyle)
    enum EllispseType { Pie, Arc, Chord };
    Q_ENUM(EllispseType)
    enum AlignHor { AlignLeft, AlignRight, AlignHCenter };
    Q_ENUM(AlignHor)
    enum AlignVer { AlignTop, AlignBottom, AlignVCenter };
    Q_ENUM(AlignVer)

    explicit GraphicsItem(QGraphicsItem *parent = nullptr);

    int type() const override { return ShapeItemType; }

    // The top-left corner of the shape's box in parent coordinates.
    QPointF boxPos() const;
    void setBoxPos(const QPointF &topLeft);
    double width() const { return m_width; }
    void setWidth(double width);
    double height() const { return m_height; }
    void setHeight(double height);
    // Values of zero or less store 0.01: a shape never becomes invisible.
    void setShapeOpacity(double opacity);
    // The angle unchanged changes nothing: the toolkit would still give the
    // shape a transform of its own and refresh the scene's index for it.
    void setShapeRotation(double angle)
    {
        if (angle != rotation())
            setRotation(angle);
    }

    // Pen and brush accessors shared by the shape classes that expose them
    // as properties.
    QPen pen() const { return m_pen; }
    void setPen(const QPen &pen)
    {
        m_pen = pen;
        update();
    }
    QBrush brush() const { return m_brush; }
    void setBrush(const QBrush &brush)
    {
        m_brush = brush;
        update();
    }
    // The widest pen the toolkit draws; it refuses wider ones (and negative
    // ones) with a warning on stderr and keeps the old width.
    static constexpr int MaxPenSize = 32767;
    int penSize() const { return m_pen.width(); }
    // size cut to [0, MaxPenSize].
    void setPenSize(int size);
    PenStyle penStyle() const { return PenStyle(m_pen.style()); }
    void setPenStyle(PenStyle style);
    QColor penColor() const { return m_pen.color(); }
    // Gradient fills follow the line colour, so the brush is rebuilt.
    void setPenColor(const QColor &colour);
    BrushStyle brushStyle() const { return BrushStyle(m_brushStyle); }
    void setBrushStyle(BrushStyle style);
    QColor brushColor() const { return m_brush.color(); }
    void setBrushColor(const QColor &colour);

    // Hooks behind the subclass properties radiusX ... alignVer; inert here.
    virtual qreal radiusX() const { return 0.0; }
    virtual void setRadiusX(qreal) { }
    virtual qreal radiusY() const { return 0.0; }
    virtual void setRadiusY(qreal) { }
    virtual int startAngle() const { return 0; }
    virtual void setStartAngle(int) { }
    virtual int spanAngle() const { return 0; }
    virtual void setSpanAngle(int) { }
    virtual EllispseType eshape() const { return Pie; }
    virtual void setEshape(EllispseType) { }
    virtual QString text() const { return QString(); }
    virtual void setText(const QString &) { }
    virtual AlignHor alignHor() const { return AlignHCenter; }
    virtual void setAlignHor(AlignHor) { }
    virtual AlignVer alignVer() const { return AlignVCenter; }
    virtual void setAlignVer(AlignVer) { }

    void updateHandles() override;
    // What readXml() kept of the element that this version does not read.
    const KeptContent &keptContent() const { return m_keptContent; }
    void setKeptContent(const KeptContent &kept) { m_keptContent = kept; }
    // The same with what the shape's child elements kept, each with the
    // name of the element that held it, for a report; parts that keep
    // nothing are left out.
    virtual QVector<QPair<QString, KeptContent>> keptParts() const;
    bool readXml(QXmlStreamReader *reader) override;
    bool writeXml(QXmlStreamWriter *writer) override;
    bool fixe() const override { return AbstractShapeType<QGraphicsItem>::fixe(); }
    void setFixe(bool fixed) override { AbstractShapeType<QGraphicsItem>::setFixe(fixed); }

    // While false, positions are taken as given instead of being held on the
    // screen: saving and loading take groups apart and form them again, and
    // must leave members that overlap the screen edge where they are.
    static bool &screenClampEnabled();

    // The initial fill colours come from this generator; tests seed it to
    // get repeatable shapes.
    static void seedRandom(quint32 seed);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    // Copies what every clone shares (size, position, pen, brush, transform,
    // rotation, scale, bindings, kept content; z raised by 0.1) onto copy and
    // places its handles.
    void copyCommonAttributes(GraphicsItem *copy) const;
    // Rebuilds the brush for the current style, keeping the fill colour.
    void applyBrushStyle();
    // The attributes the shape's element is written with; any other one
    // read is kept.
    virtual QStringList fileAttributeNames();
    // Reads the rest of the shape's element: its bindings, and every other
    // child kept in slot 0.
    void readChildElements(QXmlStreamReader *reader);
    // The bindings, as the first children of the shape's element.
    void writeBindings(QXmlStreamWriter *writer) const;

    // What the shape's element held that this version does not read,
    // written back by writeXml(). A clone takes it along: a copy of a shape
    // from a newer version is that shape too, and must save as it does.
    KeptContent m_keptContent;

    QPen m_pen;
    QBrush m_brush;
    int m_brushStyle = SolidPattern;
};

// How far a box must move to lie on the screen, per axis: left (top) edge
// first, then the right (bottom) rule, which wins for boxes larger than the
// screen. (0, 0) when the box already lies inside.
QPointF screenClampShift(const QRectF &box, const QRectF &screen);

// The shape behind a scene item: the QObject side of a single shape or a
// group, or null for helper items.
QObject *shapeObject(QGraphicsItem *item);
// The shape interface of a single shape; null for groups and helpers.
AbstractShapeType<QGraphicsItem> *singleShape(QGraphicsItem *item);
// The bindings of a single shape or a group; none for helper items.
QVector<Binding> shapeBindings(QGraphicsItem *item);
// Sets them on a single shape or a group; false for helper items.
bool setShapeBindings(QGraphicsItem *item, const QVector<Binding> &bindings);
// What a single shape's or a group's element kept unread (bindings of kinds
// this version does not know among it); null for helper items.
const KeptContent *shapeKeptContent(QGraphicsItem *item);
bool setShapeKeptContent(QGraphicsItem *item, const KeptContent &kept);
