#pragma once

#include <QByteArray>
#include <QString>

// The compound-file container that old binary office files live in: a
// small file system of streams in fixed-size sectors. Only reading one
// stream by name is offered. Every sector number and chain is checked, so a
// damaged or hostile file gives false instead of reading out of bounds or
// looping.
class CompoundFile
{
public:
    // True when the bytes start with the container's signature.
    static bool isCompoundFile(const QByteArray &file);
    // The stream named `name` (letter case ignored), cut to its declared
    // size. False when the container is damaged or has no such stream.
    static bool readStream(const QByteArray &file, const QString &name, QByteArray *stream);
};
