#include "boxshapetesting.h"

#include "editor/drawscene.h"
#include "editor/drawview.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QLineEdit>
#include <QPointer>
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

QImage renderScene(QGraphicsScene *scene)
{
    QImage image(scene->sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene->render(&painter, image.rect(), scene->sceneRect());
    return image;
}

void sendMouse(QGraphicsScene *scene, QEvent::Type type, const QPointF &scenePos)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(scenePos);
    event.setScreenPos(scenePos.toPoint());
    event.setButton(type == QEvent::GraphicsSceneMouseMove ? Qt::NoButton : Qt::LeftButton);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : Qt::LeftButton);
    QCoreApplication::sendEvent(scene, &event);
}

// Deleted widget shapes leave their proxies to the event loop.
void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestTextWidgetShapes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { flushDeferredDeletes(); }
    void textAlignment();
    void widgetKinds();
    void widgetFollowsGeometry();
    void pressSelectsWithoutEditing();
    void widgetDeletion();
    void widgetMadeWhenScreenIsPainted();
    void textKeepsVisibleCharactersThroughSaveAndOpen_data();
    void textKeepsVisibleCharactersThroughSaveAndOpen();
};

void TestTextWidgetShapes::textKeepsVisibleCharactersThroughSaveAndOpen_data()
{
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("kept");
    QTest::newRow("U+0001") << QString("A\u0001B") << QString("A B");
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

void TestTextWidgetShapes::textAlignment()
{
    // Bands of the 200 x 100 box where the dark pixels of "HH" (about 25 x 12) must
    // lie; the first row keeps the default alignment.
    const QRect right(160, 0, 40, 100), left(0, 0, 40, 100), hcentre(80, 0, 40, 100);
    const QRect top(0, 0, 200, 25), bottom(0, 75, 200, 25), vcentre(0, 35, 200, 30);
    const std::tuple<int, int, QRect> rows[]
        = {{-1, -1, hcentre & vcentre},
           {GraphicsItem::AlignRight, GraphicsItem::AlignTop, right & top},
           {GraphicsItem::AlignLeft, GraphicsItem::AlignBottom, left & bottom}};
    for (const auto &[hor, ver, area] : rows) {
        GraphicsTextItem shape(QRect(0, 0, 200, 100));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(16);
        shape.setFont(font);
        shape.setText(QStringLiteral("HH"));
        if (hor >= 0) {
            QVERIFY(shape.setProperty("alignHor", hor));
            QVERIFY(shape.setProperty("alignVer", ver));
        }
        const QImage image = render(&shape, QSize(200, 100));
        const QRect text = darkBounds(image);
        QVERIFY(!text.isEmpty());
        QVERIFY(area.contains(text));
        QCOMPARE(QColor(image.pixel(2, 2)), QColor(Qt::white)); // no fill unless chosen
    }
}

void TestTextWidgetShapes::widgetKinds()
{
    // Label and push button carry a grooved border; unknown kinds show a plain label.
    const std::tuple<int, QByteArray, QString, bool> rows[]
        = {{LabelKind, "QLabel", "label", true},
           {PushButtonKind, "QPushButton", "pushbutton", true},
           {ComboBoxKind, "QComboBox", "combobox", false},
           {CheckBoxKind, "QCheckBox", "checkbox", false},
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
        // The grooved border paints dark pixels 3 pixels inside the box.
        const QImage image = renderScene(&scene);
        QCOMPARE(isDark(image.pixel(53, 80)), grooved);
        QCOMPARE(isDark(image.pixel(206, 80)), grooved);
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

void TestTextWidgetShapes::pressSelectsWithoutEditing()
{
    QGraphicsScene scene(0, 0, 800, 600);
    auto *combo = new GraphicsWidgetItem(ComboBoxKind, QRect(400, 400, 120, 30));
    auto *shape = new GraphicsWidgetItem(LineEditKind, QRect(100, 100, 120, 30));
    scene.addItem(combo);
    scene.addItem(shape);
    shape->normalizeGeometry();
    combo->setSelected(true);
    const QPointF start = shape->pos();
    auto *edit = qobject_cast<QLineEdit *>(shape->widget());
    QVERIFY(edit);

    // A press selects the shape and drags it; the widget never takes focus.
    sendMouse(&scene, QEvent::GraphicsSceneMousePress, QPointF(160, 115));
    QVERIFY(shape->isSelected() && !combo->isSelected());
    QCOMPARE(scene.mouseGrabberItem(), shape);
    QVERIFY(!edit->hasFocus() && scene.focusItem() != shape->proxy());
    sendMouse(&scene, QEvent::GraphicsSceneMouseMove, QPointF(190, 125));
    sendMouse(&scene, QEvent::GraphicsSceneMouseRelease, QPointF(190, 125));
    QCOMPARE(shape->pos(), start + QPointF(30, 10));
    QCOMPARE(edit->text(), QStringLiteral("lineedit"));
    QVERIFY(!scene.mouseGrabberItem());

    // A combo box also opens its list, to show what it holds.
    auto *list = qobject_cast<QComboBox *>(combo->widget())->view();
    sendMouse(&scene, QEvent::GraphicsSceneMousePress, QPointF(460, 415));
    QVERIFY(combo->isSelected());
    QTRY_VERIFY(list->isVisible());
    qobject_cast<QComboBox *>(combo->widget())->hidePopup();
}

void TestTextWidgetShapes::widgetDeletion()
{
    // Every proxy and widget must go, whether the shape is deleted alone, from a
    // scene, with its scene, or with a parent item.
    QVector<QPointer<QObject>> watched;
    auto make = [&watched](int kind, QGraphicsItem *parent = nullptr) {
        auto *shape = new GraphicsWidgetItem(kind, QRect(0, 0, 50, 20), parent);
        watched << shape->proxy() << shape->widget();
        return shape;
    };
    for (int kind = LabelKind; kind < LabelKind + 9; ++kind)
        delete make(kind);
    auto *scene = new QGraphicsScene(0, 0, 800, 600);
    GraphicsWidgetItem *shape = make(ComboBoxKind);
    scene->addItem(shape);
    delete shape;
    // Not deleted yet, but no longer reachable from the scene.
    QVERIFY(watched.at(watched.size() - 2) && scene->items().isEmpty());
    auto *parent = new QGraphicsRectItem(0, 0, 400, 400);
    make(TextEditKind, parent);
    scene->addItem(parent);
    scene->addItem(make(LabelKind));
    delete scene;

    flushDeferredDeletes();
    QCOMPARE(watched.size(), 2 * 12);
    for (const QPointer<QObject> &object : qAsConst(watched))
        QVERIFY(!object);
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
    const QImage image = renderScene(&scene);
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
