#include "addresslibdialog.h"

#include "document/projectdocument.h"
#include "document/tagusage.h"
#include "model/config.h"
#include "services/messagedialog.h"
#include "tagusesmodel.h"
#include "widgets/tableview.h"

#include <QStandardItemModel>

// What the library knows of the shapes that use its tags.

QString AddressLibDialog::originalName(int row) const
{
    const QStandardItem *item = userModel()->item(row, Config::NameColumn);
    if (!item)
        return QString();
    const QVariant original = m_copied ? item->data(OriginalNameRole) : QVariant();
    return original.isValid() ? original.toString() : item->text();
}

QHash<QString, QString> AddressLibDialog::renamedTags() const
{
    QHash<QString, QString> renames;
    if (!m_copied)
        return renames;
    // A name two rows of the list both had leaves the bindings no way to
    // tell which row they meant: neither row's new name is theirs.
    QHash<QString, int> rowsOfName;
    for (int row = 0; row < m_tags->rowCount(); ++row) {
        const QStandardItem *item = m_tags->item(row, Config::NameColumn);
        const QVariant original = item ? item->data(OriginalNameRole) : QVariant();
        if (original.isValid())
            ++rowsOfName[original.toString()];
    }
    for (int row = 0; row < m_tags->rowCount(); ++row) {
        const QStandardItem *item = m_tags->item(row, Config::NameColumn);
        const QVariant original = item ? item->data(OriginalNameRole) : QVariant();
        if (!original.isValid())
            continue;
        const QString from = original.toString();
        if (from != item->text() && rowsOfName.value(from) == 1)
            renames.insert(from, item->text());
    }
    return renames;
}

bool AddressLibDialog::confirmRemoval(const QList<int> &rows)
{
    QStringList names;
    names.reserve(rows.size());
    for (int row : rows)
        names.append(originalName(row));
    const TagUsage usage(ProjectDocument::current()->screens());
    const int shapes = usage.addressTagShapes(names);
    if (shapes == 0)
        return true;
    const QString text = names.size() == 1
        ? tr("%n 个对象使用了标签“%1”，仍要删除吗？", nullptr, shapes).arg(names.first())
        : tr("%n 个对象使用了要删除的 %1 个标签，仍要删除吗？", nullptr, shapes).arg(names.size());
    return MessageDialog::showMessage(this, QMessageBox::Warning, tr("地址标签库"), text,
                                      {tr("是"), tr("否")})
        == QMessageBox::Yes;
}

void AddressLibDialog::on_whereUsed_clicked()
{
    const int row = getRealRow(m_table->currentIndex());
    if (row < 0)
        return;
    const QStandardItem *cell = shownModel()->item(row, Config::NameColumn);
    const QString shown = cell ? cell->text() : QString();
    // The shapes know the tag by the name it has in the project.
    const QString name = m_system ? shown : originalName(row);
    const TagUsage usage(ProjectDocument::current()->screens());
    const QVector<ProjectPlace> places = TagUsage::places(usage.addressTagUses(name));
    if (m_edited) {
        // The screens open once the library is closed, and closing it
        // must not drop the user's edits unasked.
        if (MessageDialog::showMessage(this, QMessageBox::Question, tr("地址标签库"),
                                       tr("标签库有尚未确定的修改。确定这些修改并列出引用吗？"),
                                       {tr("是"), tr("否")})
            != QMessageBox::Yes)
            return;
        on_ok_clicked();
        // Refused by the library's checks: still open, still edited.
        if (m_edited)
            return;
    } else {
        reject();
    }
    emit usesListed(shown, places);
}
