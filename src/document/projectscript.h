#pragma once

#include "model/keptcontent.h"

#include <QObject>
#include <QString>

// One script of the project as data: its name (the object name, which the
// file stores and the project tree shows), its text, and what its element
// held that this version does not read. The window's script editor edits it;
// saving, the check, find and the autosave read it here.
class ProjectScript : public QObject
{
    Q_OBJECT
public:
    explicit ProjectScript(QObject *parent = nullptr);

    QString name() const { return objectName(); }
    // objectNameChanged() announces it.
    void setName(const QString &name) { setObjectName(name); }

    QString text() const { return m_text; }
    // Emits textChanged() when text differs from the text held.
    void setText(const QString &text);

    // The attributes and child elements of the script's element beyond its
    // type, name and text, written back by the next save.
    KeptContent *keptContent() { return &m_kept; }
    const KeptContent &keptContent() const { return m_kept; }

signals:
    void textChanged(const QString &text);

private:
    QString m_text;
    KeptContent m_kept;
};
