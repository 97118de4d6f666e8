#include "propertyvaluedelegate.h"

#include "propertytreebrowser.h"

#include <QColor>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QToolButton>

namespace {

// Editor ranges. Sizes and positions stay within what a panel screen can
// hold; angles within one turn either way.
struct NumberRange
{
    double minimum;
    double maximum;
    double step;
    int decimals;
};

NumberRange rangeFor(const QString &name, int kind)
{
    static const QHash<QString, NumberRange> ranges = {
        {QStringLiteral("penSize"), {0, 100, 1, 0}},
        {QStringLiteral("startAngle"), {-360, 360, 1, 0}},
        {QStringLiteral("spanAngle"), {-360, 360, 1, 0}},
        {QStringLiteral("opacity"), {0, 1, 0.05, 2}},
        {QStringLiteral("rotation"), {-360, 360, 1, 2}},
        {QStringLiteral("width"), {0, 99999, 1, 2}},
        {QStringLiteral("height"), {0, 99999, 1, 2}},
        {QStringLiteral("radiusX"), {0, 99999, 1, 2}},
        {QStringLiteral("radiusY"), {0, 99999, 1, 2}},
    };
    const auto it = ranges.constFind(name);
    if (it != ranges.cend())
        return *it;
    if (kind == PropertyTreeBrowser::IntRow)
        return {-999999, 999999, 1, 0};
    return {-999999, 999999, 1, 2};
}

int kindOf(const QModelIndex &index)
{
    return index.data(PropertyTreeBrowser::KindRole).toInt();
}

// The value is kept on the editor itself: the text field only shows it.
const char ChosenValue[] = "chosenValue";

QString chooserText(const QVariant &value)
{
    if (value.userType() == QMetaType::QColor) {
        const QColor colour = value.value<QColor>();
        return colour.name(colour.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
    }
    const QFont font = value.value<QFont>();
    return QStringLiteral("%1, %2").arg(font.family()).arg(font.pointSize());
}

void showChosen(QWidget *editor, const QVariant &value)
{
    editor->setProperty(ChosenValue, value);
    if (auto *text = editor->findChild<QLineEdit *>())
        text->setText(chooserText(value));
}

} // namespace

PropertyValueDelegate::PropertyValueDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{ }

QWidget *PropertyValueDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    Q_UNUSED(option)
    const int kind = kindOf(index);
    const QString name = index.data(PropertyTreeBrowser::NameRole).toString();
    switch (kind) {
    case PropertyTreeBrowser::IntRow: {
        const NumberRange range = rangeFor(name, kind);
        auto *spin = new QSpinBox(parent);
        spin->setRange(int(range.minimum), int(range.maximum));
        spin->setSingleStep(int(range.step));
        spin->setFrame(false);
        return spin;
    }
    case PropertyTreeBrowser::DoubleRow:
    case PropertyTreeBrowser::PointXRow:
    case PropertyTreeBrowser::PointYRow: {
        const NumberRange range = rangeFor(name, kind);
        auto *spin = new QDoubleSpinBox(parent);
        spin->setDecimals(range.decimals);
        spin->setRange(range.minimum, range.maximum);
        spin->setSingleStep(range.step);
        spin->setFrame(false);
        return spin;
    }
    case PropertyTreeBrowser::StringRow: {
        auto *edit = new QLineEdit(parent);
        edit->setFrame(false);
        return edit;
    }
    case PropertyTreeBrowser::EnumRow: {
        auto *combo = new QComboBox(parent);
        combo->addItems(index.data(PropertyTreeBrowser::ChoicesRole).toStringList());
        // The choice is the edit: commit it at once rather than on leaving.
        QPointer<QComboBox> guard(combo);
        connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, guard] {
            if (guard)
                emit const_cast<PropertyValueDelegate *>(this)->commitData(guard);
        });
        return combo;
    }
    case PropertyTreeBrowser::ColourRow:
    case PropertyTreeBrowser::FontRow: {
        auto *editor = new QWidget(parent);
        editor->setAutoFillBackground(true);
        auto *layout = new QHBoxLayout(editor);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto *text = new QLineEdit(editor);
        text->setFrame(false);
        text->setReadOnly(true);
        auto *button = new QToolButton(editor);
        button->setText(QStringLiteral("..."));
        layout->addWidget(text, 1);
        layout->addWidget(button);
        const bool colour = kind == PropertyTreeBrowser::ColourRow;
        auto *self = const_cast<PropertyValueDelegate *>(this);
        connect(button, &QToolButton::clicked, editor, [self, editor, colour] {
            const QVariant current = editor->property(ChosenValue);
            QVariant chosen;
            if (colour) {
                const QColor picked = PropertyTreeBrowser::colourChooser(current.value<QColor>());
                if (picked.isValid())
                    chosen = picked;
            } else {
                bool ok = false;
                const QFont picked = PropertyTreeBrowser::fontChooser(current.value<QFont>(), &ok);
                if (ok)
                    chosen = picked;
            }
            if (!chosen.isValid())
                return;
            showChosen(editor, chosen);
            emit self->commitData(editor);
        });
        editor->setFocusProxy(button);
        return editor;
    }
    default:
        return nullptr;
    }
}

void PropertyValueDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::EditRole);
    if (auto *spin = qobject_cast<QSpinBox *>(editor))
        spin->setValue(value.toInt());
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
        spin->setValue(value.toDouble());
    else if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(value.toString());
    else if (auto *combo = qobject_cast<QComboBox *>(editor))
        combo->setCurrentIndex(value.toInt());
    else
        showChosen(editor, value);
}

void PropertyValueDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                         const QModelIndex &index) const
{
    QVariant value;
    if (auto *spin = qobject_cast<QSpinBox *>(editor))
        value = spin->value();
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
        value = spin->value();
    else if (auto *edit = qobject_cast<QLineEdit *>(editor))
        value = edit->text();
    else if (auto *combo = qobject_cast<QComboBox *>(editor))
        value = combo->currentIndex();
    else
        value = editor->property(ChosenValue);
    if (value.isValid())
        model->setData(index, value, Qt::EditRole);
}

void PropertyValueDelegate::updateEditorGeometry(QWidget *editor,
                                                 const QStyleOptionViewItem &option,
                                                 const QModelIndex &index) const
{
    Q_UNUSED(index)
    editor->setGeometry(option.rect);
}

QSize PropertyValueDelegate::sizeHint(const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    // Room for a spin box or combo box without resizing the row on edit.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), option.fontMetrics.height() + 8));
    return size;
}
