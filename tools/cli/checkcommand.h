#pragma once

#include <QStringList>

// `marovin-cli check PROJECT [--json] [--password PW]`: runs the project
// check the editor's 编译 runs. arguments are the whole command line, the
// program name first. Returns the exit code: 0 without errors (warnings
// alone included), 1 when the project cannot be read or the arguments are
// wrong, 2 when the check found errors.
int runCheckCommand(const QStringList &arguments);
