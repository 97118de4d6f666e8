#pragma once

#include "model/keptcontent.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

class DrawScene;
class GraphicsItemGroup;
class ProjectScript;
class QGraphicsItem;
class QXmlStreamReader;
class QXmlStreamWriter;

// The documents of the open project other than its configuration and tag
// libraries: the screens (each a DrawScene) and the scripts (each a
// ProjectScript), and which screen is being edited. Each open project has
// its own, owned by its document; instance() is the current project's.
// It holds data only: the window makes the views and script editors that
// show them, when they are shown.
//
// Ownership: the manager owns every scene and script it creates, and
// deletes them in removeForm() and clear().
class DrawManager : public QObject
{
    Q_OBJECT
public:
    // The current project's; made on first use when none is current yet.
    static DrawManager *instance();
    // Makes manager the one instance() gives and returns the one it gave so
    // far (null before the first).
    static DrawManager *setCurrent(DrawManager *manager);
    explicit DrawManager(QObject *parent = nullptr);
    // Deletes what the manager owns, as clear() does.
    ~DrawManager() override;

    // The screen being edited (the one readers add shapes to); null when no
    // screen is current.
    DrawScene *currentScene() const;
    // Makes scene the edited one; the previous screen loses its selection.
    // Null leaves no screen current.
    void setCurrentScene(DrawScene *scene);

    // Every screen, in creation order (the order they are saved in).
    QList<DrawScene *> scenes() const { return m_scenes; }
    // Every script, in creation order.
    QList<ProjectScript *> scripts() const { return m_scripts; }

    // type 1, 2 or 3 (ScreenType): createScreen; 4: createScript, whose
    // text is copied from copyFrom when that is a script. Any other type
    // returns null.
    QObject *createForm(int type, QObject *copyFrom = nullptr);
    // A new screen of type, made current. When copyFrom is a screen, the
    // new screen takes its size, colours and frame and receives copies of
    // its top-level shapes at the same positions, with the same names.
    DrawScene *createScreen(int type, const DrawScene *copyFrom = nullptr);
    // A new empty script named "脚本_<n>", n = the number of scripts created
    // since the last clear(); deleting a script does not lower n.
    ProjectScript *createScript();

    // Deletes a screen or a script of this manager. When the screen was
    // current, the last remaining screen becomes current. False for
    // anything else.
    bool removeForm(QObject *form);

    // Deletes every screen and script (closing a project); script
    // numbering starts again from 1. Screen names are counted by DrawScene
    // and reset there.
    void clear();

    // The screens' side of the project file: the "Form" element with one
    // "Window" element per screen.

    // A new shape for the reader's current start element, chosen by its
    // name ("rectangle", "roundrect", "ellipse", "polygon", "bezier",
    // "polyline", "line", "textitem", "imageitem", "group", "widget");
    // null for any other name, with the reader left where it was. A
    // "group" comes back complete from loadGroup(); every other shape comes
    // back unread, for the caller to call readXml() on. The caller owns the
    // result (its members are in currentScene()).
    QGraphicsItem *createItemByName(QXmlStreamReader *reader);
    // Reads the "group" element the reader is on, up to its end: the
    // members go into currentScene() and are bound into a group that takes
    // back the stored name, z value and fixed flag, and keeps what else
    // its element held. The group itself is not added to the scene. Null
    // when no member could be read (or no screen is current). Groups
    // nested deeper than NestingLimit::MaxDepth stop the reader with
    // an error; what was read up to there is kept.
    GraphicsItemGroup *loadGroup(QXmlStreamReader *reader);
    // Reads the "Window" element the reader is on into currentScene(): type,
    // the stored screen attributes that are present, then the shapes. A
    // child element that names no shape is kept as it is (see
    // unknownElementNames()) and reading goes on; the reader finishes on
    // the end of the "Window" element (or on an XML error). Returns whether
    // the reader is in error.
    bool loadScreen(QXmlStreamReader *reader);
    // Writes the "Form" element: every screen in creation order, each with
    // its top-level shapes bottom first and the elements kept by
    // loadScreen() back among them where they were read, then every script
    // as a "Window" of type 4 named by "objectName" (its title) and holding
    // its text. True unless the writer failed.
    bool saveScreens(QXmlStreamWriter *writer);
    // The names of the kept elements of "Form" and of every screen, each
    // once, in the order first met: what the open project holds that this
    // version does not know.
    QStringList unknownElementNames() const;
    // Reads the script "Window" element the reader is on, up to its end,
    // into script: the stored name (when not blank) becomes its name, the
    // element's text its text; unknown attributes and child elements are
    // kept for the save. Returns whether the reader is in error.
    bool loadScript(QXmlStreamReader *reader, ProjectScript *script);
    // What the "Form" element held that this version does not read, for the
    // project file's reader to fill and saveScreens() to write back; emptied
    // by clear().
    KeptContent *keptFormContent() { return &m_keptFormContent; }
    // The names of the unknown attributes kept on "Form" and "Window"
    // elements, each once, as "Window@name".
    QStringList unknownAttributeNames() const;

private:
    // depth counts this group: 1 for a group directly on the screen. An
    // element inside the group that names no shape stays with the group,
    // before the member that followed it. A group that yields no member
    // hands those elements to kept (when given), as if they stood in its
    // holder after shapesBefore shapes, so that the next save still has
    // them.
    GraphicsItemGroup *loadGroup(QXmlStreamReader *reader, int depth,
                                 KeptContent *kept = nullptr, int shapesBefore = 0);

    void destroyScreen(DrawScene *scene);

    QPointer<DrawScene> m_currentScene;
    // Owned; a scene leaves the list before it is deleted.
    QList<DrawScene *> m_scenes;
    // Owned (children); a script leaves the list before it is deleted.
    QList<ProjectScript *> m_scripts;
    // Scripts made since the last clear(), for the numbering of new ones.
    int m_scriptsMade = 0;

    // Per screen: what its "Window" element held beyond the screen's
    // properties and shapes, the elements in the slot of the number of
    // top-level shapes read before them. A screen's entry goes when the
    // screen does.
    QHash<const DrawScene *, KeptContent> m_keptElements;
    // What "Form" held beyond the screens and scripts: its attributes, and
    // other elements (a "Window" of a kind this version does not make among
    // them) in the slot of the number of windows read before them.
    KeptContent m_keptFormContent;
};
