#include "app/modalseam.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/useroptgroup.h"
#include "project/drawmanager.h"
#include "property/colorcombox.h"
#include "property/propertydialog.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicsrectitem.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

using scenetest::addRect;

namespace {

// Everything the shape page edits.
QVariantList stateOf(const QObject *shape)
{
    QVariantList state;
    for (const char *name : {"objectName", "pos", "width", "height", "fixe", "brushColor"})
        state << shape->property(name);
    return state;
}

} // namespace

class TestPropertyDialog : public QObject
{
    Q_OBJECT

    QUndoStack *stack() const { return UserOptGroup::instance()->activeStack(); }

private slots:
    void init()
    {
        ProcessFixture::start(800, 600);
        m_form = std::make_unique<QWidget>();
        UserOptGroup::instance()->setActiveForm(m_form.get());
        m_scene = std::make_unique<DrawScene>();
        m_dialog = std::make_unique<PropertyDialog>();
        m_edit = nullptr;
        m_accept = true;
        m_messages.clear();
        // The dialog runs m_edit, then OK (Cancel unless m_accept); message
        // boxes are recorded and confirmed.
        ModalSeam::setHandler([this](const ModalRequest &request) {
            ModalAnswer answer;
            if (request.kind == ModalRequest::Dialog) {
                if (m_edit)
                    m_edit(*m_dialog);
                answer.accepted = m_accept;
            } else if (request.kind == ModalRequest::Message) {
                m_messages << request.text;
                answer.button = QMessageBox::Yes;
            }
            return answer;
        });
    }

    void cleanup()
    {
        ModalSeam::setHandler({});
        m_dialog.reset();
        UserOptGroup::instance()->removeForm(m_form.get());
        m_scene.reset();
        m_form.reset();
        ProcessFixture::finish();
    }

    // Every field edited together, or the size and fill alone: one undo step,
    // which undoes and redoes all of them.
    void shapePageIsOneUndoStep_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("corner");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("pin");
        QTest::addColumn<int>("paletteColumn"); // on the board's top row; -1: 透明
        QTest::addColumn<QColor>("brush");
        // The shape starts as "rectangle_1" at (10, 20), 100 × 50.
        QTest::newRow("size keeps corner, 透明")
            << "rectangle_1" << QPoint(10, 20) << QSize(160, 30) << false << -1
            << QColor(Qt::transparent);
        QTest::newRow("everything")
            << "阀门" << QPoint(5, 300) << QSize(20, 240) << true << 7 << QColor(170, 250, 0);
    }
    void shapePageIsOneUndoStep()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, corner);
        QFETCH(QSize, size);
        QFETCH(bool, pin);
        QFETCH(int, paletteColumn);
        QFETCH(QColor, brush);
        GraphicsRectItem *rect = addRect(m_scene.get(), QRectF(10, 20, 100, 50));
        m_scene->assignItemName(rect);
        addRect(m_scene.get(), QRectF(300, 300, 10, 10));
        rect->setSelected(true);
        const QVariantList before = stateOf(rect);
        m_edit = [&](PropertyDialog &dialog) {
            dialog.nameEdit()->setText(name);
            dialog.xEdit()->setValue(corner.x());
            dialog.yEdit()->setValue(corner.y());
            dialog.widthEdit()->setValue(size.width());
            dialog.heightEdit()->setValue(size.height());
            dialog.pinBox()->setChecked(pin);
            ColorCombox *board = dialog.backgroundEdit();
            if (paletteColumn < 0)
                board->transparentButton()->click();
            else
                board->paletteButton(0, paletteColumn)->defaultAction()->trigger();
        };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QVERIFY(m_messages.isEmpty());
        const QVariantList after
            = {name, QPointF(corner), double(size.width()), double(size.height()), pin, brush};
        QCOMPARE(stateOf(rect), after);
        QCOMPARE(stack()->count(), 1);
        stack()->undo();
        QCOMPARE(stateOf(rect), before);
        stack()->redo();
        QCOMPARE(stateOf(rect), after);
    }

    void badNamesRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("another shape's") << "ellipse_1"
                                         << "名称“ellipse_1”已被本画面的其他元件使用！";
        QTest::newRow("blank") << "  " << "名称不能为空！";
    }
    void badNamesRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        // Fractional, where the fields show whole numbers.
        GraphicsRectItem *rect = addRect(m_scene.get(), QRectF(10.4, 20, 100.6, 50));
        m_scene->assignItemName(rect);
        auto *ellipse = new GraphicsEllipseItem(QRect(0, 0, 10, 10));
        m_scene->addItem(ellipse);
        m_scene->assignItemName(ellipse);
        rect->setSelected(true);
        const QVariantList before = stateOf(rect);
        m_edit = [&](PropertyDialog &dialog) {
            dialog.nameEdit()->setText(name);
            dialog.xEdit()->setValue(50);
        };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(m_messages, QStringList(message));
        // Neither the refused edit nor OK with untouched fields may round the shape.
        m_messages.clear();
        m_edit = nullptr;
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(stateOf(rect), before);
        QCOMPARE(stack()->count(), 0);
    }

    void screenRenameOutlastsCancel()
    {
        auto *view = DrawManager::instance()->createScreen(1, nullptr);
        DrawScene *scene = view->drawScene();
        QSignalSpy renamed(m_dialog.get(), &PropertyDialog::formRenamed);
        m_edit = [&](PropertyDialog &dialog) {
            dialog.nameEdit()->setText(QStringLiteral("主画面"));
            QVERIFY(dialog.on_apply_clicked());
        };
        m_accept = false;
        QVERIFY(m_dialog->showFor(scene));
        // Cancel after 应用 keeps what was applied.
        QCOMPARE(scene->objectName(), QStringLiteral("主画面"));
        QCOMPARE(renamed.count(), 1);
    }

private:
    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<DrawScene> m_scene;
    std::unique_ptr<PropertyDialog> m_dialog;
    std::function<void(PropertyDialog &)> m_edit;
    bool m_accept = true;
    QStringList m_messages;
};

QTEST_MAIN(TestPropertyDialog)
#include "tst_propertydialog.moc"
