#include "propertytreebrowser.h"
#include "document/projectdocument.h"
#include "editor/drawscene.h"

#include "editor/shapecommands.h"
#include "editor/useroptgroup.h"
#include "model/builtintables.h"
#include "model/xmlsafetext.h"
#include "propertyvaluedelegate.h"
#include "services/messagedialog.h"
#include "shapes/graphicsitem.h"
#include "shapes/shapeattributes.h"

#include <QColorDialog>
#include <QFontMetrics>
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
        if (PropertyTreeBrowser::isCheckKind(kind))
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
            return PropertyTreeBrowser::isCheckKind(kind()) ? QVariant() : displayText();
        case Qt::DecorationRole:
            if (kind() == PropertyTreeBrowser::ColourRow)
                return m_value.value<QColor>();
            return QVariant();
        case Qt::CheckStateRole:
            if (PropertyTreeBrowser::isCheckKind(kind()))
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
        if (PropertyTreeBrowser::isCheckKind(kind()))
            return QString();
        switch (kind()) {
        case PropertyTreeBrowser::IntRow:
        case PropertyTreeBrowser::DoubleRow:
        case PropertyTreeBrowser::PointXRow:
        case PropertyTreeBrowser::PointYRow:
        case PropertyTreeBrowser::RedRow:
        case PropertyTreeBrowser::GreenRow:
        case PropertyTreeBrowser::BlueRow:
        case PropertyTreeBrowser::AlphaRow:
        case PropertyTreeBrowser::PointSizeRow:
            return PropertyTreeBrowser::numberText(m_value.toDouble());
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
            return QStringLiteral("(%1, %2)")
                .arg(PropertyTreeBrowser::numberText(point.x()),
                     PropertyTreeBrowser::numberText(point.y()));
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

// The sub-rows of a composite row, in display order; none for other rows.
// Flag bits are sub-rows too, but depend on the enumeration.
QVector<int> partKinds(int kind)
{
    switch (kind) {
    case PropertyTreeBrowser::PointRow:
        return {PropertyTreeBrowser::PointXRow, PropertyTreeBrowser::PointYRow};
    case PropertyTreeBrowser::ColourRow:
        return {PropertyTreeBrowser::RedRow, PropertyTreeBrowser::GreenRow,
                PropertyTreeBrowser::BlueRow, PropertyTreeBrowser::AlphaRow};
    case PropertyTreeBrowser::FontRow:
        return {PropertyTreeBrowser::FamilyRow, PropertyTreeBrowser::PointSizeRow,
                PropertyTreeBrowser::BoldRow,   PropertyTreeBrowser::ItalicRow,
                PropertyTreeBrowser::UnderlineRow, PropertyTreeBrowser::StrikeOutRow};
    default:
        return {};
    }
}

// One part of a point, colour or font value.
QVariant partOf(const QVariant &whole, int part)
{
    const QColor colour = whole.value<QColor>();
    const QFont font = whole.value<QFont>();
    switch (part) {
    case PropertyTreeBrowser::PointXRow:
        return whole.toPointF().x();
    case PropertyTreeBrowser::PointYRow:
        return whole.toPointF().y();
    case PropertyTreeBrowser::RedRow:
        return colour.red();
    case PropertyTreeBrowser::GreenRow:
        return colour.green();
    case PropertyTreeBrowser::BlueRow:
        return colour.blue();
    case PropertyTreeBrowser::AlphaRow:
        return colour.alpha();
    case PropertyTreeBrowser::FamilyRow:
        return font.family();
    case PropertyTreeBrowser::PointSizeRow:
        return font.pointSize();
    case PropertyTreeBrowser::BoldRow:
        return font.bold();
    case PropertyTreeBrowser::ItalicRow:
        return font.italic();
    case PropertyTreeBrowser::UnderlineRow:
        return font.underline();
    case PropertyTreeBrowser::StrikeOutRow:
        return font.strikeOut();
    default:
        return QVariant();
    }
}

// whole with one part replaced; every other part is kept as it is.
QVariant withPart(const QVariant &whole, int part, const QVariant &value)
{
    switch (part) {
    case PropertyTreeBrowser::PointXRow:
    case PropertyTreeBrowser::PointYRow: {
        QPointF point = whole.toPointF();
        if (part == PropertyTreeBrowser::PointXRow)
            point.setX(value.toDouble());
        else
            point.setY(value.toDouble());
        return point;
    }
    case PropertyTreeBrowser::RedRow:
    case PropertyTreeBrowser::GreenRow:
    case PropertyTreeBrowser::BlueRow:
    case PropertyTreeBrowser::AlphaRow: {
        // Read through red()..alpha() so that a colour held in another
        // model, or none, becomes the colour the sub-rows show.
        QColor colour = whole.value<QColor>();
        int rgba[] = {colour.red(), colour.green(), colour.blue(), colour.alpha()};
        rgba[part - PropertyTreeBrowser::RedRow] = qBound(0, value.toInt(), 255);
        return QColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    }
    default:
        break;
    }
    QFont font = whole.value<QFont>();
    switch (part) {
    case PropertyTreeBrowser::FamilyRow:
        if (!value.toString().trimmed().isEmpty())
            font.setFamily(value.toString().trimmed());
        break;
    case PropertyTreeBrowser::PointSizeRow:
        if (value.toInt() > 0)
            font.setPointSize(value.toInt());
        break;
    case PropertyTreeBrowser::BoldRow:
        font.setBold(value.toBool());
        break;
    case PropertyTreeBrowser::ItalicRow:
        font.setItalic(value.toBool());
        break;
    case PropertyTreeBrowser::UnderlineRow:
        font.setUnderline(value.toBool());
        break;
    case PropertyTreeBrowser::StrikeOutRow:
        font.setStrikeOut(value.toBool());
        break;
    default:
        return whole;
    }
    return font;
}

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
    const BuiltinTables *tables = BuiltinTables::instance();
    QStringList names;
    for (int i = 0; i < metaEnum.keyCount(); ++i)
        names << tables->displayName(QStringLiteral("enum"), QLatin1String(metaEnum.key(i)));
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

QString PropertyTreeBrowser::numberText(double value)
{
    const QString text = fixedText(value, 6);
    // A remainder below the last decimal shown is no sign worth showing.
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

bool PropertyTreeBrowser::isCheckKind(int kind)
{
    switch (kind) {
    case BoolRow:
    case FlagBitRow:
    case BoldRow:
    case ItalicRow:
    case UnderlineRow:
    case StrikeOutRow:
        return true;
    default:
        return false;
    }
}

QString PropertyTreeBrowser::partTitle(int kind)
{
    switch (kind) {
    case PointXRow:
        return QStringLiteral("x");
    case PointYRow:
        return QStringLiteral("y");
    case RedRow:
        return tr("红");
    case GreenRow:
        return tr("绿");
    case BlueRow:
        return tr("蓝");
    case AlphaRow:
        return QStringLiteral("Alpha");
    case FamilyRow:
        return tr("字体");
    case PointSizeRow:
        return tr("字号");
    case BoldRow:
        return tr("粗体");
    case ItalicRow:
        return tr("斜体");
    case UnderlineRow:
        return tr("下划线");
    case StrikeOutRow:
        return tr("删除线");
    default:
        return QString();
    }
}

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
    m_dataTitle = m_dataValue = nullptr;
    m_model->removeRows(0, m_model->rowCount());
}

void PropertyTreeBrowser::buildRows()
{
    const QString className = classNameOf(m_object);
    const BuiltinTables *tables = BuiltinTables::instance();
    const QMap<QString, QStringList> groups = tables->propertyRegistry().groups(className);
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        const QString &key = it.key();
        QStandardItem *group
            = titleItem(tables->displayName(QStringLiteral("group"), key), GroupRow, key);
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
    addDataRow();
    fitNameColumn();
}

void PropertyTreeBrowser::fitNameColumn()
{
    // Branch indicator, the cell's own margins and a little air.
    const int padding = indentation() + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 12;
    const QFontMetrics metrics(font());
    int needed = 0;
    for (const QStandardItem *group : qAsConst(m_groups)) {
        for (int r = 0; r < group->rowCount(); ++r) {
            const QStandardItem *title = group->child(r, NameColumn);
            needed = qMax(needed, indentation() + metrics.horizontalAdvance(title->text()));
            for (int p = 0; p < title->rowCount(); ++p) {
                needed = qMax(needed, 2 * indentation()
                                          + metrics.horizontalAdvance(title->child(p)->text()));
            }
        }
    }
    // The values need room too.
    needed = qMin(needed + padding, viewport()->width() * 3 / 5);
    if (needed > header()->sectionSize(NameColumn))
        header()->resizeSection(NameColumn, needed);
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

    const BuiltinTables *tables = BuiltinTables::instance();
    QStandardItem *title = titleItem(tables->displayName(className, name), kind, name);
    auto *value = new ValueItem(kind, name);
    // A property without a writer is shown but offers no editor, in its
    // parts neither.
    const auto guardWrite = [&property](QStandardItem *cell) {
        if (!property.isWritable())
            cell->setFlags(cell->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsUserCheckable));
        return cell;
    };
    guardWrite(value);

    if (kind == EnumRow || kind == FlagRow) {
        const QMetaEnum metaEnum = property.enumerator();
        const QStringList choices = choiceNames(metaEnum);
        value->setData(choices, ChoicesRole);
        if (kind == FlagRow) {
            for (int i = 0; i < metaEnum.keyCount(); ++i) {
                auto *bit = new ValueItem(FlagBitRow, name, value);
                bit->setData(metaEnum.value(i), BitRole);
                title->appendRow({titleItem(choices.at(i), FlagBitRow, name), guardWrite(bit)});
            }
        }
    }
    for (int part : partKinds(kind)) {
        title->appendRow({titleItem(partTitle(part), part, name),
                          guardWrite(new ValueItem(part, name, value))});
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
    case PointRow:
    case ColourRow:
    case FontRow: {
        if (cell->kind() == PointRow)
            shown = current.toPointF();
        QStandardItem *title = cell->parent()->child(cell->row(), NameColumn);
        for (int i = 0; i < title->rowCount(); ++i) {
            QStandardItem *part = title->child(i, ValueColumn);
            part->setData(partOf(shown, part->data(KindRole).toInt()), Qt::EditRole);
        }
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
    fillDataRow();
}

void PropertyTreeBrowser::retranslate()
{
    m_model->setHorizontalHeaderLabels({tr("属性"), tr("值")});
    if (!m_object)
        return;
    QScopedValueRollback<bool> updating(m_updating, true);
    fillDataRow();
    const BuiltinTables *tables = BuiltinTables::instance();
    const QString className = classNameOf(m_object);
    for (auto it = m_groups.cbegin(); it != m_groups.cend(); ++it)
        it.value()->setText(tables->displayName(QStringLiteral("group"), it.key()));
    for (auto it = m_nameItems.cbegin(); it != m_nameItems.cend(); ++it) {
        QStandardItem *value = it.value();
        QStandardItem *title = value->parent()->child(value->row(), NameColumn);
        title->setText(tables->displayName(className, it.key()));
        const int kind = value->data(KindRole).toInt();
        for (int i = 0; i < title->rowCount(); ++i) {
            QStandardItem *part = title->child(i, NameColumn);
            if (part->data(KindRole).toInt() != FlagBitRow)
                part->setText(partTitle(part->data(KindRole).toInt()));
        }
        if (kind != EnumRow && kind != FlagRow)
            continue;
        const QStringList choices = choiceNames(metaPropertyOf(m_object, it.key()).enumerator());
        value->setData(choices, ChoicesRole);
        for (int i = 0; i < title->rowCount() && i < choices.size(); ++i)
            title->child(i, NameColumn)->setText(choices.at(i));
    }
    fitNameColumn();
}

void PropertyTreeBrowser::valueChanged(QStandardItem *item)
{
    if (m_updating || !item || item->model() != m_model || item == m_dataValue
        || item == m_dataTitle)
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
        whole = withPart(composite->value(), cell->kind(), cell->value());
    }
    // A part that changes nothing (an empty family) shows the object's
    // value again.
    if (whole == composite->value()) {
        refresh();
        return;
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

    // A screen's name belongs to the project, not to the screen's drawing:
    // its rename is the project's step, as in the project tree, and a
    // blank name is refused there too.
    if (qobject_cast<DrawScene *>(object) && name == QLatin1String("objectName")) {
        const QString newName = value.toString().trimmed();
        ProjectDocument *document = ProjectDocument::current();
        if (document->screenNameTaken(object, newName))
            MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"),
                                       tr("已有名为“%1”的画面，请换一个名称。").arg(newName), {tr("确定")});
        else if (!newName.isEmpty())
            document->renameForm(object, newName);
        refresh();
        return;
    }

    const QVariant before = property.read(object);
    auto *command = new ModifyCommand(object, name);
    object->setProperty(name.toLatin1().constData(), value);
    // A value the object refuses or already holds is no step to undo.
    UserOptGroup::instance()->push(command, property.read(object) != before);

    if (auto *scene = qobject_cast<QGraphicsScene *>(object))
        scene->update();
    else if (auto *item = dynamic_cast<QGraphicsItem *>(object))
        item->update();
    // Other values may follow (a new size moves the top-left corner), and a
    // refused value must go back to what the object holds.
    refresh();
}
