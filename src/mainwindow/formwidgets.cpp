#include "formwidgets.h"

#include "document/projectscript.h"
#include "editor/codeeditor.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"

namespace {

// The script's text as its editor's starting point: unmodified, and with
// nothing to undo.
void showScriptText(CodeEditor *editor, const QString &text)
{
    editor->setText(text);
    editor->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor->setModified(false);
}

CodeEditor *makeEditor(ProjectScript *script)
{
    auto *editor = new CodeEditor;
    editor->setWindowTitle(script->name());
    showScriptText(editor, script->text());
    QObject::connect(script, &QObject::objectNameChanged, editor, &QWidget::setWindowTitle);
    // Every edit reaches the script at once, so that saving, the check,
    // find and the autosave never need the editor.
    QObject::connect(editor, &QsciScintilla::textChanged, script,
                     [editor, script] { script->setText(editor->text()); });
    QObject::connect(script, &ProjectScript::textChanged, editor, [editor](const QString &text) {
        if (editor->text() != text)
            editor->setText(text);
    });
    return editor;
}

DrawView *makeView(DrawScene *scene)
{
    auto *view = new DrawView(scene);
    // The scene keeps its view's title in step with its name from now on.
    view->setWindowTitle(scene->objectName());
    scene->setView(view);
    view->applyZoom();
    return view;
}

} // namespace

FormWidgets::FormWidgets(QObject *parent)
    : QObject(parent)
{
}

FormWidgets::~FormWidgets()
{
    clear();
}

QWidget *FormWidgets::widgetFor(QObject *form)
{
    if (!form)
        return nullptr;
    if (QWidget *widget = m_widgets.value(form))
        return widget;
    return makeWidget(form);
}

QWidget *FormWidgets::makeWidget(QObject *form)
{
    QWidget *widget = nullptr;
    if (auto *scene = qobject_cast<DrawScene *>(form))
        widget = makeView(scene);
    else if (auto *script = qobject_cast<ProjectScript *>(form))
        widget = makeEditor(script);
    if (!widget)
        return nullptr;
    const bool known = m_widgets.contains(form);
    m_widgets.insert(form, widget);
    // A widget deleted elsewhere leaves an empty pointer, made again on
    // demand; the connection to the form is made once.
    if (!known)
        connect(form, &QObject::destroyed, this, [this, form] { forget(form); });
    return widget;
}

QWidget *FormWidgets::existingWidget(QObject *form) const
{
    return m_widgets.value(form);
}

QObject *FormWidgets::formOf(const QWidget *widget) const
{
    if (!widget)
        return nullptr;
    for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it) {
        if (it.value() == widget)
            return it.key();
    }
    return nullptr;
}

QList<QWidget *> FormWidgets::widgets() const
{
    QList<QWidget *> alive;
    for (const QPointer<QWidget> &widget : m_widgets) {
        if (widget)
            alive.append(widget);
    }
    return alive;
}

void FormWidgets::forget(QObject *form)
{
    // Only the address is used: the form is being destroyed.
    delete m_widgets.take(form).data();
}

void FormWidgets::clear()
{
    const QList<QObject *> forms = m_widgets.keys();
    for (QObject *form : forms) {
        disconnect(form, &QObject::destroyed, this, nullptr);
        delete m_widgets.take(form).data();
    }
}
