#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// The widgets of the current project's forms: a DrawView for a screen (its
// DrawScene) and a CodeEditor for a script (its ProjectScript), each made
// the first time the form is shown and kept while the form lives. The
// document holds only data; this is where the window's side of it lives.
//
// Ownership: this object owns every widget it makes. A widget goes when its
// form is deleted (a screen removed, a project closed) or by clear(); the
// tab area only borrows them. A widget deleted by someone else is made
// again the next time its form is shown.
class FormWidgets : public QObject
{
    Q_OBJECT
public:
    explicit FormWidgets(QObject *parent = nullptr);
    ~FormWidgets() override;

    // The widget showing form, made now when there is none yet. Null for
    // null and for anything that is neither a screen nor a script.
    QWidget *widgetFor(QObject *form);
    // The widget made for form so far; null when none was (makes none).
    QWidget *existingWidget(QObject *form) const;
    // The form a widget made here shows; null for any other widget.
    QObject *formOf(const QWidget *widget) const;
    // Every widget alive, in no particular order.
    QList<QWidget *> widgets() const;

    // Deletes every widget made (the project they showed is closing).
    void clear();

private:
    QWidget *makeWidget(QObject *form);
    void forget(QObject *form);

    QHash<QObject *, QPointer<QWidget>> m_widgets;
};
