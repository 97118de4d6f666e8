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

using namespace boxtest;

namespace {

QFont testFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    return font;
}

// What a widget shows, whatever its class.
QString widgetContent(QWidget *widget)
{
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items.join(QLatin1Char('|'));
    }
    if (auto *browser = qobject_cast<QTextBrowser *>(widget))
        return browser->toPlainText();
    return widget->property("text").toString();
}

void sendMouse(QGraphicsScene *scene, QEvent::Type type, const QPointF &scenePos,
               Qt::MouseButtons buttons)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(scenePos);
    event.setScreenPos(scenePos.toPoint());
    event.setButton(type == QEvent::GraphicsSceneMouseMove ? Qt::NoButton : Qt::LeftButton);
    event.setButtons(buttons);
    QCoreApplication::sendEvent(scene, &event);
}

void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestTextWidgetShapes : public QObject
{
    Q_OBJECT

private slots:
    // Deleted widget shapes leave their proxies to the event loop.
    void cleanup() { flushDeferredDeletes(); }
    void textDefaults();
    void textAlignment();
    void textWrapsAtWords();
    void widgetKinds_data();
    void widgetKinds();
    void widgetFollowsGeometry();
    void pressSelectsAndDrags();
    void pressOpensComboList();
    void widgetDeletion();
    void widgetMadeWhenScreenIsPainted();
};

void TestTextWidgetShapes::textDefaults()
{
    GraphicsItem::seedRandom(5);
    const QColor randomFill = GraphicsRectItem(QRect(0, 0, 1, 1)).brushColor();
    GraphicsItem::seedRandom(5);
    GraphicsTextItem shape(QRect(0, 0, 200, 100));

    QCOMPARE(shape.text(), QStringLiteral("textitem"));
    QCOMPARE(shape.alignHor(), GraphicsItem::AlignHCenter);
    QCOMPARE(shape.alignVer(), GraphicsItem::AlignVCenter);
    QCOMPARE(shape.penStyle(), GraphicsItem::SolidLine);
    QCOMPARE(shape.penColor(), QColor(Qt::black));
    QCOMPARE(shape.brushStyle(), GraphicsItem::NoBrush);
    QCOMPARE(shape.brush().style(), Qt::NoBrush);
    QCOMPARE(shape.brushColor(), randomFill); // the random fill waits as background colour

    shape.setFont(testFont(20));
    const QImage image = render(&shape, QSize(200, 100));
    const QRect text = darkBounds(image);
    QVERIFY(!text.isEmpty());
    QVERIFY(qAbs(text.center().x() - 100) <= 3 && qAbs(text.center().y() - 50) <= 4);
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(Qt::white));
}

void TestTextWidgetShapes::textAlignment()
{
    // Bands of the 200 x 100 box where the dark pixels of "HH" (about 25 x 12) must lie.
    const QRect right(160, 0, 40, 100), left(0, 0, 40, 100), hcentre(80, 0, 40, 100);
    const QRect top(0, 0, 200, 25), bottom(0, 75, 200, 25), vcentre(0, 35, 200, 30);
    const struct
    {
        int hor, ver;
        QRect area;
    } rows[] = {
        {GraphicsItem::AlignRight, GraphicsItem::AlignTop, right & top},
        {GraphicsItem::AlignLeft, GraphicsItem::AlignBottom, left & bottom},
        {GraphicsItem::AlignHCenter, GraphicsItem::AlignTop, hcentre & top},
        {GraphicsItem::AlignRight, GraphicsItem::AlignVCenter, right & vcentre},
    };
    for (const auto &r : rows) {
        GraphicsTextItem shape(QRect(0, 0, 200, 100));
        shape.setFont(testFont(16));
        shape.setText(QStringLiteral("HH"));
        QVERIFY(shape.setProperty("alignHor", r.hor));
        QVERIFY(shape.setProperty("alignVer", r.ver));
        const QRect text = darkBounds(render(&shape, QSize(200, 100)));
        QVERIFY(!text.isEmpty());
        QVERIFY(r.area.contains(text));
    }
}

void TestTextWidgetShapes::textWrapsAtWords()
{
    GraphicsTextItem shape(QRect(0, 0, 120, 200));
    const QFont font = testFont(16);
    shape.setFont(font);
    shape.setAlignHor(GraphicsItem::AlignLeft);
    shape.setAlignVer(GraphicsItem::AlignTop);
    const QString words = QStringLiteral("alpha beta gamma delta epsilon zeta");
    shape.setText(words);

    const QRect text = darkBounds(render(&shape, QSize(300, 200)));
    const QFontMetrics metrics(font);
    QVERIFY(metrics.horizontalAdvance(words) > 2 * 120);
    QVERIFY(text.right() < 120);
    QVERIFY(text.height() > 2 * metrics.lineSpacing());
}

void TestTextWidgetShapes::widgetKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("styleSheet");

    QTest::newRow("label") << int(LabelKind) << QByteArray("QLabel") << "label"
                           << "QLabel{border:10px groove #242424;}";
    QTest::newRow("push button") << int(PushButtonKind) << QByteArray("QPushButton") << "pushbutton"
                                 << "QPushButton{border:10px groove #242424;}";
    QTest::newRow("combo box") << int(ComboBoxKind) << QByteArray("QComboBox") << "combobox"
                               << "";
    QTest::newRow("radio button") << int(RadioButtonKind) << QByteArray("QRadioButton")
                                  << "radiobutton"
                                  << "";
    QTest::newRow("check box") << int(CheckBoxKind) << QByteArray("QCheckBox") << "checkbox"
                               << "";
    QTest::newRow("line edit") << int(LineEditKind) << QByteArray("QLineEdit") << "lineedit"
                               << "";
    QTest::newRow("text box") << int(TextEditKind) << QByteArray("QTextBrowser") << "textedit"
                              << "";
    QTest::newRow("spin box kind") << int(SpinBoxKind) << QByteArray("QLabel") << "label"
                                   << "";
    QTest::newRow("unknown kind") << 3 << QByteArray("QLabel") << "label"
                                  << "";
}

void TestTextWidgetShapes::widgetKinds()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, className);
    QFETCH(QString, content);
    QFETCH(QString, styleSheet);

    QGraphicsScene scene(0, 0, 400, 300);
    auto *shape = new GraphicsWidgetItem(kind, QRect(50, 50, 160, 60));
    scene.addItem(shape);
    QCOMPARE(shape->type(), int(WidgetItemType));
    QCOMPARE(shape->widgetKind(), kind);
    QWidget *widget = shape->widget();
    QVERIFY(widget);
    QCOMPARE(QByteArray(widget->metaObject()->className()), className);
    QCOMPARE(widgetContent(widget), content);
    QCOMPARE(widget->styleSheet(), styleSheet);

    // The text property is shown but inert.
    QVERIFY(shape->setProperty("text", QStringLiteral("typed")));
    QCOMPARE(shape->property("text").toString(), QString());
    QCOMPARE(widgetContent(widget), content);

    // The grooved border paints dark pixels 3 pixels inside the box.
    QImage image(400, 300, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        scene.render(&painter, QRectF(0, 0, 400, 300), QRectF(0, 0, 400, 300));
    }
    QCOMPARE(isDark(image.pixel(53, 80)), !styleSheet.isEmpty());
    QCOMPARE(isDark(image.pixel(206, 80)), !styleSheet.isEmpty());
}

void TestTextWidgetShapes::widgetFollowsGeometry()
{
    GraphicsWidgetItem shape(PushButtonKind, QRect(20, 30, 100, 40));
    QCOMPARE(shape.proxy()->geometry(), shape.boundingRect());

    shape.scaleFromHandle(5, 2.5, 1.5, QPointF(20, 30));
    QCOMPARE(shape.boundingRect(), QRectF(20, 30, 250, 60));
    QCOMPARE(shape.proxy()->geometry(), shape.boundingRect());
    QCOMPARE(shape.widget()->size(), QSize(250, 60));

    shape.normalizeGeometry();
    QCOMPARE(shape.boundingRect(), QRectF(-125, -30, 250, 60));
    QCOMPARE(shape.proxy()->geometry(), shape.boundingRect());
    QCOMPARE(shape.sceneBoundingRect(), QRectF(20, 30, 250, 60));

    // Smaller than the widget would like: the widget still fills the box.
    QVERIFY(shape.setProperty("width", 12.0));
    QVERIFY(shape.setProperty("height", 8.0));
    QCOMPARE(shape.proxy()->geometry(), QRectF(-6, -4, 12, 8));
    QCOMPARE(shape.widget()->size(), QSize(12, 8));
}

void TestTextWidgetShapes::pressSelectsAndDrags()
{
    QGraphicsScene scene(0, 0, 800, 600);
    auto *other = new GraphicsWidgetItem(LabelKind, QRect(400, 400, 50, 50));
    auto *shape = new GraphicsWidgetItem(LineEditKind, QRect(100, 100, 120, 30));
    scene.addItem(other);
    scene.addItem(shape);
    shape->normalizeGeometry();
    other->setSelected(true);
    const QPointF start = shape->pos();
    auto *edit = qobject_cast<QLineEdit *>(shape->widget());
    QVERIFY(edit);

    sendMouse(&scene, QEvent::GraphicsSceneMousePress, QPointF(160, 115), Qt::LeftButton);
    QVERIFY(shape->isSelected());
    QVERIFY(!other->isSelected());
    QCOMPARE(scene.mouseGrabberItem(), shape);
    QVERIFY(!edit->hasFocus());
    QVERIFY(scene.focusItem() != shape->proxy());

    sendMouse(&scene, QEvent::GraphicsSceneMouseMove, QPointF(190, 125), Qt::LeftButton);
    sendMouse(&scene, QEvent::GraphicsSceneMouseRelease, QPointF(190, 125), Qt::NoButton);
    QCOMPARE(shape->pos(), start + QPointF(30, 10));
    QCOMPARE(edit->text(), QStringLiteral("lineedit"));
    QVERIFY(!scene.mouseGrabberItem());
}

void TestTextWidgetShapes::pressOpensComboList()
{
    QGraphicsScene scene(0, 0, 800, 600);
    auto *shape = new GraphicsWidgetItem(ComboBoxKind, QRect(100, 100, 120, 30));
    scene.addItem(shape);
    auto *combo = qobject_cast<QComboBox *>(shape->widget());
    QVERIFY(combo);
    QVERIFY(!combo->view()->isVisible());

    sendMouse(&scene, QEvent::GraphicsSceneMousePress, QPointF(160, 115), Qt::LeftButton);
    QVERIFY(shape->isSelected());
    QTRY_VERIFY(combo->view()->isVisible());
    QCOMPARE(combo->view()->model()->rowCount(), 1);
    combo->hidePopup();
}

void TestTextWidgetShapes::widgetDeletion()
{
    // Every proxy and widget must go, whether the shape is deleted alone, in a
    // scene, with its scene, or with a parent item.
    QVector<QPointer<QObject>> watched;
    auto make = [&watched](int i, int kind, QGraphicsItem *parent = nullptr) {
        auto *shape = new GraphicsWidgetItem(kind, QRect(i * 10, 0, 50, 20), parent);
        watched << shape->proxy() << shape->widget();
        return shape;
    };

    for (int i = 0; i < 9; ++i)
        delete make(i, LabelKind + i);

    QGraphicsScene scene(0, 0, 800, 600);
    for (int i = 0; i < 18; ++i) {
        GraphicsWidgetItem *shape = make(i, LabelKind + i % 9);
        scene.addItem(shape);
        if (i % 2) {
            QGraphicsProxyWidget *proxy = shape->proxy();
            delete shape;
            // Not deleted yet, but no longer reachable from the scene.
            QVERIFY(watched.at(watched.size() - 2));
            QVERIFY(!proxy->scene() && !proxy->parentItem());
        }
    }
    QList<QGraphicsItem *> shapes = scene.items();
    shapes.erase(std::remove_if(shapes.begin(), shapes.end(),
                                [](QGraphicsItem *item) { return item->type() != WidgetItemType; }),
                 shapes.end());
    qDeleteAll(shapes);
    QVERIFY(scene.items().isEmpty());

    auto *doomed = new QGraphicsScene(0, 0, 800, 600);
    for (int i = 0; i < 9; ++i)
        doomed->addItem(make(i, LabelKind + i));
    auto *parent = new QGraphicsRectItem(0, 0, 400, 400);
    for (int i = 0; i < 5; ++i)
        make(i, ComboBoxKind, parent);
    doomed->addItem(parent);
    delete doomed;

    auto *loose = new QGraphicsRectItem(0, 0, 400, 400);
    for (int i = 0; i < 5; ++i)
        make(i, TextEditKind, loose);
    delete loose;

    flushDeferredDeletes();
    QCOMPARE(watched.size(), 2 * 46);
    for (const QPointer<QObject> &object : qAsConst(watched))
        QVERIFY(!object);
}

QTEST_MAIN(TestTextWidgetShapes)
#include "tst_textwidgetshapes.moc"

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

    QImage image(800, 480, QImage::Format_ARGB32);
    image.fill(Qt::white);
    scene.realizeWidgets();
    {
        QPainter painter(&image);
        scene.render(&painter, QRectF(0, 0, 800, 480), QRectF(0, 0, 800, 480));
    }
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
