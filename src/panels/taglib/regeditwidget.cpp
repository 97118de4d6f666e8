#include "regeditwidget.h"

#include "addresseditform.h"
#include "addresslibdialog.h"
#include "document/projectdocument.h"
#include "model/config.h"
#include "regpanel.h"
#include "services/modalseam.h"
#include "widgets/sortproxymodel.h"
#include "widgets/tableview.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStandardItemModel>

namespace {

AddressPara defaultPara()
{
    AddressPara para;
    para.length = 2;
    return para;
}

// Runs the library dialog on the given list and row; true when it was
// closed with OK. Under a modal handler the dialog is positioned the same
// way and the handler stands for the user (it may change the table's
// current row through AddressLibDialog::current()).
bool runLibrary(AddressLibDialog *dialog, bool system, int row)
{
    if (!ModalSeam::hasHandler())
        return dialog->showLibrary(system, row) == QDialog::Accepted;
    dialog->selectRow(system, row);
    ModalRequest request;
    request.kind = ModalRequest::Dialog;
    request.title = dialog->windowTitle();
    if (!ModalSeam::answer(request).accepted)
        return false;
    dialog->setResult(QDialog::Rejected);
    // OK validates the library and may refuse to close.
    dialog->on_ok_clicked();
    return dialog->result() == QDialog::Accepted;
}

// Decodes the first tag named `name` of the system registers (system) or
// the user's tags into para; false when there is none.
bool decodeTag(bool system, const QString &name, AddressPara *para)
{
    if (name.isNull())
        return false;
    const Config *config = Config::instance();
    const int row = int(config->tagNames(system).indexOf(name));
    if (row < 0)
        return false;
    config->tagAt(system, row, *para);
    return true;
}

} // namespace

RegEditWidget::RegEditWidget(QWidget *parent)
    : QGroupBox(parent)
    , m_para(defaultPara())
{
    m_systlib = new QRadioButton(this);
    m_systlib->setObjectName(QStringLiteral("systlib"));
    m_userlib = new QRadioButton(this);
    m_userlib->setObjectName(QStringLiteral("userlib"));
    // Either list may be switched off again to return to direct entry.
    m_systlib->setAutoExclusive(false);
    m_userlib->setAutoExclusive(false);
    m_libOpen = new QPushButton(this);
    m_libOpen->setObjectName(QStringLiteral("libOpen"));

    m_stack = new QStackedWidget(this);
    m_panel = new RegPanel;
    m_form = new AddressEditForm;
    m_panel->setWidget(m_form);
    m_panel->setPara(m_para);
    m_stack->addWidget(m_panel);

    auto *tagPage = new QWidget;
    auto *tagLayout = new QGridLayout(tagPage);
    tagLayout->setContentsMargins(0, 0, 0, 0);
    m_nameLabel = new QLabel(tagPage);
    m_labelCbx = new QComboBox(tagPage);
    m_labelCbx->setObjectName(QStringLiteral("labelCbx"));
    m_summary = new QLabel(tagPage);
    m_remark = new QLabel(tagPage);
    tagLayout->addWidget(m_nameLabel, 0, 0);
    tagLayout->addWidget(m_labelCbx, 0, 1);
    tagLayout->addWidget(m_summary, 1, 0, 1, 2);
    tagLayout->addWidget(m_remark, 2, 0, 1, 2);
    m_stack->addWidget(tagPage);
    m_stack->setCurrentIndex(0);

    auto *layout = new QGridLayout(this);
    auto *choices = new QHBoxLayout;
    choices->addWidget(m_systlib);
    choices->addWidget(m_userlib);
    choices->addStretch();
    choices->addWidget(m_libOpen);
    layout->addLayout(choices, 0, 0);
    layout->addWidget(m_stack, 1, 0);

    connect(m_systlib, &QRadioButton::clicked, this, &RegEditWidget::on_systlib_clicked);
    connect(m_userlib, &QRadioButton::clicked, this, &RegEditWidget::on_userlib_clicked);
    connect(m_libOpen, &QPushButton::clicked, this, &RegEditWidget::on_libOpen_clicked);
    connect(m_labelCbx, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &RegEditWidget::on_labelCbx_currentIndexChanged);
    connect(m_panel, &RegPanel::paraChanged, this, [this] { m_para = m_panel->para(); });
    followDocument();
    retranslate();
}

bool RegEditWidget::followDocument()
{
    ProjectDocument *document = ProjectDocument::current();
    if (document == m_document)
        return false;
    for (const QMetaObject::Connection &connection : qAsConst(m_documentConnections))
        disconnect(connection);
    m_documentConnections.clear();
    m_document = document;
    // The user's tags change through the document; the system registers
    // are refilled in place when the hardware model or the interface
    // language changes.
    m_documentConnections << connect(document, &ProjectDocument::addressTagsChanged, this,
                                     &RegEditWidget::listChanged);
    QAbstractItemModel *system = document->config()->systemRegisterModel();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        m_documentConnections << connect(system, signal, this, &RegEditWidget::listChanged);
    m_documentConnections << connect(system, &QAbstractItemModel::rowsMoved, this,
                                     &RegEditWidget::listChanged);
    m_documentConnections << connect(system, &QAbstractItemModel::dataChanged, this,
                                     &RegEditWidget::listChanged);
    m_documentConnections << connect(system, &QAbstractItemModel::modelReset, this,
                                     &RegEditWidget::listChanged);
    m_documentConnections << connect(system, &QAbstractItemModel::layoutChanged, this,
                                     &RegEditWidget::listChanged);
    return true;
}

void RegEditWidget::showEvent(QShowEvent *event)
{
    // A widget kept for the next opening of its dialog may meet another
    // project there.
    if (followDocument())
        listChanged();
    QGroupBox::showEvent(event);
}

int RegEditWidget::currentPage() const
{
    return m_stack->currentIndex();
}

void RegEditWidget::setPara(const AddressPara &para)
{
    m_para = para;
    m_systlib->setChecked(false);
    m_userlib->setChecked(false);
    m_stack->setCurrentIndex(0);
    m_pickedName.clear();
    m_summary->clear();
    m_remark->clear();
    m_panel->setPara(para);
}

AddressPara RegEditWidget::para() const
{
    if (m_stack->currentIndex() != 0) {
        // The library may have changed since the labels were last filled.
        const int index = m_labelCbx->currentIndex();
        AddressPara picked = defaultPara();
        if (index >= 0 && decodeTag(m_systlib->isChecked(), m_labelCbx->itemText(index), &picked))
            return picked;
        return defaultPara();
    }
    // The form keeps the name and mark of the last tag set here.
    AddressPara para = m_para;
    m_form->getPara(para);
    return para;
}

void RegEditWidget::setTag(const QString &name)
{
    showList(false, true);
    const int row = int(Config::instance()->tagNames(false).indexOf(name));
    {
        const QSignalBlocker blocker(m_labelCbx);
        m_labelCbx->setCurrentIndex(row);
    }
    m_pickedName = name;
    showTag(name);
}

void RegEditWidget::setSystemTag(const QString &name)
{
    showList(true, true);
    m_labelCbx->setCurrentIndex(int(Config::instance()->tagNames(true).indexOf(name)));
}

QString RegEditWidget::pickedTag() const
{
    return m_stack->currentIndex() == 1 && m_userlib->isChecked() ? m_pickedName : QString();
}

void RegEditWidget::on_userlib_clicked(bool checked)
{
    showList(false, checked);
}

void RegEditWidget::on_systlib_clicked(bool checked)
{
    showList(true, checked);
}

void RegEditWidget::showList(bool system, bool checked)
{
    (system ? m_systlib : m_userlib)->setChecked(checked);
    if (!checked) {
        m_stack->setCurrentIndex(0);
        m_pickedName.clear();
        m_summary->clear();
        m_remark->clear();
        m_para = m_panel->para();
        return;
    }
    (system ? m_userlib : m_systlib)->setChecked(false);
    m_stack->setCurrentIndex(1);
    followDocument();
    // Refilling reports index -1 and then row 0, which decodes the first tag
    // (or leaves the labels empty for an empty list).
    m_labelCbx->clear();
    m_labelCbx->addItems(Config::instance()->tagNames(system));
}

void RegEditWidget::on_labelCbx_currentIndexChanged(int index)
{
    // By name, not by row: the list may be a change behind the library.
    m_pickedName = index < 0 ? QString() : m_labelCbx->itemText(index);
    showTag(m_pickedName);
}

void RegEditWidget::showTag(const QString &name)
{
    AddressPara para = defaultPara();
    const bool found = decodeTag(m_systlib->isChecked(), name, &para);
    m_para = para;
    if (!found) {
        // A pick that has left the library is said, not silently blanked.
        if (name.isEmpty())
            m_summary->clear();
        else
            m_summary->setText(tr("标签“%1”已不在地址库中，请重新选择。").arg(name));
        m_remark->clear();
        return;
    }
    m_summary->setText(Config::instance()->addressSummary(para));
    m_remark->setText(para.mark);
}

void RegEditWidget::listChanged()
{
    // The system registers are refilled one by one: one refill after the
    // last, not one per register.
    if (m_stack->currentIndex() != 1 || m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, &RegEditWidget::refreshList, Qt::QueuedConnection);
}

void RegEditWidget::refreshList()
{
    m_refreshPending = false;
    if (m_stack->currentIndex() != 1)
        return;
    const QString picked = m_pickedName;
    const QStringList names = Config::instance()->tagNames(m_systlib->isChecked());
    {
        const QSignalBlocker blocker(m_labelCbx);
        m_labelCbx->clear();
        m_labelCbx->addItems(names);
        m_labelCbx->setCurrentIndex(picked.isNull() ? -1 : int(names.indexOf(picked)));
    }
    showTag(picked);
}

void RegEditWidget::on_libOpen_clicked()
{
    const bool system = m_systlib->isChecked();
    const int index = m_stack->currentIndex() == 1 ? m_labelCbx->currentIndex() : -1;
    AddressLibDialog *dialog = AddressLibDialog::current();
    if (!dialog) {
        // Without the main window's library (a test, a tool) this widget
        // brings its own, a window of its own that dies with this widget;
        // meanwhile it is the current one.
        dialog = new AddressLibDialog(this);
    }
    // The table's current row at OK is no choice: removing the picked tag
    // makes its neighbour current. Only the user's own picks count, by name,
    // as a tag may be moved or sorted afterwards.
    QString picked;
    bool pickedSystem = false;
    const QMetaObject::Connection tracking = connect(
        dialog->table(), &TableView::currentPicked, this, [&](const QModelIndex &current) {
            pickedSystem = dialog->isSystemList();
            picked = current.sibling(current.row(), Config::NameColumn).data().toString();
        });
    const bool accepted = runLibrary(dialog, system, index);
    disconnect(tracking);
    if (!accepted)
        return;
    const QStringList names = Config::instance()->tagNames(pickedSystem);
    if (picked.isEmpty() || !names.contains(picked)) {
        // The field keeps what it had; a tag of it removed meanwhile shows
        // as gone.
        if (m_stack->currentIndex() == 1)
            refreshList();
        return;
    }
    showList(pickedSystem, true);
    m_labelCbx->setCurrentIndex(int(names.indexOf(picked)));
}

void RegEditWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QGroupBox::changeEvent(event);
}

void RegEditWidget::retranslate()
{
    m_systlib->setText(tr("系统地址"));
    m_userlib->setText(tr("用户地址"));
    m_libOpen->setText(tr("地址库···"));
    m_nameLabel->setText(tr("名称"));
    // The summaries follow the language of the device and area names.
    if (m_stack->currentIndex() == 1)
        showTag(m_pickedName);
    m_panel->setPara(m_panel->para());
}
