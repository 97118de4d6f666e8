#pragma once

#include <QString>

// Where in the open project something was found: what a click on a line of
// the check or find output opens. Positions are kept beside names because
// names may repeat (that is one of the faults the check reports); a
// position that no longer holds the same name falls back to the name.
struct ProjectPlace
{
    enum Kind {
        Project, // the project as a whole (hardware model, base screen)
        Language, // index: position in Config::languages
        Screen, // screen, screenIndex
        Shape, // screen, screenIndex, shape, index: position in userItems()
        AddressTag, // index: row of the address tag model; name
        TextTag, // index: position in the text tag library; name
        Device // index: position in Config::devices; name
    };

    Kind kind = Project;
    QString screen;
    int screenIndex = -1; // position in DrawManager::scenes()
    QString shape;
    int index = -1;
    QString name;
};
