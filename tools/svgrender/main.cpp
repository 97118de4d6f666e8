// Build-time helper: rasterises one SVG to PNG so the pictures can be
// checked (and shipped as bitmaps) without running the editor itself.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

static int fail(const QString &msg)
{
    QTextStream(stderr) << "svgrender: " << msg << '\n';
    return 1;
}

int main(int argc, char *argv[])
{
    // Must run on build machines and CI without a display server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() != 3 && args.size() != 5)
        return fail("usage: svgrender IN.svg OUT.png [WIDTH HEIGHT]");

    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid())
        return fail("cannot load SVG '" + args.at(1) + "'");

    QSize size = renderer.defaultSize();
    if (args.size() == 5) {
        bool okW = false, okH = false;
        size = QSize(args.at(3).toInt(&okW), args.at(4).toInt(&okH));
        if (!okW || !okH)
            return fail("WIDTH and HEIGHT must be integers");
    }
    if (size.width() <= 0 || size.height() <= 0)
        return fail(QString("invalid size %1x%2").arg(size.width()).arg(size.height()));

    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull())
        return fail("cannot allocate image");
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    if (!image.save(args.at(2), "PNG"))
        return fail("cannot write PNG '" + args.at(2) + "'");
    return 0;
}
