#include "drawmanager.h"

#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/binding.h"
#include "model/config.h"
#include "model/nestinglimit.h"
#include "model/propertyregistry.h"
#include "projectfile.h"
#include "projectscript.h"
#include "projectsearch.h"
#include "shapes/graphicsbezier.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicslineitem.h"
#include "shapes/graphicspolygonitem.h"
#include "shapes/graphicspolyline.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicsroundrectitem.h"
#include "shapes/graphicstextitem.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapeattributes.h"
#include "shapes/shapeelement.h"
#include "shapes/shapeclone.h"

#include <QScopedValueRollback>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>

namespace {

bool insideGroup(const QGraphicsItem *item)
{
    return dynamic_cast<QGraphicsItemGroup *>(item->parentItem()) != nullptr;
}

// Lets a shape made by createItemByName read its element. A shape whose
// reading fails is deleted; returns whether it survived.
bool readShape(QGraphicsItem *item, QXmlStreamReader *reader)
{
    AbstractShapeType<QGraphicsItem> *shape = singleShape(item);
    if (shape && shape->readXml(reader))
        return true;
    delete item;
    return false;
}

bool isGroupElement(const QXmlStreamReader *reader)
{
    ShapeElement element;
    return shapeElementFromName(reader->name(), &element) && element == ShapeElement::Group;
}

// A script's text as the project file holds it: line ends as "\n", and
// without the characters XML 1.0 cannot carry at all (a stray control
// character would make the whole file unreadable).
QString scriptFileText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (u == '\r') {
            result.append(QLatin1Char('\n'));
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result.append(c);
            result.append(text.at(++i));
            continue;
        }
        const bool allowed = u == '\t' || u == '\n' || (u >= 0x20 && u < 0xd800)
                             || (u >= 0xe000 && u < 0xfffe);
        if (allowed)
            result.append(c);
    }
    return result;
}

} // namespace

namespace {

DrawManager *s_current = nullptr;

} // namespace

DrawManager *DrawManager::instance()
{
    if (!s_current)
        s_current = new DrawManager;
    return s_current;
}

DrawManager *DrawManager::setCurrent(DrawManager *manager)
{
    DrawManager *previous = s_current;
    s_current = manager;
    return previous;
}

DrawManager::DrawManager(QObject *parent)
    : QObject(parent)
{
}

DrawManager::~DrawManager()
{
    clear();
    if (s_current == this)
        s_current = nullptr;
}

QObject *DrawManager::createForm(int type, QObject *copyFrom)
{
    switch (type) {
    case BaseScreen:
    case WindowScreen:
    case TemplateScreen:
        return createScreen(type, qobject_cast<DrawScene *>(copyFrom));
    case ScriptScreen: {
        ProjectScript *script = createScript();
        if (auto *source = qobject_cast<ProjectScript *>(copyFrom))
            script->setText(source->text());
        return script;
    }
    default:
        return nullptr;
    }
}

DrawScene *DrawManager::createScreen(int type, const DrawScene *copyFrom)
{
    auto *scene = new DrawScene(type);
    m_scenes.append(scene);

    if (copyFrom) {
        // The copy looks like its screen: size, background and frame go
        // with the shapes (only the name is its own), or shapes placed on a
        // full-size screen would lie outside a default-size copy.
        const QStringList properties = propertyNamesOf(copyFrom);
        for (const QString &name : properties) {
            if (name == QLatin1String("objectName"))
                continue;
            const QByteArray key = name.toLatin1();
            scene->setProperty(key.constData(), copyFrom->property(key.constData()));
        }
        const QList<QGraphicsItem *> items = copyFrom->userItems();
        for (QGraphicsItem *item : items) {
            if (insideGroup(item))
                continue;
            if (QGraphicsItem *copy = cloneWithNames(item))
                scene->addItem(copy);
        }
        if (m_keptElements.contains(copyFrom))
            m_keptElements.insert(scene, m_keptElements.value(copyFrom));
    }

    setCurrentScene(scene);
    return scene;
}

ProjectScript *DrawManager::createScript()
{
    auto *script = new ProjectScript(this);
    m_scripts.append(script);
    ++m_scriptsMade;
    // Scripts read from a file keep their stored names, which may already
    // use the next number.
    QStringList taken;
    for (const ProjectScript *other : qAsConst(m_scripts))
        taken.append(other->name());
    int number = m_scriptsMade;
    while (taken.contains(tr("脚本_%1").arg(number)))
        ++number;
    script->setName(tr("脚本_%1").arg(number));
    return script;
}

void DrawManager::setCurrentScene(DrawScene *scene)
{
    if (scene == m_currentScene)
        return;
    if (m_currentScene)
        m_currentScene->clearSelection();
    m_currentScene = scene;
}

bool DrawManager::removeForm(QObject *form)
{
    if (auto *script = qobject_cast<ProjectScript *>(form)) {
        if (!m_scripts.removeOne(script))
            return false;
        delete script;
        return true;
    }
    auto *scene = qobject_cast<DrawScene *>(form);
    // A scene this manager did not make is not its to delete.
    if (!scene || !m_scenes.contains(scene))
        return false;
    const bool wasCurrent = scene == m_currentScene;
    destroyScreen(scene);
    if (wasCurrent)
        setCurrentScene(m_scenes.isEmpty() ? nullptr : m_scenes.last());
    return true;
}

void DrawManager::clear()
{
    m_currentScene = nullptr;
    while (!m_scenes.isEmpty())
        destroyScreen(m_scenes.last());
    m_keptFormContent = KeptContent();
    const QList<ProjectScript *> scripts = m_scripts;
    m_scripts.clear();
    m_scriptsMade = 0;
    qDeleteAll(scripts);
}

QGraphicsItem *DrawManager::createItemByName(QXmlStreamReader *reader)
{
    ShapeElement element;
    if (!shapeElementFromName(reader->name(), &element))
        return nullptr;
    switch (element) {
    case ShapeElement::Rectangle:
        return new GraphicsRectItem(QRect());
    case ShapeElement::Roundrect:
        return new GraphicsRoundrectItem(QRect());
    case ShapeElement::Ellipse:
        return new GraphicsEllipseItem(QRect());
    case ShapeElement::Polygon:
        return new GraphicsPolygonItem;
    case ShapeElement::Bezier:
        return new GraphicsBezier;
    case ShapeElement::Polyline:
        return new GraphicsPolyline;
    case ShapeElement::Line:
        return new GraphicsLineItem;
    case ShapeElement::Text:
        return new GraphicsTextItem(QRect());
    case ShapeElement::Image:
        return new GraphicsImageItem(QRect());
    case ShapeElement::Group:
        return loadGroup(reader);
    case ShapeElement::Widget: {
        // A kind no widget is made for shows as a label: it becomes one, and
        // the load says so, rather than being saved back as a kind the user
        // never saw.
        const QStringRef text = reader->attributes().value(QLatin1String("type"));
        ClampedNumber::Reading reading = ClampedNumber::Fits;
        int kind = int(ClampedNumber::readInteger(text, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max(), LabelKind,
                                                  &reading));
        if (reading != ClampedNumber::Missing
            && (reading != ClampedNumber::Fits || kind < LabelKind || kind > SpinBoxKind)) {
            kind = LabelKind;
            Config::instance()->noteClamped({reader->name().toString(), QStringLiteral("type"),
                                             text.toString(), QString::number(kind),
                                             ProjectPlace(),
                                             reading == ClampedNumber::NotANumber});
        }
        return new GraphicsWidgetItem(kind, QRect());
    }
    }
    return nullptr;
}

GraphicsItemGroup *DrawManager::loadGroup(QXmlStreamReader *reader)
{
    return loadGroup(reader, 1);
}

GraphicsItemGroup *DrawManager::loadGroup(QXmlStreamReader *reader, int depth,
                                          KeptContent *kept, int shapesBefore)
{
    if (depth > NestingLimit::MaxDepth) {
        NestingLimit::refuse(reader);
        return nullptr;
    }
    DrawScene *scene = m_currentScene;
    if (!scene) {
        reader->skipCurrentElement();
        return nullptr;
    }
    GraphicsItemGroup::StoredAttributes stored = GraphicsItemGroup::readStoredAttributes(reader);

    QList<QGraphicsItem *> members;
    while (reader->readNextStartElement()) {
        QGraphicsItem *item = nullptr;
        if (isGroupElement(reader)) {
            // Read to its end even when it yields nothing.
            item = loadGroup(reader, depth + 1, &stored.kept, members.size());
        } else if (Binding::readInto(reader, &stored.bindings, NestingLimit::MaxDepth - depth)) {
            continue;
        } else if ((item = createItemByName(reader))) {
            if (!readShape(item, reader))
                item = nullptr;
        } else {
            // Stays with the group, among its members where it stood.
            stored.kept.keepElement(reader, members.size(),
                                    NestingLimit::MaxDepth - depth);
        }
        if (item) {
            scene->addItem(item);
            members.append(item);
        }
    }
    if (members.isEmpty()) {
        // No group to hold them: what it kept stands where the group stood.
        if (kept)
            kept->addElements(stored.kept, shapesBefore);
        return nullptr;
    }

    // Only name, z and the fixed flag are taken back: the members were
    // stored in screen coordinates with the group's rotation already
    // applied, so the stored rotation and position must not act again.
    // Members may overlap the screen edge, as they did when saved.
    QScopedValueRollback<bool> noClamp(GraphicsItem::screenClampEnabled(), false);
    GraphicsItemGroup *group = scene->createGroup(members, false, false);
    group->applyStoredAttributes(stored);
    return group;
}

bool DrawManager::loadScreen(QXmlStreamReader *reader)
{
    DrawScene *scene = m_currentScene;
    if (!scene) {
        reader->skipCurrentElement();
        return reader->hasError();
    }
    Config *config = Config::instance();
    const int clampedBefore = config->clampedNumbers().size();
    const QXmlStreamAttributes attributes = reader->attributes();
    scene->setType(attributes.value(QLatin1String("type")).toInt());
    // An attribute that is missing keeps what the new screen has (its
    // panel size) rather than reading as 0.
    QStringList present;
    const QStringList names = propertyNamesOf(scene);
    for (const QString &name : names) {
        if (attributes.hasAttribute(name))
            present.append(name);
    }
    readShapeAttributes(reader, scene, present);

    KeptContent kept;
    kept.keepAttributes(*reader, QStringList(names) << QStringLiteral("type"));
    ProjectPlace screenPlace;
    screenPlace.kind = ProjectPlace::Screen;
    screenPlace.screen = scene->objectName();
    screenPlace.screenIndex = scenes().indexOf(scene);
    config->placeClamped(clampedBefore, screenPlace);
    // A number clamped inside a shape is placed at the shape (a group's
    // members at their group, which is what the screen lists).
    auto placeShape = [&](const QGraphicsItem *item, int from) {
        ProjectPlace place = screenPlace;
        place.kind = ProjectPlace::Shape;
        place.shape = ProjectSearch::shapeName(item);
        config->placeClamped(from, place);
    };
    int shapesRead = 0;
    while (reader->readNextStartElement()) {
        const int shapeClamped = config->clampedNumbers().size();
        if (isGroupElement(reader)) {
            // An empty group yields nothing, and the screen goes on.
            if (GraphicsItemGroup *group = loadGroup(reader, 1, &kept, shapesRead)) {
                scene->addItem(group);
                placeShape(group, shapeClamped);
                ++shapesRead;
            }
            continue;
        }
        QGraphicsItem *item = createItemByName(reader);
        if (!item) {
            // Most likely a shape of a newer version: kept, so that saving
            // the project does not erase it, and placed after the shapes
            // read before it.
            kept.keepElement(reader, shapesRead, NestingLimit::MaxDepth);
            continue;
        }
        if (readShape(item, reader)) {
            scene->addItem(item);
            placeShape(item, shapeClamped);
            ++shapesRead;
        }
    }
    config->placeClamped(clampedBefore, screenPlace);
    if (kept.isEmpty())
        m_keptElements.remove(scene);
    else
        m_keptElements.insert(scene, kept);
    return reader->hasError();
}

bool DrawManager::saveScreens(QXmlStreamWriter *writer)
{
    writer->writeStartElement(QStringLiteral("Form"));
    m_keptFormContent.writeAttributes(writer);
    int windowsWritten = 0;
    m_keptFormContent.writeElements(writer, windowsWritten);
    for (DrawScene *scene : qAsConst(m_scenes)) {
        writer->writeStartElement(QStringLiteral("Window"));
        writer->writeAttribute(QStringLiteral("type"), QString::number(scene->type()));
        writeShapeAttributes(writer, scene);
        const KeptContent kept = m_keptElements.value(scene);
        kept.writeAttributes(writer);
        // A snapshot: writing a group takes its members out and puts them
        // back, and members are written by their group only.
        const QList<QGraphicsItem *> items = scene->userItems();
        int shapesWritten = 0;
        for (QGraphicsItem *item : items) {
            if (item->type() <= QGraphicsItem::UserType || insideGroup(item))
                continue;
            kept.writeElements(writer, shapesWritten);
            if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
                group->writeXml(writer);
            else if (AbstractShapeType<QGraphicsItem> *shape = singleShape(item))
                shape->writeXml(writer);
            ++shapesWritten;
        }
        // Those whose shapes have since been deleted close the screen.
        kept.writeElementsFrom(writer, shapesWritten);
        writer->writeEndElement();
        m_keptFormContent.writeElements(writer, ++windowsWritten);
    }
    for (const ProjectScript *script : qAsConst(m_scripts)) {
        writer->writeStartElement(QStringLiteral("Window"));
        writer->writeAttribute(QStringLiteral("type"), QString::number(ScriptScreen));
        writer->writeAttribute(QStringLiteral("objectName"), script->name());
        script->keptContent().writeAttributes(writer);
        const QString text = scriptFileText(script->text());
        if (!text.isEmpty())
            writer->writeCharacters(text);
        script->keptContent().writeElementsFrom(writer, 0);
        writer->writeEndElement();
        m_keptFormContent.writeElements(writer, ++windowsWritten);
    }
    m_keptFormContent.writeElementsFrom(writer, windowsWritten + 1);
    writer->writeEndElement();
    return !writer->hasError();
}

bool DrawManager::loadScript(QXmlStreamReader *reader, ProjectScript *script)
{
    const QString name = reader->attributes().value(QLatin1String("objectName")).toString();
    KeptContent kept;
    kept.keepAttributes(*reader, {QStringLiteral("type"), QStringLiteral("objectName")});
    // The script is the element's own text; a child element is kept and
    // written back after it. The writer indents the children after the
    // first, so white space next to a child is layout, not script.
    QString text;
    QString run;
    bool hadChild = false;
    auto takeRun = [&](bool besideChild) {
        if (!(besideChild && run.trimmed().isEmpty()))
            text += run;
        run.clear();
    };
    while (!reader->atEnd()) {
        const QXmlStreamReader::TokenType token = reader->readNext();
        if (token == QXmlStreamReader::Characters) {
            run += reader->text();
        } else if (token == QXmlStreamReader::StartElement) {
            takeRun(true);
            hadChild = true;
            kept.keepElement(reader, 0, KeptContent::defaultLevels());
        } else if (token == QXmlStreamReader::EndElement) {
            takeRun(hadChild);
            break;
        }
    }
    *script->keptContent() = kept;
    if (!name.trimmed().isEmpty())
        script->setName(name);
    script->setText(text);
    return reader->hasError();
}

void DrawManager::destroyScreen(DrawScene *scene)
{
    m_keptElements.remove(scene);
    m_scenes.removeAll(scene);
    if (m_currentScene == scene)
        m_currentScene = nullptr;
    delete scene;
}

QStringList DrawManager::unknownElementNames() const
{
    QStringList names = m_keptFormContent.elementNames();
    for (DrawScene *scene : m_scenes) {
        appendNew(&names, m_keptElements.value(scene).elementNames());
        const QList<QGraphicsItem *> items = scene->userItems();
        for (QGraphicsItem *item : items) {
            if (auto *shape = dynamic_cast<GraphicsItem *>(item)) {
                const QVector<QPair<QString, KeptContent>> parts = shape->keptParts();
                for (const auto &part : parts)
                    appendNew(&names, part.second.elementNames());
            } else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
                appendNew(&names, group->keptContent().elementNames());
                for (const Binding &binding : group->bindings()) {
                    for (const auto &part : binding.keptParts())
                        appendNew(&names, part.second.elementNames());
                }
            }
        }
    }
    for (const ProjectScript *script : m_scripts)
        appendNew(&names, script->keptContent().elementNames());
    return names;
}

QStringList DrawManager::unknownAttributeNames() const
{
    QStringList names;
    auto add = [&names](const QString &element, const KeptContent &kept) {
        const QStringList attributes = kept.attributeNames();
        for (const QString &attribute : attributes)
            appendNew(&names, {element + QLatin1Char('@') + attribute});
    };
    add(QStringLiteral("Form"), m_keptFormContent);
    for (DrawScene *scene : m_scenes) {
        add(QStringLiteral("Window"), m_keptElements.value(scene));
        const QList<QGraphicsItem *> items = scene->userItems();
        for (QGraphicsItem *item : items) {
            if (auto *shape = dynamic_cast<GraphicsItem *>(item)) {
                const QVector<QPair<QString, KeptContent>> parts = shape->keptParts();
                for (const auto &part : parts)
                    add(part.first, part.second);
            } else if (auto *group = dynamic_cast<GraphicsItemGroup *>(item)) {
                add(group->elementName(), group->keptContent());
                for (const Binding &binding : group->bindings()) {
                    for (const auto &part : binding.keptParts())
                        add(part.first, part.second);
                }
            }
        }
    }
    for (const ProjectScript *script : m_scripts)
        add(QStringLiteral("Window"), script->keptContent());
    return names;
}

DrawScene *DrawManager::currentScene() const
{
    return m_currentScene;
}
