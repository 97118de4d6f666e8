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

    // An image shape alone, the same picture in a group member and in a
    // picture binding of the group: one copy serves them all. A name taken
    // in the target by other content gets a free one; the same content is
    // reused; a picture missing at the source is left as named.
    void adoptPictures_data()
    {
        QTest::addColumn<QByteArray>("there"); // images/a.png in the target before
        QTest::addColumn<bool>("sameFolder");
        QTest::addColumn<QString>("adopted"); // what the shapes name afterwards
        QTest::addColumn<QStringList>("targetImages");
        const QByteArray red = testpictures::halves(QSize(4, 2), Qt::red, Qt::red);
        QTest::newRow("another project") << QByteArray() << false << "images/a.png"
                                         << QStringList {"a.png"};
        QTest::newRow("name taken by another picture")
            << red << false << "images/a-2.png" << QStringList {"a-2.png", "a.png"};
        QTest::newRow("same picture there already")
            << QByteArray("A") << false << "images/a.png" << QStringList {"a.png"};
        QTest::newRow("within one project") << QByteArray() << true << "images/a.png"
                                            << QStringList {"a.png"};
    }
    void adoptPictures()
    {
        QFETCH(QByteArray, there);
        QFETCH(bool, sameFolder);
        QFETCH(QString, adopted);
        QFETCH(QStringList, targetImages);
        const QByteArray picture = testpictures::halves(QSize(4, 2), Qt::blue, Qt::green);
        QTemporaryDir from;
        QTemporaryDir to;
        QVERIFY(QDir(from.path()).mkpath("images") && QDir(to.path()).mkpath("images"));
        QVERIFY(writeFileBytes(from.filePath("images/a.png"), picture));
        if (!there.isEmpty())
            QVERIFY(writeFileBytes(to.filePath("images/a.png"), there == "A" ? picture : there));
        const QString target = sameFolder ? from.path() : to.path();

        auto image = std::make_unique<GraphicsImageItem>(QRect(0, 0, 10, 10));
        image->setPicture("images/a.png");
        auto *member = new GraphicsImageItem(QRect(0, 0, 10, 10));
        member->setPicture("images/a.png");
        auto *missing = new GraphicsImageItem(QRect(20, 0, 10, 10));
        missing->setPicture("images/gone.png");
        auto group = std::make_unique<GraphicsItemGroup>();
        group->addToGroup(member);
        group->addToGroup(missing);
        Binding states;
        states.kind = Binding::Picture;
        states.tag = "温度";
        states.pictures = {{"images/a.png", {}}, {"images/gone.png", {}}};
        group->setBindings({states});

        QStringList failures;
        PictureFiles::adoptPictures({image.get(), group.get()}, from.path(), target, &failures);
        QCOMPARE(failures, QStringList());
        QCOMPARE(image->picture(), adopted);
        QCOMPARE(member->picture(), adopted);
        QCOMPARE(missing->picture(), QStringLiteral("images/gone.png"));
        QCOMPARE(group->bindings().first().pictures.at(0).file, adopted);
        QCOMPARE(group->bindings().first().pictures.at(1).file, QStringLiteral("images/gone.png"));
        QCOMPARE(QDir(target + "/images").entryList(QDir::Files, QDir::Name), targetImages);
        QCOMPARE(fileBytes(target + "/" + adopted), picture);
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
