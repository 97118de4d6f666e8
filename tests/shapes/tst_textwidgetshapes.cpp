#include "boxshapetesting.h"

#include "editor/drawscene.h"

#include <QtTest>
#include <QtWidgets>

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
    void widgetShowsCaption_data();
    void widgetShowsCaption();
    void captionThroughSaveOpenAndClone();
    void uncaptionedWidgetSavesAsBefore_data();
    void uncaptionedWidgetSavesAsBefore();
};

namespace {

// What the widget shows as its caption.
QString shownCaption(QWidget *widget)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text().replace(QLatin1String("&&"), QLatin1String("&"));
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->itemText(0);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *text = qobject_cast<QTextEdit *>(widget))
        return text->toPlainText();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    return QStringLiteral("<no caption>");
}

const int AllWidgetKinds[] = {LabelKind,    PushButtonKind, ComboBoxKind, RadioButtonKind,
                              CheckBoxKind, LineEditKind,   TextEditKind, SpinBoxKind};

} // namespace

void TestTextWidgetShapes::widgetShowsCaption_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("initial");
    const char *initial[] = {"label",    "pushbutton", "combobox", "radiobutton",
                             "checkbox", "lineedit",   "textedit", "label"};
    for (int i = 0; i < 8; ++i)
        QTest::newRow(initial[i] + QByteArray(" ") + QByteArray::number(AllWidgetKinds[i]))
            << AllWidgetKinds[i] << QString(initial[i]);
}

// A caption set before the widget is made (a loaded file) or after (an
// edit) is shown; an empty one brings the kind's initial caption back.
// Ampersands are characters, never a keyboard shortcut of the panel.
void TestTextWidgetShapes::widgetShowsCaption()
{
    QFETCH(int, kind);
    QFETCH(QString, initial);
    GraphicsWidgetItem fresh(kind, QRect(0, 0, 120, 40));
    QCOMPARE(shownCaption(fresh.widget()), initial);

    GraphicsWidgetItem shape(kind, QRect(0, 0, 120, 40));
    shape.setText(QStringLiteral("Start & Stop"));
    QVERIFY(!shape.hasProxy());
    QCOMPARE(shape.caption(), QStringLiteral("Start & Stop"));
    QWidget *widget = shape.widget();
    QCOMPARE(shownCaption(widget), QStringLiteral("Start & Stop"));
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QVERIFY(button->shortcut().isEmpty());

    QVERIFY(shape.setProperty("text", QStringLiteral("运行")));
    QCOMPARE(shownCaption(widget), QStringLiteral("运行"));
    QVERIFY(shape.setProperty("text", QString()));
    QCOMPARE(shownCaption(widget), initial);
    QCOMPARE(shape.caption(), initial);
}

// The caption is saved in the element's text attribute, read back, and
// kept by a copy, which shows it.
void TestTextWidgetShapes::captionThroughSaveOpenAndClone()
{
    GraphicsWidgetItem shape(ComboBoxKind, QRect(0, 0, 120, 40));
    shape.setText(QStringLiteral("速度 <1> \"a\""));
    const std::unique_ptr<GraphicsItem> loaded = readBack(xmlOf(&shape));
    QVERIFY(loaded);
    QCOMPARE(loaded->text(), shape.text());
    auto *widgetShape = dynamic_cast<GraphicsWidgetItem *>(loaded.get());
    QVERIFY(widgetShape);
    QCOMPARE(widgetShape->widgetKind(), int(ComboBoxKind));
    QCOMPARE(shownCaption(widgetShape->widget()), shape.text());

    std::unique_ptr<QGraphicsItem> copy(shape.clone());
    auto *copied = dynamic_cast<GraphicsWidgetItem *>(copy.get());
    QVERIFY(copied);
    QCOMPARE(copied->text(), shape.text());
    QCOMPARE(shownCaption(copied->widget()), shape.text());
}

void TestTextWidgetShapes::uncaptionedWidgetSavesAsBefore_data()
{
    QTest::addColumn<int>("kind");
    for (int kind : AllWidgetKinds)
        QTest::newRow(QByteArray::number(kind)) << kind;
}

// A widget element as files made before captions hold it (text empty)
// opens with the initial caption and saves back byte for byte.
void TestTextWidgetShapes::uncaptionedWidgetSavesAsBefore()
{
    QFETCH(int, kind);
    const QByteArray element
        = "<widget fixe=\"false\" height=\"40.00\" objectName=\"w\" opacity=\"1.00\" "
          "pos=\"(70,30)\" rotation=\"0.00\" text=\"\" type=\""
          + QByteArray::number(kind) + "\" width=\"100.00\" zValue=\"1.00\"/>";
    const std::unique_ptr<GraphicsItem> loaded = readBack(element);
    QVERIFY(loaded);
    auto *widgetShape = dynamic_cast<GraphicsWidgetItem *>(loaded.get());
    QVERIFY(widgetShape);
    QCOMPARE(shownCaption(widgetShape->widget()), GraphicsWidgetItem::initialCaption(kind));
    // The writer leaves attribute order to the project file's sorting.
    const auto attributes = [](const QByteArray &xml) {
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        QMap<QString, QString> all;
        for (const QXmlStreamAttribute &attribute : reader.attributes())
            all.insert(attribute.name().toString(), attribute.value().toString());
        return all;
    };
    QCOMPARE(attributes(xmlOf(loaded.get())), attributes(element));
}

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
