#pragma once

#include "model/binding.h"

#include <QFont>
#include <QHash>
#include <QPointer>
#include <QTreeView>

#include <functional>

class QGraphicsItem;
class QStandardItem;
class QStandardItemModel;

// The "属性浏览" dock: the properties of the selected shape, or of the screen
// when nothing is selected, under collapsible group rows, with an editor in
// the value column.
//
// Which properties appear, in which group and under which title comes from
// the property registry; types and values come from the object's Qt
// properties. Registered names the object lacks, and types without an
// editor, give no row. Every edit is written with setProperty() and
// recorded as one ModifyCommand on the active undo stack.
//
// The browser never owns the object it shows; it forgets it when the object
// is destroyed. The model and the delegate are children of the browser.
class PropertyTreeBrowser : public QTreeView
{
    Q_OBJECT
public:
    // What a row holds; stored under KindRole on both cells of the row.
    enum RowKind {
        GroupRow,
        BoolRow,
        IntRow,
        DoubleRow,
        StringRow,
        EnumRow,
        FlagRow,
        ColourRow,
        FontRow,
        PointRow,
        PointXRow,
        PointYRow,
        FlagBitRow,
        // The parts of a colour row.
        RedRow,
        GreenRow,
        BlueRow,
        AlphaRow,
        // The parts of a font row.
        FamilyRow,
        PointSizeRow,
        BoldRow,
        ItalicRow,
        UnderlineRow,
        StrikeOutRow,
    };

    enum Role {
        KindRole = Qt::UserRole + 1,
        // The property (or group key) a row stands for.
        NameRole,
        // Enum and flag rows: the display names of the keys, in declaration
        // order.
        ChoicesRole,
        // Flag bit rows: the bit's value.
        BitRole,
    };

    enum Column { NameColumn, ValueColumn };

    explicit PropertyTreeBrowser(QWidget *parent = nullptr);
    ~PropertyTreeBrowser() override;

    // The object whose rows are shown; null when nothing is shown.
    QObject *currentObject() const { return m_object; }
    QStandardItemModel *propertyModel() const { return m_model; }

    // The value cell of a property row, or of a group row for a group key;
    // invalid when the shown object has no such row.
    QModelIndex valueIndex(const QString &propertyName) const;
    QModelIndex groupIndex(const QString &groupKey) const;
    // The value cell of the read-only 数据 row a shape shows: how many
    // bindings it holds and their summaries. Invalid for a screen.
    QModelIndex dataIndex() const;
    // That row's text for bindings: "2 项: 数值: Motor; 可见: LW 100".
    static QString bindingsText(const QVector<Binding> &bindings);

    // Where the colour and font editors ask the user. The defaults open
    // QColorDialog (with alpha) and QFontDialog; tests replace them so that
    // nothing blocks. A chooser returns an invalid colour, or sets *ok to
    // false, when the user cancels.
    static std::function<QColor(const QColor &current)> colourChooser;
    static std::function<QFont(const QFont &current, bool *ok)> fontChooser;

    // A number as the browser shows it: as many decimals as it needs, at
    // most six, so that 12.3456 reads 12.3456 and 100.0 reads 100.
    static QString numberText(double value);
    // Whether rows of this kind are edited through a check box.
    static bool isCheckKind(int kind);

public slots:
    // Shows the shape behind item (its QObject side); a null item or a
    // helper item shows nothing.
    void currentItemChanged(QGraphicsItem *item);
    // Shows object, rebuilding the rows when it is not the one shown; for
    // the one shown, only re-reads the values. Null shows nothing.
    void currentItemChanged(QObject *object = nullptr);
    // Re-reads every shown value from the object without recording
    // anything. The main window calls it after undo and redo.
    void refresh();
    // Re-titles the header, the groups, the rows and the enumeration
    // choices in the interface language now in force.
    void retranslate();
    // A value cell changed: applied as a user edit unless the browser is
    // filling in values itself. Cells of another model, and cells that
    // stand for no property, are ignored.
    void valueChanged(QStandardItem *item);

private:
    // The title of a part row of a point, colour or font, in the interface
    // language now in force.
    static QString partTitle(int kind);

    void clearRows();
    void buildRows();
    void addPropertyRow(QStandardItem *group, const QString &className, const QString &name);
    void fillValue(QStandardItem *valueItem, const QString &name);
    void applyEdit(QStandardItem *valueItem);
    // Widens the title column so that every title, sub-rows included, can
    // be read once expanded; never narrows what the user has set.
    void fitNameColumn();
    void objectDestroyed(QObject *object);
    // The 数据 row (propertytreebrowserdata.cpp).
    void addDataRow();
    void fillDataRow();

    QStandardItemModel *m_model;
    QPointer<QObject> m_object;
    QMetaObject::Connection m_destroyedConnection;
    // Set while the browser writes values into its own rows.
    bool m_updating = false;
    // Value cell <-> property name of the shown object.
    QHash<QStandardItem *, QString> m_itemNames;
    QHash<QString, QStandardItem *> m_nameItems;
    // Group key -> title cell of the group row.
    QHash<QString, QStandardItem *> m_groups;
    // Row name -> expanded, kept across objects: a collapsed group stays
    // collapsed for the next object that has it.
    QHash<QString, bool> m_expanded;
    // Title and value cells of the 数据 row; null when none is shown.
    QStandardItem *m_dataTitle = nullptr;
    QStandardItem *m_dataValue = nullptr;
};
