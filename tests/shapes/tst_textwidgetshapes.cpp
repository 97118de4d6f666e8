#include "boxshapetesting.h"

#include "editor/drawscene.h"

#include <QtTest>

using namespace boxtest;

class TestTextWidgetShapes : public QObject
{
    Q_OBJECT

private slots:
    // Deleted widget shapes leave their proxies to the event loop.
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void widgetMadeWhenScreenIsPainted();
    void textKeepsVisibleCharactersThroughSaveAndOpen_data();
    void textKeepsVisibleCharactersThroughSaveAndOpen();
};

void TestTextWidgetShapes::textKeepsVisibleCharactersThroughSaveAndOpen_data()
{
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("kept");
    QTest::newRow("vertical tab and form feed, pasted")
        << QString("温度\v5\f°C") << QString("温度 5 °C");
    QTest::newRow("U+FFFE and U+FFFF") << QString("a\ufffeb\uffff") << QString("a b ");
    QTest::newRow("lone surrogates")
        << QString("x") + QChar(0xd800) + "y" + QChar(0xdc00) << QString("x y ");
    QTest::newRow("tab, line feed, pair kept")
        << QString("a\tb\nc") + QString::fromUcs4(U"\U0001F600")
        << QString("a\tb\nc") + QString::fromUcs4(U"\U0001F600");
}

void TestTextWidgetShapes::textKeepsVisibleCharactersThroughSaveAndOpen()
{
    QFETCH(QString, entered);
    QFETCH(QString, kept);
    GraphicsTextItem shape(QRect(0, 0, 100, 40));
    QVERIFY(shape.setProperty("text", entered));
    QCOMPARE(shape.text(), kept);
    const std::unique_ptr<GraphicsItem> loaded = readBack(xmlOf(&shape));
    QVERIFY(loaded);
    QCOMPARE(loaded->text(), kept);
}

void TestTextWidgetShapes::widgetMadeWhenScreenIsPainted()
{
    // A loaded screen has no widgets until it is painted; a screen rendered to
    // an image must still show them.
    DrawScene scene;
    scene.setSceneRect(0, 0, 400, 300);
    scene.setGridVisible(false);
    auto *label = new GraphicsWidgetItem(LabelKind, QRect(50, 50, 160, 60));
    scene.addItem(label);
    QVERIFY(!label->hasProxy());

    scene.realizeWidgets();
    QImage image(scene.sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, image.rect(), scene.sceneRect());
    painter.end();
    QVERIFY(label->hasProxy());
    QVERIFY(qGray(image.pixel(53, 80)) < 96);
}

QTEST_MAIN(TestTextWidgetShapes)
#include "tst_textwidgetshapes.moc"
