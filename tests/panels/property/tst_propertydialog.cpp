#include "document/drawmanager.h"
#include "document/projectdocument.h"
#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/useroptgroup.h"
#include "panels/property/propertydialog.h"
#include "services/modalseam.h"
#include "shapes/graphicsellipseitem.h"
#include "shapes/graphicsimageitem.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicslineitem.h"
#include "shapes/graphicsrectitem.h"
#include "shapes/graphicstextitem.h"
#include "support/filebytes.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"
#include "support/testpictures.h"
#include "widgets/colorcombox.h"
#include "widgets/fonteditwidget.h"

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
            } else if (request.kind == ModalRequest::OpenFile) {
                answer.accepted = !m_fileChoice.isEmpty();
                answer.text = m_fileChoice;
            } else if (request.kind == ModalRequest::Font) {
                answer.accepted = true;
                answer.text = m_fontChoice.toString();
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
        // On the board's top row; -1: 透明, -2: the fill is left alone.
        QTest::addColumn<int>("paletteColumn");
        QTest::addColumn<QColor>("brush");
        // The shape starts as "rectangle_1" at (10, 20), 100 × 50.
        QTest::newRow("size keeps corner, 透明")
            << "rectangle_1" << QPoint(10, 20) << QSize(160, 30) << false << -1
            << QColor(Qt::transparent);
        // Only the height: the corner stays although the width is untouched.
        QTest::newRow("height only keeps corner")
            << "rectangle_1" << QPoint(10, 20) << QSize(100, 80) << false << -2 << QColor();
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
            if (paletteColumn == -1)
                board->transparentButton()->click();
            else if (paletteColumn >= 0)
                board->paletteButton(0, paletteColumn)->defaultAction()->trigger();
        };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QVERIFY(m_messages.isEmpty());
        const QVariantList after = {name,
                                    QPointF(corner),
                                    double(size.width()),
                                    double(size.height()),
                                    pin,
                                    brush.isValid() ? QVariant(brush) : before.last()};
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

    // 确定 on untouched fields writes nothing, also for a shape a file left
    // partly off the screen, which the fields must be able to show.
    void untouchedShapeOffTheEdgeStays_data()
    {
        QTest::addColumn<QRectF>("box");
        QTest::newRow("off the top-left corner") << QRectF(-20.5, -7, 100, 50);
        QTest::newRow("past the right edge") << QRectF(780, 300, 100, 50);
    }
    void untouchedShapeOffTheEdgeStays()
    {
        QFETCH(QRectF, box);
        GraphicsRectItem *rect = nullptr;
        {
            const QScopedValueRollback<bool> free(GraphicsItem::screenClampEnabled(), false);
            rect = addRect(m_scene.get(), box);
        }
        rect->setSelected(true);
        const QVariantList before = stateOf(rect);
        QPoint shown;
        m_edit = [&](PropertyDialog &dialog) {
            shown = QPoint(dialog.xEdit()->value(), dialog.yEdit()->value());
        };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(shown, box.topLeft().toPoint());
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(stateOf(rect), before);
        QCOMPARE(stack()->count(), 0);
    }

    // A position or size the screen would not hold, or a size below 1, is
    // refused with a message: the shape stays as it was and no step is added.
    void geometryTheScreenCannotHoldRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        const QString outside
            = QStringLiteral("元件须完整位于画面内（宽 800，高 600），请修改位置或大小。");
        const QString tooSmall = QStringLiteral("宽度和高度至少为 1。");
        // The shape starts at (10, 20), 100 × 50, on an 800 × 600 screen.
        QTest::newRow("x far right") << "x" << 5000 << outside;
        QTest::newRow("y above") << "y" << -1 << outside;
        QTest::newRow("width 0") << "width" << 0 << tooSmall;
        QTest::newRow("height past the bottom") << "height" << 590 << outside;
    }
    void geometryTheScreenCannotHoldRefused()
    {
        QFETCH(QString, field);
        QFETCH(int, value);
        QFETCH(QString, message);
        GraphicsRectItem *rect = addRect(m_scene.get(), QRectF(10, 20, 100, 50));
        rect->setSelected(true);
        const QVariantList before = stateOf(rect);
        m_edit = [&](PropertyDialog &dialog) {
            QSpinBox *box = field == "x"   ? dialog.xEdit()
                : field == "y"             ? dialog.yEdit()
                : field == "width"         ? dialog.widthEdit()
                                           : dialog.heightEdit();
            box->setValue(value);
        };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(m_messages, QStringList(message));
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QCOMPARE(stateOf(rect), before);
        QCOMPARE(stack()->count(), 0);
    }

    // A line's size follows its two ends: the fields take no edit, and 确定
    // after typing into them records nothing.
    void lineSizeNotEditable()
    {
        auto *line = new GraphicsLineItem;
        m_scene->addItem(line);
        for (const QPointF &p : {QPointF(100, 100), QPointF(300, 150)})
            line->appendPoint(p);
        line->finishPoints(QPointF(300, 150));
        line->normalizeGeometry();
        line->setSelected(true);
        const QVariantList before = stateOf(line);
        m_edit = [](PropertyDialog &dialog) {
            QVERIFY(!dialog.widthEdit()->isEnabled());
            QVERIFY(!dialog.heightEdit()->isEnabled());
            dialog.widthEdit()->setValue(20);
            dialog.heightEdit()->setValue(300);
        };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(stateOf(line), before);
        QCOMPARE(stack()->count(), 0);
    }

    // The 文本 page shows the shape's own font, not the one picked last time,
    // and a font picked there is applied as an undo step.
    void fontPageFollowsTheShape()
    {
        QList<GraphicsTextItem *> texts;
        const QList<QFont> fonts {QFont(QStringLiteral("Sans"), 9), QFont(QStringLiteral("Serif"), 21)};
        for (int i = 0; i < 2; ++i) {
            texts << new GraphicsTextItem(QRect(0, 0, 1, 1));
            m_scene->addItem(texts.last());
            scenetest::placeRect(texts.last(), QRectF(10 + 200 * i, 20, 100, 50));
            texts.last()->setProperty("font", fonts.at(i));
        }
        m_fontChoice = QFont(QStringLiteral("Monospace"), 14);
        const QFont picked = FontEditWidget::mergedChoice(fonts.first(), m_fontChoice);
        QFont shown;
        m_edit = [&](PropertyDialog &dialog) {
            shown = dialog.fontEdit()->value();
            dialog.fontEdit()->buttonClicked();
        };
        texts.first()->setSelected(true);
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(shown, fonts.first());
        QCOMPARE(texts.first()->property("font").value<QFont>(), picked);
        QCOMPARE(stack()->count(), 1);
        stack()->undo();
        QCOMPARE(texts.first()->property("font").value<QFont>(), fonts.first());

        m_scene->clearSelection();
        texts.last()->setSelected(true);
        m_edit = [&](PropertyDialog &dialog) { shown = dialog.fontEdit()->value(); };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(shown, fonts.last());
        QCOMPARE(texts.last()->property("font").value<QFont>(), fonts.last());
    }

    // The greyed layout of a screen is the screen's, even right after a
    // shape was shown.
    void screenLayoutIsTheScreens()
    {
        DrawScene *screen = DrawManager::instance()->createScreen(1);
        auto *rect = addRect(screen, QRectF(30, 40, 120, 70));
        rect->setProperty("fixe", true);
        QList<int> shown;
        bool pinned = false;
        m_edit = [&](PropertyDialog &dialog) {
            shown = {dialog.xEdit()->value(), dialog.yEdit()->value(),
                     dialog.widthEdit()->value(), dialog.heightEdit()->value()};
            pinned = dialog.pinBox()->isChecked();
        };
        rect->setSelected(true);
        QVERIFY(m_dialog->showFor(screen));
        QCOMPARE(shown, QList<int>({30, 40, 120, 70}));
        QVERIFY(pinned);
        screen->clearSelection();
        QVERIFY(m_dialog->showFor(screen));
        QCOMPARE(shown, QList<int>({0, 0, qRound(screen->width()), qRound(screen->height())}));
        QVERIFY(!pinned);
        QVERIFY(!m_dialog->xEdit()->isEnabled());
    }

    // A picture chosen for an image shape is copied into the project's
    // images folder by 确定, never over another file, and stored relative
    // to the project; 取消 copies nothing. One undo step.
    void pictureCopiedIntoTheProject_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("existing"); // images/logo.png before; none if empty
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("name"); // of the chosen file and the one before
        const QByteArray logo = testpictures::halves(QSize(20, 10), Qt::red, Qt::blue);
        const QByteArray other = testpictures::halves(QSize(20, 10), Qt::green, Qt::blue);
        QTest::newRow("copied") << logo << QByteArray() << true << "images/logo.png"
                                << QStringList {"logo.png"} << "logo.png";
        QTest::newRow("same content reused") << logo << logo << true << "images/logo.png"
                                             << QStringList {"logo.png"} << "logo.png";
        QTest::newRow("other content gets a free name")
            << logo << other << true << "images/logo-2.png"
            << QStringList {"logo-2.png", "logo.png"} << "logo.png";
        // The name is no pattern: its own "%2" stays as it is.
        QTest::newRow("free name for a name with a percent sign")
            << logo << other << true << "images/50%2off-2.png"
            << QStringList {"50%2off-2.png", "50%2off.png"} << "50%2off.png";
        QTest::newRow("cancel copies nothing") << logo << QByteArray() << false << QString()
                                               << QStringList() << "logo.png";
        QTest::newRow("no picture refused") << QByteArray("text") << QByteArray() << true
                                            << QString() << QStringList() << "logo.png";
    }
    void pictureCopiedIntoTheProject()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, existing);
        QFETCH(bool, accept);
        QFETCH(QString, stored);
        QFETCH(QStringList, files);
        QFETCH(QString, name);
        QTemporaryDir dir;
        Config::instance()->path = dir.filePath("project");
        const QDir images(dir.filePath("project/images"));
        QVERIFY(images.mkpath("."));
        if (!existing.isEmpty())
            QVERIFY(writeFileBytes(images.filePath(name), existing));
        QVERIFY(QDir(dir.path()).mkpath("source"));
        m_fileChoice = dir.filePath("source/" + name);
        QVERIFY(writeFileBytes(m_fileChoice, chosen));

        auto *image = new GraphicsImageItem(QRect(0, 0, 1, 1));
        m_scene->addItem(image);
        scenetest::placeRect(image, QRectF(10, 10, 80, 40));
        image->setSelected(true);
        m_edit = [](PropertyDialog &dialog) {
            QVERIFY(dialog.pictureButton()->isEnabled());
            dialog.pictureButton()->click();
        };
        m_accept = accept;
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(image->picture(), stored);
        QCOMPARE(images.entryList(QDir::Files, QDir::Name), files);
        if (!existing.isEmpty())
            QCOMPARE(fileBytes(images.filePath(name)), existing);
        QCOMPARE(m_messages.size(), QString(QTest::currentDataTag()).contains("refused") ? 1 : 0);
        QCOMPARE(stack()->count(), stored.isEmpty() ? 0 : 1);
        if (stored.isEmpty())
            return;
        QCOMPARE(fileBytes(dir.filePath("project/" + stored)), chosen);
        stack()->undo();
        QCOMPARE(image->picture(), QString());
        stack()->redo();
        QCOMPARE(image->picture(), stored);

        // Opened again and left alone: no step, nothing copied.
        m_edit = nullptr;
        m_accept = true;
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(m_dialog->pictureEdit()->text(), stored);
        QCOMPARE(stack()->count(), 1);
        QCOMPARE(images.entryList(QDir::Files, QDir::Name), files);

        // Cleared: no picture, the file stays for other shapes and undo.
        m_edit = [](PropertyDialog &dialog) { dialog.pictureClearButton()->click(); };
        QVERIFY(m_dialog->showFor(m_scene.get()));
        QCOMPARE(image->picture(), QString());
        QCOMPARE(stack()->count(), 2);
        QCOMPARE(images.entryList(QDir::Files, QDir::Name), files);
    }

    // A rename is a step of the project's history, kept by Cancel after
    // 应用.
    void screenRenameOutlastsCancel()
    {
        DrawScene *scene = DrawManager::instance()->createScreen(1);
        QUndoStack *history = ProjectDocument::current()->undoStack();
        const QString generated = scene->objectName();
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
        QCOMPARE(history->count(), 1);
        QCOMPARE(UserOptGroup::instance()->stackFor(scene)->count(), 0);
        history->undo();
        QCOMPARE(scene->objectName(), generated);
    }

private:
    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<DrawScene> m_scene;
    std::unique_ptr<PropertyDialog> m_dialog;
    std::function<void(PropertyDialog &)> m_edit;
    bool m_accept = true;
    QStringList m_messages;
    QFont m_fontChoice;
    QString m_fileChoice;
};

QTEST_MAIN(TestPropertyDialog)
#include "tst_propertydialog.moc"
