#include "propertytreebrowser.h"

#include "editor/shapecommands.h"
#include "editor/useroptgroup.h"
#include "project/config.h"
#include "propertyvaluedelegate.h"
#include "shapes/graphicsitem.h"
#include "shapes/shapeattributes.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHeaderView>
#include <QMetaProperty>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleFactory>

namespace {

// A value cell. It keeps the typed value and derives the shown text, the
// colour swatch and the check state from it, so that a row is one item and
// filling it in is one assignment. Cells of composite rows (a point's x and
// y, a flag set's bits) point at the composite cell they belong to.
class ValueItem : public QStandardItem
{
public:
    ValueItem(int kind, const QString &name, ValueItem *composite = nullptr)
        : m_composite(composite)
    {
        setData(kind, PropertyTreeBrowser::KindRole);
        setData(name, PropertyTreeBrowser::NameRole);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (kind == PropertyTreeBrowser::BoolRow || kind == PropertyTreeBrowser::FlagBitRow)
            flags |= Qt::ItemIsUserCheckable;
        else if (kind != PropertyTreeBrowser::PointRow && kind != PropertyTreeBrowser::FlagRow)
            flags |= Qt::ItemIsEditable;
        setFlags(flags);
    }

    int kind() const { return QStandardItem::data(PropertyTreeBrowser::KindRole).toInt(); }
    ValueItem *composite() const { return m_composite; }
    QVariant value() const { return m_value; }

    QVariant data(int role) const override
    {
        switch (role) {
        case Qt::EditRole:
            return m_value;
        case Qt::DisplayRole:
            return displayText();
        case Qt::ToolTipRole:
            return kind() == PropertyTreeBrowser::BoolRow ? QVariant() : displayText();
        case Qt::DecorationRole:
            if (kind() == PropertyTreeBrowser::ColourRow)
                return m_value.value<QColor>();
            return QVariant();
        case Qt::CheckStateRole:
            if (kind() == PropertyTreeBrowser::BoolRow || kind() == PropertyTreeBrowser::FlagBitRow)
                return m_value.toBool() ? Qt::Checked : Qt::Unchecked;
            return QVariant();
        default:
            return QStandardItem::data(role);
        }
    }

    void setData(const QVariant &value, int role) override
    {
        switch (role) {
        case Qt::EditRole:
        case Qt::DisplayRole:
            setValue(value);
            break;
        case Qt::CheckStateRole:
            setValue(value.toInt() == Qt::Checked);
            break;
        default:
            QStandardItem::setData(value, role);
        }
    }

private:
    // Unchanged values notify nobody: closing an editor without a change
    // records no edit.
    void setValue(const QVariant &value)
    {
        if (value == m_value && value.userType() == m_value.userType())
            return;
        m_value = value;
        emitDataChanged();
    }

    QString displayText() const
    {
        switch (kind()) {
        case PropertyTreeBrowser::BoolRow:
        case PropertyTreeBrowser::FlagBitRow:
            return QString();
        case PropertyTreeBrowser::IntRow:
        case PropertyTreeBrowser::DoubleRow:
        case PropertyTreeBrowser::PointXRow:
        case PropertyTreeBrowser::PointYRow:
            return QString::number(m_value.toDouble());
        case PropertyTreeBrowser::EnumRow: {
            const QStringList choices = choiceNames();
            const int at = m_value.toInt();
            return at >= 0 && at < choices.size() ? choices.at(at) : QString::number(at);
        }
        case PropertyTreeBrowser::FlagRow: {
            QStringList set;
            for (int i = 0; i < rowCountOfBits(); ++i) {
                const QStandardItem *bit = bitCell(i);
                if (bit && bit->data(Qt::CheckStateRole).toInt() == Qt::Checked)
                    set << bitTitle(i);
            }
            return set.join(QStringLiteral(" | "));
        }
        case PropertyTreeBrowser::ColourRow: {
            const QColor colour = m_value.value<QColor>();
            return colour.name(colour.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
        }
        case PropertyTreeBrowser::FontRow: {
            const QFont font = m_value.value<QFont>();
            return QStringLiteral("%1, %2").arg(font.family()).arg(font.pointSize());
        }
        case PropertyTreeBrowser::PointRow: {
            const QPointF point = m_value.toPointF();
            return QStringLiteral("(%1, %2)").arg(point.x()).arg(point.y());
        }
        default:
            return m_value.toString();
        }
    }

    QStringList choiceNames() const
    {
        return QStandardItem::data(PropertyTreeBrowser::ChoicesRole).toStringList();
    }
    // A flag row's bits are the children of its title cell.
    QStandardItem *titleCell() const
    {
        QStandardItem *owner = parent();
        return owner ? owner->child(row(), PropertyTreeBrowser::NameColumn) : nullptr;
    }
    int rowCountOfBits() const
    {
        const QStandardItem *title = titleCell();
        return title ? title->rowCount() : 0;
    }
    QStandardItem *bitCell(int i) const
    {
        return titleCell()->child(i, PropertyTreeBrowser::ValueColumn);
    }
    QString bitTitle(int i) const
    {
        return titleCell()->child(i, PropertyTreeBrowser::NameColumn)->text();
    }

    ValueItem *m_composite;
    QVariant m_value;
};

QStandardItem *titleItem(const QString &text, int kind, const QString &name)
{
    auto *item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setData(kind, PropertyTreeBrowser::KindRole);
    item->setData(name, PropertyTreeBrowser::NameRole);
    return item;
}

int rowKindOf(const QMetaProperty &property)
{
    if (property.isEnumType())
        return property.isFlagType() ? PropertyTreeBrowser::FlagRow : PropertyTreeBrowser::EnumRow;
    switch (property.userType()) {
    case QMetaType::Bool:
        return PropertyTreeBrowser::BoolRow;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return PropertyTreeBrowser::IntRow;
    case QMetaType::Double:
    case QMetaType::Float:
        return PropertyTreeBrowser::DoubleRow;
    case QMetaType::QString:
        return PropertyTreeBrowser::StringRow;
    case QMetaType::QColor:
        return PropertyTreeBrowser::ColourRow;
    case QMetaType::QFont:
        return PropertyTreeBrowser::FontRow;
    case QMetaType::QPointF:
    case QMetaType::QPoint:
        return PropertyTreeBrowser::PointRow;
    default:
        return -1;
    }
}

QStringList choiceNames(const QMetaEnum &metaEnum)
{
    const Config *config = Config::instance();
    QStringList names;
    for (int i = 0; i < metaEnum.keyCount(); ++i)
        names << config->displayName(QStringLiteral("enum"), QLatin1String(metaEnum.key(i)));
    return names;
}

// The integer behind an enumeration-typed value.
int enumInteger(const QVariant &value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (ok || !value.constData())
        return number;
    return *static_cast<const int *>(value.constData());
}

QMetaProperty metaPropertyOf(const QObject *object, const QString &name)
{
    const QMetaObject *meta = object->metaObject();
    return meta->property(meta->indexOfProperty(name.toLatin1().constData()));
}

QString classNameOf(const QObject *object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

} // namespace

std::function<QColor(const QColor &)> PropertyTreeBrowser::colourChooser =
    [](const QColor &current) {
        return QColorDialog::getColor(current, nullptr, QString(), QColorDialog::ShowAlphaChannel);
    };

std::function<QFont(const QFont &, bool *)> PropertyTreeBrowser::fontChooser
    = [](const QFont &current, bool *ok) { return QFontDialog::getFont(ok, current); };

PropertyTreeBrowser::PropertyTreeBrowser(QWidget *parent)
    : QTreeView(parent)
    , m_model(new QStandardItemModel(0, 2, this))
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        fusion->setParent(this);
        setStyle(fusion);
    }
    setModel(m_model);
    setItemDelegate(new PropertyValueDelegate(this));
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setStretchLastSection(true);
    header()->resizeSection(NameColumn, 120);
    connect(m_model, &QStandardItemModel::itemChanged, this, &PropertyTreeBrowser::valueChanged);
    retranslate();
}

PropertyTreeBrowser::~PropertyTreeBrowser()
{
    disconnect(m_destroyedConnection);
}

QModelIndex PropertyTreeBrowser::valueIndex(const QString &propertyName) const
{
    const QStandardItem *item = m_nameItems.value(propertyName);
    return item ? item->index() : QModelIndex();
}

QModelIndex PropertyTreeBrowser::groupIndex(const QString &groupKey) const
{
    const QStandardItem *item = m_groups.value(groupKey);
    return item ? item->index() : QModelIndex();
}

void PropertyTreeBrowser::currentItemChanged(QGraphicsItem *item)
{
    currentItemChanged(item ? shapeObject(item) : nullptr);
}

void PropertyTreeBrowser::currentItemChanged(QObject *object)
{
    if (object && object == m_object) {
        refresh();
        return;
    }
    QScopedValueRollback<bool> updating(m_updating, true);
    clearRows();
    m_object = object;
    if (!object)
        return;
    m_destroyedConnection
        = connect(object, &QObject::destroyed, this, &PropertyTreeBrowser::objectDestroyed);
    buildRows();
}

void PropertyTreeBrowser::objectDestroyed(QObject *object)
{
    Q_UNUSED(object)
    QScopedValueRollback<bool> updating(m_updating, true);
    clearRows();
    m_object = nullptr;
}

void PropertyTreeBrowser::clearRows()
{
    for (auto it = m_groups.cbegin(); it != m_groups.cend(); ++it)
        m_expanded.insert(it.key(), isExpanded(it.value()->index()));
    disconnect(m_destroyedConnection);
    m_itemNames.clear();
    m_nameItems.clear();
    m_groups.clear();
    m_model->removeRows(0, m_model->rowCount());
}

void PropertyTreeBrowser::buildRows()
{
    const QString className = classNameOf(m_object);
    const Config *config = Config::instance();
    const QMap<QString, QStringList> groups = config->propertyRegistry().groups(className);
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        const QString &key = it.key();
        QStandardItem *group
            = titleItem(config->displayName(QStringLiteral("group"), key), GroupRow, key);
        QFont bold = font();
        bold.setBold(true);
        group->setFont(bold);
        for (const QString &name : it.value())
            addPropertyRow(group, className, name);
        // A group whose every property is missing would be an empty heading.
        if (group->rowCount() == 0) {
            delete group;
            continue;
        }
        m_model->appendRow({group, titleItem(QString(), GroupRow, key)});
        m_groups.insert(key, group);
        setFirstColumnSpanned(group->row(), QModelIndex(), true);
        const bool expanded = m_expanded.value(key, true);
        m_expanded.insert(key, expanded);
        setExpanded(group->index(), expanded);
    }
}

void PropertyTreeBrowser::addPropertyRow(QStandardItem *group, const QString &className,
                                         const QString &name)
{
    const QMetaProperty property = metaPropertyOf(m_object, name);
    if (!property.isValid())
        return;
    const int kind = rowKindOf(property);
    if (kind < 0)
        return;

    const Config *config = Config::instance();
    QStandardItem *title = titleItem(config->displayName(className, name), kind, name);
    auto *value = new ValueItem(kind, name);
    if (!property.isWritable())
        value->setFlags(value->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsUserCheckable));

    if (kind == EnumRow || kind == FlagRow) {
        const QMetaEnum metaEnum = property.enumerator();
        const QStringList choices = choiceNames(metaEnum);
        value->setData(choices, ChoicesRole);
        if (kind == FlagRow) {
            for (int i = 0; i < metaEnum.keyCount(); ++i) {
                auto *bit = new ValueItem(FlagBitRow, name, value);
                bit->setData(metaEnum.value(i), BitRole);
                title->appendRow({titleItem(choices.at(i), FlagBitRow, name), bit});
            }
        }
    } else if (kind == PointRow) {
        title->appendRow({titleItem(QStringLiteral("x"), PointXRow, name),
                          new ValueItem(PointXRow, name, value)});
        title->appendRow({titleItem(QStringLiteral("y"), PointYRow, name),
                          new ValueItem(PointYRow, name, value)});
    }

    group->appendRow({title, value});
    m_itemNames.insert(value, name);
    m_nameItems.insert(name, value);
    // Composite rows always start collapsed, whatever the last object had.
    m_expanded.insert(name, false);
    fillValue(value, name);
}

void PropertyTreeBrowser::fillValue(QStandardItem *valueItem, const QString &name)
{
    auto *cell = static_cast<ValueItem *>(valueItem);
    const QMetaProperty property = metaPropertyOf(m_object, name);
    const QVariant current = property.read(m_object);
    QVariant shown = current;
    switch (cell->kind()) {
    case EnumRow: {
        const QMetaEnum metaEnum = property.enumerator();
        const int number = enumInteger(current);
        int position = -1;
        for (int i = 0; i < metaEnum.keyCount() && position < 0; ++i) {
            if (metaEnum.value(i) == number)
                position = i;
        }
        // A value outside the enumeration is shown as its number.
        shown = position >= 0 ? position : number;
        break;
    }
    case FlagRow: {
        const int number = enumInteger(current);
        shown = number;
        QStandardItem *title = cell->parent()->child(cell->row(), NameColumn);
        for (int i = 0; i < title->rowCount(); ++i) {
            QStandardItem *bit = title->child(i, ValueColumn);
            const int mask = bit->data(BitRole).toInt();
            bit->setData(mask != 0 && (number & mask) == mask, Qt::EditRole);
        }
        break;
    }
    case PointRow: {
        const QPointF point = current.toPointF();
        shown = point;
        QStandardItem *title = cell->parent()->child(cell->row(), NameColumn);
        title->child(0, ValueColumn)->setData(point.x(), Qt::EditRole);
        title->child(1, ValueColumn)->setData(point.y(), Qt::EditRole);
        break;
    }
    case IntRow:
        shown = current.toInt();
        break;
    case DoubleRow:
        shown = current.toDouble();
        break;
    default:
        break;
    }
    cell->setData(shown, Qt::EditRole);
}

void PropertyTreeBrowser::refresh()
{
    if (!m_object)
        return;
    QScopedValueRollback<bool> updating(m_updating, true);
    for (auto it = m_nameItems.cbegin(); it != m_nameItems.cend(); ++it)
        fillValue(it.value(), it.key());
}

void PropertyTreeBrowser::retranslate()
{
    m_model->setHorizontalHeaderLabels({tr("属性"), tr("值")});
    if (!m_object)
        return;
    QScopedValueRollback<bool> updating(m_updating, true);
    const Config *config = Config::instance();
    const QString className = classNameOf(m_object);
    for (auto it = m_groups.cbegin(); it != m_groups.cend(); ++it)
        it.value()->setText(config->displayName(QStringLiteral("group"), it.key()));
    for (auto it = m_nameItems.cbegin(); it != m_nameItems.cend(); ++it) {
        QStandardItem *value = it.value();
        QStandardItem *title = value->parent()->child(value->row(), NameColumn);
        title->setText(config->displayName(className, it.key()));
        const int kind = value->data(KindRole).toInt();
        if (kind != EnumRow && kind != FlagRow)
            continue;
        const QStringList choices = choiceNames(metaPropertyOf(m_object, it.key()).enumerator());
        value->setData(choices, ChoicesRole);
        for (int i = 0; i < title->rowCount() && i < choices.size(); ++i)
            title->child(i, NameColumn)->setText(choices.at(i));
    }
}

void PropertyTreeBrowser::valueChanged(QStandardItem *item)
{
    if (m_updating || !item || item->model() != m_model)
        return;
    auto *cell = static_cast<ValueItem *>(item);
    if (item->column() != ValueColumn || item->data(KindRole).toInt() == GroupRow)
        return;
    ValueItem *composite = cell->composite();
    if (!composite) {
        if (m_itemNames.contains(item))
            applyEdit(item);
        return;
    }
    // A part of a composite row: the edit is the whole new value.
    QVariant whole;
    if (cell->kind() == FlagBitRow) {
        const int mask = cell->data(BitRole).toInt();
        const int number = composite->value().toInt();
        whole = cell->value().toBool() ? (number | mask) : (number & ~mask);
    } else {
        QPointF point = composite->value().toPointF();
        if (cell->kind() == PointXRow)
            point.setX(cell->value().toDouble());
        else
            point.setY(cell->value().toDouble());
        whole = point;
    }
    // Arrives back here for the composite cell, which applies it.
    composite->setData(whole, Qt::EditRole);
}

void PropertyTreeBrowser::applyEdit(QStandardItem *valueItem)
{
    QObject *object = m_object;
    if (!object)
        return;
    const QString name = m_itemNames.value(valueItem);
    const QMetaProperty property = metaPropertyOf(object, name);
    QVariant value = valueItem->data(Qt::EditRole);
    if (valueItem->data(KindRole).toInt() == EnumRow) {
        // The shown choice is a position among the keys.
        const QMetaEnum metaEnum = property.enumerator();
        const int position = value.toInt();
        if (position >= 0 && position < metaEnum.keyCount())
            value = metaEnum.value(position);
    } else if (property.userType() == QMetaType::QPoint) {
        value = value.toPointF().toPoint();
    } else if (value.userType() == QMetaType::QString) {
        // Typed or pasted names and texts may hold characters the project
        // file cannot.
        value = xmlSafeText(value.toString());
    }

    auto *command = new ModifyCommand(object, name);
    object->setProperty(name.toLatin1().constData(), value);
    UserOptGroup::instance()->push(command, true);

    if (auto *scene = qobject_cast<QGraphicsScene *>(object))
        scene->update();
    else if (auto *item = dynamic_cast<QGraphicsItem *>(object))
        item->update();
    // Other values may follow (a new size moves the top-left corner), and a
    // refused value must go back to what the object holds.
    refresh();
}
