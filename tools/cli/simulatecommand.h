#pragma once

#include <QStringList>

// `marovin-cli simulate PROJECT SCENARIO [--json] [-o DIR]`: plays a
// scenario file on the project's simulated panel. arguments are the whole
// command line, the program name first. Returns the exit code: 0 when every
// step ran and every expectation held, 2 when a step failed (its line, what
// was expected and what there was are printed), 1 when the project or the
// scenario cannot be read or the arguments are wrong.
int runSimulateCommand(const QStringList &arguments);
