#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares. LLVMFuzzerInitialize (in fuzzsupport.cpp)
// makes the headless application the shapes and screens need and loads the
// built-in tables once.
namespace fuzzsupport {

// Called first for every input. Puts the process-wide project state
// (Config, the screens of DrawManager, the screen name counters, the shape
// name generator) back to that of a new project, so that each input is read
// as if it were the first and memory does not grow from one input to the
// next. Counts the input as countInput() does.
void startInput();

// Counts the inputs: every 100,000th writes "marovin-fuzz: N inputs in S s"
// to stderr, so that the log of a long run says how far it has got
// (libFuzzer's own lines become rare once coverage stops growing). For
// targets that leave the project alone and need no reset.
void countInput();

// The input written to the file name in a folder of the process's own, for
// readers that take a file; empty when it cannot be written.
QString inputFile(const QString &name, const uint8_t *data, size_t size);

} // namespace fuzzsupport
