#include "boxshapetesting.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
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
    void textAlignment_data();
    void textAlignment();
    void textWrapsAtWords();

    void widgetKinds_data();
    void widgetKinds();
    void widgetFollowsGeometry();
    void pressSelectsAndDrags();
    void pressOpensComboList();
    void widgetDeletion();
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
    // The random fill waits as the background colour.
    QCOMPARE(shape.brushColor(), randomFill);

    shape.setFont(testFont(20));
    const QImage image = render(&shape, QSize(200, 100));
    const QRect text = darkBounds(image);
    QVERIFY(!text.isEmpty());
    QVERIFY(qAbs(text.center().x() - 100) <= 3 && qAbs(text.center().y() - 50) <= 4);
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(Qt::white));
}

void TestTextWidgetShapes::textAlignment_data()
{
    QTest::addColumn<int>("hor");
    QTest::addColumn<int>("ver");
    QTest::addColumn<QRect>("area");

    // Where the dark pixels of "HH" (about 25 x 12) must lie in the 200 x 100
    // box: a band along the chosen edges, or around the centre.
    const QRect right(160, 0, 40, 100), left(0, 0, 40, 100), hcentre(80, 0, 40, 100);
    const QRect top(0, 0, 200, 25), bottom(0, 75, 200, 25), vcentre(0, 35, 200, 30);
    QTest::newRow("right top") << int(GraphicsItem::AlignRight) << int(GraphicsItem::AlignTop)
                               << (right & top);
    QTest::newRow("left bottom") << int(GraphicsItem::AlignLeft) << int(GraphicsItem::AlignBottom)
                                 << (left & bottom);
    QTest::newRow("centre top") << int(GraphicsItem::AlignHCenter) << int(GraphicsItem::AlignTop)
                                << (hcentre & top);
    QTest::newRow("right centre") << int(GraphicsItem::AlignRight)
                                  << int(GraphicsItem::AlignVCenter) << (right & vcentre);
}

void TestTextWidgetShapes::textAlignment()
{
    QFETCH(int, hor);
    QFETCH(int, ver);
    QFETCH(QRect, area);

    GraphicsTextItem shape(QRect(0, 0, 200, 100));
    shape.setFont(testFont(16));
    shape.setText(QStringLiteral("HH"));
    QVERIFY(shape.setProperty("alignHor", hor));
    QVERIFY(shape.setProperty("alignVer", ver));
    const QRect text = darkBounds(render(&shape, QSize(200, 100)));
    QVERIFY(!text.isEmpty());
    QVERIFY2(area.contains(text),
             qPrintable(QStringLiteral("text at %1,%2 %3x%4")
                            .arg(text.x())
                            .arg(text.y())
                            .arg(text.width())
                            .arg(text.height())));
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
    QVERIFY2(text.right() < 120, qPrintable(QString::number(text.right())));
    QVERIFY2(text.height() > 2 * metrics.lineSpacing(), qPrintable(QString::number(text.height())));
}

void TestTextWidgetShapes::widgetKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("styleSheet");

    const QString labelSheet = QStringLiteral("QLabel{border:10px groove #242424;}");
    QTest::newRow("label") << int(LabelKind) << QByteArray("QLabel") << "label" << labelSheet;
    QTest::newRow("push button") << int(PushButtonKind) << QByteArray("QPushButton") << "pushbutton"
                                 << "QPushButton{border:10px groove #242424;}";
    QTest::newRow("combo box") << int(ComboBoxKind) << QByteArray("QComboBox") << "combobox"
                               << QString();
    QTest::newRow("radio button") << int(RadioButtonKind) << QByteArray("QRadioButton")
                                  << "radiobutton" << QString();
    QTest::newRow("check box") << int(CheckBoxKind) << QByteArray("QCheckBox") << "checkbox"
                               << QString();
    QTest::newRow("line edit") << int(LineEditKind) << QByteArray("QLineEdit") << "lineedit"
                               << QString();
    QTest::newRow("text box") << int(TextEditKind) << QByteArray("QTextBrowser") << "textedit"
                              << QString();
    QTest::newRow("spin box kind")
        << int(SpinBoxKind) << QByteArray("QLabel") << "label" << QString();
    QTest::newRow("unknown kind") << 3 << QByteArray("QLabel") << "label" << QString();
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
    const bool bordered = !styleSheet.isEmpty();
    QCOMPARE(isDark(image.pixel(53, 80)), bordered);
    QCOMPARE(isDark(image.pixel(206, 80)), bordered);
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
    other->normalizeGeometry();
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
    struct Watched
    {
        QPointer<QGraphicsProxyWidget> proxy;
        QPointer<QWidget> widget;
    };
    QVector<Watched> watched;
    auto watch = [&watched](GraphicsWidgetItem *shape) {
        watched.append({shape->proxy(), shape->widget()});
    };

    // Outside any scene.
    for (int i = 0; i < 40; ++i) {
        auto *shape = new GraphicsWidgetItem(LabelKind + i % 9, QRect(0, 0, 50, 20));
        watch(shape);
        delete shape;
    }
    // Inside a scene, deleted one by one; then a scene deleted with its
    // shapes; then shapes inside a parent item.
    QGraphicsScene scene(0, 0, 800, 600);
    for (int i = 0; i < 40; ++i) {
        auto *shape = new GraphicsWidgetItem(LabelKind + i % 9, QRect(i * 10, 0, 50, 20));
        scene.addItem(shape);
        watch(shape);
        if (i % 2) {
            delete shape;
            // Not deleted yet, but no longer reachable from the scene.
            QVERIFY(watched.last().proxy);
            QVERIFY(!watched.last().proxy->scene());
            QVERIFY(!watched.last().proxy->parentItem());
        }
    }
    QList<QGraphicsItem *> shapes = scene.items();
    shapes.erase(std::remove_if(shapes.begin(), shapes.end(),
                                [](QGraphicsItem *item) { return item->type() != WidgetItemType; }),
                 shapes.end());
    qDeleteAll(shapes);
    QVERIFY(scene.items().isEmpty());

    auto *doomed = new QGraphicsScene(0, 0, 800, 600);
    for (int i = 0; i < 40; ++i) {
        auto *shape = new GraphicsWidgetItem(LabelKind + i % 9, QRect(i * 10, 50, 50, 20));
        doomed->addItem(shape);
        watch(shape);
    }
    auto *parent = new QGraphicsRectItem(0, 0, 400, 400);
    for (int i = 0; i < 10; ++i) {
        auto *shape = new GraphicsWidgetItem(ComboBoxKind, QRect(i * 10, 100, 50, 20), parent);
        watch(shape);
    }
    doomed->addItem(parent);
    delete doomed;

    auto *loose = new QGraphicsRectItem(0, 0, 400, 400);
    for (int i = 0; i < 10; ++i)
        watch(new GraphicsWidgetItem(TextEditKind, QRect(i * 10, 100, 50, 20), loose));
    delete loose;

    flushDeferredDeletes();
    QCOMPARE(watched.size(), 140);
    for (const Watched &w : qAsConst(watched)) {
        QVERIFY(!w.proxy);
        QVERIFY(!w.widget);
    }
}

QTEST_MAIN(TestTextWidgetShapes)
#include "tst_textwidgetshapes.moc"
