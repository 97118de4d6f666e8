#pragma once

class QObject;
class QStringList;
class QXmlStreamReader;
class QXmlStreamWriter;

// The generic property <-> attribute form of shapes and screens: one
// attribute per registered property (see propertyNamesOf), named like it.

// Writes the attributes onto the current start element. Always true.
bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape);

// The same for an explicit list of property names.
bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape, const QStringList &names);

// Applies the attributes of the reader's current start element. Missing or
// malformed values never fail: bools read false, numbers 0, colours
// invalid, and points, rectangles and fonts keep their value, as does any
// number that is not finite or lies beyond 1e7 and any value outside its
// enumeration. Always true.
bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape);
bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape, const QStringList &names);
