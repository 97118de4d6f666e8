#pragma once

#include <QString>
#include <QStringList>

// `render` with --set or --lang: the screens drawn as the running panel
// shows them, their bindings applied to a register memory that holds the
// values set ("TARGET=VALUE": a tag or an address, see
// RegisterMemory::resolveName) and the texts in the language chosen. Base
// screens are drawn alone, window screens open over the first base screen,
// each picture at the panel's size; template screens are never shown by
// themselves and are left out. Works on the loaded project.
struct SimulatedRender
{
    QString directory;
    QString screen; // empty: every base and window screen
    QStringList sets;
    int language = -1; // -1: the first
};

// The exit code: 0, or 1 after a message on stderr.
int renderSimulated(const SimulatedRender &request);
