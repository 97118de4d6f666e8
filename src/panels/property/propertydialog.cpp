#include "propertydialog.h"

#include "bindingdialog.h"
#include "bindinglistpage.h"
#include "document/projectdocument.h"
#include "editor/drawscene.h"
#include "editor/setbindingscommand.h"
#include "editor/shapecommands.h"
#include "editor/useroptgroup.h"
#include "model/propertyregistry.h"
#include "document/picturefiles.h"
#include "model/config.h"
#include "model/xmlsafetext.h"
#include "panels/taglib/regeditwidget.h"
#include "panels/taglib/regpanel.h"
#include "services/filedialog.h"
#include "services/messagedialog.h"
#include "services/modalseam.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitem.h"
#include "shapes/shapeattributes.h"
#include "widgets/colorcombox.h"
#include "widgets/fonteditwidget.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int Coordinate = 100000;
constexpr int MinimumTreeWidth = 90;

// Navigation entries and the page each shows: 基本 {属性, 外观}, 文本,
// 事件 {显示, 隐藏, 按下, 弹起}, 数据.
enum Page { BasicPage, LookPage, TextPage, EventPage, DataPage };

bool hasProperty(const QObject *object, const char *name)
{
    return object && object->metaObject()->indexOfProperty(name) >= 0;
}

QSpinBox *spinBox(QWidget *parent, int minimum)
{
    auto *box = new QSpinBox(parent);
    box->setRange(minimum, Coordinate);
    return box;
}

// Whether the property table lists name for the shape's class: a line's
// size follows its points, so it has none to edit.
bool edits(const QObject *shape, const char *name)
{
    return hasProperty(shape, name) && propertyNamesOf(shape).contains(QLatin1String(name));
}

bool same(double a, double b)
{
    return std::abs(a - b) < 1e-6;
}

} // namespace

PropertyDialog::PropertyDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    buildForm();
    retranslate();
}

void PropertyDialog::buildForm()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("navigation"));
    m_tree->setHeaderHidden(true);
    m_tree->setFrameShape(QFrame::NoFrame);
    if (QStyle *windows = QStyleFactory::create(QStringLiteral("windows"))) {
        windows->setParent(m_tree);
        m_tree->setStyle(windows);
    }
    // Sized to its entries on each language change, not to a fixed width
    // that cuts the longer English ones off.
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const auto entry = [this](QTreeWidgetItem *parentEntry, Page page) {
        auto *item = parentEntry ? new QTreeWidgetItem(parentEntry) : new QTreeWidgetItem(m_tree);
        item->setData(0, Qt::UserRole, int(page));
        m_entries.append(item);
        return item;
    };
    QTreeWidgetItem *basic = entry(nullptr, BasicPage);
    entry(basic, BasicPage);
    entry(basic, LookPage);
    entry(nullptr, TextPage);
    QTreeWidgetItem *events = entry(nullptr, EventPage);
    for (int i = 0; i < 4; ++i)
        entry(events, EventPage);
    entry(nullptr, DataPage);
    m_tree->expandAll();

    m_pages = new QStackedWidget(this);

    auto *basicPage = new QWidget;
    auto *basicLayout = new QVBoxLayout(basicPage);
    auto *nameRow = new QHBoxLayout;
    m_nameLabel = new QLabel(basicPage);
    m_name = new QLineEdit(basicPage);
    m_name->setObjectName(QStringLiteral("name"));
    nameRow->addWidget(m_nameLabel);
    nameRow->addWidget(m_name);
    basicLayout->addLayout(nameRow);
    m_layoutGroup = new QGroupBox(basicPage);
    auto *layoutGrid = new QGridLayout(m_layoutGroup);
    m_xLabel = new QLabel(m_layoutGroup);
    m_yLabel = new QLabel(m_layoutGroup);
    m_widthLabel = new QLabel(m_layoutGroup);
    m_heightLabel = new QLabel(m_layoutGroup);
    // A file may hold a shape partly off the screen; the fields must be able
    // to show where it is, or an untouched OK would move it.
    m_x = spinBox(m_layoutGroup, -Coordinate);
    m_y = spinBox(m_layoutGroup, -Coordinate);
    m_width = spinBox(m_layoutGroup, 0);
    m_height = spinBox(m_layoutGroup, 0);
    m_pin = new QCheckBox(m_layoutGroup);
    layoutGrid->addWidget(m_xLabel, 0, 0);
    layoutGrid->addWidget(m_x, 0, 1);
    layoutGrid->addWidget(m_yLabel, 0, 2);
    layoutGrid->addWidget(m_y, 0, 3);
    layoutGrid->addWidget(m_widthLabel, 1, 0);
    layoutGrid->addWidget(m_width, 1, 1);
    layoutGrid->addWidget(m_heightLabel, 1, 2);
    layoutGrid->addWidget(m_height, 1, 3);
    layoutGrid->addWidget(m_pin, 2, 0, 1, 4);
    basicLayout->addWidget(m_layoutGroup);
    m_registerLabel = new QLabel(basicPage);
    m_register = new RegEditWidget(basicPage);
    connect(m_register->panel(), &RegPanel::confirmed, this, [this] { m_registerConfirmed = true; });
    basicLayout->addWidget(m_registerLabel);
    basicLayout->addWidget(m_register);
    basicLayout->addStretch();
    m_pages->addWidget(basicPage);

    auto *lookPage = new QWidget;
    auto *lookLayout = new QFormLayout(lookPage);
    m_backgroundLabel = new QLabel(lookPage);
    m_background = new ColorCombox(lookPage);
    lookLayout->addRow(m_backgroundLabel, m_background);
    m_pictureLabel = new QLabel(lookPage);
    auto *pictureRow = new QHBoxLayout;
    m_picture = new QLineEdit(lookPage);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setReadOnly(true);
    m_pictureButton = new QToolButton(lookPage);
    m_pictureButton->setText(QStringLiteral("..."));
    m_pictureClear = new QToolButton(lookPage);
    m_pictureClear->setText(QStringLiteral("×"));
    pictureRow->addWidget(m_picture, 1);
    pictureRow->addWidget(m_pictureButton);
    pictureRow->addWidget(m_pictureClear);
    lookLayout->addRow(m_pictureLabel, pictureRow);
    m_pages->addWidget(lookPage);

    auto *textPage = new QWidget;
    auto *textLayout = new QFormLayout(textPage);
    m_fontLabel = new QLabel(textPage);
    m_font = new FontEditWidget(textPage);
    m_font->setObjectName(QStringLiteral("font"));
    textLayout->addRow(m_fontLabel, m_font);
    m_pages->addWidget(textPage);

    m_pages->addWidget(new QWidget);

    m_bindingPage = new BindingListPage;
    m_pages->addWidget(m_bindingPage);

    m_ok = new QPushButton(this);
    m_cancel = new QPushButton(this);
    m_apply = new QPushButton(this);
    m_ok->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_apply);

    auto *body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addWidget(m_pages, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { showPage(current); });
    connect(m_background, &ColorCombox::sigColorChanged, this, [this](const QColor &color) {
        m_chosenColor = color;
        m_colorChosen = true;
    });
    connect(m_bindingPage, &BindingListPage::aboutToEdit, this, &PropertyDialog::foldRegister);
    connect(m_bindingPage, &BindingListPage::changed, this, &PropertyDialog::showRegister);
    connect(m_pictureButton, &QToolButton::clicked, this, &PropertyDialog::choosePicture);
    connect(m_pictureClear, &QToolButton::clicked, this, [this] {
        m_chosenPicture.clear();
        m_pictureChosen = true;
        m_picture->clear();
    });
    connect(m_ok, &QPushButton::clicked, this, &PropertyDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &PropertyDialog::on_cancel_clicked);
    connect(m_apply, &QPushButton::clicked, this, &PropertyDialog::on_apply_clicked);
}

void PropertyDialog::showPage(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const int page = item->data(0, Qt::UserRole).toInt();
    // The list then shows what the register field holds.
    if (page == DataPage)
        foldRegister();
    m_pages->setCurrentIndex(page);
}

void PropertyDialog::showRegister()
{
    const QVector<Binding> &bindings = m_bindingPage->bindings();
    m_registerIndex = -1;
    for (int i = 0; i < bindings.size() && m_registerIndex < 0; ++i) {
        if (bindings.at(i).kind == Binding::Value)
            m_registerIndex = i;
    }
    if (m_registerIndex >= 0) {
        BindingDialog::showSource(m_register, bindings.at(m_registerIndex));
    } else {
        AddressPara para;
        para.length = 2;
        m_register->setPara(para);
    }
    m_registerShown = Binding();
    m_registerConfirmed = false;
    BindingDialog::takeSource(m_register, &m_registerShown);
    m_register->setEnabled(m_shape
                           && (m_registerIndex >= 0
                               || m_bindingPage->kinds().contains(Binding::Value)));
}

void PropertyDialog::foldRegister()
{
    if (!m_shape || !m_register->isEnabled())
        return;
    Binding shown;
    BindingDialog::takeSource(m_register, &shown);
    if (BindingDialog::sameSource(shown, m_registerShown)
        && !(m_registerConfirmed && m_registerIndex < 0))
        return;
    QVector<Binding> bindings = m_bindingPage->bindings();
    if (m_registerIndex >= 0 && m_registerIndex < bindings.size()) {
        Binding &target = bindings[m_registerIndex];
        target.tag = shown.tag;
        target.device = shown.device;
        target.address = shown.address;
        target.format = shown.format;
    } else if (bindings.size() < Binding::MaxPerShape) {
        shown.kind = Binding::Value;
        bindings.append(shown);
    }
    m_bindingPage->setBindings(bindings, m_bindingPage->kinds());
    showRegister();
}

DrawScene *PropertyDialog::screenTarget() const
{
    return m_screen;
}

QGraphicsItem *PropertyDialog::itemTarget() const
{
    return m_shape ? m_item : nullptr;
}

bool PropertyDialog::showFor(DrawScene *scene)
{
    if (!scene)
        return false;
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.size() > 1)
        return false;
    if (selected.isEmpty()) {
        setScreenTarget(scene);
    } else {
        if (!shapeObject(selected.first()))
            return false;
        setItemTarget(selected.first());
    }
    run();
    return true;
}

bool PropertyDialog::showForScreen(DrawScene *scene)
{
    if (!scene)
        return false;
    setScreenTarget(scene);
    run();
    return true;
}

int PropertyDialog::run()
{
    m_tree->setCurrentItem(m_entries.first());
    return ModalSeam::runDialog(this, [this] { on_ok_clicked(); },
                                [this] { on_cancel_clicked(); });
}

void PropertyDialog::setScreenTarget(DrawScene *scene)
{
    m_shape = nullptr;
    m_item = nullptr;
    m_screen = scene;
    m_name->setText(scene ? scene->objectName() : QString());
    m_loadedName = m_name->text();
    // Only the name of a screen is kept here; the rest is edited in the
    // property browser. The layout fields show the screen itself, not
    // what the last shape opened here left in them.
    m_x->setValue(0);
    m_y->setValue(0);
    m_width->setValue(scene ? qRound(scene->width()) : 0);
    m_height->setValue(scene ? qRound(scene->height()) : 0);
    m_pin->setChecked(false);
    m_loadedX = m_loadedY = 0;
    m_loadedWidth = m_width->value();
    m_loadedHeight = m_height->value();
    m_loadedPin = false;
    m_layoutGroup->setEnabled(false);
    m_background->setEnabled(false);
    m_background->setColor(QColor());
    m_colorChosen = false;
    m_font->setEnabled(false);
    m_font->setValue(QFont());
    m_loadedFont = QFont();
    loadPicture(nullptr);
    m_bindingPage->setBindings({}, {});
    m_bindingPage->setEnabled(false);
    showRegister();
}

void PropertyDialog::setItemTarget(QGraphicsItem *item)
{
    m_screen = nullptr;
    m_item = item;
    m_shape = shapeObject(item);
    loadItem();
}

void PropertyDialog::loadItem()
{
    QObject *shape = m_shape;
    m_name->setText(shape ? shape->objectName() : QString());
    m_loadedName = m_name->text();
    m_layoutGroup->setEnabled(shape != nullptr);
    // What the fields show once loaded is what counts as untouched: a
    // value they cannot show exactly (a fraction, a negative size from a
    // file) is still not written back unless the user changes it.
    const QPointF pos = shape ? shape->property("pos").toPointF() : QPointF();
    m_x->setValue(qRound(pos.x()));
    m_y->setValue(qRound(pos.y()));
    m_loadedX = m_x->value();
    m_loadedY = m_y->value();
    // Groups take their size from their members, lines from their points.
    const bool sized = edits(shape, "width") && edits(shape, "height");
    const bool measured = hasProperty(shape, "width") && hasProperty(shape, "height");
    m_width->setValue(measured ? qRound(shape->property("width").toDouble()) : 0);
    m_height->setValue(measured ? qRound(shape->property("height").toDouble()) : 0);
    m_loadedWidth = m_width->value();
    m_loadedHeight = m_height->value();
    m_width->setEnabled(sized);
    m_height->setEnabled(sized);
    m_loadedPin = shape && shape->property("fixe").toBool();
    m_pin->setChecked(m_loadedPin);
    const bool filled = hasProperty(shape, "brushColor");
    m_loadedColor = filled ? shape->property("brushColor").value<QColor>() : QColor();
    m_background->setEnabled(filled);
    m_background->setColor(m_loadedColor);
    m_colorChosen = false;
    // The editor keeps its last value otherwise, and would show the font
    // picked for another shape.
    const bool lettered = edits(shape, "font");
    m_loadedFont = lettered ? shape->property("font").value<QFont>() : QFont();
    m_font->setValue(m_loadedFont);
    m_font->setEnabled(lettered);
    loadPicture(qobject_cast<GraphicsImageItem *>(shape));
    m_bindingPage->setEnabled(shape != nullptr);
    m_bindingPage->setBindings(shape ? shapeBindings(m_item) : QVector<Binding>(),
                               shape ? BindingDialog::kindsFor(m_item)
                                     : QVector<Binding::Kind>());
    showRegister();
}

void PropertyDialog::loadPicture(const GraphicsImageItem *image)
{
    m_loadedPicture = image ? image->picture() : QString();
    m_picture->setText(m_loadedPicture);
    m_chosenPicture.clear();
    m_pictureChosen = false;
    for (QWidget *field : {static_cast<QWidget *>(m_picture), static_cast<QWidget *>(m_pictureButton),
                           static_cast<QWidget *>(m_pictureClear)})
        field->setEnabled(image != nullptr);
}

void PropertyDialog::choosePicture()
{
    const QString file = FileDialog::getOpenFileName(
        this, tr("选择图片"), QString(), tr("图片 (*.png *.jpg *.jpeg *.svg);;All files(*.*)"));
    if (file.isEmpty())
        return;
    m_chosenPicture = file;
    m_pictureChosen = true;
    m_picture->setText(QDir::toNativeSeparators(file));
}

bool PropertyDialog::takePicture(QString *picture)
{
    *picture = m_loadedPicture;
    if (!m_pictureChosen || !m_picture->isEnabled())
        return true;
    if (m_chosenPicture.isEmpty()) {
        picture->clear();
        return true;
    }
    QString error;
    const QString stored
        = PictureFiles::import(m_chosenPicture, Config::instance()->pictureFolder(), &error);
    if (stored.isEmpty()) {
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"),
                                   tr("图片未能加入工程：%1").arg(error), {tr("确定")});
        return false;
    }
    *picture = stored;
    return true;
}

void PropertyDialog::on_ok_clicked()
{
    if (on_apply_clicked())
        accept();
}

void PropertyDialog::on_cancel_clicked()
{
    reject();
}

bool PropertyDialog::on_apply_clicked()
{
    if (m_screen)
        return applyScreen();
    if (m_shape)
        return applyItem();
    return true;
}

void PropertyDialog::refuse(const QString &text)
{
    MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"), text, {tr("确定")});
    m_tree->setCurrentItem(m_entries.first());
    m_name->setFocus();
    m_name->selectAll();
}

bool PropertyDialog::applyScreen()
{
    // A name the user left alone stays as it is, even one a rename here
    // would refuse or trim.
    if (m_name->text() == m_loadedName)
        return true;
    const QString name = xmlSafeText(m_name->text()).trimmed();
    if (name.isEmpty()) {
        refuse(tr("名称不能为空！"));
        return false;
    }
    if (name == m_screen->objectName())
        return true;
    if (ProjectDocument::current()->screenNameTaken(m_screen, name)) {
        refuse(tr("已有名为“%1”的画面，请换一个名称。").arg(name));
        return false;
    }
    // The scene's name is what the project file stores; its tab and tree
    // entry follow it, on undo as well. A rename is the project's step, as
    // in the project tree.
    ProjectDocument::current()->renameForm(m_screen, name);
    m_name->setText(name);
    m_loadedName = name;
    emit formRenamed(m_screen);
    return true;
}

bool PropertyDialog::applyItem()
{
    QObject *shape = m_shape;
    auto *drawScene = qobject_cast<DrawScene *>(m_item->scene());
    // Only a name the user typed is checked and written: one read from a
    // file stays as it is, even empty or shared.
    const bool renamed = m_name->text() != m_loadedName;
    const QString name = renamed ? xmlSafeText(m_name->text()).trimmed() : shape->objectName();
    if (renamed && name.isEmpty()) {
        refuse(tr("名称不能为空！"));
        return false;
    }
    if (renamed && drawScene) {
        const QList<QGraphicsItem *> items = drawScene->userItems();
        for (QGraphicsItem *other : items) {
            QObject *object = shapeObject(other);
            if (object && object != shape && object->objectName() == name) {
                refuse(tr("名称“%1”已被本画面的其他元件使用！").arg(name));
                return false;
            }
        }
    }

    const bool widthEdited = m_width->isEnabled() && m_width->value() != m_loadedWidth;
    const bool heightEdited = m_height->isEnabled() && m_height->value() != m_loadedHeight;
    if ((widthEdited && m_width->value() < 1) || (heightEdited && m_height->value() < 1)) {
        refuseSize(tr("宽度和高度至少为 1。"));
        return false;
    }

    // Sizes before the position: the top-left corner is kept by writing it
    // after the size that moves it.
    QStringList names;
    QVariantList values;
    if (name != shape->objectName()) {
        names << QStringLiteral("objectName");
        values << name;
    }
    if (widthEdited) {
        names << QStringLiteral("width");
        values << double(m_width->value());
    }
    if (heightEdited) {
        names << QStringLiteral("height");
        values << double(m_height->value());
    }
    // A new size moves the corner too; it stays where the fields say.
    // Untouched coordinates keep their exact values, fractions included.
    const bool moved = m_x->value() != m_loadedX || m_y->value() != m_loadedY;
    const bool reshaped = moved || widthEdited || heightEdited;
    QPointF corner;
    if (reshaped) {
        const QPointF current = shape->property("pos").toPointF();
        corner = QPointF(m_x->value() != m_loadedX ? m_x->value() : current.x(),
                         m_y->value() != m_loadedY ? m_y->value() : current.y());
        names << QStringLiteral("pos");
        values << corner;
    }
    if (m_pin->isChecked() != m_loadedPin) {
        names << QStringLiteral("fixe");
        values << m_pin->isChecked();
    }
    if (m_colorChosen && m_background->isEnabled() && m_chosenColor != m_loadedColor) {
        // "透明" is no colour at all; the shape stores it as a transparent
        // fill rather than an undefined one.
        const QColor color = m_chosenColor.isValid() ? m_chosenColor : QColor(Qt::transparent);
        if (color != m_loadedColor) {
            names << QStringLiteral("brushColor");
            values << color;
        }
    }
    if (m_font->isEnabled() && m_font->value() != m_loadedFont) {
        names << QStringLiteral("font");
        values << m_font->value();
    }
    // Copied last, once nothing else can refuse the edit before it is made.
    QString picture;
    if (!takePicture(&picture))
        return false;
    if (picture != m_loadedPicture) {
        names << QStringLiteral("picture");
        values << picture;
    }
    foldRegister();
    // Built now, while the shape holds its old bindings.
    auto *rebinding = new SetBindingsCommand(m_item, m_bindingPage->bindings());
    if (!rebinding->changesBindings()) {
        delete rebinding;
        rebinding = nullptr;
    }
    if (names.isEmpty()) {
        if (rebinding) {
            UserOptGroup::instance()->push(rebinding, true);
            m_item->update();
            loadItem();
        }
        return true;
    }

    // Both in one step: the bindings' command beside the properties' one.
    QUndoCommand *step = nullptr;
    if (rebinding) {
        auto *both = new TextCommand;
        both->setTextSource([] { return QCoreApplication::translate("QObject", "修改对象属性"); });
        step = both;
    }
    auto *command = new ModifyCommand(shape, names, step);
    QVariantList before;
    for (const QString &property : qAsConst(names))
        before << shape->property(property.toLatin1().constData());
    for (int i = 0; i < names.size(); ++i)
        shape->setProperty(names.at(i).toLatin1().constData(), values.at(i));

    // The screen holds its shapes back at its edges. Rather than leave the
    // shape somewhere the user did not ask for, the edit is taken back.
    if (reshaped) {
        const QPointF now = shape->property("pos").toPointF();
        bool held = !same(now.x(), corner.x()) || !same(now.y(), corner.y());
        if (widthEdited)
            held = held || !same(shape->property("width").toDouble(), m_width->value());
        if (heightEdited)
            held = held || !same(shape->property("height").toDouble(), m_height->value());
        if (held) {
            {
                // Back exactly where it was, even if that was off the edge.
                const QScopedValueRollback<bool> free(GraphicsItem::screenClampEnabled(), false);
                for (int i = 0; i < names.size(); ++i)
                    shape->setProperty(names.at(i).toLatin1().constData(), before.at(i));
            }
            delete rebinding;
            if (step)
                delete step;
            else
                delete command;
            m_item->update();
            const QRectF screen = drawScene ? drawScene->sceneRect() : QRectF();
            refuseSize(tr("元件须完整位于画面内（宽 %1，高 %2），请修改位置或大小。")
                           .arg(qRound(screen.width()))
                           .arg(qRound(screen.height())));
            return false;
        }
    }
    m_item->update();
    if (step) {
        // The shape already holds the new values; redo() writes them again.
        command->recordNewValues();
        // Re-made as a child of the step; the shape still holds its old list.
        delete rebinding;
        new SetBindingsCommand(m_item, m_bindingPage->bindings(), step);
        UserOptGroup::instance()->push(step, true);
    } else {
        delete rebinding;
        UserOptGroup::instance()->push(command, true);
    }
    // The fields now describe the shape as it is, so a second 应用 adds no
    // step.
    loadItem();
    return true;
}

void PropertyDialog::refuseSize(const QString &text)
{
    MessageDialog::showMessage(this, QMessageBox::Warning, tr("提醒"), text, {tr("确定")});
    m_tree->setCurrentItem(m_entries.first());
    m_x->setFocus();
}

void PropertyDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void PropertyDialog::fitTree()
{
    m_tree->resizeColumnToContents(0);
    const int frame = 2 * m_tree->frameWidth();
    const int scrollBar = m_tree->verticalScrollBar()->isVisible()
        ? m_tree->verticalScrollBar()->sizeHint().width()
        : 0;
    m_tree->setFixedWidth(qMax(MinimumTreeWidth,
                               m_tree->columnWidth(0) + frame + scrollBar));
}

void PropertyDialog::retranslate()
{
    setWindowTitle(tr("属性编辑"));
    const QStringList entries = {tr("基本"), tr("属性"), tr("外观"), tr("文本"), tr("事件"),
                                 tr("显示"), tr("隐藏"), tr("按下"), tr("弹起"), tr("数据")};
    for (int i = 0; i < m_entries.size() && i < entries.size(); ++i)
        m_entries.at(i)->setText(0, entries.at(i));
    fitTree();
    m_nameLabel->setText(tr("名称"));
    m_layoutGroup->setTitle(tr("布局"));
    m_xLabel->setText(tr("水平位置"));
    m_yLabel->setText(tr("垂直位置"));
    m_widthLabel->setText(tr("宽度"));
    m_heightLabel->setText(tr("高度"));
    m_pin->setText(tr("图钉"));
    m_registerLabel->setText(tr("寄存器"));
    m_backgroundLabel->setText(tr("背景色"));
    m_fontLabel->setText(tr("字体"));
    m_pictureLabel->setText(tr("图片"));
    m_pictureButton->setToolTip(tr("选择 PNG、JPEG 或 SVG 图片"));
    m_pictureClear->setToolTip(tr("不显示图片"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
    m_apply->setText(tr("应用"));
}
