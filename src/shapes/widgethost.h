#pragma once

// A scene that makes the widgets of widget shapes only when it is first
// painted. The shapes sit below the editor and do not know its scene class;
// a widget shape entering a scene finds this interface instead, to say it
// still lacks its widget.
class WidgetHost
{
public:
    virtual ~WidgetHost() = default;

    // Called by a widget shape without a widget that enters this scene.
    virtual void noteUnrealizedWidget() = 0;
};
