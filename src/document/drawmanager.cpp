#include "drawmanager.h"

#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/screentype.h"
#include "model/config.h"
#include "model/nestinglimit.h"
#include "model/propertyregistry.h"
#include "projectfile.h"
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

#include <QScopedValueRollback>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>

namespace {

QGraphicsItem *cloneShape(QGraphicsItem *item)
{
    if (auto *shape = singleShape(item))
        return shape->clone();
    if (auto *group = dynamic_cast<GraphicsItemGroup *>(item))
        return group->clone();
    return nullptr;
}

// clone() leaves names out (a pasted shape is named by the scene it lands
// in). A copied screen keeps them, members of groups included; clone()
// keeps the member order, so members pair up by position.
void copyNames(QGraphicsItem *source, QGraphicsItem *copy)
{
    QObject *from = shapeObject(source);
    QObject *to = shapeObject(copy);
    if (from && to)
        to->setObjectName(from->objectName());
    auto *sourceGroup = dynamic_cast<GraphicsItemGroup *>(source);
    auto *copyGroup = dynamic_cast<GraphicsItemGroup *>(copy);
    if (!sourceGroup || !copyGroup)
        return;
    const QList<QGraphicsItem *> sourceMembers = sourceGroup->members();
    const QList<QGraphicsItem *> copyMembers = copyGroup->members();
    if (sourceMembers.size() != copyMembers.size())
        return;
    for (int i = 0; i < sourceMembers.size(); ++i)
        copyNames(sourceMembers.at(i), copyMembers.at(i));
}

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

QList<CodeEditor *> DrawManager::scripts() const
{
    QList<CodeEditor *> alive;
    for (const QPointer<CodeEditor> &editor : m_scripts) {
        if (editor)
            alive.append(editor);
    }
    return alive;
}

QWidget *DrawManager::createForm(int type, QWidget *copyFrom)
{
    switch (type) {
    case BaseScreen:
    case WindowScreen:
    case TemplateScreen:
        return createScreen(type, copyFrom);
    case ScriptScreen: {
        CodeEditor *editor = createScript();
        if (auto *source = qobject_cast<CodeEditor *>(copyFrom)) {
            editor->setText(source->text());
            editor->setModified(false);
        }
        return editor;
    }
    default:
        return nullptr;
    }
}

DrawView *DrawManager::createScreen(int type, QWidget *copyFrom)
{
    auto *scene = new DrawScene(type);
    auto *view = new DrawView(scene);
    view->setWindowTitle(scene->objectName());
    adoptView(scene, view);
    m_scenes.append(scene);

    auto *sourceView = qobject_cast<DrawView *>(copyFrom);
    if (DrawScene *source = sourceView ? sourceView->drawScene() : nullptr) {
        const QList<QGraphicsItem *> items = source->userItems();
        for (QGraphicsItem *item : items) {
            if (insideGroup(item))
                continue;
            if (QGraphicsItem *copy = cloneShape(item)) {
                copyNames(item, copy);
                scene->addItem(copy);
            }
        }
        if (m_keptElements.contains(source))
            m_keptElements.insert(scene, m_keptElements.value(source));
    }

    // Through setCurrentView rather than by assignment: the new view must
    // take the shared zoom, and a later setCurrentView with the same view
    // would no longer apply it.
    setCurrentView(view);
    return view;
}

CodeEditor *DrawManager::createScript()
{
    auto *editor = new CodeEditor(nullptr);
    m_scripts.append(editor);
    // Scripts read from a file keep their stored names, which may already
    // use the next number.
    QStringList taken;
    for (const QPointer<CodeEditor> &other : qAsConst(m_scripts)) {
        if (other)
            taken.append(other->windowTitle());
    }
    int number = m_scripts.size();
    while (taken.contains(tr("脚本_%1").arg(number)))
        ++number;
    editor->setWindowTitle(tr("脚本_%1").arg(number));
    return editor;
}

void DrawManager::setCurrentView(DrawView *view)
{
    if (view == m_currentView)
        return;
    if (m_currentScene)
        m_currentScene->clearSelection();
    m_currentView = view;
    if (!view) {
        m_currentScene = nullptr;
        return;
    }
    m_currentScene = view->drawScene();
    view->applyZoom();
}

bool DrawManager::removeForm(QWidget *form)
{
    auto *view = qobject_cast<DrawView *>(form);
    if (!view)
        return false;
    DrawScene *scene = view->drawScene();
    // A view this manager did not make is not its to delete.
    if (!scene || !m_scenes.contains(scene))
        return false;
    const bool wasCurrent = view == m_currentView;
    destroyScreen(scene);
    if (wasCurrent)
        setCurrentView(m_scenes.isEmpty() ? nullptr : m_scenes.last()->view());
    return true;
}

void DrawManager::clear()
{
    m_currentView = nullptr;
    m_currentScene = nullptr;
    while (!m_scenes.isEmpty())
        destroyScreen(m_scenes.last());
    m_keptFormContent = KeptContent();
    m_keptScriptContent.clear();
    const QList<QPointer<CodeEditor>> scripts = m_scripts;
    m_scripts.clear();
    for (const QPointer<CodeEditor> &editor : scripts)
        delete editor.data();
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
    for (const QPointer<CodeEditor> &editor : qAsConst(m_scripts)) {
        if (!editor)
            continue;
        writer->writeStartElement(QStringLiteral("Window"));
        writer->writeAttribute(QStringLiteral("type"), QString::number(ScriptScreen));
        writer->writeAttribute(QStringLiteral("objectName"), editor->windowTitle());
        m_keptScriptContent.value(editor).writeAttributes(writer);
        const QString text = scriptFileText(editor->text());
        if (!text.isEmpty())
            writer->writeCharacters(text);
        m_keptScriptContent.value(editor).writeElementsFrom(writer, 0);
        writer->writeEndElement();
        m_keptFormContent.writeElements(writer, ++windowsWritten);
    }
    m_keptFormContent.writeElementsFrom(writer, windowsWritten + 1);
    writer->writeEndElement();
    return !writer->hasError();
}

bool DrawManager::loadScript(QXmlStreamReader *reader, CodeEditor *editor)
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
    if (kept.isEmpty())
        m_keptScriptContent.remove(editor);
    else
        m_keptScriptContent.insert(editor, kept);
    if (!name.trimmed().isEmpty())
        editor->setWindowTitle(name);
    editor->setText(text);
    // The text read is the starting point, not an edit to take back.
    editor->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor->setModified(false);
    return reader->hasError();
}

void DrawManager::adoptView(DrawScene *scene, DrawView *view)
{
    scene->setView(view);
    // A view closed by someone else takes its screen along; see the class
    // comment.
    connect(view, &QObject::destroyed, this, [this, scene] {
        if (!m_scenes.contains(scene))
            return;
        forgetScreen(scene);
        delete scene;
    });
}

void DrawManager::destroyScreen(DrawScene *scene)
{
    forgetScreen(scene);
    if (DrawView *view = scene->view()) {
        disconnect(view, nullptr, this, nullptr);
        delete view;
    }
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
            }
        }
    }
    for (const QPointer<CodeEditor> &editor : m_scripts) {
        if (editor)
            appendNew(&names, m_keptScriptContent.value(editor).elementNames());
    }
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
            }
        }
    }
    for (const QPointer<CodeEditor> &editor : m_scripts) {
        if (editor)
            add(QStringLiteral("Window"), m_keptScriptContent.value(editor));
    }
    return names;
}

void DrawManager::forgetScreen(DrawScene *scene)
{
    m_keptElements.remove(scene);
    m_scenes.removeAll(scene);
    if (m_currentScene == scene) {
        m_currentScene = nullptr;
        m_currentView = nullptr;
    }
}

DrawScene *DrawManager::currentScene() const
{
    return m_currentScene;
}

DrawView *DrawManager::currentView() const
{
    return m_currentView;
}
