#include "propertyregistry.h"

#include "builtintables.h"

#include <QHash>
#include <QMetaObject>
#include <QObject>

namespace {

const QString Base = QStringLiteral("1Base");
const QString Border = QStringLiteral("2Border");
const QString Brush = QStringLiteral("3Brush");
const QString Text = QStringLiteral("4Text");

struct Entry
{
    const char *property;
    QString display;
};

} // namespace

void PropertyRegistry::touch()
{
    // One counter for all registries: a cache filled from one registry is
    // never taken for another's.
    static int counter = 0;
    m_revision = ++counter;
}

void PropertyRegistry::clear()
{
    touch();
    m_groups.clear();
    m_displayNames.clear();
}

void PropertyRegistry::add(const QString &className, const QString &group, const QString &property,
                           const QString &displayName)
{
    touch();
    m_groups[className][group].append(property);
    m_displayNames[className].insert(property, displayName);
}

void PropertyRegistry::fill()
{
    clear();

    auto addAll
        = [this](const QStringList &classes, const QString &group, const QVector<Entry> &entries) {
              for (const QString &cls : classes) {
                  for (const Entry &e : entries)
                      add(cls, group, QLatin1String(e.property), e.display);
              }
          };

    const QVector<Entry> itemBase = {
        {"objectName", tr("名称")}, {"opacity", tr("透明度")}, {"zValue", tr("z值")},
        {"fixe", tr("固定")},       {"rotation", tr("旋转")},
    };
    const QVector<Entry> boxGeometry = {
        {"pos", tr("位置")},
        {"width", tr("宽度")},
        {"height", tr("高度")},
    };
    const QVector<Entry> pen = {
        {"penSize", tr("线宽")},
        {"penStyle", tr("线样式")},
        {"penColor", tr("线颜色")},
    };
    const QVector<Entry> brush = {
        {"brushStyle", tr("样式")},
        {"brushColor", tr("颜色")},
    };

    const QString rect = QStringLiteral("GraphicsRectItem");
    const QString roundrect = QStringLiteral("GraphicsRoundrectItem");
    const QString ellipse = QStringLiteral("GraphicsEllipseItem");
    const QString polygon = QStringLiteral("GraphicsPolygonItem");
    const QStringList lines
        = {QStringLiteral("GraphicsLineItem"), QStringLiteral("GraphicsPolyline"),
           QStringLiteral("GraphicsBezier")};
    const QStringList boxes = {rect, roundrect, ellipse};

    addAll(boxes, Base, itemBase);
    addAll(boxes, Base, boxGeometry);
    addAll({roundrect}, Base, {{"radiusX", tr("X半径")}, {"radiusY", tr("Y半径")}});
    addAll({ellipse}, Base,
           {{"startAngle", tr("起始角度")}, {"spanAngle", tr("角度大小")}, {"eshape", tr("形状")}});
    addAll(boxes, Border, pen);
    addAll(boxes, Brush, brush);

    addAll(QStringList {polygon} + lines, Base, itemBase);
    addAll(QStringList {polygon} + lines, Border, pen);
    addAll({polygon}, Brush, brush);

    addAll({QStringLiteral("GraphicsItemGroup")}, Base,
           {{"objectName", tr("名称")},
            {"zValue", tr("z值")},
            {"fixe", tr("固定")},
            {"rotation", tr("旋转")},
            {"pos", tr("位置")}});

    const QString textItem = QStringLiteral("GraphicsTextItem");
    addAll({textItem}, Base, itemBase);
    addAll({textItem}, Base, boxGeometry);
    addAll({textItem}, Brush, {{"brushStyle", tr("样式")}, {"brushColor", tr("背景颜色")}});
    addAll({textItem}, Text,
           {{"text", tr("文字")},
            {"alignHor", tr("水平对齐")},
            {"alignVer", tr("垂直对齐")},
            {"penColor", tr("字体颜色")},
            {"font", tr("字体")}});

    const QString widget = QStringLiteral("GraphicsWidgetItem");
    addAll({widget}, Base,
           {{"objectName", tr("名称")},
            {"opacity", tr("透明度")},
            {"zValue", tr("z值")},
            {"fixe", tr("固定")}});
    addAll({widget}, Base, boxGeometry);
    addAll({widget}, Text, {{"text", tr("文字")}});

    const QString scene = QStringLiteral("DrawScene");
    addAll({scene}, Base,
           {{"objectName", tr("名称")}, {"width", tr("宽度")}, {"height", tr("高度")}});
    addAll({scene}, Brush,
           {{"penColor", tr("前景颜色")},
            {"brushColor", tr("背景颜色")},
            {"brushStyle", tr("填充样式")}});
}

QMap<QString, QStringList> PropertyRegistry::groups(const QString &className) const
{
    return m_groups.value(className);
}

QStringList PropertyRegistry::propertyNames(const QString &className) const
{
    QStringList names;
    const QMap<QString, QStringList> byGroup = m_groups.value(className);
    for (auto it = byGroup.cbegin(); it != byGroup.cend(); ++it)
        names += it.value();
    if (names.removeAll(QStringLiteral("pos")) > 0)
        names.append(QStringLiteral("pos"));
    return names;
}

QString PropertyRegistry::displayName(const QString &className, const QString &property) const
{
    return m_displayNames.value(className).value(property);
}

QHash<QString, QString> PropertyRegistry::displayNames(const QString &className) const
{
    return m_displayNames.value(className);
}

QStringList propertyNamesOf(const QObject *object)
{
    if (!object)
        return QStringList();
    // Asked once per shape read; the lists are built once per class and
    // registry revision instead of once per shape.
    static QHash<const QMetaObject *, QStringList> cache;
    static int cachedRevision = -1;
    const PropertyRegistry &registry = BuiltinTables::instance()->propertyRegistry();
    if (registry.revision() != cachedRevision) {
        cache.clear();
        cachedRevision = registry.revision();
    }
    const QMetaObject *meta = object->metaObject();
    auto it = cache.constFind(meta);
    if (it == cache.constEnd())
        it = cache.insert(meta, registry.propertyNames(QString::fromLatin1(meta->className())));
    return it.value();
}

QString propertyDisplayNameOf(const QObject *object, const QString &property)
{
    if (!object || property.isEmpty())
        return QString();
    return BuiltinTables::instance()->propertyRegistry().displayName(
        QString::fromLatin1(object->metaObject()->className()), property);
}
