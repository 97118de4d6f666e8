#include "textlibdialog.h"

#include "document/projectdocument.h"
#include "model/config.h"
#include "model/exchange/tagexchange.h"
#include "model/taglib/taglibrarycheck.h"
#include "model/taglib/textlib.h"
#include "services/messagedialog.h"
#include "services/modalseam.h"
#include "tagfiledialog.h"
#include "textlibadddialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Height of the rows a filter shows, so that the matches stand out from
// the table as it was.
const int FilteredRowHeight = 35;

QPushButton *button(const char *name, QWidget *parent)
{
    auto *result = new QPushButton(parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
}

// Updates of a table switched off for a batch of changes, so the view lays
// itself out once afterwards instead of after every cell.
class UpdatesOff
{
public:
    explicit UpdatesOff(QWidget *widget)
        : m_widget(widget)
        , m_wasEnabled(widget->updatesEnabled())
    {
        m_widget->setUpdatesEnabled(false);
    }
    ~UpdatesOff() { m_widget->setUpdatesEnabled(m_wasEnabled); }

private:
    QWidget *m_widget;
    bool m_wasEnabled;
};

} // namespace

TextLibDialog::TextLibDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
{
    // setStyle() does not take ownership; the dialog outlives its table.
    QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    if (fusion)
        fusion->setParent(this);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("table"));
    if (fusion)
        m_table->setStyle(fusion);
    m_table->setSortingEnabled(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setCornerButtonEnabled(true);
    m_table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_table->installEventFilter(this);

    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setEditable(true);
    m_filter->setInsertPolicy(QComboBox::NoInsert);

    m_add = button("add", this);
    m_remove = button("remove", this);
    m_edit = button("edit", this);
    m_removeAll = button("removeAll", this);
    m_importTxt = button("importTxt", this);
    m_exportTxt = button("exportTxt", this);
    m_importExcel = button("importExcel", this);
    m_exportExcel = button("exportExcel", this);
    m_ok = button("ok", this);
    m_cancel = button("cancel", this);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_add, m_remove, m_edit, m_removeAll})
        buttons->addWidget(b);
    buttons->addSpacing(16);
    for (QPushButton *b : {m_importTxt, m_exportTxt, m_importExcel, m_exportExcel})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *left = new QVBoxLayout;
    left->addWidget(m_filter);
    left->addWidget(m_table, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TextLibDialog::on_ok_clicked);
    connect(m_cancel, &QPushButton::clicked, this, &TextLibDialog::on_cancel_clicked);
    connect(m_add, &QPushButton::clicked, this, &TextLibDialog::on_add_clicked);
    connect(m_remove, &QPushButton::clicked, this, &TextLibDialog::on_remove_clicked);
    connect(m_edit, &QPushButton::clicked, this, &TextLibDialog::on_edit_clicked);
    connect(m_removeAll, &QPushButton::clicked, this, &TextLibDialog::on_removeAll_clicked);
    connect(m_importTxt, &QPushButton::clicked, this, &TextLibDialog::on_importTxt_clicked);
    connect(m_exportTxt, &QPushButton::clicked, this, &TextLibDialog::on_exportTxt_clicked);
    connect(m_importExcel, &QPushButton::clicked, this, &TextLibDialog::on_importExcel_clicked);
    connect(m_exportExcel, &QPushButton::clicked, this, &TextLibDialog::on_exportExcel_clicked);
    connect(m_filter, &QComboBox::currentTextChanged, this,
            &TextLibDialog::on_filter_currentTextChanged);

    resize(720, 520);
    setColumns();
    retranslate();
}

void TextLibDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TextLibDialog::retranslate()
{
    setWindowTitle(tr("文本标签库"));
    m_add->setText(tr("添加"));
    m_remove->setText(tr("删除"));
    m_edit->setText(tr("合并"));
    m_removeAll->setText(tr("删除全部"));
    m_importTxt->setText(tr("导入文字库"));
    m_exportTxt->setText(tr("导出文字库"));
    m_importExcel->setText(tr("从EXCEL导入"));
    m_exportExcel->setText(tr("导出到EXCEL"));
    m_ok->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
    m_filter->lineEdit()->setPlaceholderText(tr("搜索"));
    m_table->setHorizontalHeaderItem(0, new QTableWidgetItem(tr("标签名称")));
}

void TextLibDialog::setColumns()
{
    const QList<LanguagePara> &languages = Config::instance()->languages;
    m_table->setColumnCount(1 + languages.size());
    m_table->setHorizontalHeaderItem(0, new QTableWidgetItem(tr("标签名称")));
    for (int i = 0; i < languages.size(); ++i)
        m_table->setHorizontalHeaderItem(1 + i, new QTableWidgetItem(languages.at(i).name));
}

void TextLibDialog::reloadTable()
{
    setColumns();
    const int current = m_table->currentRow();
    fillTable(*Config::instance()->textLib(), true);
    m_shown = tableLibrary();
    if (current >= 0 && current < m_table->rowCount())
        m_table->setCurrentCell(tagAt(current).first, 0);
    m_table->resizeColumnToContents(0);
    if (!m_filter->currentText().isEmpty())
        on_filter_currentTextChanged(m_filter->currentText());
}

void TextLibDialog::fillTable(const TextLib &library, bool fromProject)
{
    UpdatesOff off(m_table);
    m_table->clearSpans();
    m_table->setRowCount(0);

    const int texts = m_table->columnCount() - 1;
    int total = 0;
    for (int i = 0; i < library.count(); ++i)
        total += std::max(1, int(library.statesAt(i).size()));
    m_table->setRowCount(total);

    int row = 0;
    for (int i = 0; i < library.count(); ++i) {
        const TextLib::States &states = library.statesAt(i);
        // A tag read without any state still needs a row to carry its name.
        const int rows = std::max(1, int(states.size()));
        auto *name = new QTableWidgetItem(library.names().at(i));
        if (fromProject)
            name->setData(OriginalNameRole, library.names().at(i));
        m_table->setItem(row, 0, name);
        for (int s = 0; s < rows; ++s) {
            const TextLib::State state = s < states.size() ? states.at(s) : TextLib::State();
            // A state written before languages were added has fewer texts
            // than there are columns; the rest show empty.
            for (int c = 1; c <= texts; ++c)
                m_table->setItem(row + s, c,
                                 new QTableWidgetItem(c - 1 < state.size() ? state.at(c - 1)
                                                                           : QString()));
            // Texts of languages a lower count hides ride with the row, so
            // that OK after edits elsewhere keeps them.
            if (texts > 0 && state.size() > texts)
                m_table->item(row + s, 1)->setData(HiddenTextsRole, QStringList(state.mid(texts)));
        }
        if (rows > 1)
            m_table->setSpan(row, 0, rows, 1);
        row += rows;
    }
}

QString TextLibDialog::showLibrary(const QString &current)
{
    // Edits a cancelled opening left in the table are not offered again.
    reloadTable();
    if (!current.isEmpty()) {
        for (const TagRows &tag : tags()) {
            const QTableWidgetItem *name = m_table->item(tag.first, 0);
            if (name && name->text() == current) {
                m_table->setCurrentCell(tag.first, 0);
                m_table->scrollToItem(m_table->item(tag.first, 0));
                break;
            }
        }
    }
    const bool accepted = ModalSeam::runDialog(
                              this, [this] { on_ok_clicked(); }, [this] { on_cancel_clicked(); })
        == QDialog::Accepted;
    if (!accepted || current.isEmpty())
        return QString();
    const TagRows tag = tagAt(m_table->currentRow());
    if (tag.first < 0)
        return QString();
    const QTableWidgetItem *name = m_table->item(tag.first, 0);
    return name ? name->text() : QString();
}

void TextLibDialog::selectTag(int index, const QString &name)
{
    reloadTable();
    const QVector<TagRows> all = tags();
    auto nameOf = [this](const TagRows &tag) {
        const QTableWidgetItem *item = m_table->item(tag.first, 0);
        return item ? item->text() : QString();
    };
    int first = -1;
    if (index >= 0 && index < all.size() && nameOf(all.at(index)) == name)
        first = all.at(index).first;
    for (int i = 0; first < 0 && i < all.size(); ++i) {
        if (nameOf(all.at(i)) == name)
            first = all.at(i).first;
    }
    if (first < 0)
        return;
    if (m_table->isRowHidden(first))
        m_filter->setCurrentText(QString());
    m_table->setCurrentCell(first, 0);
    m_table->scrollToItem(m_table->item(first, 0));
}

TextLibDialog::TagRows TextLibDialog::tagAt(int row) const
{
    if (row < 0)
        return TagRows();
    const int rowCount = m_table->rowCount();
    for (int first = 0; first < rowCount;) {
        const int rows = std::max(1, m_table->rowSpan(first, 0));
        if (row < first + rows)
            return {first, std::min(rows, rowCount - first)};
        first += rows;
    }
    return TagRows();
}

QVector<TextLibDialog::TagRows> TextLibDialog::tags() const
{
    QVector<TagRows> result;
    const int rowCount = m_table->rowCount();
    for (int first = 0; first < rowCount;) {
        const int rows = std::min(std::max(1, m_table->rowSpan(first, 0)), rowCount - first);
        result.append({first, rows});
        first += rows;
    }
    return result;
}

void TextLibDialog::setTagSpan(int first, int oldRows, int rows)
{
    // QTableView refuses a 1 × 1 span on a cell that has none, and a span
    // that starts inside another one.
    if (rows == oldRows || (rows <= 1 && oldRows <= 1))
        return;
    m_table->setSpan(first, 0, std::max(1, rows), 1);
}

int TextLibDialog::addLabel(const QString &name, int stateCount)
{
    const int rows = std::max(1, stateCount);
    int at = 0;
    const TagRows holder = tagAt(m_table->currentRow());
    if (holder.first >= 0)
        at = holder.first + holder.rows;

    UpdatesOff off(m_table);
    m_table->model()->insertRows(at, rows);
    m_table->setItem(at, 0, new QTableWidgetItem(name));
    // A name added or pasted after opening may be longer than the column
    // was sized for; it only grows, so the user's own widening stays.
    const int nameWidth = m_table->sizeHintForIndex(m_table->model()->index(at, 0)).width()
        + (m_table->showGrid() ? 1 : 0);
    if (nameWidth > m_table->columnWidth(0))
        m_table->setColumnWidth(0, nameWidth);
    for (int r = at; r < at + rows; ++r) {
        for (int c = 1; c < m_table->columnCount(); ++c)
            m_table->setItem(r, c, new QTableWidgetItem);
    }
    setTagSpan(at, 1, rows);
    m_table->setCurrentCell(at, m_table->columnCount() > 1 ? 1 : 0);
    return at;
}

void TextLibDialog::insertState(int row)
{
    insertState(tagAt(row), row);
}

void TextLibDialog::insertState(const TagRows &tag, int row)
{
    if (tag.first < 0 || row < tag.first || row > tag.first + tag.rows)
        return;
    // The tag's span and name come off while the row goes in, so that a
    // state added before the first one does not push the name out of the
    // tag.
    setTagSpan(tag.first, tag.rows, 1);
    QTableWidgetItem *name = m_table->takeItem(tag.first, 0);
    m_table->insertRow(row);
    for (int c = 1; c < m_table->columnCount(); ++c)
        m_table->setItem(row, c, new QTableWidgetItem);
    if (name)
        m_table->setItem(tag.first, 0, name);
    setTagSpan(tag.first, 1, tag.rows + 1);
}

void TextLibDialog::removeRows(int first, int count)
{
    if (count > 0)
        m_table->model()->removeRows(first, count);
}

void TextLibDialog::removeTag(const TagRows &tag)
{
    setTagSpan(tag.first, tag.rows, 1);
    removeRows(tag.first, tag.rows);
}

void TextLibDialog::removeState(int row)
{
    const TagRows tag = tagAt(row);
    if (tag.first < 0)
        return;
    // The last state takes the tag with it.
    if (tag.rows == 1) {
        removeTag(tag);
        return;
    }
    setTagSpan(tag.first, tag.rows, 1);
    QTableWidgetItem *name = m_table->takeItem(tag.first, 0);
    removeRows(row, 1);
    if (name)
        m_table->setItem(tag.first, 0, name);
    setTagSpan(tag.first, 1, tag.rows - 1);
}

QString TextLibDialog::getItemText(int row, int column)
{
    if (row < 0 || column < 0 || row >= m_table->rowCount() || column >= m_table->columnCount())
        return QString();
    QTableWidgetItem *item = m_table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        m_table->setItem(row, column, item);
    }
    return item->text();
}

bool TextLibDialog::checkLabel()
{
    const QVector<TagLibraryCheck::Problem> problems
        = TagLibraryCheck::textLibrary(tableLibrary(), 1);
    if (problems.isEmpty())
        return true;
    m_table->setCurrentCell(problems.first().row, 0);
    MessageDialog::showMessage(this, QMessageBox::Critical, tr("错误"), problems.first().message,
                               {tr("确定")});
    return false;
}

TextLib TextLibDialog::tableLibrary() const
{
    // At least one text per language of the moment: a language added
    // since the table was filled gets an empty text. Texts of hidden
    // languages follow the shown ones, so that they come back with the
    // language.
    const int languages = Config::instance()->languages.size();
    const int columns = m_table->columnCount();
    TextLib library;
    for (const TagRows &tag : tags()) {
        const QTableWidgetItem *name = m_table->item(tag.first, 0);
        TextLib::States states;
        for (int r = tag.first; r < tag.first + tag.rows; ++r) {
            TextLib::State texts;
            for (int c = 1; c < columns; ++c) {
                const QTableWidgetItem *item = m_table->item(r, c);
                texts.append(item ? item->text() : QString());
            }
            if (const QTableWidgetItem *first = columns > 1 ? m_table->item(r, 1) : nullptr)
                texts.append(first->data(HiddenTextsRole).toStringList());
            while (texts.size() < languages)
                texts.append(QString());
            states.append(texts);
        }
        library.add(name ? name->text() : QString(), states);
    }
    return library;
}

void TextLibDialog::on_ok_clicked()
{
    if (!checkLabel())
        return;
    const TextLib library = tableLibrary();
    // A table left as it was filled stands for the library as it is, also
    // where the table cannot show it exactly (a tag without states, a state
    // short of texts). The document takes no step for a library it holds.
    if (library != m_shown && ProjectDocument::current()->replaceTextTags(library, renamedTags()))
        emit libraryChanged();
    accept();
}

void TextLibDialog::on_importTxt_clicked()
{
    importFile(tr("导入txt"), tr("csv文件(*.csv;*.txt);;All files(*.*)"));
}

void TextLibDialog::on_exportTxt_clicked()
{
    exportFile(tr("导出txt"), tr("另存为 (*.csv;*.txt)"), QStringLiteral("csv"));
}

void TextLibDialog::on_importExcel_clicked()
{
    importFile(tr("导入Excel"), tr("表格文件(*.xls;*.xlsx);;All files(*.*)"));
}

void TextLibDialog::on_exportExcel_clicked()
{
    // Only the open format is written; an .xls name would be refused.
    exportFile(tr("导出Excel"), tr("另存为 (*.xlsx)"), QStringLiteral("xlsx"));
}

void TextLibDialog::importFile(const QString &title, const QString &filter)
{
    const QString fileName = TagFileDialog::openFile(this, title, filter);
    if (fileName.isEmpty())
        return;
    QVector<TextTagRecord> imported;
    QString error;
    QStringList warnings;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read = TagExchange::importTextTags(fileName, &imported, &error, &warnings);
    QApplication::restoreOverrideCursor();
    if (!read) {
        showError(error);
        return;
    }
    // The file replaces what the table holds; the library follows on OK,
    // after its checks, and Cancel leaves it as it was.
    fillTable(TextLib::fromRecords(imported, Config::instance()->languages.size()));
    m_table->resizeColumnToContents(0);
    if (!m_filter->currentText().isEmpty())
        on_filter_currentTextChanged(m_filter->currentText());
    if (!warnings.isEmpty())
        MessageDialog::showMessage(this, QMessageBox::Warning, tr("文本标签库"),
                                   warnings.join(QLatin1Char('\n')), {tr("确定")});
}

void TextLibDialog::exportFile(const QString &title, const QString &filter,
                               const QString &suffix)
{
    const QString fileName = TagFileDialog::saveFile(this, title, filter, suffix);
    if (fileName.isEmpty())
        return;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The file has a column per shown language; hidden texts stay out.
    const QVector<TextTagRecord> shown
        = TextLib::fromRecords(tableLibrary().records(), Config::instance()->languages.size())
              .records();
    const bool written
        = TagExchange::exportTextTags(fileName, TagExchange::textHeader(), shown, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        showError(error);
        return;
    }
    MessageDialog::showMessage(this, QMessageBox::Information, tr("文本标签库"),
                               tr("文本标签库保存成功。"), {tr("确定")});
}

void TextLibDialog::showError(const QString &text)
{
    MessageDialog::showMessage(this, QMessageBox::Critical, tr("错误"), text, {tr("确定")});
}

void TextLibDialog::on_cancel_clicked()
{
    reject();
}

void TextLibDialog::on_add_clicked()
{
    const int row = m_table->currentRow();
    const int column = m_table->currentColumn();
    if (row >= 0 && column >= 1) {
        insertState(row);
        m_table->setCurrentCell(row, column);
        return;
    }
    TextLibAddDialog dialog(tr("标签_%1").arg(m_table->rowCount()), 1, this);
    if (ModalSeam::runDialog(
            &dialog, [&dialog] { dialog.on_ok_clicked(); },
            [&dialog] { dialog.on_cancel_clicked(); })
        != QDialog::Accepted)
        return;
    const int first = addLabel(dialog.name(), dialog.stateCount());
    m_table->setCurrentCell(first, 0);
}

void TextLibDialog::on_remove_clicked()
{
    const int row = m_table->currentRow();
    const int column = m_table->currentColumn();
    const TagRows tag = tagAt(row);
    if (tag.first < 0)
        return;
    // The last state takes its tag along.
    if ((column <= 0 || tag.rows == 1) && !confirmRemoval({tag}))
        return;
    if (column <= 0)
        removeTag(tag);
    else
        removeState(row);
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(std::min(row, m_table->rowCount() - 1), std::max(0, column));
}

void TextLibDialog::on_edit_clicked()
{
    if (m_table->currentColumn() != 0)
        return;
    // Spanned name cells split one dragged selection into a range per
    // tag, so the ranges are taken together.
    const QList<QTableWidgetSelectionRange> ranges = m_table->selectedRanges();
    if (ranges.isEmpty())
        return;
    int topRow = ranges.first().topRow();
    int bottomRow = ranges.first().bottomRow();
    for (const QTableWidgetSelectionRange &range : ranges) {
        if (range.leftColumn() != 0 || range.rightColumn() != 0)
            return;
        topRow = std::min(topRow, range.topRow());
        bottomRow = std::max(bottomRow, range.bottomRow());
    }
    // Whole tags only: a selection that starts or ends inside a tag takes
    // all of its states along.
    const TagRows top = tagAt(topRow);
    const TagRows bottom = tagAt(bottomRow);
    if (top.first < 0 || bottom.first < 0 || top.first == bottom.first)
        return;
    const int end = bottom.first + bottom.rows;
    for (int first = top.first; first < end;) {
        const TagRows tag = tagAt(first);
        setTagSpan(tag.first, tag.rows, 1);
        if (tag.first != top.first)
            delete m_table->takeItem(tag.first, 0);
        first = tag.first + tag.rows;
    }
    setTagSpan(top.first, 1, end - top.first);
    m_table->setCurrentCell(top.first, 0);
}

void TextLibDialog::on_removeAll_clicked()
{
    if (!confirmRemoval(tags()))
        return;
    m_table->clearSpans();
    m_table->clearContents();
    m_table->setRowCount(0);
}

void TextLibDialog::on_filter_currentTextChanged(const QString &text)
{
    UpdatesOff off(m_table);
    const int columns = m_table->columnCount();
    for (const TagRows &tag : tags()) {
        // A row whose tag name matches shows with its tag, so the name cell
        // spanning the tag's rows is never cut off.
        const QTableWidgetItem *name = m_table->item(tag.first, 0);
        const bool nameMatches =
            text.isEmpty() || (name && name->text().contains(text, Qt::CaseInsensitive));
        for (int r = tag.first; r < tag.first + tag.rows; ++r) {
            bool visible = nameMatches;
            for (int c = 1; !visible && c < columns; ++c) {
                const QTableWidgetItem *item = m_table->item(r, c);
                visible = item && item->text().contains(text, Qt::CaseInsensitive);
            }
            if (m_table->isRowHidden(r) == visible)
                m_table->setRowHidden(r, !visible);
            if (visible && !text.isEmpty() && m_table->rowHeight(r) != FilteredRowHeight)
                m_table->setRowHeight(r, FilteredRowHeight);
        }
    }
}
