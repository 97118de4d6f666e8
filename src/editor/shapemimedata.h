#pragma once

#include <QList>
#include <QMimeData>
#include <QString>

class QGraphicsItem;

// Shapes on the clipboard: private copies, never part of a scene (a paste
// adds clones of them). Carries no MIME format; the program recognises its
// own payload by its class (qobject_cast).
class ShapeMimeData : public QMimeData
{
    Q_OBJECT
public:
    // Copies each shape or group of source in order (a group as a new group
    // of copies); items that cannot be copied are left out. The source
    // items are not changed.
    explicit ShapeMimeData(const QList<QGraphicsItem *> &source);
    // Deletes the copies.
    ~ShapeMimeData() override;

    // The copies; the payload keeps ownership.
    QList<QGraphicsItem *> items() const { return m_items; }
    // The folder the copies' pictures resolve against: the current
    // project's when they were copied. A paste into another project
    // brings the pictures from there.
    QString sourceFolder() const { return m_sourceFolder; }

private:
    QList<QGraphicsItem *> m_items;
    QString m_sourceFolder;
};
