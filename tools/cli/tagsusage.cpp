#include "tagscommand.h"

#include "cliproject.h"
#include "document/drawmanager.h"
#include "document/projectcheck.h"
#include "document/tagusage.h"
#include "model/bindingsource.h"
#include "model/config.h"
#include "model/taglib/textlib.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardItemModel>

#include <functional>

namespace {

struct LibraryTag
{
    QString name;
    int position; // row of the address tags, index of the text tags
    QVector<TagUsage::Use> uses;
};

QJsonArray useArray(const QVector<TagUsage::Use> &uses)
{
    QJsonArray array;
    for (const TagUsage::Use &use : uses) {
        array.append(QJsonObject {
            {QStringLiteral("screen"), use.place.screen},
            {QStringLiteral("screenIndex"), use.place.screenIndex},
            {QStringLiteral("shape"), use.place.shape},
            {QStringLiteral("shapeIndex"), use.place.index},
            {QStringLiteral("binding"), use.binding},
            {QStringLiteral("kind"), use.kindKey()},
        });
    }
    return array;
}

QJsonObject libraryObject(const QVector<LibraryTag> &tags, const QVector<LibraryTag> &missing,
                          const QString &positionKey)
{
    QJsonArray used;
    QJsonArray unused;
    for (const LibraryTag &tag : tags) {
        used.append(QJsonObject {{QStringLiteral("name"), tag.name},
                                 {positionKey, tag.position},
                                 {QStringLiteral("shapes"), TagUsage::shapeCount(tag.uses)},
                                 {QStringLiteral("uses"), useArray(tag.uses)}});
        if (tag.uses.isEmpty())
            unused.append(tag.name);
    }
    QJsonArray absent;
    for (const LibraryTag &tag : missing) {
        absent.append(QJsonObject {{QStringLiteral("name"), tag.name},
                                   {QStringLiteral("shapes"), TagUsage::shapeCount(tag.uses)},
                                   {QStringLiteral("uses"), useArray(tag.uses)}});
    }
    return {{QStringLiteral("tags"), used},
            {QStringLiteral("unused"), unused},
            {QStringLiteral("missing"), absent}};
}

// The names bindings give that known does not know, sorted, with their
// uses: a screen that shows or moves nothing after a tag was lost.
QVector<LibraryTag> missingTags(const QStringList &usedNames,
                                const std::function<bool(const QString &)> &known,
                                const std::function<QVector<TagUsage::Use>(const QString &)> &uses)
{
    QStringList names;
    for (const QString &name : usedNames) {
        if (!known(name))
            names.append(name);
    }
    names.sort();
    QVector<LibraryTag> missing;
    for (const QString &name : qAsConst(names))
        missing.append({name, -1, uses(name)});
    return missing;
}

} // namespace

int TagsCommand::usage(bool json)
{
    const TagUsage usage(DrawManager::instance());
    Config *config = Config::instance();
    QVector<LibraryTag> address;
    const QStandardItemModel *model = config->addressTagModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QStandardItem *item = model->item(row, Config::NameColumn);
        const QString name = item ? item->text() : QString();
        address.append({name, row, usage.addressTagUses(name)});
    }
    QVector<LibraryTag> text;
    const QStringList &names = config->textLib()->names();
    for (int i = 0; i < names.size(); ++i)
        text.append({names.at(i), i, usage.textTagUses(names.at(i))});

    // A binding may name a system register, as its list or its table does.
    const BindingSource sources(config);
    const QVector<LibraryTag> missingAddress = missingTags(
        usage.addressTagNames(),
        [&sources](const QString &name) {
            AddressPara para;
            return sources.decodeTag(name, &para) != BindingSource::MissingTag;
        },
        [&usage](const QString &name) { return usage.addressTagUses(name); });
    const QStringList textNames = config->textLib()->names();
    const QSet<QString> knownText(textNames.cbegin(), textNames.cend());
    const QVector<LibraryTag> missingText = missingTags(
        usage.textTagNames(), [&knownText](const QString &name) { return knownText.contains(name); },
        [&usage](const QString &name) { return usage.textTagUses(name); });

    if (json) {
        const QJsonObject out {
            {QStringLiteral("addressTags"), libraryObject(address, missingAddress, QStringLiteral("row"))},
            {QStringLiteral("textTags"), libraryObject(text, missingText, QStringLiteral("index"))}};
        CliProject::writeOut(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Indented)));
        return 0;
    }

    QString out;
    int unusedAddress = 0;
    int unusedText = 0;
    const auto list = [&out](const QString &tagText, const LibraryTag &tag, int *unused) {
        if (tag.uses.isEmpty()) {
            out += tr("%1：未使用").arg(tagText) + QLatin1Char('\n');
            ++*unused;
            return;
        }
        for (const TagUsage::Use &use : tag.uses)
            out += tr("%1：%2（%3）")
                       .arg(tagText, ProjectCheck::placeText(use.place), use.kindText())
                   + QLatin1Char('\n');
    };
    for (const LibraryTag &tag : qAsConst(address))
        list(tr("地址标签 %1").arg(ProjectCheck::printable(tag.name)), tag, &unusedAddress);
    for (const LibraryTag &tag : qAsConst(text))
        list(tr("文本标签 %1").arg(ProjectCheck::printable(tag.name)), tag, &unusedText);
    int absent = 0;
    for (const LibraryTag &tag : missingAddress)
        list(tr("不存在的地址标签 %1").arg(ProjectCheck::printable(tag.name)), tag, &absent);
    for (const LibraryTag &tag : missingText)
        list(tr("不存在的文本标签 %1").arg(ProjectCheck::printable(tag.name)), tag, &absent);
    out += tr("%1 个地址标签中 %2 个未使用，%3 个文本标签中 %4 个未使用")
               .arg(address.size())
               .arg(unusedAddress)
               .arg(text.size())
               .arg(unusedText)
        + QLatin1Char('\n');
    if (!missingAddress.isEmpty() || !missingText.isEmpty())
        out += tr("绑定用到 %1 个不存在的地址标签、%2 个不存在的文本标签")
                   .arg(missingAddress.size())
                   .arg(missingText.size())
            + QLatin1Char('\n');
    CliProject::writeOut(out);
    return 0;
}
