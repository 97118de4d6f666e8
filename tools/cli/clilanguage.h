#pragma once

// Installs the editor's English catalogue unless the environment asks for
// Chinese (CommandLineHelp::wantsChinese), and refreshes the texts Config
// translates once. Call after the application object exists.
void installCliLanguage();
