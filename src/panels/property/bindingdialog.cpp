#include "bindingdialog.h"

#include "document/drawmanager.h"
#include "document/picturefiles.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/config.h"
#include "model/taglib/textlib.h"
#include "panels/taglib/regeditwidget.h"
#include "services/filedialog.h"
#include "services/messagedialog.h"
#include "services/colourdialog.h"
#include "services/modalseam.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicstextitem.h"
#include "shapes/graphicswidgetitem.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

enum RangeColumn { FromColumn, ToColumn, FillColumn, LineColumn, TextColumn, BlinkColumn };

// Where a row or list entry came from among the loaded binding's: what it
// kept from a newer version goes back with it.
constexpr int OriginRole = Qt::UserRole + 1;

// The shortest text that reads back as the same number.
QString realText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString colourText(const QColor &colour)
{
    if (!colour.isValid())
        return QString();
    return colour.name(colour.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

QLineEdit *numberEdit(QWidget *parent, const char *name, QValidator *validator)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(validator);
    return edit;
}

QSpinBox *countBox(QWidget *parent, const char *name, int maximum)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, maximum);
    return box;
}

QComboBox *choiceBox(QWidget *parent, const char *name, int count)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (int i = 0; i < count; ++i)
        box->addItem(QString(), i);
    return box;
}

} // namespace

BindingDialog::BindingDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    buildForm();
    setKinds({Binding::Value, Binding::TextState, Binding::Visible, Binding::Colours,
              Binding::Action, Binding::Picture});
    retranslate();
}

QVector<Binding::Kind> BindingDialog::kindsFor(QGraphicsItem *item)
{
    QVector<Binding::Kind> kinds;
    QObject *shape = shapeObject(item);
    const bool lettered = qobject_cast<GraphicsTextItem *>(shape)
        || qobject_cast<GraphicsWidgetItem *>(shape);
    if (lettered)
        kinds << Binding::Value << Binding::TextState;
    kinds << Binding::Visible << Binding::Colours << Binding::Action;
    if (qobject_cast<GraphicsImageItem *>(shape))
        kinds << Binding::Picture;
    return kinds;
}

QLabel *BindingDialog::label(QWidget *parent)
{
    auto *made = new QLabel(parent);
    m_labels.append(made);
    return made;
}

void BindingDialog::buildForm()
{
    m_realValidator = new QDoubleValidator(this);
    m_realValidator->setLocale(QLocale::c());

    auto *head = new QFormLayout;
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("kind"));
    head->addRow(label(this), m_kind);
    m_source = new RegEditWidget(this);
    m_source->setObjectName(QStringLiteral("source"));
    head->addRow(label(this), m_source);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildValuePage());
    m_pages->addWidget(buildTextStatePage());
    m_pages->addWidget(buildVisiblePage());
    m_pages->addWidget(buildColoursPage());
    m_pages->addWidget(buildActionPage());
    m_pages->addWidget(buildPicturePage());

    m_ok = new QPushButton(this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    connect(m_kind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &BindingDialog::kindChosen);
    connect(m_ok, &QPushButton::clicked, this, &BindingDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget *BindingDialog::buildValuePage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    // The reader's bounds: a file never holds more.
    m_digits = countBox(page, "digits", 64);
    m_decimals = countBox(page, "decimals", 64);
    m_scale = numberEdit(page, "scale", m_realValidator);
    m_offset = numberEdit(page, "offset", m_realValidator);
    m_unit = new QLineEdit(page);
    m_unit->setObjectName(QStringLiteral("unit"));
    m_minimum = numberEdit(page, "minimum", m_realValidator);
    m_maximum = numberEdit(page, "maximum", m_realValidator);
    for (QWidget *field : {static_cast<QWidget *>(m_digits), static_cast<QWidget *>(m_decimals),
                           static_cast<QWidget *>(m_scale), static_cast<QWidget *>(m_offset),
                           static_cast<QWidget *>(m_unit), static_cast<QWidget *>(m_minimum),
                           static_cast<QWidget *>(m_maximum)})
        form->addRow(label(page), field);
    return page;
}

QWidget *BindingDialog::buildTextStatePage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    m_textTag = new QComboBox(page);
    m_textTag->setObjectName(QStringLiteral("textTag"));
    m_fallback = countBox(page, "fallback", 65535);
    form->addRow(label(page), m_textTag);
    form->addRow(label(page), m_fallback);
    return page;
}

QWidget *BindingDialog::buildVisiblePage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    m_condition = choiceBox(page, "condition", Binding::InRange + 1);
    m_value = numberEdit(page, "value", m_realValidator);
    m_value2 = numberEdit(page, "value2", m_realValidator);
    form->addRow(label(page), m_condition);
    form->addRow(label(page), m_value);
    form->addRow(label(page), m_value2);
    const auto follow = [this] {
        const int condition = m_condition->currentData().toInt();
        m_value->setEnabled(condition >= Binding::Equal);
        m_value2->setEnabled(condition == Binding::InRange);
    };
    connect(m_condition, QOverload<int>::of(&QComboBox::currentIndexChanged), this, follow);
    follow();
    return page;
}

QWidget *BindingDialog::buildColoursPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_ranges = new QTableWidget(0, 6, page);
    m_ranges->setObjectName(QStringLiteral("ranges"));
    m_ranges->verticalHeader()->hide();
    m_ranges->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(m_ranges);
    auto *buttons = new QHBoxLayout;
    m_addRange = new QPushButton(page);
    m_addRange->setObjectName(QStringLiteral("addRange"));
    m_removeRange = new QPushButton(page);
    m_removeRange->setObjectName(QStringLiteral("removeRange"));
    buttons->addWidget(m_addRange);
    buttons->addWidget(m_removeRange);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_addRange, &QPushButton::clicked, this, [this] {
        if (m_ranges->rowCount() < Binding::MaxEntries)
            addRange(Binding::Range());
    });
    connect(m_removeRange, &QPushButton::clicked, this, [this] {
        if (m_ranges->currentRow() >= 0)
            m_ranges->removeRow(m_ranges->currentRow());
    });
    connect(m_ranges, &QTableWidget::itemDoubleClicked, this,
            &BindingDialog::chooseRangeColour);
    return page;
}

QWidget *BindingDialog::buildActionPage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    m_action = choiceBox(page, "action", Binding::CloseWindow + 1);
    m_step = numberEdit(page, "step", m_realValidator);
    m_stepMinimum = numberEdit(page, "stepMinimum", m_realValidator);
    m_stepMaximum = numberEdit(page, "stepMaximum", m_realValidator);
    m_screen = new QComboBox(page);
    m_screen->setObjectName(QStringLiteral("screen"));
    form->addRow(label(page), m_action);
    form->addRow(label(page), m_step);
    form->addRow(label(page), m_stepMinimum);
    form->addRow(label(page), m_stepMaximum);
    form->addRow(label(page), m_screen);
    connect(m_action, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &BindingDialog::followAction);
    return page;
}

QWidget *BindingDialog::buildPicturePage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_pictures = new QListWidget(page);
    m_pictures->setObjectName(QStringLiteral("pictures"));
    layout->addWidget(m_pictures);
    auto *buttons = new QHBoxLayout;
    m_addPicture = new QPushButton(page);
    m_addPicture->setObjectName(QStringLiteral("addPicture"));
    m_removePicture = new QPushButton(page);
    m_removePicture->setObjectName(QStringLiteral("removePicture"));
    buttons->addWidget(m_addPicture);
    buttons->addWidget(m_removePicture);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_addPicture, &QPushButton::clicked, this, &BindingDialog::addPictures);
    connect(m_removePicture, &QPushButton::clicked, this, [this] {
        delete m_pictures->currentItem();
    });
    return page;
}

void BindingDialog::setKinds(const QVector<Binding::Kind> &kinds)
{
    m_kinds = kinds;
    fillKinds();
}

void BindingDialog::fillKinds()
{
    const QVariant current = m_kind->currentData();
    const QSignalBlocker blocker(m_kind);
    m_kind->clear();
    for (Binding::Kind kind : qAsConst(m_kinds))
        m_kind->addItem(Binding::kindName(kind), int(kind));
    const int at = m_kind->findData(current);
    m_kind->setCurrentIndex(at >= 0 ? at : 0);
    kindChosen();
}

void BindingDialog::kindChosen()
{
    const QVariant kind = m_kind->currentData();
    if (kind.isValid())
        m_pages->setCurrentIndex(kind.toInt());
    followAction();
}

void BindingDialog::followAction()
{
    const int action = m_action->currentData().toInt();
    const bool stepped = action == Binding::AddStep || action == Binding::SubtractStep;
    m_step->setEnabled(action == Binding::WriteValue || stepped);
    m_stepMinimum->setEnabled(stepped);
    m_stepMaximum->setEnabled(stepped);
    m_screen->setEnabled(action >= Binding::SwitchScreen);
    fillScreens();
    // A screen action needs no address.
    m_source->setEnabled(m_kind->currentData().toInt() != Binding::Action
                         || action < Binding::SwitchScreen);
}

void BindingDialog::showName(QComboBox *combo, const QString &text)
{
    int at = combo->findText(text);
    if (at < 0) {
        combo->addItem(text);
        at = combo->count() - 1;
    }
    combo->setCurrentIndex(at);
}

void BindingDialog::fillScreens()
{
    const int action = m_action->currentData().toInt();
    const int type = action == Binding::SwitchScreen ? BaseScreen : WindowScreen;
    if (type == m_screensType)
        return;
    m_screensType = type;
    const QString current = m_screen->currentText();
    m_screen->clear();
    m_screen->addItem(QString());
    for (const DrawScene *scene : DrawManager::instance()->scenes()) {
        if (scene->type() == type)
            m_screen->addItem(scene->objectName());
    }
    m_screen->setCurrentIndex(qMax(0, m_screen->findText(current)));
}

void BindingDialog::startNew(Binding::Kind kind)
{
    Binding fresh;
    fresh.kind = kind;
    // The picker starts on a word: compare it, write it, rather than ask
    // a bit of it.
    fresh.condition = Binding::Unequal;
    fresh.action = Binding::WriteValue;
    setBinding(fresh);
    m_fresh = true;
}

void BindingDialog::setBinding(const Binding &binding)
{
    m_loaded = binding;
    m_fresh = false;
    if (!m_kinds.contains(binding.kind)) {
        m_kinds.append(binding.kind);
        fillKinds();
    }
    m_kind->setCurrentIndex(m_kind->findData(int(binding.kind)));

    showSource(m_source, binding);
    m_shownSource = Binding();
    takeSource(m_source, &m_shownSource);

    m_digits->setValue(binding.digits);
    m_decimals->setValue(binding.decimals);
    m_scale->setText(realText(binding.scale));
    m_offset->setText(realText(binding.offset));
    m_unit->setText(binding.unit);
    m_minimum->setText(realText(binding.minimum));
    m_maximum->setText(realText(binding.maximum));

    m_textTag->clear();
    QStringList textTags = Config::instance()->textLib()->names();
    textTags.removeDuplicates();
    m_textTag->addItems(textTags);
    showName(m_textTag, binding.textTag);
    m_fallback->setValue(binding.fallback);

    m_condition->setCurrentIndex(m_condition->findData(int(binding.condition)));
    m_value->setText(realText(binding.value));
    m_value2->setText(realText(binding.value2));

    m_ranges->setRowCount(0);
    for (int i = 0; i < binding.ranges.size(); ++i) {
        addRange(binding.ranges.at(i));
        m_ranges->item(i, FromColumn)->setData(OriginRole, i);
    }

    m_action->setCurrentIndex(m_action->findData(int(binding.action)));
    m_step->setText(realText(binding.value));
    m_stepMinimum->setText(realText(binding.minimum));
    m_stepMaximum->setText(realText(binding.maximum));
    m_screensType = 0;
    fillScreens();
    // A screen of the wrong type is still shown as stored.
    showName(m_screen, binding.screen);

    m_pictures->clear();
    for (int i = 0; i < binding.pictures.size(); ++i) {
        auto *entry = new QListWidgetItem(binding.pictures.at(i).file, m_pictures);
        entry->setData(OriginRole, i);
    }
}

void BindingDialog::addRange(const Binding::Range &range)
{
    const int row = m_ranges->rowCount();
    m_ranges->insertRow(row);
    auto *from = new QTableWidgetItem(realText(range.from));
    from->setData(OriginRole, -1);
    m_ranges->setItem(row, FromColumn, from);
    m_ranges->setItem(row, ToColumn, new QTableWidgetItem(realText(range.to)));
    const QColor colours[] = {range.fill, range.line, range.text};
    for (int c = FillColumn; c <= TextColumn; ++c) {
        auto *cell = new QTableWidgetItem(colourText(colours[c - FillColumn]));
        // Chosen with the colour chooser on a double click, not typed.
        cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
        cell->setData(Qt::DecorationRole, colours[c - FillColumn]);
        m_ranges->setItem(row, c, cell);
    }
    auto *blink = new QTableWidgetItem;
    blink->setFlags((blink->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
    blink->setCheckState(range.blink ? Qt::Checked : Qt::Unchecked);
    m_ranges->setItem(row, BlinkColumn, blink);
}

void BindingDialog::chooseRangeColour(QTableWidgetItem *cell)
{
    if (!cell || cell->column() < FillColumn || cell->column() > TextColumn)
        return;
    QColor chosen;
    // An accepted empty answer takes the colour away: the shape's own.
    if (!ColourDialog::getColour(this, tr("颜色选择"), QColor(cell->text()), &chosen, true))
        return;
    cell->setText(colourText(chosen));
    cell->setData(Qt::DecorationRole, chosen.isValid() ? QVariant(chosen) : QVariant());
}

void BindingDialog::addPictures()
{
    if (m_pictures->count() >= Binding::MaxEntries)
        return;
    const QString file = FileDialog::getOpenFileName(
        this, tr("选择图片"), QString(), tr("图片 (*.png *.jpg *.jpeg *.svg);;All files(*.*)"));
    if (file.isEmpty())
        return;
    // Copied now rather than on 确定: the list shows what the project will
    // name, and a copy of the same content is reused, never repeated.
    QString error;
    const QString stored
        = PictureFiles::import(file, Config::instance()->pictureFolder(), &error);
    if (stored.isEmpty()) {
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"),
                                   tr("图片未能加入工程：%1").arg(error), {tr("确定")});
        return;
    }
    auto *entry = new QListWidgetItem(stored, m_pictures);
    entry->setData(OriginRole, -1);
    m_pictures->setCurrentItem(entry);
}

void BindingDialog::showSource(RegEditWidget *edit, const Binding &binding)
{
    if (!binding.tag.isEmpty()) {
        edit->setTag(binding.tag);
        return;
    }
    AddressPara para;
    para.length = 2;
    const Config *config = Config::instance();
    if (!binding.device.isEmpty() || !binding.address.isEmpty()) {
        // What cannot be decoded shows the parts that can; the stored
        // source is kept unless the user changes the field.
        config->findDevice(binding.device, para);
        config->parseDataFormat(binding.format, para);
        AddressPara parsed = para;
        if (config->parseAddress(binding.address, parsed)) {
            para = parsed;
            // The panel's own registers lie beyond the area the address
            // box offers: shown by name, as they were picked.
            const QStringList names = config->tagNames(true);
            for (int row = 0; para.device == 0 && row < names.size(); ++row) {
                AddressPara reg;
                if (config->tagAt(true, row, reg) == Config::TagOk && reg.device == 0
                    && reg.area == para.area && reg.address == para.address
                    && reg.bit == para.bit) {
                    edit->setSystemTag(names.at(row));
                    return;
                }
            }
        }
    }
    edit->setPara(para);
}

void BindingDialog::takeSource(const RegEditWidget *edit, Binding *binding)
{
    binding->tag = edit ? edit->pickedTag() : QString();
    binding->device.clear();
    binding->address.clear();
    binding->format.clear();
    if (!edit || !binding->tag.isEmpty())
        return;
    const AddressPara para = edit->para();
    const Config *config = Config::instance();
    binding->device = config->storedDeviceName(para);
    binding->address = config->addressText(para);
    binding->format = Config::dataFormatText(para);
}

bool BindingDialog::sameSource(const Binding &a, const Binding &b)
{
    return a.tag == b.tag && a.device == b.device && a.address == b.address
        && a.format == b.format;
}

bool BindingDialog::takeBinding(Binding *binding)
{
    m_bad.clear();
    const auto number = [this](const QString &text, double *value, const QString &name) {
        bool ok = false;
        const double read = QLocale::c().toDouble(text.trimmed(), &ok);
        if (ok && std::isfinite(read))
            *value = read;
        else
            m_bad << name;
    };
    // The field's own row title names it in the refusal.
    const auto labelOf = [](QWidget *field) {
        auto *form = qobject_cast<QFormLayout *>(field->parentWidget()->layout());
        auto *title = form ? qobject_cast<QLabel *>(form->labelForField(field)) : nullptr;
        return title ? title->text() : field->objectName();
    };

    Binding made = m_loaded;
    made.kind = Binding::Kind(m_kind->currentData().toInt());
    takeSource(m_source, &made);
    if (m_fresh) {
        // A screen action is not asked for a source: none is stored.
        if (!m_source->isEnabled())
            takeSource(nullptr, &made);
    } else if (sameSource(made, m_shownSource)) {
        made.tag = m_loaded.tag;
        made.device = m_loaded.device;
        made.address = m_loaded.address;
        made.format = m_loaded.format;
    }
    switch (made.kind) {
    case Binding::Value:
        made.digits = m_digits->value();
        made.decimals = m_decimals->value();
        number(m_scale->text(), &made.scale, labelOf(m_scale));
        number(m_offset->text(), &made.offset, labelOf(m_offset));
        made.unit = m_unit->text();
        number(m_minimum->text(), &made.minimum, labelOf(m_minimum));
        number(m_maximum->text(), &made.maximum, labelOf(m_maximum));
        break;
    case Binding::TextState:
        made.textTag = m_textTag->currentText();
        made.fallback = m_fallback->value();
        break;
    case Binding::Visible:
        made.condition = Binding::Condition(m_condition->currentData().toInt());
        number(m_value->text(), &made.value, labelOf(m_value));
        number(m_value2->text(), &made.value2, labelOf(m_value2));
        break;
    case Binding::Colours: {
        made.ranges.clear();
        for (int row = 0; row < m_ranges->rowCount(); ++row) {
            const int origin = m_ranges->item(row, FromColumn)->data(OriginRole).toInt();
            Binding::Range range = origin >= 0 && origin < m_loaded.ranges.size()
                ? m_loaded.ranges.at(origin)
                : Binding::Range();
            const QString rowName = tr("颜色第 %1 行").arg(row + 1);
            number(m_ranges->item(row, FromColumn)->text(), &range.from, rowName);
            number(m_ranges->item(row, ToColumn)->text(), &range.to, rowName);
            range.fill = QColor(m_ranges->item(row, FillColumn)->text());
            range.line = QColor(m_ranges->item(row, LineColumn)->text());
            range.text = QColor(m_ranges->item(row, TextColumn)->text());
            range.blink = m_ranges->item(row, BlinkColumn)->checkState() == Qt::Checked;
            made.ranges.append(range);
        }
        break;
    }
    case Binding::Action:
        made.action = Binding::ActionKind(m_action->currentData().toInt());
        number(m_step->text(), &made.value, labelOf(m_step));
        number(m_stepMinimum->text(), &made.minimum, labelOf(m_stepMinimum));
        number(m_stepMaximum->text(), &made.maximum, labelOf(m_stepMaximum));
        made.screen = m_screen->currentText();
        break;
    case Binding::Picture: {
        made.pictures.clear();
        for (int i = 0; i < m_pictures->count(); ++i) {
            const QListWidgetItem *entry = m_pictures->item(i);
            const int origin = entry->data(OriginRole).toInt();
            Binding::PictureFile picture = origin >= 0 && origin < m_loaded.pictures.size()
                ? m_loaded.pictures.at(origin)
                : Binding::PictureFile();
            picture.file = entry->text();
            made.pictures.append(picture);
        }
        break;
    }
    }
    m_bad.removeDuplicates();
    if (!m_bad.isEmpty()) {
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"),
                                   tr("请填写数字：%1").arg(m_bad.join(tr("、"))),
                                   {tr("确定")});
        return false;
    }
    const QString reversed = reversedLimits(made);
    if (!reversed.isEmpty()) {
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"), reversed, {tr("确定")});
        return false;
    }
    *binding = made;
    return true;
}

QString BindingDialog::reversedLimits(const Binding &binding)
{
    const bool stepped = binding.kind == Binding::Action
        && (binding.action == Binding::AddStep || binding.action == Binding::SubtractStep);
    if ((binding.kind == Binding::Value || stepped) && binding.minimum > binding.maximum)
        return tr("最小值大于最大值，没有值能通过，请交换或改正。");
    if (binding.kind == Binding::Visible && binding.condition == Binding::InRange
        && binding.value > binding.value2)
        return tr("值大于范围上限，没有值在范围内，请交换或改正。");
    return QString();
}

void BindingDialog::on_ok_clicked()
{
    Binding made;
    if (takeBinding(&made))
        accept();
}

bool BindingDialog::run()
{
    setResult(QDialog::Rejected);
    ModalSeam::runDialog(this, [this] { on_ok_clicked(); }, [this] { reject(); });
    return result() == QDialog::Accepted;
}

void BindingDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void BindingDialog::retranslate()
{
    setWindowTitle(tr("数据"));
    const QStringList labels = {
        tr("类型"),   tr("地址"),     tr("整数位数"), tr("小数位数"), tr("比例"),
        tr("偏移"),   tr("单位"),     tr("最小值"),   tr("最大值"),   tr("文本标签"),
        tr("其他值显示状态"), tr("条件"), tr("值"),   tr("范围上限"), tr("动作"),
        tr("值或步长"), tr("最小值"), tr("最大值"),   tr("画面")};
    for (int i = 0; i < m_labels.size() && i < labels.size(); ++i)
        m_labels.at(i)->setText(labels.at(i));
    for (int i = 0; i < m_kind->count(); ++i)
        m_kind->setItemText(i, Binding::kindName(Binding::Kind(m_kind->itemData(i).toInt())));
    const QStringList conditions = {tr("位为 1"), tr("位为 0"), tr("等于"), tr("不等于"),
                                    tr("在范围内")};
    for (int i = 0; i < m_condition->count(); ++i)
        m_condition->setItemText(i, conditions.value(i));
    const QStringList actions = {tr("置位"),   tr("复位"),     tr("取反"),     tr("点动"),
                                 tr("写入常数"), tr("加"),      tr("减"),       tr("切换画面"),
                                 tr("打开窗口"), tr("关闭窗口")};
    for (int i = 0; i < m_action->count(); ++i)
        m_action->setItemText(i, actions.value(i));
    m_ranges->setHorizontalHeaderLabels(
        {tr("从"), tr("到"), tr("填充色"), tr("线条色"), tr("文字色"), tr("闪烁")});
    m_ranges->setToolTip(tr("双击颜色格选择颜色"));
    m_addRange->setText(tr("添加"));
    m_removeRange->setText(tr("删除"));
    m_addPicture->setText(tr("添加"));
    m_removePicture->setText(tr("删除"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
}
