#include "addresslibdialog.h"

#include "addressadddialog.h"
#include "document/projectdocument.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "model/taglib/taglibrarycheck.h"
#include "services/messagedialog.h"
#include "services/modalseam.h"
#include "tagfiledialog.h"
#include "tagusesmodel.h"
#include "widgets/sortproxymodel.h"
#include "widgets/tableview.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// Rows looked at when a column is sized to its contents: the table may
// hold tens of thousands of tags, and a sample sizes the column as well.
const int ResizePrecision = 500;

QPointer<AddressLibDialog> &currentSlot()
{
    static QPointer<AddressLibDialog> dialog;
    return dialog;
}

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString cellText(const QStandardItemModel *model, int row, int column)
{
    const QStandardItem *item = model->item(row, column);
    return item ? item->text() : QString();
}

// Creates a missing item quietly, where setItem() would announce a change
// of the whole layout and so make a sorted view sort all rows again.
void setCellText(QStandardItemModel *model, int row, int column, const QString &text)
{
    model->setData(model->index(row, column), text);
}

QStringList paraCells(const AddressPara &para)
{
    const Config *config = Config::instance();
    return {para.name,
            config->storedDeviceName(para),
            config->addressText(para),
            Config::dataFormatText(para),
            QString::number(para.length),
            para.mark};
}

QList<QStandardItem *> rowItems(const QStringList &cells)
{
    QList<QStandardItem *> items;
    for (int column = 0; column < Config::TagColumnCount; ++column)
        items.append(new QStandardItem(cells.value(column)));
    return items;
}

// Cells store the panel's name in one spelling whatever the interface
// language; the table shows it in the language of the moment.
class DeviceCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        const QString text = value.toString();
        if (Config::isLocalDeviceName(text))
            return Config::instance()->deviceNames().value(0);
        return QStyledItemDelegate::displayText(value, locale);
    }
};

// The tag proposed by Add, named after the row it will take.
AddressPara newTag(int row)
{
    AddressPara para;
    para.name = AddressLibDialog::tr("变量_%1").arg(row);
    para.format = Config::Int16;
    para.length = 2;
    return para;
}

} // namespace

AddressLibDialog::AddressLibDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    currentSlot() = this;

    m_tags = new QStandardItemModel(0, Config::TagColumnCount, this);
    // Whatever changes the copy, through a button, a key or a caller, is an
    // edit that OK hands on and that a new opening must not overwrite.
    const auto edited = [this] { m_edited = m_edited || m_copied; };
    connect(m_tags, &QAbstractItemModel::rowsInserted, this, edited);
    connect(m_tags, &QAbstractItemModel::rowsRemoved, this, edited);
    connect(m_tags, &QAbstractItemModel::rowsMoved, this, edited);
    connect(m_tags, &QAbstractItemModel::dataChanged, this, edited);
    connect(m_tags, &QAbstractItemModel::modelReset, this, edited);

    m_uses = new TagUsesModel(Config::NameColumn, OriginalNameRole, this);

    m_userAddr = named(new QRadioButton(this), "userAddr");
    m_userAddr->setChecked(true);
    m_sysAddr = named(new QRadioButton(this), "sysAddr");
    m_filter = named(new QComboBox(this), "filter");
    m_filter->setEditable(true);
    m_filter->setInsertPolicy(QComboBox::NoInsert);
    m_filter->setMinimumWidth(200);

    m_table = named(new TableView(this), "table");
    m_table->setHeaderSorting(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setResizeContentsPrecision(ResizePrecision);
    m_table->installEventFilter(this);
    m_table->setItemDelegateForColumn(Config::DeviceColumn, new DeviceCellDelegate(m_table));

    m_add = named(new QPushButton(this), "add");
    m_edit = named(new QPushButton(this), "edit");
    m_remove = named(new QPushButton(this), "remove");
    m_removeAll = named(new QPushButton(this), "removeAll");
    m_moveUp = named(new QPushButton(this), "moveUp");
    m_moveDown = named(new QPushButton(this), "moveDown");
    m_whereUsed = named(new QPushButton(this), "whereUsed");
    m_importTxt = named(new QPushButton(this), "importTxt");
    m_exportTxt = named(new QPushButton(this), "exportTxt");
    m_importExcel = named(new QPushButton(this), "importExcel");
    m_exportExcel = named(new QPushButton(this), "exportExcel");
    m_ok = named(new QPushButton(this), "ok");
    m_cancel = named(new QPushButton(this), "cancel");
    // Enter in the filter must not close the dialog.
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(m_userAddr);
    top->addWidget(m_sysAddr);
    top->addStretch();
    top->addWidget(m_filter);
    auto *actions = new QVBoxLayout;
    for (QPushButton *button :
         {m_add, m_edit, m_remove, m_removeAll, m_moveUp, m_moveDown, m_whereUsed}) {
        button->setAutoDefault(false);
        actions->addWidget(button);
    }
    actions->addSpacing(16);
    for (QPushButton *button : {m_importTxt, m_exportTxt, m_importExcel, m_exportExcel}) {
        button->setAutoDefault(false);
        actions->addWidget(button);
    }
    actions->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_table, 1);
    middle->addLayout(actions);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_ok);
    bottom->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    resize(760, 520);

    connect(m_ok, &QPushButton::clicked, this, &AddressLibDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &AddressLibDialog::on_cancel_clicked);
    connect(m_add, &QPushButton::clicked, this, &AddressLibDialog::on_add_clicked);
    connect(m_edit, &QPushButton::clicked, this, &AddressLibDialog::on_edit_clicked);
    connect(m_remove, &QPushButton::clicked, this, &AddressLibDialog::on_remove_clicked);
    connect(m_removeAll, &QPushButton::clicked, this, &AddressLibDialog::on_removeAll_clicked);
    connect(m_moveUp, &QPushButton::clicked, this, &AddressLibDialog::on_moveUp_clicked);
    connect(m_moveDown, &QPushButton::clicked, this, &AddressLibDialog::on_moveDown_clicked);
    connect(m_whereUsed, &QPushButton::clicked, this, &AddressLibDialog::on_whereUsed_clicked);
    connect(m_importTxt, &QPushButton::clicked, this, &AddressLibDialog::on_importTxt_clicked);
    connect(m_exportTxt, &QPushButton::clicked, this, &AddressLibDialog::on_exportTxt_clicked);
    connect(m_importExcel, &QPushButton::clicked, this, &AddressLibDialog::on_importExcel_clicked);
    connect(m_exportExcel, &QPushButton::clicked, this, &AddressLibDialog::on_exportExcel_clicked);
    connect(m_userAddr, &QRadioButton::clicked, this, &AddressLibDialog::on_userAddr_clicked);
    connect(m_sysAddr, &QRadioButton::clicked, this, &AddressLibDialog::on_sysAddr_clicked);
    connect(m_filter, &QComboBox::currentTextChanged, this,
            &AddressLibDialog::on_filter_currentTextChanged);
    connect(m_table, &QAbstractItemView::doubleClicked, this, &AddressLibDialog::editCurrentItem);

    retranslate();
    takeTags();
    showList(false);
}

AddressLibDialog::~AddressLibDialog()
{
    if (currentSlot() == this)
        currentSlot() = nullptr;
}

AddressLibDialog *AddressLibDialog::current()
{
    return currentSlot();
}

const QStandardItemModel *AddressLibDialog::tags() const
{
    return userModel();
}

const QStandardItemModel *AddressLibDialog::userModel() const
{
    return m_copied ? m_tags : Config::instance()->addressTagModel();
}

const QStandardItemModel *AddressLibDialog::shownModel() const
{
    return m_system ? Config::instance()->systemRegisterModel() : userModel();
}

void AddressLibDialog::attachShown()
{
    Config *config = Config::instance();
    // Shapes may be bound otherwise at each opening, never while it lasts.
    if (!m_usesCounted)
        m_uses->recount();
    m_usesCounted = true;
    m_uses->setSourceModel(m_system ? config->systemRegisterModel()
                                    : m_copied ? m_tags : config->addressTagModel());
    m_table->setModel(m_uses);
}

const QAbstractItemModel *AddressLibDialog::listedModel() const
{
    return m_table->sourceModel() ? m_uses->sourceModel() : nullptr;
}

QModelIndex AddressLibDialog::viewIndex(int row) const
{
    return m_table->proxy()->mapFromSource(m_uses->index(row, 0));
}

void AddressLibDialog::takeTags()
{
    if (m_edited || !m_copied)
        return;
    m_copied = false;
    if (listedModel() == m_tags)
        attachShown();
    m_tags->removeRows(0, m_tags->rowCount());
}

QStandardItemModel *AddressLibDialog::editableTags(CopyKind kind)
{
    if (m_copied)
        return m_tags;
    const QStandardItemModel *source = Config::instance()->addressTagModel();
    const bool shown = listedModel() == source;
    // The copy holds the same rows in the same order, so the table's rows
    // are found again by their model rows.
    const SortProxyModel *proxy = m_table->proxy();
    const int current = getRealRow(m_table->currentIndex());
    const QList<int> selected = shown ? m_table->selectedSourceRows() : QList<int>();
    const int scroll = m_table->verticalScrollBar()->value();

    m_tags->setColumnCount(source->columnCount());
    copyHeaders();
    const int rowCount = kind == FullCopy ? source->rowCount() : 0;
    for (int row = 0; row < rowCount; ++row) {
        QList<QStandardItem *> items;
        items.reserve(source->columnCount());
        for (int column = 0; column < source->columnCount(); ++column) {
            const QStandardItem *item = source->item(row, column);
            items.append(item ? item->clone() : new QStandardItem);
        }
        // Rows are told apart by what they were, so that OK knows a rename
        // from a tag removed and another added under its name.
        items.value(Config::NameColumn)->setData(items.value(Config::NameColumn)->text(),
                                                 OriginalNameRole);
        m_tags->appendRow(items);
    }
    m_copied = true;
    // An empty copy of a library with tags already differs from it.
    m_edited = rowCount < source->rowCount();
    if (!shown)
        return m_tags;

    attachShown();
    QItemSelection selection;
    for (int row : selected) {
        const QModelIndex view = viewIndex(row);
        if (view.isValid())
            selection.select(view, view.sibling(view.row(), proxy->columnCount() - 1));
    }
    const QModelIndex currentView = viewIndex(current);
    QItemSelectionModel *selectionModel = m_table->selectionModel();
    if (currentView.isValid())
        selectionModel->setCurrentIndex(currentView, QItemSelectionModel::NoUpdate);
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
    m_table->verticalScrollBar()->setValue(scroll);
    return m_tags;
}

void AddressLibDialog::copyHeaders()
{
    const QStandardItemModel *source = Config::instance()->addressTagModel();
    for (int column = 0; column < m_tags->columnCount(); ++column)
        m_tags->setHeaderData(column, Qt::Horizontal,
                              source->headerData(column, Qt::Horizontal));
}

void AddressLibDialog::done(int result)
{
    QDialog::done(result);
    // Committed or dropped: the list shows the project's tags again.
    m_edited = false;
    takeTags();
    // Shapes may be bound otherwise by the next opening.
    m_usesCounted = false;
    // Closed, the table lets go of the project's tags: it would otherwise
    // follow every row an undo or a load puts back, unseen. Showing the
    // dialog attaches it again.
    m_table->setModel(nullptr);
    m_uses->setSourceModel(nullptr);
}

void AddressLibDialog::showList(bool system)
{
    m_system = system;
    m_userAddr->setChecked(!system);
    m_sysAddr->setChecked(system);
    attachShown();
    for (QPushButton *button : editButtons())
        button->setEnabled(!system);
    if (isVisible())
        m_table->resizeColumnToContents(Config::NameColumn);
}

QList<QPushButton *> AddressLibDialog::editButtons() const
{
    return {m_add,      m_edit,      m_remove,    m_removeAll,   m_moveUp,
            m_moveDown, m_importTxt, m_exportTxt, m_importExcel, m_exportExcel};
}

void AddressLibDialog::on_userAddr_clicked()
{
    showList(false);
}

void AddressLibDialog::on_sysAddr_clicked()
{
    showList(true);
}

void AddressLibDialog::showEvent(QShowEvent *event)
{
    // The lists are the current project's: a project may have been opened
    // since the last opening.
    attachShown();
    m_table->resizeColumnToContents(Config::NameColumn);
    QDialog::showEvent(event);
}

int AddressLibDialog::showLibrary(bool system, int row)
{
    selectRow(system, row);
    return ModalSeam::runDialog(this, [this] { on_ok_clicked(); }, [this] { on_cancel_clicked(); });
}

void AddressLibDialog::selectRow(bool system, int row)
{
    takeTags();
    showList(system);
    const bool exists = row >= 0 && row < shownModel()->rowCount();
    QModelIndex view = exists ? viewIndex(row) : QModelIndex();
    if (!view.isValid() && exists && !m_filter->currentText().isEmpty()) {
        m_filter->setCurrentText(QString());
        view = viewIndex(row);
    }
    if (view.isValid()) {
        m_table->setCurrentIndex(view);
        m_table->scrollTo(view);
    } else {
        m_table->clearSelection();
        m_table->setCurrentIndex(QModelIndex());
    }
}

void AddressLibDialog::selection(bool &system, int &row) const
{
    system = m_system;
    row = getRealRow(m_table->currentIndex());
}

int AddressLibDialog::getRealRow(const QModelIndex &viewIndex) const
{
    if (!viewIndex.isValid())
        return -1;
    if (viewIndex.model() == m_table->proxy())
        return m_table->proxy()->mapToSource(viewIndex).row();
    return viewIndex.model() == shownModel() ? viewIndex.row() : -1;
}

void AddressLibDialog::selectRows(int first, int count)
{
    const SortProxyModel *proxy = m_table->proxy();
    QVector<int> viewRows;
    viewRows.reserve(count);
    QModelIndex currentView;
    for (int row = first; row < first + count; ++row) {
        const QModelIndex view = viewIndex(row);
        if (!view.isValid())
            continue;
        if (!currentView.isValid())
            currentView = view;
        viewRows.append(view.row());
    }
    if (!currentView.isValid())
        return;
    // Rows added, edited or pasted may hold a longer name than the column
    // was sized for on opening; it only grows, so the user's own widening
    // stays.
    int nameWidth = m_table->columnWidth(Config::NameColumn);
    const int grid = m_table->showGrid() ? 1 : 0;
    for (int row : qAsConst(viewRows)) {
        const QModelIndex name = proxy->index(row, Config::NameColumn);
        nameWidth = qMax(nameWidth, m_table->sizeHintForIndex(name).width() + grid);
    }
    m_table->setColumnWidth(Config::NameColumn, nameWidth);
    // One range per run of adjacent rows: the selection model walks its
    // ranges on every later change of the table.
    std::sort(viewRows.begin(), viewRows.end());
    const int lastColumn = proxy->columnCount() - 1;
    QItemSelection selection;
    for (int i = 0; i < viewRows.size();) {
        int j = i + 1;
        while (j < viewRows.size() && viewRows.at(j) == viewRows.at(j - 1) + 1)
            ++j;
        selection.append(QItemSelectionRange(proxy->index(viewRows.at(i), 0),
                                             proxy->index(viewRows.at(j - 1), lastColumn)));
        i = j;
    }
    m_table->selectionModel()->setCurrentIndex(currentView, QItemSelectionModel::NoUpdate);
    m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect
                                                     | QItemSelectionModel::Rows);
    m_table->scrollTo(currentView);
}

void AddressLibDialog::showError(const QString &text)
{
    MessageDialog::showMessage(this, QMessageBox::Critical, tr("错误"), text, {tr("确定")});
}

bool AddressLibDialog::showAddressAddDialog(AddressPara &para, int current)
{
    const QStandardItemModel *model = shownModel();
    for (;;) {
        AddressAddDialog dialog(this, current < 0 ? AddressAddDialog::NewTag
                                                  : AddressAddDialog::EditTag);
        if (dialog.showPara(para) != QDialog::Accepted)
            return false;
        int duplicate = -1;
        for (int row = 0; row < model->rowCount() && duplicate < 0; ++row) {
            if (row != current && cellText(model, row, Config::NameColumn) == para.name)
                duplicate = row;
        }
        if (duplicate < 0)
            return true;
        showError(tr("地址标签库命名与第%1行重复！").arg(duplicate + 1));
    }
}

void AddressLibDialog::setAddressTable(int row, const AddressPara &para)
{
    if (m_system)
        return;
    QStandardItemModel *model = editableTags();
    const QStringList cells = paraCells(para);
    for (int column = 0; column < Config::TagColumnCount; ++column)
        setCellText(model, row, column, cells.at(column));
}

bool AddressLibDialog::addrRowCheck(int row, AddressPara &para)
{
    const QString problem = TagLibraryCheck::addressRow(userModel(), row, para);
    if (problem.isEmpty())
        return true;
    showError(problem);
    return false;
}

bool AddressLibDialog::checkLabels()
{
    const QVector<TagLibraryCheck::Problem> problems = TagLibraryCheck::addressNames(userModel(), 1);
    if (problems.isEmpty())
        return true;
    showError(problems.first().message);
    return false;
}

void AddressLibDialog::on_ok_clicked()
{
    if (!checkLabels())
        return;
    const int rows = userModel()->rowCount();
    for (int row = 0; row < rows; ++row) {
        AddressPara para;
        if (!addrRowCheck(row, para)) {
            if (!m_system)
                selectRows(row, 1);
            return;
        }
    }
    // An untouched copy is not compared with the library: it is the
    // library, and comparing tens of thousands of tags costs a copy of
    // them.
    if (m_edited) {
        const QHash<QString, QString> renames = renamedTags();
        // The project's rows never hold the copy's bookkeeping. Nothing
        // shows the role: the views need not hear of it.
        {
            const QSignalBlocker blocker(m_tags);
            for (int row = 0; row < m_tags->rowCount(); ++row) {
                if (QStandardItem *item = m_tags->item(row, Config::NameColumn))
                    item->setData(QVariant(), OriginalNameRole);
            }
        }
        if (ProjectDocument::current()->replaceAddressTags(*m_tags, renames))
            emit libraryChanged();
    }
    accept();
}

void AddressLibDialog::on_cancel_clicked()
{
    reject();
}

void AddressLibDialog::on_add_clicked()
{
    if (m_system)
        return;
    const int row = getRealRow(m_table->currentIndex()) + 1;
    AddressPara para = newTag(row);
    if (!showAddressAddDialog(para, -1))
        return;
    editableTags()->insertRow(row, rowItems(paraCells(para)));
    selectRows(row, 1);
}

void AddressLibDialog::on_edit_clicked()
{
    editCurrentItem(m_table->currentIndex());
}

void AddressLibDialog::editCurrentItem(const QModelIndex &index)
{
    if (m_system)
        return;
    const int row = getRealRow(index);
    if (row < 0)
        return;
    // A row that does not decode (pasted, or its device since deleted) is
    // reported and still opened, so that it can be mended here.
    AddressPara para = newTag(row);
    addrRowCheck(row, para);
    if (!showAddressAddDialog(para, row))
        return;
    const QStandardItemModel *model = userModel();
    QStringList before;
    for (int column = 0; column < Config::TagColumnCount; ++column)
        before.append(cellText(model, row, column));
    if (before == paraCells(para))
        return;
    setAddressTable(row, para);
    selectRows(row, 1);
}

void AddressLibDialog::on_remove_clicked()
{
    if (m_system)
        return;
    const int row = getRealRow(m_table->currentIndex());
    if (row < 0 || !confirmRemoval({row}))
        return;
    QStandardItemModel *model = editableTags();
    model->removeRow(row);
    // The row that took its place, so that Remove can be pressed again.
    if (model->rowCount() > 0)
        selectRows(qMin(row, model->rowCount() - 1), 1);
}

void AddressLibDialog::on_removeAll_clicked()
{
    if (m_system)
        return;
    const int rows = userModel()->rowCount();
    if (rows == 0)
        return;
    QList<int> all;
    all.reserve(rows);
    for (int row = 0; row < rows; ++row)
        all.append(row);
    if (!confirmRemoval(all))
        return;
    if (m_copied)
        m_tags->removeRows(0, m_tags->rowCount());
    else
        editableTags(EmptyCopy);
}

void AddressLibDialog::moveRow(int offset)
{
    if (m_system)
        return;
    const int row = getRealRow(m_table->currentIndex());
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= userModel()->rowCount())
        return;
    QStandardItemModel *model = editableTags();
    // The whole row moves, with what the program keeps of the tag unread;
    // swapping the texts alone would leave that with the row's place.
    model->insertRow(other, model->takeRow(row));
    selectRows(other, 1);
}

void AddressLibDialog::on_moveUp_clicked()
{
    moveRow(-1);
}

void AddressLibDialog::on_moveDown_clicked()
{
    moveRow(1);
}

void AddressLibDialog::on_filter_currentTextChanged(const QString &arg1)
{
    m_table->proxy()->setFilterText(arg1);
}

int AddressLibDialog::pasteRows(const QString &text)
{
    if (m_system)
        return 0;
    QList<QStringList> rows;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            rows.append(line.split(QLatin1Char('\t')));
    }
    if (rows.isEmpty())
        return 0;

    QStandardItemModel *model = editableTags();
    const int first = getRealRow(m_table->currentIndex()) + 1;
    // Row by row, the proxy would place every new row and then every cell
    // on its own; it sorts and filters once at the end instead.
    SortProxyModel *proxy = m_table->proxy();
    proxy->setDynamicSortFilter(false);
    model->insertRows(first, rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList &cells = rows.at(i);
        for (int column = 0; column < Config::TagColumnCount; ++column)
            setCellText(model, first + i, column, cells.value(column));
    }
    proxy->setDynamicSortFilter(true);
    proxy->invalidate();
    selectRows(first, rows.size());
    return rows.size();
}

int AddressLibDialog::removeSelectedRows()
{
    if (m_system)
        return 0;
    QList<int> rows = m_table->selectedSourceRows();
    if (rows.isEmpty() || !confirmRemoval(rows))
        return 0;
    std::sort(rows.begin(), rows.end());
    QStandardItemModel *model = editableTags();
    // Every selected range would otherwise be adjusted at every removal.
    m_table->selectionModel()->clear();
    // From the bottom up, one call per run of adjacent rows.
    int end = rows.size();
    while (end > 0) {
        int start = end - 1;
        while (start > 0 && rows.at(start - 1) == rows.at(start) - 1)
            --start;
        model->removeRows(rows.at(start), end - start);
        end = start;
    }
    if (model->rowCount() > 0)
        selectRows(qMin(rows.first(), model->rowCount() - 1), 1);
    return rows.size();
}

bool AddressLibDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key == QKeySequence::Paste) {
            pasteRows(QGuiApplication::clipboard()->text());
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            removeSelectedRows();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AddressLibDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        // The project's headers follow the language; the copy's follow them.
        copyHeaders();
    }
    QDialog::changeEvent(event);
}

void AddressLibDialog::retranslate()
{
    setWindowTitle(tr("地址标签库"));
    m_userAddr->setText(tr("用户自定义标签"));
    m_sysAddr->setText(tr("系统寄存器"));
    m_filter->lineEdit()->setPlaceholderText(tr("搜索"));
    m_add->setText(tr("增加"));
    m_edit->setText(tr("编辑"));
    m_remove->setText(tr("删除"));
    m_removeAll->setText(tr("删除全部"));
    m_moveUp->setText(tr("上移"));
    m_moveDown->setText(tr("下移"));
    m_whereUsed->setText(tr("查找引用"));
    m_importTxt->setText(tr("导入地址库"));
    m_exportTxt->setText(tr("导出地址库"));
    m_importExcel->setText(tr("从EXCEL导入"));
    m_exportExcel->setText(tr("导出到EXCEL"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
}
