#include "projectcheck.h"

#include "drawmanager.h"
#include "model/config.h"
#include "tagusage.h"

#include <QStandardItemModel>

// The tags no shape uses: harmless on the panel, but often a leftover of a
// screen since redrawn, or a sign that a binding names the tag otherwise.

namespace {

Finding unusedTag(Finding::Code code, const QString &message, ProjectPlace::Kind kind, int index,
                  const QString &name)
{
    Finding finding;
    finding.severity = Finding::Warning;
    finding.code = code;
    finding.message = message;
    finding.place.kind = kind;
    finding.place.index = index;
    finding.place.name = name;
    return finding;
}

} // namespace

QVector<Finding> ProjectCheck::unusedAddressTags()
{
    QVector<Finding> findings;
    const TagUsage usage(DrawManager::instance());
    // The panel's system registers are a separate list and never reported.
    const QStandardItemModel *tags = Config::instance()->addressTagModel();
    for (int row = 0; row < tags->rowCount(); ++row) {
        const QStandardItem *item = tags->item(row, Config::NameColumn);
        const QString name = item ? item->text() : QString();
        // A tag without a name is a finding of its own, and nothing can name it.
        if (name.trimmed().isEmpty() || usage.usesAddressTag(name))
            continue;
        findings.append(unusedTag(Finding::AddressTagUnused, tr("没有对象使用此地址标签"),
                                  ProjectPlace::AddressTag, row, name));
    }
    return findings;
}

QVector<Finding> ProjectCheck::unusedTextTags()
{
    QVector<Finding> findings;
    const TagUsage usage(DrawManager::instance());
    const QStringList &names = Config::instance()->textLib()->names();
    for (int i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        if (name.trimmed().isEmpty() || usage.usesTextTag(name))
            continue;
        findings.append(unusedTag(Finding::TextTagUnused, tr("没有对象使用此文本标签"),
                                  ProjectPlace::TextTag, i, name));
    }
    return findings;
}
