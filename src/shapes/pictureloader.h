#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>

class QByteArray;

// Reads the picture files image shapes show: PNG, JPEG and SVG, told apart
// by their content. A picture comes from a project file anyone may have
// written, so everything is bounded before it is decoded: only regular files
// are opened (a pipe or a device would block or never end), the file's
// size, a raster picture's pixel count and an SVG's nesting and element
// count are checked first, and the result is never larger than asked for.
class PictureLoader
{
    Q_DECLARE_TR_FUNCTIONS(PictureLoader)

public:
    enum Status { Ok, Missing, Unreadable, TooLarge, EmbedsPictures };

    // Bounds of what is read at all. A panel shows pictures of a few
    // megapixels; these leave ample room and keep a decoded picture within
    // about 100 MB.
    static constexpr qint64 MaxFileBytes = 32 * 1024 * 1024;
    static constexpr qint64 MaxSourcePixels = 6000 * 4000;
    static constexpr int MaxSide = 20000;
    // The largest picture drawn, per side: beyond it a zoomed view is
    // blurred rather than memory exhausted.
    static constexpr int MaxTargetSide = 4096;
    static constexpr int MaxSvgDepth = 256;
    static constexpr int MaxSvgElements = 200000;
    static constexpr int ProbeSide = 16;

    struct Result
    {
        Status status = Missing;
        QImage image; // null unless status is Ok
    };

    // The picture in file drawn into target pixels (stretched to fill them,
    // as the shape shows it). A raster picture smaller than target comes at
    // its own size; the painter scales it up.
    static Result load(const QString &file, const QSize &target);
    // Whether load() would draw file, without decoding its pixels.
    static Status probe(const QString &file);

    // file's place: relative paths resolve against folder, absolute ones
    // stand. Empty for an empty file.
    static QString resolve(const QString &folder, const QString &file);
    // What is wrong, in words ("文件不存在"), translated; empty for Ok.
    static QString statusText(Status status);

private:
    enum Kind { Raster, Svg, Other };
    static Status readBytes(const QString &file, QByteArray *bytes);
    static Kind kindOf(const QByteArray &bytes);
    static Status checkSvg(const QByteArray &bytes);
};
