#pragma once

#include <QTableView>

class DrawScene;
class QStandardItemModel;

// The "元件" dock: the current screen's shapes by name and type.
class ItemsTable : public QTableView
{
    Q_OBJECT
public:
    explicit ItemsTable(QWidget *parent = nullptr);

    QStandardItemModel *itemModel() const { return m_model; }
    void retranslate();
    // Rebuilds the rows from scene's shapes, bottom first: name and type.
    void fill(DrawScene *scene);

private:
    QStandardItemModel *m_model = nullptr;
};
