// What the text library knows of the shapes that use its tags.

#include "textlibdialog.h"

#include "document/projectdocument.h"
#include "document/tagusage.h"
#include "services/messagedialog.h"

#include <QPair>
#include <QTableWidget>
#include <QVector>

QString TextLibDialog::originalName(const TagRows &tag) const
{
    const QTableWidgetItem *name = m_table->item(tag.first, 0);
    if (!name)
        return QString();
    const QVariant original = name->data(OriginalNameRole);
    return original.isValid() ? original.toString() : name->text();
}

QHash<QString, QString> TextLibDialog::renamedTags() const
{
    // A name two tags of the table both had leaves the bindings no way to
    // tell which tag they meant: neither tag's new name is theirs.
    QHash<QString, int> tagsOfName;
    QVector<QPair<QString, QString>> candidates;
    for (const TagRows &tag : tags()) {
        const QTableWidgetItem *name = m_table->item(tag.first, 0);
        const QVariant original = name ? name->data(OriginalNameRole) : QVariant();
        if (!original.isValid())
            continue;
        ++tagsOfName[original.toString()];
        if (original.toString() != name->text())
            candidates.append({original.toString(), name->text()});
    }
    QHash<QString, QString> renames;
    for (const auto &candidate : qAsConst(candidates)) {
        if (tagsOfName.value(candidate.first) == 1)
            renames.insert(candidate.first, candidate.second);
    }
    return renames;
}

bool TextLibDialog::confirmRemoval(const QVector<TagRows> &tags)
{
    if (tags.isEmpty())
        return true;
    QStringList names;
    for (const TagRows &tag : tags)
        names.append(originalName(tag));
    const TagUsage usage(ProjectDocument::current()->screens());
    const int shapes = usage.textTagShapes(names);
    if (shapes == 0)
        return true;
    const QString text = names.size() == 1
        ? tr("%n 个对象使用了文本标签“%1”，仍要删除吗？", nullptr, shapes).arg(names.first())
        : tr("%n 个对象使用了要删除的 %1 个文本标签，仍要删除吗？", nullptr, shapes)
              .arg(names.size());
    return MessageDialog::showMessage(this, QMessageBox::Warning, tr("文本标签库"), text,
                                      {tr("是"), tr("否")})
        == QMessageBox::Yes;
}
