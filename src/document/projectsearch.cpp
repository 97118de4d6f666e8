#include "projectsearch.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "model/binding.h"
#include "model/config.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicswidgetitem.h"

#include <QStandardItemModel>

#include <algorithm>

namespace {

bool isWordCharacter(QChar c)
{
    return c == QLatin1Char('_') || (c.isLetterOrNumber() && c.script() != QChar::Script_Han);
}

class Searcher
{
public:
    explicit Searcher(const ProjectSearch::Options &options)
        : m_options(options)
    { }

    void check(const QString &text, ProjectSearch::Field field, const ProjectPlace &place)
    {
        if (ProjectSearch::matches(text, m_options))
            hits.append({place, field, text});
    }

    QVector<ProjectSearch::Hit> hits;

private:
    const ProjectSearch::Options &m_options;
};

} // namespace

bool ProjectSearch::matches(const QString &text, const Options &options)
{
    const QString &needle = options.text;
    if (needle.isEmpty() || text.size() < needle.size())
        return false;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    int from = 0;
    while (true) {
        const int at = text.indexOf(needle, from, cs);
        if (at < 0)
            return false;
        if (!options.wholeWord)
            return true;
        const int end = at + needle.size();
        // Only the outer characters of the match decide: a needle that
        // itself begins or ends in punctuation still needs a boundary there
        // only when its own first or last character is part of a word.
        const bool startOk = at == 0 || !isWordCharacter(needle.at(0))
                             || !isWordCharacter(text.at(at - 1));
        const bool endOk = end == text.size() || !isWordCharacter(needle.at(needle.size() - 1))
                           || !isWordCharacter(text.at(end));
        if (startOk && endOk)
            return true;
        from = at + 1;
    }
}

QString ProjectSearch::shapeName(const QGraphicsItem *item)
{
    if (!item)
        return QString();
    if (item->type() == GroupItemType)
        return static_cast<const GraphicsItemGroup *>(item)->objectName();
    if (item->type() == ShapeItemType || item->type() == WidgetItemType)
        return static_cast<const GraphicsItem *>(item)->objectName();
    return QString();
}

QString ProjectSearch::shapeText(QGraphicsItem *item)
{
    if (!item || (item->type() != ShapeItemType && item->type() != WidgetItemType))
        return QString();
    // A widget's caption is known without making the widget, which a
    // search through thousands of unshown shapes would otherwise do.
    if (item->type() == WidgetItemType)
        return static_cast<GraphicsWidgetItem *>(item)->caption();
    return static_cast<GraphicsItem *>(item)->text();
}

QStringList ProjectSearch::shapeData(QGraphicsItem *item)
{
    QStringList texts;
    if (!item)
        return texts;
    const QVector<Binding> bindings = shapeBindings(item);
    auto add = [&texts](const QString &text) {
        if (!text.isEmpty() && !texts.contains(text))
            texts.append(text);
    };
    // Only the fields of a binding's kind mean anything; the rest may hold
    // what an earlier kind left behind.
    for (const Binding &binding : bindings) {
        if (binding.kind == Binding::Action && binding.action >= Binding::SwitchScreen) {
            add(binding.screen);
            continue;
        }
        add(binding.sourceText());
        if (binding.kind == Binding::TextState)
            add(binding.textTag);
    }
    return texts;
}

QVector<ProjectSearch::Hit> ProjectSearch::find(const Options &options)
{
    Searcher searcher(options);
    if (options.text.isEmpty())
        return searcher.hits;

    const QList<DrawScene *> scenes = DrawManager::instance()->scenes();
    for (int s = 0; s < scenes.size(); ++s) {
        DrawScene *scene = scenes.at(s);
        ProjectPlace place;
        place.kind = ProjectPlace::Screen;
        place.screen = scene->objectName();
        place.screenIndex = s;
        searcher.check(place.screen, ScreenName, place);

        const QList<QGraphicsItem *> items = scene->userItems();
        place.kind = ProjectPlace::Shape;
        for (int i = 0; i < items.size(); ++i) {
            QGraphicsItem *item = items.at(i);
            const QString name = shapeName(item);
            const QString text = shapeText(item);
            QStringList data = shapeData(item);
            data.erase(std::remove_if(data.begin(), data.end(),
                                      [&](const QString &d) { return !matches(d, options); }),
                       data.end());
            // Most shapes match nothing; the place is built only for a hit.
            if (!matches(name, options) && !matches(text, options) && data.isEmpty())
                continue;
            place.shape = name;
            place.index = i;
            searcher.check(name, ShapeName, place);
            searcher.check(text, ShapeText, place);
            for (const QString &d : qAsConst(data))
                searcher.check(d, ShapeData, place);
        }
    }

    const QStandardItemModel *tags = Config::instance()->addressTagModel();
    const struct {
        int column;
        Field field;
    } tagColumns[] = {{Config::NameColumn, AddressName},
                      {Config::AddressColumn, AddressAddress},
                      {Config::MarkColumn, AddressRemark}};
    for (int row = 0; row < tags->rowCount(); ++row) {
        for (const auto &column : tagColumns) {
            const QStandardItem *cell = tags->item(row, column.column);
            if (!cell || !matches(cell->text(), options))
                continue;
            ProjectPlace place;
            place.kind = ProjectPlace::AddressTag;
            place.index = row;
            const QStandardItem *nameCell = tags->item(row, Config::NameColumn);
            place.name = nameCell ? nameCell->text() : QString();
            searcher.check(cell->text(), column.field, place);
        }
    }

    TextLib *library = Config::instance()->textLib();
    for (int i = 0; i < library->count(); ++i) {
        ProjectPlace place;
        place.kind = ProjectPlace::TextTag;
        place.index = i;
        place.name = library->names().at(i);
        searcher.check(place.name, TextTagName, place);
        for (const TextLib::State &state : library->statesAt(i)) {
            for (const QString &text : state)
                searcher.check(text, TextTagText, place);
        }
    }
    return searcher.hits;
}

QString ProjectSearch::fieldText(Field field)
{
    switch (field) {
    case ScreenName:
        return tr("画面名称");
    case ShapeName:
        return tr("图形名称");
    case ShapeText:
        return tr("图形文字");
    case AddressName:
        return tr("地址标签名称");
    case AddressAddress:
        return tr("地址");
    case AddressRemark:
        return tr("备注");
    case TextTagName:
        return tr("文本标签名称");
    case TextTagText:
        return tr("文本标签文字");
    case ShapeData:
        return tr("数据");
    }
    return QString();
}
