#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>

// Picture files for tests, made in memory.
namespace testpictures {

// A picture of size whose left half is left and right half right, in the
// given format ("PNG", "JPEG", "BMP").
inline QByteArray halves(const QSize &size, const QColor &left, const QColor &right,
                         const char *format = "PNG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(right);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), left);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return buffer.data();
}

// The same as an SVG drawing of 20 x 10 units.
inline QByteArray halvesSvg(const QColor &left, const QColor &right)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                          "width=\"20\" height=\"10\" viewBox=\"0 0 20 10\">"
                          "<rect x=\"0\" y=\"0\" width=\"10\" height=\"10\" fill=\"%1\"/>"
                          "<rect x=\"10\" y=\"0\" width=\"10\" height=\"10\" fill=\"%2\"/></svg>")
        .arg(left.name(), right.name())
        .toUtf8();
}

// An SVG whose groups nest depth deep.
inline QByteArray deepSvg(int depth)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">"
           + QByteArray("<g>").repeated(depth) + "<rect width=\"10\" height=\"10\"/>"
           + QByteArray("</g>").repeated(depth) + "</svg>";
}

inline quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Byte by byte: the compiler cannot see that the picture is long enough
// for the toolkit's own helper and warns.
inline void putBigEndian(QByteArray *bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        (*bytes)[at + i] = char(value >> (24 - 8 * i));
}

// A small PNG file whose header claims width x height pixels: the size a
// picture bomb gives.
inline QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = halves(QSize(2, 1), Qt::red, Qt::blue);
    // The header chunk follows the 8-byte signature: length, "IHDR", width,
    // height, ... and its CRC over type and data.
    constexpr int Type = 12;
    putBigEndian(&png, 16, width);
    putBigEndian(&png, 20, height);
    putBigEndian(&png, Type + 4 + 13, crc32(png.mid(Type, 4 + 13)));
    return png;
}

} // namespace testpictures
