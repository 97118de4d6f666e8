#pragma once

class QXmlStreamReader;

// How deep the project file and everything read from it may nest.
// Elements nested deeper (groups in groups, elements of the text tag
// library, elements kept unread) are refused: the readers recurse once per
// level, a file nested a hundred thousand deep would overflow the stack,
// and written back with its indentation it would grow to gigabytes. Real
// projects stay far below it.
class NestingLimit
{
public:
    static constexpr int MaxDepth = 64;
    // Stops reader with the error that the file nests deeper than MaxDepth;
    // loading then reports the file damaged at the place reached.
    static void refuse(QXmlStreamReader *reader);
};
