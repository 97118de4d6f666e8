#include "editor/drawscene.h"
#include "editor/useroptgroup.h"
#include "project/config.h"
#include "property/propertytreebrowser.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicstextitem.h"
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
    void initTestCase()
    {
        Config::instance()->screenWidth = 800;
        Config::instance()->screenHeight = 600;
    }

    void init()
    {
        Config::instance()->uiLanguage = 0;
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
        Config::instance()->uiLanguage = 0;
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
