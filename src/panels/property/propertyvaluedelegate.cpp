#include "propertyvaluedelegate.h"

#include "propertytreebrowser.h"

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QFontComboBox>
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
};

NumberRange rangeFor(const QString &name, int kind)
{
    switch (kind) {
    case PropertyTreeBrowser::RedRow:
    case PropertyTreeBrowser::GreenRow:
    case PropertyTreeBrowser::BlueRow:
    case PropertyTreeBrowser::AlphaRow:
        return {0, 255, 1};
    case PropertyTreeBrowser::PointSizeRow:
        return {1, 999, 1};
    default:
        break;
    }
    static const QHash<QString, NumberRange> ranges = {
        {QStringLiteral("penSize"), {0, 100, 1}},
        {QStringLiteral("startAngle"), {-360, 360, 1}},
        {QStringLiteral("spanAngle"), {-360, 360, 1}},
        {QStringLiteral("opacity"), {0, 1, 0.05}},
        {QStringLiteral("rotation"), {-360, 360, 1}},
        {QStringLiteral("width"), {0, 99999, 1}},
        {QStringLiteral("height"), {0, 99999, 1}},
        {QStringLiteral("radiusX"), {0, 99999, 1}},
        {QStringLiteral("radiusY"), {0, 99999, 1}},
    };
    const auto it = ranges.constFind(name);
    if (it != ranges.cend())
        return *it;
    return {-999999, 999999, 1};
}

// Takes up to six decimals but shows only those the value needs, as the
// value cell does: 12.3456 must not become 12.35, nor 100 read 100.000000.
class DecimalSpinBox : public QDoubleSpinBox
{
public:
    using QDoubleSpinBox::QDoubleSpinBox;

protected:
    QString textFromValue(double value) const override
    {
        QString text = QDoubleSpinBox::textFromValue(value);
        const QChar point = locale().decimalPoint();
        if (!text.contains(point))
            return text;
        int end = text.size();
        while (text.at(end - 1) == QLatin1Char('0'))
            --end;
        if (text.at(end - 1) == point)
            --end;
        text.truncate(end);
        return text;
    }
};

int kindOf(const QModelIndex &index)
{
    return index.data(PropertyTreeBrowser::KindRole).toInt();
}

// The value is kept on the editor itself: the text field only shows it.
const char ChosenValue[] = "chosenValue";
// What the editor held when it was filled in from the model. Only a value
// that differs from it is written back: an editor rounds, clamps or
// substitutes what it shows (two decimals, a range, an installed font), and
// merely opening and leaving it must change nothing.
const char ShownValue[] = "shownValue";

// The value an editor holds now. The order of the casts matters: a font
// combo box is a combo box.
QVariant editorValue(const QWidget *editor)
{
    if (auto *spin = qobject_cast<const QSpinBox *>(editor))
        return spin->value();
    if (auto *spin = qobject_cast<const QDoubleSpinBox *>(editor))
        return spin->value();
    if (auto *edit = qobject_cast<const QLineEdit *>(editor))
        return edit->text();
    if (auto *fonts = qobject_cast<const QFontComboBox *>(editor))
        return fonts->currentText();
    if (auto *combo = qobject_cast<const QComboBox *>(editor))
        return combo->currentIndex();
    return editor->property(ChosenValue);
}

// Commits the editor at once: for choices from a list the choice is the
// edit, not the leaving.
void commitOnActivated(PropertyValueDelegate *delegate, QComboBox *combo)
{
    QPointer<QComboBox> guard(combo);
    QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), delegate,
                     [delegate, guard] {
                         if (guard)
                             emit delegate->commitData(guard);
                     });
}

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
    auto *self = const_cast<PropertyValueDelegate *>(this);
    switch (kind) {
    case PropertyTreeBrowser::IntRow:
    case PropertyTreeBrowser::RedRow:
    case PropertyTreeBrowser::GreenRow:
    case PropertyTreeBrowser::BlueRow:
    case PropertyTreeBrowser::AlphaRow:
    case PropertyTreeBrowser::PointSizeRow: {
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
        auto *spin = new DecimalSpinBox(parent);
        spin->setDecimals(6);
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
        commitOnActivated(self, combo);
        return combo;
    }
    case PropertyTreeBrowser::FamilyRow: {
        // Editable, so that a family this machine lacks can still be named.
        auto *fonts = new QFontComboBox(parent);
        fonts->setFrame(false);
        commitOnActivated(self, fonts);
        return fonts;
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
        connect(button, &QToolButton::clicked, editor, [self, editor, colour] {
            // The chooser runs its own event loop; the editor may be closed
            // and deleted before it returns.
            const QPointer<QWidget> guard(editor);
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
            if (!chosen.isValid() || !guard)
                return;
            showChosen(editor, chosen);
            emit self->commitData(editor);
        });
        editor->setFocusProxy(button);
        // Focus sits on the button, so the editor itself never hears of it
        // leaving. Leaving for another widget of the same window ends the
        // edit as it does for the other editors; the chooser's dialog is
        // another window and does not.
        connect(qApp, &QApplication::focusChanged, editor, [self, editor](QWidget *, QWidget *now) {
            if (!now || !editor->isVisible() || now->window() != editor->window()
                || editor->isAncestorOf(now))
                return;
            emit self->commitData(editor);
            emit self->closeEditor(editor);
        });
        return editor;
    }
    default:
        return nullptr;
    }
}

void PropertyValueDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::EditRole);
    if (auto *spin = qobject_cast<QSpinBox *>(editor)) {
        spin->setValue(value.toInt());
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        spin->setValue(value.toDouble());
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        edit->setText(value.toString());
    } else if (auto *fonts = qobject_cast<QFontComboBox *>(editor)) {
        // The list may stand on the nearest installed family; the text
        // says what the shape holds.
        fonts->setCurrentFont(QFont(value.toString()));
        fonts->setEditText(value.toString());
    } else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(value.toInt());
    } else {
        showChosen(editor, value);
    }
    editor->setProperty(ShownValue, editorValue(editor));
}

void PropertyValueDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                         const QModelIndex &index) const
{
    const QVariant value = editorValue(editor);
    if (!value.isValid() || value == editor->property(ShownValue))
        return;
    editor->setProperty(ShownValue, value);
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
