#pragma once

#include "document/drawmanager.h"
#include "editor/drawscene.h"
#include "editor/screentype.h"
#include "model/binding.h"
#include "shapes/graphicsitem.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapekind.h"

#include <QString>

// Screens for simulation tests, built in DrawManager::instance() as the
// editor holds them.
namespace simulationproject {

inline DrawScene *screen(int type, const QString &name)
{
    DrawScene *scene = DrawManager::instance()->createScreen(type);
    scene->setObjectName(name);
    return scene;
}

// A widget shape named name on scene, with bindings.
inline GraphicsWidgetItem *widget(DrawScene *scene, int kind, const QString &name,
                                  const QRect &box, const QVector<Binding> &bindings = {})
{
    auto *item = new GraphicsWidgetItem(kind, box);
    item->setObjectName(name);
    scene->addItem(item);
    setShapeBindings(item, bindings);
    return item;
}

// A source on the panel entered directly.
inline Binding on(Binding::Kind kind, const QString &address, const QString &format)
{
    Binding binding;
    binding.kind = kind;
    binding.device = QStringLiteral("本地");
    binding.address = address;
    binding.format = format;
    return binding;
}

inline Binding action(Binding::ActionKind what, const QString &address)
{
    Binding binding = on(Binding::Action, address, QStringLiteral("Bool"));
    binding.action = what;
    return binding;
}

inline Binding value(const QString &address, const QString &format = QStringLiteral("Int16"))
{
    return on(Binding::Value, address, format);
}

} // namespace simulationproject
