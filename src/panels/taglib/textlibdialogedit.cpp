// The text table's keyboard editing: copy, paste and Delete.

#include "textlibdialog.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTableWidget>

#include <algorithm>

bool TextLibDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy)) {
            copySelection();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            removeSelectedRows();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TextLibDialog::copySelection()
{
    const QList<QTableWidgetSelectionRange> ranges = m_table->selectedRanges();
    int top = m_table->currentRow();
    int bottom = top;
    int left = m_table->currentColumn();
    int right = left;
    if (!ranges.isEmpty()) {
        top = ranges.first().topRow();
        bottom = ranges.first().bottomRow();
        left = ranges.first().leftColumn();
        right = ranges.first().rightColumn();
        for (const QTableWidgetSelectionRange &range : ranges) {
            top = std::min(top, range.topRow());
            bottom = std::max(bottom, range.bottomRow());
            left = std::min(left, range.leftColumn());
            right = std::max(right, range.rightColumn());
        }
    }
    if (top < 0 || left < 0)
        return;

    QStringList lines;
    TagRows tag; // of the row being copied
    for (int r = top; r <= bottom; ++r) {
        if (r >= tag.first + tag.rows)
            tag = tagAt(r);
        if (m_table->isRowHidden(r))
            continue;
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            // The name shows once per tag, in the row that holds it.
            const QTableWidgetItem *item = c > 0 || r == tag.first ? m_table->item(r, c) : nullptr;
            cells.append(item ? item->text() : QString());
        }
        lines.append(cells.join(QLatin1Char('\t')));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void TextLibDialog::paste()
{
    QString text = QApplication::clipboard()->text();
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (text.isEmpty())
        return;
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int startRow = m_table->currentRow();
    const int startColumn = m_table->currentColumn();
    if (startRow < 0 || startColumn <= 0) {
        pasteTags(lines);
        return;
    }

    const int columns = m_table->columnCount();
    auto fill = [this, columns, startColumn](int row, const QString &line) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        for (int i = 0; i < cells.size() && startColumn + i < columns; ++i) {
            const int column = startColumn + i;
            if (QTableWidgetItem *item = m_table->item(row, column))
                item->setText(cells.at(i));
            else
                m_table->setItem(row, column, new QTableWidgetItem(cells.at(i)));
        }
    };
    int row = startRow;
    int line = 0;
    for (; line < lines.size(); ++line) {
        while (row < m_table->rowCount() && m_table->isRowHidden(row))
            ++row;
        if (row >= m_table->rowCount())
            break;
        fill(row, lines.at(line));
        ++row;
    }
    // Lines past the table's end would otherwise be lost: they become
    // further states of the table's last tag.
    for (; line < lines.size(); ++line) {
        const int end = m_table->rowCount();
        insertState(tagAt(end - 1), end);
        fill(end, lines.at(line));
    }
}

void TextLibDialog::pasteTags(const QStringList &lines)
{
    // Rows as the table copies them: a line with a name starts a tag, a
    // line without one adds a state to the tag above it.
    QVector<TextTagRecord> pasted;
    for (const QString &line : lines) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (pasted.isEmpty() || !cells.first().isEmpty())
            pasted.append({cells.first(), {}});
        pasted.last().states.append(cells.mid(1));
    }
    const int texts = m_table->columnCount() - 1;
    int first = -1;
    for (const TextTagRecord &tag : qAsConst(pasted)) {
        const int at = addLabel(tag.name, tag.states.size());
        for (int s = 0; s < tag.states.size(); ++s) {
            const QStringList &state = tag.states.at(s);
            for (int c = 0; c < texts && c < state.size(); ++c)
                m_table->item(at + s, 1 + c)->setText(state.at(c));
        }
        if (first < 0)
            first = at;
    }
    if (first >= 0)
        m_table->setCurrentCell(first, 0);
}

void TextLibDialog::removeSelectedRows()
{
    // Rows the filter hides are not the user's choice, even inside a
    // selected range.
    QVector<bool> selected(m_table->rowCount(), false);
    QVector<bool> named(m_table->rowCount(), false);
    bool any = false;
    for (const QTableWidgetSelectionRange &range : m_table->selectedRanges()) {
        for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
            if (m_table->isRowHidden(r))
                continue;
            selected[r] = true;
            named[r] = named.at(r) || range.leftColumn() == 0;
            any = true;
        }
    }
    if (!any)
        return;
    const int current = m_table->currentRow();
    const int column = std::max(0, m_table->currentColumn());
    const QVector<TagRows> all = tags();
    QVector<bool> whole(all.size(), false);
    QVector<TagRows> removed;
    for (int t = 0; t < all.size(); ++t) {
        const TagRows &tag = all.at(t);
        const int end = tag.first + tag.rows;
        whole[t]
            = std::any_of(named.begin() + tag.first, named.begin() + end, [](bool b) { return b; })
            || std::all_of(selected.begin() + tag.first, selected.begin() + end,
                           [](bool b) { return b; });
        if (whole.at(t))
            removed.append(tag);
    }
    if (!confirmRemoval(removed))
        return;
    // From the bottom up, so that the rows above keep their numbers.
    for (int t = all.size() - 1; t >= 0; --t) {
        const TagRows &tag = all.at(t);
        const int end = tag.first + tag.rows;
        if (whole.at(t)) {
            removeTag(tag);
            continue;
        }
        for (int r = end - 1; r >= tag.first; --r) {
            if (selected.at(r))
                removeState(r);
        }
    }
    m_table->clearSelection();
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(std::min(std::max(0, current), m_table->rowCount() - 1), column);
}
