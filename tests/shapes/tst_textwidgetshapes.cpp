#include "boxshapetesting.h"

#include "editor/drawscene.h"
#include "editor/drawview.h"

#include <QComboBox>
#include <QGraphicsScene>
#include <QTextBrowser>
#include <QtTest>

#include <tuple>

using namespace boxtest;

namespace {

// What a widget shows, whatever its class.
QString widgetContent(QWidget *widget)
{
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->count() == 1 ? combo->currentText() : QString();
    if (auto *browser = qobject_cast<QTextBrowser *>(widget))
        return browser->toPlainText();
    return widget->property("text").toString();
}

} // namespace

class TestTextWidgetShapes : public QObject
{
    Q_OBJECT

private slots:
    // Deleted widget shapes leave their proxies to the event loop.
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void widgetKinds();
    void widgetFollowsGeometry();
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

void TestTextWidgetShapes::widgetKinds()
{
    // Label and push button carry a grooved border; unknown kinds show a plain label.
    const std::tuple<int, QByteArray, QString, bool> rows[]
        = {{LabelKind, "QLabel", "label", true},
           {PushButtonKind, "QPushButton", "pushbutton", true},
           {ComboBoxKind, "QComboBox", "combobox", false},
           {TextEditKind, "QTextBrowser", "textedit", false},
           {3, "QLabel", "label", false}};
    for (const auto &[kind, className, content, grooved] : rows) {
        QGraphicsScene scene(0, 0, 400, 300);
        auto *shape = new GraphicsWidgetItem(kind, QRect(50, 50, 160, 60));
        scene.addItem(shape);
        QWidget *widget = shape->widget();
        QCOMPARE(QByteArray(widget->metaObject()->className()), className);
        QCOMPARE(widgetContent(widget), content);
        QCOMPARE(widget->styleSheet().contains("groove"), grooved);
        // The text property is shown but inert.
        QVERIFY(shape->setProperty("text", QStringLiteral("typed")));
        QCOMPARE(shape->property("text").toString(), QString());
        QCOMPARE(widgetContent(widget), content);
    }
}

void TestTextWidgetShapes::widgetFollowsGeometry()
{
    GraphicsWidgetItem shape(PushButtonKind, QRect(20, 30, 100, 40));
    QCOMPARE(shape.proxy()->geometry(), QRectF(20, 30, 100, 40));
    shape.scaleFromHandle(5, 2.5, 1.5, QPointF(20, 30));
    QCOMPARE(shape.proxy()->geometry(), QRectF(20, 30, 250, 60));
    shape.normalizeGeometry();
    QCOMPARE(shape.proxy()->geometry(), QRectF(-125, -30, 250, 60));
    QCOMPARE(shape.sceneBoundingRect(), QRectF(20, 30, 250, 60));
    // Smaller than the widget would like: the widget still fills the box.
    QVERIFY(shape.setProperty("width", 12.0));
    QVERIFY(shape.setProperty("height", 8.0));
    QCOMPARE(shape.proxy()->geometry(), QRectF(-6, -4, 12, 8));
    QCOMPARE(shape.widget()->size(), QSize(12, 8));
}

void TestTextWidgetShapes::widgetMadeWhenScreenIsPainted()
{
    // A loaded screen has no widgets until it is painted or rendered; then
    // each shape shows its widget, under the shape's handles.
    DrawScene scene;
    scene.setGridVisible(false);
    auto *label = new GraphicsWidgetItem(LabelKind, QRect(50, 50, 160, 60));
    auto *button = new GraphicsWidgetItem(PushButtonKind, QRect(300, 50, 160, 60));
    scene.addItem(label);
    scene.addItem(button);
    QVERIFY(!label->hasProxy() && !button->hasProxy());

    scene.realizeWidgets();
    QImage image(scene.sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, image.rect(), scene.sceneRect());
    painter.end();
    QVERIFY(label->hasProxy() && button->hasProxy());
    QVERIFY(isDark(image.pixel(53, 80)));

    auto *later = new GraphicsWidgetItem(LineEditKind, QRect(50, 200, 160, 30));
    scene.addItem(later);
    DrawView view(&scene);
    view.resize(400, 300);
    view.grab();
    QVERIFY(later->hasProxy());

    later->setSelected(true);
    QGraphicsItem *corner = later->handles().at(4);
    QVERIFY(corner->isVisible());
    QVERIFY(later->proxy()->zValue() < corner->zValue());
}

QTEST_MAIN(TestTextWidgetShapes)
#include "tst_textwidgetshapes.moc"
