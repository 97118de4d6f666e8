#include "pictureloader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtEndian>

#include <array>

namespace {

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);
const QByteArray JpegSignature("\xff\xd8\xff", 3);

// The decoders report what they dislike in warnings of their own, on the
// command-line tool's standard error among others; the status says it
// once, where the caller chooses. Other messages pass on.
class QuietDecoders
{
public:
    QuietDecoders() { s_previous = qInstallMessageHandler(&QuietDecoders::handle); }
    ~QuietDecoders() { qInstallMessageHandler(s_previous); }
    Q_DISABLE_COPY(QuietDecoders)

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg && s_previous)
            s_previous(type, context, text);
    }
    static QtMessageHandler s_previous;
};

QtMessageHandler QuietDecoders::s_previous = nullptr;

quint32 crc32(const char *data, qint64 size)
{
    static const auto table = [] {
        std::array<quint32, 256> entries {};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    quint32 crc = 0xffffffffu;
    for (qint64 i = 0; i < size; ++i)
        crc = table[(crc ^ uchar(data[i])) & 0xffu] ^ (crc >> 8);
    return ~crc;
}

// Whether a PNG file's chunks are whole and intact up to its end chunk. The
// PNG library writes its own complaint about a broken file straight to
// standard error, past any handler; such a file does not reach it.
bool wholePng(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    const qint64 size = bytes.size();
    qint64 at = PngSignature.size();
    while (at + 12 <= size) {
        const quint32 length = qFromBigEndian<quint32>(data + at);
        if (length > size - at - 12)
            return false;
        if (crc32(data + at + 4, qint64(length) + 4)
            != qFromBigEndian<quint32>(data + at + 8 + length))
            return false;
        if (QByteArray::fromRawData(data + at + 4, 4) == "IEND")
            return true;
        at += 12 + qint64(length);
    }
    return false;
}

QSize boundedTarget(const QSize &target)
{
    return QSize(qBound(1, target.width(), int(PictureLoader::MaxTargetSide)),
                 qBound(1, target.height(), int(PictureLoader::MaxTargetSide)));
}

} // namespace

QString PictureLoader::resolve(const QString &folder, const QString &file)
{
    if (file.isEmpty())
        return QString();
    if (QDir::isAbsolutePath(file))
        return QDir::cleanPath(file);
    return QDir::cleanPath(QDir(folder).filePath(file));
}

QString PictureLoader::statusText(Status status)
{
    switch (status) {
    case Ok:
        return QString();
    case Missing:
        return tr("文件不存在");
    case Unreadable:
        return tr("不是可读的 PNG、JPEG 或 SVG 图片");
    case TooLarge:
        return tr("图片太大");
    case EmbedsPictures:
        return tr("SVG 图片中含有其他图片，不予显示");
    }
    return QString();
}

PictureLoader::Status PictureLoader::readBytes(const QString &file, QByteArray *bytes)
{
    const QFileInfo info(file);
    if (!info.exists())
        return Missing;
    // Only a regular file has an end: a pipe would block the editor and a
    // device might never stop giving bytes.
    if (!info.isFile())
        return Unreadable;
    if (info.size() > MaxFileBytes)
        return TooLarge;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return Unreadable;
    // The file may grow between the look and the read.
    *bytes = in.read(MaxFileBytes + 1);
    if (bytes->size() > MaxFileBytes)
        return TooLarge;
    return bytes->isEmpty() ? Unreadable : Ok;
}

PictureLoader::Kind PictureLoader::kindOf(const QByteArray &bytes)
{
    if (bytes.startsWith(PngSignature) || bytes.startsWith(JpegSignature))
        return Raster;
    // A compressed SVG would be inflated unbounded before any check; only
    // the plain form is taken.
    int i = bytes.startsWith("\xef\xbb\xbf") ? 3 : 0;
    while (i < bytes.size() && QChar::isSpace(uchar(bytes.at(i))))
        ++i;
    return i < bytes.size() && bytes.at(i) == '<' ? Svg : Other;
}

PictureLoader::Status PictureLoader::checkSvg(const QByteArray &bytes)
{
    // The renderer builds a tree as deep as the file nests and draws it
    // recursively; a file made to be deep must not reach it.
    QXmlStreamReader reader(bytes);
    int depth = 0;
    int elements = 0;
    bool svg = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (elements == 0)
                svg = reader.name() == QLatin1String("svg");
            // The renderer would open any file an image element names (a
            // pipe that never answers among them) and decode any picture,
            // embedded or not, at whatever size it claims: none is drawn.
            if (reader.name() == QLatin1String("image"))
                return EmbedsPictures;
            if (++depth > MaxSvgDepth || ++elements > MaxSvgElements)
                return TooLarge;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return !reader.hasError() && svg ? Ok : Unreadable;
}

PictureLoader::Status PictureLoader::probe(const QString &file)
{
    // Decoded in full, only small: a file whose header reads but whose
    // data is cut short would pass any lighter look and still not show.
    return load(file, QSize(ProbeSide, ProbeSide)).status;
}

PictureLoader::Result PictureLoader::load(const QString &file, const QSize &target)
{
    Result result;
    QByteArray bytes;
    result.status = readBytes(file, &bytes);
    if (result.status != Ok)
        return result;
    const QSize wanted = boundedTarget(target);
    result.status = Unreadable;
    const QuietDecoders quiet;
    switch (kindOf(bytes)) {
    case Raster: {
        if (bytes.startsWith(PngSignature) && !wholePng(bytes))
            return result;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (!size.isValid() || size.isEmpty())
            return result;
        // The header's size is checked before a pixel is decoded: a small
        // file may claim a picture of gigabytes.
        if (size.width() > MaxSide || size.height() > MaxSide
            || qint64(size.width()) * size.height() > MaxSourcePixels) {
            result.status = TooLarge;
            return result;
        }
        const QSize scaled(qMin(size.width(), wanted.width()),
                           qMin(size.height(), wanted.height()));
        if (scaled != size)
            reader.setScaledSize(scaled);
        QImage image = reader.read();
        if (image.isNull())
            return result;
        result.status = Ok;
        result.image = std::move(image);
        return result;
    }
    case Svg: {
        const Status checked = checkSvg(bytes);
        if (checked != Ok) {
            result.status = checked;
            return result;
        }
        QSvgRenderer renderer(bytes);
        if (!renderer.isValid())
            return result;
        QImage image(wanted, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return result;
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(wanted)));
        }
        result.status = Ok;
        result.image = std::move(image);
        return result;
    }
    case Other:
        break;
    }
    return result;
}
