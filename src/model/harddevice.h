#pragma once

#include <QString>
#include <QtGlobal>

// One panel model of the built-in hardware table. A project's `Config::hard`
// indexes the table; the screen size of a new project comes from here.
struct HardDevice
{
    QString name; // model name, the element name of its table row
    quint16 width = 0; // landscape screen width in pixels
    quint16 height = 0; // landscape screen height in pixels
    float psize = 0.0f; // diagonal in inches
    quint8 serials = 0; // serial ports: devices may use COM1 .. COM<serials>
    quint8 usb = 0;
    quint8 model = 0; // 0 plain panel, 1 panel with an integrated controller
    QString image; // file name under ":/resources/images/product/"
};
