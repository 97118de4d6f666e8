#include "tagscommand.h"

#include "cliproject.h"
#include "document/drawmanager.h"
#include "document/projectcheck.h"
#include "document/tagusage.h"
#include "model/config.h"
#include "model/taglib/textlib.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardItemModel>

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
            {QStringLiteral("kind"), Binding::kindKey(use.kind)},
        });
    }
    return array;
}

QJsonObject libraryObject(const QVector<LibraryTag> &tags, const QString &positionKey)
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
    return {{QStringLiteral("tags"), used}, {QStringLiteral("unused"), unused}};
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

    if (json) {
        const QJsonObject out {{QStringLiteral("addressTags"), libraryObject(address, QStringLiteral("row"))},
                               {QStringLiteral("textTags"), libraryObject(text, QStringLiteral("index"))}};
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
                       .arg(tagText, ProjectCheck::placeText(use.place), Binding::kindName(use.kind))
                   + QLatin1Char('\n');
    };
    for (const LibraryTag &tag : qAsConst(address))
        list(tr("地址标签 %1").arg(ProjectCheck::printable(tag.name)), tag, &unusedAddress);
    for (const LibraryTag &tag : qAsConst(text))
        list(tr("文本标签 %1").arg(ProjectCheck::printable(tag.name)), tag, &unusedText);
    out += tr("%1 个地址标签中 %2 个未使用，%3 个文本标签中 %4 个未使用")
               .arg(address.size())
               .arg(unusedAddress)
               .arg(text.size())
               .arg(unusedText)
        + QLatin1Char('\n');
    CliProject::writeOut(out);
    return 0;
}
