#include "tagusage.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "projectsearch.h"
#include "shapes/graphicsitem.h"

#include <QSet>

namespace {

// Shapes are told apart by where they stand; names may repeat.
quint64 shapeKey(const ProjectPlace &place)
{
    return (quint64(quint32(place.screenIndex)) << 32) | quint32(place.index);
}

} // namespace

TagUsage::TagUsage(const DrawManager *screens)
{
    if (!screens)
        return;
    const QList<DrawScene *> scenes = screens->scenes();
    for (int s = 0; s < scenes.size(); ++s) {
        const DrawScene *scene = scenes.at(s);
        const QList<QGraphicsItem *> items = scene->userItems();
        ProjectPlace place;
        place.kind = ProjectPlace::Shape;
        place.screen = scene->objectName();
        place.screenIndex = s;
        for (int i = 0; i < items.size(); ++i) {
            const QVector<Binding> bindings = shapeBindings(items.at(i));
            if (bindings.isEmpty())
                continue;
            place.shape = ProjectSearch::shapeName(items.at(i));
            place.index = i;
            for (int b = 0; b < bindings.size(); ++b) {
                const Binding &binding = bindings.at(b);
                const Use use {place, b, binding.kind};
                if (!binding.tag.isEmpty())
                    m_addressTags[binding.tag].append(use);
                else if (!binding.device.isEmpty() || !binding.address.isEmpty())
                    m_direct.append(use);
                if (binding.kind == Binding::TextState && !binding.textTag.isEmpty())
                    m_textTags[binding.textTag].append(use);
                if (namesScreen(binding) && !binding.screen.isEmpty())
                    m_screens[binding.screen].append(use);
            }
        }
    }
}

bool TagUsage::namesScreen(const Binding &binding)
{
    return binding.kind == Binding::Action
        && (binding.action == Binding::SwitchScreen || binding.action == Binding::OpenWindow
            || binding.action == Binding::CloseWindow);
}

QVector<ProjectPlace> TagUsage::places(const QVector<Use> &uses)
{
    QVector<ProjectPlace> result;
    QSet<quint64> seen;
    for (const Use &use : uses) {
        if (!seen.contains(shapeKey(use.place))) {
            seen.insert(shapeKey(use.place));
            result.append(use.place);
        }
    }
    return result;
}

int TagUsage::shapeCount(const QVector<Use> &uses)
{
    // Uses come in shape order, so a shape's uses stand together.
    int count = 0;
    for (int i = 0; i < uses.size(); ++i) {
        if (i == 0 || shapeKey(uses.at(i).place) != shapeKey(uses.at(i - 1).place))
            ++count;
    }
    return count;
}

int TagUsage::distinctShapes(const QHash<QString, QVector<Use>> &map, const QStringList &names)
{
    QSet<quint64> shapes;
    QSet<QString> seenNames;
    for (const QString &name : names) {
        if (seenNames.contains(name))
            continue;
        seenNames.insert(name);
        const auto found = map.constFind(name);
        if (found == map.constEnd())
            continue;
        for (const Use &use : found.value())
            shapes.insert(shapeKey(use.place));
    }
    return shapes.size();
}

int TagUsage::addressTagShapes(const QStringList &names) const
{
    return distinctShapes(m_addressTags, names);
}

int TagUsage::textTagShapes(const QStringList &names) const
{
    return distinctShapes(m_textTags, names);
}
