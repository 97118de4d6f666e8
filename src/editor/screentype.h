#pragma once

// The kinds of document in a project; the number is stored in the project
// file's "type" attribute of a screen.
enum ScreenType { BaseScreen = 1, WindowScreen = 2, TemplateScreen = 3, ScriptScreen = 4 };
