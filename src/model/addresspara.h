#pragma once

#include <QString>
#include <QtGlobal>

// An address tag decoded into numbers (see Config::tagAt and
// Config::parseAddress).
struct AddressPara
{
    QString name;
    QString mark;
    quint8 device = 0; // 0 the panel itself, i >= 1 communication device i
    quint8 format = 0; // Config::DataFormat
    quint8 area = 0; // index of the register area in the device's protocol
    quint8 length = 0; // data length as written in the tag
    quint16 address = 0; // register number within the area
    quint16 bit = 0; // bit number, panel-protocol bit addresses only
};
