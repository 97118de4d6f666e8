#include "boxshapetesting.h"

#include "model/config.h"
#include "shapes/pictureloader.h"
#include "support/filebytes.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"
#include "support/testpictures.h"

#include <QtTest>

#include <sys/stat.h>

using namespace boxtest;

Q_DECLARE_METATYPE(PictureLoader::Status)

namespace {

const QColor Left(200, 0, 0);
const QColor Right(0, 0, 200);

bool near(QRgb pixel, const QColor &colour)
{
    const QColor seen(pixel);
    return qAbs(seen.red() - colour.red()) < 40 && qAbs(seen.green() - colour.green()) < 40
           && qAbs(seen.blue() - colour.blue()) < 40;
}

} // namespace

class TestImageItem : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString place(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        return writeFileBytes(path, bytes) ? path : QString();
    }

    // An image shape over (0, 0, 200, 50) showing picture.
    std::unique_ptr<GraphicsImageItem> imageShape(const QString &picture)
    {
        auto shape = std::make_unique<GraphicsImageItem>(QRect(0, 0, 10, 10));
        scenetest::placeRect(shape.get(), QRectF(0, 0, 200, 50));
        shape->setPicture(picture);
        return shape;
    }

    // The shape alone on white, its box's corner at (margin, margin).
    static QImage drawn(GraphicsImageItem *shape, int margin = 0)
    {
        const QPointF corner = shape->localRect().topLeft();
        return render(shape, QSize(200, 50) + QSize(2 * margin, 2 * margin),
                      margin - corner.x(), margin - corner.y());
    }

private slots:
    void initTestCase()
    {
        ProcessFixture::start();
        Config::instance()->setPictureFolder(m_dir.path());
    }

    void loaderRefusesWhatItCannotDraw_data();
    void loaderRefusesWhatItCannotDraw();
    void loaderDecodesNoMoreThanDrawn_data();
    void loaderDecodesNoMoreThanDrawn();
    void pictureFillsTheBox_data();
    void pictureFillsTheBox();
    void faultDrawsACrossedBox();
    void xmlKeepsThePicture_data();
    void xmlKeepsThePicture();
};

void TestImageItem::loaderRefusesWhatItCannotDraw_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<PictureLoader::Status>("status");
    using testpictures::halves;
    const QSize size(8, 4);
    QTest::newRow("png") << place("a.png", halves(size, Left, Right)) << PictureLoader::Ok;
    QTest::newRow("jpeg, any suffix")
        << place("a.pic", halves(size, Left, Right, "JPEG")) << PictureLoader::Ok;
    QTest::newRow("svg") << place("a.svg", testpictures::halvesSvg(Left, Right))
                         << PictureLoader::Ok;
    QTest::newRow("missing") << m_dir.filePath("none.png") << PictureLoader::Missing;
    QTest::newRow("folder") << m_dir.path() << PictureLoader::Unreadable;
    QTest::newRow("device") << QString("/dev/zero") << PictureLoader::Unreadable;
    QTest::newRow("empty") << place("empty.png", QByteArray()) << PictureLoader::Unreadable;
    QTest::newRow("other format") << place("b.png", halves(size, Left, Right, "BMP"))
                                  << PictureLoader::Unreadable;
    QTest::newRow("cut short") << place("cut.png", halves(QSize(64, 64), Left, Right).left(60))
                               << PictureLoader::Unreadable;
    QByteArray damaged = halves(QSize(64, 64), Left, Right);
    damaged[damaged.size() - 20] = char(damaged.at(damaged.size() - 20) ^ 0x55);
    QTest::newRow("damaged inside") << place("damaged.png", damaged) << PictureLoader::Unreadable;
    QTest::newRow("xml, not svg") << place("x.svg", "<html><body/></html>")
                                  << PictureLoader::Unreadable;
    QTest::newRow("header claims 30000 x 30000")
        << place("bomb.png", testpictures::pngClaiming(30000, 30000)) << PictureLoader::TooLarge;
    QTest::newRow("header claims 100000 x 1")
        << place("strip.png", testpictures::pngClaiming(100000, 1)) << PictureLoader::TooLarge;
    QTest::newRow("svg nested 100000 deep")
        << place("deep.svg", testpictures::deepSvg(100000)) << PictureLoader::TooLarge;
    // The renderer would open a pipe named here and wait for it forever.
    const QString pipe = m_dir.filePath("pipe.png");
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QTest::newRow("svg naming a pipe")
        << place("pipe.svg",
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                 "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"10\" height=\"10\">"
                 "<image width=\"10\" height=\"10\" xlink:href=\""
                     + QFile::encodeName(pipe) + "\"/></svg>")
        << PictureLoader::EmbedsPictures;
    QTest::newRow("svg embedding a picture")
        << place("embed.svg",
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                 "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"10\" height=\"10\">"
                 "<g><image width=\"10\" height=\"10\" xlink:href=\"data:image/png;base64,"
                     + testpictures::pngClaiming(30000, 30000).toBase64() + "\"/></g></svg>")
        << PictureLoader::EmbedsPictures;
}

// Whatever a project names as its picture is only ever a placeholder when
// it cannot be drawn; the check and the shape agree on which.
void TestImageItem::loaderRefusesWhatItCannotDraw()
{
    QFETCH(QString, file);
    QFETCH(PictureLoader::Status, status);
    QVERIFY(!file.isEmpty());
    const PictureLoader::Result loaded = PictureLoader::load(file, QSize(100, 100));
    QCOMPARE(loaded.status, status);
    QCOMPARE(loaded.image.isNull(), status != PictureLoader::Ok);
    QCOMPARE(PictureLoader::probe(file), status);
}

void TestImageItem::loaderDecodesNoMoreThanDrawn_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<QSize>("decoded");
    const QByteArray large = testpictures::halves(QSize(3000, 2000), Left, Right);
    QTest::newRow("large png, small box") << large << QSize(300, 100) << QSize(300, 100);
    QTest::newRow("large png, wide box") << large << QSize(5000, 10) << QSize(3000, 10);
    QTest::newRow("small png, large box")
        << testpictures::halves(QSize(8, 4), Left, Right) << QSize(400, 400) << QSize(8, 4);
    QTest::newRow("large jpeg, small box")
        << testpictures::halves(QSize(3000, 2000), Left, Right, "JPEG") << QSize(30, 20)
        << QSize(30, 20);
    QTest::newRow("svg, box beyond the bound")
        << testpictures::halvesSvg(Left, Right) << QSize(100000, 50)
        << QSize(PictureLoader::MaxTargetSide, 50);
}

void TestImageItem::loaderDecodesNoMoreThanDrawn()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, target);
    QFETCH(QSize, decoded);
    const QString file = place("sized", bytes);
    const PictureLoader::Result loaded = PictureLoader::load(file, target);
    QCOMPARE(loaded.status, PictureLoader::Ok);
    QCOMPARE(loaded.image.size(), decoded);
    QVERIFY(near(loaded.image.pixel(0, 0), Left));
    QVERIFY(near(loaded.image.pixel(decoded.width() - 1, decoded.height() - 1), Right));
}

void TestImageItem::pictureFillsTheBox_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    // Square and 2:1 pictures in a 4:1 box: both stretched to its edges.
    QTest::newRow("png") << testpictures::halves(QSize(40, 40), Left, Right)
                         << QString("images/square.png");
    QTest::newRow("svg") << testpictures::halvesSvg(Left, Right) << QString("images/wide.svg");
}

void TestImageItem::pictureFillsTheBox()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QVERIFY(!place(name, bytes).isEmpty());
    const auto shape = imageShape(name);
    QCOMPARE(shape->pictureFile(), m_dir.filePath(name));
    const QImage image = drawn(shape.get(), 10);
    // Inside the box, near each corner, the half that belongs there.
    for (const QPoint &point : {QPoint(12, 12), QPoint(12, 57), QPoint(100, 35)})
        QVERIFY2(near(image.pixel(point), Left), qPrintable(QString::number(point.x())));
    for (const QPoint &point : {QPoint(207, 12), QPoint(207, 57), QPoint(120, 35)})
        QVERIFY2(near(image.pixel(point), Right), qPrintable(QString::number(point.x())));
    // Nothing outside it.
    QCOMPARE(image.pixel(5, 35), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(215, 35), qRgb(255, 255, 255));
}

// A missing or broken file is a visible fault, and the picture appears once
// the file is there: what was drawn before is not kept for a file that
// changed.
void TestImageItem::faultDrawsACrossedBox()
{
    const QString name = "images/later.png";
    const auto shape = imageShape(name);
    const auto isPlaceholder = [&shape] {
        const QImage image = drawn(shape.get());
        const auto red = [&image](int x, int y) {
            const QColor c(image.pixel(x, y));
            return c.red() > 150 && c.green() < 80 && c.blue() < 80;
        };
        // The border, both diagonals, and no picture's colours inside.
        return red(100, 0) && red(0, 25) && red(20, 5) && red(180, 5) 
               && !near(image.pixel(5, 40), Left) && !near(image.pixel(195, 40), Right);
    };
    QVERIFY(isPlaceholder());
    QVERIFY(!place(name, "not a picture").isEmpty());
    QVERIFY(isPlaceholder());
    QVERIFY(!place(name, testpictures::halves(QSize(10, 10), Left, Right)).isEmpty());
    QVERIFY(!isPlaceholder());
    const QImage shown = drawn(shape.get());
    QVERIFY(near(shown.pixel(5, 40), Left));
    QVERIFY(near(shown.pixel(195, 40), Right));
    // Taking the picture away leaves today's invisible box.
    shape->setPicture(QString());
    const QImage empty = drawn(shape.get());
    QCOMPARE(empty.pixel(100, 25), qRgb(255, 255, 255));
    QCOMPARE(empty.pixel(0, 0), qRgb(255, 255, 255));
}

void TestImageItem::xmlKeepsThePicture_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QString>("picture");
    QTest::newRow("none, as older files")
        << QByteArray("<imageitem objectName=\"logo\" width=\"40\" height=\"20\" "
                      "pos=\"5,6\" fixe=\"false\" opacity=\"1\" rotation=\"0\" zValue=\"0\"/>")
        << QString();
    QTest::newRow("picture beside unknown content")
        << QByteArray("<imageitem objectName=\"logo\" width=\"40\" height=\"20\" "
                      "pos=\"5,6\" fixe=\"false\" opacity=\"1\" rotation=\"0\" zValue=\"0\" "
                      "picture=\"images/p.svg\" later=\"1\"><state n=\"2\"/></imageitem>")
        << QString("images/p.svg");
}

void TestImageItem::xmlKeepsThePicture()
{
    QFETCH(QByteArray, element);
    QFETCH(QString, picture);
    std::unique_ptr<GraphicsItem> shape = readBack(element);
    auto *image = qobject_cast<GraphicsImageItem *>(shape.get());
    QVERIFY(image);
    QCOMPARE(image->picture(), picture);
    QCOMPARE(image->property("picture").toString(), picture);
    // Written back as read, no attribute twice, none added.
    const QByteArray xml = xmlOf(image);
    QCOMPARE(xml.count("picture="), picture.isEmpty() ? 0 : 1);
    QCOMPARE(xmlOf(readBack(xml).get()), xml);
    std::unique_ptr<QGraphicsItem> copy(image->clone());
    QCOMPARE(qobject_cast<GraphicsImageItem *>(dynamic_cast<GraphicsItem *>(copy.get()))->picture(),
             picture);
}

QTEST_MAIN(TestImageItem)
#include "tst_imageitem.moc"
