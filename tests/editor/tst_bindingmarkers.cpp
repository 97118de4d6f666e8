#include "editor/drawscene.h"
#include "editor/drawview.h"
#include "editor/setbindingscommand.h"
#include "editor/useroptgroup.h"
#include "services/editorsettings.h"
#include "shapes/graphicsitemgroup.h"
#include "shapes/graphicsrectitem.h"
#include "support/processfixture.h"
#include "support/scenetesting.h"

#include <QtTest>

#include <memory>

using scenetest::addRect;

namespace {

Binding valueOf(const QString &tag)
{
    Binding binding;
    binding.tag = tag;
    return binding;
}

// Whether the view shows a marker's orange at the marker of item.
bool markerShown(DrawView *view, const QGraphicsItem *item)
{
    const QImage shot = view->viewport()->grab().toImage();
    const QRectF box = DrawView::markerRect(item, view->transform().m11());
    // Right of the hole, in the middle of the tag's body.
    const QPoint at = view->mapFromScene(QPointF(box.right() - box.width() / 4, box.center().y()));
    const QColor seen = shot.pixelColor(at);
    return qAbs(seen.red() - 255) < 12 && qAbs(seen.green() - 140) < 12 && seen.blue() < 20;
}

bool imageHasMarkerColour(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 240 && qAbs(c.green() - 140) < 12 && c.blue() < 20)
                return true;
        }
    }
    return false;
}

} // namespace

// Bound shapes carry a marker in the views: single shapes, group members,
// and groups with bindings of their own; the View menu's setting hides
// them; they follow undo and never reach a rendered picture.
class TestBindingMarkers : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ProcessFixture::start(400, 300);
        m_form = std::make_unique<QWidget>();
        UserOptGroup::instance()->setActiveForm(m_form.get());
        m_scene = std::make_unique<DrawScene>();
        m_scene->setSceneRect(0, 0, 400, 300);
        m_view = std::make_unique<DrawView>(m_scene.get());
        m_view->setAttribute(Qt::WA_DeleteOnClose, false);
        m_view->resize(500, 400);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void cleanup()
    {
        m_view.reset();
        UserOptGroup::instance()->removeForm(m_form.get());
        m_scene.reset();
        m_form.reset();
        ProcessFixture::finish();
    }

    void markedAsBound_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<bool>("shown");
        QTest::newRow("own binding") << "shape" << true;
        QTest::newRow("no binding") << "none" << true;
        QTest::newRow("group's binding") << "group" << true;
        QTest::newRow("member's binding") << "member" << true;
        QTest::newRow("markers off") << "shape" << false;
    }
    void markedAsBound()
    {
        QFETCH(QString, holder);
        QFETCH(bool, shown);
        EditorSettings::Values values = EditorSettings::instance()->values();
        values.bindingMarkers = shown;
        EditorSettings::instance()->setValues(values);
        GraphicsRectItem *rect = addRect(m_scene.get(), QRectF(40, 40, 120, 80));
        GraphicsRectItem *other = addRect(m_scene.get(), QRectF(200, 40, 120, 80));
        QGraphicsItem *bound = rect;
        if (holder == "group" || holder == "member") {
            auto *group = new GraphicsItemGroup;
            m_scene->addItem(group);
            group->addToGroup(rect);
            group->addToGroup(other);
            if (holder == "group")
                bound = group;
        }
        if (holder != "none")
            setShapeBindings(bound, {valueOf("Motor")});
        m_view->viewport()->repaint();

        const QList<QGraphicsItem *> marked = DrawView::markedItems(m_scene.get(),
                                                                    m_scene->sceneRect());
        QCOMPARE(marked, holder == "none" ? QList<QGraphicsItem *>() : QList<QGraphicsItem *> {bound});
        QCOMPARE(markerShown(m_view.get(), bound), shown && holder != "none");
        // The shape beside it is not marked.
        QVERIFY(!markerShown(m_view.get(), other));
    }

    // Markers come and go with the bindings, on undo as well, and stay out
    // of a rendered picture.
    void followUndoNeverRendered()
    {
        GraphicsRectItem *rect = addRect(m_scene.get(), QRectF(40, 40, 120, 80));
        QVERIFY(SetBindingsCommand::apply(UserOptGroup::instance(), m_form.get(), rect,
                                          {valueOf("Motor")}));
        QCoreApplication::processEvents();
        QVERIFY(markerShown(m_view.get(), rect));
        QImage picture(400, 300, QImage::Format_ARGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        m_scene->render(&painter);
        painter.end();
        QVERIFY(!imageHasMarkerColour(picture));

        UserOptGroup::instance()->activeStack()->undo();
        QCoreApplication::processEvents();
        QVERIFY(!markerShown(m_view.get(), rect));
        UserOptGroup::instance()->activeStack()->redo();
        QCoreApplication::processEvents();
        QVERIFY(markerShown(m_view.get(), rect));
    }

private:
    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<DrawScene> m_scene;
    std::unique_ptr<DrawView> m_view;
};

QTEST_MAIN(TestBindingMarkers)
#include "tst_bindingmarkers.moc"
