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
            const KeptContent *kept = shapeKeptContent(items.at(i));
            const bool keeps = kept && kept->elementCount() > 0;
            if (bindings.isEmpty() && !keeps)
                continue;
            place.shape = ProjectSearch::shapeName(items.at(i));
            place.index = i;
            for (int b = 0; b < bindings.size(); ++b) {
                const Binding &binding = bindings.at(b);
                const Use use {place, b, binding.kind, QString()};
                if (!binding.tag.isEmpty())
                    m_addressTags[binding.tag].append(use);
                else if (!binding.device.isEmpty() || !binding.address.isEmpty())
                    m_direct.append(use);
                if (binding.kind == Binding::TextState && !binding.textTag.isEmpty())
                    m_textTags[binding.textTag].append(use);
                if (namesScreen(binding) && !binding.screen.isEmpty())
                    m_screens[binding.screen].append(use);
            }
            // Kept unread after the others, as the shape writes them.
            if (keeps)
                addKept(*kept, place, bindings.size());
        }
    }
}

void TagUsage::addKept(const KeptContent &kept, ProjectPlace place, int first)
{
    int index = first;
    for (int e = 0; e < kept.elementCount(); ++e) {
        const UnknownElement &element = kept.element(e);
        if (!Binding::isKeptBinding(element))
            continue;
        QString kind = Binding::keptReference(element, Binding::KindReference);
        // Null marks a binding read; a kept one without a kind is still kept.
        if (kind.isNull())
            kind = QLatin1String("");
        const Use use {place, index++, Binding::Value, kind};
        // The same fields as those read: a tag names the source and then
        // the device is the tag's; a text tag or screen whatever the kind.
        const QString tag = Binding::keptReference(element, Binding::TagReference);
        if (!tag.isEmpty())
            m_addressTags[tag].append(use);
        else if (!Binding::keptReference(element, Binding::DeviceReference).isEmpty())
            m_direct.append(use);
        const QString textTag = Binding::keptReference(element, Binding::TextTagReference);
        if (!textTag.isEmpty())
            m_textTags[textTag].append(use);
        const QString screen = Binding::keptReference(element, Binding::ScreenReference);
        if (!screen.isEmpty())
            m_screens[screen].append(use);
    }
}

QString TagUsage::Use::kindKey() const
{
    return keptKind.isNull() ? Binding::kindKey(kind) : keptKind;
}

QString TagUsage::Use::kindText() const
{
    if (keptKind.isNull())
        return Binding::kindName(kind);
    // Bindings beyond the number a shape reads are kept too, of known kinds.
    for (int k = Binding::Value; k <= Binding::Picture; ++k) {
        if (Binding::kindKey(Binding::Kind(k)) == keptKind)
            return Binding::kindName(Binding::Kind(k));
    }
    return keptKind;
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
