#pragma once

// The interface choices kept between runs in AppPaths::settingsFile(): the
// interface language, whether a new project is proposed at start, and the
// editor's own settings.
class WindowSettings
{
public:
    // Into AppSettings and EditorSettings; a missing or unreadable file gives
    // the defaults. Applying the language is the window's business.
    static void read();
    // Closing must not be held up by a box: a failure goes to the log.
    static void write();
};
