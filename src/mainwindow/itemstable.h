#pragma once

#include "editor/drawscene.h"
#include "widgets/tableview.h"

#include <QPointer>

class QStandardItemModel;

// The "元件" dock: the current screen's shapes by name and type, bottom
// first, group members included. A click on a row selects that shape on
// its screen (the main window then shows its properties as for any
// selection).
//
// The screen last filled from is remembered only while it exists: when it
// is deleted (closed, removed, or the project closed) the rows empty and a
// click reaches nothing.
class ItemsTable : public TableView
{
    Q_OBJECT
public:
    explicit ItemsTable(QWidget *parent = nullptr);

    QStandardItemModel *itemModel() const { return m_model; }
    // The screen the rows describe; null when none.
    DrawScene *scene() const { return m_scene; }
    void retranslate();
    // Rebuilds the rows from scene's shapes: name and type. A null scene
    // empties the table and forgets the screen.
    void fill(DrawScene *scene);

public slots:
    // Selects the shape of the clicked row on the remembered screen, alone.
    void selectRow(const QModelIndex &index);

private:
    void forgetScene();

    QStandardItemModel *m_model = nullptr; // child of this
    QPointer<DrawScene> m_scene; // not owned
};
