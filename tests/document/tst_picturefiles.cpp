// Pictures that travel with shapes copied from one project folder into
// another.

#include "document/picturefiles.h"
#include "model/binding.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitemgroup.h"
#include "support/filebytes.h"
#include "support/processfixture.h"
#include "support/testpictures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestPictureFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { ProcessFixture::start(); }
    void cleanup() { ProcessFixture::finish(); }

    // The same picture in an image shape, a group member and a picture
    // binding of the group: one copy, under a free name beside another
    // picture of that name, serves them all. A picture missing at the
    // source is left as named.
    void adoptPictures()
    {
        const QByteArray picture = testpictures::halves(QSize(4, 2), Qt::blue, Qt::green);
        QTemporaryDir from;
        QTemporaryDir to;
        QVERIFY(QDir(from.path()).mkpath("images") && QDir(to.path()).mkpath("images"));
        QVERIFY(writeFileBytes(from.filePath("images/a.png"), picture));
        QVERIFY(writeFileBytes(to.filePath("images/a.png"), "another picture"));
        auto image = std::make_unique<GraphicsImageItem>(QRect(0, 0, 10, 10));
        image->setPicture("images/a.png");
        auto *member = new GraphicsImageItem(QRect(0, 0, 10, 10));
        member->setPicture("images/a.png");
        auto group = std::make_unique<GraphicsItemGroup>();
        group->addToGroup(member);
        Binding states;
        states.kind = Binding::Picture;
        states.pictures = {{"images/a.png", {}}, {"images/gone.png", {}}};
        group->setBindings({states});

        QStringList failures;
        PictureFiles::adoptPictures({image.get(), group.get()}, from.path(), to.path(), &failures);
        QCOMPARE(failures, QStringList());
        QCOMPARE(QStringList({image->picture(), member->picture(),
                              group->bindings().first().pictures.at(0).file,
                              group->bindings().first().pictures.at(1).file}),
                 QStringList({"images/a-2.png", "images/a-2.png", "images/a-2.png",
                              "images/gone.png"}));
        QCOMPARE(QDir(to.filePath("images")).entryList(QDir::Files, QDir::Name),
                 QStringList({"a-2.png", "a.png"}));
        QCOMPARE(fileBytes(to.filePath("images/a-2.png")), picture);
    }

    // A copy that cannot be made is named, and the shape keeps its path.
    void adoptFailureIsReported()
    {
        QTemporaryDir from;
        QTemporaryDir to;
        QVERIFY(QDir(from.path()).mkpath("images"));
        QVERIFY(writeFileBytes(from.filePath("images/a.png"), "no picture"));
        GraphicsImageItem image(QRect(0, 0, 10, 10));
        image.setPicture("images/a.png");
        QStringList failures;
        PictureFiles::adoptPictures({&image}, from.path(), to.path(), &failures);
        QCOMPARE(failures.size(), 1);
        QVERIFY2(failures.first().contains("a.png"), qPrintable(failures.first()));
        QCOMPARE(image.picture(), QStringLiteral("images/a.png"));
        QVERIFY(!QFileInfo::exists(to.filePath("images/a.png")));
    }
};

QTEST_MAIN(TestPictureFiles)
#include "tst_picturefiles.moc"
