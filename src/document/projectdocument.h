#pragma once

#include "bindingrewrite.h"
#include "model/config.h"

#include <QMap>
#include <QObject>

#include <functional>
#include <memory>

class DrawManager;
class QStandardItemModel;
class QUndoStack;

// One project as a whole: its settings, devices, languages and tag
// libraries (Config) and its screens and scripts (DrawManager). A reader
// fills a document of its own; the application adopts it only when the read
// has succeeded, so the project being edited is never left half replaced.
// Any number may exist at once; one is current, and Config::instance() and
// DrawManager::instance() are the current document's parts.
//
// The project's own data (settings, languages, devices, both tag libraries)
// changes through the document only: each change is one step on the
// document's undo stack and announces itself once through the signal of
// each part it touched, also when it is undone or made again. A change that
// leaves the data as it was is no step and announces nothing.
class ProjectDocument : public QObject
{
    Q_OBJECT
public:
    enum Part {
        Settings = 0x1,
        Languages = 0x2,
        Devices = 0x4,
        TextTags = 0x8,
        AddressTags = 0x10
    };
    Q_DECLARE_FLAGS(Parts, Part)

    // A new, empty project; not current.
    ProjectDocument();
    ~ProjectDocument() override;

    Config *config() const { return m_config; }
    DrawManager *screens() const { return m_screens; }
    bool isCurrent() const;
    // The project's history beside the screens' own. Owned.
    QUndoStack *undoStack() const { return m_undoStack; }

    // edit changes parts of the project's data; the whole of it is one undo
    // step named by text (made again when the language changes). False,
    // with no step and no signal, when the data is as it was.
    bool change(Parts parts, std::function<QString()> text,
                const std::function<void(Config *)> &edit);
    // change() that also rewrites the bindings rewrite() gives, once edit
    // has run, as part of the same step.
    bool change(Parts parts, std::function<QString()> text,
                const std::function<void(Config *)> &edit,
                const std::function<BindingRewrite()> &rewrite);
    // The device at index (from 0) takes name, and every address tag and
    // every binding with an address entered on it follow, in the same step.
    bool renameDevice(int index, const QString &name);
    // Devices added, removed or edited; tags keep what their cells say.
    bool setDevices(const QList<DevicePara> &devices);
    // See Config::setLanguages(): languages dropped stay hidden, texts and all.
    bool setLanguages(const QList<LanguagePara> &shown);
    // renames (old name -> new name) are the tags the library editor
    // renamed: every binding naming one of them follows, in the same step.
    bool replaceTextTags(const TextLib &library,
                         const BindingRewrite::Renames &renames = BindingRewrite::Renames());
    // The address tags become the rows of tags (every column and role).
    bool replaceAddressTags(const QStandardItemModel &tags,
                            const BindingRewrite::Renames &renames = BindingRewrite::Renames());
    // A screen (its DrawScene) or a script (its ProjectScript) takes name,
    // which the file stores and its tab and tree entry show. The actions
    // naming a renamed screen follow in the same step, unless another
    // screen keeps the old name. False for an unchanged name, and for a
    // screen's name another screen has (screenNameTaken).
    bool renameForm(QObject *form, const QString &name);
    bool screenNameTaken(const QObject *form, const QString &name) const;

    // The document whose parts Config::instance() and
    // DrawManager::instance() are, made on first use.
    static ProjectDocument *current();
    // Makes document the current one and hands back the one it replaces
    // (for the caller to delete, usually by letting it go). Null adopts a
    // new, empty project. New screens are numbered on from those the
    // document holds.
    static std::unique_ptr<ProjectDocument> adopt(std::unique_ptr<ProjectDocument> document);

    // Makes a document's Config the current one for as long as it lives:
    // the readers of shapes and settings note what they find through
    // Config::instance(), and a document being read is not yet current.
    // The numbering of new screens is the current project's again
    // afterwards.
    class ReadScope
    {
    public:
        explicit ReadScope(ProjectDocument *document);
        ~ReadScope();
        ReadScope(const ReadScope &) = delete;
        ReadScope &operator=(const ReadScope &) = delete;

    private:
        ProjectDocument *m_document;
        Config *m_previous;
        QMap<int, int> m_previousCounters;
    };

signals:
    void settingsChanged();
    void languagesChanged();
    void devicesChanged();
    void textTagsChanged();
    void addressTagsChanged();

private:
    friend class ProjectChangeCommand;
    // Emits the signal of each part once, in the order of Part.
    void announce(Parts parts);

    // Takes over parts made before any document existed.
    ProjectDocument(Config *config, DrawManager *screens);

    Config *m_config; // child
    DrawManager *m_screens; // child
    QUndoStack *m_undoStack; // child
    // Screens made per type while this document was being read, for new
    // screens to be numbered on from once it is current.
    QMap<int, int> m_screenCounters;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ProjectDocument::Parts)
