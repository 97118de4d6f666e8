#pragma once

#include <QProcessEnvironment>

// The tool speaks English unless the environment asks for Chinese: the
// first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides,
// as for any command-line program, and Chinese is any value beginning with
// "zh".
bool cliWantsChinese(const QProcessEnvironment &environment);

// Installs the editor's English catalogue when the environment does not ask
// for Chinese, and refreshes the texts Config translates once. Call after
// the application object exists.
void installCliLanguage();
