#include "editor/drawscene.h"
#include "editor/useroptgroup.h"
#include "project/config.h"
#include "property/propertytreebrowser.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicstextitem.h"
#include "support/mouseclicks.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QStandardItemModel>
#include <QUndoStack>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

using scenetest::addRect;

namespace {

enum Shape { Screen, Rect, Ellipse, Group, Image, Text, Nothing };

// "title: row, row | title: row" for the rows shown, in display order.
QString layoutOf(const PropertyTreeBrowser &browser)
{
    const QStandardItemModel *model = browser.propertyModel();
    QStringList groups;
    for (int g = 0; g < model->rowCount(); ++g) {
        const QStandardItem *group = model->item(g);
        QStringList rows;
        for (int r = 0; r < group->rowCount(); ++r)
            rows << group->child(r)->text();
        groups << group->text() + QStringLiteral(": ") + rows.join(QStringLiteral(", "));
    }
    return groups.join(QStringLiteral(" | "));
}

QString shown(const PropertyTreeBrowser &browser, const QString &name)
{
    return browser.valueIndex(name).data(Qt::DisplayRole).toString();
}

QModelIndex titleIndex(const PropertyTreeBrowser &browser, const QString &name)
{
    return browser.valueIndex(name).siblingAtColumn(PropertyTreeBrowser::NameColumn);
}

// What a user does with the value cell's editor: open it, change it, leave.
void editWith(PropertyTreeBrowser &browser, const QModelIndex &index,
              const std::function<void(QWidget *)> &change)
{
    QAbstractItemDelegate *delegate = browser.itemDelegate();
    QStyleOptionViewItem option;
    std::unique_ptr<QWidget> editor(delegate->createEditor(browser.viewport(), option, index));
    QVERIFY(editor);
    delegate->setEditorData(editor.get(), index);
    change(editor.get());
    delegate->setModelData(editor.get(), browser.model(), index);
}

std::function<void(QWidget *)> spinTo(double value)
{
    return [value](QWidget *editor) {
        auto *spin = qobject_cast<QDoubleSpinBox *>(editor);
        QVERIFY(spin);
        spin->setValue(value);
    };
}

void clickButton(QWidget *editor)
{
    auto *button = editor->findChild<QToolButton *>();
    QVERIFY(button);
    button->click();
}

// The value cell of a part row (x, 红, 字号 ...) of a composite row.
QModelIndex partIndex(const PropertyTreeBrowser &browser, const QString &name, int part)
{
    const QModelIndex title = titleIndex(browser, name);
    const QAbstractItemModel *model = browser.model();
    for (int i = 0; i < model->rowCount(title); ++i) {
        const QModelIndex cell = model->index(i, PropertyTreeBrowser::ValueColumn, title);
        if (cell.data(PropertyTreeBrowser::KindRole).toInt() == part)
            return cell;
    }
    return QModelIndex();
}

QStringList partTitles(const PropertyTreeBrowser &browser, const QString &name)
{
    const QModelIndex title = titleIndex(browser, name);
    QStringList titles;
    for (int i = 0; i < browser.model()->rowCount(title); ++i)
        titles << browser.model()->index(i, PropertyTreeBrowser::NameColumn, title).data().toString();
    return titles;
}

// A click of the left button, pressed and released, on a cell of the view.
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

// What the shape draws with for a colour or font property, as opposed to
// what the property reads.
QVariant drawnWith(QObject *object, const QString &name)
{
    if (auto *scene = qobject_cast<DrawScene *>(object))
        return name == "penColor" ? QVariant(scene->pen().color())
                                  : QVariant(scene->brush().color());
    if (auto *text = qobject_cast<GraphicsTextItem *>(object))
        return text->font();
    auto *rect = qobject_cast<GraphicsRectItem *>(object);
    return name == "penColor" ? rect->pen().color() : rect->brush().color();
}

} // namespace

class TestPropertyBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<DrawScene> m_scene;
    std::unique_ptr<PropertyTreeBrowser> m_browser;

    QUndoStack *stack() const { return UserOptGroup::instance()->activeStack(); }

    QObject *make(Shape shape)
    {
        QGraphicsItem *item = nullptr;
        switch (shape) {
        case Screen:
            return m_scene.get();
        case Rect:
            return addRect(m_scene.get(), QRectF(100, 100, 100, 100));
        case Group:
            return m_scene->createGroup({addRect(m_scene.get(), QRectF(10, 10, 20, 20)),
                                         addRect(m_scene.get(), QRectF(50, 50, 20, 20))},
                                        true);
        case Ellipse:
            item = new GraphicsEllipseItem(QRect(100, 100, 80, 40));
            break;
        case Image:
            item = new GraphicsImageItem(QRect(10, 10, 50, 50));
            break;
        case Text:
            item = new GraphicsTextItem(QRect(200, 200, 120, 40));
            break;
        case Nothing:
            return nullptr;
        }
        m_scene->addItem(item);
        return dynamic_cast<QObject *>(item);
    }

    // Makes a shape and shows it through the item overload.
    template<typename T>
    T *showItem(Shape shape)
    {
        auto *item = dynamic_cast<T *>(make(shape));
        m_browser->currentItemChanged(static_cast<QGraphicsItem *>(item));
        return item;
    }

private slots:
    void init()
    {
        ProcessFixture::start(800, 600);
        GraphicsItem::seedRandom(3);
        m_form = std::make_unique<QWidget>();
        UserOptGroup::instance()->setActiveForm(m_form.get());
        m_scene = std::make_unique<DrawScene>();
        m_browser = std::make_unique<PropertyTreeBrowser>();
    }

    void cleanup()
    {
        m_browser.reset();
        UserOptGroup::instance()->removeForm(m_form.get());
        m_scene.reset();
        m_form.reset();
        PropertyTreeBrowser::colourChooser = nullptr;
        PropertyTreeBrowser::fontChooser = nullptr;
    }

    void rows_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("layout");
        QTest::newRow("screen") << int(Screen)
                                << "基本: 名称, 宽度, 高度 | 填充: 前景颜色, 背景颜色, 填充样式";
        QTest::newRow("rectangle") << int(Rect)
                                   << "基本: 名称, 透明度, z值, 固定, 旋转, 位置, 宽度, 高度 | "
                                      "边框: 线宽, 线样式, 线颜色 | 填充: 样式, 颜色";
        QTest::newRow("group") << int(Group) << "基本: 名称, z值, 固定, 旋转, 位置";
        QTest::newRow("text") << int(Text)
                              << "基本: 名称, 透明度, z值, 固定, 旋转, 位置, 宽度, 高度 | "
                                 "填充: 样式, 背景颜色 | "
                                 "文本: 文字, 水平对齐, 垂直对齐, 字体颜色, 字体";
        QTest::newRow("image") << int(Image) << QString();
        QTest::newRow("nothing") << int(Nothing) << QString();
    }

    void rows()
    {
        QFETCH(int, shape);
        QFETCH(QString, layout);
        // Something else first: the rows must be replaced, not added to.
        m_browser->currentItemChanged(make(Ellipse));
        QObject *object = make(Shape(shape));
        if (auto *item = dynamic_cast<QGraphicsItem *>(object))
            m_browser->currentItemChanged(item);
        else
            m_browser->currentItemChanged(object);
        QCOMPARE(layoutOf(*m_browser), layout);
        QCOMPARE(m_browser->currentObject(), object);
    }

    void widthEditKeepsCentreAndUndoes()
    {
        auto *rect = showItem<GraphicsRectItem>(Rect);
        // An editor opened and left unchanged records nothing.
        for (const char *name : {"width", "penStyle", "objectName", "penColor"})
            editWith(*m_browser, m_browser->valueIndex(name), [](QWidget *) {});
        QCOMPARE(stack()->count(), 0);

        editWith(*m_browser, m_browser->valueIndex("width"), spinTo(200));
        QCOMPARE(rect->width(), 200.0);
        QCOMPARE(rect->boxPos(), QPointF(50, 100));
        QCOMPARE(shown(*m_browser, "pos"), QStringLiteral("(50, 100)"));
        QCOMPARE(stack()->count(), 1);
        QCOMPARE(stack()->undoText(), QStringLiteral("修改对象width属性"));

        stack()->undo();
        QCOMPARE(rect->width(), 100.0);
        QCOMPARE(rect->boxPos(), QPointF(100, 100));
        m_browser->refresh();
        QCOMPARE(shown(*m_browser, "width"), QStringLiteral("100"));
        QCOMPARE(shown(*m_browser, "pos"), QStringLiteral("(100, 100)"));
        QCOMPARE(stack()->count(), 1); // neither undo nor refresh adds entries
    }

    void enumEditThroughOpenEditor()
    {
        auto *rect = showItem<GraphicsRectItem>(Rect);
        m_browser->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_browser.get()));

        m_browser->setCurrentIndex(m_browser->valueIndex("penStyle")); // opens the editor
        auto *combo = m_browser->viewport()->findChild<QComboBox *>();
        QVERIFY(combo);
        QStringList offered;
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        QCOMPARE(offered, QStringList({"无", "实线", "虚线", "点线", "点划线", "双点划线"}));
        QCOMPARE(combo->currentText(), QStringLiteral("无"));
        combo->setCurrentIndex(4);
        emit combo->activated(4);

        QCOMPARE(rect->pen().style(), Qt::DashDotLine);
        QCOMPARE(shown(*m_browser, "penStyle"), QStringLiteral("点划线"));
        QCOMPARE(stack()->count(), 1);
    }

    void colourEdit_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QColor>("chosen");
        QTest::addColumn<QString>("text");
        QTest::newRow("line") << int(Rect) << "penColor" << QColor(10, 20, 30) << "#0a141e";
        QTest::newRow("fill, translucent")
            << int(Rect) << "brushColor" << QColor(10, 20, 30, 40) << "#280a141e";
        QTest::newRow("screen") << int(Screen) << "brushColor" << QColor(Qt::red) << "#ff0000";
        QTest::newRow("cancelled") << int(Rect) << "penColor" << QColor() << "#000000";
    }

    void colourEdit()
    {
        QFETCH(int, shape);
        QFETCH(QString, property);
        QFETCH(QColor, chosen);
        QFETCH(QString, text);

        QObject *object = make(Shape(shape));
        m_browser->currentItemChanged(object);
        const QColor before = object->property(property.toLatin1()).value<QColor>();
        QColor offered;
        PropertyTreeBrowser::colourChooser = [&](const QColor &current) {
            offered = current;
            return chosen;
        };
        editWith(*m_browser, m_browser->valueIndex(property), clickButton);

        QCOMPARE(offered, before);
        const QColor expected = chosen.isValid() ? chosen : before;
        if (auto *scene = qobject_cast<DrawScene *>(object)) {
            QCOMPARE(scene->brush().color(), expected);
        } else {
            auto *rect = static_cast<GraphicsRectItem *>(object);
            QCOMPARE(property == "penColor" ? rect->pen().color() : rect->brush().color(),
                     expected);
        }
        QCOMPARE(shown(*m_browser, property), text);
        QCOMPARE(m_browser->valueIndex(property).data(Qt::DecorationRole).value<QColor>(),
                 expected);
        QCOMPARE(stack()->count(), chosen.isValid() ? 1 : 0);
    }

    void fontEdit()
    {
        auto *text = showItem<GraphicsTextItem>(Text);
        const QFont before = text->font();
        bool accept = false;
        QFont offered;
        PropertyTreeBrowser::fontChooser = [&](const QFont &current, bool *ok) {
            offered = current;
            *ok = accept;
            return QFont(QStringLiteral("Serif"), 17);
        };
        editWith(*m_browser, m_browser->valueIndex("font"), clickButton);
        QCOMPARE(offered, before);
        QCOMPARE(text->font(), before);
        QCOMPARE(stack()->count(), 0);

        accept = true;
        editWith(*m_browser, m_browser->valueIndex("font"), clickButton);
        QCOMPARE(text->font().pointSize(), 17);
        QCOMPARE(shown(*m_browser, "font"), QStringLiteral("%1, 17").arg(text->font().family()));
        QCOMPARE(stack()->count(), 1);
    }

    void checkTextAndCompositeEdits()
    {
        auto *rect = showItem<GraphicsRectItem>(Rect);
        QAbstractItemModel *model = m_browser->model();
        QVERIFY(model->setData(m_browser->valueIndex("fixe"), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!(rect->flags() & QGraphicsItem::ItemIsMovable));
        editWith(*m_browser, m_browser->valueIndex("objectName"), [](QWidget *editor) {
            auto *line = qobject_cast<QLineEdit *>(editor);
            QVERIFY(line);
            line->setText(QStringLiteral("pump"));
        });
        QCOMPARE(rect->objectName(), QStringLiteral("pump"));

        // The x of 位置 moves the shape; the composite row follows.
        const QModelIndex x = model->index(0, 1, titleIndex(*m_browser, "pos"));
        editWith(*m_browser, x, spinTo(30));
        QCOMPARE(rect->boxPos(), QPointF(30, 100));
        QCOMPARE(shown(*m_browser, "pos"), QStringLiteral("(30, 100)"));
        QCOMPARE(stack()->count(), 3);
        stack()->undo();
        m_browser->refresh();
        QCOMPARE(model->data(x).toDouble(), 100.0);
    }

    // Values an editor cannot show as they are: too many decimals, out of
    // its range, a font family this machine lacks, a fractional point size.
    QObject *makeAwkward(Shape shape)
    {
        QObject *object = make(shape);
        if (shape == Rect) {
            object->setProperty("width", 100.123456789);
            object->setProperty("pos", QPointF(12.3456, 7.654321));
            object->setProperty("rotation", 12.3456);
            object->setProperty("opacity", 0.123);
            object->setProperty("penSize", 150);
            object->setProperty("penStyle", 4);
            object->setProperty("penColor", QColor(10, 20, 30, 40));
            object->setProperty("brushColor", QColor(200, 100, 50, 128));
            object->setProperty("objectName", QStringLiteral(" pump 1 "));
            object->setProperty("fixe", true);
        } else if (shape == Text) {
            QFont font(QStringLiteral("No Such Family 1234"));
            font.setPointSizeF(10.5);
            font.setBold(true);
            font.setUnderline(true);
            object->setProperty("font", font);
        }
        return object;
    }

    void focusInAndOutChangesNothing_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("part"); // -1: the property's own row
        QTest::addColumn<bool>("editor");
        using B = PropertyTreeBrowser;
        QTest::newRow("bool") << int(Rect) << "fixe" << -1 << false;
        QTest::newRow("int beyond the editor's range") << int(Rect) << "penSize" << -1 << true;
        QTest::newRow("double, four decimals") << int(Rect) << "rotation" << -1 << true;
        QTest::newRow("double, nine decimals") << int(Rect) << "width" << -1 << true;
        QTest::newRow("double, three decimals") << int(Rect) << "opacity" << -1 << true;
        QTest::newRow("string") << int(Rect) << "objectName" << -1 << true;
        QTest::newRow("enum") << int(Rect) << "penStyle" << -1 << true;
        QTest::newRow("colour") << int(Rect) << "penColor" << -1 << true;
        QTest::newRow("point") << int(Rect) << "pos" << -1 << false;
        QTest::newRow("point x") << int(Rect) << "pos" << int(B::PointXRow) << true;
        QTest::newRow("point y") << int(Rect) << "pos" << int(B::PointYRow) << true;
        QTest::newRow("red") << int(Rect) << "brushColor" << int(B::RedRow) << true;
        QTest::newRow("alpha") << int(Rect) << "penColor" << int(B::AlphaRow) << true;
        QTest::newRow("font") << int(Text) << "font" << -1 << true;
        QTest::newRow("family not installed") << int(Text) << "font" << int(B::FamilyRow) << true;
        QTest::newRow("point size 10.5") << int(Text) << "font" << int(B::PointSizeRow) << true;
        QTest::newRow("bold") << int(Text) << "font" << int(B::BoldRow) << false;
        QTest::newRow("screen width") << int(Screen) << "width" << -1 << true;
    }

    // Clicking a value and clicking elsewhere, or leaving for another
    // widget, is no edit, whatever the editor can show of the value.
    void focusInAndOutChangesNothing()
    {
        QFETCH(int, shape);
        QFETCH(QString, property);
        QFETCH(int, part);
        QFETCH(bool, editor);

        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(m_browser.get());
        auto *elsewhere = new QLineEdit(&window);
        layout->addWidget(elsewhere);
        // The browser belongs to the test, not to this window.
        const auto release = qScopeGuard([this] { m_browser->setParent(nullptr); });
        window.resize(420, 700);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QObject *object = makeAwkward(Shape(shape));
        m_browser->currentItemChanged(object);
        m_browser->expandAll();
        const QVariantList before = snapshot(object);
        const QModelIndex cell
            = part < 0 ? m_browser->valueIndex(property) : partIndex(*m_browser, property, part);
        QVERIFY(cell.isValid());
        const QString text = cell.data().toString();

        // Away to the title of the same row.
        clickCell(*m_browser, cell);
        QCOMPARE(m_browser->indexWidget(cell) != nullptr, editor);
        clickCell(*m_browser, cell.siblingAtColumn(PropertyTreeBrowser::NameColumn));
        QVERIFY(!m_browser->indexWidget(cell));
        QCOMPARE(snapshot(object), before);

        // Away to another widget.
        clickCell(*m_browser, cell);
        QCOMPARE(m_browser->indexWidget(cell) != nullptr, editor);
        elsewhere->setFocus(Qt::MouseFocusReason);
        QVERIFY(elsewhere->hasFocus());
        QVERIFY(!m_browser->indexWidget(cell));
        QCOMPARE(snapshot(object), before);

        QCOMPARE(stack()->count(), 0);
        QCOMPARE(cell.data().toString(), text);
    }

    void numbersShownWithTheirDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 100.0 << "100";
        QTest::newRow("eight digits") << 1234.5678 << "1234.5678";
        QTest::newRow("large with a decimal") << 123456.7 << "123456.7";
        QTest::newRow("rounded to six decimals") << 0.1234567 << "0.123457";
        QTest::newRow("remainder of a computation") << 7.10543e-15 << "0";
        QTest::newRow("negative remainder") << -4e-9 << "0";
    }

    void numbersShownWithTheirDecimals()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QObject *rect = make(Rect);
        rect->setProperty("zValue", value);
        m_browser->currentItemChanged(rect);
        QCOMPARE(shown(*m_browser, "zValue"), text);
        editWith(*m_browser, m_browser->valueIndex("zValue"), [&](QWidget *editor) {
            auto *spin = qobject_cast<QDoubleSpinBox *>(editor);
            QVERIFY(spin);
            QCOMPARE(spin->text(), text);
        });
        QCOMPARE(rect->property("zValue").toDouble(), value);
    }

    void subRowEdits_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("part");
        QTest::addColumn<QVariant>("edit");
        QTest::addColumn<QVariant>("expected");
        using B = PropertyTreeBrowser;
        QTest::newRow("line red") << int(Rect) << "penColor" << int(B::RedRow) << QVariant(200)
                                  << QVariant(QColor(200, 20, 30));
        QTest::newRow("line alpha") << int(Rect) << "penColor" << int(B::AlphaRow)
                                    << QVariant(128) << QVariant(QColor(10, 20, 30, 128));
        QTest::newRow("fill alpha opaque") << int(Rect) << "brushColor" << int(B::AlphaRow)
                                           << QVariant(255) << QVariant(QColor(40, 50, 60));
        QTest::newRow("screen fill blue") << int(Screen) << "brushColor" << int(B::BlueRow)
                                          << QVariant(0) << QVariant(QColor(40, 50, 0, 70));

        const QFont base = baseFont();
        const auto with = [&base](const std::function<void(QFont &)> &change) {
            QFont font = base;
            change(font);
            return QVariant(font);
        };
        QTest::newRow("family") << int(Text) << "font" << int(B::FamilyRow)
                                << QVariant(QStringLiteral("Serif"))
                                << with([](QFont &f) { f.setFamily(QStringLiteral("Serif")); });
        QTest::newRow("point size") << int(Text) << "font" << int(B::PointSizeRow)
                                    << QVariant(20) << with([](QFont &f) { f.setPointSize(20); });
        QTest::newRow("bold") << int(Text) << "font" << int(B::BoldRow) << QVariant(true)
                              << with([](QFont &f) { f.setBold(true); });
        QTest::newRow("underline off") << int(Text) << "font" << int(B::UnderlineRow)
                                       << QVariant(false)
                                       << with([](QFont &f) { f.setUnderline(false); });
        QTest::newRow("strike-out") << int(Text) << "font" << int(B::StrikeOutRow)
                                    << QVariant(true) << with([](QFont &f) { f.setStrikeOut(true); });
    }

    static QFont baseFont()
    {
        QFont font(QStringLiteral("Sans"), 12);
        font.setUnderline(true);
        return font;
    }

    // A sub-row edit is one undo step that changes the whole value, what the
    // shape draws with and the row above it; undo and redo return all three.
    void subRowEdits()
    {
        QFETCH(int, shape);
        QFETCH(QString, property);
        QFETCH(int, part);
        QFETCH(QVariant, edit);
        QFETCH(QVariant, expected);

        QObject *object = make(Shape(shape));
        const QVariantMap start = {{"penColor", QColor(10, 20, 30)},
                                   {"brushColor", QColor(40, 50, 60, 70)},
                                   {"font", baseFont()}};
        for (auto it = start.cbegin(); it != start.cend(); ++it) {
            if (object->metaObject()->indexOfProperty(it.key().toLatin1()) >= 0)
                object->setProperty(it.key().toLatin1(), it.value());
        }
        m_browser->currentItemChanged(object);
        const QByteArray name = property.toLatin1();
        const QVariant before = object->property(name);
        const QModelIndex cell = partIndex(*m_browser, property, part);
        QVERIFY(cell.isValid());
        const QVariant partBefore = cell.data(Qt::EditRole);

        if (PropertyTreeBrowser::isCheckKind(part)) {
            QVERIFY(m_browser->model()->setData(
                cell, edit.toBool() ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
        } else {
            editWith(*m_browser, cell, [&edit](QWidget *editor) {
                if (auto *fonts = qobject_cast<QFontComboBox *>(editor))
                    fonts->setEditText(edit.toString());
                else if (auto *spin = qobject_cast<QSpinBox *>(editor))
                    spin->setValue(edit.toInt());
                else
                    QFAIL("no editor for the part");
            });
        }
        QCOMPARE(object->property(name), expected);
        QCOMPARE(drawnWith(object, property), expected);
        QCOMPARE(m_browser->valueIndex(property).data(Qt::EditRole), expected);
        QCOMPARE(cell.data(Qt::EditRole), edit);
        QCOMPARE(stack()->count(), 1);
        QCOMPARE(stack()->undoText(), QStringLiteral("修改对象%1属性").arg(property));

        stack()->undo();
        m_browser->refresh();
        QCOMPARE(object->property(name), before);
        QCOMPARE(drawnWith(object, property), before);
        QCOMPARE(m_browser->valueIndex(property).data(Qt::EditRole), before);
        QCOMPARE(cell.data(Qt::EditRole), partBefore);

        stack()->redo();
        m_browser->refresh();
        QCOMPARE(drawnWith(object, property), expected);
        QCOMPARE(cell.data(Qt::EditRole), edit);
    }

    void refusedEditRecordsNothing_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("part");
        QTest::addColumn<QVariant>("edit");
        QTest::newRow("opacity below the floor")
            << int(Rect) << "opacity" << -1 << QVariant(0.0);
        QTest::newRow("empty family") << int(Text) << "font" << int(PropertyTreeBrowser::FamilyRow)
                                      << QVariant(QString());
    }

    // The user changed the editor, but the object keeps its value: no step
    // to undo, and the row shows what the object holds.
    void refusedEditRecordsNothing()
    {
        QFETCH(int, shape);
        QFETCH(QString, property);
        QFETCH(int, part);
        QFETCH(QVariant, edit);
        QObject *object = make(Shape(shape));
        object->setProperty("opacity", 0.0); // kept at its floor
        m_browser->currentItemChanged(object);
        const QVariantList before = snapshot(object);
        const QModelIndex cell
            = part < 0 ? m_browser->valueIndex(property) : partIndex(*m_browser, property, part);
        const QString text = cell.data().toString();
        editWith(*m_browser, cell, [&edit](QWidget *editor) {
            if (auto *fonts = qobject_cast<QFontComboBox *>(editor))
                fonts->setEditText(edit.toString());
            else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
                spin->setValue(edit.toDouble());
        });
        QCOMPARE(snapshot(object), before);
        QCOMPARE(stack()->count(), 0);
        QCOMPARE(cell.data().toString(), text);
    }

    void subRowTitles()
    {
        m_browser->resize(400, 600);
        m_browser->currentItemChanged(make(Text));
        QCOMPARE(partTitles(*m_browser, "brushColor"),
                 QStringList({"红", "绿", "蓝", "Alpha"}));
        QCOMPARE(partTitles(*m_browser, "font"),
                 QStringList({"字体", "字号", "粗体", "斜体", "下划线", "删除线"}));

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/en_US_app")));
        QCoreApplication::installTranslator(&english);
        m_browser->retranslate();
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(partTitles(*m_browser, "brushColor"),
                 QStringList({"Red", "Green", "Blue", "Alpha"}));
        QCOMPARE(partTitles(*m_browser, "font"),
                 QStringList({"Family", "Point size", "Bold", "Italic", "Underline",
                              "Strikeout"}));
        // Every sub-row title can be read once it is expanded.
        m_browser->expandAll();
        const QModelIndex font = titleIndex(*m_browser, "font");
        for (int i = 0; i < m_browser->model()->rowCount(font); ++i) {
            const QModelIndex title = m_browser->model()->index(i, 0, font);
            const int end = m_browser->visualRect(title).left()
                            + m_browser->fontMetrics().horizontalAdvance(title.data().toString());
            QVERIFY2(end < m_browser->header()->sectionSize(PropertyTreeBrowser::NameColumn),
                     qPrintable(title.data().toString()));
        }
    }

    void expansionKeptPerGroup()
    {
        auto *first = make(Rect);
        auto *second = make(Rect);
        const auto expanded = [this](const char *group) {
            return m_browser->isExpanded(m_browser->groupIndex(group));
        };
        m_browser->currentItemChanged(first);
        QVERIFY(expanded("2Border"));
        m_browser->collapse(m_browser->groupIndex("2Border"));
        m_browser->expand(titleIndex(*m_browser, "pos"));

        m_browser->currentItemChanged(second);
        QVERIFY(!expanded("2Border") && expanded("1Base") && expanded("3Brush"));
        QVERIFY(!m_browser->isExpanded(titleIndex(*m_browser, "pos")));

        // 文本 is new; 边框 is absent but still remembered.
        m_browser->currentItemChanged(make(Text));
        QVERIFY(expanded("4Text"));
        QVERIFY(!m_browser->groupIndex("2Border").isValid());
        m_browser->collapse(m_browser->groupIndex("1Base"));

        m_browser->currentItemChanged(first);
        QVERIFY(!expanded("2Border") && !expanded("1Base"));
    }

    void sameObjectOnlyRefreshes()
    {
        auto *rect = showItem<GraphicsRectItem>(Rect);
        const QModelIndex pos = titleIndex(*m_browser, "pos");
        m_browser->expand(pos);
        rect->setProperty("penSize", 7);

        m_browser->currentItemChanged(static_cast<QGraphicsItem *>(rect));
        QCOMPARE(shown(*m_browser, "penSize"), QStringLiteral("7"));
        QVERIFY(pos.isValid() && m_browser->isExpanded(pos));
        QCOMPARE(stack()->count(), 0);
    }

    void destroyedObjectClearsRows()
    {
        QObject *rect = make(Rect);
        m_browser->currentItemChanged(rect);
        delete rect;
        QCOMPARE(m_browser->propertyModel()->rowCount(), 0);
        QCOMPARE(m_browser->currentObject(), nullptr);
    }

    void englishTitles()
    {
        m_browser->currentItemChanged(make(Rect));
        m_browser->collapse(m_browser->groupIndex("3Brush"));
        Config::instance()->uiLanguage = 1;
        m_browser->retranslate();
        QCOMPARE(layoutOf(*m_browser),
                 QStringLiteral(
                     "Base: objectName, opacity, zValue, fixe, rotation, pos, width, height | "
                     "Border: penSize, penStyle, penColor | Brush: brushStyle, brushColor"));
        QCOMPARE(shown(*m_browser, "penStyle"), QStringLiteral("NoPen"));
        QVERIFY(!m_browser->isExpanded(m_browser->groupIndex("3Brush")));
        m_browser->currentItemChanged(make(Text));
        QCOMPARE(m_browser->propertyModel()->item(2)->text(), QStringLiteral("Text"));

        Config::instance()->uiLanguage = 0;
        m_browser->retranslate();
        QCOMPARE(m_browser->propertyModel()->item(2)->text(), QStringLiteral("文本"));
    }
};

QTEST_MAIN(TestPropertyBrowser)
#include "tst_propertybrowser.moc"
