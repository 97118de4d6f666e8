#include "editor/drawscene.h"
#include "editor/useroptgroup.h"
#include "panels/property/propertytreebrowser.h"
#include "services/appsettings.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicstextitem.h"
#include "shapes/graphicswidgetitem.h"
#include "shapes/shapekind.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QStandardItemModel>
#include <QUndoStack>
#include <QtTest>
#include <QtWidgets>

#include <memory>

using scenetest::addRect;

namespace {

enum Shape { Screen, Rect, Image, Text };
using B = PropertyTreeBrowser;

// "title: row, row | title: row" for the rows shown, in display order.
QString layoutOf(const B &browser)
{
    const QStandardItemModel *model = browser.propertyModel();
    QStringList groups;
    for (int g = 0; g < model->rowCount(); ++g) {
        QStringList rows;
        for (int r = 0; r < model->item(g)->rowCount(); ++r)
            rows << model->item(g)->child(r)->text();
        groups << model->item(g)->text() + ": " + rows.join(", ");
    }
    return groups.join(" | ");
}

QModelIndex titleIndex(const B &browser, const QString &name)
{
    return browser.valueIndex(name).siblingAtColumn(B::NameColumn);
}

// The value cell of a part row (x, 红, 字号 ...) of a composite row; part -1
// is the property's own row.
QModelIndex cellOf(const B &browser, const QString &name, int part = -1)
{
    if (part < 0)
        return browser.valueIndex(name);
    const QModelIndex title = titleIndex(browser, name);
    for (int i = 0; i < browser.model()->rowCount(title); ++i) {
        const QModelIndex cell = browser.model()->index(i, B::ValueColumn, title);
        if (cell.data(B::KindRole).toInt() == part)
            return cell;
    }
    return QModelIndex();
}

// What a user does with the value cell's editor: open it, put value in (or
// press its chooser button), leave.
void editWith(B &browser, const QModelIndex &index, const QVariant &value)
{
    QAbstractItemDelegate *delegate = browser.itemDelegate();
    std::unique_ptr<QWidget> editor(
        delegate->createEditor(browser.viewport(), QStyleOptionViewItem(), index));
    QVERIFY(editor);
    delegate->setEditorData(editor.get(), index);
    if (auto *button = editor->findChild<QToolButton *>())
        button->click();
    else if (auto *fonts = qobject_cast<QFontComboBox *>(editor.get()))
        fonts->setEditText(value.toString());
    else if (auto *spin = qobject_cast<QSpinBox *>(editor.get()))
        spin->setValue(value.toInt());
    else if (auto *real = qobject_cast<QDoubleSpinBox *>(editor.get()))
        real->setValue(value.toDouble());
    else if (auto *combo = qobject_cast<QComboBox *>(editor.get()))
        combo->setCurrentIndex(value.toInt());
    else if (auto *line = qobject_cast<QLineEdit *>(editor.get()))
        line->setText(value.toString());
    else
        QFAIL("no editor for the value");
    delegate->setModelData(editor.get(), browser.model(), index);
}

void clickCell(QAbstractItemView &view, const QModelIndex &index)
{
    view.scrollTo(index);
    mouseclicks::click(view.viewport(), view.visualRect(index).center());
}

// Every Qt property of the object, in declaration order.
QVariantList snapshot(const QObject *object)
{
    QVariantList values;
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i)
        values << meta->property(i).read(object);
    return values;
}

QFont baseFont()
{
    QFont font(QStringLiteral("Sans"), 12);
    font.setUnderline(true);
    return font;
}

} // namespace

class TestPropertyBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<DrawScene> m_scene;
    std::unique_ptr<B> m_browser;

    QUndoStack *stack() const { return UserOptGroup::instance()->activeStack(); }

    QObject *make(Shape shape)
    {
        if (shape == Screen)
            return m_scene.get();
        if (shape == Rect)
            return addRect(m_scene.get(), QRectF(100, 100, 100, 100));
        GraphicsRectItem *item = shape == Text
                                     ? new GraphicsTextItem(QRect(200, 200, 120, 40))
                                     : static_cast<GraphicsRectItem *>(
                                         new GraphicsImageItem(QRect(10, 10, 50, 50)));
        m_scene->addItem(item);
        return item;
    }

    // Values an editor cannot show as they are: too many decimals, out of
    // its range, blanks around a name, a font family this machine lacks, a
    // fractional point size.
    QObject *makeAwkward(Shape shape)
    {
        QObject *object = make(shape);
        if (shape == Rect) {
            object->setProperty("rotation", 12.3456);
            object->setProperty("penSize", 150);
            object->setProperty("penColor", QColor(10, 20, 30, 40));
            object->setProperty("objectName", QStringLiteral(" pump 1 "));
        } else {
            QFont font(QStringLiteral("No Such Family 1234"));
            font.setPointSizeF(10.5);
            font.setBold(true);
            object->setProperty("font", font);
        }
        return object;
    }

private slots:
    void init()
    {
        ProcessFixture::start(800, 600);
        GraphicsItem::seedRandom(3);
        m_form = std::make_unique<QWidget>();
        UserOptGroup::instance()->setActiveForm(m_form.get());
        m_scene = std::make_unique<DrawScene>();
        m_browser = std::make_unique<B>();
    }

    void cleanup()
    {
        m_browser.reset();
        UserOptGroup::instance()->removeForm(m_form.get());
        m_scene.reset();
        m_form.reset();
        B::colourChooser = nullptr;
        B::fontChooser = nullptr;
    }

    // Each selection replaces the rows; a shape deleted while shown leaves none.
    // Every shape ends with its read-only 数据 row, one the registry lists
    // nothing for as well.
    void rows()
    {
        const auto show = [this](QObject *object) {
            m_browser->currentItemChanged(dynamic_cast<QGraphicsItem *>(object));
            return layoutOf(*m_browser);
        };
        show(make(Text));
        QObject *image = make(Image);
        QCOMPARE(show(image), QString("数据: "));
        QCOMPARE(m_browser->currentObject(), image);
        QObject *rect = make(Rect);
        QCOMPARE(show(rect),
                 "基本: 名称, 透明度, z值, 固定, 旋转, 位置, 宽度, 高度 | "
                 "边框: 线宽, 线样式, 线颜色 | 填充: 样式, 颜色 | 数据: ");
        delete rect;
        QCOMPARE(m_browser->propertyModel()->rowCount(), 0);
        QCOMPARE(m_browser->currentObject(), nullptr);
    }

    void focusInAndOutChangesNothing_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("part");
        QTest::newRow("int beyond the editor's range") << int(Rect) << "penSize" << -1;
        QTest::newRow("double, four decimals") << int(Rect) << "rotation" << -1;
        QTest::newRow("string") << int(Rect) << "objectName" << -1;
        QTest::newRow("colour") << int(Rect) << "penColor" << -1;
        QTest::newRow("family not installed") << int(Text) << "font" << int(B::FamilyRow);
        QTest::newRow("point size 10.5") << int(Text) << "font" << int(B::PointSizeRow);
    }

    // Clicking a value and clicking elsewhere, or leaving for another
    // widget, is no edit, whatever the editor can show of the value.
    void focusInAndOutChangesNothing()
    {
        QFETCH(int, shape);
        QFETCH(QString, property);
        QFETCH(int, part);
        auto *elsewhere = new QLineEdit(m_browser.get());
        m_browser->resize(420, 700);
        m_browser->show();
        m_browser->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_browser.get()));

        QObject *object = makeAwkward(Shape(shape));
        m_browser->currentItemChanged(object);
        m_browser->expandAll();
        const QVariantList before = snapshot(object);
        const QModelIndex cell = cellOf(*m_browser, property, part);
        QVERIFY(cell.isValid());
        const QString text = cell.data().toString();
        for (bool toTitle : {true, false}) {
            clickCell(*m_browser, cell);
            QVERIFY(m_browser->indexWidget(cell));
            if (toTitle)
                clickCell(*m_browser, cell.siblingAtColumn(B::NameColumn));
            else
                elsewhere->setFocus(Qt::MouseFocusReason);
            QVERIFY(!m_browser->indexWidget(cell));
            QCOMPARE(snapshot(object), before);
        }
        QCOMPARE(stack()->count(), 0);
        QCOMPARE(cell.data().toString(), text);
    }

    void edits_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("part");
        QTest::addColumn<QVariant>("edit");
        QTest::addColumn<QVariant>("expected"); // invalid: the object refuses the value
        QTest::newRow("bool") << int(Rect) << "fixe" << -1 << QVariant(true) << QVariant(true);
        QTest::newRow("enum") << int(Rect) << "penStyle" << -1 << QVariant(4) << QVariant(4);
        QTest::newRow("point x") << int(Rect) << "pos" << int(B::PointXRow) << QVariant(30.0)
                                 << QVariant(QPointF(30, 100));
        QTest::newRow("screen fill blue") << int(Screen) << "brushColor" << int(B::BlueRow)
                                          << QVariant(0) << QVariant(QColor(40, 50, 0, 70));
        QFont serif = baseFont(), bold = baseFont();
        serif.setFamily(QStringLiteral("Serif"));
        bold.setBold(true);
        QTest::newRow("family") << int(Text) << "font" << int(B::FamilyRow) << QVariant("Serif")
                                << QVariant(serif);
        QTest::newRow("bold") << int(Text) << "font" << int(B::BoldRow) << QVariant(true)
                              << QVariant(bold);
        // Through the colour and font choosers; cancelling one is no edit.
        QTest::newRow("line colour") << int(Rect) << "penColor" << -1
                                     << QVariant(QColor(1, 2, 3)) << QVariant(QColor(1, 2, 3));
        QTest::newRow("font") << int(Text) << "font" << -1 << QVariant(QFont("Serif", 17))
                              << QVariant(QFont("Serif", 17));
        QTest::newRow("colour cancelled")
            << int(Rect) << "penColor" << -1 << QVariant(QColor()) << QVariant();
        QTest::newRow("refused: opacity below the floor")
            << int(Rect) << "opacity" << -1 << QVariant(0.0) << QVariant();
        QTest::newRow("refused: empty family")
            << int(Text) << "font" << int(B::FamilyRow) << QVariant(QString()) << QVariant();
    }

    // An edit, of a row or of a part of it, is one undo step that changes the
    // whole value and the row above the part; undo and redo return both. A
    // value the object refuses records nothing and the row shows what the
    // object holds.
    void edits()
    {
        QFETCH(int, shape);
        QFETCH(QString, property);
        QFETCH(int, part);
        QFETCH(QVariant, edit);
        QFETCH(QVariant, expected);
        QObject *object = make(Shape(shape));
        object->setProperty("penColor", QColor(10, 20, 30));
        object->setProperty("brushColor", QColor(40, 50, 60, 70));
        object->setProperty("font", baseFont());
        object->setProperty("opacity", 0.0); // kept at its floor
        m_browser->currentItemChanged(object);
        const QByteArray name = property.toLatin1();
        const QVariant before = object->property(name);
        const QVariantList all = snapshot(object);
        const QModelIndex cell = cellOf(*m_browser, property, part);
        QVERIFY(cell.isValid());
        const QVariant partBefore = cell.data(Qt::EditRole);
        const QString text = cell.data().toString();

        QVariant offered;
        B::colourChooser = [&](const QColor &current) {
            offered = current;
            return edit.value<QColor>();
        };
        B::fontChooser = [&](const QFont &current, bool *ok) {
            offered = current;
            *ok = expected.isValid();
            return edit.value<QFont>();
        };
        const int kind = cell.data(B::KindRole).toInt();
        const bool chooser = kind == B::ColourRow || kind == B::FontRow;
        if (B::isCheckKind(kind))
            QVERIFY(m_browser->model()->setData(
                cell, edit.toBool() ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
        else
            editWith(*m_browser, cell, edit);
        if (chooser)
            QCOMPARE(offered, before);
        if (!expected.isValid()) {
            QCOMPARE(snapshot(object), all);
            QCOMPARE(stack()->count(), 0);
            QCOMPARE(cell.data().toString(), text);
            return;
        }
        QCOMPARE(object->property(name), expected);
        QCOMPARE(m_browser->valueIndex(property).data(Qt::EditRole), expected);
        QCOMPARE(cell.data(Qt::EditRole), edit);
        QCOMPARE(stack()->count(), 1);

        stack()->undo();
        m_browser->refresh();
        QCOMPARE(object->property(name), before);
        QCOMPARE(cell.data(Qt::EditRole), partBefore);
        stack()->redo();
        m_browser->refresh();
        QCOMPARE(object->property(name), expected);
        QCOMPARE(cell.data(Qt::EditRole), edit);
    }

    // A widget's 文字 is its caption: typing it is one step, shown at once
    // on the widget; undo brings the initial caption back.
    void widgetCaptionEdit()
    {
        auto *shape = new GraphicsWidgetItem(PushButtonKind, QRect(10, 10, 120, 40));
        m_scene->addItem(shape);
        auto *button = qobject_cast<QPushButton *>(shape->widget());
        QVERIFY(button);
        m_browser->currentItemChanged(static_cast<QGraphicsItem *>(shape));
        const QModelIndex cell = cellOf(*m_browser, QStringLiteral("text"));
        QVERIFY(cell.isValid());
        QCOMPARE(cell.data().toString(), QString());

        editWith(*m_browser, cell, QStringLiteral("启动"));
        QCOMPARE(button->text(), QStringLiteral("启动"));
        QCOMPARE(stack()->count(), 1);
        stack()->undo();
        QCOMPARE(button->text(), QStringLiteral("pushbutton"));
        QCOMPARE(shape->text(), QString());
        stack()->redo();
        QCOMPARE(button->text(), QStringLiteral("启动"));
    }

    void titlesInEnglish()
    {
        m_browser->resize(400, 600);
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english); // removed by its destructor
        AppSettings::instance()->setLanguage(1);
        m_browser->retranslate();
        // Every sub-row title can be read once it is expanded.
        m_browser->currentItemChanged(make(Text));
        m_browser->expandAll();
        const QModelIndex font = titleIndex(*m_browser, "font");
        QCOMPARE(m_browser->model()->index(5, 0, font).data().toString(), "Strikeout");
        for (int i = 0; i < m_browser->model()->rowCount(font); ++i) {
            const QModelIndex title = m_browser->model()->index(i, 0, font);
            const int end = m_browser->visualRect(title).left()
                            + m_browser->fontMetrics().horizontalAdvance(title.data().toString());
            QVERIFY2(end < m_browser->header()->sectionSize(B::NameColumn),
                     qPrintable(title.data().toString()));
        }
    }
};

QTEST_MAIN(TestPropertyBrowser)
#include "tst_propertybrowser.moc"
