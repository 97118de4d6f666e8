#pragma once

class QObject;
class QStringList;
class QString;
class QVariant;
class QXmlStreamReader;
class QXmlStreamWriter;

// The generic property <-> attribute form of shapes and screens: one
// attribute per registered property (see propertyNamesOf), named like it.

// Writes the attributes onto the current start element. Always true.
bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape);

// The same for an explicit list of property names.
bool writeShapeAttributes(QXmlStreamWriter *writer, QObject *shape, const QStringList &names);

// A coordinate as attribute text: fixed notation, never an exponent, with
// the fewest digits (at most 13 significant) that read back as the value;
// magnitudes below 1e-9 are written as 0.
QString coordinateText(double value);
// value in fixed notation with the given decimals, trailing zeros (and a
// bare point) dropped; "inf" and "nan" pass through.
QString fixedText(double value, int decimals);


// Writes value as the attribute name, in the form a property of value's type
// is written.
void writeAttributeValue(QXmlStreamWriter *writer, const QString &name, const QVariant &value);

// Applies the attributes of the reader's current start element. Missing or
// malformed values never fail: bools read false, missing numbers 0, colours
// invalid, and points, rectangles and fonts keep their value. A number
// beyond 1e7 either way (or beyond a pen's width or an opacity's ends)
// keeps the nearer end; NaN, text that is no number and a value outside its
// enumeration leave the property as it was. Each of those is noted in
// Config::clampedNumbers(). Always true.
bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape);
bool readShapeAttributes(QXmlStreamReader *reader, QObject *shape, const QStringList &names);

// A number attribute of the reader's current element, read as
// readShapeAttributes reads a double: beyond 1e7 keeps the nearer end and is
// noted; NaN and text that is no number read 0, noted.
double readNumberAttribute(const QXmlStreamReader *reader, const QString &name);
