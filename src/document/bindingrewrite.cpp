#include "bindingrewrite.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "shapes/graphicsitem.h"
#include "tagusage.h"

namespace {

// Runs keptEdit over the kept "binding" elements of kept; whether any changed.
bool editKept(KeptContent *kept, const std::function<bool(UnknownElement &)> &keptEdit)
{
    bool changed = false;
    for (int i = 0; i < kept->elementCount(); ++i) {
        UnknownElement &element = kept->element(i);
        if (Binding::isKeptBinding(element))
            changed = keptEdit(element) || changed;
    }
    return changed;
}

// The rename of one reference of kept bindings: the attribute's value
// looked up in renames.
std::function<bool(UnknownElement &)> keptRename(Binding::Reference reference,
                                                 const BindingRewrite::Renames &renames)
{
    return [reference, &renames](UnknownElement &element) {
        const QString name = Binding::keptReference(element, reference);
        const auto found = renames.constFind(name);
        if (name.isEmpty() || found == renames.constEnd())
            return false;
        return Binding::setKeptReference(&element, reference, found.value());
    };
}

} // namespace

BindingRewrite BindingRewrite::apply(DrawManager *screens,
                                     const std::function<bool(Binding &)> &edit,
                                     const std::function<bool(UnknownElement &)> &keptEdit)
{
    BindingRewrite rewrite;
    if (!screens)
        return rewrite;
    const QList<DrawScene *> scenes = screens->scenes();
    for (const DrawScene *scene : scenes) {
        const QList<QGraphicsItem *> items = scene->userItems();
        // Most renames reach many shapes: one allocation per screen, not a
        // growth step every few shapes.
        rewrite.m_shapes.reserve(rewrite.m_shapes.size() + items.size());
        for (QGraphicsItem *item : items) {
            const QVector<Binding> before = shapeBindings(item);
            bool changed = false;
            QVector<Binding> after = before;
            for (Binding &binding : after)
                changed = edit(binding) || changed;
            Shape shape;
            shape.object = shapeObject(item);
            shape.item = item;
            shape.before = before;
            shape.after = before;
            if (keptEdit) {
                const KeptContent *kept = shapeKeptContent(item);
                if (kept && kept->elementCount() > 0) {
                    KeptContent edited = *kept;
                    if (editKept(&edited, keptEdit)) {
                        shape.keptChanged = true;
                        shape.keptBefore = *kept;
                        setShapeKeptContent(item, edited);
                        shape.keptAfter = edited;
                    }
                }
            }
            if (changed) {
                setShapeBindings(item, after);
                // As the shape holds them, so that redo puts back exactly these.
                shape.after = shapeBindings(item);
            }
            if (changed || shape.keptChanged)
                rewrite.m_shapes.append(shape);
        }
    }
    return rewrite;
}

BindingRewrite BindingRewrite::renameAddressTags(DrawManager *screens, const Renames &renames)
{
    if (renames.isEmpty())
        return BindingRewrite();
    return apply(screens, [&renames](Binding &binding) {
        const auto found = renames.constFind(binding.tag);
        if (binding.tag.isEmpty() || found == renames.constEnd())
            return false;
        binding.tag = found.value();
        return true;
    }, keptRename(Binding::TagReference, renames));
}

BindingRewrite BindingRewrite::renameTextTags(DrawManager *screens, const Renames &renames)
{
    if (renames.isEmpty())
        return BindingRewrite();
    return apply(screens, [&renames](Binding &binding) {
        if (binding.kind != Binding::TextState)
            return false;
        const auto found = renames.constFind(binding.textTag);
        if (binding.textTag.isEmpty() || found == renames.constEnd())
            return false;
        binding.textTag = found.value();
        return true;
    }, keptRename(Binding::TextTagReference, renames));
}

BindingRewrite BindingRewrite::renameScreen(DrawManager *screens, const QString &from,
                                            const QString &to)
{
    if (from == to || from.isEmpty())
        return BindingRewrite();
    Renames renames;
    renames.insert(from, to);
    return apply(screens, [&from, &to](Binding &binding) {
        if (!TagUsage::namesScreen(binding) || binding.screen != from)
            return false;
        binding.screen = to;
        return true;
    }, keptRename(Binding::ScreenReference, renames));
}

BindingRewrite BindingRewrite::renameDevice(DrawManager *screens, const QString &from,
                                            const QString &to)
{
    Renames renames;
    renames.insert(from, to);
    return renameDevices(screens, renames);
}

BindingRewrite BindingRewrite::renameDevices(DrawManager *screens, const Renames &renames)
{
    Renames effective = renames;
    // An empty cell names the panel, which is never renamed.
    effective.remove(QString());
    for (auto it = effective.begin(); it != effective.end();) {
        if (it.key() == it.value())
            it = effective.erase(it);
        else
            ++it;
    }
    if (effective.isEmpty())
        return BindingRewrite();
    return apply(screens, [&effective](Binding &binding) {
        // A source naming a tag follows the tag's own device cell.
        if (!binding.tag.isEmpty())
            return false;
        const auto found = effective.constFind(binding.device);
        if (found == effective.constEnd())
            return false;
        binding.device = found.value();
        return true;
    }, keptRename(Binding::DeviceReference, effective));
}

void BindingRewrite::put(bool after) const
{
    for (const Shape &shape : m_shapes) {
        if (!shape.object)
            continue;
        setShapeBindings(shape.item, after ? shape.after : shape.before);
        if (shape.keptChanged)
            setShapeKeptContent(shape.item, after ? shape.keptAfter : shape.keptBefore);
    }
}
