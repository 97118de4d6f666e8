#pragma once

#include "keptcontent.h"

#include <QString>
#include <QtGlobal>

// One communication device of a project. The defaults are those of a device
// that has just been created, before any attribute has been read.
struct DevicePara
{
    QString name; // unique among the project's devices
    qint32 protocol = 0; // index into the device protocol table
    qint32 deviceId = 1; // station number on its line
    qint32 port = 0; // 0 COM1, 1 COM2, ...
    qint32 rsType = 0; // Config::PortType
    qint32 dataBits = 8;
    qint32 stopBits = 1;
    qint32 parity = 0; // Config::ComParity
    qint32 retryNum = 0;
    qint32 baud = 9600;
    qint32 overtime = 1000; // milliseconds
    qint32 comDelay = 0; // milliseconds
    qint32 resDelay = 0; // milliseconds
    KeptContent kept; // what its element held that this version does not read

    // What a user may enter for a device, and what a file read keeps.
    static constexpr int MinStation = 1, MaxStation = 255;
    static constexpr int MinDataBits = 5, MaxDataBits = 8;
    static constexpr int MinStopBits = 1, MaxStopBits = 2;
    static constexpr int MaxOvertime = 5000; // milliseconds
    static constexpr int MaxDelay = 10000; // milliseconds
    static constexpr int MaxRetry = 100;
};
