#include "drawmanager.h"

#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/screentype.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"

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

} // namespace

DrawManager *DrawManager::instance()
{
    static DrawManager *manager = new DrawManager;
    return manager;
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
    editor->setWindowTitle(tr("脚本_%1").arg(m_scripts.size()));
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
    const QList<QPointer<CodeEditor>> scripts = m_scripts;
    m_scripts.clear();
    for (const QPointer<CodeEditor> &editor : scripts)
        delete editor.data();
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

void DrawManager::forgetScreen(DrawScene *scene)
{
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
