#pragma once

#include <QStyledItemDelegate>

// The editors of the property browser's value column: check boxes come from
// the item views themselves, spin boxes for numbers (ranges by property,
// colour parts 0..255), a line edit for text, a combo box for enumerations,
// a font combo box for a font's family, and a text field with a "..."
// button for colours and fonts that asks the browser's chooser. Rows that
// are not edited in place (groups, points, flag sets) get no editor.
// An editor writes its value with the model's setData() under Qt::EditRole
// only when the user changed it: opening and leaving an editor writes
// nothing, even where the editor cannot show the value exactly.
class PropertyValueDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit PropertyValueDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
