#include "bindingrewrite.h"

#include "drawmanager.h"
#include "editor/drawscene.h"
#include "shapes/graphicsitem.h"
#include "tagusage.h"

BindingRewrite BindingRewrite::apply(DrawManager *screens,
                                     const std::function<bool(Binding &)> &edit)
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
            if (before.isEmpty())
                continue;
            QVector<Binding> after = before;
            bool changed = false;
            for (Binding &binding : after)
                changed = edit(binding) || changed;
            if (!changed)
                continue;
            setShapeBindings(item, after);
            // As the shape holds them, so that redo puts back exactly these.
            rewrite.m_shapes.append({shapeObject(item), item, before, shapeBindings(item)});
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
    });
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
    });
}

BindingRewrite BindingRewrite::renameScreen(DrawManager *screens, const QString &from,
                                            const QString &to)
{
    if (from == to || from.isEmpty())
        return BindingRewrite();
    return apply(screens, [&from, &to](Binding &binding) {
        if (!TagUsage::namesScreen(binding) || binding.screen != from)
            return false;
        binding.screen = to;
        return true;
    });
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
    });
}

void BindingRewrite::put(bool after) const
{
    for (const Shape &shape : m_shapes) {
        if (shape.object)
            setShapeBindings(shape.item, after ? shape.after : shape.before);
    }
}
