#include "projectdocument.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "editor/textcommand.h"
#include "model/config.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStandardItemModel>
#include <QUndoStack>

namespace {

ProjectDocument *s_current = nullptr;

// As long as a screen's: the project's history is kept the same way.
const int ProjectUndoLimit = 20;

QString projectText(const char *text, const QString &arg = QString())
{
    const QString made = QCoreApplication::translate("ProjectDocument", text);
    return arg.isNull() ? made : made.arg(arg);
}

} // namespace

// One change of the project's data: the data before and after it.
class ProjectChangeCommand : public TextCommand
{
public:
    ProjectChangeCommand(ProjectDocument *document, ProjectDocument::Parts parts,
                         Config::State before, Config::State after, BindingRewrite bindings)
        : m_document(document)
        , m_parts(parts)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_bindings(std::move(bindings))
    {
    }

    void undo() override
    {
        m_bindings.undo();
        put(m_before);
    }
    void redo() override
    {
        // Pushed once the change is made: there is nothing to do yet.
        if (m_done) {
            m_bindings.redo();
            put(m_after);
        }
        m_done = true;
    }

private:
    void put(const Config::State &state)
    {
        Config *config = m_document->config();
        const quint8 hard = config->hard;
        config->restore(state);
        // The panel's registers are those of its hardware family.
        if (config->hard != hard)
            config->loadSystemRegisters();
        m_document->announce(m_parts);
    }

    ProjectDocument *m_document;
    ProjectDocument::Parts m_parts;
    Config::State m_before;
    Config::State m_after;
    BindingRewrite m_bindings;
    bool m_done = false;
};

ProjectDocument::ProjectDocument()
    // The current document is made first: the first Config made becomes
    // the current one, and it must not be this document's.
    : ProjectDocument((current(), new Config), new DrawManager)
{
}

ProjectDocument::ProjectDocument(Config *config, DrawManager *screens)
    : m_config(config)
    , m_screens(screens)
    , m_undoStack(new QUndoStack(this))
{
    m_config->setParent(this);
    m_screens->setParent(this);
    m_undoStack->setUndoLimit(ProjectUndoLimit);
}

ProjectDocument::~ProjectDocument()
{
    // Emptying the history on the way out is no change to anyone's project.
    m_undoStack->blockSignals(true);
    // The screens go first: their shapes may still ask the settings.
    delete m_screens;
    m_screens = nullptr;
    if (s_current == this)
        s_current = nullptr;
}

bool ProjectDocument::change(Parts parts, std::function<QString()> text,
                             const std::function<void(Config *)> &edit)
{
    return change(parts, std::move(text), edit, std::function<BindingRewrite()>());
}

bool ProjectDocument::change(Parts parts, std::function<QString()> text,
                             const std::function<void(Config *)> &edit,
                             const std::function<BindingRewrite()> &rewrite)
{
    Config::State before = m_config->state();
    const quint8 hard = m_config->hard;
    edit(m_config);
    Config::State after = m_config->state();
    // Bindings follow only a change that took place: a library handed back
    // as it was renames nothing.
    if (after == before)
        return false;
    if (m_config->hard != hard)
        m_config->loadSystemRegisters();
    BindingRewrite bindings = rewrite ? rewrite() : BindingRewrite();
    auto *command = new ProjectChangeCommand(this, parts, std::move(before), std::move(after),
                                             std::move(bindings));
    command->setTextSource(std::move(text));
    m_undoStack->push(command);
    announce(parts);
    return true;
}

namespace {

// A screen's or script's new name; the form may be deleted before the step
// is undone, and the step then does nothing.
class FormRenameCommand : public TextCommand
{
public:
    FormRenameCommand(QObject *form, QString from, QString to, BindingRewrite bindings)
        : m_form(form)
        , m_from(std::move(from))
        , m_to(std::move(to))
        , m_bindings(std::move(bindings))
    {
        setTextSource([to = m_to] {
            return projectText(QT_TRANSLATE_NOOP("ProjectDocument", "重命名 %1"), to);
        });
    }
    void undo() override
    {
        m_bindings.undo();
        apply(m_from);
    }
    void redo() override
    {
        m_bindings.redo();
        apply(m_to);
    }

private:
    // The views, tabs and tree entries showing the form follow its name.
    void apply(const QString &name)
    {
        if (m_form)
            m_form->setObjectName(name);
    }

    QPointer<QObject> m_form;
    QString m_from;
    QString m_to;
    BindingRewrite m_bindings;
};

} // namespace

bool ProjectDocument::screenNameTaken(const QObject *form, const QString &name) const
{
    // Actions, scripts and the file know screens by name: a second screen of
    // that name would take the references meant for the first, and a later
    // rename of either would carry them off.
    if (!qobject_cast<const DrawScene *>(form))
        return false;
    for (const DrawScene *scene : m_screens->scenes()) {
        if (scene != form && scene->objectName() == name)
            return true;
    }
    return false;
}

bool ProjectDocument::renameForm(QObject *form, const QString &name)
{
    if (!form || form->objectName() == name)
        return false;
    const QString old = form->objectName();
    BindingRewrite bindings;
    if (screenNameTaken(form, name))
        return false;
    if (qobject_cast<DrawScene *>(form)) {
        // While another screen answers to the old name, the actions naming
        // it may mean that one.
        bool nameKept = false;
        for (const DrawScene *scene : m_screens->scenes())
            nameKept = nameKept || (scene != form && scene->objectName() == old);
        if (!nameKept)
            bindings = BindingRewrite::renameScreen(m_screens, old, name);
    }
    m_undoStack->push(new FormRenameCommand(form, old, name, std::move(bindings)));
    return true;
}

bool ProjectDocument::renameDevice(int index, const QString &name)
{
    if (index < 0 || index >= m_config->devices.size())
        return false;
    const QString old = m_config->devices.at(index).name;
    return change(
        Devices | AddressTags,
        [name] { return projectText(QT_TRANSLATE_NOOP("ProjectDocument", "重命名设备 %1"), name); },
        [index, name, old](Config *config) {
            config->devices[index].name = name;
            config->renameTagDevice(old, name);
        },
        [this, old, name] { return BindingRewrite::renameDevice(m_screens, old, name); });
}

bool ProjectDocument::setDevices(const QList<DevicePara> &devices)
{
    const int before = m_config->devices.size();
    const char *text = devices.size() > before ? QT_TRANSLATE_NOOP("ProjectDocument", "添加设备")
        : devices.size() < before ? QT_TRANSLATE_NOOP("ProjectDocument", "删除设备")
                                  : QT_TRANSLATE_NOOP("ProjectDocument", "修改设备");
    return change(Devices, [text] { return projectText(text); },
                  [&devices](Config *config) { config->devices = devices; });
}

bool ProjectDocument::setLanguages(const QList<LanguagePara> &shown)
{
    return change(Languages, [] { return projectText(QT_TRANSLATE_NOOP("ProjectDocument", "修改语言")); },
                  [&shown](Config *config) { config->setLanguages(shown); });
}

bool ProjectDocument::replaceTextTags(const TextLib &library, const BindingRewrite::Renames &renames)
{
    return change(
        TextTags, [] { return projectText(QT_TRANSLATE_NOOP("ProjectDocument", "修改文本标签库")); },
        [&library](Config *config) { *config->textLib() = library; },
        [this, &renames] { return BindingRewrite::renameTextTags(m_screens, renames); });
}

bool ProjectDocument::replaceAddressTags(const QStandardItemModel &tags,
                                         const BindingRewrite::Renames &renames)
{
    const auto rewrite = [this, &renames] {
        return BindingRewrite::renameAddressTags(m_screens, renames);
    };
    return change(AddressTags, [] { return projectText(QT_TRANSLATE_NOOP("ProjectDocument", "修改地址标签库")); }, [&tags](Config *config) {
        QStandardItemModel *model = config->addressTagModel();
        model->removeRows(0, model->rowCount());
        for (int row = 0; row < tags.rowCount(); ++row) {
            QList<QStandardItem *> items;
            for (int column = 0; column < model->columnCount(); ++column) {
                const QStandardItem *item = tags.item(row, column);
                items.append(item ? item->clone() : new QStandardItem);
            }
            model->appendRow(items);
        }
    }, rewrite);
}

void ProjectDocument::announce(Parts parts)
{
    if (parts & Settings)
        emit settingsChanged();
    if (parts & Languages)
        emit languagesChanged();
    if (parts & Devices)
        emit devicesChanged();
    if (parts & TextTags)
        emit textTagsChanged();
    if (parts & AddressTags)
        emit addressTagsChanged();
}

bool ProjectDocument::isCurrent() const
{
    return s_current == this;
}

ProjectDocument *ProjectDocument::current()
{
    if (!s_current)
        s_current = new ProjectDocument(Config::instance(), DrawManager::instance());
    return s_current;
}

std::unique_ptr<ProjectDocument> ProjectDocument::adopt(std::unique_ptr<ProjectDocument> document)
{
    std::unique_ptr<ProjectDocument> previous(current());
    if (!document)
        document = std::make_unique<ProjectDocument>();
    s_current = document.release();
    Config::setCurrent(s_current->m_config);
    DrawManager::setCurrent(s_current->m_screens);
    DrawScene::screenCounters() = s_current->m_screenCounters;
    return previous;
}

ProjectDocument::ReadScope::ReadScope(ProjectDocument *document)
    // The current document is made first: made later, it would take the
    // read one's settings for its own.
    : m_document(document)
    , m_previous(Config::setCurrent((current(), document->config())))
    , m_previousCounters(DrawScene::screenCounters())
{
    DrawScene::screenCounters() = document->m_screenCounters;
}

ProjectDocument::ReadScope::~ReadScope()
{
    m_document->m_screenCounters = DrawScene::screenCounters();
    DrawScene::screenCounters() = m_previousCounters;
    Config::setCurrent(m_previous);
}
