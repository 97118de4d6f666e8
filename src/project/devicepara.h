#pragma once

#include "project/keptcontent.h"

#include <QString>
#include <QtGlobal>

// One communication device of a project. The defaults are those of a device
// that has just been created, before any attribute has been read.
struct DevicePara
{
    QString name; // unique among the project's devices
    quint8 protocol = 0; // index into the device protocol table
    quint8 deviceId = 1; // station number on its line
    quint8 port = 0; // 0 COM1, 1 COM2, ...
    quint8 rsType = 0; // Config::PortType
    quint8 dataBits = 8;
    quint8 stopBits = 1;
    quint8 parity = 0; // Config::ComParity
    quint8 retryNum = 0;
    qint32 baud = 9600;
    qint32 overtime = 1000; // milliseconds
    qint32 comDelay = 0; // milliseconds
    qint32 resDelay = 0; // milliseconds
    KeptContent kept; // what its element held that this version does not read
};
